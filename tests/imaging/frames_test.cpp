// Outie frames, innie bezels, the picture border, the rim frame, tiling and icons: the pixels
// each draws, and what the metrics outside the layout they were made for do.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/pixels_fixture.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/imaging/frames.h"

namespace quill::test {
namespace {

constexpr const char* kColors =
    "[Colors]\nOUTIE_HIGHLIGHT1=255 0 0\nOUTIE_SHADOW1=0 255 0\nOUTIE_HIGHLIGHT2=0 0 255\n"
    "OUTIE_SHADOW2=255 255 0\nINNIE_LEFT=255 0 255\nINNIE_TOP=0 255 255\nINNIE_RIGHT=128 0 0\n"
    "INNIE_BOTTOM=0 128 0\n";

// A white 8-bit canvas to draw on.
struct Canvas {
  explicit Canvas(int w = 60, int h = 60) : bitmap(w, h), dc(bitmap) {
    dc.FillRect(TRect(0, 0, w, h), TColor::White);
  }
  int At(int x, int y) const { return bitmap.Row(y)[x]; }
  uint8_t Of(int color) const { return dc.MapColor(GetAppColor(color).PaletteRelative()); }
  bool SameAs(const Canvas& o) const {
    for (int y = 0; y < bitmap.Height(); ++y)
      if (std::memcmp(bitmap.Row(y), o.bitmap.Row(y), size_t(bitmap.Width())) != 0) return false;
    return true;
  }
  // Pixels that are not white.
  int Painted() const {
    int n = 0;
    const uint8_t white = dc.MapColor(TColor::White);
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) n += bitmap.Row(y)[x] != white;
    return n;
  }
  TBitmap bitmap;
  TMemoryDC dc;
};

class FramesTest : public PixelsTest {};

TEST_F(FramesTest, OutieFrameRingsLieOneAndTwoPixelsOutside) {
  WriteSettings(kColors);
  Canvas c;
  DrawOutieFrame(c.dc, 10, 10, 20, 20);
  // Inner highlight: row 9 from x 10 to 20 and column 9 from y 9 to 19.
  for (int x = 10; x <= 20; ++x) EXPECT_EQ(c.At(x, 9), c.Of(OUTIE_HIGHLIGHT1)) << x;
  for (int y = 9; y <= 19; ++y) EXPECT_EQ(c.At(9, y), c.Of(OUTIE_HIGHLIGHT1)) << y;
  // Inner shadow: row 20 from x 9 to 19 and column 20 from y 10 to 20.
  for (int x = 9; x <= 19; ++x) EXPECT_EQ(c.At(x, 20), c.Of(OUTIE_SHADOW1)) << x;
  for (int y = 10; y <= 20; ++y) EXPECT_EQ(c.At(20, y), c.Of(OUTIE_SHADOW1)) << y;
  // Outer ring.
  EXPECT_EQ(c.At(15, 8), c.Of(OUTIE_HIGHLIGHT2));
  EXPECT_EQ(c.At(8, 15), c.Of(OUTIE_HIGHLIGHT2));
  EXPECT_EQ(c.At(15, 21), c.Of(OUTIE_SHADOW2));
  EXPECT_EQ(c.At(21, 15), c.Of(OUTIE_SHADOW2));
  EXPECT_EQ(c.Painted(), 4 * 11 + 4 * 13);
  EXPECT_EQ(c.At(15, 15), c.dc.MapColor(TColor::White));

  // The rectangle and window forms draw the same.
  Canvas r, w;
  DrawOutieFrame(r.dc, TRect(10, 10, 20, 20));
  TWindow window(nullptr);
  window.Attr.X = 10, window.Attr.Y = 10, window.Attr.W = 10, window.Attr.H = 10;
  DrawOutieFrame(w.dc, &window);
  EXPECT_TRUE(c.SameAs(r));
  EXPECT_TRUE(c.SameAs(w));
}

TEST_F(FramesTest, OutieMetricZeroDrawsNothingAndOtherValuesAreReported) {
  WriteSettings(std::string(kColors) + "[Metrics]\nPANE_OUTIE_BEZEL=0\n");
  Canvas c;
  DrawOutieFrame(c.dc, 10, 10, 20, 20);
  EXPECT_EQ(c.Painted(), 0);
  EXPECT_TRUE(reports.empty());
  WriteSettings(std::string(kColors) + "[Metrics]\nPANE_OUTIE_BEZEL=3\n");
  DrawOutieFrame(c.dc, 10, 10, 20, 20);
  EXPECT_EQ(c.Painted(), 0);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].message, "Assert Failed");
  EXPECT_EQ(reports[0].caption, "GetAppMetric( eMETRIC_PANE_OUTIE_BEZEL ) == 2");
  EXPECT_EQ(reports[0].source, "DRAWFRMS");
  EXPECT_EQ(reports[0].line, 72);
}

