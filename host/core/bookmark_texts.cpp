#include "host/core/bookmark_texts.h"

#include "quillui/profile/cmd_line.h"
#include "quillui/profile/entries.h"

namespace quillonary {

void RegisterHostEntries() {
  for (const char* name :
       {kArticleEntry, kMediaEntry, kSearchEntry, kBookmarksEntry, kHistoryEntry})
    quill::RegisterEntry(name);
}

std::string ArticleText(std::string_view id) {
  return std::string(kArticleEntry) + " id=" + quill::ZCmdLine::Bracket(id);
}

std::string MediaText(std::string_view id, int index) {
  return std::string(kMediaEntry) + " id=" + quill::ZCmdLine::Bracket(id) +
         " n=" + std::to_string(index);
}

std::string SearchText(std::string_view query) {
  return std::string(kSearchEntry) + " q=" + quill::ZCmdLine::Bracket(query);
}

Place ReadPlace(const std::string& text) {
  Place place;
  quill::ZCmdLine line(text);
  std::string name, value;
  if (!line.FindFirst(name, value) || !value.empty()) return place;
  for (const char* entry :
       {kArticleEntry, kMediaEntry, kSearchEntry, kBookmarksEntry, kHistoryEntry})
    if (name == entry) place.entry = entry;
  if (place.entry.empty()) return place;
  place.id = line.GetValue("id");
  place.query = line.GetValue("q");
  long n = 0;
  if (line.GetLongValue("n", n) && n >= 0 && n < 1000) place.index = int(n);
  return place;
}

}  // namespace quillonary
