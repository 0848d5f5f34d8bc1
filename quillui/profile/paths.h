// Path rewriting: turns the Windows-style paths of the settings file and the library's own
// texts (".\buttons\x.bmp", "cd:\art\x.bmp") into paths of this system, in place.
#pragma once

#include <string>

namespace quill {

// Backslashes become slashes. A leading directory marker (letters and a colon) becomes a
// directory: "cd:" the media directory ([Directories] "Media"), any other marker "xx:" the
// directory [Directories] "xx"; either defaults to the installation directory. After a
// marker, "." and ".." are resolved by the text alone and ".." stops at the marker's
// directory, so "cd:\..\..\x" is the media directory's "x", never a file above it. Paths
// without a marker keep their ".." and stay relative when relative: they are opened from
// the current directory.
void replaceCDPath(std::string& path);

// replaceCDPath, then anchored: a relative path is joined to the current directory (as it
// is at this call), and ".", ".." and doubled slashes are resolved by the text alone (".."
// at the root stays at the root). The result is absolute unless the current directory is
// unknown. Empty stays empty.
void smartPath(std::string& path);

}  // namespace quill
