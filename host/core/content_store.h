// The encyclopedia's content: every article, read from the articles data set, and the media
// they name (pictures in the media data set, sounds as wave files beside it).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/article.h"

namespace quill {
class TDib;
class ZDataSet;
}  // namespace quill

namespace quillonary {

class ContentStore {
 public:
  // Reads every article of the data set "articles.set" in the folder (pictures come from
  // "media.set", sounds from "sounds/"). False, with a message, when the folder holds no
  // readable articles; articles that do not parse are skipped and counted.
  bool Load(const std::string& folder, std::string* error);

  const std::vector<Article>& Articles() const { return articles_; }
  int Skipped() const { return skipped_; }
  const Article* Find(std::string_view id) const;
  // Compares titles without regard to ASCII case.
  const Article* FindByTitle(std::string_view title) const;

  // The picture of a media item, or null (with the reason in error) when it cannot be read.
  std::unique_ptr<quill::TDib> LoadPicture(const std::string& file, std::string* error) const;
  // The path of a sound's wave file, empty when the name is not a safe file name.
  std::string SoundPath(const std::string& file) const;

  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
  std::vector<Article> articles_;
  int skipped_ = 0;
  std::shared_ptr<quill::ZDataSet> media_;  // "media.set", opened by Load
};

}  // namespace quillonary
