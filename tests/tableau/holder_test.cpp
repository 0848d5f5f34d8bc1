// Holders and the holder manager: activation and its notifications, the routing of the user
// messages down to the content and up to the pane, holders that go with their content, and
// the flush.
#include "quillui/tableau/holder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "quillui/app/user_messages.h"
#include "quillui/tableau/holder_manager.h"

namespace quill::test {
namespace {

using Log = std::vector<std::string>;

// A content window of the host: logs what reaches it and answers the down messages.
class Content : public TWindow {
 public:
  Content(TWindow* holder, std::string name, Log* log) : TWindow(holder), name_(name), log_(log) {
    Attr.W = Attr.H = 10;
  }
  ~Content() override {
    if (onDelete) onDelete();
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuNotification) {
      log_->push_back(name_ + ":notify" + std::to_string(wp));
      return LRESULT(100 + wp);
    }
    if (msg == WmuGetHelpKey) return LRESULT(wp + lp);
    if (msg == WM_COMMAND) log_->push_back(name_ + ":command" + std::to_string(LOWORD(wp)));
    if (msg == WM_USER) {  // the content closes by itself
      Destroy();
      return 0;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  void EvDestroy() override {
    log_->push_back(name_ + ":destroy");
    if (onDestroy) onDestroy();
    TWindow::EvDestroy();
  }
  std::function<void()> onDestroy;
  std::function<void()> onDelete;

 private:
  std::string name_;
  Log* log_;
};

// Stands in for a pane: answers the pane's questions with their parameters, counts
// activations and stops a flush at its bar.
class Pane : public ZHolderManager {
 public:
  using ZHolderManager::ZHolderManager;
  TWindow* bar = nullptr;
  int activated = 0;
  int placed = 0;
  std::vector<std::pair<UINT, std::pair<WPARAM, LPARAM>>> asked;

  void OnHolderActivated() override { ++activated; }
  void SetHolderMetrics(ZHolder* h) override {
    ++placed;
    ZHolderManager::SetHolderMetrics(h);
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuNewBtnMenu || msg == WmuGetPaneButtonBar || msg == WmuGetPaneTitleBar ||
        msg == WmuGetFlyMenu) {
      asked.push_back({msg, {wp, lp}});
      return LRESULT(msg);
    }
    return ZHolderManager::WindowProc(msg, wp, lp);
  }

 protected:
  bool IsFlushBoundary(TWindow& child) override { return &child == bar; }
};

// The window the pane sits in: answers WmuVexMciNotify.
class Frame : public TWindow {
 public:
  using TWindow::TWindow;
  std::vector<std::pair<WPARAM, LPARAM>> mci;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuVexMciNotify) {
      mci.push_back({wp, lp});
      return 77;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
};

class HolderTest : public AppTest {
 public:
  void SetUp() override {
    AppTest::SetUp();
    frame = std::make_unique<Frame>(nullptr);
    frame->Attr.W = 400;
    frame->Attr.H = 300;
    pane = new Pane(frame.get());
    pane->Attr.W = 200;
    pane->Attr.H = 150;
    ASSERT_TRUE(frame->Create());
  }
  void TearDown() override {
    frame.reset();
    AppTest::TearDown();
  }
  // A holder with content, made through GetHolder.
  Content* Fill(int id, const std::string& name) {
    ZHolder* h = pane->GetHolder(id);
    auto* c = new Content(h, name, &log);
    c->Create();
    return c;
  }

