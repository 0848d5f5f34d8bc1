// Text on device contexts: DrawText's layout (lines, prefixes, alignment, word breaks) with a
// fixed-width measure, and text drawn through real fonts at the places the layout gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/font_engine.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/testing/framework.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

// Five pixels a byte, eleven a line.
const TTextMeasure kFixed = [](std::string_view s) { return int(s.size()) * 5; };

std::vector<std::string> Texts(const TTextLayout& layout) {
  std::vector<std::string> out;
  for (const TTextLine& l : layout.lines) out.push_back(l.text);
  return out;
}

TEST(TextLayoutTest, SingleLinesAreAlignedInTheRectangle) {
  const TRect r(10, 20, 110, 41);
  struct Case {
    unsigned format;
    int x, y;
  } cases[] = {
      {DT_SINGLELINE, 10, 20},
      {DT_SINGLELINE | DT_VCENTER, 10, 20 + (21 - 11) / 2},
      {DT_SINGLELINE | DT_BOTTOM, 10, 41 - 11},
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, 10 + (100 - 15) / 2, 25},
      {DT_SINGLELINE | DT_RIGHT, 110 - 15, 20},
      {DT_VCENTER | DT_RIGHT, 95, 20},  // several-line mode ignores vertical placement
  };
  for (const Case& c : cases) {
    const TTextLayout layout = LayoutText("abc", r, c.format, kFixed, 11, 5);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].x, c.x) << std::hex << c.format;
    EXPECT_EQ(layout.lines[0].y, c.y) << std::hex << c.format;
    EXPECT_EQ(layout.width, 15);
    EXPECT_EQ(layout.height, 11);
  }
  // Text wider than the rectangle spills equally to both sides when centred.
  EXPECT_EQ(LayoutText("abcdefghij", TRect(0, 0, 40, 11), DT_CENTER, kFixed, 11, 5).lines[0].x, -5);
  EXPECT_TRUE(LayoutText("", r, DT_SINGLELINE, kFixed, 11, 5).lines.empty());
}

TEST(TextLayoutTest, PrefixCharactersMarkMnemonics) {
  struct Case {
    const char* in;
    unsigned format;
    std::string text;
    std::vector<size_t> marks;
  } cases[] = {
      {"&File", 0, "File", {0}}, {"Save &As", 0, "Save As", {5}},
      {"a&&b", 0, "a&b", {}},    {"ab&", 0, "ab", {}},
      {"&&&x", 0, "&x", {1}},    {"&File", DT_NOPREFIX, "&File", {}},
  };
  for (const Case& c : cases) {
    const TTextLayout layout =
        LayoutText(c.in, TRect(0, 0, 100, 20), c.format | DT_SINGLELINE, kFixed, 11, 5);
    ASSERT_EQ(layout.lines.size(), 1u) << c.in;
    EXPECT_EQ(layout.lines[0].text, c.text) << c.in;
    EXPECT_EQ(layout.lines[0].mnemonics, c.marks) << c.in;
    EXPECT_EQ(layout.width, 5 * int(c.text.size())) << c.in;
  }
}

