#include "host/core/article.h"

#include <cstdint>

#include "quillui/imaging/data_set.h"

namespace quillonary {

namespace {

// Caps on one article: an article file is a page or two of text, so anything far beyond these
// is damage or hostility, refused before it costs memory.
constexpr size_t kMaxArticleBytes = size_t(1) << 20;
constexpr size_t kMaxLineBytes = 4096;
constexpr size_t kMaxIdBytes = 64;
constexpr size_t kMaxTitleBytes = 200;
constexpr size_t kMaxCaptionBytes = 200;
constexpr size_t kMaxBlocks = 2000;
constexpr size_t kMaxRuns = 20000;
constexpr size_t kMaxMedia = 16;

bool Fail(std::string* error, size_t line, const std::string& message) {
  if (error) *error = "line " + std::to_string(line) + ": " + message;
  return false;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF) and hold no control characters but the tab.
bool IsCleanUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const size_t n = s.size();
  for (size_t i = 0; i < n;) {
    const unsigned c = p[i];
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t') || c == 0x7f) return false;
      ++i;
      continue;
    }
    size_t len;
    uint32_t min, cp;
    if ((c & 0xe0) == 0xc0) {
      len = 2, min = 0x80, cp = c & 0x1f;
    } else if ((c & 0xf0) == 0xe0) {
      len = 3, min = 0x800, cp = c & 0x0f;
    } else if ((c & 0xf8) == 0xf0) {
      len = 4, min = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    if (n - i < len) return false;
    for (size_t k = 1; k < len; ++k) {
      if ((p[i + k] & 0xc0) != 0x80) return false;
      cp = (cp << 6) | (p[i + k] & 0x3f);
    }
    if (cp < min || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return false;
    i += len;
  }
  return true;
}

bool IsId(std::string_view id) {
  if (id.empty() || id.size() > kMaxIdBytes) return false;
  for (char c : id)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
  return true;
}

// Adds text to the block, joined to a plain run before it.
void AddPlain(Block& block, std::string_view text) {
  if (text.empty()) return;
  if (!block.runs.empty() && block.runs.back().link.empty()) {
    block.runs.back().text.append(text);
  } else {
    block.runs.push_back(TextRun{std::string(text), std::string()});
  }
}

// Reads one line of body text into the block: plain text and [[id|shown text]] links.
bool AddLine(std::string_view line, size_t lineNo, Block& block, size_t& runs, std::string* error) {
  while (!line.empty()) {
    const size_t open = line.find("[[");
    if (open == std::string_view::npos) {
      AddPlain(block, line);
      break;
    }
    AddPlain(block, line.substr(0, open));
    const size_t close = line.find("]]", open + 2);
    if (close == std::string_view::npos) return Fail(error, lineNo, "a link \"[[\" is not closed");
    const std::string_view inside = line.substr(open + 2, close - open - 2);
    const size_t bar = inside.find('|');
    const std::string_view target = Trim(inside.substr(0, bar));
    if (!IsId(target)) {
      return Fail(error, lineNo, "a link names \"" + std::string(target) + "\", not an article id");
    }
    std::string shown;
    if (bar == std::string_view::npos) {
      shown.assign(target);
      for (char& c : shown)
        if (c == '-') c = ' ';
    } else {
      shown.assign(Trim(inside.substr(bar + 1)));
      if (shown.empty()) return Fail(error, lineNo, "a link shows no text");
      if (shown.find("[[") != std::string::npos)
        return Fail(error, lineNo, "a link holds another link");
    }
    if (++runs > kMaxRuns) return Fail(error, lineNo, "too many links and runs");
    block.runs.push_back(TextRun{std::move(shown), std::string(target)});
    line.remove_prefix(close + 2);
  }
  return true;
}

}  // namespace

std::string Article::PlainText() const {
  std::string text;
  for (const Block& block : blocks) {
    if (!text.empty()) text.push_back('\n');
    for (const TextRun& run : block.runs) text.append(run.text);
  }
  return text;
}

bool ParseArticle(std::string_view text, Article& out, std::string* error) {
  if (text.size() > kMaxArticleBytes) return Fail(error, 1, "the article is larger than 1 MiB");
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

  Article article;
  bool inHeader = true;
  bool inParagraph = false;  // the last block is a paragraph still taking lines
  size_t runs = 0;
  size_t lineNo = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    ++lineNo;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.size() > kMaxLineBytes) return Fail(error, lineNo, "the line is too long");
    if (!IsCleanUtf8(line)) return Fail(error, lineNo, "the line is not clean UTF-8 text");
    std::string clean(line);
    for (char& c : clean)
      if (c == '\t') c = ' ';
    line = Trim(clean);

