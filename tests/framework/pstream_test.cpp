#include "quillui/framework/stream/pstream.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

// Counts the calls of Read, to show a failed stream never reaches an object.
class Counter : public TStreamableBase {
 public:
  const char* streamableName() const override { return "Counter"; }
  void Write(opstream&) const override {}
  void Read(ipstream&) override { ++reads; }
  int reads = 0;
};

class PStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "pstreamXXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  std::string dir_;
};

// ---- byte layout ---------------------------------------------------------------------------

TEST_F(PStreamTest, PrimitivesHaveTheDocumentedBytes) {
  omemstream os;
  os.writeByte(0xAB);
  os.writeWord16(0x1234);
  os.writeWord(0x89ABCDEF);
  os.writeWord64(0x0102030405060708ull);
  os << "hi" << static_cast<const char*>(nullptr) << std::string() << int16_t(-2) << true;
  const Bytes expected = {0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0x08, 0x07, 0x06, 0x05,
                          0x04, 0x03, 0x02, 0x01, 0x02, 0x00, 0x00, 0x00, 'h',  'i',  0xFF,
                          0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFE, 0xFF, 0x01};
  EXPECT_EQ(os.bytes(), expected);
  EXPECT_EQ(os.tellp(), expected.size());
}

// ---- round trips ---------------------------------------------------------------------------

// Everything the layer can write, then the same read back and compared, so one pair of
// functions serves memory and files alike.
void WriteEveryPrimitive(opstream& os) {
  os.writeVersion();
  os.writeByte(0);
  os.writeByte(0xFF);
  os.writeWord16(0xFFFF);
  os.writeWord32(0xDEADBEEF);
  os.writeWord64(UINT64_MAX);
  os << std::numeric_limits<int8_t>::min() << std::numeric_limits<uint8_t>::max()
     << std::numeric_limits<int16_t>::min() << std::numeric_limits<uint16_t>::max()
     << std::numeric_limits<int32_t>::min() << std::numeric_limits<uint32_t>::max()
     << std::numeric_limits<int64_t>::min() << std::numeric_limits<uint64_t>::max() << 'q' << false
     << true << -1L << 123456789012LL << -1;
  os << "" << std::string("with\0nul", 8) << std::string(5000, 'z') << "caf\xC3\xA9";
  os << static_cast<const char*>(nullptr) << "ABCDEFG"
     << "tail";
  Bytes block(10000);
  for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i * 7);
  os.writeBytes(block.data(), block.size());
  // Three-byte steps: some word must straddle the end of the file reader's buffer.
  for (uint32_t k = 0; k < 3000; ++k) {
    os.writeWord16(uint16_t(k * 40503u));
    os.writeByte(uint8_t(k));
  }
}

