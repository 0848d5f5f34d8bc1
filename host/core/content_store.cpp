#include "host/core/content_store.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>

#include "quillui/framework/image/dib.h"
#include "quillui/framework/stream/file_io.h"
#include "quillui/imaging/bitmap_manager.h"
#include "quillui/imaging/data_set.h"

namespace quillonary {

namespace {

// An article member larger than this is not read (the parser refuses such articles anyway).
constexpr uint64_t kMaxMemberBytes = uint64_t(1) << 20;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return uint8_t(Lower(x)) < uint8_t(Lower(y));
  });
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

bool ContentStore::Load(const std::string& folder, std::string* error) {
  folder_ = folder;
  articles_.clear();
  skipped_ = 0;
  media_ = std::make_shared<quill::ZDataSet>(quill::ZDataSet::AtPath(Join(folder, "media.set")));

  const quill::ZDataSet set = quill::ZDataSet::AtPath(Join(folder, "articles.set"));
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (!set.read_error().empty()) return fail(set.read_error());
  const int fd = set.descriptor();
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) return fail(set.path() + ": cannot be read");
  const uint64_t fileBytes = uint64_t(st.st_size);

  skipped_ = set.skipped();
  std::vector<Article> read;
  std::string bytes;
  for (int i = 0; i < set.count(); ++i) {
    const quill::ZDataSetEntry& entry = set.entry(i);
    // The member's place, checked against the file before anything is read or allocated.
    const uint64_t start = set.data_offset() + entry.offset;
    if (start < entry.offset || entry.length > kMaxMemberBytes || start > fileBytes ||
        entry.length > fileBytes - start) {
      ++skipped_;
      continue;
    }
    bytes.resize(size_t(entry.length));
    Article article;
    if (!quill::ReadAt(fd, start, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()) ||
        !ParseArticle(bytes, article, nullptr)) {
      ++skipped_;
      continue;
    }
    read.push_back(std::move(article));
  }
  // By title, then id; of two articles with one id, the first in the set is kept.
  std::stable_sort(read.begin(), read.end(),
                   [](const Article& a, const Article& b) { return a.id < b.id; });
  for (Article& article : read) {
    if (!articles_.empty() && articles_.back().id == article.id) {
      ++skipped_;
      continue;
    }
    articles_.push_back(std::move(article));
  }
  std::sort(articles_.begin(), articles_.end(), [](const Article& a, const Article& b) {
    if (LessNoCase(a.title, b.title)) return true;
    if (LessNoCase(b.title, a.title)) return false;
    return a.id < b.id;
  });
  if (articles_.empty()) return fail(set.path() + ": holds no readable articles");
  return true;
}

const Article* ContentStore::Find(std::string_view id) const {
  for (const Article& article : articles_)
    if (article.id == id) return &article;
  return nullptr;
}

const Article* ContentStore::FindByTitle(std::string_view title) const {
  for (const Article& article : articles_)
    if (EqualNoCase(article.title, title)) return &article;
  return nullptr;
}

std::unique_ptr<quill::TDib> ContentStore::LoadPicture(const std::string& file,
                                                       std::string* error) const {
  auto fail = [&](const std::string& why) -> std::unique_ptr<quill::TDib> {
    if (error) *error = why;
    return nullptr;
  };
  if (!quill::ZDataSet::IsSafeFileName(file)) return fail("\"" + file + "\" is not a file name");
  if (!media_ || media_->count() == 0) return fail(Join(folder_, "media.set") + ": no pictures");
  quill::ZBitmapManager manager;
  auto dib = manager.load_bitmap_from_set(file.c_str(), *media_);
  if (!dib) return fail(file + ": cannot be read from " + media_->path());
  return dib;
}

std::string ContentStore::SoundPath(const std::string& file) const {
  if (!quill::ZDataSet::IsSafeFileName(file)) return std::string();
  return Join(Join(folder_, "sounds"), file);
}

}  // namespace quillonary
