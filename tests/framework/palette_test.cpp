// Logical palettes on the palette screen: realisation into the system palette (static colours,
// collapsing and PC_NOCOLLAPSE, foreground and background), lookups, device facts, and the
// way a palette change reaches the presenter.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window_dc.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

class PaletteTest : public HeadlessTest {
 protected:
  TScreen& Screen() { return TWindowSystem::Get().Screen(); }
  TPaletteEntry System(int i) { return Screen().GetSystemPaletteEntry(i); }
  static bool SameRgb(const TPaletteEntry& a, const TPaletteEntry& b) {
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
  }
};

// Colours no static entry has, all different (the red channel tells them apart).
TPaletteEntry Distinct(int i, uint8_t flags = 0) {
  return {uint8_t(i), uint8_t(37 + i * 3), uint8_t(201 - i / 2), flags};
}

TEST_F(PaletteTest, ScreenIsAPaletteDevice) {
  TScreenDC dc;
  EXPECT_TRUE(dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE);
  EXPECT_EQ(dc.GetDeviceCaps(NUMRESERVED), 20);
  EXPECT_EQ(dc.GetDeviceCaps(SIZEPALETTE), 256);
  EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 8);
  EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 800);
  EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 600);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
  std::array<TPaletteEntry, 256> entries{};
  ASSERT_EQ(dc.GetSystemPaletteEntries(0, 256, entries.data()), 256);
  EXPECT_EQ(TColor(entries[0]), TColor::Black);
  EXPECT_EQ(TColor(entries[255]), TColor::White);
  EXPECT_EQ(dc.GetSystemPaletteEntries(250, 10, entries.data()), 6);
}

// The application palette's set-up: static colours copied into both ends, the image's colours
// flagged PC_NOCOLLAPSE in between, the system palette flushed with a black palette first.
TEST_F(PaletteTest, IdentityPaletteRealisesOntoItsOwnSlots) {
  TScreenDC dc;
  std::array<TPaletteEntry, 256> system{};
  dc.GetSystemPaletteEntries(0, 256, system.data());
  const int half = dc.GetDeviceCaps(NUMRESERVED) / 2;
  std::vector<TPaletteEntry> app(256);
  for (int i = 0; i < 256; ++i) {
    if (i < half || i >= 256 - half)
      app[size_t(i)] = {system[size_t(i)].peRed, system[size_t(i)].peGreen,
                        system[size_t(i)].peBlue, 0};
    else
      app[size_t(i)] = Distinct(i, PC_NOCOLLAPSE);
  }
  TPalette palette(app.data(), 256);
  {
    std::vector<TPaletteEntry> black(256, TPaletteEntry{0, 0, 0, PC_NOCOLLAPSE});
    TPalette flush(black.data(), 256);
    dc.SelectPalette(&flush);
    EXPECT_EQ(dc.RealizePalette(), 236);
    dc.RestorePalette();
  }
  for (int i = 10; i < 246; ++i) ASSERT_EQ(TColor(System(i)), TColor::Black) << i;

  dc.SelectPalette(&palette);
  EXPECT_EQ(dc.RealizePalette(), 236);
  for (int i = 0; i < 256; ++i) {
    ASSERT_TRUE(SameRgb(System(i), app[size_t(i)])) << i;
    ASSERT_EQ(palette.SystemIndex(i, Screen()), i) << i;
    ASSERT_EQ(dc.MapColor(TColor(PALETTEINDEX(uint16_t(i)))), i) << i;
  }
  // A palette-relative colour goes to the nearest entry's slot; a plain index lookup agrees.
  const TPaletteEntry e = app[100];
  const TColor nearBy(uint8_t(e.peRed + 1), e.peGreen, uint8_t(e.peBlue - 1));
  EXPECT_EQ(GetNearestPaletteIndex(palette, nearBy), 100);
  EXPECT_EQ(dc.MapColor(nearBy.PaletteRelative()), 100);
  EXPECT_EQ(GetNearestPaletteIndex(palette, TColor::White), 255);
  EXPECT_EQ(dc.RealizePalette(), 0);  // already in place: nothing to do
}

TEST_F(PaletteTest, EqualColoursCollapseUnlessFlaggedNoCollapse) {
  const TPaletteEntry a = Distinct(1), b = Distinct(2), white{255, 255, 255, 0};
  for (uint8_t flags : {uint8_t(0), PC_NOCOLLAPSE}) {
    SCOPED_TRACE(int(flags));
    TPaletteEntry entries[4] = {a, a, white, b};
    for (TPaletteEntry& x : entries) x.peFlags = flags;
    TPalette palette(entries, 4);
    const int placed = palette.Realize(Screen(), false);
    std::vector<int> slots;
    for (int i = 0; i < 4; ++i) slots.push_back(palette.SystemIndex(i, Screen()));
    if (flags == 0) {
      EXPECT_EQ(placed, 2);
      EXPECT_EQ(slots, (std::vector<int>{10, 10, 255, 11}));
    } else {
      EXPECT_EQ(placed, 4);
      EXPECT_EQ(slots, (std::vector<int>{10, 11, 12, 13}));
    }
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(SameRgb(System(slots[size_t(i)]), entries[i]));
  }
}

