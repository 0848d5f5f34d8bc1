// The short tour the program takes when it runs headless without a script: search, an article
// with its media, a link, a bookmark, Back, a fly menu with its submenu, a maximised pane
// (host/tour.txt, built in).
#pragma once

namespace quillonary {

const char* TourScript();

}  // namespace quillonary
