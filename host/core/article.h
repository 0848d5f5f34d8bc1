// An article of the encyclopedia as the views show it: a title, headings and paragraphs of
// text runs (some of them links to other articles) and the media items that go with it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillonary {

// A run of text; a link run names the article it leads to.
struct TextRun {
  std::string text;
  std::string link;  // an article id, empty for plain text
};

struct Block {
  enum Kind { kHeading, kParagraph };
  Kind kind = kParagraph;
  std::vector<TextRun> runs;
};

struct MediaItem {
  enum Kind { kPicture, kSound };
  Kind kind = kPicture;
  std::string file;     // a member of the media data set (pictures) or a file in the sounds folder
  std::string caption;  // one line shown under the item
};

struct Article {
  std::string id;     // short, lower case: letters, digits and '-'
  std::string title;  // as shown
  std::vector<Block> blocks;
  std::vector<MediaItem> media;

  // The text of every block, blocks separated by "\n": what search and selection read.
  std::string PlainText() const;
};

// Reads one article in the content format (docs/content-format.md). False, with a message that
// names the line, when the text is not an article; `out` is then left unchanged.
bool ParseArticle(std::string_view text, Article& out, std::string* error);

}  // namespace quillonary
