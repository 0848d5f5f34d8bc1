#include "quillui/framework/image/dib.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace quill {
namespace {

struct SizeCase {
  int width, height, bits, colors;
  bool ok;
};

TEST(DibTest, ConstructionAcceptsOnlySaneSizesDepthsAndColourCounts) {
  const SizeCase cases[] = {
      {1, 1, 1, 0, true},
      {kDibMaxSide, int(kDibMaxPixels / kDibMaxSide), 1, 0, true},  // exactly at the pixel cap
      {kDibMaxSide, int(kDibMaxPixels / kDibMaxSide) + 1, 1, 0, false},
      {kDibMaxSide + 1, 1, 8, 0, false},
      {1, kDibMaxSide + 1, 8, 0, false},
      {0, 1, 8, 0, false},
      {1, 0, 8, 0, false},
      {-3, 5, 8, 0, false},
      {5, -3, 8, 0, false},
      {4, 4, 16, 0, false},
      {4, 4, 2, 0, false},
      {4, 4, 0, 0, false},
      {4, 4, 4, 16, true},
      {4, 4, 4, 17, false},
      {4, 4, 8, -1, false},
      {4, 4, 24, 1, false},
      {4, 4, 32, 0, true},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.width << "x" << c.height << "x" << c.bits << " colours " << c.colors);
    TDib dib(c.width, c.height, c.bits, c.colors);
    EXPECT_EQ(dib.IsOK(), c.ok);
    if (!c.ok) {
      EXPECT_EQ(dib.Bits(), nullptr);
      EXPECT_EQ(dib.ScanLine(0), nullptr);
    }
  }
  EXPECT_NE(TDib::CheckDimensions(0, 1), nullptr);
  EXPECT_NE(TDib::CheckDimensions(INT64_MAX, INT64_MAX), nullptr);
  EXPECT_EQ(TDib::CheckDimensions(kDibMaxSide, 4096), nullptr);
}

TEST(DibTest, RowsArePaddedToFourBytesAndTheHeaderAgrees) {
  struct {
    int width, bits;
    size_t stride;
  } cases[] = {
      {1, 1, 4}, {32, 1, 4},  {33, 1, 8},  {8, 4, 4},  {9, 4, 8},
      {5, 8, 8}, {3, 24, 12}, {5, 24, 16}, {1, 32, 4}, {3, 32, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " pixels at " << c.bits << " bits");
    TDib dib(c.width, 3, c.bits);
    ASSERT_TRUE(dib.IsOK());
    EXPECT_EQ(dib.BytesPerLine(), c.stride);
    EXPECT_EQ(dib.SizeImage(), c.stride * 3);
    const TBitmapInfoHeader& h = dib.InfoHeader();
    EXPECT_EQ(h.biWidth, c.width);
    EXPECT_EQ(h.biHeight, 3);
    EXPECT_EQ(h.biBitCount, c.bits);
    EXPECT_EQ(h.biCompression, BI_RGB);
    EXPECT_EQ(h.biSizeImage, c.stride * 3);
    EXPECT_EQ(dib.NumColors(), c.bits <= 8 ? 1 << c.bits : 0);
  }
}

TEST(DibTest, ScanLineCountsFromTheTopWhileStorageIsBottomUp) {
  TDib dib(3, 4, 8);
  ASSERT_TRUE(dib.IsOK());
  EXPECT_EQ(dib.ScanLine(0), dib.Bits() + 3 * dib.BytesPerLine());
  EXPECT_EQ(dib.ScanLine(3), dib.Bits());
  EXPECT_EQ(dib.ScanLine(-1), nullptr);
  EXPECT_EQ(dib.ScanLine(4), nullptr);

  ASSERT_TRUE(dib.SetPixelIndex(2, 0, 77));
  EXPECT_EQ(dib.Bits()[3 * dib.BytesPerLine() + 2], 77);
  EXPECT_EQ(dib.GetPixelIndex(2, 0), 77);
}

