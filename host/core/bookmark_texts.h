// The host's bookmark texts: which entry names it routes and how a place is written as a line
// of items ("Article id=aurora", "Media id=aurora n=1", "Search q=<speed of light>"), so the
// views, the frame and the bookmark files agree on one form.
#pragma once

#include <string>
#include <string_view>

namespace quillonary {

// The entry names of the routing section; each is the first, bare item of a bookmark text.
inline constexpr const char* kArticleEntry = "Article";      // id=ARTICLE
inline constexpr const char* kMediaEntry = "Media";          // id=ARTICLE n=INDEX
inline constexpr const char* kSearchEntry = "Search";        // q=TEXT (may be empty)
inline constexpr const char* kBookmarksEntry = "Bookmarks";  // the user's bookmark list
inline constexpr const char* kHistoryEntry = "History";      // the history list

// Registers every entry name with the library's entry table, so the routing section keeps
// their routes.
void RegisterHostEntries();

std::string ArticleText(std::string_view id);
std::string MediaText(std::string_view id, int index);
std::string SearchText(std::string_view query);

// A place read back from a bookmark text; entry is empty when the text names none of ours.
struct Place {
  std::string entry;
  std::string id;     // Article, Media
  int index = 0;      // Media
  std::string query;  // Search
};
Place ReadPlace(const std::string& text);

}  // namespace quillonary
