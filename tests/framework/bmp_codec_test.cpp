#include "quillui/framework/image/bmp_codec.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
uint32_t Get32(const Bytes& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}
void Set16(Bytes& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void Set32(Bytes& b, size_t at, uint32_t v) {
  Set16(b, at, v & 0xFFFF);
  Set16(b, at + 2, v >> 16);
}

// Field offsets in a file with a 40-byte (or larger) info header.
constexpr size_t kOffBits = 10, kWidth = 18, kHeight = 22, kPlanes = 26, kBitCount = 28,
                 kCompression = 30, kSizeImage = 34, kClrUsed = 46;

// A bitmap file put together field by field, so a test can say exactly what it holds.
struct BmpParts {
  uint32_t headerSize = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bits = 8;
  uint32_t compression = BI_RGB;
  uint32_t sizeImage = 0;
  uint32_t clrUsed = 0;
  std::vector<uint32_t> masks;  // after a 40-byte header, or inside a larger one
  std::vector<TRgbQuad> colors;
  Bytes pixels;
};

Bytes Build(const BmpParts& p) {
  Bytes b{'B', 'M'};
  Put32(b, 0);  // bfSize, filled in below
  Put32(b, 0);
  Put32(b, 0);  // bfOffBits, filled in below
  Put32(b, p.headerSize);
  if (p.headerSize == 12) {
    Put16(b, uint32_t(p.width));
    Put16(b, uint32_t(p.height));
    Put16(b, 1);
    Put16(b, p.bits);
  } else {
    Put32(b, uint32_t(p.width));
    Put32(b, uint32_t(p.height));
    Put16(b, 1);
    Put16(b, p.bits);
    Put32(b, p.compression);
    Put32(b, p.sizeImage);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, p.clrUsed);
    Put32(b, 0);
    for (uint32_t m : p.masks) Put32(b, m);
    b.resize(std::max<size_t>(b.size(), 14 + p.headerSize));
  }
  for (const TRgbQuad& q : p.colors) {
    b.insert(b.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed});
    if (p.headerSize != 12) b.push_back(0);
  }
  Set32(b, kOffBits, uint32_t(b.size()));
  b.insert(b.end(), p.pixels.begin(), p.pixels.end());
  Set32(b, 2, uint32_t(b.size()));
  return b;
}

std::vector<TRgbQuad> Grey(int n) {
  std::vector<TRgbQuad> colors;
  for (int i = 0; i < n; ++i) colors.push_back(TRgbQuad{uint8_t(i), uint8_t(i), uint8_t(i), 0});
  return colors;
}

// The indices of a DIB, top row first.
std::vector<std::vector<int>> Indices(const TDib& dib) {
  std::vector<std::vector<int>> rows(size_t(dib.Height()));
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) rows[size_t(y)].push_back(dib.GetPixelIndex(x, y));
  }
  return rows;
}

using Rows = std::vector<std::vector<int>>;

class BmpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "bmpXXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Save(const std::string& name, const Bytes& bytes) {
    std::ofstream out(dir_ + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return dir_ + name;
  }
  static Bytes Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  std::string dir_;
};

