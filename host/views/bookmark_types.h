// The type codes of the bookmarks the views make of what they show: a real type lets the
// library keep such a bookmark in the history (it drops bookmarks without one).
#pragma once

namespace quillonary {

inline constexpr const char* kArticleType = "ARTI";
inline constexpr const char* kMediaType = "MEDI";
inline constexpr const char* kSearchType = "SRCH";
inline constexpr const char* kBookmarksType = "BMKS";
inline constexpr const char* kHistoryType = "HIST";

}  // namespace quillonary
