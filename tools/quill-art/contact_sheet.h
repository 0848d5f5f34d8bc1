// The contact sheet of the art: every strip of an art folder laid out with its name, each
// cel composited onto the application background as a transparent bar shows it.
#pragma once

#include <string>

namespace quill_art {

// Reads the strips and "background800.bmp" of dir and writes the sheet, doubled in size, as
// an indexed PNG. False when a file is missing or the sheet cannot be written.
bool MakeContactSheet(const std::string& dir, const std::string& out);

}  // namespace quill_art