  std::unique_ptr<Frame> frame;
  Pane* pane = nullptr;
  Log log;
};

TEST_F(HolderTest, SwitchingSendsFiveThenTenAndReactivatingDoesNothing) {
  Content* a = Fill(1, "a");
  Content* b = Fill(2, "b");
  ZHolder* ha = pane->GetHolder(1);
  EXPECT_EQ(pane->GetActiveHolder(), nullptr);  // GetHolder leaves the active holder alone

  EXPECT_EQ(pane->ActivateHolder(1), ha);
  EXPECT_EQ(log, (Log{"a:notify10"}));                // no code 5 without an active holder
  EXPECT_EQ(ha->GetBounds(), TRect(0, 0, 200, 150));  // filling the manager

  log.clear();
  ZHolder* hb = pane->ActivateHolder(2);
  EXPECT_EQ(log, (Log{"a:notify5", "b:notify10"}));
  EXPECT_EQ(pane->GetActiveHolder(), hb);
  EXPECT_FALSE(ha->IsWindowVisible());
  EXPECT_FALSE(ha->IsWindowEnabled());
  EXPECT_EQ(ha->GetChild(), a->GetHandle());  // kept with its content
  EXPECT_TRUE(hb->IsWindowVisible() && hb->IsWindowEnabled());
  EXPECT_EQ(pane->GetTopWindow(), hb->GetHandle());
  EXPECT_EQ(pane->activated, 2);

  // The active one again: no notification, no placing, no layout.
  log.clear();
  hb->MoveWindow(5, 5, 20, 20);
  EXPECT_EQ(pane->ActivateHolder(2), hb);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(pane->activated, 2);
  EXPECT_EQ(pane->placed, 2);
  EXPECT_EQ(hb->GetBounds(), TRect(5, 5, 25, 25));
  (void)b;

  // A new id on the way creates its holder.
  ZHolder* hc = pane->ActivateHolder(3);
  ASSERT_NE(hc, nullptr);
  EXPECT_TRUE(hc->IsWindow());
  EXPECT_EQ(hc->GetId(), 3);
  EXPECT_EQ(hc->GetCaption(), "Holder");
  EXPECT_EQ(log, (Log{"b:notify5"}));
}

TEST_F(HolderTest, MessagesTravelDownToTheContentAndUpToThePane) {
  Content* a = Fill(1, "a");
  ZHolder* h = pane->GetHolder(1);
  HWND content = a->GetHandle();

  // Down, holder to content; nothing without content.
  EXPECT_EQ(h->SendMessage(WmuGetHelpKey, 3, 4), 7);
  EXPECT_EQ(h->SendMessage(WmuNotification, 2, 0), 102);
  ZHolder* empty = pane->GetHolder(2);
  EXPECT_EQ(empty->SendMessage(WmuGetHelpKey, 3, 4), 0);
  EXPECT_EQ(empty->SendMessage(WmuNotification, 2, 0), 0);
  // The manager passes notifications to the active holder only.
  EXPECT_EQ(pane->SendMessage(WmuNotification, 1, 0), 0);
  pane->ActivateHolder(1);
  log.clear();
  EXPECT_EQ(pane->SendMessage(WmuNotification, 1, 0), 101);
  EXPECT_EQ(log, (Log{"a:notify1"}));

  // Up, content to holder to pane (and the frame above it for the MCI notice).
  struct Up {
    UINT msg;
    LRESULT answer;
    bool reachesPane;
  };
  for (const Up& u :
       {Up{WmuNewBtnMenu, LRESULT(WmuNewBtnMenu), true},
        Up{WmuGetPaneButtonBar, LRESULT(WmuGetPaneButtonBar), true},
        Up{WmuGetPaneTitleBar, LRESULT(WmuGetPaneTitleBar), true},
        Up{WmuGetFlyMenu, LRESULT(WmuGetFlyMenu), true}, Up{WmuVexMciNotify, 77, false}}) {
    pane->asked.clear();
    frame->mci.clear();
    EXPECT_EQ(SendMessage(GetParent(content), u.msg, 5, 6), u.answer) << u.msg;
    if (u.reachesPane) {
      ASSERT_EQ(pane->asked.size(), 1u) << u.msg;
      EXPECT_EQ(pane->asked[0].second, (std::pair<WPARAM, LPARAM>{5, 6}));
    } else {
      EXPECT_EQ(frame->mci, (std::vector<std::pair<WPARAM, LPARAM>>{{5, 6}}));
    }
  }
  // The display mode: a plain manager answers full screen, whatever the parameters.
  EXPECT_EQ(SendMessage(GetParent(content), WmuGetDisplayMode, 5, 6), eFULL_SCREEN_MODE);
  EXPECT_EQ(pane->GetDisplayMode(), eFULL_SCREEN_MODE);
}

TEST_F(HolderTest, PassInwardReachesTheActiveContentOnly) {
  pane->PassInward(7432);  // no active holder
  pane->ActivateHolder(1);
  pane->PassInward(7432);  // an active holder without content
  EXPECT_TRUE(log.empty());
  new Content(pane->GetHolder(1), "a", &log);
  pane->GetHolder(1)->GetLastChild()->Create();
  pane->PassInward(7532);
  EXPECT_EQ(log, (Log{"a:command7532"}));
}

TEST_F(HolderTest, ContentClosingByItselfTakesItsHolderButKillChildAndGrandchildrenDoNot) {
  // A control inside the content goes: the notice climbs to the holder, which stays.
  Content* a = Fill(1, "a");
  auto* control = new TWindow(a);
  ASSERT_TRUE(control->Create());
  ZHolder* h1 = pane->ActivateHolder(1);
  control->Destroy();
  Pump();
  EXPECT_TRUE(h1->IsWindow());
  EXPECT_EQ(pane->GetHolder(1), h1);

  // KillChild: the content goes, the holder stays, empty.
  bool deleted = false;
  a->onDelete = [&] { deleted = true; };
  h1->KillChild();
  Pump();
  EXPECT_TRUE(deleted);
  EXPECT_TRUE(h1->IsWindow());
  EXPECT_EQ(h1->GetChild(), nullptr);
  EXPECT_FALSE(h1->IsKilling());
  EXPECT_EQ(pane->GetHolder(1), h1);

  // Content that closes itself: its holder closes too, is deleted, and is found no more.
  Content* b = Fill(2, "b");
  ZHolder* h2 = pane->ActivateHolder(2);
  HWND h2Handle = h2->GetHandle();
  b->PostMessage(WM_USER);
  Pump();
  EXPECT_FALSE(IsWindow(h2Handle));
  EXPECT_EQ(pane->GetActiveHolder(), nullptr);
  EXPECT_EQ(pane->NumChildren(), 1u);  // h1 only: h2's object is gone
  ZHolder* again = pane->ActivateHolder(2);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->IsWindow());
  EXPECT_EQ(again->GetChild(), nullptr);  // a fresh holder, not the closed one
}

TEST_F(HolderTest, AnActiveHolderClosedButNotYetDeletedIsNotNotified) {
  Content* a = Fill(1, "a");
  ZHolder* h1 = pane->ActivateHolder(1);
  h1->Destroy();  // closed, waiting for the loop
  EXPECT_EQ(pane->LiveChildWithId(1), nullptr);
  log.clear();
  ZHolder* fresh = pane->ActivateHolder(1);
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, h1);
  EXPECT_TRUE(fresh->IsWindow());
  EXPECT_TRUE(log.empty());  // a had gone with its holder; nobody hears code 5
  (void)a;
  Pump();
  EXPECT_EQ(pane->GetChildren(), (std::vector<TWindow*>{fresh}));
}

