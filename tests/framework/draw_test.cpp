// The drawing layer, pixel for pixel on the 8-bit palette screen: lines, fills, clip regions,
// pattern and block transfers with raster operations, DIB transfers and memory DCs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/dc_state_saver.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/raster.h"
#include "quillui/framework/gdi/region_ops.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window_dc.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

class DrawTest : public HeadlessTest {};

using Pixels = std::set<std::pair<int, int>>;

// Every pixel of a DC's target that differs from background.
Pixels Painted(const TDC& dc, uint8_t background) {
  Pixels out;
  const TPixelTarget& t = dc.Target();
  for (int y = 0; y < t.height; ++y)
    for (int x = 0; x < t.width; ++x)
      if (t.Row(y)[x] != background) out.insert({x, y});
  return out;
}

// An 8-bit DIB whose pixel (x, y) is index f(x, y), with a grey-ramp colour table.
template <typename F>
TDib IndexedDib(int w, int h, F f) {
  TDib dib(w, h, 8);
  for (int i = 0; i < 256; ++i) dib.SetColor(i, TColor(uint8_t(i), uint8_t(i), uint8_t(i)));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) dib.SetPixelIndex(x, y, f(x, y));
  return dib;
}

// --- Raster operations on rows
// --------------------------------------------------------------------

TEST(RasterTest, EveryTernaryOperationMatchesItsTruthTable) {
  // Bytes that put every (P, S, D) bit combination in some bit position, plus odd lengths so
  // the eight-at-a-time loop and its tail both run.
  const uint8_t pattern = 0xF0;
  std::vector<uint8_t> src, dst;
  for (int i = 0; i < 19; ++i) {
    src.push_back(uint8_t(0xCC ^ (i * 37)));
    dst.push_back(uint8_t(0xAA ^ (i * 91)));
  }
  for (int rop = 0; rop < 256; ++rop) {
    std::vector<uint8_t> out = dst;
    RopRow(uint8_t(rop), out.data(), src.data(), pattern, out.size());
    for (size_t i = 0; i < out.size(); ++i) {
      uint8_t want = 0;
      for (int bit = 0; bit < 8; ++bit) {
        int p = (pattern >> bit) & 1, s = (src[i] >> bit) & 1, d = (dst[i] >> bit) & 1;
        want |= uint8_t(((rop >> (p << 2 | s << 1 | d)) & 1) << bit);
      }
      ASSERT_EQ(out[i], want) << "rop 0x" << std::hex << rop << " byte " << std::dec << i;
    }
  }
  EXPECT_TRUE(RopUsesSource(Rop3(0xB8074A)) && RopUsesPattern(Rop3(0xB8074A)));
  EXPECT_FALSE(RopUsesSource(Rop3(PATINVERT)));
  EXPECT_FALSE(RopUsesDest(Rop3(SRCCOPY)));
}

TEST(RasterTest, UnpacksOneAndFourBitRowsFromAnyPixel) {
  const uint8_t mono[] = {0b10110000, 0b00000001};
  uint8_t out[6] = {};
  UnpackIndexRow(out, mono, 1, 2, 6);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{1, 1, 0, 0, 0, 0}));
  UnpackIndexRow(out, mono, 1, 15, 1);
  EXPECT_EQ(out[0], 1);
  const uint8_t nibbles[] = {0xAB, 0xCD};
  UnpackIndexRow(out, nibbles, 4, 1, 3);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 3), (std::vector<uint8_t>{0xB, 0xC, 0xD}));
}

// Mapping through a 256-entry table, by the vector path where the processor has it: the same
// bytes as the plain loop for every index, at lengths around its 64-byte step, in place too.
TEST(RasterTest, MappingGivesTheBytesOfThePlainLoop) {
  std::array<uint8_t, 256> map;
  for (size_t i = 0; i < map.size(); ++i) map[i] = uint8_t(i * 37 + 11);
  std::vector<uint8_t> src(300);
  for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(255 - i * 7);
  for (size_t count : {size_t(1), size_t(63), size_t(64), size_t(65), size_t(256), size_t(300)}) {
    std::vector<uint8_t> plain(count + 1, 0xEE);
    MapRowScalar(plain.data(), src.data(), map.data(), count);
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(plain[i], map[src[i]]) << count;
    EXPECT_EQ(plain[count], 0xEE) << count;
    std::vector<uint8_t> chosen(count + 1, 0xEE);
    MapRow(chosen.data(), src.data(), map.data(), count);
    EXPECT_EQ(chosen, plain) << count;
    std::vector<uint8_t> inPlace(src.begin(), src.begin() + std::ptrdiff_t(count));
    inPlace.push_back(0xEE);
    MapRow(inPlace.data(), inPlace.data(), map.data(), count);
    EXPECT_EQ(inPlace, plain) << count;
    std::vector<uint8_t> vector(count + 1, 0xEE);
    if (MapRowVector(vector.data(), src.data(), map.data(), count)) {
      EXPECT_EQ(vector, plain) << count;
    }
  }
}

// Block copies: every width around the inline moves for narrow rows (two overlapping words
// from 4 and from 8 bytes, three bytes below 4) and past them, into rows going down or up;
// nothing beside the block is touched.
TEST(RasterTest, RowCopiesMoveExactlyTheBlock) {
  constexpr int kRows = 3, kStride = 40;
  std::vector<uint8_t> src(size_t(kRows) * kStride);
  for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i * 13 + 1);
  for (size_t count = 0; count <= 20; ++count) {
    for (bool upward : {false, true}) {
      std::vector<uint8_t> dst(size_t(kRows) * kStride, 0xEE), expected = dst;
      const ptrdiff_t dstStride = upward ? -kStride : kStride;
      uint8_t* top = dst.data() + (upward ? (kRows - 1) * kStride : 0) + 3;
      for (int y = 0; y < kRows; ++y)
        for (size_t x = 0; x < count; ++x)
          expected[size_t((upward ? kRows - 1 - y : y) * kStride + 3) + x] =
              src[size_t(y * kStride + 5) + x];
      CopyRows(top, dstStride, src.data() + 5, kStride, count, kRows);
      EXPECT_EQ(dst, expected) << "count " << count << " upward " << upward;
    }
  }
}

