#include "quillui/framework/image/png_codec.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

// Made by libpng: a 3x2 4-bit grey image (rows 0 5 15 and 15 10 1), a 2x1 grey-with-alpha
// image ((10, alpha 20), (200, alpha 255)) and a 3x3 Adam7-interlaced 16-bit RGB image whose
// pixel (x, y) has the high bytes (100x, 100y, 7).
const uint8_t kGrey4[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00, 0x00, 0x7d,
    0xef, 0xd4, 0xc7, 0x00, 0x00, 0x00, 0x0e, 0x49, 0x44, 0x41, 0x54, 0x08, 0x99, 0x63, 0x60,
    0xfd, 0xc0, 0xf0, 0x4b, 0x00, 0x00, 0x05, 0xe3, 0x02, 0x00, 0x6a, 0xcf, 0x71, 0xf3, 0x00,
    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82,
};
const uint8_t kGreyAlpha[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x04, 0x00, 0x00,
    0x00, 0x5e, 0x2b, 0xb7, 0x01, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x44, 0x41, 0x54, 0x08,
    0x99, 0x63, 0xe0, 0x12, 0x39, 0xf1, 0x1f, 0x00, 0x02, 0xf8, 0x01, 0xe6, 0x7e, 0xc7,
    0xe7, 0x3f, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82,
};
const uint8_t kRgb16Interlaced[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0x10, 0x02, 0x00, 0x00, 0x01, 0xfe,
    0xdd, 0xce, 0x3d, 0x00, 0x00, 0x00, 0x2b, 0x49, 0x44, 0x41, 0x54, 0x08, 0x99, 0x25, 0xc9,
    0x31, 0x01, 0xc0, 0x30, 0x0c, 0xc0, 0x30, 0x75, 0x4f, 0x88, 0x16, 0x88, 0xe1, 0x05, 0x56,
    0x8f, 0xe9, 0x15, 0x69, 0xb2, 0x69, 0x3a, 0xda, 0xa6, 0x05, 0x6e, 0x9a, 0x3e, 0x16, 0x47,
    0xb7, 0xe9, 0xfe, 0x03, 0x1e, 0xb8, 0xc6, 0x0c, 0x58, 0x6d, 0x48, 0xec, 0x46, 0x00, 0x00,
    0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82,
};
// The CRC of a PNG chunk, so tests can forge headers that get past the checksum.
uint32_t Crc(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void SetBe32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (24 - 8 * i));
}

// kGrey4 with other IHDR dimensions and a correct checksum.
Bytes Grey4WithSize(uint32_t width, uint32_t height) {
  Bytes b(std::begin(kGrey4), std::end(kGrey4));
  SetBe32(b, 16, width);
  SetBe32(b, 20, height);
  SetBe32(b, 29, Crc(&b[12], 17));
  return b;
}

class PngFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "pngXXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  static Bytes Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  std::string dir_;
};

TEST_F(PngFileTest, IndexedScreenshotReadsBackAsTheSameIndicesAndPalette) {
  constexpr int kWidth = 7, kHeight = 5;
  constexpr size_t kStride = 9;  // the surface's rows are longer than the image
  Bytes surface(kStride * kHeight, 0xEE);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) surface[size_t(y) * kStride + size_t(x)] = uint8_t(y * 40 + x);
  }
  TRgbQuad palette[256];
  for (int i = 0; i < 256; ++i) {
    palette[i] = TRgbQuad{uint8_t(i), uint8_t(i * 3), uint8_t(255 - i), 0};
  }

  const std::string path = dir_ + "screen.png";
  std::string error;
  ASSERT_TRUE(WriteIndexedPng(path, kWidth, kHeight, surface.data(), kStride, palette, &error))
      << error;
  const Bytes file = Load(path);
  ASSERT_GT(file.size(), 25u);
  EXPECT_EQ(file[24], 8);  // bit depth
  EXPECT_EQ(file[25], 3);  // colour type: palette

  DibResult r = ReadPngFile(path);
  ASSERT_TRUE(r.dib) << r.error;
  const TDib& dib = *r.dib;
  ASSERT_EQ(dib.BitsPerPixel(), 8);
  ASSERT_EQ(dib.NumColors(), 256);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(dib.GetColor(i), palette[i]) << i;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) EXPECT_EQ(dib.GetPixelIndex(x, y), y * 40 + x);
  }
  // The same bytes read from memory give the same image.
  r = ReadPng(file);
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->GetPixelIndex(6, 4), 4 * 40 + 6);
}