TEST_F(PaletteTest, EntriesBeyondTheFreeSlotsMatchTheNearestColourInUse) {
  std::vector<TPaletteEntry> entries;
  for (int i = 0; i < 240; ++i) entries.push_back(Distinct(i, PC_NOCOLLAPSE));
  entries.push_back({250, 250, 250, PC_NOCOLLAPSE});  // no slot left: nearest is white
  TPalette palette(entries.data(), int(entries.size()));
  EXPECT_EQ(palette.Realize(Screen(), false), 236);
  EXPECT_EQ(palette.SystemIndex(235, Screen()), 245);
  EXPECT_EQ(palette.SystemIndex(240, Screen()), 255);
  auto distance = [](const TPaletteEntry& x, const TPaletteEntry& y) {
    int dr = x.peRed - y.peRed, dg = x.peGreen - y.peGreen, db = x.peBlue - y.peBlue;
    return dr * dr + dg * dg + db * db;
  };
  int best = distance(System(0), entries[239]);
  for (int i = 1; i < 256; ++i) best = std::min(best, distance(System(i), entries[239]));
  EXPECT_EQ(distance(System(palette.SystemIndex(239, Screen())), entries[239]), best);
}

TEST_F(PaletteTest, BackgroundRealisationKeepsTheForegroundPalettesSlots) {
  const TPaletteEntry fg[2] = {Distinct(1), Distinct(2)}, bg[2] = {Distinct(3), Distinct(1)};
  TPalette front(fg, 2), back(bg, 2);
  front.Realize(Screen(), false);
  EXPECT_EQ(back.Realize(Screen(), true), 1);
  EXPECT_EQ(back.SystemIndex(0, Screen()), 12);
  EXPECT_EQ(back.SystemIndex(1, Screen()), 10);  // shares the foreground's colour
  EXPECT_EQ(front.SystemIndex(1, Screen()), 11);
  EXPECT_TRUE(SameRgb(System(11), fg[1]));
  // In the foreground a palette starts over from the first free slot.
  back.Realize(Screen(), false);
  EXPECT_EQ(back.SystemIndex(0, Screen()), 10);
  EXPECT_TRUE(SameRgb(System(10), bg[0]));
}

TEST_F(PaletteTest, PaletteChangesReachThePresenterAsAWholeScreen) {
  Pump();
  const int before = backend->PresentCount();
  const TPaletteEntry entries[1] = {Distinct(9)};
  TPalette palette(entries, 1);
  TScreenDC dc;
  dc.SelectPalette(&palette);
  dc.RealizePalette();
  EXPECT_TRUE(Screen().Surface().PaletteDirty());
  GdiFlush();
  EXPECT_EQ(backend->PresentCount(), before + 1);
  EXPECT_EQ(backend->LastPresentedPixels(), 800L * 600L);
  dc.RealizePalette();  // unchanged: the palette stays clean
  EXPECT_FALSE(Screen().Surface().PaletteDirty());
}

TEST_F(PaletteTest, ColoursResolveThroughTheDefaultPaletteWithoutASelection) {
  TScreenDC dc;
  EXPECT_EQ(dc.MapColor(TColor(PALETTEINDEX(3))), 3);
  EXPECT_EQ(dc.MapColor(TColor(PALETTEINDEX(12))), 248);  // the 20 static colours
  EXPECT_EQ(dc.MapColor(TColor(PALETTERGB(254, 1, 1))), IndexOf(TColor::LtRed));
  EXPECT_EQ(dc.GetNearestColor(TColor(250, 250, 250)), TColor::White);
}

TEST_F(PaletteTest, PalettesComeFromDibsAndChangeTheirLookups) {
  TDib dib(2, 2, 8, 3);
  dib.SetColor(0, TColor(10, 20, 30));
  dib.SetColor(1, TColor(200, 100, 50));
  dib.SetColor(2, TColor(10, 20, 31));
  TPalette palette(dib);
  ASSERT_EQ(palette.GetNumEntries(), 3);
  EXPECT_EQ(TColor(palette.GetPaletteEntry(1)), TColor(200, 100, 50));
  EXPECT_EQ(palette.GetNearestPaletteIndex(TColor(10, 20, 31)), 2);
  EXPECT_EQ(palette.GetNearestPaletteIndex(TColor(10, 20, 30)), 0);  // first of equals wins
  const uint32_t version = palette.Version();
  const TPaletteEntry changed{10, 20, 30, 0};
  EXPECT_EQ(palette.SetPaletteEntries(2, 5, &changed), 1);
  EXPECT_NE(palette.Version(), version);
  EXPECT_EQ(palette.GetNearestPaletteIndex(TColor(10, 20, 31)), 0);
  EXPECT_EQ(TPalette(nullptr, 0).GetNearestPaletteIndex(TColor::Black), -1);
  const TPalette copy(palette);
  EXPECT_NE(copy.Id(), palette.Id());
  EXPECT_EQ(TColor(copy.GetPaletteEntry(2)), TColor(10, 20, 30));
}

}  // namespace
}  // namespace quill::test
