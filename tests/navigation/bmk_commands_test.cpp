#include "quillui/navigation/bmk_commands.h"

#include <fstream>

#include "nav_test_support.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/navigation.h"

namespace quill::test {
namespace {

class BmkCommandsTest : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    MakeFrame(false);
    SetInstallDir(dir.string());
  }
  void TearDown() override {
    SetInstallDir("");
    NavTest::TearDown();
  }
  static TModalAnswer Chosen(const std::string& path) { return TModalAnswer{IDOK, path}; }
  void AddTwo() {
    QuietlyAddUserBookmark(Typed("Win 1"));
    QuietlyAddUserBookmark(Typed("Win 2"));
  }
  std::string LastSaved() { return ZProfile().Get("Bookmarks", "LastSavedList", "<none>"); }
};

TEST_F(BmkCommandsTest, SaveAsksForANameWritesAndRemembers) {
  AddTwo();
  GetUserBookmarks().SetFileName("untitled.bmk");
  const std::string file = (dir / "mine.bmk").string();
  fileAnswers.push_back(Chosen(file));
  EXPECT_EQ(SaveUserBookmarkList(), 1);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(GetUserBookmarks().GetFileName(), file);
  EXPECT_FALSE(GetUserBookmarks().IsModified());
  EXPECT_EQ(LastSaved(), file);

  const auto saves = Questions(TModalKind::FileSave);
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_EQ(saves[0].filter, "Bookmark Lists (*.bmk)|*.bmk|All Files (*.*)|*.*|");
  EXPECT_EQ(saves[0].defaultExt, "bmk");
  EXPECT_EQ(saves[0].fileName, "untitled.bmk");
  EXPECT_EQ(saves[0].flags, 0x880Eu);
  EXPECT_EQ(saves[0].initialDir, ZProfile().GetInstallDir());
  EXPECT_EQ(saves[0].owner, frame->GetHandle());

  // Cancelling the dialog changes nothing.
  QuietlyAddUserBookmark(Typed("Win 3"));
  EXPECT_EQ(SaveUserBookmarkList(), 2);
  EXPECT_TRUE(GetUserBookmarks().IsModified());
  EXPECT_EQ(GetUserBookmarks().GetFileName(), file);
}

TEST_F(BmkCommandsTest, DisketteListsAreNotRemembered) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a:\\lists\\x.bmk", ""},   {"B:x.bmk", ""},
      {"c:\\x.bmk", "c:\\x.bmk"}, {"a:", "a:"},
      {"ab:x", "ab:x"},           {"/home/a:b.bmk", "/home/a:b.bmk"},
  };
  for (const auto& [path, remembered] : cases) EXPECT_EQ(PathToRemember(path), remembered) << path;

  // Through the command: the list is written there and used, but not remembered.
  const std::string diskette = "a:x.bmk";
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  AddTwo();
  fileAnswers.push_back(Chosen(diskette));
  EXPECT_EQ(SaveUserBookmarkList(), 1);
  EXPECT_TRUE(std::filesystem::exists(dir / diskette));
  EXPECT_EQ(GetUserBookmarks().GetFileName(), diskette);
  EXPECT_EQ(LastSaved(), "");
  std::filesystem::current_path(cwd);
}

TEST_F(BmkCommandsTest, AFailedSaveIsACancelledSave) {
  AddTwo();
  const std::string before = "earlier.bmk";
  GetUserBookmarks().SetFileName(before);
  ZProfile().Set("Bookmarks", "LastSavedList", "/old/list.bmk");
  fileAnswers.push_back(Chosen((dir / "no such dir" / "x.bmk").string()));
  EXPECT_EQ(SaveUserBookmarkList(), 2);
  EXPECT_EQ(GetUserBookmarks().GetFileName(), before);
  EXPECT_TRUE(GetUserBookmarks().IsModified());
  EXPECT_EQ(LastSaved(), "/old/list.bmk");
  ASSERT_EQ(Questions(TModalKind::MessageBox).size(), 1u);
  EXPECT_EQ(Questions(TModalKind::MessageBox)[0].caption, "Save Bookmark List");
}

TEST_F(BmkCommandsTest, TheSaveQuestion) {
  // Not modified: no question.
  EXPECT_EQ(SaveUserBookmarksIfModified(1), IDYES);
  EXPECT_TRUE(RecordedQuestions().empty());

  AddTwo();
  boxAnswers = {IDNO, IDCANCEL};
  EXPECT_EQ(SaveUserBookmarksIfModified(0), IDNO);
  EXPECT_EQ(SaveUserBookmarksIfModified(1), IDCANCEL);
  const auto boxes = Questions(TModalKind::MessageBox);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Save modified bookmark list?");
  EXPECT_EQ(boxes[0].caption, "Bookmark List");
  EXPECT_EQ(boxes[0].type, 4u);
  EXPECT_EQ(boxes[1].type, 3u);
  EXPECT_TRUE(Questions(TModalKind::FileSave).empty());

  // Yes saves.
  const std::string file = (dir / "saved.bmk").string();
  boxAnswers = {IDYES};
  fileAnswers.push_back(Chosen(file));
  EXPECT_EQ(SaveUserBookmarksIfModified(1), IDYES);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(GetUserBookmarks().IsModified());

  // Yes with the file dialog cancelled: without Cancel on offer the answer is Yes as asked;
  // with it, Cancel, so the caller keeps the list.
  QuietlyAddUserBookmark(Typed("Win 3"));
  boxAnswers = {IDYES, IDYES};
  EXPECT_EQ(SaveUserBookmarksIfModified(0), IDYES);
  EXPECT_EQ(SaveUserBookmarksIfModified(1), IDCANCEL);
  EXPECT_TRUE(GetUserBookmarks().IsModified());
}

