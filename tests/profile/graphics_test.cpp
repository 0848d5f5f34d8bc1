#include <filesystem>
#include <string>
#include <vector>

#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/png_codec.h"
#include "quillui/profile/graphic_reader.h"
#include "quillui/profile/icons.h"
#include "quillui/testing/profile.h"
#include "tests/profile/profile_fixture.h"

namespace quill::test {
namespace {

// A 4 x 3 picture of 8 bits whose pixel (x, y) has the index x + 4y and colour (10x, 20y, 7).
TDib SmallDib() {
  TDib dib(4, 3, 8, 12);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      dib.SetColor(x + 4 * y, TColor(uint8_t(10 * x), uint8_t(20 * y), 7));
      dib.SetPixelIndex(x, y, x + 4 * y);
    }
  return dib;
}

class GraphicsTest : public ProfileTest {
 protected:
  // Writes prefix junk, the bytes and suffix junk; answers the offset of the bytes.
  long Embed(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string text(37, 'j');
    text.append(bytes.begin(), bytes.end());
    text.append(11, 'k');
    WriteFile(path, text);
    return 37;
  }
  void TearDown() override {
    ResetIcons();
    ProfileTest::TearDown();
  }
};

TEST_F(GraphicsTest, ReadsABmpAndAPngFromAByteRange) {
  const TDib source = SmallDib();
  std::string error;
  const std::vector<uint8_t> bmp = EncodeBmp(source, &error);
  ASSERT_FALSE(bmp.empty()) << error;
  const std::string set = dir + "/pictures.set";
  const long offset = Embed(set, bmp);

  for (long length : {long(bmp.size()), -1L}) {
    ZGraphicReader reader(set.c_str(), offset, length, nullptr);
    ASSERT_TRUE(reader.IsOK()) << reader.GetError();
    const TDib* dib = reader.GetTDib();
    ASSERT_EQ(dib->Width(), 4);
    ASSERT_EQ(dib->Height(), 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(dib->GetPixelColor(x, y), source.GetPixelColor(x, y)) << x << "," << y;
  }

  const std::string pngPath = dir + "/one.png";
  ASSERT_TRUE(WritePngFile(source, pngPath, &error)) << error;
  const std::string pngBytes = ReadFile(pngPath);
  const std::string packed = dir + "/packed.set";
  Embed(packed, std::vector<uint8_t>(pngBytes.begin(), pngBytes.end()));
  ZGraphicReader png(packed.c_str(), offset, long(pngBytes.size()), nullptr);
  ASSERT_TRUE(png.IsOK()) << png.GetError();
  EXPECT_EQ(png.GetTDib()->GetPixelColor(3, 2), source.GetPixelColor(3, 2));
  std::unique_ptr<TDib> taken = png.TakeTDib();
  EXPECT_NE(taken, nullptr);
  EXPECT_EQ(png.GetTDib(), nullptr);
}

TEST_F(GraphicsTest, RefusesRangesOutsideTheFileAndUnknownBytes) {
  std::string error;
  const std::vector<uint8_t> bmp = EncodeBmp(SmallDib(), &error);
  const std::string set = dir + "/pictures.set";
  const long offset = Embed(set, bmp);
  const long fileSize = long(std::filesystem::file_size(set));
  const struct {
    std::string file;
    long offset;
    long length;
  } bad[] = {
      {set, -1, -1},                  // negative offset
      {set, fileSize, -1},            // at the end
      {set, offset, fileSize},        // range past the end
      {set, offset, 0},               // empty range
      {set, offset, 20},              // the headers cut short
      {set, 0, -1},                   // junk, not an image
      {set, offset + 1, -1},          // misaligned
      {dir + "/missing.bmp", 0, -1},  // no file
      {dir, 0, -1},                   // a directory
      {"", 0, -1},
  };
  for (const auto& b : bad) {
    ZGraphicReader reader(b.file.c_str(), b.offset, b.length, nullptr);
    EXPECT_FALSE(reader.IsOK()) << b.file << " @" << b.offset << "+" << b.length;
    EXPECT_FALSE(reader.GetError().empty());
  }
  ZGraphicReader none(nullptr, 0, -1, nullptr);
  EXPECT_FALSE(none.IsOK());
}

TEST_F(GraphicsTest, APaletteGivesItsOwnColoursAndIndices) {
  std::string error;
  const std::string path = dir + "/small.bmp";
  ASSERT_TRUE(WriteBmpFile(SmallDib(), path, &error)) << error;
  // Dark and light: every pixel of the picture is nearer the dark entry except the reddest.
  const TPaletteEntry entries[2] = {{0, 0, 0, 0}, {40, 40, 0, 0}};
  const TPalette palette(entries, 2);
  ZGraphicReader reader(path.c_str(), 0, -1, &palette);
  ASSERT_TRUE(reader.IsOK()) << reader.GetError();
  const TDib* dib = reader.GetTDib();
  EXPECT_EQ(dib->BitsPerPixel(), 8);
  EXPECT_EQ(dib->NumColors(), 2);
  EXPECT_EQ(dib->GetPixelIndex(0, 0), 0);  // (0, 0, 7)
  EXPECT_EQ(dib->GetPixelIndex(3, 2), 1);  // (30, 40, 7)
  EXPECT_EQ(dib->GetPixelColor(3, 2), TColor(40, 40, 0));
}

TEST_F(GraphicsTest, IconsComeFromStripsWithMasks) {
  SetInstallDir(dir);
  const std::string group = dir + "/icons/menu";
  std::filesystem::create_directories(group);
  // Two states of 2 x 2 side by side; the mask shows the left column only.
  TDib strip(4, 2, 24);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x)
      strip.SetPixelColor(x, y, x < 2 ? TColor(200, 0, 0) : TColor(0, 200, 0));
  TDib mask(2, 2, 8, 2);
  mask.SetColor(0, TColor::Black);
  mask.SetColor(1, TColor::White);
  mask.SetPixelIndex(0, 0, 1);
  mask.SetPixelIndex(0, 1, 1);
  std::string error;
  ASSERT_TRUE(WriteBmpFile(strip, group + "/open_16.bmp", &error)) << error;
  ASSERT_TRUE(WriteBmpFile(mask, group + "/open_16m.bmp", &error)) << error;
  ASSERT_TRUE(WriteBmpFile(strip, group + "/broken_32.bmp", &error)) << error;
  TDib tall(2, 3, 24);
  ASSERT_TRUE(WriteBmpFile(tall, group + "/broken_32m.bmp", &error)) << error;

  const ZIcon* icon = GetIcon("menu", "open");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(GetIcon("menu", "open"), icon);  // read once
  EXPECT_TRUE(icon->HasSize(ZIcon::eSMALL));
  EXPECT_FALSE(icon->HasSize(ZIcon::eLARGE));
  EXPECT_EQ(icon->GetSize(ZIcon::eSMALL), TSize(2, 2));
  EXPECT_EQ(icon->GetSize(ZIcon::eLARGE), TSize(0, 0));
  EXPECT_EQ(icon->GetStateCount(ZIcon::eSMALL), 2);
  EXPECT_EQ(icon->GetIcon(ZIcon::eSMALL, ZIcon::eHILITE)->GetPixelColor(0, 0), TColor(0, 200, 0));
  EXPECT_EQ(icon->GetIconBitmap(ZIcon::eSMALL, ZIcon::eDISABLED), icon->GetIcon(ZIcon::eSMALL, 0));
  ASSERT_NE(icon->GetMask(ZIcon::eSMALL), nullptr);

  auto composed =
      icon->ComposeOver(ZIcon::eSMALL, ZIcon::eNORMAL, TColor(1, 2, 3).PaletteRelative());
  ASSERT_NE(composed, nullptr);
  EXPECT_EQ(composed->GetPixelColor(0, 1), TColor(200, 0, 0));
  EXPECT_EQ(composed->GetPixelColor(1, 1), TColor(1, 2, 3));

  EXPECT_EQ(GetIcon("menu", "missing"), nullptr);
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(GetIcon("menu", "broken"), nullptr);
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_EQ(GetIcon("..", "open"), nullptr);
  EXPECT_EQ(GetIcon("menu", "../menu/open"), nullptr);
}

TEST(AppCursorTest, NumbersGiveShapes) {
  EXPECT_EQ(GetAppCursor(eAPP_CURSOR_NORMAL), TCursorShape::Arrow);
  EXPECT_EQ(GetAppCursor(eAPP_CURSOR_HAND), TCursorShape::Hand);
  EXPECT_EQ(GetAppCursor(eAPP_CURSOR_WAIT), TCursorShape::Wait);
  EXPECT_EQ(GetAppCursor(eAPP_CURSOR_TEXT), TCursorShape::IBeam);
  EXPECT_EQ(GetAppCursor(-5), TCursorShape::Arrow);
  EXPECT_EQ(GetAppCursor(99), TCursorShape::Arrow);
}

}  // namespace
}  // namespace quill::test