// The version a cache keys on: new with every object and copy, new after every call that can
// write, the same after reads.
TEST(DibTest, EveryWayOfWritingChangesTheVersionAndReadingNone) {
  TDib dib(4, 3, 8);
  const TDib& view = dib;
  const uint64_t first = dib.Version();
  view.ScanLine(0);
  view.Bits();
  view.GetColors();
  view.GetPixelIndex(1, 1);
  EXPECT_EQ(dib.Version(), first);
  const std::function<void()> writes[] = {
      [&] { dib.ScanLine(1); },
      [&] { dib.Bits(); },
      [&] { dib.GetColors(); },
      [&] { dib.SetColor(3, TColor::White); },
      [&] {
        dib.SetColor(4, TRgbQuad{1, 2, 3, 0});
      },
      [&] { dib.SetPixelIndex(0, 0, 9); },
      [&] { dib.SetPelsPerMeter(10, 10); },
      [&] { dib = TDib(4, 3, 8); },
  };
  uint64_t last = first;
  for (size_t i = 0; i < std::size(writes); ++i) {
    writes[i]();
    EXPECT_NE(dib.Version(), last) << "write " << i;
    last = dib.Version();
  }
  TDib copy = dib;
  EXPECT_NE(copy.Version(), dib.Version());
  TDib moved = std::move(copy);
  EXPECT_NE(moved.Version(), dib.Version());
}

TEST(DibTest, PackedIndicesAreMostSignificantFirst) {
  TDib mono(10, 1, 1);
  ASSERT_TRUE(mono.SetPixelIndex(0, 0, 1));
  ASSERT_TRUE(mono.SetPixelIndex(9, 0, 1));
  EXPECT_EQ(mono.Bits()[0], 0x80);
  EXPECT_EQ(mono.Bits()[1], 0x40);
  ASSERT_TRUE(mono.SetPixelIndex(0, 0, 0));
  EXPECT_EQ(mono.Bits()[0], 0x00);
  EXPECT_EQ(mono.GetPixelIndex(9, 0), 1);
  EXPECT_FALSE(mono.SetPixelIndex(1, 0, 2));

  TDib nibbles(3, 1, 4);
  ASSERT_TRUE(nibbles.SetPixelIndex(0, 0, 0xA));
  ASSERT_TRUE(nibbles.SetPixelIndex(1, 0, 0x5));
  ASSERT_TRUE(nibbles.SetPixelIndex(2, 0, 0xF));
  EXPECT_EQ(nibbles.Bits()[0], 0xA5);
  EXPECT_EQ(nibbles.Bits()[1], 0xF0);
  EXPECT_EQ(nibbles.GetPixelIndex(1, 0), 5);
  EXPECT_FALSE(nibbles.SetPixelIndex(0, 0, 16));

  EXPECT_FALSE(nibbles.SetPixelIndex(3, 0, 1));
  EXPECT_FALSE(nibbles.SetPixelIndex(0, 1, 1));
  EXPECT_EQ(nibbles.GetPixelIndex(-1, 0), -1);

  TDib rgb(2, 2, 24);
  EXPECT_FALSE(rgb.SetPixelIndex(0, 0, 1));
  EXPECT_EQ(rgb.GetPixelIndex(0, 0), -1);
}

TEST(DibTest, PixelColourComesFromTheTableOrTheBytesThemselves) {
  TDib indexed(2, 1, 8, 3);
  ASSERT_TRUE(indexed.SetColor(2, TColor(10, 20, 30)));
  EXPECT_EQ(indexed.GetColor(2), (TRgbQuad{30, 20, 10, 0}));
  EXPECT_FALSE(indexed.SetColor(3, TColor::White));
  EXPECT_EQ(indexed.GetColor(3), TRgbQuad{});
  indexed.SetPixelIndex(0, 0, 2);
  indexed.SetPixelIndex(1, 0, 200);  // no table entry
  EXPECT_EQ(indexed.GetPixelColor(0, 0), TColor(10, 20, 30));
  EXPECT_EQ(indexed.GetPixelColor(1, 0), TColor::None);
  EXPECT_FALSE(indexed.SetPixelColor(0, 0, TColor::White));

  TDib rgb(2, 2, 24);
  ASSERT_TRUE(rgb.SetPixelColor(1, 1, TColor(1, 2, 3)));
  const uint8_t* p = rgb.Bits() + 3;  // bottom row, second pixel
  EXPECT_EQ(p[0], 3);
  EXPECT_EQ(p[1], 2);
  EXPECT_EQ(p[2], 1);
  EXPECT_EQ(rgb.GetPixelColor(1, 1), TColor(1, 2, 3));
  EXPECT_EQ(rgb.GetPixelColor(2, 1), TColor::None);

  TDib rgba(1, 1, 32);
  rgba.Bits()[3] = 0x99;
  ASSERT_TRUE(rgba.SetPixelColor(0, 0, TColor(4, 5, 6)));
  EXPECT_EQ(rgba.Bits()[3], 0x99);
  EXPECT_EQ(rgba.GetPixelColor(0, 0), TColor(4, 5, 6));
}

