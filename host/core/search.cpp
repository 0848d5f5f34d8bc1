#include "host/core/search.h"

#include <algorithm>
#include <numeric>

namespace quillonary {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string LowerCopy(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

// Letters, digits and every byte of a multi-byte character make words; all else separates.
bool IsWordByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0x80;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && !IsWordByte(s[i])) ++i;
    const size_t start = i;
    while (i < s.size() && IsWordByte(s[i])) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

// Whether some word of the (lower-case) text starts with the word.
bool HasWordStartingWith(std::string_view text, std::string_view word) {
  for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
    if (at == 0 || !IsWordByte(text[at - 1])) return true;
  }
  return false;
}

bool AllWordsIn(std::string_view text, const std::vector<std::string_view>& words) {
  for (std::string_view word : words)
    if (!HasWordStartingWith(text, word)) return false;
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

SearchIndex::SearchIndex(const std::vector<Article>& articles) : articles_(articles) {
  lowerTitles_.reserve(articles.size());
  lowerTexts_.reserve(articles.size());
  for (const Article& article : articles) {
    lowerTitles_.push_back(LowerCopy(article.title));
    lowerTexts_.push_back(lowerTitles_.back() + "\n" + LowerCopy(article.PlainText()));
  }
  byTitle_.resize(articles.size());
  std::iota(byTitle_.begin(), byTitle_.end(), size_t(0));
  std::stable_sort(byTitle_.begin(), byTitle_.end(),
                   [&](size_t a, size_t b) { return lowerTitles_[a] < lowerTitles_[b]; });
}

std::vector<SearchHit> SearchIndex::Find(std::string_view query, size_t limit) const {
  const std::string lower = LowerCopy(query);
  const std::vector<std::string_view> words = Words(lower);
  std::vector<SearchHit> hits;
  std::vector<const Article*> textHits;
  for (size_t i : byTitle_) {
    if (hits.size() >= limit) break;
    if (AllWordsIn(lowerTitles_[i], words)) {
      hits.push_back(SearchHit{&articles_[i], true});
    } else if (hits.size() + textHits.size() < limit && AllWordsIn(lowerTexts_[i], words)) {
      textHits.push_back(&articles_[i]);
    }
  }
  for (const Article* article : textHits) {
    if (hits.size() >= limit) break;
    hits.push_back(SearchHit{article, false});
  }
  return hits;
}

const Article* SearchIndex::ExactTitle(std::string_view query) const {
  const std::string lower = LowerCopy(Trim(query));
  if (lower.empty()) return nullptr;
  for (size_t i = 0; i < articles_.size(); ++i)
    if (lowerTitles_[i] == lower) return &articles_[i];
  return nullptr;
}

}  // namespace quillonary
