#include "quillui/imaging/bitmap_manager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "quillui/testing/imaging.h"
#include "tests/imaging/set_bytes.h"
#include "tests/profile/profile_fixture.h"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

class BitmapManagerTest : public ProfileTest {
 protected:
  void SetUp() override {
    ProfileTest::SetUp();
    ResetBitmapManager();
    previousDir_ = fs::current_path();
    fs::create_directory(dir + "/program");
    fs::current_path(dir + "/program");  // local folders are found from the current directory
    media = dir + "/media";
    fs::create_directory(media);
  }
  void TearDown() override {
    fs::current_path(previousDir_);
    ResetBitmapManager();
    ProfileTest::TearDown();
  }

  // Records every file handed to the reader, finding nothing.
  void Record() {
    SetBitmapReaderHook([this](const std::string& path, int64_t offset, int64_t length,
                               const TPalette*) -> std::unique_ptr<TDib> {
      std::string line = path;
      if (path.starts_with(media))
        line = "cd:" + path.substr(media.size());
      else if (path.starts_with(dir))
        line = "dir:" + path.substr(dir.size());
      if (offset != 0 || length != -1) {
        line += "@" + std::to_string(offset) + "+" + std::to_string(length);
      }
      tried.push_back(line);
      return nullptr;
    });
  }
  // A set file holding x.bmp (10 bytes after 9 bytes of another member).
  void WriteSet(const std::string& path) {
    WriteBytes(path,
               SetBytes(2, {{"other.bmp", 0, 9}, {"x.bmp", 9, 10}}, std::vector<uint8_t>(19, 0)));
  }

  std::string media;
  std::vector<std::string> tried;

 private:
  fs::path previousDir_;
};

TEST_F(BitmapManagerTest, SearchOrderWithoutADirectory) {
  WriteSet(dir + "/a.set");
  WriteSet(dir + "/b.set");
  WriteIni("[Directories]\nMedia=" + media + "\n[BMPSets]\nA=" + dir + "/a.set\nB=" + dir +
           "/b.set\n");
  Record();
  ZBitmapManager manager;
  EXPECT_EQ(manager.load_bitmap("x.bmp"), nullptr);
  EXPECT_EQ(tried, (std::vector<std::string>{"dir:/a.set@73+10", "dir:/b.set@73+10", "cd:/A/x.bmp",
                                             "cd:/B/x.bmp", "x.bmp"}));

  // With the switch on the local folders of the sets come first; it is read on every call.
  WriteIni("[Directories]\nMedia=" + media + "\n[DevParm]\nBMPSearchLocalDirs=1\n");
  tried.clear();
  EXPECT_EQ(manager.load_bitmap("x.bmp"), nullptr);
  EXPECT_EQ(tried,
            (std::vector<std::string>{"./A/x.bmp", "./B/x.bmp", "dir:/a.set@73+10",
                                      "dir:/b.set@73+10", "cd:/A/x.bmp", "cd:/B/x.bmp", "x.bmp"}));
}

TEST_F(BitmapManagerTest, SearchOrderWithADirectoryStopsAtTheCdFolder) {
  WriteSet("buttons.set");  // where a set named "buttons" is by default
  WriteIni("[Directories]\nMedia=" + media + "\n[DevParm]\nBMPSearchLocalDirs=1\n");
  Record();
  ZBitmapManager manager;
  EXPECT_EQ(manager.load_bitmap("x.bmp", "buttons"), nullptr);
  EXPECT_EQ(tried, (std::vector<std::string>{"./buttons/x.bmp", "cd:/buttons/x.bmp"}));

  // A set of that name is tried between the two.
  manager.add_set("buttons");
  tried.clear();
  EXPECT_EQ(manager.load_bitmap("x.bmp", "buttons"), nullptr);
  EXPECT_EQ(tried, (std::vector<std::string>{"./buttons/x.bmp", "dir:/program/buttons.set@73+10",
                                             "cd:/buttons/x.bmp"}));
}

TEST_F(BitmapManagerTest, SetsAreRegisteredOnceAndMissingOnesStillNameFolders) {
  WriteIni("[Directories]\nMedia=" + media + "\n[BMPSets]\nGone=" + dir + "/gone.set\n");
  Record();
  ZBitmapManager manager;
  EXPECT_FALSE(ZBitmapManager::sets_loaded());
  EXPECT_EQ(manager.load_bitmap("x.bmp"), nullptr);
  EXPECT_TRUE(ZBitmapManager::sets_loaded());
  ASSERT_EQ(ZBitmapManager::set_count(), 1);
  EXPECT_EQ(tried, (std::vector<std::string>{"cd:/Gone/x.bmp", "x.bmp"}));
  manager.add_set("Gone");
  EXPECT_EQ(ZBitmapManager::set_count(), 1);
  manager.add_set("gone");  // names compare exactly
  EXPECT_EQ(ZBitmapManager::set_count(), 2);

  // An empty section still counts as read: later entries are not seen.
  ResetBitmapManager();
  WriteIni("[BMPSets]\n");
  EXPECT_EQ(manager.load_bitmap("x.bmp"), nullptr);
  EXPECT_TRUE(ZBitmapManager::sets_loaded());
  WriteIni("[BMPSets]\nLate=late.set\n");
  EXPECT_EQ(manager.load_bitmap("x.bmp"), nullptr);
  EXPECT_EQ(ZBitmapManager::set_count(), 0);
}