TEST(TextLayoutTest, LinesBreakAtLineEndsAndAtSpacesToFit) {
  const TRect r(0, 0, 50, 100);
  TTextLayout layout = LayoutText("one\r\ntwo\nthree\r", r, DT_CENTER, kFixed, 11, 5);
  EXPECT_EQ(Texts(layout), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(layout.lines[2].y, 22);
  EXPECT_EQ(layout.lines[2].x, (50 - 25) / 2);
  EXPECT_EQ(layout.height, 33);

  layout = LayoutText("the quick brown fox", r, DT_WORDBREAK, kFixed, 11, 5);
  EXPECT_EQ(Texts(layout), (std::vector<std::string>{"the quick", "brown fox"}));
  layout = LayoutText("a verylongwordindeed b", r, DT_WORDBREAK, kFixed, 11, 5);
  EXPECT_EQ(Texts(layout), (std::vector<std::string>{"a", "verylongwordindeed", "b"}));
  EXPECT_EQ(layout.width, 90);
  // A mnemonic keeps its character across a break.
  layout = LayoutText("one &two", TRect(0, 0, 20, 100), DT_WORDBREAK, kFixed, 11, 5);
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(layout.lines[1].mnemonics, (std::vector<size_t>{0}));
  // Single-line mode keeps line ends in the line.
  EXPECT_EQ(LayoutText("a\nb", r, DT_SINGLELINE, kFixed, 11, 5).lines.size(), 1u);
}

TEST(TextLayoutTest, TabsExpandToEightAverageCharacters) {
  const TTextLayout layout =
      LayoutText("a\tb", TRect(0, 0, 200, 20), DT_EXPANDTABS | DT_SINGLELINE, kFixed, 11, 5);
  EXPECT_EQ(layout.lines[0].text, "a       b");
  EXPECT_EQ(layout.width, 45);
}

// --- Through real fonts
// ----------------------------------------------------------------------------

class TextDrawTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetFontEngine();
    if (!DescribeResolvedFace(SystemFont()).found) GTEST_SKIP() << "no scalable font is installed";
  }

  // Bounding box of pixels that differ from the background index 0.
  static TRect Ink(const TBitmap& bmp) {
    TRect box;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x)
        if (bmp.Row(y)[x] != 0) box |= TRect(x, y, x + 1, y + 1);
    return box;
  }
  static bool SamePixels(const TBitmap& a, const TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.Row(y)[x] != b.Row(y)[x]) return false;
    return true;
  }
};

TEST_F(TextDrawTest, DefaultFontIsTheSystemFont) {
  TBitmap bmp(10, 10);
  TMemoryDC dc(bmp);
  EXPECT_EQ(dc.GetFont(), TFont("MS Sans Serif", -11));
  TTextMetric tm;
  ASSERT_TRUE(dc.GetTextMetrics(tm));
  EXPECT_EQ(tm, SystemFont().GetTextMetrics());
  const TFont big("Arial", -20);
  dc.SelectObject(big);
  EXPECT_EQ(dc.GetTextExtent("Wq"), big.GetTextExtent("Wq"));
  dc.RestoreFont();
  EXPECT_EQ(dc.GetTextExtent("Wq"), SystemFont().GetTextExtent("Wq"));
}

TEST_F(TextDrawTest, CentredSingleLinesLandWhereTheExtentSays) {
  const std::string text = "Options";
  const TRect r(8, 1, 150, 29);
  for (unsigned h : {DT_LEFT, DT_CENTER, DT_RIGHT}) {
    SCOPED_TRACE(h);
    TBitmap viaDrawText(160, 40), viaTextOut(160, 40);
    TMemoryDC a(viaDrawText), b(viaTextOut);
    for (TDC* dc : {static_cast<TDC*>(&a), static_cast<TDC*>(&b)}) {
      dc->SetBkMode(TRANSPARENT);
      dc->SetTextColor(TColor::White);
    }
    TRect box = r;
    const int answer = a.DrawText(text, box, DT_VCENTER | DT_SINGLELINE | h);
    const TSize extent = b.GetTextExtent(text);
    const int y = r.top + (r.Height() - extent.cy) / 2;
    const int x = h == DT_CENTER  ? r.left + (r.Width() - extent.cx) / 2
                  : h == DT_RIGHT ? r.right - extent.cx
                                  : r.left;
    EXPECT_EQ(answer, y + extent.cy - r.top);
    b.TextOut(x, y, text);
    EXPECT_TRUE(SamePixels(viaDrawText, viaTextOut));
    const TRect ink = Ink(viaDrawText);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_TRUE(TRect(x - 1, y, x + extent.cx + 1, y + extent.cy).Contains(ink)) << ink;
    EXPECT_LE(std::abs((ink.top + ink.bottom) - (r.top + r.bottom)), extent.cy / 2 + 2) << ink;
  }
}

TEST_F(TextDrawTest, CalcRectMeasuresWithoutDrawing) {
  TBitmap bmp(200, 100);
  TMemoryDC dc(bmp);
  dc.SetTextColor(TColor::White);
  const TSize extent = dc.GetTextExtent("Bookmark");
  TRect r(5, 6, 7, 8);
  EXPECT_EQ(dc.DrawText("Bookmark", r, DT_CALCRECT | DT_SINGLELINE), extent.cy);
  EXPECT_EQ(r, TRect(5, 6, 5 + extent.cx, 6 + extent.cy));
  r = TRect(0, 0, 1000, 0);
  EXPECT_EQ(dc.DrawText("one\ntwo words", r, DT_CALCRECT), 2 * extent.cy);
  EXPECT_EQ(r.Width(), dc.GetTextExtent("two words").cx);
  EXPECT_TRUE(Ink(bmp).IsEmpty());
}