TEST_F(BmpFileTest, EightAndTwentyFourBitImagesSurviveWriteAndRead) {
  // Odd widths, so every row carries padding.
  TDib indexed(5, 3, 8, 200);
  for (int i = 0; i < 200; ++i) indexed.SetColor(i, TColor(uint8_t(i), uint8_t(255 - i), 7));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) indexed.SetPixelIndex(x, y, (x * 37 + y * 11) % 200);
  }
  indexed.SetPelsPerMeter(3780, 2835);
  TDib rgb(3, 2, 24);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) rgb.SetPixelColor(x, y, TColor(uint8_t(x * 80), uint8_t(y), 200));
  }

  for (const TDib* original : {&indexed, &rgb}) {
    SCOPED_TRACE(original->BitsPerPixel());
    const std::string path = dir_ + "round.bmp";
    std::string error;
    ASSERT_TRUE(WriteBmpFile(*original, path, &error)) << error;
    const Bytes file = Load(path);
    ASSERT_GE(file.size(), 54u);
    EXPECT_EQ(Get32(file, kOffBits), 54u + 4u * uint32_t(original->NumColors()));
    EXPECT_EQ(Get32(file, kHeight), uint32_t(original->Height()));  // positive: bottom-up
    EXPECT_EQ(Get32(file, kClrUsed), uint32_t(original->NumColors()));

    DibResult read = ReadBmpFile(path);
    ASSERT_TRUE(read.dib) << read.error;
    const TDib& copy = *read.dib;
    EXPECT_EQ(copy.BitsPerPixel(), original->BitsPerPixel());
    EXPECT_EQ(copy.NumColors(), original->NumColors());
    EXPECT_EQ(copy.InfoHeader().biXPelsPerMeter, original->InfoHeader().biXPelsPerMeter);
    EXPECT_EQ(copy.InfoHeader().biYPelsPerMeter, original->InfoHeader().biYPelsPerMeter);
    for (int i = 0; i < copy.NumColors(); ++i) EXPECT_EQ(copy.GetColor(i), original->GetColor(i));
    for (int y = 0; y < copy.Height(); ++y) {
      for (int x = 0; x < copy.Width(); ++x) {
        EXPECT_EQ(copy.GetPixelColor(x, y), original->GetPixelColor(x, y)) << x << "," << y;
      }
    }
  }
}

TEST_F(BmpFileTest, WriterRefusesOtherDepthsAndNullDibs) {
  std::string error;
  for (int bits : {1, 4, 32}) {
    EXPECT_FALSE(WriteBmpFile(TDib(2, 2, bits), dir_ + "x.bmp", &error));
    EXPECT_NE(error.find("8- and 24-bit"), std::string::npos) << error;
  }
  EXPECT_FALSE(WriteBmpFile(TDib(), dir_ + "x.bmp", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ + "x.bmp"));
}

TEST(BmpReadTest, OneAndFourBitRowsUnpackWithTheirTables) {
  BmpParts mono;
  mono.width = 10;
  mono.height = 2;
  mono.bits = 1;
  mono.colors = {TRgbQuad{0, 0, 0, 0}, TRgbQuad{255, 255, 255, 0}};
  mono.pixels = {0b10000000, 0b01000000, 0, 0,   // bottom row: pixels 0 and 9
                 0b01111111, 0b10000000, 0, 0};  // top row: pixels 1 to 8
  DibResult r = ReadBmp(Build(mono));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(Indices(*r.dib),
            (Rows{{0, 1, 1, 1, 1, 1, 1, 1, 1, 0}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1}}));
  EXPECT_EQ(r.dib->GetPixelColor(0, 1), TColor::White);

  BmpParts four;
  four.width = 3;
  four.height = 2;
  four.bits = 4;
  four.clrUsed = 3;
  four.colors = {TRgbQuad{1, 1, 1, 0}, TRgbQuad{2, 2, 2, 0}, TRgbQuad{0, 0, 200, 0}};
  four.pixels = {0x12, 0x00, 0, 0, 0x01, 0x20, 0, 0};
  r = ReadBmp(Build(four));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->BitsPerPixel(), 4);
  EXPECT_EQ(r.dib->NumColors(), 3);
  EXPECT_EQ(Indices(*r.dib), (Rows{{0, 1, 2}, {1, 2, 0}}));
  EXPECT_EQ(r.dib->GetPixelColor(2, 0), TColor(200, 0, 0));
}

TEST(BmpReadTest, TopDownRowsAreTurnedTheRightWayUp) {
  BmpParts p;
  p.width = 2;
  p.height = -2;
  p.bits = 24;
  p.pixels = {1, 2, 3, 4,  5,  6,  0, 0,  // first in the file: the top row
              7, 8, 9, 10, 11, 12, 0, 0};
  DibResult r = ReadBmp(Build(p));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->Height(), 2);
  EXPECT_EQ(r.dib->GetPixelColor(0, 0), TColor(3, 2, 1));
  EXPECT_EQ(r.dib->GetPixelColor(1, 1), TColor(12, 11, 10));
  EXPECT_EQ(r.dib->InfoHeader().biHeight, 2);
}