TEST_F(BitmapManagerTest, NamesMatchWithoutRegardToCaseInSetsAndFolders) {
  const auto next = SmallBmp(5, 3, 40);
  const auto other = SmallBmp(7, 2, 90);
  std::vector<uint8_t> data = other;
  data.insert(data.end(), next.begin(), next.end());
  WriteBytes(dir + "/buttons.set",
             SetBytes(2,
                      {{"other.bmp", 0, uint32_t(other.size())},
                       {"pbNext.bmp", uint32_t(other.size()), uint32_t(next.size())}},
                      data));
  fs::create_directory("loose");
  WriteBytes("loose/PbPrev.Bmp", SmallBmp(4, 4, 7));
  WriteIni("[BMPSets]\nbuttons=" + dir + "/buttons.set\n[DevParm]\nBMPSearchLocalDirs=1\n");

  ZBitmapManager manager;
  auto dib = manager.load_bitmap("PBNEXT.BMP", "buttons");
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->Width(), 5);
  EXPECT_EQ(dib->GetPixelIndex(2, 1), 2 + 3 + 40);

  auto loose = manager.load_bitmap("pbprev.bmp", "loose");
  ASSERT_NE(loose, nullptr);
  EXPECT_EQ(loose->Width(), 4);
  EXPECT_NE(manager.load_bitmap("loose\\pbprev.bmp", nullptr), nullptr);
  // A name never leads out of its folder.
  EXPECT_EQ(manager.load_bitmap_from_local_directory("../program/loose/PbPrev.Bmp", "loose"),
            nullptr);
}

TEST_F(BitmapManagerTest, AMemberIsReadWithExactlyItsLength) {
  // The first member's header claims twice the rows it holds; read to "its own end" it would
  // take its missing rows from the member after it.
  auto liar = SmallBmp(4, 2, 0);
  auto truthful = SmallBmp(4, 4, 0);
  liar[22] = 4;  // biHeight
  std::vector<uint8_t> data = liar;
  data.insert(data.end(), truthful.begin(), truthful.end());
  WriteBytes(dir + "/s.set",
             SetBytes(2,
                      {{"liar.bmp", 0, uint32_t(liar.size())},
                       {"ok.bmp", uint32_t(liar.size()), uint32_t(truthful.size())}},
                      data));
  WriteIni("[BMPSets]\ns=" + dir + "/s.set\n");
  ZBitmapManager manager;
  EXPECT_EQ(manager.load_bitmap("liar.bmp", "s"), nullptr);
  auto ok = manager.load_bitmap("ok.bmp", "s");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->Height(), 4);
}

TEST_F(BitmapManagerTest, AMemberIsReadFromTheSetAsItIsNowAfterTheSetIsWrittenAgain) {
  // The set's file stays open between loads; writing the set replaces the file, and the next
  // load reads the new one.
  WriteBytes("a.bmp", SmallBmp(3, 2, 10));
  ZDataSet set = ZDataSet::AtPath(dir + "/w.set", true);
  ASSERT_TRUE(set.add_file("a.bmp"));
  ASSERT_TRUE(set.write());
  ZBitmapManager manager;
  auto first = manager.load_bitmap_from_set("a.bmp", set);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Width(), 3);
  WriteBytes("a.bmp", SmallBmp(6, 2, 10));
  ZDataSet again = ZDataSet::AtPath(dir + "/w.set", true);
  ASSERT_TRUE(again.add_file("a.bmp"));
  ASSERT_TRUE(again.write());
  set = ZDataSet::AtPath(dir + "/w.set");
  auto second = manager.load_bitmap_from_set("a.bmp", set);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Width(), 6);
  // A set whose file is gone gives nothing.
  std::filesystem::remove(dir + "/w.set");
  ZDataSet gone = ZDataSet::AtPath(dir + "/w.set");
  EXPECT_EQ(manager.load_bitmap_from_set("a.bmp", gone), nullptr);
}

}  // namespace
}  // namespace quill::test