// --- Lines
// -----------------------------------------------------------------------------------------

TEST_F(DrawTest, LinesInEveryOctantStartOnTheStartAndStopBeforeTheEnd) {
  TBitmap bmp(41, 41);
  TMemoryDC dc(bmp);
  dc.SelectObject(TPen(TColor::White));
  const int c = 20;
  for (int sx : {1, -1})
    for (int sy : {1, -1})
      for (auto [a, b] : {std::pair{13, 5}, std::pair{5, 13}, std::pair{9, 9}, std::pair{12, 0},
                          std::pair{0, 12}}) {
        const int dx = sx * a, dy = sy * b;
        SCOPED_TRACE(testing::Message() << "to (" << dx << ", " << dy << ")");
        dc.FillRectIndex({0, 0, 41, 41}, 0);
        dc.MoveTo(c, c);
        ASSERT_TRUE(dc.LineTo(c + dx, c + dy));
        EXPECT_EQ(dc.GetCurrentPosition(), TPoint(c + dx, c + dy));
        const Pixels got = Painted(dc, 0);
        const int major = std::max(a, b);
        ASSERT_EQ(int(got.size()), major);
        EXPECT_TRUE(got.count({c, c}));
        EXPECT_FALSE(got.count({c + dx, c + dy}));
        // One pixel per step along the major axis, never more than half a pixel off the line.
        for (int i = 0; i < major; ++i) {
          const bool xMajor = a >= b;
          const int along = xMajor ? c + sx * i : c + sy * i;
          const double exact = xMajor ? c + double(dy) * i / major : c + double(dx) * i / major;
          int hits = 0;
          for (const auto& [x, y] : got) {
            if ((xMajor ? x : y) != along) continue;
            ++hits;
            EXPECT_LE(std::fabs((xMajor ? y : x) - exact), 0.5) << "step " << i;
          }
          EXPECT_EQ(hits, 1) << "step " << i;
        }
      }
}

TEST_F(DrawTest, LineStepsFollowBresenhamWithHalvesTowardTheStart) {
  TBitmap bmp(40, 40);
  TMemoryDC dc(bmp);
  dc.SelectObject(TPen(TColor::White));
  dc.MoveTo(20, 20);
  dc.LineTo(26, 23);
  EXPECT_EQ(Painted(dc, 0), (Pixels{{20, 20}, {21, 20}, {22, 21}, {23, 21}, {24, 22}, {25, 22}}));
  dc.FillRectIndex({0, 0, 40, 40}, 0);
  dc.LineTo(20, 20);  // back again: the other end is the start now
  EXPECT_EQ(Painted(dc, 0), (Pixels{{26, 23}, {25, 23}, {24, 22}, {23, 22}, {22, 21}, {21, 21}}));
}

TEST_F(DrawTest, LinesAreClippedAndNullPensOnlyMove) {
  TBitmap bmp(30, 30);
  TMemoryDC dc(bmp);
  dc.SelectObject(TPen(TColor::White));
  dc.IntersectClipRect({10, 0, 20, 30});
  dc.MoveTo(-5, 3);
  dc.LineTo(40, 18);  // slope 1/3 across the clip
  for (const auto& [x, y] : Painted(dc, 0)) EXPECT_TRUE(x >= 10 && x < 20) << x;
  EXPECT_EQ(Painted(dc, 0).size(), 10u);
  dc.MoveTo(12, 0);
  dc.LineTo(12, 100000000);  // long, but only the clip box is walked
  EXPECT_EQ(dc.GetPixelIndex(12, 29), 255);

  dc.FillRectIndex({0, 0, 30, 30}, 0);
  dc.SelectObject(TPen::NullPen());
  dc.MoveTo(10, 5);
  dc.LineTo(19, 5);
  EXPECT_TRUE(Painted(dc, 0).empty());
  EXPECT_EQ(dc.GetCurrentPosition(), TPoint(19, 5));
}

// --- Fills, shapes, clipping ---------------------------------------------------------------------

TEST_F(DrawTest, FillsAreClippedToATwoRectangleRegion) {
  TScreenDC dc;
  dc.FillRect({0, 0, 100, 100}, TColor::Black);
  TRegion clip;
  EXPECT_EQ(CombineRgn(clip, CreateRectRgn(10, 10, 30, 30), CreateRectRgn(50, 20, 70, 40), RGN_OR),
            COMPLEXREGION);
  EXPECT_TRUE(RectInRegion(clip, {29, 29, 31, 31}));
  EXPECT_FALSE(RectInRegion(clip, {30, 10, 50, 20}));
  EXPECT_EQ(dc.SelectClipRgn(clip), COMPLEXREGION);
  dc.FillRect({0, 0, 100, 100}, TBrush(TColor::LtRed));
  const uint8_t red = IndexOf(TColor::LtRed), black = IndexOf(TColor::Black);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 80; ++x) {
      bool inside =
          (x >= 10 && x < 30 && y >= 10 && y < 30) || (x >= 50 && x < 70 && y >= 20 && y < 40);
      ASSERT_EQ(ScreenPixel(x, y), inside ? red : black) << x << "," << y;
    }
  EXPECT_EQ(dc.GetClipBox(), TRect(10, 10, 70, 40));
  EXPECT_EQ(dc.SelectClipRgn(nullptr), SIMPLEREGION);
  EXPECT_EQ(dc.GetClipBox(), TRect(0, 0, 800, 600));
}

