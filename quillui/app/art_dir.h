// Where the library's art is found: "palette.bmp", the backgrounds and the statics' pictures
// lie in the art directory the host names, by default the installed share/quillui/art.
#pragma once

#include <string>

namespace quill {

// The host's art directory; an empty text goes back to the default: [Directories] "Art" of
// the settings when set, else the directory the library was installed with.
void SetArtDir(const std::string& dir);
// The art directory, ending in a separator.
std::string GetArtDir();
// The art file of that name: in the art directory when it is there, else beside the
// executable when it is there, else (for the message that it is missing) the art directory's.
std::string FindArtFile(const std::string& name);

}  // namespace quill
