// The layout behind DrawText: lines (at line breaks, or at spaces to fit the width), prefix
// characters that mark a mnemonic, alignment in a rectangle and the size the text needs.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "quillui/framework/base/geometry.h"

namespace quill {

inline constexpr unsigned DT_TOP = 0x0000;
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_EXPANDTABS = 0x0040;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_EXTERNALLEADING = 0x0200;
inline constexpr unsigned DT_CALCRECT = 0x0400;
inline constexpr unsigned DT_NOPREFIX = 0x0800;

struct TTextLine {
  std::string text;  // as drawn: prefix characters removed, tabs expanded
  int x = 0;         // left edge of the text
  int y = 0;         // top of the line's cell
  int width = 0;
  std::vector<size_t> mnemonics;  // byte offsets in text of the characters to underline
};

struct TTextLayout {
  std::vector<TTextLine> lines;
  int lineHeight = 0;
  int width = 0;   // of the widest line
  int height = 0;  // of all lines
};

// Widths of runs of text in the font being laid out.
using TTextMeasure = std::function<int(std::string_view)>;

// Lays text out in rect with DT_ flags. Without DT_NOPREFIX, "&x" underlines x, "&&" is one
// '&' and a lone '&' at the end is dropped. Without DT_SINGLELINE, CR, LF and CR LF break
// lines and DT_WORDBREAK also breaks at spaces before the width is passed (a word wider than
// the rectangle keeps a line of its own). A single line is placed by DT_VCENTER or DT_BOTTOM;
// several lines run down from the top. Each line is placed by DT_CENTER or DT_RIGHT; centring
// divides the spare room by two, truncating toward zero. With DT_EXPANDTABS tabs advance to
// the next multiple of eight average character widths.
TTextLayout LayoutText(std::string_view text, const TRect& rect, unsigned format,
                       const TTextMeasure& measure, int lineHeight, int aveCharWidth);

}  // namespace quill