TEST_F(DrawTest, FillRectsPaintsAsFillRectsOneAfterAnother) {
  // Overlaps (later wins), one-pixel columns and rows, rectangles apart with nothing between
  // them, one reaching past the clip and one empty; under a clip with a hole and a moved origin.
  const std::vector<TFilledRect> fills = {
      {{0, 0, 60, 50}, TColor::LtBlue},    {{4, 2, 5, 47}, TColor::LtRed},
      {{5, 46, 56, 47}, TColor::LtGreen},  {{55, 2, 56, 47}, TColor::Black},
      {{4, 2, 5, 3}, TColor::White},       {{70, 10, 80, 20}, TColor::LtRed},
      {{90, 10, 95, 20}, TColor::LtGreen}, {{40, 30, 200, 35}, TColor::White},
      {{30, 30, 20, 40}, TColor::LtGreen},
  };
  TRegion clip;
  CombineRgn(clip, CreateRectRgn(0, 0, 120, 60), CreateRectRgn(20, 10, 40, 25), RGN_DIFF);
  auto paint = [&](bool together) {
    TScreenDC dc;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 220; ++x) dc.SetPixel(x, y, (x + y) % 3 ? TColor::Gray : TColor::White);
    dc.SelectClipRgn(clip);
    dc.SetViewportOrg({3, 5});
    if (together) {
      dc.FillRects(fills);
    } else {
      for (const TFilledRect& f : fills) dc.FillRect(f.rect, f.color);
    }
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 220; ++x) pixels.push_back(ScreenPixel(x, y));
    return pixels;
  };
  EXPECT_EQ(paint(true), paint(false));
}

