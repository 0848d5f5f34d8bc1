// One settings file held in memory: its text exactly as read, and an index of its sections and
// keys (compared without regard to ASCII case) that points into that text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quill {

// ASCII case-insensitive hashing and comparison, for the section and key indexes.
struct CaseInsensitiveHash {
  size_t operator()(std::string_view s) const noexcept;
};
struct CaseInsensitiveEqual {
  bool operator()(std::string_view a, std::string_view b) const noexcept;
};
bool EqualsNoCase(std::string_view a, std::string_view b);

// Reads a decimal integer the classic way: blanks, an optional sign, then as many digits as
// there are ("12abc" is 12). False when no digit follows; a value beyond [min, max] is clamped.
bool ParseLeadingInteger(std::string_view text, int64_t min, int64_t max, int64_t& out);

// Syntax: "[section]" starts a section; "key=value" is an entry (blanks around key and value
// are not part of them; everything else in the value is kept as written, quotes and ';'
// included); a line whose first non-blank character is ';' is a comment. Lines before the
// first section and lines that fit none of these forms are ignored but kept in the text, so
// rewriting the file never loses them. A key that appears twice in a section answers with its
// first occurrence; a section that appears twice is one section.
//
// The document is immutable: Set builds the text of a changed document, from which a new
// document is parsed. The index holds views into the text, so a document is neither copied
// nor moved; it lives behind a shared pointer.
class IniDocument {
 public:
  // Bounds that keep a damaged or hostile file from costing more than a few times its size.
  static constexpr size_t kMaxFileBytes = size_t(16) << 20;
  static constexpr size_t kMaxLineBytes = size_t(64) << 10;
  static constexpr size_t kMaxEntries = size_t(1) << 18;  // sections and entries together

  struct Problem {
    size_t line = 0;  // 1-based line number in the file
    std::string what;
  };
  struct Entry {
    std::string_view key;
    std::string_view value;
    size_t lineStart = 0;  // offset of the line's first byte
    size_t lineNext = 0;   // offset just past its line break (or the end of the text)
  };

  // Parses text (at most kMaxFileBytes of it: the caller checks the size). The first few
  // problems are kept for the caller to report; problemCount counts all of them.
  explicit IniDocument(std::string text);
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  const std::string& Text() const { return text_; }
  const std::vector<Problem>& Problems() const { return problems_; }
  size_t ProblemCount() const { return problemCount_; }

  // The value of the key's first occurrence, or null.
  const std::string_view* Find(std::string_view section, std::string_view key) const;
  bool HasSection(std::string_view section) const;
  // The section's distinct key names in file order (as first written), each ended by a zero
  // byte, the list ended by an empty name: "a\0b\0\0". A missing or empty section gives "\0".
  std::string KeyList(std::string_view section) const;
  // The section's entries in file order, duplicates included; null for a missing section.
  const std::vector<Entry>* Entries(std::string_view section) const;

  // The text after storing key=value in section, keeping every other line as it is: an
  // existing key's line is rewritten in place, a new key goes after the section's last entry,
  // a new section goes to the end. A null value removes the key (every occurrence); a null
  // key removes the section (every occurrence, with its comments). False, and out untouched,
  // when a name or the value cannot be written in this syntax (line breaks, a section name
  // with ']', a key with '=' or starting with '[' or ';', empty or padded names).
  bool BuildSet(const char* section, const char* key, const char* value, std::string& out) const;

 private:
  struct Section {
    std::string_view name;
    std::vector<Entry> entries;
    std::unordered_map<std::string_view, uint32_t, CaseInsensitiveHash, CaseInsensitiveEqual> index;
    size_t insertAt = 0;  // offset after the line of its last entry (or of its header)
    std::vector<std::pair<size_t, size_t>> spans;  // [start, end) of each occurrence, for removal
  };

  void Parse();
  void AddProblem(size_t line, std::string what);
  const Section* FindSection(std::string_view name) const;

  std::string text_;
  std::string eol_ = "\n";
  std::vector<std::unique_ptr<Section>> sections_;
  std::unordered_map<std::string_view, uint32_t, CaseInsensitiveHash, CaseInsensitiveEqual>
      sectionIndex_;
  std::vector<Problem> problems_;
  size_t problemCount_ = 0;
  bool capped_ = false;  // entries beyond kMaxEntries were left out of the index
};

// Reads a settings file with the size bound checked before anything is allocated. A missing
// file is an empty document (ok, exists false); a file that cannot be read or is too large is
// not ok, and error says why.
struct IniLoadResult {
  std::shared_ptr<const IniDocument> doc;
  bool ok = false;
  bool exists = false;
  std::string error;
};
IniLoadResult LoadIniFile(const std::string& path);

}  // namespace quill