    if (inHeader) {
      if (line.empty()) {
        if (article.title.empty() && article.id.empty() && article.media.empty()) continue;
        inHeader = false;
        continue;
      }
      if (line.starts_with("//")) continue;
      const size_t colon = line.find(':');
      if (colon == std::string_view::npos) {
        return Fail(error, lineNo,
                    "a header line is \"key: value\" (a blank line ends the header)");
      }
      const std::string_view key = Trim(line.substr(0, colon));
      const std::string_view value = Trim(line.substr(colon + 1));
      if (key == "title") {
        if (!article.title.empty()) return Fail(error, lineNo, "a second title");
        if (value.empty() || value.size() > kMaxTitleBytes)
          return Fail(error, lineNo, "the title is empty or too long");
        article.title.assign(value);
      } else if (key == "id") {
        if (!article.id.empty()) return Fail(error, lineNo, "a second id");
        if (!IsId(value)) {
          return Fail(error, lineNo,
                      "the id is 1 to 64 characters of a-z, 0-9 and '-', not \"" +
                          std::string(value) + "\"");
        }
        article.id.assign(value);
      } else if (key == "picture" || key == "sound") {
        if (article.media.size() >= kMaxMedia) return Fail(error, lineNo, "too many media items");
        const size_t bar = value.find('|');
        MediaItem item;
        item.kind = key == "picture" ? MediaItem::kPicture : MediaItem::kSound;
        item.file.assign(Trim(value.substr(0, bar)));
        if (bar != std::string_view::npos) item.caption.assign(Trim(value.substr(bar + 1)));
        if (!quill::ZDataSet::IsSafeFileName(item.file) || item.file.front() == '.' ||
            item.file.size() > quill::ZDataSet::kNameBytes) {
          return Fail(
              error, lineNo,
              "the media file \"" + item.file + "\" is not a plain file name of at most 16 bytes");
        }
        if (item.caption.size() > kMaxCaptionBytes)
          return Fail(error, lineNo, "the caption is too long");
        article.media.push_back(std::move(item));
      } else {
        return Fail(error, lineNo, "unknown header key \"" + std::string(key) + "\"");
      }
      continue;
    }

    if (line.empty()) {
      inParagraph = false;
      continue;
    }
    const bool heading = line.starts_with("# ");
    if (heading || !inParagraph) {
      if (article.blocks.size() >= kMaxBlocks) return Fail(error, lineNo, "too many blocks");
      article.blocks.emplace_back();
      article.blocks.back().kind = heading ? Block::kHeading : Block::kParagraph;
      ++runs;
    } else {
      // A paragraph's lines join with one space.
      AddPlain(article.blocks.back(), " ");
    }
    if (heading) line = Trim(line.substr(2));
    if (!AddLine(line, lineNo, article.blocks.back(), runs, error)) return false;
    inParagraph = !heading;
  }

  if (article.title.empty()) return Fail(error, lineNo, "the article has no title");
  if (article.id.empty()) return Fail(error, lineNo, "the article has no id");
  if (article.blocks.empty()) return Fail(error, lineNo, "the article has no text");
  out = std::move(article);
  return true;
}

}  // namespace quillonary