TEST_F(DrawTest, RegionsCombineInEveryMode) {
  const TRegion a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 0, 15, 10);
  TRegion r;
  EXPECT_EQ(CombineRgn(r, a, b, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(r, CreateRectRgn(5, 0, 10, 10));
  EXPECT_EQ(CombineRgn(r, a, b, RGN_OR), SIMPLEREGION);  // two pieces, one rectangle
  EXPECT_EQ(r, CreateRectRgn(0, 0, 15, 10));
  EXPECT_EQ(CombineRgn(r, a, b, RGN_DIFF), SIMPLEREGION);
  EXPECT_EQ(r, CreateRectRgn(0, 0, 5, 10));
  EXPECT_EQ(CombineRgn(r, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_EQ(r.Area(), 100);
  EXPECT_EQ(CombineRgn(r, a, b, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(r, a);
  EXPECT_EQ(CombineRgn(r, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(r, a, b, 99), RGN_ERROR);
  EXPECT_EQ(CreateRectRgn(10, 10, 0, 0), a);  // corners swapped
}

TEST_F(DrawTest, SelectedClipStaysInsideTheWindowsVisiblePart) {
  TWindow w(nullptr);
  w.Attr.Style = WS_POPUP | WS_VISIBLE;
  w.Attr.X = 100;
  w.Attr.Y = 100;
  w.Attr.W = 50;
  w.Attr.H = 50;
  ASSERT_TRUE(w.Create());
  Pump();
  TScreenDC().FillRect({0, 0, 300, 300}, TColor::Black);
  TClientDC dc(w);
  dc.SelectClipRgn(CreateRectRgn(-100, -100, 25, 200));
  dc.FillRect({-100, -100, 200, 200}, TColor::White);
  const uint8_t white = IndexOf(TColor::White), black = IndexOf(TColor::Black);
  EXPECT_EQ(ScreenPixel(100, 100), white);
  EXPECT_EQ(ScreenPixel(124, 149), white);
  EXPECT_EQ(ScreenPixel(125, 120), black);
  EXPECT_EQ(ScreenPixel(99, 120), black);
  EXPECT_EQ(ScreenPixel(110, 150), black);
}

TEST_F(DrawTest, RectangleDrawsThePenOnTheEdgeAndTheBrushInside) {
  TBitmap bmp(12, 12);
  TMemoryDC dc(bmp);
  const uint8_t red = IndexOf(TColor::LtRed), blue = IndexOf(TColor::LtBlue);
  dc.SelectObject(TPen(TColor::LtRed));
  dc.SelectObject(TBrush(TColor::LtBlue));
  dc.Rectangle(2, 2, 8, 7);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      int want = 0;
      if (x >= 2 && x < 8 && y >= 2 && y < 7)
        want = (x == 2 || x == 7 || y == 2 || y == 6) ? red : blue;
      ASSERT_EQ(dc.GetPixelIndex(x, y), want) << x << "," << y;
    }

  dc.FillRectIndex({0, 0, 12, 12}, 0);
  dc.SelectObject(TPen::NullPen());
  dc.Rectangle(2, 2, 8, 7);  // the brush alone covers one pixel less each way
  EXPECT_EQ(Painted(dc, 0).size(), size_t(5 * 4));
  EXPECT_EQ(dc.GetPixelIndex(6, 5), blue);
  EXPECT_EQ(dc.GetPixelIndex(7, 5), 0);
  dc.FillRectIndex({0, 0, 12, 12}, 0);
  dc.SelectObject(TBrush::NullBrush());
  dc.SelectObject(TPen(TColor::LtRed));
  dc.Rectangle(2, 2, 8, 7);
  EXPECT_EQ(dc.GetPixelIndex(4, 4), 0);
  EXPECT_EQ(Painted(dc, 0).size(), size_t(6 * 2 + 3 * 2));
}

TEST_F(DrawTest, PatBltOperationsWorkOnIndicesBitByBit) {
  TBitmap bmp(4, 4);
  TMemoryDC dc(bmp);
  const uint8_t brush = IndexOf(TColor::LtGreen), dst = 0x5C;
  struct Case {
    uint32_t rop;
    int want;
  } cases[] = {{PATCOPY, brush},
               {PATINVERT, brush ^ dst},
               {DSTINVERT, uint8_t(~dst)},
               {BLACKNESS, 0x00},
               {WHITENESS, 0xFF}};
  dc.SelectObject(TBrush(TColor::LtGreen));
  for (const Case& c : cases) {
    dc.FillRectIndex({0, 0, 4, 4}, dst);
    ASSERT_TRUE(dc.PatBlt(3, 3, -2, -2, c.rop));  // negative extents reach left and up
    EXPECT_EQ(dc.GetPixelIndex(1, 1), c.want) << std::hex << c.rop;
    EXPECT_EQ(dc.GetPixelIndex(2, 2), c.want);
    EXPECT_EQ(dc.GetPixelIndex(3, 3), dst);
    EXPECT_EQ(dc.GetPixelIndex(0, 0), dst);
  }
  EXPECT_FALSE(dc.PatBlt(0, 0, 1, 1, SRCCOPY));  // needs a source
  EXPECT_EQ(IndexOf(TColor::Black), 0);
  EXPECT_EQ(IndexOf(TColor::White), 255);
}

// --- Block transfers
// -------------------------------------------------------------------------------

TEST_F(DrawTest, BitBltAppliesTheSourceOperationsBetweenMemoryBitmaps) {
  TBitmap srcBmp(3, 1), dstBmp(3, 1);
  TMemoryDC src(srcBmp), dst(dstBmp);
  const uint8_t s[3] = {0x0F, 0xA5, 0xFF}, d[3] = {0x3C, 0x5A, 0x00};
  struct Case {
    uint32_t rop;
    uint8_t (*op)(uint8_t, uint8_t);
  } cases[] = {
      {SRCCOPY, [](uint8_t a, uint8_t) { return a; }},
      {SRCAND, [](uint8_t a, uint8_t b) { return uint8_t(a & b); }},
      {SRCPAINT, [](uint8_t a, uint8_t b) { return uint8_t(a | b); }},
      {SRCINVERT, [](uint8_t a, uint8_t b) { return uint8_t(a ^ b); }},
      {NOTSRCCOPY, [](uint8_t a, uint8_t) { return uint8_t(~a); }},
  };
  for (const Case& c : cases) {
    for (int x = 0; x < 3; ++x) {
      srcBmp.Row(0)[x] = s[x];
      dstBmp.Row(0)[x] = d[x];
    }
    ASSERT_TRUE(dst.BitBlt(0, 0, 3, 1, src, 0, 0, c.rop));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(dstBmp.Row(0)[x], c.op(s[x], d[x])) << std::hex << c.rop;
  }
}

// The masked drawing of icons and menu images: the mask is blitted over the image with the
// brush selected; where the mask is black the brush colour shows, where white the image.
TEST_F(DrawTest, MaskOperationCompositesAnImageOntoTheBrushColour) {
  const TDib image = IndexedDib(4, 2, [](int x, int y) { return 40 + x + 4 * y; });
  TDib maskDib(4, 2, 1);
  maskDib.SetColor(0, TColor::Black);
  maskDib.SetColor(1, TColor::White);
  const bool white[2][4] = {{true, false, false, true}, {false, true, true, false}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) maskDib.SetPixelIndex(x, y, white[y][x] ? 1 : 0);

  TPalette palette(image);
  palette.Realize(TWindowSystem::Get().Screen(), false);
  const uint8_t brush = IndexOf(TColor::LtMagenta);
  for (int maskDepth : {8, 1}) {
    SCOPED_TRACE(maskDepth);
    TBitmap picture(image, &palette);
    TBitmap mask(maskDib, &palette, maskDepth);
    TMemoryDC imageDC(picture), maskDC(mask);
    imageDC.SelectObject(TBrush(TColor::LtMagenta));
    ASSERT_TRUE(imageDC.BitBlt(0, 0, 4, 2, maskDC, 0, 0, 0xB8074A));
    TScreenDC screen;
    ASSERT_TRUE(screen.BitBlt(200, 100, 4, 2, imageDC, 0, 0, SRCCOPY));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) {
        uint8_t want = white[y][x]
                           ? palette.SystemIndex(40 + x + 4 * y, TWindowSystem::Get().Screen())
                           : brush;
        EXPECT_EQ(ScreenPixel(200 + x, 100 + y), want) << x << "," << y;
      }
  }
}

TEST_F(DrawTest, BitBltClipsToTheSourceAndHandlesOverlapOnOneTarget) {
  TScreenDC dc;
  for (int x = 0; x < 10; ++x) dc.FillRectIndex({x, 0, x + 1, 1}, uint8_t(100 + x));
  // Scrolling right by 3 within the same row reads each pixel before it is overwritten.
  ASSERT_TRUE(dc.BitBlt(3, 0, 7, 1, dc, 0, 0));
  for (int x = 3; x < 10; ++x) EXPECT_EQ(ScreenPixel(x, 0), 100 + x - 3);
  // Source columns left of the screen do not exist: their destination stays.
  dc.FillRectIndex({0, 5, 10, 6}, 7);
  ASSERT_TRUE(dc.BitBlt(0, 5, 6, 1, dc, -2, 0));
  EXPECT_EQ(ScreenPixel(0, 5), 7);
  EXPECT_EQ(ScreenPixel(1, 5), 7);
  EXPECT_EQ(ScreenPixel(2, 5), 100);
}

TEST_F(DrawTest, MonochromeBitmapsMeetColourThroughTextAndBackgroundColours) {
  TBitmap mono(2, 1, 1), colour(2, 1);
  mono.Row(0)[1] = 0xFF;
  TMemoryDC monoDC(mono), colourDC(colour);
  colourDC.SetTextColor(TColor::LtRed);
  colourDC.SetBkColor(TColor::LtBlue);
  colourDC.BitBlt(0, 0, 2, 1, monoDC, 0, 0);
  EXPECT_EQ(colourDC.GetPixelIndex(0, 0), IndexOf(TColor::LtRed));
  EXPECT_EQ(colourDC.GetPixelIndex(1, 0), IndexOf(TColor::LtBlue));
  // Back to a mask: pixels of the source's background colour become white.
  colourDC.SetBkColor(TColor::LtRed);
  TBitmap mask(2, 1, 1);
  TMemoryDC maskDC(mask);
  maskDC.BitBlt(0, 0, 2, 1, colourDC, 0, 0);
  EXPECT_EQ(maskDC.GetPixel(0, 0), TColor::White);
  EXPECT_EQ(maskDC.GetPixel(1, 0), TColor::Black);

  // Rows wider than the stretch the transfer maps at a time come out whole.
  constexpr int kWide = 1100;
  TBitmap wideMono(kWide, 1, 1), wideColour(kWide, 1);
  for (int x = 0; x < kWide; ++x) wideMono.Row(0)[x] = (x % 3 == 0) ? 0xFF : 0x00;
  TMemoryDC wideMonoDC(wideMono), wideColourDC(wideColour);
  wideColourDC.SetTextColor(TColor::LtRed);
  wideColourDC.SetBkColor(TColor::LtBlue);
  ASSERT_TRUE(wideColourDC.BitBlt(0, 0, kWide, 1, wideMonoDC, 0, 0));
  int wrong = 0;
  for (int x = 0; x < kWide; ++x)
    wrong +=
        wideColourDC.GetPixelIndex(x, 0) != IndexOf(x % 3 == 0 ? TColor::LtBlue : TColor::LtRed);
  EXPECT_EQ(wrong, 0);
}

// --- DIB transfers
// ---------------------------------------------------------------------------------

TEST_F(DrawTest, StretchDIBitsEnlargesAndReducesByNearestNeighbour) {
  const TDib dib = IndexedDib(4, 2, [](int x, int y) { return 10 * y + x; });
  TScreenDC dc;
  ASSERT_EQ(dc.StretchDIBits(0, 0, 8, 4, 0, 0, 4, 2, dib), 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(ScreenPixel(x, y), IndexOf(TColor(dib.GetPixelColor(x / 2, y / 2))))
          << x << "," << y;

  const TDib big = IndexedDib(8, 4, [](int x, int y) { return 10 * y + x; });
  ASSERT_EQ(dc.StretchDIBits(20, 0, 4, 2, 0, 0, 8, 4, big), 4);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(ScreenPixel(20 + x, y), IndexOf(TColor(big.GetPixelColor(2 * x, 2 * y))));

  // A source rectangle's y counts up from the bottom row: (1, 1) 2 x 2 of an 8 x 4 image is
  // rows 1 and 2 from the top.
  ASSERT_EQ(dc.StretchDIBits(40, 0, 2, 2, 1, 1, 2, 2, big), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      EXPECT_EQ(ScreenPixel(40 + x, y), IndexOf(TColor(big.GetPixelColor(1 + x, 1 + y))));

  // A negative width mirrors into the columns left of and including x.
  ASSERT_EQ(dc.StretchDIBits(53, 10, -4, 2, 0, 0, 4, 2, dib), 2);
  for (int x = 0; x < 4; ++x)
    EXPECT_EQ(ScreenPixel(50 + x, 10), IndexOf(TColor(dib.GetPixelColor(3 - x, 0))));
}

TEST_F(DrawTest, StretchDIBitsOfHugeDestinationsOnlyWalksTheClip) {
  const TDib dib = IndexedDib(2, 2, [](int x, int y) { return 200 + x; });
  TScreenDC dc;
  ASSERT_EQ(dc.StretchDIBits(0, 0, 1 << 30, 1 << 30, 0, 0, 2, 2, dib), 2);
  EXPECT_EQ(ScreenPixel(799, 599), IndexOf(TColor(dib.GetPixelColor(0, 0))));
  EXPECT_EQ(dc.StretchDIBits(0, 0, 10, 10, 0, 0, 0, 2, dib), 0);
}

TEST_F(DrawTest, SetDIBitsToDeviceAddressesScanLinesFromTheBottom) {
  const int w = 4, h = 6;
  const TDib dib = IndexedDib(w, h, [](int x, int y) { return 16 * y + x; });
  TScreenDC dc;
  auto shows = [&](int x, int y, int dibX, int dibY) {
    return ScreenPixel(x, y) == IndexOf(TColor(dib.GetPixelColor(dibX, dibY)));
  };

  // A background painted under a window: destination (10, 20, 3 x 2) from source x = 1 and
  // y = height - bottom, where the rectangle is (1, 2, 4, 4) of the image.
  dc.FillRect({0, 0, 100, 100}, TColor::Black);
  ASSERT_EQ(dc.SetDIBitsToDevice(10, 20, 3, 2, 1, h - 4, 0, h, dib), h);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_TRUE(shows(10 + x, 20 + y, 1 + x, 2 + y)) << x << "," << y;

  // Only scan lines 2, 3 and 4 (from the bottom) are given: image rows 3, 2 and 1.
  dc.FillRect({0, 0, 100, 100}, TColor::Black);
  ASSERT_EQ(dc.SetDIBitsToDevice(0, 0, w, h, 0, 0, 2, 3, dib), 3);
  for (int y = 0; y < h; ++y) {
    if (y >= 1 && y <= 3)
      EXPECT_TRUE(shows(2, y, 2, y)) << y;
    else
      EXPECT_EQ(ScreenPixel(2, y), IndexOf(TColor::Black)) << y;
  }

  // The same band handed over the classic way: bits holding just those three rows.
  dc.FillRect({0, 0, 100, 100}, TColor::Black);
  TDibBits band;
  band.header = &dib.InfoHeader();
  band.colors = dib.GetColors();
  band.numColors = dib.NumColors();
  band.bits = std::span<const uint8_t>(dib.Bits() + 2 * dib.BytesPerLine(), 3 * dib.BytesPerLine());
  ASSERT_EQ(dc.SetDIBitsToDevice(0, 0, w, h, 0, 0, 2, 3, band), 3);
  EXPECT_TRUE(shows(1, 1, 1, 1));
  EXPECT_TRUE(shows(1, 3, 1, 3));
  EXPECT_EQ(ScreenPixel(1, 4), IndexOf(TColor::Black));
  // Promising more rows than the bits hold draws only what is there.
  band.bits = band.bits.first(dib.BytesPerLine());
  dc.FillRect({0, 0, 100, 100}, TColor::Black);
  ASSERT_EQ(dc.SetDIBitsToDevice(0, 0, w, h, 0, 0, 2, 3, band), 1);
  EXPECT_TRUE(shows(0, 3, 0, 3));
  EXPECT_EQ(ScreenPixel(0, 2), IndexOf(TColor::Black));
}

TEST_F(DrawTest, DibColoursMapThroughTheSelectedPaletteOrByIndexOrPerPixel) {
  TScreenDC dc;
  // Palette indices instead of colours: entry i of the table names palette entry 2 - i.
  TDib dib(3, 1, 8, 3);
  auto* raw = reinterpret_cast<uint8_t*>(dib.GetColors());
  for (int i = 0; i < 3; ++i) raw[2 * i] = uint8_t(2 - i), raw[2 * i + 1] = 0;
  for (int x = 0; x < 3; ++x) dib.SetPixelIndex(x, 0, x);
  const TPaletteEntry entries[3] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}};
  TPalette palette(entries, 3);
  dc.SelectPalette(&palette);
  dc.RealizePalette();
  ASSERT_EQ(dc.SetDIBitsToDevice(0, 0, 3, 1, 0, 0, 0, 1, dib, DIB_PAL_COLORS), 1);
  EXPECT_EQ(dc.GetPixel(0, 0), TColor::LtBlue);
  EXPECT_EQ(dc.GetPixel(2, 0), TColor::LtRed);

  // 24 bits: every pixel's colour goes to the nearest index.
  TDib rgb(2, 1, 24);
  rgb.SetPixelColor(0, 0, TColor(250, 5, 5));
  rgb.SetPixelColor(1, 0, TColor(3, 3, 250));
  ASSERT_EQ(dc.StretchDIBits(10, 0, 4, 1, 0, 0, 2, 1, rgb), 1);
  EXPECT_EQ(dc.GetPixel(10, 0), TColor::LtRed);
  EXPECT_EQ(dc.GetPixel(13, 0), TColor::LtBlue);
}

// --- Memory DCs, bitmaps, state ------------------------------------------------------------------

TEST_F(DrawTest, MemoryDcRoundTripKeepsEveryColour) {
  const TDib dib = IndexedDib(5, 3, [](int x, int y) { return 20 + 30 * y + 5 * x; });
  TPalette palette(dib);
  TScreenDC screen;
  screen.SelectPalette(&palette);
  screen.RealizePalette();

  TBitmap bitmap(dib, &palette);
  TBitmapInfo info;
  ASSERT_EQ(bitmap.GetObject(info), int(sizeof info));
  EXPECT_EQ(info.bmWidth, 5);
  EXPECT_EQ(info.bmHeight, 3);
  EXPECT_EQ(info.bmBitsPixel, 8);
  TMemoryDC mem(screen);
  ASSERT_TRUE(mem.SelectObject(bitmap));
  ASSERT_TRUE(screen.BitBlt(300, 300, 5, 3, mem, 0, 0));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(screen.GetPixel(300 + x, 300 + y), dib.GetPixelColor(x, y));

  // Drawn on and read back as a DIB with the palette: indices land on the same entries.
  mem.SetPixel(0, 0, TColor(dib.GetPixelColor(4, 2)).PaletteRelative());
  const std::unique_ptr<TDib> back = bitmap.ToDib(&palette);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetPixelIndex(0, 0), dib.GetPixelIndex(4, 2));
  for (int y = 0; y < 3; ++y)
    for (int x = (y == 0); x < 5; ++x)
      EXPECT_EQ(back->GetPixelIndex(x, y), dib.GetPixelIndex(x, y));
}

TEST_F(DrawTest, BitmapsBelongToOneMemoryDcAtATime) {
  auto bitmap = std::make_unique<TBitmap>(4, 4);
  TMemoryDC a, b;
  EXPECT_EQ(a.Target().width, 1);  // the stock bitmap
  ASSERT_TRUE(a.SelectObject(*bitmap));
  EXPECT_FALSE(b.SelectObject(*bitmap));
  EXPECT_EQ(bitmap->SelectedInto(), &a);
  bitmap.reset();  // the DC falls back on its stock bitmap instead of dangling
  EXPECT_EQ(a.GetBitmap(), nullptr);
  EXPECT_EQ(a.Target().width, 1);
  a.FillRect({0, 0, 10, 10}, TColor::White);
  EXPECT_EQ(a.GetPixel(0, 0), TColor::White);
  EXPECT_FALSE(TBitmap(0, 5).IsOK());
  EXPECT_FALSE(TBitmap(100000, 5).IsOK());
  EXPECT_FALSE(TBitmap(4, 4, 24).IsOK());
}

// A caller's block of width x height indices, top-down or bottom-up, with guard bytes before
// it, after it and in each row's padding, so a write anywhere but a pixel shows.
struct GuardedPixels {
  static constexpr uint8_t kGuard = 0xA5;
  static constexpr size_t kMargin = 32;
  static constexpr int kPadding = 3;

  GuardedPixels(int w, int h, bool bottomUp)
      : width(w), height(h), step(size_t(w + kPadding)), bottomUp(bottomUp) {
    bytes.assign(2 * kMargin + step * size_t(h), kGuard);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) At(x, y) = 0;
  }
  std::span<uint8_t> Block() { return {bytes.data() + kMargin, step * size_t(height)}; }
  ptrdiff_t Stride() const { return bottomUp ? -ptrdiff_t(step) : ptrdiff_t(step); }
  // Worked out here from the layout, not through the DC: the first row in memory of a
  // bottom-up block is the picture's bottom row.
  uint8_t& At(int x, int y) {
    const int memoryRow = bottomUp ? height - 1 - y : y;
    return bytes[kMargin + size_t(memoryRow) * step + size_t(x)];
  }
  bool GuardsIntact() {
    std::vector<uint8_t> copy = bytes;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) copy[size_t(&At(x, y) - bytes.data())] = kGuard;
    return std::all_of(copy.begin(), copy.end(), [](uint8_t b) { return b == kGuard; });
  }

  int width, height;
  size_t step;
  bool bottomUp;
  std::vector<uint8_t> bytes;
};

// Something of every kind a DC draws, much of it reaching past the target's edges.
void DrawEverything(TDC& dc, const TDC& source) {
  dc.FillRectIndex({-5, -5, 7, 4}, 200);
  dc.SelectObject(TPen(TColor::LtRed));
  dc.MoveTo(-3, 20);
  dc.LineTo(40, -2);
  dc.MoveTo(47, -10);
  dc.LineTo(47, 40);
  dc.SelectObject(TBrush(TColor::LtGreen));
  dc.Rectangle(10, 8, 30, 18);
  dc.TextOut(5, 14, "Quill gj");
  dc.BitBlt(20, 3, 8, 8, source, 0, 0);
  const TDib dib = IndexedDib(10, 10, [](int x, int y) { return 16 * y + x; });
  dc.SetDIBitsToDevice(42, 2, 10, 10, 0, 0, 0, 10, dib);
  dc.StretchDIBits(-4, 18, 12, 12, 0, 0, 4, 4, dib);
  dc.BitBlt(1, 1, 48, 24, dc, 0, 0);  // onto itself, overlapping
  dc.PatBlt(30, 10, 30, 30, DSTINVERT);
}

TEST_F(DrawTest, CallerPixelsTakeEveryDrawingTopDownOrBottomUp) {
  const int w = 48, h = 24;
  TBitmap sourceBmp(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) sourceBmp.Row(y)[x] = uint8_t(100 + 8 * y + x);
  TMemoryDC source(sourceBmp);
  TBitmap reference(w, h);
  TMemoryDC referenceDC(reference);
  DrawEverything(referenceDC, source);

  for (bool bottomUp : {false, true}) {
    SCOPED_TRACE(bottomUp ? "bottom-up" : "top-down");
    GuardedPixels block(w, h, bottomUp);
    TMemoryDC dc;
    std::string why;
    ASSERT_TRUE(dc.SelectPixels(block.Block(), w, h, block.Stride(), &why)) << why;
    EXPECT_TRUE(dc.HasCallerPixels());
    dc.FillRectIndex({0, 0, 2, 1}, 9);
    // The top-left pixel is the first byte in memory of a top-down block, the first byte of
    // the last row of a bottom-up one.
    const size_t topLeft = GuardedPixels::kMargin + (bottomUp ? size_t(h - 1) * block.step : 0);
    EXPECT_EQ(block.bytes[topLeft], 9);
    EXPECT_EQ(block.bytes[topLeft + 1], 9);
    EXPECT_EQ(dc.GetPixelIndex(1, 0), 9);

    DrawEverything(dc, source);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(block.At(x, y), reference.Row(y)[x]) << x << "," << y;
    EXPECT_TRUE(block.GuardsIntact());
  }
}

// Two views of one buffer, bottom-up and top-down: a copy between them flips the picture,
// which needs every source row read before the rows it shares bytes with are written.
TEST_F(DrawTest, BlockTransferBetweenTwoViewsOfOneBufferReadsBeforeWriting) {
  const int w = 5, h = 6;
  GuardedPixels block(w, h, false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) block.At(x, y) = uint8_t(10 * y + x);
  TMemoryDC topDown, bottomUp;
  ASSERT_TRUE(topDown.SelectPixels(block.Block(), w, h, block.Stride()));
  ASSERT_TRUE(bottomUp.SelectPixels(block.Block(), w, h, -block.Stride()));
  ASSERT_TRUE(topDown.BitBlt(0, 0, w, h, bottomUp, 0, 0));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) EXPECT_EQ(block.At(x, y), 10 * (h - 1 - y) + x) << x << "," << y;
  EXPECT_TRUE(block.GuardsIntact());
}

