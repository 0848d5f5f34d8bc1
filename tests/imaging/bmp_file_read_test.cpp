// Reading a bitmap file (or a byte range of one) in one pass gives exactly the DIB that decoding
// the same bytes in memory gives, at every depth, both row orders and any padding bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "quillui/framework/image/bmp_codec.h"
#include "tests/imaging/set_bytes.h"

namespace quill::test {
namespace {

// An uncompressed file with a full colour table at indexed depths; row bytes and padding are
// a pattern that is never 0, so padding that leaked into the DIB would show.
std::vector<uint8_t> RawBmp(int width, int height, int bits, bool topDown) {
  const uint32_t colors = bits <= 8 ? 1u << bits : 0;
  const uint32_t stride = (uint32_t(width) * uint32_t(bits) + 31) / 32 * 4;
  const uint32_t offBits = 14 + 40 + colors * 4;
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, offBits + stride * uint32_t(height));
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, uint32_t(width));
  Put32(out, uint32_t(topDown ? -height : height));
  out.insert(out.end(), {1, 0, uint8_t(bits), 0});
  Put32(out, BI_RGB);
  Put32(out, stride * uint32_t(height));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, colors);
  Put32(out, 0);
  for (uint32_t i = 0; i < colors; ++i) {
    out.insert(out.end(), {uint8_t(i * 3), uint8_t(i * 5), uint8_t(i * 7), 0});
  }
  for (uint32_t i = 0; i < stride * uint32_t(height); ++i) out.push_back(uint8_t(i * 13 + 1));
  return out;
}

TEST(BmpFileReadTest, OnePassReadEqualsTheDecodeOfTheSameBytes) {
  char pattern[] = "/tmp/quill-bmpfile-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  for (int bits : {1, 4, 8, 24, 32}) {
    for (int width : {1, 5, 13, 64}) {
      for (bool topDown : {false, true}) {
        SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(width) +
                     (topDown ? ", top-down" : ", bottom-up"));
        const auto bmp = RawBmp(width, 7, bits, topDown);
        const DibResult want = ReadBmp(bmp);
        ASSERT_TRUE(want.dib) << want.error;
        // Alone in a file, and as a byte range between other bytes.
        std::vector<uint8_t> packed(37, 0x55);
        packed.insert(packed.end(), bmp.begin(), bmp.end());
        packed.insert(packed.end(), 11, 0x66);
        WriteBytes(dir + "/alone.bmp", bmp);
        WriteBytes(dir + "/packed.bin", packed);
        const DibResult results[] = {ReadBmpFile(dir + "/alone.bmp"),
                                     ReadBmpFile(dir + "/packed.bin", 37),
                                     ReadBmpFile(dir + "/packed.bin", 37, bmp.size())};
        for (const DibResult& got : results) {
          ASSERT_TRUE(got.dib) << got.error;
          ASSERT_EQ(got.dib->SizeImage(), want.dib->SizeImage());
          EXPECT_EQ(std::memcmp(got.dib->Bits(), want.dib->Bits(), want.dib->SizeImage()), 0);
          ASSERT_EQ(got.dib->NumColors(), want.dib->NumColors());
          for (int i = 0; i < want.dib->NumColors(); ++i) {
            EXPECT_EQ(std::memcmp(&got.dib->GetColors()[i], &want.dib->GetColors()[i], 3), 0);
          }
          EXPECT_EQ(got.dib->InfoHeader().biXPelsPerMeter, 2835);
        }
        // One byte short of the pixels: refused for the same reason as in memory.
        const DibResult cut = ReadBmpFile(dir + "/packed.bin", 37, bmp.size() - 1);
        EXPECT_FALSE(cut.dib);
        EXPECT_EQ(cut.error, ReadBmp(std::span(bmp).first(bmp.size() - 1)).error);
      }
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quill::test