TEST_F(FramesTest, AllInDrawsTheInnieBezelInstead) {
  WriteSettings(std::string(kColors) + "[Presentation]\nAllIn=1\n");
  Canvas outie, innie;
  DrawOutieFrame(outie.dc, 12, 12, 30, 25);
  DrawInnieBezel(innie.dc, 12, 12, 30, 25);
  EXPECT_GT(innie.Painted(), 0);
  EXPECT_TRUE(outie.SameAs(innie));
}

TEST_F(FramesTest, InnieBezelDrawsABlackLineAndRingsForSaneWidthsOnly) {
  const struct {
    int bezel;
    int painted;  // pixels drawn around (20, 20, 30, 30)
    bool reported;
  } cases[] = {{0, 0, false},     {1, 44, false}, {4, 44 + 52 + 60 + 68, false},
               {16, -1, false},   {17, 0, true},  {-1, 0, true},
               {1000000, 0, true}};
  for (const auto& k : cases) {
    WriteSettings(std::string(kColors) + "[Metrics]\nPANE_INNIE_BEZEL=" + std::to_string(k.bezel) +
                  "\n");
    reports.clear();
    Canvas c(80, 80);
    DrawInnieBezel(c.dc, 20, 20, 30, 30);
    if (k.painted >= 0) {
      EXPECT_EQ(c.Painted(), k.painted) << k.bezel;
    }
    if (k.bezel == 16) {
      EXPECT_EQ(c.At(20 - 16, 25), c.Of(INNIE_LEFT));
    }
    EXPECT_EQ(!reports.empty(), k.reported) << k.bezel;
    if (k.reported) {
      EXPECT_EQ(reports[0].message, "Assert Failed");
      EXPECT_EQ(reports[0].caption, "GetAppMetric( eMETRIC_PANE_INNIE_BEZEL ) == 4");
      EXPECT_EQ(reports[0].source, "DRAWFRMS");
      EXPECT_EQ(reports[0].flag, eREPORT_LOG);
    }
  }
  // The default of 4: the black line next to the rectangle, the coloured rings beyond.
  WriteSettings(kColors);
  Canvas c;
  DrawInnieBezel(c.dc, 20, 20, 30, 30);
  const uint8_t black = c.dc.MapColor(TColor::Black);
  EXPECT_EQ(c.At(19, 25), black);
  EXPECT_EQ(c.At(30, 25), black);
  EXPECT_EQ(c.At(25, 19), black);
  EXPECT_EQ(c.At(25, 30), black);
  EXPECT_EQ(c.At(18, 25), c.Of(INNIE_LEFT));
  EXPECT_EQ(c.At(25, 18), c.Of(INNIE_TOP));
  EXPECT_EQ(c.At(31, 25), c.Of(INNIE_RIGHT));
  EXPECT_EQ(c.At(25, 31), c.Of(INNIE_BOTTOM));
  EXPECT_EQ(c.At(16, 25), c.Of(INNIE_LEFT));
  EXPECT_EQ(c.At(15, 25), c.dc.MapColor(TColor::White));
}