TEST_F(DrawTest, CallerPixelsOfImpossibleSizesOrTooSmallBuffersAreRefused) {
  std::vector<uint8_t> buffer(64);
  const std::span<uint8_t> all = std::span(buffer).first(10 * 4);
  struct Case {
    const char* what;
    std::span<uint8_t> buffer;
    int width, height;
    ptrdiff_t stride;
  } cases[] = {
      {"no width", all, 0, 4, 10},
      {"negative height", all, 10, -1, 10},
      {"beyond any DIB", all, 100000, 1, 100000},
      {"stride shorter than a row", all, 10, 4, 9},
      {"stride shorter than a row, bottom-up", all, 10, 4, -9},
      {"zero stride", all, 10, 4, 0},
      {"most negative stride", all, 10, 4, PTRDIFF_MIN},
      {"huge stride", all, 10, 4, PTRDIFF_MAX},
      {"one byte short", all.first(39), 10, 4, 10},
      {"one byte short, bottom-up", all.first(39), 10, 4, -10},
      {"no buffer", {}, 1, 1, 1},
  };
  TBitmap bitmap(3, 3);
  for (const Case& c : cases) {
    TMemoryDC dc(bitmap);
    std::string why;
    EXPECT_FALSE(dc.SelectPixels(c.buffer, c.width, c.height, c.stride, &why)) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
    EXPECT_EQ(dc.GetBitmap(), &bitmap) << c.what;  // the target it had stays
    EXPECT_FALSE(dc.HasCallerPixels()) << c.what;
  }

  // The last row needs no padding after it; a bitmap or the stock one can follow the pixels.
  TMemoryDC dc(bitmap);
  ASSERT_TRUE(dc.SelectPixels(std::span(buffer).first(3 * 12 + 10), 10, 4, -12));
  EXPECT_EQ(bitmap.SelectedInto(), nullptr);
  dc.FillRectIndex({0, 0, 10, 4}, 7);
  EXPECT_EQ(buffer[0], 7);
  EXPECT_EQ(buffer[3 * 12 + 9], 7);
  EXPECT_EQ(buffer[10], 0);  // padding
  EXPECT_EQ(buffer[46], 0);  // past the span
  dc.RestoreBitmap();
  EXPECT_FALSE(dc.HasCallerPixels());
  EXPECT_EQ(dc.Target().width, 1);
  ASSERT_TRUE(dc.SelectPixels(all, 10, 4, 10));
  ASSERT_TRUE(dc.SelectObject(bitmap));
  EXPECT_FALSE(dc.HasCallerPixels());
  EXPECT_EQ(dc.Target().width, 3);
}