TEST(BmpReadTest, Rle8RunsAbsoluteRunsDeltasAndEndOfBitmap) {
  BmpParts p;
  p.width = 6;
  p.height = 3;
  p.compression = BI_RLE8;
  p.colors = Grey(16);
  p.clrUsed = 16;
  p.pixels = {
      2, 7,              // bottom row: two pixels of 7
      0, 3, 1, 2, 3, 0,  // absolute run of 3, padded to a word
      0, 2, 0, 1,        // delta: same column, one row up
      1, 9,              // ...so this lands at (5, row 1)
      0, 0,              // end of line
      1, 4,              // top row
      0, 2, 2, 0,        // delta two to the right
      2, 5, 0, 1,        // end of bitmap
      9, 9, 9, 9,        // ignored
  };
  p.sizeImage = uint32_t(p.pixels.size());
  DibResult r = ReadBmp(Build(p));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->BitsPerPixel(), 8);
  EXPECT_EQ(Indices(*r.dib), (Rows{{4, 0, 0, 5, 5, 0}, {0, 0, 0, 0, 0, 9}, {7, 7, 1, 2, 3, 0}}));
}

TEST(BmpReadTest, Rle4RunsAlternateNibblesAndAbsoluteRunsArePadded) {
  BmpParts p;
  p.width = 5;
  p.height = 3;
  p.bits = 4;
  p.compression = BI_RLE4;
  p.colors = Grey(16);
  p.pixels = {
      5, 0x12,                             // bottom row: 1 2 1 2 1
      0, 0,    0, 5, 0x34, 0x5A, 0xB0, 0,  // absolute run of 5: three bytes and a pad byte
      0, 1,                                // end of bitmap: the top row stays 0
  };
  DibResult r = ReadBmp(Build(p));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(Indices(*r.dib), (Rows{{0, 0, 0, 0, 0}, {3, 4, 5, 10, 11}, {1, 2, 1, 2, 1}}));
}

TEST(BmpReadTest, RleStreamThatStopsEarlyKeepsWhatItDecoded) {
  BmpParts p;
  p.width = 4;
  p.height = 2;
  p.compression = BI_RLE8;
  p.colors = Grey(8);
  p.clrUsed = 8;
  p.pixels = {2, 6, 0, 4, 1, 2, 3};  // an absolute run of 4 cut off after 3 bytes
  DibResult r = ReadBmp(Build(p));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(Indices(*r.dib), (Rows{{0, 0, 0, 0}, {6, 6, 0, 0}}));
}

TEST(BmpReadTest, SixteenAndBitFieldPixelsBecomeDirectColour) {
  BmpParts rgb555;
  rgb555.width = 2;
  rgb555.bits = 16;
  rgb555.pixels = {0x00, 0x7C, 0xFF, 0x7F};  // pure red, white
  DibResult r = ReadBmp(Build(rgb555));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->BitsPerPixel(), 24);
  EXPECT_EQ(r.dib->GetPixelColor(0, 0), TColor(255, 0, 0));
  EXPECT_EQ(r.dib->GetPixelColor(1, 0), TColor(255, 255, 255));

  BmpParts rgb565 = rgb555;
  rgb565.compression = BI_BITFIELDS;
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.pixels = {0xE0, 0x07, 0x10, 0x00};  // full green; blue at half (16 of 31)
  r = ReadBmp(Build(rgb565));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->GetPixelColor(0, 0), TColor(0, 255, 0));
  EXPECT_EQ(r.dib->GetPixelColor(1, 0), TColor(0, 0, 132));

  // A V5 header carries its masks, alpha included, inside the header.
  BmpParts v5;
  v5.headerSize = 124;
  v5.width = 1;
  v5.bits = 32;
  v5.compression = BI_BITFIELDS;
  v5.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};  // R G B A from the low byte
  v5.pixels = {0x11, 0x22, 0x33, 0x44};
  r = ReadBmp(Build(v5));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->BitsPerPixel(), 32);
  EXPECT_EQ(r.dib->GetPixelColor(0, 0), TColor(0x11, 0x22, 0x33));
  EXPECT_EQ(r.dib->Bits()[3], 0x44);
}

