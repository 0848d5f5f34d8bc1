// The two file names the host asks the library for: the help file and the default article
// database.
#pragma once

#include <string>

namespace quill {

inline constexpr const char* kDefaultHelpPath = ".\\vex.hlp";
inline constexpr const char* kDefaultArticleSdfName = "ed:\\vex96art.sdf";

// "Help"/"Path" (default ".\vex.hlp") passed through replaceCDPath; read on every call. The
// text is library-owned and stays valid until the next call. Paths of any length are kept
// whole: a path cut short would name another file.
const char* GetHelpFileName();
// The file name of the default "ART" database, or "ed:\vex96art.sdf" when the host has none;
// remembered once known.
const std::string& GetDefaultArticleSdfName();

}  // namespace quill