TEST(DibTest, CopiesAreIndependent) {
  TDib a(2, 2, 8, 2);
  a.SetColor(1, TColor::LtRed);
  a.SetPixelIndex(1, 1, 1);
  TDib b = a;
  b.SetPixelIndex(1, 1, 0);
  b.SetColor(1, TColor::LtBlue);
  EXPECT_EQ(a.GetPixelIndex(1, 1), 1);
  EXPECT_EQ(a.GetPixelColor(1, 1), TColor::LtRed);
  EXPECT_EQ(b.NumColors(), 2);
}

class DibFileReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "dibXXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir_.c_str())) {
      while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] != '.') names.emplace_back(e->d_name);
      }
      ::closedir(d);
    }
    return names;
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string dir_;
};

TEST_F(DibFileReplaceTest, ReplacesContentsAndLeavesNoTemporaryFile) {
  const std::string path = dir_ + "out.bin";
  const std::vector<uint8_t> first{'o', 'l', 'd', '!'};
  const std::vector<uint8_t> second{'n', 'e', 'w'};
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(path, first, &error)) << error;
  ASSERT_TRUE(WriteFileReplacing(path, second, &error)) << error;
  EXPECT_EQ(Contents(path), "new");
  EXPECT_EQ(Entries(), std::vector<std::string>{"out.bin"});
}

TEST_F(DibFileReplaceTest, KeepsTheReplacedFileAsABackup) {
  auto Sorted = [](std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::string path = dir_ + "out.bin";
  const std::string bak = path + ".bak";
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(path, std::vector<uint8_t>{'1'}, &error, bak)) << error;
  EXPECT_EQ(Entries(), std::vector<std::string>{"out.bin"});  // nothing to keep yet
  ASSERT_TRUE(WriteFileReplacing(path, std::vector<uint8_t>{'2'}, &error, bak)) << error;
  ASSERT_TRUE(WriteFileReplacing(path, std::vector<uint8_t>{'3'}, &error, bak)) << error;
  EXPECT_EQ(Contents(path), "3");
  EXPECT_EQ(Contents(bak), "2");
  EXPECT_EQ(Sorted(Entries()), (std::vector<std::string>{"out.bin", "out.bin.bak"}));

  EXPECT_FALSE(WriteFileReplacing(path, std::vector<uint8_t>{'4'}, &error, dir_ + "no/out.bak"));
  EXPECT_NE(error.find("no/out.bak"), std::string::npos) << error;
  EXPECT_EQ(Contents(path), "3");
  EXPECT_EQ(Contents(bak), "2");
  EXPECT_EQ(Sorted(Entries()), (std::vector<std::string>{"out.bin", "out.bin.bak"}));
}

TEST_F(DibFileReplaceTest, FailureKeepsWhatWasThereAndCleansUp) {
  // A directory in the target's place makes the final rename fail after the data is written.
  const std::string target = dir_ + "taken";
  ASSERT_EQ(::mkdir(target.c_str(), 0755), 0);
  ASSERT_EQ(::close(::open((target + "/keep").c_str(), O_CREAT | O_WRONLY, 0644)), 0);
  std::string error;
  EXPECT_FALSE(WriteFileReplacing(target, std::vector<uint8_t>{1, 2, 3}, &error));
  EXPECT_NE(error.find("taken"), std::string::npos) << error;
  EXPECT_EQ(Entries(), std::vector<std::string>{"taken"});
  struct stat st {};
  EXPECT_EQ(::stat((target + "/keep").c_str(), &st), 0);

  EXPECT_FALSE(WriteFileReplacing(dir_ + "missing/out.bin", std::vector<uint8_t>{1}, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace quill