void ReadEveryPrimitive(ipstream& is) {
  EXPECT_EQ(is.readVersion(), pstream::kVersion);
  EXPECT_EQ(is.getVersion(), pstream::kVersion);
  EXPECT_EQ(is.readByte(), 0);
  EXPECT_EQ(is.readByte(), 0xFF);
  EXPECT_EQ(is.readWord16(), 0xFFFF);
  EXPECT_EQ(is.readWord(), 0xDEADBEEF);
  EXPECT_EQ(is.readWord64(), UINT64_MAX);
  int8_t i8 = 0;
  uint8_t u8 = 0;
  int16_t i16 = 0;
  uint16_t u16 = 0;
  int32_t i32 = 0;
  uint32_t u32 = 0;
  int64_t i64 = 0;
  uint64_t u64 = 0;
  char c = 0;
  bool f = true, t = false;
  long l = 0;
  long long ll = 0;
  int i = 0;
  is >> i8 >> u8 >> i16 >> u16 >> i32 >> u32 >> i64 >> u64 >> c >> f >> t >> l >> ll >> i;
  EXPECT_EQ(i8, std::numeric_limits<int8_t>::min());
  EXPECT_EQ(u8, std::numeric_limits<uint8_t>::max());
  EXPECT_EQ(i16, std::numeric_limits<int16_t>::min());
  EXPECT_EQ(u16, std::numeric_limits<uint16_t>::max());
  EXPECT_EQ(i32, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(u32, std::numeric_limits<uint32_t>::max());
  EXPECT_EQ(i64, std::numeric_limits<int64_t>::min());
  EXPECT_EQ(u64, std::numeric_limits<uint64_t>::max());
  EXPECT_EQ(c, 'q');
  EXPECT_FALSE(f);
  EXPECT_TRUE(t);
  EXPECT_EQ(l, -1L);
  EXPECT_EQ(ll, 123456789012LL);
  EXPECT_EQ(i, -1);

  std::string s1 = "x", s2, s3, s4, s5 = "x";
  is >> s1 >> s2 >> s3 >> s4;
  EXPECT_EQ(s1, "");
  EXPECT_EQ(s2, std::string("with\0nul", 8));
  EXPECT_EQ(s3, std::string(5000, 'z'));
  EXPECT_EQ(s4, "caf\xC3\xA9");
  bool wasNull = false;
  EXPECT_TRUE(is.readString(s5, &wasNull));
  EXPECT_TRUE(wasNull);
  EXPECT_EQ(s5, "");
  char code[5] = "....";
  is >> code;  // cut to fit; the rest of the string is skipped, not left behind
  EXPECT_STREQ(code, "ABCD");
  char tail[16];
  is >> tail;
  EXPECT_STREQ(tail, "tail");

  Bytes block(10000);
  ASSERT_TRUE(is.readBytes(block.data(), block.size()));
  for (size_t k = 0; k < block.size(); ++k) ASSERT_EQ(block[k], uint8_t(k * 7)) << k;
  for (uint32_t k = 0; k < 3000; ++k) {
    ASSERT_EQ(is.readWord16(), uint16_t(k * 40503u)) << k;
    ASSERT_EQ(is.readByte(), uint8_t(k)) << k;
  }
  EXPECT_TRUE(is.good());
  EXPECT_EQ(is.remaining(), 0u);
  // Exactly at the end is not yet a failure; one more byte is.
  EXPECT_EQ(is.readByte(), 0);
  EXPECT_TRUE(is.eof());
  EXPECT_EQ(is.error(), PStreamError::EndOfData);
}

TEST_F(PStreamTest, EveryPrimitiveRoundTripsThroughMemory) {
  omemstream os;
  WriteEveryPrimitive(os);
  ASSERT_TRUE(os.good());
  imemstream is(os.span());
  ReadEveryPrimitive(is);
}

TEST_F(PStreamTest, EveryPrimitiveRoundTripsThroughAFile) {
  const std::string path = dir_ + "prims.bin";
  omemstream mem;
  WriteEveryPrimitive(mem);
  {
    ofpstream os(path);
    ASSERT_TRUE(os.is_open());
    WriteEveryPrimitive(os);
    EXPECT_TRUE(os.close());
  }
  EXPECT_EQ(ReadFile(path), mem.bytes());
  ifpstream is(path);
  ASSERT_TRUE(is.is_open());
  ReadEveryPrimitive(is);
}

TEST_F(PStreamTest, ReadVersionLeavesDataWithoutAHeaderUntouched) {
  const std::string path = dir_ + "list.bin";
  WriteFile(path, {'B', 'M', 'K', 'L', 2, 0, 0, 0});
  ifpstream is(path);
  EXPECT_EQ(is.readVersion(), 0u);
  EXPECT_EQ(is.getVersion(), 0u);
  EXPECT_EQ(is.tellg(), 0u);
  EXPECT_EQ(is.readWord32(), 0x4C4B4D42u);
  EXPECT_EQ(is.readWord32(), 2u);
  EXPECT_TRUE(is.good());

  struct Case {
    Bytes bytes;
    uint32_t version;
    PStreamError error;
  };
  const Case cases[] = {
      {{}, 0, PStreamError::None},
      {{'Q', 'P', 'S'}, 0, PStreamError::None},                  // too short to be a header
      {{'Q', 'P', 'S', 'V', 1, 0}, 0, PStreamError::EndOfData},  // a header cut short
      {{'Q', 'P', 'S', 'V', 0, 0, 0, 0}, 0, PStreamError::BadVersion},
      {{'Q', 'P', 'S', 'V', 2, 0, 0, 0}, 0, PStreamError::BadVersion},
      {{'Q', 'P', 'S', 'V', 1, 0, 0, 0}, 1, PStreamError::None},
  };
  for (const Case& c : cases) {
    imemstream mem(c.bytes);
    EXPECT_EQ(mem.readVersion(), c.version) << c.bytes.size();
    EXPECT_EQ(mem.error(), c.error) << c.bytes.size();
  }
}

// ---- failures ------------------------------------------------------------------------------

TEST_F(PStreamTest, AFailedStreamRefusesEveryFurtherReadUntilCleared) {
  // A good string, then a length that runs past the end.
  omemstream os;
  os << "ok";
  os.writeWord32(1000);
  os << "more than nothing";
  imemstream is(os.span());
  std::string text;
  is >> text;
  EXPECT_EQ(text, "ok");
  is >> text;
  ASSERT_TRUE(is.eof());
  EXPECT_EQ(is.error(), PStreamError::LengthPastEnd);
  EXPECT_EQ(is.errorOffset(), 6u);
  const uint64_t where = is.tellg();

  EXPECT_EQ(text, "ok");
  uint8_t block[4] = {1, 2, 3, 4};
  EXPECT_FALSE(is.readBytes(block, 4));
  EXPECT_EQ(block[0], 1);
  char buffer[4] = "abc";
  EXPECT_FALSE(is.readString(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "abc");
  int32_t number = 77;
  is >> number;
  EXPECT_EQ(number, 77);
  EXPECT_EQ(is.readWord(), 0u);
  EXPECT_EQ(is.readVersion(), 0u);
  EXPECT_EQ(is.readObjectPtr(), nullptr);
  Counter counter;
  EXPECT_FALSE(is.readObject(counter));
  EXPECT_EQ(counter.reads, 0);
  EXPECT_EQ(is.tellg(), where);
  EXPECT_EQ(is.error(), PStreamError::LengthPastEnd);

  is.clear();
  EXPECT_TRUE(is.good());
  EXPECT_EQ(is.error(), PStreamError::None);
  EXPECT_EQ(is.readWord32(), 17u);  // the length of "more than nothing"

  // Writers stop the same way.
  omemstream out;
  out.setError(PStreamError::BadObjectData);
  out << "ignored" << uint32_t(1);
  EXPECT_EQ(out.tellp(), 0u);
  EXPECT_TRUE(out.bad());
}

TEST_F(PStreamTest, StringViewsLookIntoTheSourceAndOnlyAMemoryStreamGivesThem) {
  omemstream os;
  os << "hi" << static_cast<const char*>(nullptr);
  os.writeWord32(1000);  // a length running past the end
  os << "x";
  imemstream is(os.span());
  ASSERT_TRUE(is.inMemory());
  std::string_view view;
  bool wasNull = true;
  ASSERT_TRUE(is.readStringView(view, &wasNull));
  EXPECT_EQ(view, "hi");
  EXPECT_FALSE(wasNull);
  EXPECT_EQ(static_cast<const void*>(view.data()), os.span().data() + 4);
  ASSERT_TRUE(is.readStringView(view, &wasNull));
  EXPECT_TRUE(view.empty());
  EXPECT_TRUE(wasNull);
  const uint64_t at = is.tellg();
  view = "kept";
  EXPECT_FALSE(is.readStringView(view));
  EXPECT_EQ(view, "kept");
  EXPECT_EQ(is.error(), PStreamError::LengthPastEnd);
  EXPECT_EQ(is.errorOffset(), at);

  WriteFile(dir_ + "s.bin", Bytes(os.span().begin(), os.span().end()));
  ifpstream file(dir_ + "s.bin");
  EXPECT_FALSE(file.inMemory());
  EXPECT_FALSE(file.readStringView(view));
  EXPECT_EQ(file.error(), PStreamError::NotInMemory);
  EXPECT_EQ(file.tellg(), 0u);
}

// ---- files ---------------------------------------------------------------------------------

TEST_F(PStreamTest, FileErrorsMakeTheStreamBad) {
  ofpstream noDir(dir_ + "missing/x.bin");
  EXPECT_FALSE(noDir.is_open());
  EXPECT_TRUE(noDir.bad());
  EXPECT_EQ(noDir.error(), PStreamError::OpenFailed);

  ifpstream missing(dir_ + "missing.bin");
  EXPECT_TRUE(missing.bad());
  EXPECT_EQ(missing.error(), PStreamError::OpenFailed);
  ifpstream directory(dir_);
  EXPECT_EQ(directory.error(), PStreamError::OpenFailed);

  ifpstream never;
  EXPECT_EQ(never.readByte(), 0);
  EXPECT_EQ(never.error(), PStreamError::NotOpen);
  ofpstream neverOut;
  neverOut.writeByte(1);
  EXPECT_EQ(neverOut.error(), PStreamError::NotOpen);

  // Reopening starts afresh.
  const std::string path = dir_ + "again.bin";
  WriteFile(path, {7});
  EXPECT_TRUE(missing.open(path));
  EXPECT_TRUE(missing.good());
  EXPECT_EQ(missing.readByte(), 7);

  // A full device only shows the failure when the buffer is flushed.
  if (std::filesystem::exists("/dev/full")) {
    ofpstream full("/dev/full");
    ASSERT_TRUE(full.is_open());
    full << "some bytes that cannot be stored";
    EXPECT_FALSE(full.close());
    EXPECT_TRUE(full.bad());
    EXPECT_EQ(full.error(), PStreamError::WriteFailed);
  }
}

}  // namespace
}  // namespace quill