TEST_F(PngFileTest, DibsOfEveryDepthSurviveWriteAndRead) {
  for (int bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    const int colors = bits == 8 ? 20 : 0;  // a short table stays short
    TDib dib(5, 3, bits, colors);
    ASSERT_TRUE(dib.IsOK());
    for (int i = 0; i < dib.NumColors(); ++i) {
      dib.SetColor(i, TColor(uint8_t(i * 9), 1, uint8_t(i)));
    }
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        if (bits <= 8) {
          dib.SetPixelIndex(x, y, (x + 2 * y) % dib.NumColors());
        } else {
          dib.SetPixelColor(x, y, TColor(uint8_t(x * 50), uint8_t(y * 90), uint8_t(x + y)));
        }
      }
    }
    if (bits == 32) dib.ScanLine(1)[3] = 0x42;  // alpha of pixel (0, 1)

    const std::string path = dir_ + "dib.png";
    std::string error;
    ASSERT_TRUE(WritePngFile(dib, path, &error)) << error;
    DibResult r = ReadPngFile(path);
    ASSERT_TRUE(r.dib) << r.error;
    const TDib& copy = *r.dib;
    EXPECT_EQ(copy.BitsPerPixel(), bits <= 8 ? 8 : bits);
    EXPECT_EQ(copy.NumColors(), dib.NumColors());
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(copy.GetPixelIndex(x, y), dib.GetPixelIndex(x, y));
        EXPECT_EQ(copy.GetPixelColor(x, y), dib.GetPixelColor(x, y)) << x << "," << y;
      }
    }
    if (bits == 32) {
      EXPECT_EQ(copy.ScanLine(1)[3], 0x42);
    }
  }
}

TEST_F(PngFileTest, PaletteGrowsToCoverEveryIndexInUse) {
  TDib dib(2, 1, 8, 4);
  dib.SetPixelIndex(1, 0, 9);
  std::string error;
  ASSERT_TRUE(WritePngFile(dib, dir_ + "short.png", &error)) << error;
  DibResult r = ReadPngFile(dir_ + "short.png");
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->NumColors(), 10);
  EXPECT_EQ(r.dib->GetPixelIndex(1, 0), 9);
}

TEST(PngReadTest, GreyAlphaAndSixteenBitImagesConvert) {
  DibResult r = ReadPng(kGrey4);
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->BitsPerPixel(), 8);
  EXPECT_EQ(r.dib->NumColors(), 256);
  EXPECT_EQ(r.dib->GetColor(170), (TRgbQuad{170, 170, 170, 0}));
  const int grey[2][3] = {{0, 85, 255}, {255, 170, 17}};  // 4-bit levels scaled by 17
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(r.dib->GetPixelIndex(x, y), grey[y][x]);
  }

  r = ReadPng(kGreyAlpha);
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->BitsPerPixel(), 32);
  EXPECT_EQ(r.dib->GetPixelColor(0, 0), TColor(10, 10, 10));
  EXPECT_EQ(r.dib->ScanLine(0)[3], 20);
  EXPECT_EQ(r.dib->GetPixelColor(1, 0), TColor(200, 200, 200));

  r = ReadPng(kRgb16Interlaced);
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->BitsPerPixel(), 24);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(r.dib->GetPixelColor(x, y), TColor(uint8_t(x * 100), uint8_t(y * 100), 7));
    }
  }
}

TEST(PngReadTest, DamagedDataGivesANullDibAndAReason) {
  const Bytes good(std::begin(kGrey4), std::end(kGrey4));
  Bytes badCrc = good;
  badCrc[29] ^= 0xFF;
  Bytes badData = good;
  badData[45] ^= 0x5A;  // inside the compressed pixels
  struct {
    const char* name;
    Bytes bytes;
    const char* reason;
  } cases[] = {
      {"empty", {}, "signature"},
      {"not a png", Bytes{'h', 'e', 'l', 'l', 'o', '.', '.', '.', '.'}, "signature"},
      {"cut in the header", Bytes(good.begin(), good.begin() + 20), "PNG: "},
      {"cut in the pixels", Bytes(good.begin(), good.begin() + 50), "PNG: "},
      {"header checksum", badCrc, "CRC"},
      {"pixel data", badData, "PNG: "},
      {"zero width", Grey4WithSize(0, 2), "PNG: "},
      {"beyond the side limit", Grey4WithSize(20000, 1), "PNG: "},
      {"beyond the pixel cap", Grey4WithSize(16384, 16384), "64 Mi"},
      {"more than the data could hold", Grey4WithSize(16384, 4096), "compressed data"},
  };
  ASSERT_TRUE(ReadPng(good).dib);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DibResult r = ReadPng(c.bytes);
    EXPECT_FALSE(r.dib);
    EXPECT_EQ(r.error.rfind("PNG: ", 0), 0u) << r.error;
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
  }
}

TEST_F(PngFileTest, WritersRefuseWhatTheyCannotWrite) {
  std::string error;
  TRgbQuad palette[256] = {};
  Bytes pixels(16, 0);
  EXPECT_FALSE(WritePngFile(TDib(), dir_ + "a.png", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(WriteIndexedPng(dir_ + "a.png", 0, 4, pixels.data(), 4, palette, &error));
  EXPECT_FALSE(WriteIndexedPng(dir_ + "a.png", 4, 4, pixels.data(), 3, palette, &error));
  EXPECT_NE(error.find("stride"), std::string::npos) << error;
  EXPECT_FALSE(WriteIndexedPng(dir_ + "a.png", 4, 4, nullptr, 4, palette, &error));
  EXPECT_FALSE(std::filesystem::exists(dir_ + "a.png"));
  EXPECT_FALSE(ReadPngFile(dir_ + "a.png").error.empty());
}

}  // namespace
}  // namespace quill