TEST_F(HolderTest, FlushPumpsBetweenDeletionsAndStopsAtTheBoundary) {
  pane->bar = new TWindow(pane);
  ASSERT_TRUE(pane->bar->Create());
  Fill(1, "a");
  Fill(2, "b");
  Content* c = Fill(3, "c");
  ZHolder* h1 = pane->GetHolder(1);
  pane->ActivateHolder(3);
  // The newest content, going, posts a close to the oldest holder: it runs before the flush
  // deletes the next one.
  c->onDestroy = [h1] { h1->PostMessage(WM_CLOSE); };
  log.clear();
  pane->FlushHolders();
  EXPECT_EQ(log, (Log{"c:destroy", "a:destroy", "b:destroy"}));
  EXPECT_EQ(pane->GetChildren(), (std::vector<TWindow*>{pane->bar}));
  EXPECT_EQ(pane->GetActiveHolder(), nullptr);

  // Without a boundary every child goes.
  pane->GetHolder(4);
  pane->FlushHolders();
  pane->bar = nullptr;
  pane->FlushHolders();
  EXPECT_EQ(pane->NumChildren(), 0u);
}

TEST_F(HolderTest, AFlushEndsEvenWhenHandlersKeepMakingHolders) {
  // Every content that goes asks for a new holder with content, through a posted message.
  struct Maker : TWindow {
    Maker(TWindow* parent, HolderTest* test) : TWindow(parent), test(test) {}
    HolderTest* test;
    int next = 100;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
      if (msg == WM_USER) {
        Content* c = test->Fill(next++, "new");
        HWND self = GetHandle();
        c->onDestroy = [self] { quill::PostMessage(self, WM_USER); };
        return 0;
      }
      return TWindow::WindowProc(msg, wp, lp);
    }
  };
  auto* maker = new Maker(frame.get(), this);
  ASSERT_TRUE(maker->Create());
  HWND makerHandle = maker->GetHandle();
  for (int id = 1; id <= 3; ++id)
    Fill(id, "old")->onDestroy = [makerHandle] { PostMessage(makerHandle, WM_USER); };
  pane->FlushHolders();
  // The three holders of the start and the three made while they went are deleted; the
  // three made while deleting those stay.
  EXPECT_EQ(maker->next, 106);
  std::vector<int> left;
  for (TWindow* c : pane->GetChildren()) left.push_back(c->GetId());
  EXPECT_EQ(left, (std::vector<int>{101, 103, 105}));
}

TEST_F(HolderTest, HoldersEraseInTheirBackgroundColourAndAnswerRedrawOnResize) {
  ZHolder* h = pane->ActivateHolder(1);
  EXPECT_EQ(h->GetBackgroundColor(), GetAppColor(HOLDER_BACKGROUND));
  EXPECT_TRUE(h->GetStyle() & WS_CLIPCHILDREN);
  EXPECT_TRUE(h->GetStyle() & WS_CLIPSIBLINGS);
  Pump();
  EXPECT_EQ(ScreenPixel(50, 50), IndexOf(GetAppColor(HOLDER_BACKGROUND)));
  NCCALCSIZE_PARAMS p;
  EXPECT_EQ(h->SendMessage(WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&p)), LRESULT(WVR_REDRAW));
  EXPECT_EQ(h->SendMessage(WM_NCCALCSIZE, 0, 0), 0);

  // The content follows the holder's size, and gets the focus the holder is given.
  Content* a = Fill(1, "a");
  h->MoveWindow(0, 0, 120, 90);
  EXPECT_EQ(a->GetBounds(), TRect(0, 0, 120, 90));
  h->SetFocus();
  EXPECT_EQ(GetFocus(), a->GetHandle());
}

}  // namespace
}  // namespace quill::test
