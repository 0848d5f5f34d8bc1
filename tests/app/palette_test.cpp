#include "quillui/app/app_palette.h"

#include <array>

#include "app_test_support.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/screen/screen_surface.h"

namespace quill::test {
namespace {

class PaletteTest : public AppTest {
 protected:
  // A small 8-bit bitmap whose colour table has count distinct colours.
  std::string WritePaletteBmp(int count, const char* name = "palette.bmp") {
    TDib dib(4, 4, 8, count);
    for (int i = 0; i < count; ++i) dib.SetColor(i, Colour(i));
    std::string path = (dir / name).string();
    EXPECT_TRUE(WriteBmpFile(dib, path, nullptr));
    return path;
  }
  static TColor Colour(int i) { return TColor(uint8_t(i), uint8_t(255 - i), uint8_t(i * 7 + 3)); }

  std::array<TPaletteEntry, 256> SystemPalette() {
    std::array<TPaletteEntry, 256> e{};
    TWindowSystem::Get().Screen().GetSystemPaletteEntries(0, 256, e.data());
    return e;
  }
};

TEST_F(PaletteTest, IdentityPaletteKeepsStaticEndsAndFlagsTheMiddle) {
  auto system = SystemPalette();
  std::unique_ptr<TPalette> p = LoadAppPaletteFile(WritePaletteBmp(256));
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->GetNumEntries(), 256);
  for (int i : {0, 5, 9, 246, 250, 255}) {
    TPaletteEntry e = p->GetPaletteEntry(i);
    TPaletteEntry s = system[size_t(i)];
    s.peFlags = 0;
    EXPECT_EQ(e, s) << i;
  }
  for (int i : {10, 11, 128, 200, 245}) {
    TPaletteEntry e = p->GetPaletteEntry(i);
    EXPECT_EQ(TColor(e), Colour(i)) << i;
    EXPECT_EQ(e.peFlags, PC_NOCOLLAPSE) << i;
  }
  // The system palette was flushed: every non-static slot went black.
  auto after = SystemPalette();
  for (int i = 10; i < 246; ++i) EXPECT_EQ(TColor(after[size_t(i)]), TColor::Black) << i;
  EXPECT_EQ(after[0], system[0]);
  EXPECT_EQ(after[255], system[255]);
}

TEST_F(PaletteTest, SmallerPalettesAreLeftAsTheyAre) {
  auto system = SystemPalette();
  std::unique_ptr<TPalette> p = LoadAppPaletteFile(WritePaletteBmp(16));
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->GetNumEntries(), 16);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(TColor(p->GetPaletteEntry(i)), Colour(i));
    EXPECT_EQ(p->GetPaletteEntry(i).peFlags, 0);
  }
  EXPECT_EQ(SystemPalette(), system);  // no flush for a palette that is not 256 entries
}

TEST_F(PaletteTest, UnreadableFileGivesNullAndAReport) {
  EXPECT_EQ(LoadAppPaletteFile((dir / "missing.bmp").string()), nullptr);
  std::string junk = (dir / "junk.bmp").string();
  std::ofstream(junk) << "BM this is not a bitmap";
  EXPECT_EQ(LoadAppPaletteFile(junk), nullptr);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[0].message.find("missing.bmp"), std::string::npos);
}

TEST_F(PaletteTest, MakeIdentityPaletteIgnoresOtherSizes) {
  std::array<TPaletteEntry, 100> entries{};
  for (auto& e : entries) e = TPaletteEntry{1, 2, 3, 0};
  TPalette p(entries.data(), 100);
  TScreenDC dc;
  MakeIdentityPalette(p, dc);
  EXPECT_EQ(p.GetPaletteEntry(0), (TPaletteEntry{1, 2, 3, 0}));
  EXPECT_EQ(p.GetPaletteEntry(50).peFlags, 0);
}

TEST_F(PaletteTest, AppPaletteIsLoadedOncePerProcess) {
  TPalette* first = GetAppPalette();
  EXPECT_EQ(GetAppPalette(), first);
  DeleteStatics();
  EXPECT_EQ(GetAppPalette(), nullptr);
}

}  // namespace
}  // namespace quill::test

namespace quill::test {
namespace {

TEST_F(PaletteTest, TheShippedPaletteBitmapGivesTheIdentityPalette) {
  std::unique_ptr<TPalette> p = LoadAppPaletteFile(QUILL_ART_DIR "/palette.bmp");
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->GetNumEntries(), 256);
  // The art's table is the screen's own: the static colours at both ends, the cube between.
  const auto screen = platform::ScreenSurface::DefaultPalette();
  for (int i = 0; i < 256; ++i) {
    TPaletteEntry e = p->GetPaletteEntry(i);
    EXPECT_EQ(TColor(e.peRed, e.peGreen, e.peBlue),
              TColor(screen[size_t(i)].r, screen[size_t(i)].g, screen[size_t(i)].b))
        << i;
  }
}

}  // namespace
}  // namespace quill::test
