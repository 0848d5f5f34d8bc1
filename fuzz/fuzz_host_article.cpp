// libFuzzer target for the encyclopedia's article format: any bytes give an article that
// keeps the format's promises (a title, an id and links of [a-z0-9-], plain media file names,
// some text) or a refusal that names its line; nothing faults, hangs or grows without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/core/article.h"
#include "quillui/imaging/data_set.h"

namespace {

bool IsId(const std::string& id) {
  if (id.empty() || id.size() > 64) return false;
  for (char c : id)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quillonary::Article article;
  std::string error;
  if (!quillonary::ParseArticle(text, article, &error)) {
    if (error.rfind("line ", 0) != 0 || !article.title.empty()) std::abort();
    return 0;
  }
  if (article.title.empty() || !IsId(article.id) || article.blocks.empty()) std::abort();
  size_t runs = 0;
  for (const auto& block : article.blocks) {
    for (const auto& run : block.runs) {
      if (!run.link.empty() && (!IsId(run.link) || run.text.empty())) std::abort();
      ++runs;
    }
  }
  for (const auto& item : article.media)
    if (!quill::ZDataSet::IsSafeFileName(item.file) || item.file.size() > 16) std::abort();
  // The plain text is no larger than the input: parsing never multiplies bytes.
  if (article.PlainText().size() > size + runs) std::abort();
  return 0;
}
