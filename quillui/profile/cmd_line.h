// The item scanner: a line of items separated by blanks, each a bare name or name=value,
// where a value (or a whole item) in "<" ">" may hold blanks and nested brackets, so a
// grouped bookmark can carry whole bookmark texts.
#pragma once

#include <string>
#include <string_view>

namespace quill {

// Syntax, scanned left to right in one pass:
// - items are separated by blanks (space, tab, CR, LF);
// - an item starting with "<" is a bare item whose name is the bracketed text without its
//   outer brackets ("<a b=1>" is the bare item "a b=1");
// - otherwise the name runs to a blank or "="; after "=", a value starting with "<" runs to
//   its matching ">" (brackets nest; the outer pair is removed, inner ones are kept), any
//   other value runs to the next blank. "=v" alone is an item with an empty name.
// - a "<" that is never closed takes the rest of the text; a stray ">" is an ordinary
//   character. There is no escape character.
// Every operation is linear in the text's length: a scan never looks back.
class ZCmdLine {
 public:
  explicit ZCmdLine(const char* text) : text_(text ? text : "") {}
  explicit ZCmdLine(std::string text) : text_(std::move(text)) {}

  // The first or the next item; false when there is none. The value is empty for a bare item.
  bool FindFirst(std::string& name, std::string& value);
  bool FindNext(std::string& name, std::string& value);

  // The value of the first item of that name (compared exactly); false, and value emptied,
  // when there is none.
  bool GetValue(const char* name, std::string& value) const;
  std::string GetValue(const char* name) const;
  // The value of the first item of that name read as a decimal number (blanks, a sign and
  // the leading digits; clamped to long); false, and value unchanged, when there is no such
  // item or its value does not start with a number.
  bool GetLongValue(const char* name, long& value) const;

  const std::string& Text() const { return text_; }

  // The bracketed form of a value for writing an item: "<" value ">". A value whose own
  // brackets do not balance cannot be read back the same way.
  static std::string Bracket(std::string_view value);

 private:
  bool Scan(size_t& pos, std::string_view& name, std::string_view& value) const;
  bool FindView(std::string_view name, std::string_view& value) const;

  std::string text_;
  size_t next_ = 0;
};

}  // namespace quill
