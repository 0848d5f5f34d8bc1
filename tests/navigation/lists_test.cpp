#include "quillui/navigation/bookmark_lists.h"

#include <algorithm>

#include "quillui/navigation/backtrack.h"
#include "quillui/testing/navigation.h"

#include "nav_test_support.h"

namespace quill::test {
namespace {

class ListsTest : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    RegisterHistoryWindow(&history);
  }
  ListWatcher history;
};

TEST_F(ListsTest, HistoryTrimsAtTheMaximumAndSaysSo) {
  for (int i = 1; i <= 41; ++i) AddHistoryBookmark(Typed("Win " + std::to_string(i)));
  ASSERT_EQ(GetHistoryList().GetCount(), 40);
  EXPECT_EQ(GetHistoryBookmark(0)->GetText(), "Win 2");
  EXPECT_EQ(GetHistoryBookmark(39)->GetText(), "Win 41");
  EXPECT_EQ(GetHistoryBookmark(40), nullptr);
  EXPECT_EQ(GetHistoryBookmark(-1), nullptr);
  ASSERT_EQ(history.codes.size(), 41u);
  EXPECT_EQ(history.codes.back(), eBMLIST_TRIMMED);
  EXPECT_EQ(std::count(history.codes.begin(), history.codes.end(), eBMLIST_ADDED), 40);
}

struct LimitCase {
  const char* settings;
  int appended;
  int expected;
};

TEST_F(ListsTest, LimitsComeFromTheSettings) {
  const LimitCase cases[] = {
      {"[DevParm]\nBMKillItems=5\n", 41, 36},
      {"[DevParm]\nBMListMax=3\n", 4, 3},
      {"[DevParm]\nBMListMax=3\nBMKillItems=3\n", 4, 1},
      {"[DevParm]\nBMListMax=3\nBMKillItems=99\n", 4, 0},  // never more than it holds
      {"[DevParm]\nBMListMax=3\nBMKillItems=0\n", 10, 3},  // a bounded list stays bounded
      {"[DevParm]\nBMListMax=0\n", 2, 0},
      {"[DevParm]\nBMListMax=-1\n", 50, 50},  // unsigned: no practical limit
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.settings);
    WriteSettings(c.settings);
    ResetNavigation();
    for (int i = 0; i < c.appended; ++i) AddHistoryBookmark(Typed("W " + std::to_string(i)));
    EXPECT_EQ(GetHistoryList().GetCount(), c.expected);
    for (int i = 0; i < c.appended; ++i) AddBacktrackBookmark(Typed("W " + std::to_string(i)));
    EXPECT_EQ(GetBacktrackStack().GetCount(), c.expected);
  }
}

TEST_F(ListsTest, LimitsAreReadOnce) {
  WriteSettings("[DevParm]\nBMListMax=2\n");
  for (int i = 0; i < 3; ++i) AddHistoryBookmark(Typed("W " + std::to_string(i)));
  WriteSettings("[DevParm]\nBMListMax=10\n");
  for (int i = 3; i < 6; ++i) AddHistoryBookmark(Typed("W " + std::to_string(i)));
  EXPECT_EQ(GetHistoryList().GetCount(), 2);
}

TEST_F(ListsTest, HistoryRefusesRepeatsAndUntypedBookmarks) {
  AddHistoryBookmark(std::make_unique<ZBookmark>("ARTI", "First", "ArticleWin codedref=1"));
  history.codes.clear();
  AddHistoryBookmark(std::make_unique<ZBookmark>("MEDI", "Other name", "ArticleWin codedref=1"));
  AddHistoryBookmark(Typed("A", "xxxx"));
  AddHistoryBookmark(Typed("B", "SPEC"));
  AddHistoryBookmark(Typed("C", ""));
  AddHistoryBookmark(std::make_unique<ZBookmark>("D"));
  EXPECT_EQ(GetHistoryList().GetCount(), 1);
  EXPECT_EQ(GetHistoryBookmark(0)->GetName(), "First");
  EXPECT_TRUE(history.codes.empty());
  // Near misses are different places: case and blanks count.
  AddHistoryBookmark(Typed("articlewin codedref=1"));
  AddHistoryBookmark(Typed("ArticleWin codedref=1 "));
  AddHistoryBookmark(Typed("E", "spec"));
  EXPECT_EQ(GetHistoryList().GetCount(), 4);
}

TEST_F(ListsTest, UserListAddsDeletesAndClears) {
  ListWatcher user;
  ListWatcher pageant;
  RegisterUserBookmarkWindow(&user);
  RegisterPageantWindow(&pageant);
  EXPECT_EQ(GetPageantWindow(), &pageant);

  AddUserBookmark(Typed("A"));
  QuietlyAddUserBookmark(Typed("A"));  // repeats are kept
  QuietlyAddUserBookmark(*new ZBookmark("ARTI", "B", "B"));
  EXPECT_EQ(GetUserBookmarks().GetCount(), 3);
  EXPECT_TRUE(GetUserBookmarks().IsModified());
  // Only AddUserBookmark shows "Bookmark created", from the library's own resources.
  const auto dialogs = Questions(TModalKind::Dialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].resourceName, "BOOKMARK_CREATED");

  GetUserBookmarks().SetModified(false);
  DeleteUserBookmark(1);
  EXPECT_TRUE(GetUserBookmarks().IsModified());
  ASSERT_EQ(GetUserBookmarks().GetCount(), 2);
  EXPECT_EQ(GetUserBookmark(1)->GetText(), "B");
  DeleteUserBookmark(5);
  DeleteUserBookmark(-1);
  EXPECT_EQ(GetUserBookmarks().GetCount(), 2);

  ClearUserBookmarks();
  EXPECT_EQ(GetUserBookmarks().GetCount(), 0);
  EXPECT_FALSE(GetUserBookmarks().IsModified());
  EXPECT_EQ(user.codes, (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(pageant.codes, user.codes);
  EXPECT_TRUE(history.codes.empty());
}

TEST_F(ListsTest, ALaterRegistrationReplacesTheWindow) {
  ListWatcher first;
  ListWatcher second;
  RegisterUserBookmarkWindow(&first);
  RegisterUserBookmarkWindow(&second);
  QuietlyAddUserBookmark(Typed("A"));
  EXPECT_TRUE(first.codes.empty());
  EXPECT_EQ(second.codes.size(), 1u);
  RegisterUserBookmarkWindow(nullptr);
  RegisterHistoryWindow(nullptr);
  QuietlyAddUserBookmark(Typed("B"));
  AddHistoryBookmark(Typed("B"));
  EXPECT_EQ(second.codes.size(), 1u);
  EXPECT_TRUE(history.codes.empty());
}

}  // namespace
}  // namespace quill::test