TEST(BmpReadTest, CoreAndLargerHeadersFindTheirColourTables) {
  BmpParts core;
  core.headerSize = 12;
  core.width = 2;
  core.bits = 1;
  core.colors = {TRgbQuad{0, 0, 255, 0}, TRgbQuad{0, 255, 0, 0}};  // three-byte entries
  core.pixels = {0x40, 0, 0, 0};
  DibResult r = ReadBmp(Build(core));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->GetPixelColor(0, 0), TColor(255, 0, 0));
  EXPECT_EQ(r.dib->GetPixelColor(1, 0), TColor(0, 255, 0));

  BmpParts v4;
  v4.headerSize = 108;
  v4.width = 1;
  v4.colors = Grey(2);
  v4.clrUsed = 2;
  v4.pixels = {1, 0, 0, 0};
  r = ReadBmp(Build(v4));
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(r.dib->NumColors(), 2);
  EXPECT_EQ(r.dib->GetPixelColor(0, 0), TColor(1, 1, 1));
}

TEST_F(BmpFileTest, ReadsAMemberOfALargerFileByOffset) {
  BmpParts a;
  a.width = 3;
  a.height = 2;
  a.colors = Grey(4);
  a.clrUsed = 4;
  a.pixels = {1, 2, 3, 0, 3, 2, 1, 0};
  BmpParts b;  // RLE, whose extent only its biSizeImage tells
  b.width = 2;
  b.compression = BI_RLE8;
  b.colors = Grey(4);
  b.clrUsed = 4;
  b.pixels = {2, 3, 0, 1};
  b.sizeImage = 4;
  const Bytes fileA = Build(a);
  Bytes fileB = Build(b);
  Set32(fileB, 2, 0);  // a zero bfSize must not matter

  Bytes set(37, 0xEE);
  set.insert(set.end(), fileA.begin(), fileA.end());
  set.insert(set.end(), fileB.begin(), fileB.end());
  set.insert(set.end(), 500, 0xEE);  // whatever follows must not be taken for pixels
  const std::string path = Save("members.set", set);

  DibResult r = ReadBmpFile(path, 37);
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(Indices(*r.dib), (Rows{{3, 2, 1}, {1, 2, 3}}));
  r = ReadBmpFile(path, 37 + fileA.size());
  ASSERT_TRUE(r.dib) << r.error;
  EXPECT_EQ(Indices(*r.dib), (Rows{{3, 3}}));
  r = ReadBmpFile(path, 37, fileA.size());
  ASSERT_TRUE(r.dib) << r.error;

  struct {
    uint64_t offset, length;
    const char* reason;
  } bad[] = {
      {37, fileA.size() - 1, "pixel data runs past the end"},
      {set.size() + 1, UINT64_MAX, "past the end"},
      {set.size() - 10, 11, "past the end"},
      {0, UINT64_MAX, "signature"},
  };
  for (const auto& c : bad) {
    r = ReadBmpFile(path, c.offset, c.length);
    EXPECT_FALSE(r.dib);
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
  }
  r = ReadBmpFile(dir_ + "absent.bmp");
  EXPECT_FALSE(r.dib);
  EXPECT_NE(r.error.find("cannot open"), std::string::npos) << r.error;
}

struct DamageCase {
  const char* name;
  bool rle;  // damage an RLE8 file instead of the plain 8-bit one
  std::function<void(Bytes&)> damage;
  const char* reason;  // part of the expected error
};

