#include "quillui/navigation/backtrack.h"

#include "nav_test_support.h"
#include "quillui/navigation/beep.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/testing/navigation.h"

namespace quill::test {
namespace {

class BacktrackTest : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    MakeFrame();
    SetDefaultBeepHook([this] { ++beeps; });
  }
  std::vector<std::string> StackTexts() const {
    std::vector<std::string> out;
    for (int i = 0; i < GetBacktrackStack().GetCount(); ++i)
      out.emplace_back(GetBacktrackStack().Get(i)->GetText());
    return out;
  }
  int beeps = 0;
};

TEST_F(BacktrackTest, StackTakesRepeatsAndAnyType) {
  AddBacktrackBookmark(Typed("a", "xxxx"));
  AddBacktrackBookmark(Typed("a", "SPEC"));
  AddBacktrackBookmark(*new ZBookmark("b"));
  EXPECT_EQ(StackTexts(), (std::vector<std::string>{"a", "a", "b"}));
}

struct GroupCase {
  const char* name;
  std::vector<std::string> texts;  // gathered while the group is open
  bool stateChanges;               // the tableau's state differs at Finish
  const char* expected;            // null: no bookmark
};

TEST_F(BacktrackTest, GroupedTextForms) {
  const GroupCase cases[] = {
      {"three texts", {"a", "b", "c"}, false, "<!State=< 0 0 0 0>> <!quiet> <c> <b> <a>"},
      {"one text", {"a"}, false, "<!State=< 0 0 0 0>> <!quiet> <a>"},
      {"empty texts are skipped", {"", "a", ""}, false, "<!State=< 0 0 0 0>> <!quiet> <a>"},
      {"only the state", {}, true, "<!State=< 0 0 0 0>> <!quiet>"},
      {"nothing happened", {}, false, nullptr},
  };
  for (const GroupCase& c : cases) {
    SCOPED_TRACE(c.name);
    tableau->state = " 0 0 0 0";
    StartGroupedBacktrackBookmark();
    for (const std::string& t : c.texts) AddBacktrackBookmark(Typed(t));
    if (c.stateChanges) tableau->state = " 1 2 0 0 0";
    std::unique_ptr<ZBookmark> grouped = FinishGroupedBacktrackBookmark();
    if (c.expected == nullptr) {
      EXPECT_EQ(grouped, nullptr);
      continue;
    }
    ASSERT_NE(grouped, nullptr);
    EXPECT_EQ(grouped->GetText(), c.expected);
    EXPECT_EQ(grouped->GetName(), "grouped");
    EXPECT_STREQ(grouped->GetType(), "SPEC");
  }
  EXPECT_TRUE(GetBacktrackStack().IsEmpty());
}

TEST_F(BacktrackTest, WithoutACapturedStateTextsAreGroupedAlone) {
  // A frame whose tableau makes no backtrack bookmarks (its suppression flag, say).
  frame->SetTableau(nullptr, nullptr);
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"a", "b", "c"}, "<c> <b> <a>"},
      {{"a"}, "a"},
      {{"a b=<1 2>", "c"}, "<c> <a b=<1 2>>"},
  };
  for (const auto& [texts, expected] : cases) {
    StartGroupedBacktrackBookmark();
    for (const std::string& t : texts) AddBacktrackBookmark(Typed(t));
    std::unique_ptr<ZBookmark> grouped = FinishGroupedBacktrackBookmark();
    ASSERT_NE(grouped, nullptr);
    EXPECT_EQ(grouped->GetText(), expected);
  }
}

TEST_F(BacktrackTest, NestedGroupsWorkOnlyAtTheOuterLevel) {
  StartGroupedBacktrackBookmark();
  AddBacktrackBookmark(Typed("t1"));
  StartGroupedBacktrackBookmark();
  EXPECT_EQ(tableau->backtrackRequests, 1);  // the inner Start asks nothing
  AddBacktrackBookmark(Typed("t2"));
  // A second state during the group is dropped; the first one stays.
  tableau->state = " 9";
  tableau->CreateTableauBacktrackBookmark();
  EXPECT_EQ(FinishGroupedBacktrackBookmark(), nullptr);
  EXPECT_EQ(GetBacktrackGroupDepth(), 1);
  std::unique_ptr<ZBookmark> grouped = FinishGroupedBacktrackBookmark();
  ASSERT_NE(grouped, nullptr);
  EXPECT_EQ(grouped->GetText(), "<!State=< 0 0 0 0>> <!quiet> <t2> <t1>");
  EXPECT_TRUE(GetBacktrackStack().IsEmpty());
  // The caller puts it on the stack; with no group open it is appended as it is.
  AddBacktrackBookmark(std::move(grouped));
  EXPECT_EQ(StackTexts().size(), 1u);
  // An unmatched Finish leaves the depth at zero, so later groups still work.
  EXPECT_EQ(FinishGroupedBacktrackBookmark(), nullptr);
  EXPECT_EQ(GetBacktrackGroupDepth(), 0);
}

