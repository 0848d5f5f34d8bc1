// Search as you type over the whole content: titles that match come first, then articles whose
// text matches, each group in a stable order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/core/article.h"

namespace quillonary {

struct SearchHit {
  const Article* article = nullptr;
  bool inTitle = false;  // the query matched the title (else only the text)
};

class SearchIndex {
 public:
  // Indexes the articles; they must outlive the index.
  explicit SearchIndex(const std::vector<Article>& articles);

  // The hits for a query typed so far (words matched as prefixes, without regard to ASCII
  // case); an empty query gives every article by title. At most `limit` hits.
  std::vector<SearchHit> Find(std::string_view query, size_t limit = 100) const;
  // The article whose title equals the query (ASCII case ignored), or null.
  const Article* ExactTitle(std::string_view query) const;

 private:
  const std::vector<Article>& articles_;
  // Per article, lower-cased once: the title, and the title and text together.
  std::vector<std::string> lowerTitles_;
  std::vector<std::string> lowerTexts_;
  std::vector<size_t> byTitle_;  // article indexes in title order
};

}  // namespace quillonary