TEST_F(FramesTest, PictureBorderIsAGrooveAndOnlyFourPixelsWide) {
  WriteSettings(kColors);
  Canvas c;
  TRect r(20, 20, 40, 40);
  DrawPictureBorder(c.dc, r);
  EXPECT_EQ(r, TRect(19, 19, 41, 40));
  const uint8_t dark = c.dc.MapColor(GetAppColor(INNIE_LEFT));
  const uint8_t light = c.dc.MapColor(GetAppColor(INNIE_BOTTOM));
  // Left side from the inside out: dark, dark, light, light; right side the other way round.
  EXPECT_EQ(c.At(19, 30), dark);
  EXPECT_EQ(c.At(18, 30), dark);
  EXPECT_EQ(c.At(17, 30), light);
  EXPECT_EQ(c.At(16, 30), light);
  EXPECT_EQ(c.At(40, 30), light);
  EXPECT_EQ(c.At(41, 30), light);
  EXPECT_EQ(c.At(42, 30), dark);
  EXPECT_EQ(c.At(43, 30), dark);
  EXPECT_EQ(c.At(30, 19), dark);
  EXPECT_EQ(c.At(30, 16), light);

  WriteSettings(std::string(kColors) + "[Metrics]\nPICTURE_BORDER=3\n");
  Canvas d;
  TRect same(20, 20, 40, 40);
  DrawPictureBorder(d.dc, same);
  EXPECT_EQ(same, TRect(20, 20, 40, 40));
  EXPECT_EQ(d.Painted(), 0);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].message, "Assert Failed");
  EXPECT_EQ(reports[0].caption, "GetAppMetric( eMETRIC_PICTURE_BORDER ) == 4");
  EXPECT_EQ(reports[0].source, "DRAWFRMS");
}

TEST_F(FramesTest, OutieFrameInRimUsesTheWindowsOuterPixels) {
  WriteSettings(kColors);
  TWindow window(nullptr);
  window.Attr.W = 30, window.Attr.H = 20;
  window.Attr.Style = WS_POPUP | WS_VISIBLE;
  ASSERT_TRUE(window.Create());
  Canvas c;
  DrawOutieFrameInRim(c.dc, &window);
  EXPECT_EQ(c.At(10, 1), c.Of(OUTIE_HIGHLIGHT1));
  EXPECT_EQ(c.At(10, 0), c.Of(OUTIE_HIGHLIGHT2));
  EXPECT_EQ(c.At(10, 18), c.Of(OUTIE_SHADOW1));
  EXPECT_EQ(c.At(10, 19), c.Of(OUTIE_SHADOW2));
  EXPECT_EQ(c.At(29, 10), c.Of(OUTIE_SHADOW2));
  EXPECT_EQ(c.At(30, 10), c.dc.MapColor(TColor::White));
}

TEST_F(FramesTest, TileBltCutsTheLastCopiesAndRefusesAnEmptyPicture) {
  // A 16 x 16 picture into (0, 0, 40, 20): three across (16, 16, 8) in two rows (16, 4).
  const auto tile = Pattern(16, 16);
  Canvas c;
  EXPECT_TRUE(TileBlt(c.dc, TRect(0, 0, 40, 20), *tile));
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const uint8_t want =
          x < 40 && y < 20
              ? c.dc.MapColor(
                    TColor(tile->GetColor(PatternIndex(x % 16, y % 16))).PaletteRelative())
              : c.dc.MapColor(TColor::White);
      ASSERT_EQ(c.At(x, y), want) << x << "," << y;
    }
  // A source rectangle picks the corner the blocks are copied from.
  Canvas s;
  const TRect from(4, 2, 16, 16);
  EXPECT_TRUE(TileBlt(s.dc, TRect(0, 0, 8, 8), *tile, &from));
  EXPECT_EQ(s.At(0, 0), c.At(4, 2));

  Canvas e;
  EXPECT_FALSE(TileBlt(e.dc, TRect(0, 0, 40, 20), TDib()));
  EXPECT_EQ(e.Painted(), 0);
}

TEST_F(FramesTest, MaskedIconIsCentredInItsRectangle) {
  auto strip = Pattern(32, 32);
  ZIcon icon;
  ASSERT_TRUE(icon.SetImage(ZIcon::eLARGE, *strip, nullptr));
  Canvas c;
  TRect r(0, 0, 41, 41);
  DrawMaskedIcon(c.dc, r, ZIcon::eNORMAL, ZIcon::eLARGE, icon);
  const auto color = [&](int x, int y) {
    return c.dc.MapColor(TColor(strip->GetColor(PatternIndex(x, y))).PaletteRelative());
  };
  EXPECT_EQ(c.At(4, 4), color(0, 0));
  EXPECT_EQ(c.At(35, 35), color(31, 31));
  EXPECT_EQ(c.At(3, 3), c.dc.MapColor(TColor::White));
  EXPECT_EQ(c.At(36, 36), c.dc.MapColor(TColor::White));
  // A size class the icon lacks draws nothing.
  Canvas none;
  DrawMaskedIcon(none.dc, r, ZIcon::eNORMAL, ZIcon::eSMALL, icon);
  EXPECT_EQ(none.Painted(), 0);
}

}  // namespace
}  // namespace quill::test
