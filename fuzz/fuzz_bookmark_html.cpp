// libFuzzer target for bookmark HTML: any bytes import without a fault within the limits,
// the counts add up, and what was imported exports and imports again as the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "host/core/bookmark_html.h"

namespace {

using namespace quillonary;

HtmlImportResult Import(std::string_view html, quill::ZBookmarkList& list) {
  return ParseBookmarksHtml(html, [&](std::unique_ptr<quill::ZBookmark> b) {
    if (!b) std::abort();
    list.Add(std::move(b));
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  quill::ZBookmarkList list;
  const HtmlImportResult r = Import(html, list);
  if (r.message.empty() || r.imported != list.GetCount()) std::abort();
  if (r.refused && (r.imported != 0 || r.skipped != 0)) std::abort();
  if (r.skipped != r.overLimit + r.tooLong + r.noAddress) std::abort();
  if (r.imported > kMaxHtmlBookmarks) std::abort();
  for (int i = 0; i < list.GetCount(); ++i) {
    const quill::ZBookmark& b = *list.Get(i);
    if (b.GetName().size() > kMaxHtmlField || b.GetText().empty() ||
        b.GetText().size() > 3 * kMaxHtmlField + 16 ||
        std::strlen(b.GetType()) > quill::ZBookmark::kTypeLength)
      std::abort();
  }

  quill::ZBookmarkList back;
  const HtmlImportResult again = Import(BookmarksToHtml(list), back);
  if (again.refused || again.skipped != 0 || back.GetCount() != list.GetCount()) std::abort();
  for (int i = 0; i < list.GetCount(); ++i) {
    const quill::ZBookmark& a = *list.Get(i);
    const quill::ZBookmark& b = *back.Get(i);
    if (a.GetName() != b.GetName() || a.GetText() != b.GetText() ||
        std::strcmp(a.GetType(), b.GetType()) != 0)
      std::abort();
  }
  return 0;
}