TEST_F(BacktrackTest, AnEmptyGroupLeavesNoStateBehind) {
  tableau->state = " old";
  StartGroupedBacktrackBookmark();
  EXPECT_EQ(FinishGroupedBacktrackBookmark(), nullptr);
  tableau->state = " new";
  StartGroupedBacktrackBookmark();
  AddBacktrackBookmark(Typed("a"));
  std::unique_ptr<ZBookmark> grouped = FinishGroupedBacktrackBookmark();
  ASSERT_NE(grouped, nullptr);
  EXPECT_EQ(grouped->GetText(), "<!State=< new>> <!quiet> <a>");
}

TEST_F(BacktrackTest, SuppressionTurnsGroupingOff) {
  WriteSettings("[DevParm]\nSuppressBookmarks=1\n");
  ResetNavigation();
  StartGroupedBacktrackBookmark();
  EXPECT_EQ(GetBacktrackGroupDepth(), 0);
  EXPECT_EQ(tableau->backtrackRequests, 0);
  AddBacktrackBookmark(Typed("a"));  // no group open: appended
  EXPECT_EQ(FinishGroupedBacktrackBookmark(), nullptr);
  EXPECT_EQ(StackTexts(), (std::vector<std::string>{"a"}));
}

TEST_F(BacktrackTest, PopFiresTheNewestWhileItIsStillOnTheStack) {
  PopBacktrackStack();
  EXPECT_EQ(beeps, 1);
  EXPECT_TRUE(frame->fired.empty());

  AddBacktrackBookmark(Typed("a"));
  AddBacktrackBookmark(Typed("b"));
  std::vector<std::string> seen;
  frame->onFire = [&](const ZBookmark&) { seen = StackTexts(); };
  PopBacktrackStack();
  ASSERT_EQ(frame->fired.size(), 1u);
  EXPECT_EQ(frame->fired[0].text, "b");
  EXPECT_EQ(frame->fired[0].wParam, 0u);
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(StackTexts(), (std::vector<std::string>{"a"}));
  EXPECT_EQ(beeps, 1);
}

TEST_F(BacktrackTest, PopRemovesThePoppedBookmarkWhateverTheHandlerAdds) {
  WriteSettings("[DevParm]\nBMListMax=3\n");
  ResetNavigation();
  SetDefaultBeepHook([this] { ++beeps; });
  AddBacktrackBookmark(Typed("a"));
  AddBacktrackBookmark(Typed("b"));
  // Showing the place pushes two arrangements; the second push trims "a" away.
  frame->onFire = [&](const ZBookmark& b) {
    AddBacktrackBookmark(Typed("s1"));
    AddBacktrackBookmark(Typed("s2"));
    EXPECT_EQ(b.GetText(), "b");
  };
  PopBacktrackStack();
  EXPECT_EQ(StackTexts(), (std::vector<std::string>{"s1", "s2"}));
}

TEST_F(BacktrackTest, PopReenteredFromTheHandler) {
  AddBacktrackBookmark(Typed("a"));
  AddBacktrackBookmark(Typed("b"));
  int depth = 0;
  frame->onFire = [&](const ZBookmark& b) {
    const std::string text(b.GetText());
    if (++depth == 1) PopBacktrackStack();
    // The bookmark being shown is alive however often the stack was popped meanwhile.
    EXPECT_EQ(b.GetText(), text);
    --depth;
  };
  PopBacktrackStack();
  ASSERT_EQ(frame->fired.size(), 2u);
  EXPECT_EQ(frame->fired[0].text, "b");
  EXPECT_EQ(frame->fired[1].text, "b");
  // "b" went once; nothing else was taken with it.
  EXPECT_EQ(StackTexts(), (std::vector<std::string>{"a"}));

  // The same when a trim, not a pop, takes the bookmark that is being shown.
  WriteSettings("[DevParm]\nBMListMax=1\n");
  ResetNavigation();
  AddBacktrackBookmark(Typed("only"));
  frame->onFire = [&](const ZBookmark& b) {
    AddBacktrackBookmark(Typed("pushed"));
    EXPECT_EQ(b.GetText(), "only");
  };
  PopBacktrackStack();
  EXPECT_EQ(StackTexts(), (std::vector<std::string>{"pushed"}));
}

}  // namespace
}  // namespace quill::test
