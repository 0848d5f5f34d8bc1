// Drop shadows: the levels and rectangles, the one-pass painting against the level-by-level
// reference, the shadowed window's notifications and the tableau's shadows.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/pixels_fixture.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/region.h"
#include "quillui/imaging/background.h"
#include "quillui/imaging/shadowed_window.h"

namespace quill::test {
namespace {

class ShadowTest : public PixelsTest {};

TEST_F(ShadowTest, DefaultLevelsShrinkTheShadowFromItsEdges) {
  EXPECT_EQ(ShadowLevels(10, 4), (std::vector<int>{9, 7, 5, 3, 1}));
  const TRect child(20, 20, 120, 70);
  const struct {
    int level;
    TRect rect;
  } cases[] = {{9, {31, 31, 129, 79}},
               {7, {33, 33, 127, 77}},
               {5, {35, 35, 125, 75}},
               {3, {37, 37, 123, 73}},
               {1, {39, 39, 121, 71}}};
  for (const auto& c : cases) EXPECT_EQ(ShadowRect(child, {10, 10}, c.level, 10), c.rect);
}

TEST_F(ShadowTest, EveryShadeCountEndsItsLevelLoop) {
  EXPECT_EQ(ShadowLevels(5, 4), (std::vector<int>{4, 3, 2, 1, 0}));
  // Fewer shades than the divisor still step by one.
  EXPECT_EQ(ShadowLevels(3, 4), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(ShadowLevels(1, 4), (std::vector<int>{0}));
  EXPECT_EQ(ShadowLevels(8, 0), (std::vector<int>{7}));
  EXPECT_TRUE(ShadowLevels(0, 4).empty());
}

TEST_F(ShadowTest, ShadesScaleEachComponentAndHoldAtWhite) {
  const TRgbQuad in[2] = {{200, 100, 50, 7}, {255, 255, 255, 0}};
  TRgbQuad out[2];
  ShadeColors(in, 2, 50, out);
  EXPECT_EQ(out[0], (TRgbQuad{100, 50, 25, 7}));
  ShadeColors(in, 2, 90, out);
  EXPECT_EQ(out[0], (TRgbQuad{180, 90, 45, 7}));
  ShadeColors(in, 2, 150, out);  // brighter than the picture: held at 255 per component
  EXPECT_EQ(out[0], (TRgbQuad{255, 150, 75, 7}));
  EXPECT_EQ(out[1], (TRgbQuad{255, 255, 255, 0}));
}

// A memory target with the picture's palette selected, as a shadow window paints.
struct Target {
  Target(int w, int h, TPalette* palette) : bitmap(w, h), dc(bitmap) {
    dc.SelectPalette(palette, true);
    dc.RealizePalette();
  }
  bool SameAs(const Target& o, int* firstDiff = nullptr) const {
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        if (bitmap.Row(y)[x] != o.bitmap.Row(y)[x]) {
          if (firstDiff) *firstDiff = y * 10000 + x;
          return false;
        }
    return true;
  }
  TBitmap bitmap;
  TMemoryDC dc;
};

std::unique_ptr<TPalette> PaletteOf(const TDib& dib) {
  std::vector<TPaletteEntry> e;
  for (int i = 0; i < dib.NumColors(); ++i) {
    const TRgbQuad q = dib.GetColor(i);
    e.push_back({q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
  }
  return std::make_unique<TPalette>(e.data(), int(e.size()));
}

TEST_F(ShadowTest, OnePassPaintsExactlyWhatTheLevelsPaint) {
  const auto picture = Pattern(420, 260, 3);
  const auto palette = PaletteOf(*picture);
  ZShadowScene scene;
  scene.background = picture.get();
  scene.origin = {10, 5};
  scene.client = TRect(0, 0, 400, 250);
  // Overlapping children, one at the edge and one past it.
  scene.children = {{20, 20, 120, 70},
                    {100, 50, 200, 150},
                    {110, 60, 150, 90},
                    {300, 200, 420, 260},
                    {-30, 180, 40, 240}};
  ZShadowSpec five;
  five.shades = {10, 30, 50, 70, 90};
  ZShadowSpec bright;
  bright.shades = {120, 60};
  bright.offset = {7, 4};
  const ZShadowSpec specs[] = {ZShadowSpec(), five, bright};
  const TRect paints[] = {scene.client, TRect(0, 0, 60, 60), TRect(125, 70, 300, 210)};
  for (const ZShadowSpec& spec : specs) {
    for (const TRect& paint : paints) {
      for (bool clipped : {false, true}) {
        scene.paint = paint;
        Target reference(400, 250, palette.get()), fast(400, 250, palette.get());
        if (clipped) {
          TRegion clip(TRect(50, 40, 260, 180));
          clip.Union(TRect(0, 200, 30, 250));
          reference.dc.SelectClipRgn(clip);
          fast.dc.SelectClipRgn(clip);
        }
        PaintShadowsByLevels(reference.dc, scene, spec);
        PaintShadows(fast.dc, scene, spec);
        int diff = -1;
        EXPECT_TRUE(reference.SameAs(fast, &diff))
            << "shades " << spec.shades.size() << " paint " << paint.left << "," << paint.top
            << " clipped " << clipped << " first difference at y*10000+x = " << diff;
      }
    }
  }
}

TEST_F(ShadowTest, TheDeepestLevelIsTheDarkestAndTheChildsOwnAreaIsPictureToo) {
  // A one-colour picture shows the levels directly.
  TDib grey(200, 150, 8, 256);
  grey.SetColor(0, TColor(200, 200, 200));
  const auto palette = PaletteOf(grey);
  ZShadowScene scene{
      &grey, {0, 0}, TRect(0, 0, 200, 150), {{20, 20, 120, 70}}, TRect(0, 0, 200, 150)};
  Target t(200, 150, palette.get());
  PaintShadows(t.dc, scene, ZShadowSpec());
  const auto at = [&](int x, int y) { return t.dc.IndexColor(t.bitmap.Row(y)[x]); };
  EXPECT_EQ(at(5, 5), TColor(200, 200, 200));
  EXPECT_EQ(at(31, 31), t.dc.GetNearestColor(TColor(180, 180, 180).PaletteRelative()));  // 90 %
  EXPECT_EQ(at(60, 60), t.dc.GetNearestColor(TColor(20, 20, 20).PaletteRelative()));     // 10 %
  EXPECT_EQ(at(128, 40), at(31, 31));
  EXPECT_EQ(at(129, 40), TColor(200, 200, 200));
}

// A child that counts nothing; it only has to be a ZShadowedWindow.
class Pane : public ZShadowedWindow {
 public:
  Pane(TWindow* parent, TRect r) : ZShadowedWindow(parent) {
    Attr.X = r.left, Attr.Y = r.top, Attr.W = r.Width(), Attr.H = r.Height();
  }
};

class Container : public ZShadowChildrenWindow {
 public:
  Container() : ZShadowChildrenWindow(nullptr) {
    Attr.Style = (Attr.Style & ~WS_CHILD) | WS_POPUP | WS_VISIBLE;
    Attr.W = 300, Attr.H = 200;
  }
  void EvParentNotify(UINT event, UINT childId, HWND child) override {
    notes.push_back(int(event | (childId << 16)));
    ZShadowChildrenWindow::EvParentNotify(event, childId, child);
  }
  std::vector<int> notes;
};

TEST_F(ShadowTest, TheWindowKeepsItsShadesScalesItsPictureAndHearsItsChildrenMove) {
  Container window;
  EXPECT_EQ(window.GetShadowSpec().shades.size(), 10u);
  EXPECT_NE(window.GetStyle() & WS_CLIPCHILDREN, 0u);
  const unsigned char five[] = {10, 30, 50, 70, 90};
  window.SetShades(five, 5);
  EXPECT_EQ(window.ShadowLevels(), (std::vector<int>{4, 3, 2, 1, 0}));
  window.SetShades(five, 0);
  EXPECT_EQ(window.GetShadowSpec().shades.size(), 5u);

  auto* pane = new Pane(&window, {20, 20, 120, 70});
  auto* hidden = new Pane(&window, {150, 20, 250, 70});
  hidden->Attr.Style &= ~WS_VISIBLE;
  ASSERT_TRUE(window.Create());
  EXPECT_EQ(window.ChildRects(), (std::vector<TRect>{{20, 20, 120, 70}}));

  window.SetBackground(*Pattern(100, 50));
  ASSERT_NE(window.GetBackground(), nullptr);
  EXPECT_EQ(window.GetBackground()->Width(), 300);
  EXPECT_EQ(window.GetBackground()->Height(), 200);
  Pump();

  window.notes.clear();
  pane->MoveWindow(40, 30, 100, 50, true);
  EXPECT_EQ(window.notes, (std::vector<int>{5, 0x10005}));
  Pump();
  // Sizing to nothing keeps the picture as it is.
  window.MoveWindow(0, 0, 0, 0);
  EXPECT_EQ(window.GetBackground()->Width(), 300);
}

TEST_F(ShadowTest, TableauShadowsDarkenItsColourWithoutAPicture) {
  TWindow tableau(nullptr);
  tableau.Attr.Style = WS_POPUP | WS_VISIBLE;
  tableau.Attr.W = 300, tableau.Attr.H = 200;
  ASSERT_TRUE(tableau.Create());
  TBitmap bitmap(300, 200);
  TMemoryDC dc(bitmap);
  const TColor fill(100, 160, 220);
  PaintDropShadows(dc, tableau, {{20, 20, 120, 70}}, TRect(0, 0, 300, 200), fill);
  EXPECT_EQ(dc.IndexColor(bitmap.Row(5)[5]), dc.GetNearestColor(fill.PaletteRelative()));
  EXPECT_EQ(dc.IndexColor(bitmap.Row(60)[60]),
            dc.GetNearestColor(TColor(10, 16, 22).PaletteRelative()));

  // With DibShadows and a background, the background under the tableau is what is shaded.
  WriteSettings("[View]\nDibShadows=1\n");
  TDib* none = nullptr;
  GetWindowBackgroundDib(none);
  TDib grey(800, 600, 8, 256);
  grey.SetColor(0, TColor(200, 100, 50));
  SetAppBackground(std::make_unique<TDib>(grey));
  PaintDropShadows(dc, tableau, {{20, 20, 120, 70}}, TRect(0, 0, 300, 200), fill);
  EXPECT_EQ(dc.IndexColor(bitmap.Row(5)[5]),
            dc.GetNearestColor(TColor(200, 100, 50).PaletteRelative()));
  EXPECT_EQ(dc.IndexColor(bitmap.Row(60)[60]),
            dc.GetNearestColor(TColor(20, 10, 5).PaletteRelative()));
}

}  // namespace
}  // namespace quill::test