TEST(BmpReadTest, DamagedFilesGiveANullDibAndAReason) {
  BmpParts plain;
  plain.width = 4;
  plain.height = 2;
  plain.colors = Grey(4);
  plain.clrUsed = 4;
  plain.pixels = Bytes(8, 1);
  const Bytes good = Build(plain);
  const size_t tableEnd = 54 + 16;

  BmpParts rlePartsBase = plain;
  rlePartsBase.compression = BI_RLE8;
  rlePartsBase.pixels = {4, 1, 0, 0, 4, 2, 0, 1};
  rlePartsBase.sizeImage = 8;
  const Bytes goodRle = Build(rlePartsBase);
  auto rleStream = [](Bytes stream) {
    return [stream](Bytes& b) {
      b.resize(70);
      b.insert(b.end(), stream.begin(), stream.end());
      Set32(b, kSizeImage, uint32_t(stream.size()));
    };
  };

  const DamageCase cases[] = {
      {"empty", false, [](Bytes& b) { b.clear(); }, "shorter than its 14-byte file header"},
      {"cut file header", false, [](Bytes& b) { b.resize(10); }, "14-byte file header"},
      {"no signature", false, [](Bytes& b) { b[0] = 'X'; }, "signature"},
      {"cut info header", false, [](Bytes& b) { b.resize(30); }, "info header is truncated"},
      {"odd header size", false, [](Bytes& b) { Set32(b, 14, 20); }, "info header size 20"},
      {"zero width", false, [](Bytes& b) { Set32(b, kWidth, 0); }, "positive"},
      {"negative width", false, [](Bytes& b) { Set32(b, kWidth, uint32_t(-4)); }, "positive"},
      {"zero height", false, [](Bytes& b) { Set32(b, kHeight, 0); }, "positive"},
      {"huge width", false, [](Bytes& b) { Set32(b, kWidth, 0x7FFFFFFF); }, "16384"},
      {"huge top-down", false, [](Bytes& b) { Set32(b, kHeight, 0x80000000u); }, "16384"},
      {"too many pixels", false,
       [](Bytes& b) {
         Set32(b, kWidth, 16384);
         Set32(b, kHeight, 16384);
       },
       "64 Mi"},
      {"two planes", false, [](Bytes& b) { Set16(b, kPlanes, 2); }, "plane count"},
      {"seven bits", false, [](Bytes& b) { Set16(b, kBitCount, 7); }, "bit count 7"},
      {"jpeg inside", false, [](Bytes& b) { Set32(b, kCompression, 4); }, "compression 4"},
      {"rle4 at 8 bits", false, [](Bytes& b) { Set32(b, kCompression, BI_RLE4); }, "compression 2"},
      {"300 colours", false, [](Bytes& b) { Set32(b, kClrUsed, 300); }, "claims 300 entries"},
      {"17 colours at 4 bits", false,
       [](Bytes& b) {
         Set16(b, kBitCount, 4);
         Set32(b, kClrUsed, 17);
       },
       "claims 17 entries"},
      {"table past the end", false, [](Bytes& b) { Set32(b, kClrUsed, 256); },
       "colour table runs past"},
      {"offset past the end", false, [](Bytes& b) { Set32(b, kOffBits, 5000); },
       "offset lies past the end"},
      {"offset into headers", false, [](Bytes& b) { Set32(b, kOffBits, 60); },
       "points into the headers"},
      {"pixels cut short", false, [](Bytes& b) { b.pop_back(); }, "pixel data runs past"},
      {"taller than the data", false, [](Bytes& b) { Set32(b, kHeight, 3); },
       "pixel data runs past"},
      {"biSizeImage lies", false, [](Bytes& b) { Set32(b, kSizeImage, 9); }, "biSizeImage"},
      {"masks cut short", false,
       [](Bytes& b) {
         Set16(b, kBitCount, 32);
         Set32(b, kCompression, BI_BITFIELDS);
         b.resize(60);
       },
       "masks are truncated"},
      {"rle biSizeImage lies", true, [](Bytes& b) { Set32(b, kSizeImage, 9); }, "biSizeImage"},
      {"top-down rle", true, [](Bytes& b) { Set32(b, kHeight, uint32_t(-2)); }, "top-down"},
      // (Runs past a row's end are clipped, not refused: tests/imaging/bmp_rle_test.cpp.)
      {"delta past right edge", true, rleStream({1, 1, 0, 2, 4, 0}), "outside the image"},
      {"delta past the top", true, rleStream({1, 1, 0, 2, 0, 2}), "outside the image"},
      {"run past the top", true, rleStream({0, 0, 0, 0, 1, 1}), "past the top of the image"},
      {"nothing decoded", true, rleStream({0, 0, 0, 1}), "no pixels"},
      {"empty stream", true, rleStream({}), "offset lies past the end"},
  };
  {
    DibResult ok = ReadBmp(good);
    ASSERT_TRUE(ok.dib) << ok.error;
    ok = ReadBmp(goodRle);
    ASSERT_TRUE(ok.dib) << ok.error;
    ASSERT_EQ(goodRle.size(), tableEnd + 8);
  }
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = c.rle ? goodRle : good;
    c.damage(bytes);
    const DibResult r = ReadBmp(bytes);
    EXPECT_FALSE(r.dib);
    EXPECT_EQ(r.error.rfind("BMP: ", 0), 0u) << r.error;
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
    // The into-buffer reader refuses the same files for the same reasons, writing nothing.
    std::string why;
    EXPECT_FALSE(ReadBmpInfo(bytes, nullptr, &why));
    EXPECT_EQ(why, r.error);
    Bytes pixels(4096, 0xEE);
    std::vector<TRgbQuad> colors(256);
    why.clear();
    EXPECT_FALSE(ReadBmpInto(bytes, BmpTarget{pixels, 64, colors}, nullptr, &why));
    EXPECT_EQ(why, r.error);
    EXPECT_EQ(pixels, Bytes(4096, 0xEE));
  }
}

