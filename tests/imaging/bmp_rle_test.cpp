// Bitmap files as everyday tools write them, decoded pixel for pixel: run-length files whose
// rows end in a padding run past the row's end, and PNG variants, against independent decodes.
#include <gtest/gtest.h>

#include <string>

#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/png_codec.h"
#include "tests/imaging/set_bytes.h"

namespace quill::test {
namespace {

std::string Fixture(const std::string& name) {
  std::string root = QUILL_TEST_DATA_DIR;  // tests/data
  root.resize(root.rfind('/'));
  return root + "/imaging/fixtures/" + name;
}

void ExpectSamePixels(const TDib& got, const TDib& want) {
  ASSERT_EQ(got.Width(), want.Width());
  ASSERT_EQ(got.Height(), want.Height());
  int wrong = 0;
  for (int y = 0; y < want.Height(); ++y)
    for (int x = 0; x < want.Width(); ++x)
      if (got.GetPixelColor(x, y) != want.GetPixelColor(x, y) && ++wrong <= 5) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex
                      << got.GetPixelColor(x, y).GetValue() << " not "
                      << want.GetPixelColor(x, y).GetValue();
      }
  EXPECT_EQ(wrong, 0);
}

// Files written by "convert picture.png -type Palette -colors 256 BMP3:out.bmp" (8-bit RLE,
// widths that are not a multiple of 4), each against the PNG it was made from and the PNG the
// same tool decodes it to.
TEST(BmpRleTest, PaddingRunsPastTheRowEndAreClippedAndPixelsAreExact) {
  struct Case {
    const char* bmp;
    const char* source;     // the picture it was made from, when no colour was lost
    const char* reference;  // the tool's own decode of the bitmap
  };
  const Case cases[] = {
      {"rle8_w13.bmp", "src13.png", "rle8_w13.ref.png"},
      {"rle8_w30.bmp", "src30.png", "rle8_w30.ref.png"},
      {"rle_16col.bmp", nullptr, "rle_16col.ref.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bmp);
    const auto bytes = ReadBytes(Fixture(c.bmp));
    ASSERT_GT(bytes.size(), 54u);
    ASSERT_EQ(bytes[30], BI_RLE8);  // the files really are run-length encoded
    const DibResult bmp = ReadBmpFile(Fixture(c.bmp));
    ASSERT_TRUE(bmp.dib) << bmp.error;
    const DibResult ref = ReadPngFile(Fixture(c.reference));
    ASSERT_TRUE(ref.dib) << ref.error;
    ExpectSamePixels(*bmp.dib, *ref.dib);
    if (c.source != nullptr) {
      const DibResult src = ReadPngFile(Fixture(c.source));
      ASSERT_TRUE(src.dib) << src.error;
      ExpectSamePixels(*bmp.dib, *src.dib);
    }
  }
}

// PNG variants of the same pictures: a palette PNG and a 16-bit-per-channel one.
TEST(BmpRleTest, PngVariantsDecodeToTheSamePixels) {
  const DibResult pal = ReadPngFile(Fixture("pal_w30.png"));
  const DibResult src30 = ReadPngFile(Fixture("src30.png"));
  ASSERT_TRUE(pal.dib && src30.dib);
  ExpectSamePixels(*pal.dib, *src30.dib);
  const DibResult deep = ReadPngFile(Fixture("rgb16_w13.png"));
  const DibResult src13 = ReadPngFile(Fixture("src13.png"));
  ASSERT_TRUE(deep.dib && src13.dib);
  ExpectSamePixels(*deep.dib, *src13.dib);
}

// A small RLE file: width 5, two rows, 16 grey entries, the given stream.
std::vector<uint8_t> RleFile(bool rle4, const std::vector<uint8_t>& stream) {
  std::vector<uint8_t> out = {'B', 'M'};
  const uint32_t colors = 16, offBits = 14 + 40 + colors * 4;
  Put32(out, offBits + uint32_t(stream.size()));
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, 5);  // width
  Put32(out, 2);  // height
  out.insert(out.end(), {1, 0, uint8_t(rle4 ? 4 : 8), 0});
  Put32(out, rle4 ? BI_RLE4 : BI_RLE8);
  Put32(out, uint32_t(stream.size()));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, colors);
  Put32(out, 0);
  for (uint32_t i = 0; i < colors; ++i) out.insert(out.end(), {uint8_t(i), uint8_t(i), 0, 0});
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

TEST(BmpRleTest, RunsAndAbsoluteRunsAreClippedAtTheRowEndAtBothDepths) {
  struct Case {
    const char* what;
    bool rle4;
    std::vector<uint8_t> stream;
    int bottom[5];
    int top[5];
  };
  const Case cases[] = {
      // Bottom row: a run of 6 over a width of 5, then a run with no room left; top row: an
      // absolute run of 7.
      {"rle8",
       false,
       {6, 9, 2, 4, 0, 0, 0, 7, 1, 2, 3, 4, 5, 6, 7, 0, 0, 1},
       {9, 9, 9, 9, 9},
       {1, 2, 3, 4, 5}},
      {"rle4",
       true,
       {6, 0x12, 2, 0x44, 0, 0, 0, 7, 0x34, 0x56, 0x78, 0x9A, 0, 1},
       {1, 2, 1, 2, 1},
       {3, 4, 5, 6, 7}},
      // A padding run that starts exactly at the row's end.
      {"rle8 at the end", false, {5, 3, 3, 0, 0, 0, 2, 8, 0, 1}, {3, 3, 3, 3, 3}, {8, 8, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto file = RleFile(c.rle4, c.stream);
    const DibResult r = ReadBmp(file);
    ASSERT_TRUE(r.dib) << r.error;
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(r.dib->GetPixelIndex(x, 1), c.bottom[x]) << "bottom " << x;
      EXPECT_EQ(r.dib->GetPixelIndex(x, 0), c.top[x]) << "top " << x;
    }
  }
}

}  // namespace
}  // namespace quill::test
