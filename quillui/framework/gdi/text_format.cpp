#include "quillui/framework/gdi/text_format.h"

#include <algorithm>

namespace quill {

namespace {

// Text with its prefix characters resolved.
struct Marked {
  std::string text;
  std::vector<size_t> mnemonics;
};

Marked StripPrefixes(std::string_view in, bool prefixes) {
  Marked out;
  out.text.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (prefixes && in[i] == '&') {
      if (i + 1 >= in.size()) break;  // a lone '&' at the end shows nothing
      ++i;
      if (in[i] != '&') out.mnemonics.push_back(out.text.size());
    }
    out.text.push_back(in[i]);
  }
  return out;
}

// Replaces each tab by spaces up to the next tab stop, moving mnemonic offsets along.
void ExpandTabs(Marked& line, const TTextMeasure& measure, int tabWidth) {
  if (tabWidth <= 0 || line.text.find('\t') == std::string::npos) return;
  const int space = std::max(1, measure(" "));
  std::string out;
  std::vector<size_t> marks;
  size_t nextMark = 0;
  for (size_t i = 0; i < line.text.size(); ++i) {
    while (nextMark < line.mnemonics.size() && line.mnemonics[nextMark] == i) {
      marks.push_back(out.size());
      ++nextMark;
    }
    if (line.text[i] != '\t') {
      out.push_back(line.text[i]);
      continue;
    }
    const int width = measure(out);
    const int stop = (width / tabWidth + 1) * tabWidth;
    int spaces = std::max(1, (stop - width + space - 1) / space);
    out.append(size_t(spaces), ' ');
  }
  line.text = std::move(out);
  line.mnemonics = std::move(marks);
}

// Splits a marked run into pieces [begin, end) of its text, keeping the mnemonics that fall
// in each piece relative to it.
Marked Slice(const Marked& m, size_t begin, size_t end) {
  Marked out;
  out.text = m.text.substr(begin, end - begin);
  for (size_t p : m.mnemonics)
    if (p >= begin && p < end) out.mnemonics.push_back(p - begin);
  return out;
}

// Greedy breaking at spaces so each line fits width; the spaces at a break are dropped.
void WordBreak(const Marked& line, int width, const TTextMeasure& measure,
               std::vector<Marked>& out) {
  const std::string& t = line.text;
  if (t.empty()) {
    out.push_back(line);
    return;
  }
  size_t start = 0;
  while (start < t.size()) {
    // Take words while the run from start still fits; the first word is taken regardless.
    size_t end = start;
    bool have = false;
    size_t pos = start;
    while (true) {
      size_t wordEnd = t.find(' ', pos);
      if (wordEnd == std::string::npos) wordEnd = t.size();
      const bool fits = measure(std::string_view(t).substr(start, wordEnd - start)) <= width;
      if (have && !fits) break;
      end = wordEnd;
      have = true;
      if (!fits || wordEnd == t.size()) break;
      pos = t.find_first_not_of(' ', wordEnd);
      if (pos == std::string::npos) break;
    }
    out.push_back(Slice(line, start, end));
    start = t.find_first_not_of(' ', end);
    if (start == std::string::npos) break;
  }
}

}  // namespace

TTextLayout LayoutText(std::string_view text, const TRect& rect, unsigned format,
                       const TTextMeasure& measure, int lineHeight, int aveCharWidth) {
  TTextLayout layout;
  layout.lineHeight = lineHeight;
  if (text.empty()) return layout;
  const Marked marked = StripPrefixes(text, !(format & DT_NOPREFIX));
  const int tabWidth = (format & DT_EXPANDTABS) ? 8 * std::max(1, aveCharWidth) : 0;

  std::vector<Marked> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(marked);
  } else {
    size_t start = 0;
    const std::string& t = marked.text;
    while (true) {
      size_t brk = t.find_first_of("\r\n", start);
      size_t end = brk == std::string::npos ? t.size() : brk;
      Marked line = Slice(marked, start, end);
      ExpandTabs(line, measure, tabWidth);
      if (format & DT_WORDBREAK)
        WordBreak(line, rect.Width(), measure, lines);
      else
        lines.push_back(std::move(line));
      if (brk == std::string::npos) break;
      start = brk + ((t[brk] == '\r' && brk + 1 < t.size() && t[brk + 1] == '\n') ? 2 : 1);
      if (start >= t.size()) break;  // a break at the very end starts no further line
    }
  }
  if (format & DT_SINGLELINE) ExpandTabs(lines.front(), measure, tabWidth);

  const int count = int(lines.size());
  int y = rect.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = rect.top + (rect.Height() - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = rect.bottom - lineHeight;
  }
  for (Marked& m : lines) {
    TTextLine line;
    line.width = measure(m.text);
    if (format & DT_CENTER)
      line.x = rect.left + (rect.Width() - line.width) / 2;
    else if (format & DT_RIGHT)
      line.x = rect.right - line.width;
    else
      line.x = rect.left;
    line.y = y;
    y += lineHeight;
    line.text = std::move(m.text);
    line.mnemonics = std::move(m.mnemonics);
    layout.width = std::max(layout.width, line.width);
    layout.lines.push_back(std::move(line));
  }
  layout.height = count * lineHeight;
  return layout;
}

}  // namespace quill
