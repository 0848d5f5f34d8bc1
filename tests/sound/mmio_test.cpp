// The file layer under the RIFF reader: positions kept in the handle, reads served from the
// read-ahead window of a read-only handle across its edges, and sizes grown by writes.
#include <gtest/gtest.h>

#include "quillui/sound/mmio.h"
#include "wave_bytes.h"

namespace quill::test {
namespace {

Bytes Pattern(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(i * 7 + i / 251);
  return b;
}

TEST(MmioTest, ReadsAnywhereGiveTheFilesBytes) {
  ScratchDir dir;
  const Bytes content = Pattern(10000);
  WriteBytes(dir / "f", content);
  HMMIO h = mmioOpen((dir / "f").c_str(), MMIO_READ);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(mmioFileSize(h), 10000);

  struct Step {
    long seekTo;  // absolute position first
    long count;
  };
  // Small reads inside and across the window's edge, a large one starting in the window,
  // going back before the window, and reads at and past the end.
  const Step steps[] = {{0, 8},    {8, 4},     {4090, 12}, {4000, 5000}, {100, 3},
                        {9998, 8}, {10000, 4}, {12000, 4}, {5, 0}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.seekTo);
    ASSERT_EQ(mmioSeek(h, s.seekTo, 0), s.seekTo);
    Bytes got(size_t(s.count) + 1, 0xEE);
    const long n = mmioRead(h, got.data(), s.count);
    const long expect = std::max(0L, std::min(s.count, 10000 - s.seekTo));
    ASSERT_EQ(n, expect);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + n),
              Bytes(content.begin() + std::min(s.seekTo, 10000L),
                    content.begin() + std::min(s.seekTo, 10000L) + n));
    EXPECT_EQ(mmioSeek(h, 0, 1), s.seekTo + n);
  }
  EXPECT_EQ(mmioSeek(h, -3, 2), 9997);
  EXPECT_EQ(mmioSeek(h, -1, 0), -1);
  EXPECT_EQ(mmioSeek(h, 0, 1), 9997);  // a refused seek leaves the position
  EXPECT_EQ(mmioSeek(h, 0, 3), -1);
  EXPECT_TRUE(mmioClose(h));
}

TEST(MmioTest, WritesGrowTheSizeAndReadWriteHandlesSeeTheirOwnWrites) {
  ScratchDir dir;
  const std::string path = dir / "w";
  HMMIO h = mmioOpen(path.c_str(), MMIO_CREATE | MMIO_READWRITE);
  ASSERT_NE(h, nullptr);
  const Bytes ten = Pattern(10);
  ASSERT_EQ(mmioWrite(h, ten.data(), 10), 10);
  EXPECT_EQ(mmioSeek(h, 0, 2), 10);
  ASSERT_EQ(mmioSeek(h, 20, 0), 20);
  ASSERT_EQ(mmioWrite(h, ten.data(), 2), 2);
  EXPECT_EQ(mmioFileSize(h), 22);

  ASSERT_EQ(mmioSeek(h, 4, 0), 4);
  ASSERT_EQ(mmioWrite(h, "xy", 2), 2);
  ASSERT_EQ(mmioSeek(h, 3, 0), 3);
  uint8_t back[4] = {};
  ASSERT_EQ(mmioRead(h, back, 4), 4);
  EXPECT_EQ(Bytes(back, back + 4), (Bytes{ten[3], 'x', 'y', ten[6]}));
  EXPECT_TRUE(mmioClose(h));

  Bytes expect = ten;
  expect[4] = 'x';
  expect[5] = 'y';
  expect.resize(20, 0);
  expect.insert(expect.end(), ten.begin(), ten.begin() + 2);
  EXPECT_EQ(ReadBytes(path), expect);
}

}  // namespace
}  // namespace quill::test
