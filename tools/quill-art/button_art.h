// The library's button art: the pane-button strips, the title-bar strips, the sample host's
// selection and animated strips, the filler, the pane and menu icons and the buttons data set.
#pragma once

#include <string>
#include <vector>

namespace quill_art {

// The pane-button strip names, each as the button table writes it (both letter cases where
// the table has both), plus "pbfullsc.bmp", the fallback of a button whose strip is missing.
const std::vector<std::string>& PaneButtonNames();
// Every strip file MakeButtonArt writes in the art folder.
std::vector<std::string> StripNames();

// Writes every strip, the icons (in DIR/icons/<group>/) and DIR/buttons.set. False at the
// first file that cannot be written.
bool MakeButtonArt(const std::string& dir);

}  // namespace quill_art
