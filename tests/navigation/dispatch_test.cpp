#include "quillui/navigation/dispatch.h"

#include "nav_test_support.h"

namespace quill::test {
namespace {

// Article content: answers WmuCreateBookmark with a bookmark of its text and
// WmuGetTextSelection by writing its selection into the exchange string.
class Content : public TWindow {
 public:
  explicit Content(TWindow* parent) : TWindow(parent, "Content") {
    Attr.Style = WS_CHILD | WS_VISIBLE;
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuCreateBookmark) {
      usages.push_back(int(wp));
      if (!hasBookmark) return 0;
      return reinterpret_cast<LRESULT>(new ZBookmark("ARTI", "Article", text));
    }
    if (msg == WmuGetTextSelection) {
      GetCADS() = selection;
      return 1234;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  std::string text;
  bool hasBookmark = true;
  std::string selection;
  std::vector<int> usages;
};

class DispatchTest : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    MakeFrame();
  }
  Content* AddArticle() {
    auto* content = new Content(tableau);
    content->Create();
    tableau->article = content;
    return content;
  }
};

TEST_F(DispatchTest, FiringReachesTheFrame) {
  ZBookmark b("ARTI", "n", "ArticleWin codedref=3");
  EXPECT_EQ(FireOffBookmark(b), 77);
  EXPECT_EQ(FireOffBookmark(b, frame->GetHandle()), 77);
  QuietlyFireOffBookmark(b);
  ASSERT_EQ(frame->fired.size(), 3u);
  EXPECT_EQ(frame->fired[0].wParam, 0u);
  EXPECT_EQ(frame->fired[1].wParam, reinterpret_cast<WPARAM>(frame->GetHandle()));
  EXPECT_EQ(frame->fired[2].wParam, 1u);

  LogTrackingInformation("pressed Back");
  ASSERT_EQ(frame->tracked.size(), 1u);
  EXPECT_EQ(frame->tracked[0].text, "pressed Back");

  SetAppFrame(nullptr);
  EXPECT_EQ(FireOffBookmark(b), 0);
  EXPECT_EQ(Dispatch("ArticleWin"), 0);
  QuietlyFireOffBookmark(b);
  LogTrackingInformation("x");
  EXPECT_EQ(frame->fired.size(), 3u);
}

TEST_F(DispatchTest, DispatchMakesFiresAndRefusesValuedFirstItems) {
  EXPECT_EQ(Dispatch("ArticleWin codedref=9 md=ARTI"), 77);
  ASSERT_EQ(frame->fired.size(), 1u);
  EXPECT_EQ(frame->fired[0].text, "ArticleWin codedref=9 md=ARTI");
  EXPECT_EQ(frame->fired[0].type, "ARTI");
  EXPECT_EQ(Dispatch("!State=< 0 0 0 0>"), 0);
  EXPECT_EQ(Dispatch("codedref=9 ArticleWin"), 0);
  EXPECT_EQ(frame->fired.size(), 1u);
}

TEST_F(DispatchTest, SubDispatchReplacesTheTargetsContent) {
  auto* target = new TWindow(frame.get(), "Target");
  target->Attr.Style = WS_CHILD | WS_VISIBLE;
  target->Create();
  auto* old = new TWindow(target, "Old");
  old->Attr.Style = WS_CHILD | WS_VISIBLE;
  old->Create();
  const HWND oldHandle = old->GetHandle();
  auto* other = new TWindow(target, "Other");
  other->Create();

  EXPECT_EQ(SubDispatch(target->GetHandle(), "codedref=1"), 0);
  EXPECT_EQ(target->NumChildren(), 2u);  // refused texts leave the content alone

  EXPECT_EQ(SubDispatch(target->GetHandle(), "MediaWin"), 77);
  EXPECT_EQ(GetWindowPtr(oldHandle), nullptr);
  ASSERT_EQ(target->NumChildren(), 1u);
  EXPECT_EQ(target->GetFirstChild(), other);
  ASSERT_EQ(frame->fired.size(), 1u);
  EXPECT_EQ(frame->fired[0].wParam, reinterpret_cast<WPARAM>(target->GetHandle()));

  // An empty target, or a handle that is no window, is fired at all the same.
  target->GetFirstChild()->Destroy(0);
  delete target->GetFirstChild();
  EXPECT_EQ(SubDispatch(target->GetHandle(), "MediaWin"), 77);
  EXPECT_EQ(SubDispatch(nullptr, "MediaWin"), 77);
}

TEST_F(DispatchTest, DisplayedArticle) {
  ZDBInfo* db = reinterpret_cast<ZDBInfo*>(this);
  long ref = 99;
  EXPECT_FALSE(GetDisplayedArticle(db, ref));  // no content
  EXPECT_EQ(db, nullptr);
  EXPECT_EQ(ref, 0);

  Content* content = AddArticle();
  const std::vector<std::pair<std::string, long>> cases = {
      {"ArticleWin codedref=4711", 4711}, {"ArticleWin codedref=0", 0},   {"ArticleWin", 0},
      {"ArticleWin codedref=-5", -5},     {"ArticleWin codedref=abc", 0},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    content->text = text;
    ref = 99;
    EXPECT_EQ(GetDisplayedArticle(db, ref), expected != 0);
    EXPECT_EQ(ref, expected);
    EXPECT_EQ(db, nullptr);
  }
  EXPECT_EQ(content->usages.back(), eBOOKMARK_FOR_USER);
  content->hasBookmark = false;
  EXPECT_FALSE(GetDisplayedArticle(db, ref));

  frame->SetTableau(nullptr, nullptr);
  EXPECT_FALSE(GetDisplayedArticle(db, ref));
}

TEST_F(DispatchTest, ArticleTextSelection) {
  std::string text = "unchanged";
  EXPECT_EQ(GetArticleTextSelection(text), 0);
  EXPECT_EQ(text, "unchanged");

  Content* content = AddArticle();
  content->selection = "selected words";
  EXPECT_EQ(GetArticleTextSelection(text), 1234);
  EXPECT_EQ(text, "selected words");
  EXPECT_EQ(GetCADS(), "selected words");
}

}  // namespace
}  // namespace quill::test