TEST_F(DrawTest, SaveDcRestoresObjectsColoursAndClip) {
  TBitmap bmp(10, 10);
  TMemoryDC dc(bmp);
  dc.SelectObject(TPen(TColor::LtRed));
  const int level = dc.SaveDC();
  dc.SelectObject(TPen(TColor::LtBlue));
  dc.SetTextColor(TColor::LtGreen);
  dc.IntersectClipRect({0, 0, 2, 2});
  dc.SaveDC();
  dc.SetBkMode(TRANSPARENT);
  ASSERT_TRUE(dc.RestoreDC(level));
  EXPECT_EQ(dc.GetPen(), TPen(TColor::LtRed));
  EXPECT_EQ(dc.GetTextColor(), TColor::Black);
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(dc.GetClipBox(), TRect(0, 0, 10, 10));
  EXPECT_FALSE(dc.RestoreDC(-1));  // nothing saved any more
}

TEST_F(DrawTest, StateSaversRestoreTheirLevelAndTheViewportOrigin) {
  TBitmap bmp(20, 20);
  TMemoryDC dc(bmp);
  dc.FillRect({0, 0, 20, 20}, TColor::White);
  dc.SelectObject(TPen(TColor::LtRed));
  dc.SetViewportOrg({2, 3});
  {
    TDCStateSaver outer(dc);
    dc.SelectObject(TPen(TColor::LtBlue));
    dc.SelectObject(TBrush(TColor::LtGreen));
    dc.IntersectClipRect({0, 0, 5, 5});
    dc.OffsetViewportOrg(4, 4);
    {
      TDCStateSaver inner(dc);
      dc.SetViewportOrg({10, 10});
      dc.SetTextColor(TColor::LtCyan);
      dc.IntersectClipRect({0, 0, 1, 1});
      dc.SaveDC();  // a level the drawing forgot to restore goes with the saver's
    }
    EXPECT_EQ(dc.GetViewportOrg(), TPoint(6, 7));
    EXPECT_EQ(dc.GetTextColor(), TColor::Black);
    EXPECT_EQ(dc.GetPen(), TPen(TColor::LtBlue));
    EXPECT_EQ(dc.GetClipBox(), TRect(-4, -4, 1, 1));
  }
  EXPECT_EQ(dc.GetViewportOrg(), TPoint(2, 3));
  EXPECT_EQ(dc.GetPen(), TPen(TColor::LtRed));
  EXPECT_EQ(dc.GetBrush(), TBrush(TColor::White));
  EXPECT_EQ(dc.GetClipBox(), TRect(-2, -3, 18, 17));
  EXPECT_FALSE(dc.RestoreDC(-1));
  // Drawing lands where the restored origin says.
  dc.SetPixel(0, 0, TColor::LtRed);
  EXPECT_EQ(Painted(dc, dc.MapColor(TColor::White)), (Pixels{{2, 3}}));
}

