// Finding a loose file by a name written for a system whose file names ignore case: "\" and
// "/" both separate, and a name that does not exist as written is matched without regard to
// case among the files of its folder.
#pragma once

#include <string>
#include <string_view>

namespace quill {

// The path with every "\" turned into "/".
std::string WithSlashes(std::string_view path);

// The path as written (separators made "/") when that file exists; otherwise the entry of its
// folder whose name equals the last component without regard to case (the lowest in byte order
// when several do); otherwise the
// path as written, for the caller to fail on.
std::string FindFileNoCase(std::string_view path);

// Whether a name may be joined below a folder without leaving it: not empty, not absolute,
// no drive ("c:"), and no ".." component.
bool StaysInsideFolder(std::string_view name);

}  // namespace quill
