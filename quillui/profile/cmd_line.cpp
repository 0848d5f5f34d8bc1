#include "quillui/profile/cmd_line.h"

#include <climits>

#include "quillui/profile/ini_file.h"

namespace quill {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads a bracketed text starting at the "<" at pos; pos ends past the matching ">" (or at
// the end of the text when there is none). The answer is the text between the brackets.
std::string_view ReadBracketed(std::string_view text, size_t& pos) {
  const size_t start = ++pos;
  size_t depth = 1;
  for (; pos < text.size(); ++pos) {
    if (text[pos] == '<') {
      ++depth;
    } else if (text[pos] == '>' && --depth == 0) {
      return text.substr(start, pos++ - start);
    }
  }
  return text.substr(start);
}

}  // namespace

bool ZCmdLine::Scan(size_t& pos, std::string_view& name, std::string_view& value) const {
  const std::string_view text = text_;
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  if (pos >= text.size()) return false;
  value = {};
  if (text[pos] == '<') {
    name = ReadBracketed(text, pos);
    return true;
  }
  const size_t start = pos;
  while (pos < text.size() && !IsSpace(text[pos]) && text[pos] != '=') ++pos;
  name = text.substr(start, pos - start);
  if (pos < text.size() && text[pos] == '=') {
    ++pos;
    if (pos < text.size() && text[pos] == '<') {
      value = ReadBracketed(text, pos);
    } else {
      const size_t v = pos;
      while (pos < text.size() && !IsSpace(text[pos])) ++pos;
      value = text.substr(v, pos - v);
    }
  }
  return true;
}

bool ZCmdLine::FindFirst(std::string& name, std::string& value) {
  next_ = 0;
  return FindNext(name, value);
}

bool ZCmdLine::FindNext(std::string& name, std::string& value) {
  std::string_view n, v;
  if (!Scan(next_, n, v)) return false;
  name.assign(n);
  value.assign(v);
  return true;
}

bool ZCmdLine::FindView(std::string_view name, std::string_view& value) const {
  size_t pos = 0;
  std::string_view n, v;
  while (Scan(pos, n, v)) {
    if (n == name) {
      value = v;
      return true;
    }
  }
  return false;
}

bool ZCmdLine::GetValue(const char* name, std::string& value) const {
  std::string_view v;
  if (name == nullptr || !FindView(name, v)) {
    value.clear();
    return false;
  }
  value.assign(v);
  return true;
}

std::string ZCmdLine::GetValue(const char* name) const {
  std::string value;
  GetValue(name, value);
  return value;
}

bool ZCmdLine::GetLongValue(const char* name, long& value) const {
  std::string_view v;
  int64_t n;
  if (name == nullptr || !FindView(name, v) || !ParseLeadingInteger(v, LONG_MIN, LONG_MAX, n))
    return false;
  value = long(n);
  return true;
}

std::string ZCmdLine::Bracket(std::string_view value) {
  std::string r;
  r.reserve(value.size() + 2);
  r.push_back('<');
  r.append(value);
  r.push_back('>');
  return r;
}

}  // namespace quill