TEST_F(BmkCommandsTest, NewOffersToSaveThenEmpties) {
  AddTwo();
  GetUserBookmarks().SetFileName("kept.bmk");
  boxAnswers = {IDCANCEL};
  NewUserBookmarkList();
  EXPECT_EQ(GetUserBookmarks().GetCount(), 2);

  boxAnswers = {IDYES};  // and the file dialog is cancelled: nothing is thrown away
  NewUserBookmarkList();
  EXPECT_EQ(GetUserBookmarks().GetCount(), 2);

  boxAnswers = {IDNO};
  NewUserBookmarkList();
  EXPECT_EQ(GetUserBookmarks().GetCount(), 0);
  EXPECT_FALSE(GetUserBookmarks().IsModified());
  EXPECT_EQ(GetUserBookmarks().GetFileName(), "kept.bmk");
  EXPECT_TRUE(Questions(TModalKind::FileSave).size() == 1u);
}

TEST_F(BmkCommandsTest, OpenOffersToSaveAsksAndReads) {
  const std::string file = (dir / "other.bmk").string();
  AddTwo();
  GetUserBookmarks().SetFileName(file);
  ASSERT_TRUE(WriteUserBookmarks());
  QuietlyAddUserBookmark(Typed("unsaved"));

  boxAnswers = {IDCANCEL};
  EXPECT_EQ(OpenUserBookmarkList(), 2);
  EXPECT_TRUE(Questions(TModalKind::FileOpen).empty());

  boxAnswers = {IDNO};
  EXPECT_EQ(OpenUserBookmarkList(), 2);  // the file dialog is cancelled
  EXPECT_EQ(GetUserBookmarks().GetCount(), 3);

  boxAnswers = {IDNO};
  fileAnswers.push_back(Chosen(file));
  EXPECT_EQ(OpenUserBookmarkList(), 1);
  EXPECT_EQ(GetUserBookmarks().GetCount(), 2);
  EXPECT_EQ(GetUserBookmarks().GetFileName(), file);
  EXPECT_FALSE(GetUserBookmarks().IsModified());

  const auto opens = Questions(TModalKind::FileOpen);
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(opens[0].fileName, "*.bmk");
  EXPECT_EQ(opens[0].flags, 0x180Cu);
  EXPECT_EQ(opens[0].defaultExt, "bmk");
  EXPECT_EQ(opens[0].filter, kBookmarkFilter);
}

TEST_F(BmkCommandsTest, LoadupReadsTheLastSavedList) {
  LoadupUserBookmarks();
  EXPECT_EQ(GetUserBookmarks().GetFileName(), "untitled.bmk");
  EXPECT_EQ(GetUserBookmarks().GetCount(), 0);
  EXPECT_TRUE(RecordedQuestions().empty());
  // A later Save proposes that name.
  SaveUserBookmarkList();
  ASSERT_EQ(Questions(TModalKind::FileSave).size(), 1u);
  EXPECT_EQ(Questions(TModalKind::FileSave)[0].fileName, "untitled.bmk");

  const std::string file = (dir / "last.bmk").string();
  AddTwo();
  GetUserBookmarks().SetFileName(file);
  ASSERT_TRUE(WriteUserBookmarks());
  ClearUserBookmarks();
  WriteSettings("[Bookmarks]\nLastSavedList=" + file + "\n");
  LoadupUserBookmarks();
  EXPECT_EQ(GetUserBookmarks().GetCount(), 2);
  EXPECT_EQ(GetUserBookmarks().GetFileName(), file);

  // The file has gone: the reader's message, an empty list, the name kept.
  std::filesystem::remove(file);
  ClearRecordedQuestions();
  LoadupUserBookmarks();
  EXPECT_EQ(GetUserBookmarks().GetCount(), 0);
  EXPECT_EQ(GetUserBookmarks().GetFileName(), file);
  ASSERT_EQ(Questions(TModalKind::MessageBox).size(), 1u);
  EXPECT_EQ(Questions(TModalKind::MessageBox)[0].text, "Unable to open file\n'" + file + "'");
}

TEST_F(BmkCommandsTest, SuppressionLeavesOnlyTheFileName) {
  const std::string file = (dir / "x.bmk").string();
  AddTwo();
  GetUserBookmarks().SetFileName(file);
  ASSERT_TRUE(WriteUserBookmarks());
  WriteSettings("[DevParm]\nSuppressBookmarks=1\n[Bookmarks]\nLastSavedList=" + file + "\n");
  ResetNavigation();
  QuietlyAddUserBookmark(Typed("held"));
  LoadupUserBookmarks();
  EXPECT_EQ(GetUserBookmarks().GetFileName(), file);
  EXPECT_EQ(GetUserBookmarks().GetCount(), 1);
}

}  // namespace
}  // namespace quill::test
