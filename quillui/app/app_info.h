// Small process-wide facts about the application: its title and copyright line, the
// processor test and the memory level the host asks for.
#pragma once

namespace quill {

inline constexpr const char* kDefaultAppTitle = "Quillonary";
inline constexpr const char* kDefaultAppCopyright =
    "Copyright (c) The Quillonary Authors. All rights reserved.";
// Longest title or copyright text kept; longer settings are cut.
inline constexpr int kAppTextMax = 255;

// "View"/"Title", or the built-in title; library-owned, at most kAppTextMax characters.
const char* GetAppTitle();
// "View"/"Copyright", or the built-in line; library-owned, at most kAppTextMax characters.
const char* GetAppCopyright();
// 1 when "Global Config"/"UsePentium" is set and the processor is of the Pentium class or
// later, else 0; asked once.
int isPentium();
// Always 3.
int GetAppMemoryLevel();

}  // namespace quill