TEST_F(TextDrawTest, MnemonicsAreUnderlinedAndDoubledAmpersandsShowOne) {
  TBitmap marked(100, 30), plain(100, 30), literal(100, 30), doubled(100, 30);
  TMemoryDC m(marked), p(plain), l(literal), d(doubled);
  for (TDC* dc : {static_cast<TDC*>(&m), static_cast<TDC*>(&p), static_cast<TDC*>(&l),
                  static_cast<TDC*>(&d)}) {
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(TColor::White);
  }
  TRect r(2, 2, 100, 30);
  m.DrawText("&Save", r, DT_SINGLELINE);
  p.DrawText("Save", r, DT_SINGLELINE | DT_NOPREFIX);
  l.DrawText("A&B", r, DT_SINGLELINE | DT_NOPREFIX);
  d.DrawText("A&&B", r, DT_SINGLELINE);
  EXPECT_TRUE(SamePixels(literal, doubled));
  // The only difference is the underline under the S, below the baseline.
  const int ascent = p.GetFont().GetTextMetrics().tmAscent;
  const int sWidth = p.GetTextExtent("S").cx;
  int extra = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x) {
      if (marked.Row(y)[x] == plain.Row(y)[x]) continue;
      ++extra;
      EXPECT_GE(y, 2 + ascent) << x << "," << y;
      EXPECT_TRUE(x >= 2 && x < 2 + sWidth) << x << "," << y;
    }
  EXPECT_GT(extra, 0);
}

TEST_F(TextDrawTest, OpaqueTextFillsItsCellAndClippedTextStaysInItsRectangle) {
  TBitmap bmp(120, 30);
  TMemoryDC dc(bmp);
  const uint8_t bk = dc.MapColor(TColor::LtBlue), ink = dc.MapColor(TColor::White);
  dc.SetBkColor(TColor::LtBlue);
  dc.SetTextColor(TColor::White);
  ASSERT_TRUE(dc.TextOut(3, 4, "Hint"));
  const TSize extent = dc.GetTextExtent("Hint");
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      const bool inCell = x >= 3 && x < 3 + extent.cx && y >= 4 && y < 4 + extent.cy;
      const uint8_t v = bmp.Row(y)[x];
      if (inCell) {
        ASSERT_TRUE(v == bk || v == ink) << x << "," << y;
      } else if (v != 0) {
        ASSERT_EQ(v, ink) << x << "," << y;  // at most a glyph's overhang
      }
    }

  dc.FillRectIndex({0, 0, 120, 30}, 0);
  const TRect box(10, 2, 30, 20);
  dc.SetBkMode(TRANSPARENT);  // ETO_OPAQUE fills the rectangle in any mode
  ASSERT_TRUE(dc.ExtTextOut(12, 3, ETO_OPAQUE | ETO_CLIPPED, &box, "Wide hint text"));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint8_t v = bmp.Row(y)[x];
      if (box.Contains(TPoint(x, y))) {
        ASSERT_TRUE(v == bk || v == ink) << x << "," << y;
      } else {
        ASSERT_EQ(v, 0) << x << "," << y;
      }
    }
  EXPECT_FALSE(Ink(bmp).IsEmpty());
}

TEST_F(TextDrawTest, DrawTextClipsToItsRectangleUnlessToldNot) {
  TBitmap clipped(100, 20), loose(100, 20);
  TMemoryDC a(clipped), b(loose);
  for (TDC* dc : {static_cast<TDC*>(&a), static_cast<TDC*>(&b)}) {
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(TColor::White);
  }
  TRect r(0, 0, 12, 20);
  a.DrawText("Wide words", r, DT_SINGLELINE);
  b.DrawText("Wide words", r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_LE(Ink(clipped).right, 12);
  EXPECT_GT(Ink(loose).right, 12);
}

}  // namespace
}  // namespace quill::test
