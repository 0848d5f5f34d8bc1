#include "quillui/imaging/data_set.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/imaging/set_bytes.h"
#include "tests/profile/profile_fixture.h"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

class DataSetTest : public ProfileTest {
 protected:
  std::string Path(const std::string& name) { return dir + "/" + name; }
  // A file of n bytes, byte i being (i + seed) mod 256.
  std::vector<uint8_t> Member(const std::string& name, size_t n, int seed) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i + size_t(seed));
    WriteBytes(Path(name), bytes);
    return bytes;
  }
  std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(DataSetTest, LayoutOfAWrittenSetAndLookupsWithoutRegardToCase) {
  const auto a = Member("pbNext.bmp", 100, 1);
  const auto b = Member("b.bmp", 50, 7);
  ZDataSet set = ZDataSet::AtPath(Path("two.set"), true);
  ASSERT_TRUE(set.add_file(Path("pbNext.bmp")));
  ASSERT_TRUE(set.add_file(Path("b.bmp")));
  ASSERT_TRUE(set.write());

  ZDataSet read = ZDataSet::AtPath(Path("two.set"));
  ASSERT_EQ(read.count(), 2);
  EXPECT_EQ(read.data_offset(), 64u);
  EXPECT_EQ(read.find_offset("PBNEXT.BMP"), 64);
  EXPECT_EQ(read.find_offset("b.bmp"), 16 + 48 + 100);
  EXPECT_EQ(read.find_offset("c.bmp"), -1);
  EXPECT_EQ(read.entry(1).offset, 100u);
  EXPECT_EQ(read.entry(5).length, 0u);  // out of range: an empty entry

  const auto file = ReadBytes(Path("two.set"));
  ASSERT_EQ(file.size(), 64u + 150u);
  EXPECT_EQ(
      std::vector<uint8_t>(file.begin(), file.begin() + 16),
      (std::vector<uint8_t>{'D', 'S', 'E', 'T', 8, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 164, file.end()), b);

  // An empty set: the data area starts right after the header and nothing is found.
  ZDataSet empty = ZDataSet::AtPath(Path("empty.set"), true);
  ASSERT_TRUE(empty.write());
  EXPECT_EQ(ReadBytes(Path("empty.set")).size(), 16u);
  ZDataSet emptyRead = ZDataSet::AtPath(Path("empty.set"));
  EXPECT_EQ(emptyRead.count(), 0);
  EXPECT_EQ(emptyRead.data_offset(), 16u);
  EXPECT_EQ(emptyRead.find_offset("pbNext.bmp"), -1);
  EXPECT_EQ(emptyRead.find_offset(""), -1);
}

TEST_F(DataSetTest, PathComesFromTheSettingsAndMissingFilesLeaveTheSetEmpty) {
  WriteIni("[BMPSets]\nbuttons=" + Path("b.set") + "\n");
  WriteBytes(Path("b.set"), SetBytes(1, {{"x.bmp", 0, 3}}, {1, 2, 3}));
  ZDataSet set("buttons");
  EXPECT_EQ(set.path(), Path("b.set"));
  EXPECT_EQ(set.find_offset("X.BMP"), 40);

  ZDataSet missing("nowhere");  // default path: ./nowhere.set from the current directory
  EXPECT_EQ(missing.path(), fs::current_path().string() + "/nowhere.set");
  EXPECT_EQ(missing.count(), 0);
}

// Damaged directories: each row is a file and what may be found in it.
TEST_F(DataSetTest, DamagedDirectoriesAreBelievedOnlyAsFarAsTheFileGoes) {
  const std::vector<uint8_t> data(32, 0xAB);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    int count;
  };
  const Case cases[] = {
      {"count beyond the file", SetBytes(1000, {{"a", 0, 4}}, data), 0},
      {"24 x count wraps in 32 bits", SetBytes(0xAAAAAAABu, {{"a", 0, 4}}, data), 0},
      {"count of 2^32 - 1", SetBytes(0xFFFFFFFFu, {{"a", 0, 4}}, data), 0},
      {"short header", {'D', 'S', 'E', 'T', 8, 0, 0, 0}, 0},
      {"foreign magic", {'D', 'S', 'E', 'X', 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
      {"offset past the end", SetBytes(2, {{"a", 0, 4}, {"b", 33, 0}}, data), 1},
      {"length past the end", SetBytes(2, {{"a", 0, 4}, {"b", 30, 3}}, data), 1},
      {"offset + length wraps in 32 bits",
       SetBytes(2, {{"a", 0, 4}, {"b", 0xFFFFFFF0u, 0x20}}, data), 1},
      {"exactly to the end", SetBytes(2, {{"a", 0, 4}, {"b", 4, 28}}, data), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(Path("d.set"), c.bytes);
    ZDataSet set = ZDataSet::AtPath(Path("d.set"));
    EXPECT_EQ(set.count(), c.count);
    EXPECT_EQ(set.find_offset("a") >= 0, c.count > 0);
    EXPECT_EQ(set.find_offset("b") >= 0, c.count == 2);
  }
  // More entries than a set may hold, though the (sparse) file has room for them all.
  const uint64_t tooMany = ZDataSet::kMaxEntries + 1;
  WriteBytes(Path("d.set"), SetBytes(uint32_t(tooMany), {}, {}));
  ASSERT_EQ(::truncate(Path("d.set").c_str(), off_t(16 + 24 * tooMany)), 0);
  const ZDataSet huge = ZDataSet::AtPath(Path("d.set"));
  EXPECT_EQ(huge.count(), 0);
  EXPECT_NE(huge.read_error().find("at most"), std::string::npos) << huge.read_error();
}

TEST_F(DataSetTest, SixteenByteNamesHaveNoTerminator) {
  WriteBytes(Path("n.set"),
             SetBytes(2, {{"ABCDEFGHIJKLMNOP", 0, 2}, {"short", 2, 2}}, {1, 2, 3, 4}));
  ZDataSet set = ZDataSet::AtPath(Path("n.set"));
  ASSERT_EQ(set.count(), 2);
  EXPECT_EQ(set.entry(0).Name(), "ABCDEFGHIJKLMNOP");  // not run on into the offset field
  EXPECT_EQ(set.entry(1).Name(), "short");
  EXPECT_EQ(set.find_offset("abcdefghijklmnop"), 16 + 48);
  EXPECT_EQ(set.find_offset("abcdefghijklmnopQRS"), 16 + 48);  // compared over 16 characters
  EXPECT_EQ(set.find_offset("abcdefghijklmno"), -1);
  EXPECT_EQ(set.find_offset("shorter"), -1);
}

TEST_F(DataSetTest, PositionsBeyondTwoGibibytesAreNotMistakenForAbsent) {
  // A sparse file of 3 GiB whose one member lies at 2.5 GiB.
  const uint32_t memberOffset = 0xA0000000u;
  auto head = SetBytes(1, {{"far.bmp", memberOffset, 16}}, {});
  WriteBytes(Path("far.set"), head);
  ASSERT_EQ(::truncate(Path("far.set").c_str(), off_t(3) << 30), 0);
  ZDataSet set = ZDataSet::AtPath(Path("far.set"));
  ASSERT_EQ(set.count(), 1);
  EXPECT_EQ(set.find_offset("far.bmp"), int64_t(40) + memberOffset);
  EXPECT_EQ(set.find_offset("near.bmp"), -1);
}

TEST_F(DataSetTest, ExtractWritesOnlyPlainNamesInsideTheChosenFolder) {
  const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  WriteBytes(Path("x.set"), SetBytes(8,
                                     {{"good.bmp", 0, 3},
                                      {"../x", 3, 1},
                                      {"/etc/x", 4, 1},
                                      {"..", 5, 1},
                                      {"c:x", 6, 1},
                                      {"a\\b", 7, 1},
                                      {"sub/x", 8, 1},
                                      {"", 8, 1}},
                                     data));
  fs::create_directory(Path("out"));
  ZDataSet set = ZDataSet::AtPath(Path("x.set"));
  ASSERT_EQ(set.count(), 8);
  for (const char* name : {"../x", "/etc/x", "..", "c:x", "a\\b", "sub/x"}) {
    SCOPED_TRACE(name);
    std::string error;
    EXPECT_FALSE(set.extract(name, Path("out"), &error));
    EXPECT_NE(error.find("not a plain file name"), std::string::npos) << error;
  }
  EXPECT_FALSE(set.extract("", Path("out")));
  EXPECT_FALSE(set.extract("absent.bmp", Path("out")));
  EXPECT_TRUE(FilesIn(Path("out")).empty());
  EXPECT_FALSE(fs::exists(dir + "/x"));

  ASSERT_TRUE(set.extract("GOOD.BMP", Path("out")));
  EXPECT_EQ(FilesIn(Path("out")), std::vector<std::string>{"good.bmp"});  // no temporary left
  EXPECT_EQ(ReadBytes(Path("out/good.bmp")), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(DataSetTest, WriteCopiesFromWhereEachFileWasAddedAndKeepsTheOldSetOnFailure) {
  fs::create_directory(Path("src"));
  const auto a = Member("src/a.bmp", 10, 3);
  Member("a.bmp", 10, 99);  // same name beside the set: must not be taken
  const auto b = Member("src/b.bmp", 20, 5);
  ZDataSet set = ZDataSet::AtPath(Path("s.set"), true);
  ASSERT_TRUE(set.add_file(Path("src/a.bmp")));
  ASSERT_TRUE(set.add_file(Path("src/b.bmp")));
  EXPECT_FALSE(set.add_file(Path("src/none.bmp")));
  ASSERT_TRUE(set.write());
  const auto good = ReadBytes(Path("s.set"));
  ASSERT_EQ(good.size(), 16u + 48u + 30u);
  EXPECT_EQ(std::vector<uint8_t>(good.begin() + 64, good.begin() + 74), a);

  // A member file that has gone, or shrunk, fails the write and leaves the old set.
  ZDataSet more = ZDataSet::AtPath(Path("s.set"));
  Member("src/c.bmp", 40, 1);
  ASSERT_TRUE(more.add_file(Path("src/c.bmp")));
  fs::resize_file(Path("src/c.bmp"), 39);
  std::string error;
  EXPECT_FALSE(more.write(&error));
  EXPECT_NE(error.find("c.bmp"), std::string::npos) << error;
  fs::remove(Path("src/c.bmp"));
  EXPECT_FALSE(more.write(&error));
  EXPECT_EQ(ReadBytes(Path("s.set")), good);
  for (const std::string& name : FilesIn(dir)) EXPECT_EQ(name.find(".tmp"), std::string::npos);

  // Members read from the set are copied from the set itself when it is written again.
  Member("src/c.bmp", 5, 8);
  ZDataSet again = ZDataSet::AtPath(Path("s.set"));
  ASSERT_TRUE(again.add_file(Path("src/c.bmp")));
  ASSERT_TRUE(again.write());
  const auto grown = ReadBytes(Path("s.set"));
  ASSERT_EQ(grown.size(), 16u + 72u + 35u);
  EXPECT_EQ(std::vector<uint8_t>(grown.begin() + 88, grown.begin() + 98), a);
  EXPECT_EQ(std::vector<uint8_t>(grown.begin() + 98, grown.begin() + 118), b);
  EXPECT_EQ(again.find_offset("c.bmp"), 88 + 30);
}

}  // namespace
}  // namespace quill::test