// Files of every kind the reader takes, each small and with pixels that tell rows apart.
std::vector<std::pair<const char*, Bytes>> KindsOfFile() {
  std::vector<std::pair<const char*, Bytes>> files;
  BmpParts p;
  p.width = 10, p.height = 2, p.bits = 1, p.colors = Grey(2);
  p.pixels = {0b10000000, 0b01000000, 0, 0, 0b01111111, 0b10000000, 0, 0};
  files.emplace_back("1 bit", Build(p));
  p = {};
  p.width = 3, p.height = 2, p.bits = 4, p.clrUsed = 3, p.colors = Grey(3);
  p.pixels = {0x12, 0x00, 0, 0, 0x01, 0x20, 0, 0};
  files.emplace_back("4 bits", Build(p));
  p = {};
  p.width = 3, p.height = 3, p.clrUsed = 9, p.colors = Grey(9);
  p.pixels = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 0, 0};
  files.emplace_back("8 bits", Build(p));
  p.height = -3;
  files.emplace_back("8 bits top-down", Build(p));
  p = {};
  p.width = 6, p.height = 3, p.compression = BI_RLE8, p.clrUsed = 16, p.colors = Grey(16);
  p.pixels = {2, 7, 0, 3, 1, 2, 3, 0, 0, 2, 0, 1, 1, 9, 0, 0, 1, 4, 0, 2, 2, 0, 2, 5, 0, 1};
  files.emplace_back("RLE8 with skipped pixels", Build(p));
  p = {};
  p.width = 5, p.height = 3, p.bits = 4, p.compression = BI_RLE4, p.colors = Grey(16);
  p.pixels = {5, 0x12, 0, 0, 0, 5, 0x34, 0x5A, 0xB0, 0, 0, 1};
  files.emplace_back("RLE4", Build(p));
  p = {};
  p.width = 2, p.height = 2, p.bits = 16;
  p.pixels = {0x00, 0x7C, 0xFF, 0x7F, 0x1F, 0x00, 0xE0, 0x03};
  files.emplace_back("16 bits", Build(p));
  p.compression = BI_BITFIELDS, p.masks = {0xF800, 0x07E0, 0x001F};
  files.emplace_back("16-bit fields", Build(p));
  p = {};
  p.width = 2, p.height = -2, p.bits = 24;
  p.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  files.emplace_back("24 bits top-down", Build(p));
  p = {};
  p.width = 2, p.height = 1, p.bits = 32;
  p.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
  files.emplace_back("32 bits", Build(p));
  p.headerSize = 124, p.compression = BI_BITFIELDS;
  p.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  files.emplace_back("32-bit fields with alpha", Build(p));
  p = {};
  p.headerSize = 12, p.width = 2, p.bits = 1, p.colors = {{0, 0, 255, 0}, {0, 255, 0, 0}};
  p.pixels = {0x40, 0, 0, 0};
  files.emplace_back("core header", Build(p));
  return files;
}