TEST_F(DrawTest, PixelsAnswerTheirPaletteColour) {
  TScreenDC dc;
  EXPECT_EQ(dc.SetPixel(5, 5, TColor(250, 2, 2)), TColor::LtRed);
  EXPECT_EQ(dc.GetPixel(5, 5), TColor::LtRed);
  EXPECT_EQ(dc.GetPixel(-1, 5), TColor(CLR_INVALID));
  dc.IntersectClipRect({0, 0, 5, 5});
  EXPECT_EQ(dc.SetPixel(5, 5, TColor::White), TColor(CLR_INVALID));
  EXPECT_EQ(dc.GetPixel(5, 5), TColor(CLR_INVALID));
}

TEST_F(DrawTest, GdiFlushPresentsWhatWasDrawnAtOnce) {
  Pump();
  const int before = backend->PresentCount();
  TScreenDC dc;
  dc.FillRect({10, 10, 30, 20}, TColor::LtRed);
  ASSERT_TRUE(GdiFlush());
  EXPECT_EQ(backend->PresentCount(), before + 1);
  EXPECT_EQ(backend->LastPresentedPixels(), 200);
  EXPECT_TRUE(TWindowSystem::Get().Screen().Surface().Dirty().empty());
  ASSERT_TRUE(GdiFlush());  // nothing new: nothing presented
  EXPECT_EQ(backend->PresentCount(), before + 1);
}

}  // namespace
}  // namespace quill::test

namespace quill::test {
namespace {

TEST_F(DrawTest, ViewportOriginMovesDrawingButNotTheClip) {
  TScreenDC dc;
  dc.IntersectClipRect({0, 0, 50, 50});
  EXPECT_EQ(dc.SetViewportOrg({40, 10}), TPoint(0, 0));
  dc.FillRect({0, 0, 20, 20}, TColor::LtRed);  // lands at [40, 60) x [10, 30), clipped at 50
  EXPECT_EQ(ScreenPixel(45, 15), IndexOf(TColor::LtRed));
  EXPECT_NE(ScreenPixel(55, 15), IndexOf(TColor::LtRed));
  EXPECT_NE(ScreenPixel(5, 5), IndexOf(TColor::LtRed));
  EXPECT_EQ(dc.GetClipBox(), TRect(-40, -10, 10, 40));  // the clip box is logical
  EXPECT_EQ(dc.OffsetViewportOrg(-40, -10), TPoint(40, 10));
  EXPECT_EQ(dc.GetViewportOrg(), TPoint(0, 0));
  dc.SetPixel(1, 1, TColor::LtBlue);
  EXPECT_EQ(ScreenPixel(1, 1), IndexOf(TColor::LtBlue));
}

}  // namespace
}  // namespace quill::test
