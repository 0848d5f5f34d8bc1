// Drop shadows: the levels and rectangles, the one-pass painting against the level-by-level
// reference, the shadowed window's notifications and the tableau's shadows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "imaging/pixels_fixture.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/art_dir.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/region.h"
#include "quillui/imaging/background.h"
#include "quillui/imaging/frames.h"
#include "quillui/imaging/shadow_layer.h"
#include "quillui/imaging/shadowed_window.h"
#include "quillui/imaging/statics.h"

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

// A kept layer against shading afresh, step after step. Every step changes the fresh picture
// (so a layer that missed the change would show it) and is painted twice, the second time
// from what was kept; an unchanged repaint keeps what was made; a repaint in two parts fills
// the kept region part by part; pixels beyond the picture are left alone.
TEST_F(ShadowTest, AKeptLayerPaintsWhatShadingAfreshPaintsThroughEveryChange) {
  auto picture = Pattern(380, 240, 5);
  const auto palette = PaletteOf(*picture);
  // Another palette, a ramp from dark red to light green, to select in its place.
  std::vector<TPaletteEntry> ramp;
  for (int i = 0; i < 236; ++i) ramp.push_back({uint8_t(40 + i / 2), uint8_t(i), 20, 0});
  TPalette other(ramp.data(), int(ramp.size()));
  TPalette* selected = palette.get();
  ZShadowScene scene;
  scene.background = picture.get();
  scene.origin = {-10, 4};  // the picture leaves the client's ten left columns alone
  scene.client = TRect(0, 0, 400, 250);
  scene.children = {{20, 20, 120, 70}, {200, 100, 330, 200}};
  scene.paint = scene.client;
  const ZShadowSpec spec;
  ZShadowLayer layer;
  Target kept(400, 250, palette.get());
  std::vector<uint8_t> previous;
  const auto pixels = [](const Target& t) {
    std::vector<uint8_t> out;
    for (int y = 0; y < t.bitmap.Height(); ++y)
      out.insert(out.end(), t.bitmap.Row(y), t.bitmap.Row(y) + t.bitmap.Width());
    return out;
  };
  // Paints the kept target through the layer (in the given parts, or whole) and compares it
  // with a fresh target shaded directly.
  const auto step = [&](const char* what, std::vector<TRect> parts = {}) {
    Target fresh(400, 250, selected);
    PaintShadows(fresh.dc, scene, spec);
    const std::vector<uint8_t> expected = pixels(fresh);
    EXPECT_NE(expected, previous) << what << ": the step changes nothing";
    previous = expected;
    if (parts.empty()) parts.push_back(scene.client);
    for (const TRect& part : parts) {
      kept.dc.SelectClipRgn(TRegion(part));
      layer.Paint(kept.dc, scene, spec);
    }
    kept.dc.SelectClipRgn(nullptr);
    EXPECT_EQ(pixels(kept), expected) << what;
    kept.dc.FillRect(scene.client, TColor::Black);
    layer.Paint(kept.dc, scene, spec);
    EXPECT_EQ(pixels(kept), expected) << what << ", painted again";
    const TRect picture(-scene.origin.x, -scene.origin.y, 380 - scene.origin.x,
                        240 - scene.origin.y);
    const TRect covered = picture & scene.client;
    EXPECT_EQ(layer.Kept().Area(), covered.Width() * covered.Height()) << what;
  };

  step("first paint");
  const TRegion before = layer.Kept();
  layer.Paint(kept.dc, scene, spec);
  EXPECT_EQ(pixels(kept), previous);
  EXPECT_EQ(layer.Kept().Rects(), before.Rects()) << "an unchanged repaint shaded again";
  scene.children[0] = {40, 30, 140, 80};
  step("a child moved", {TRect(0, 0, 150, 250), TRect(150, 0, 400, 250)});
  picture->SetPixelIndex(100, 100, 0);
  step("a pixel of the picture written");
  picture->SetColor(PatternIndex(150, 60, 5), TColor(1, 2, 3));
  step("a colour of the picture changed");
  selected = &other;
  kept.dc.SelectPalette(selected, true);
  step("another palette selected");
  *picture = *Pattern(380, 240, 9);
  step("another picture in its place");
  scene.origin = {-14, 6};
  kept.dc.FillRect(scene.client, TColor::Black);  // what the picture leaves is not painted
  step("the picture moved");
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

// --- The imaging scene: the picture docs/imaging.png is made from ------------------------------

namespace quill::test {
namespace {

// A pane of the scene: the holder colour inside an outie rim, and whatever draw adds.
class ScenePane : public ZShadowedWindow {
 public:
  ScenePane(TWindow* parent, TRect r, std::function<void(TDC&, TRect)> draw = {})
      : ZShadowedWindow(parent), draw_(std::move(draw)) {
    Attr.X = r.left, Attr.Y = r.top, Attr.W = r.Width(), Attr.H = r.Height();
    Attr.Style |= WS_CLIPCHILDREN;
  }
  void Paint(TDC& dc, bool, TRect&) override {
    TPalette* previous = dc.SelectPalette(GetAppPalette(), false);
    dc.RealizePalette();
    dc.FillRect(GetClientRect(), GetAppColor(HOLDER_BACKGROUND));
    DrawOutieFrameInRim(dc, this);
    if (draw_) draw_(dc, GetClientRect());
    dc.SelectPalette(previous, false);
  }

 private:
  std::function<void(TDC&, TRect)> draw_;
};

class SceneWindow : public ZShadowChildrenWindow {
 public:
  SceneWindow() : ZShadowChildrenWindow(nullptr) {
    Attr.Style = (Attr.Style & ~WS_CHILD) | WS_POPUP | WS_VISIBLE;
    Attr.W = 800, Attr.H = 600;
  }
};

// A 32 x 32 closed book on the holder colour, drawn as the icon store's pictures are.
std::unique_ptr<TDib> BookIcon(TColor cover) {
  auto dib = std::make_unique<TDib>(32, 32, 24);
  const TColor back = GetAppColor(HOLDER_BACKGROUND).Rgb();
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      TColor c = back;
      if (x >= 7 && x < 26 && y >= 4 && y < 28) c = cover;                     // the cover
      if (x >= 24 && x < 27 && y >= 6 && y < 28) c = TColor(255, 251, 240);    // the pages
      if (x >= 7 && x < 9 && y >= 4 && y < 28) c = TColor(64, 0, 0);           // the spine
      if (x >= 12 && x < 22 && (y == 10 || y == 12)) c = TColor(255, 204, 0);  // the title
      dib->SetPixelColor(x, y, c);
    }
  return dib;
}

TEST_F(ShadowTest, TheImagingSceneOnTheApplicationBackground) {
  UseScreen(800, 600);
  SetArtDir(QUILL_ART_DIR);
  DibResult background = ReadBmpFile(FindArtFile("background800.bmp"));
  ASSERT_NE(background.dib, nullptr) << background.error;
  DibResult title = ReadBmpFile(FindArtFile("title.bmp"));
  DibResult label = ReadBmpFile(FindArtFile("label.bmp"));
  DibResult tile = ReadBmpFile(FindArtFile("backtile.bmp"));
  ASSERT_TRUE(title.dib && label.dib && tile.dib);
  ASSERT_NE(GetAppPalette(), nullptr);

  // The host's frame realises the application palette in the foreground at start-up; the
  // scene's own palette then finds its colours already in place.
  TScreenDC screenDC;
  screenDC.SelectPalette(GetAppPalette(), false);
  screenDC.RealizePalette();

  SceneWindow scene;
  const int L = 40, R = 760, M = 400;
  // 1: the title line, a label and plain text.
  auto* heading = new ScenePane(&scene, {L, 36, M - 20, 150});
  auto* titleStatic = new ZTitleStatic(heading, 1, "World Atlas", 0, 10, 10, M - 20 - L - 20, 0);
  titleStatic->Attr.H = 30;
  titleStatic->SetBkgndDib(title.dib.release());
  auto* labelStatic = new ZLabelStatic(heading, 2, "Plate XII: the northern hemisphere", 0, 10, 50,
                                       M - 20 - L - 20, 0);
  labelStatic->Attr.H = 20;
  labelStatic->SetBkgndDib(label.dib.release());
  new ZStatic(heading, 3, "Statics: a title line, a label and plain text.", 0, 10, 80,
              M - 20 - L - 20, 22);
  // 2: a picture in an innie bezel.
  const auto picture = std::make_shared<TDib>(*background.dib);
  new ScenePane(&scene, {M + 20, 36, R, 300}, [picture](TDC& dc, TRect r) {
    const TRect inner(r.left + 14, r.top + 14, r.right - 14, r.bottom - 14);
    dc.SetDIBitsToDevice(inner.left, inner.top, inner.Width(), inner.Height(), 420,
                         picture->Height() - 60 - inner.Height(), 0, picture->Height(), *picture);
    DrawInnieBezel(dc, inner);
  });
  // 3: a tiled picture in a picture border.
  const auto lattice = std::shared_ptr<TDib>(std::move(tile.dib));
  new ScenePane(&scene, {L, 190, M - 20, 420}, [lattice](TDC& dc, TRect r) {
    TRect inner(r.left + 16, r.top + 16, r.right - 16, r.bottom - 16);
    TileBlt(dc, inner, *lattice);
    DrawPictureBorder(dc, inner);
  });
  // 4: masked icons in their three states, centred in their cells.
  auto icon = std::make_shared<ZIcon>();
  auto normal = BookIcon(TColor(128, 0, 0)), hilite = BookIcon(TColor(204, 51, 0)),
       disabled = BookIcon(TColor(160, 160, 164));
  TDib strip(96, 32, 24);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      strip.SetPixelColor(x, y, normal->GetPixelColor(x, y));
      strip.SetPixelColor(32 + x, y, hilite->GetPixelColor(x, y));
      strip.SetPixelColor(64 + x, y, disabled->GetPixelColor(x, y));
    }
  ASSERT_TRUE(icon->SetImage(ZIcon::eLARGE, strip, nullptr));
  new ScenePane(&scene, {M + 20, 340, R, 420}, [icon](TDC& dc, TRect r) {
    const int cell = (r.Width() - 20) / 3;
    for (int s = 0; s < 3; ++s) {
      TRect at(r.left + 10 + s * cell, r.top + 8, r.left + 10 + (s + 1) * cell, r.bottom - 8);
      DrawMaskedIcon(dc, at, s, ZIcon::eLARGE, *icon);
    }
  });
  // 5: a wide pane along the foot.
  auto* foot = new ScenePane(&scene, {L, 460, R, 556});
  new ZStatic(foot, 4, "Five panes cast their shadows on the atlas background.", SS_CENTER, 10, 36,
              R - L - 20, 24);

  ASSERT_TRUE(scene.Create());
  scene.SetBackground(*background.dib, GetAppPalette());
  Pump();

  // Each pane's shadow is the background darkened: darkest in the shadow's middle.
  const TRect shadow = ShadowRect(TRect(L, 460, R, 556), {10, 10}, 1, 10);
  EXPECT_NE(ScreenPixel(shadow.right - 2, 560), ScreenPixel(shadow.right + 8, 560));
  EXPECT_EQ(scene.ChildRects().size(), 5u);

  if (const char* out = std::getenv("QUILL_IMAGING_SCREENSHOT")) {
    std::string error;
    ASSERT_TRUE(TWindowSystem::Get().Screen().SaveScreenshot(out, &error)) << error;
  }
  SetArtDir("");
}

}  // namespace
}  // namespace quill::test