// Into a caller's buffer, bottom-up or top-down with padding and margins full of another
// value, every kind of file gives the pixels and colours of the DIB ReadBmp makes.
TEST(BmpReadTest, IntoACallersBufferEveryFileGivesThePixelsOfItsDib) {
  constexpr uint8_t kFill = 0xEE;
  constexpr size_t kMargin = 16;
  for (const auto& [name, file] : KindsOfFile()) {
    const DibResult r = ReadBmp(file);
    ASSERT_TRUE(r.dib) << name << ": " << r.error;
    const TDib& dib = *r.dib;
    BmpInfo info;
    std::string why;
    ASSERT_TRUE(ReadBmpInfo(file, &info, &why)) << name << ": " << why;
    EXPECT_EQ(info.width, dib.Width()) << name;
    EXPECT_EQ(info.height, dib.Height()) << name;
    EXPECT_EQ(info.bitsPerPixel, dib.IsIndexed() ? 8 : 32) << name;
    EXPECT_EQ(info.numColors, dib.NumColors()) << name;

    for (bool bottomUp : {false, true}) {
      SCOPED_TRACE(std::string(name) + (bottomUp ? ", bottom-up" : ", top-down"));
      const size_t step = info.RowBytes() + 3;
      Bytes memory(2 * kMargin + step * size_t(info.height), kFill);
      std::vector<TRgbQuad> colors(size_t(info.numColors) + 1, TRgbQuad{1, 2, 3, 4});
      const BmpTarget target{std::span(memory).subspan(kMargin, step * size_t(info.height)),
                             bottomUp ? -ptrdiff_t(step) : ptrdiff_t(step), colors};
      BmpInfo written;
      ASSERT_TRUE(ReadBmpInto(file, target, &written, &why)) << why;
      EXPECT_EQ(written.RowBytes(), info.RowBytes());

      Bytes expected(memory.size(), kFill);
      for (int y = 0; y < info.height; ++y) {
        const size_t row = kMargin + size_t(bottomUp ? info.height - 1 - y : y) * step;
        for (int x = 0; x < info.width; ++x) {
          if (dib.IsIndexed()) {
            expected[row + size_t(x)] = uint8_t(dib.GetPixelIndex(x, y));
            continue;
          }
          const int bytes = dib.BitsPerPixel() / 8;
          const uint8_t* px = dib.ScanLine(y) + x * bytes;
          for (int i = 0; i < 4; ++i)
            expected[row + 4 * size_t(x) + size_t(i)] = i < bytes ? px[i] : 0;
        }
      }
      EXPECT_EQ(memory, expected);
      for (int i = 0; i < dib.NumColors(); ++i)
        EXPECT_EQ(TColor(colors[size_t(i)]), TColor(dib.GetColor(i))) << i;
      EXPECT_EQ(colors.back().rgbReserved, 4);  // past the table: untouched
    }
  }
}

TEST(BmpReadTest, IntoABufferTooSmallIsRefusedAndNothingWritten) {
  BmpParts p;
  p.width = 3, p.height = 3, p.clrUsed = 9, p.colors = Grey(9);
  p.pixels = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 0, 0};
  const Bytes file = Build(p);
  Bytes memory(64, 0xEE);
  std::vector<TRgbQuad> colors(9);
  const std::span<uint8_t> all(memory);
  struct Case {
    const char* what;
    std::span<uint8_t> pixels;
    ptrdiff_t stride;
    size_t colors;
    const char* reason;
  } cases[] = {
      {"one byte short", all.first(2 * 4 + 2), 4, 9, "cannot hold 3 rows"},
      {"one byte short, bottom-up", all.first(2 * 4 + 2), -4, 9, "cannot hold 3 rows"},
      {"stride shorter than a row", all, 2, 9, "shorter than a row"},
      {"zero stride", all, 0, 9, "shorter than a row"},
      {"most negative stride", all, PTRDIFF_MIN, 9, "cannot hold"},
      {"no buffer", {}, 3, 9, "cannot hold"},
      {"colour table short", all, 4, 8, "colour table of 9 entries"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(ReadBmpInto(file, BmpTarget{c.pixels, c.stride, std::span(colors).first(c.colors)},
                             nullptr, &why))
        << c.what;
    EXPECT_EQ(why.rfind("BMP: ", 0), 0u) << c.what << ": " << why;
    EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
    EXPECT_EQ(memory, Bytes(64, 0xEE)) << c.what;
  }
  // The last row needs no padding after it.
  ASSERT_TRUE(ReadBmpInto(file, BmpTarget{all.first(2 * 4 + 3), -4, colors}, nullptr, nullptr));
  EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 12),
            (Bytes{1, 2, 3, 0xEE, 4, 5, 6, 0xEE, 7, 8, 0, 0xEE}));
}

}  // namespace
}  // namespace quill
