// The tokens of resource scripts, for the script reader (resource_script.cpp): names,
// numbers, strings with their escapes, punctuation and #directives, with line numbers.
#pragma once

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::rc {

// Numbers are read into 64 bits and refused above the largest 32-bit value, so that every id
// or style, signed or not, fits.
inline constexpr int64_t kMaxLexValue = UINT32_MAX;

inline bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
inline bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

enum class Tok { End, Ident, Number, String, Punct, Directive, Bad };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // identifier, directive word, string contents, or the punctuation
  int64_t value = 0;
  int line = 1;
};

// One token of look-ahead over the script text. stopLine, when set, makes every token on a
// later line read as End, which is how a #define's value ends at its line.
class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  const Token& Peek() {
    if (!hasPeek_) {
      peek_ = Scan();
      hasPeek_ = true;
    }
    if (stopLine_ > 0 && peek_.kind != Tok::End && peek_.line > stopLine_) {
      endAtStop_ = Token{};
      endAtStop_.line = stopLine_;
      return endAtStop_;
    }
    return peek_;
  }
  Token Next() {
    Token t = Peek();
    if (t.kind != Tok::End || (stopLine_ == 0)) hasPeek_ = false;
    return t;
  }
  void SetStopLine(int line) { stopLine_ = line; }
  int Line() const { return line_; }

 private:
  Token Scan() {
    SkipSpaceAndComments();
    Token t;
    t.line = line_;
    if (pos_ >= text_.size()) return t;
    char c = text_[pos_];
    if (c == '#') {
      ++pos_;
      size_t start = pos_;
      while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
      t.kind = Tok::Directive;
      t.text = std::string(text_.substr(start, pos_ - start));
      return t;
    }
    if (IsIdentStart(c)) {
      size_t start = pos_;
      while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
      t.kind = Tok::Ident;
      t.text = std::string(text_.substr(start, pos_ - start));
      return t;
    }
    if (std::isdigit(static_cast<unsigned char>(c))) return ScanNumber(t);
    if (c == '"') return ScanString(t);
    ++pos_;
    t.kind = Tok::Punct;
    t.text = std::string(1, c);
    return t;
  }

  void SkipSpaceAndComments() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
        pos_ += 2;
        while (pos_ < text_.size() &&
               !(text_[pos_] == '*' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/')) {
          if (text_[pos_] == '\n') ++line_;
          ++pos_;
        }
        pos_ = pos_ < text_.size() ? pos_ + 2 : pos_;
      } else {
        break;
      }
    }
  }

  // A number runs over every identifier character after its first digit, so "12x" is read
  // whole and refused rather than split into 12 and x.
  Token ScanNumber(Token& t) {
    size_t start = pos_;
    while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
    std::string word(text_.substr(start, pos_ - start));
    t.text = word;
    std::string digits = word;
    while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' ||
                               digits.back() == 'U' || digits.back() == 'u'))
      digits.pop_back();
    int base = 10;
    size_t i = 0;
    if (digits.size() > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
      base = 16;
      i = 2;
    }
    if (i >= digits.size()) {
      t.kind = Tok::Bad;
      return t;
    }
    uint64_t v = 0;
    for (; i < digits.size(); ++i) {
      char d = digits[i];
      int dv = -1;
      if (d >= '0' && d <= '9')
        dv = d - '0';
      else if (base == 16 && d >= 'a' && d <= 'f')
        dv = d - 'a' + 10;
      else if (base == 16 && d >= 'A' && d <= 'F')
        dv = d - 'A' + 10;
      if (dv < 0 || v > (uint64_t(kMaxLexValue) - uint64_t(dv)) / uint64_t(base)) {
        t.kind = Tok::Bad;
        return t;
      }
      v = v * uint64_t(base) + uint64_t(dv);
    }
    t.kind = Tok::Number;
    t.value = int64_t(v);
    return t;
  }

  // Strings may not cross a line. Inside them "" and \" are a quote, \\ a backslash, \t a tab
  // and \n a line break.
  Token ScanString(Token& t) {
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') {
        t.kind = Tok::Bad;
        t.text = "unterminated string";
        return t;
      }
      char c = text_[pos_++];
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          t.text += '"';
          ++pos_;
          continue;
        }
        t.kind = Tok::String;
        return t;
      }
      if (c == '\\') {
        char e = pos_ < text_.size() ? text_[pos_++] : '\0';
        switch (e) {
          case '"': t.text += '"'; break;
          case '\\': t.text += '\\'; break;
          case 't': t.text += '\t'; break;
          case 'n': t.text += '\n'; break;
          default:
            t.kind = Tok::Bad;
            t.text =
                std::string("unknown escape '\\") + (e >= 32 && e < 127 ? e : '?') + "' in string";
            return t;
        }
        continue;
      }
      t.text += c;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  Token peek_;
  Token endAtStop_;
  bool hasPeek_ = false;
  int stopLine_ = 0;
};

}  // namespace quill::rc
