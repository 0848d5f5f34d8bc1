// Window life cycle, message order, focus, capture, z-order and input routing.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

using Log = std::vector<std::string>;

bool Contains(const Log& log, const std::string& entry) {
  return std::find(log.begin(), log.end(), entry) != log.end();
}

// Index of the first entry equal to s, or -1.
int PositionIn(const Log& log, const std::string& s) {
  auto it = std::find(log.begin(), log.end(), s);
  return it == log.end() ? -1 : int(it - log.begin());
}

class WindowTest : public HeadlessTest {};

TEST_F(WindowTest, CreateNotifiesParentAndDestroyTakesChildrenFirst) {
  Log log;
  TRecorder top(nullptr, "top", &log, {10, 10, 200, 200});
  auto* a = new TRecorder(&top, "a", &log, {0, 0, 50, 50});
  auto* b = new TRecorder(a, "b", &log, {0, 0, 10, 10});
  auto* quiet = new TRecorder(&top, "quiet", &log, {60, 0, 70, 10});
  quiet->Attr.ExStyle |= WS_EX_NOPARENTNOTIFY;
  ASSERT_TRUE(top.Create());
  EXPECT_TRUE(a->IsWindow() && b->IsWindow() && quiet->IsWindow());

  // b's creation reaches both ancestors; the opted-out child reaches none.
  EXPECT_LT(PositionIn(log, "a:WM_CREATE"), PositionIn(log, "top:WM_PARENTNOTIFY(WM_CREATE)"));
  EXPECT_EQ(std::count(log.begin(), log.end(), "top:WM_PARENTNOTIFY(WM_CREATE)"), 2);
  EXPECT_TRUE(Contains(log, "a:WM_PARENTNOTIFY(WM_CREATE)"));
  EXPECT_TRUE(Contains(log, "quiet:WM_CREATE"));

  log.clear();
  HWND ha = a->GetHandle(), hb = b->GetHandle();
  a->Destroy();
  Log expected = {"a:WM_PARENTNOTIFY(WM_DESTROY)", "top:WM_PARENTNOTIFY(WM_DESTROY)",
                  "b:WM_DESTROY", "top:WM_PARENTNOTIFY(WM_DESTROY)", "a:WM_DESTROY"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(GetWindowPtr(ha), nullptr);
  EXPECT_EQ(GetWindowPtr(hb), nullptr);
  EXPECT_FALSE(IsWindow(ha));
  // The objects stay until their owner goes; a dead handle answers null, never a dangling object.
  EXPECT_EQ(top.NumChildren(), 2u);
}

TEST_F(WindowTest, CreateRefusedByHandlerLeavesNoHandle) {
  struct Refuser : TWindow {
    using TWindow::TWindow;
    int EvCreate() override { return -1; }
  };
  TWindow top(nullptr);
  top.Attr.W = top.Attr.H = 100;
  ASSERT_TRUE(top.Create());
  auto* r = new Refuser(&top);
  EXPECT_FALSE(r->Create());
  EXPECT_FALSE(r->IsWindow());
  EXPECT_EQ(top.GetTopWindow(), nullptr);
}

TEST_F(WindowTest, SendIsSynchronousAndPostIsQueued) {
  struct Echo : TWindow {
    using TWindow::TWindow;
    std::vector<int> seen;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
      if (msg == WM_USER) {
        seen.push_back(int(wp));
        return LRESULT(wp * 2);
      }
      return TWindow::WindowProc(msg, wp, lp);
    }
  };
  Echo w(nullptr);
  w.Attr.W = w.Attr.H = 10;
  ASSERT_TRUE(w.Create());
  EXPECT_TRUE(w.PostMessage(WM_USER, 1));
  EXPECT_TRUE(w.PostMessage(WM_USER, 2));
  EXPECT_EQ(w.SendMessage(WM_USER, 21), 42);
  EXPECT_EQ(w.seen, (std::vector<int>{21}));
  Pump();
  EXPECT_EQ(w.seen, (std::vector<int>{21, 1, 2}));
  // A message posted to a window that died in the meantime is dropped.
  HWND h = w.GetHandle();
  PostMessage(h, WM_USER, 3);
  w.Destroy();
  Pump();
  EXPECT_EQ(w.seen.size(), 3u);
}

TEST_F(WindowTest, LoopOrderIsPostedThenTimersThenPaintsThenIdle) {
  Log log;
  TApplication app("test");
  app.SetIdleHook([&](long count) {
    log.push_back("idle:" + std::to_string(count));
    return count < 1;
  });
  TRecorder w(nullptr, "w", &log, {0, 0, 100, 100});
  ASSERT_TRUE(w.Create());
  app.SetMainWindow(&w);
  Pump();
  log.clear();

  w.SetTimer(7, 50);
  Advance(50);
  w.Invalidate(true);
  w.PostMessage(WM_USER + 5);
  EXPECT_TRUE(app.PumpWaitingMessages());
  Log expected = {"w:0x0405", "w:WM_TIMER(7)", "w:WM_PAINT", "w:WM_ERASEBKGND"};
  EXPECT_EQ(log, expected);  // the erase is sent from the paint handler, before any drawing

  log.clear();
  EXPECT_FALSE(app.PumpWaitingMessages());
  EXPECT_FALSE(app.IdleAction(0) && app.IdleAction(1));
  EXPECT_EQ(log, (Log{"idle:0", "idle:1"}));
}

TEST_F(WindowTest, TimersFireOnceWhenLateAndStopWhenKilled) {
  Log log;
  TRecorder w(nullptr, "w", &log, {0, 0, 10, 10});
  ASSERT_TRUE(w.Create());
  w.SetTimer(1, 100);
  w.SetTimer(2, 30);
  Pump();
  log.clear();
  Advance(29);
  Pump();
  EXPECT_TRUE(log.empty());
  Advance(1000);  // many intervals missed: one message each, earliest due first
  Pump();
  EXPECT_EQ(log, (Log{"w:WM_TIMER(2)", "w:WM_TIMER(1)"}));
  log.clear();
  w.KillTimer(2);
  Advance(100);
  Pump();
  EXPECT_EQ(log, (Log{"w:WM_TIMER(1)"}));
  // Destroying the window kills its timers.
  w.Destroy();
  EXPECT_EQ(TWindowSystem::Get().TimerCount(), 0u);
}

TEST_F(WindowTest, ZOrderAndChildListOrderAreBothQueryable) {
  TWindow top(nullptr);
  top.Attr.W = top.Attr.H = 100;
  auto* a = new TWindow(&top);
  auto* b = new TWindow(&top);
  auto* c = new TWindow(&top);
  ASSERT_TRUE(top.Create());
  // Creation order in the child list; the newest child on top of the stack.
  EXPECT_EQ(top.GetChildren(), (std::vector<TWindow*>{a, b, c}));
  EXPECT_EQ(top.GetTopWindow(), c->GetHandle());
  EXPECT_EQ(GetWindow(c->GetHandle(), GW_HWNDNEXT), b->GetHandle());
  EXPECT_EQ(GetWindow(b->GetHandle(), GW_HWNDNEXT), a->GetHandle());
  EXPECT_EQ(GetWindow(a->GetHandle(), GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(a->GetHandle(), GW_HWNDFIRST), c->GetHandle());

  a->BringWindowToTop();
  EXPECT_EQ(top.GetTopWindow(), a->GetHandle());
  b->SetWindowPos(HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(a->GetHandle(), GW_HWNDLAST), b->GetHandle());
  c->SetWindowPos(b->GetHandle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // just below b
  EXPECT_EQ(GetWindow(c->GetHandle(), GW_HWNDPREV), b->GetHandle());
  EXPECT_EQ(top.GetChildren(), (std::vector<TWindow*>{a, b, c}));  // the child list is unmoved

  EXPECT_TRUE(top.IsChild(a->GetHandle()));
  EXPECT_EQ(GetParent(a->GetHandle()), top.GetHandle());
  EXPECT_EQ(GetTopWindow(nullptr), top.GetHandle());
}

TEST_F(WindowTest, EnumWindowsVisitsTopLevelWindowsTopFirst) {
  TWindow first(nullptr), second(nullptr);
  first.Attr.W = second.Attr.W = 10;
  ASSERT_TRUE(first.Create());
  ASSERT_TRUE(second.Create());
  std::vector<HWND> seen;
  EnumWindows(
      [](HWND h, LPARAM p) {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return true;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{second.GetHandle(), first.GetHandle()}));
}

TEST_F(WindowTest, SetWindowPosSendsChangingChangedMoveAndSize) {
  Log log;
  TRecorder top(nullptr, "top", &log, {0, 0, 300, 300});
  auto* c = new TRecorder(&top, "c", &log, {10, 10, 60, 60});
  ASSERT_TRUE(top.Create());
  log.clear();
  c->SetWindowPos(nullptr, 20, 10, 50, 80, SWP_NOZORDER);
  EXPECT_EQ(log,
            (Log{"c:WM_WINDOWPOSCHANGING", "c:WM_WINDOWPOSCHANGED", "c:WM_MOVE", "c:WM_SIZE"}));
  EXPECT_EQ(c->GetBounds(), TRect(20, 10, 70, 90));
  log.clear();
  c->SetWindowPos(nullptr, 0, 0, 10, 10, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(log, (Log{"c:WM_WINDOWPOSCHANGING", "c:WM_WINDOWPOSCHANGED", "c:WM_SIZE"}));
  EXPECT_EQ(c->GetBounds(), TRect(20, 10, 30, 20));

  TPoint p(1, 2);
  c->ClientToScreen(p);
  EXPECT_EQ(p, TPoint(21, 12));
  TPoint q(21, 12);
  MapWindowPoints(nullptr, c->GetHandle(), &q, 1);
  EXPECT_EQ(q, TPoint(1, 2));
}

TEST_F(WindowTest, FocusAndKeysGoToTheFocusWindow) {
  Log log;
  TRecorder top(nullptr, "top", &log, {0, 0, 300, 300});
  auto* a = new TRecorder(&top, "a", &log, {0, 0, 100, 100});
  auto* b = new TRecorder(&top, "b", &log, {100, 0, 200, 100});
  ASSERT_TRUE(top.Create());
  a->SetFocus();
  Pump();
  log.clear();
  EXPECT_EQ(b->SetFocus(), a->GetHandle());
  EXPECT_EQ(log, (Log{"a:WM_KILLFOCUS", "b:WM_SETFOCUS"}));
  EXPECT_EQ(GetFocus(), b->GetHandle());
  log.clear();
  Key(VK_F6);
  Key(VK_F6, false);
  EXPECT_EQ(log, (Log{"b:WM_KEYDOWN", "b:WM_KEYUP"}));
  // A disabled window cannot take the focus; disabling the focus window drops it.
  a->EnableWindow(false);
  EXPECT_EQ(a->SetFocus(), nullptr);
  EXPECT_EQ(GetFocus(), b->GetHandle());
  b->EnableWindow(false);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowTest, MouseGoesToCaptureElseToTheWindowUnderThePoint) {
  Log log;
  TRecorder top(nullptr, "top", &log, {0, 0, 300, 300});
  auto* a = new TRecorder(&top, "a", &log, {0, 0, 100, 100});
  auto* b = new TRecorder(&top, "b", &log, {100, 0, 200, 100});
  ASSERT_TRUE(top.Create());
  Pump();
  log.clear();
  MouseMove(150, 50);
  EXPECT_EQ(log, (Log{"b:WM_MOUSEMOVE"}));
  EXPECT_EQ(WindowFromPoint({150, 50}), b->GetHandle());
  EXPECT_EQ(WindowFromPoint({150, 150}), top.GetHandle());

  a->SetCapture();
  log.clear();
  MouseMove(150, 50);
  MouseDown(250, 250);
  MouseUp(250, 250);
  EXPECT_EQ(log, (Log{"a:WM_MOUSEMOVE", "a:WM_LBUTTONDOWN", "a:WM_LBUTTONUP"}));
  log.clear();
  SetCapture(b->GetHandle());
  EXPECT_EQ(log, (Log{"a:WM_CAPTURECHANGED"}));
  // Losing the display's focus releases capture.
  platform::InputEvent lost;
  lost.kind = platform::InputKind::FocusLost;
  backend->Inject(lost);
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowTest, TransparentAndDisabledChildrenLetThePointThrough) {
  struct SeeThrough : TWindow {
    using TWindow::TWindow;
    UINT EvNCHitTest(const TPoint&) override { return UINT(HTTRANSPARENT); }
  };
  TWindow top(nullptr);
  top.Attr.W = top.Attr.H = 300;
  auto* under = new TWindow(&top);
  under->Attr.W = under->Attr.H = 100;
  auto* glass = new SeeThrough(&top);
  glass->Attr.W = glass->Attr.H = 100;
  auto* off = new TWindow(&top);
  off->Attr.X = 200;
  off->Attr.W = off->Attr.H = 50;
  off->Attr.Style |= WS_DISABLED;
  ASSERT_TRUE(top.Create());
  EXPECT_EQ(WindowFromPoint({50, 50}), under->GetHandle());
  EXPECT_EQ(WindowFromPoint({210, 10}), top.GetHandle());
}

TEST_F(WindowTest, DoubleClickNeedsSameWindowTimeAndDistance) {
  Log log;
  TRecorder top(nullptr, "top", &log, {0, 0, 300, 300});
  top.recordMouseMoves = false;
  ASSERT_TRUE(top.Create());
  auto presses = [&] {
    Log downs;
    for (const auto& e : log)
      if (e.find("BUTTONDOWN") != std::string::npos || e.find("DBLCLK") != std::string::npos)
        downs.push_back(e);
    return downs;
  };
  struct Case {
    uint64_t gapMs;
    int dx;
    bool dbl;
  };
  for (const Case& c :
       {Case{100, 0, true}, Case{500, 2, true}, Case{501, 0, false}, Case{10, 3, false}}) {
    log.clear();
    Advance(5000);
    Click(100, 100);
    Advance(c.gapMs);
    Click(100 + c.dx, 100);
    Log expected = {"top:WM_LBUTTONDOWN", c.dbl ? "top:WM_LBUTTONDBLCLK" : "top:WM_LBUTTONDOWN"};
    EXPECT_EQ(presses(), expected) << "gap " << c.gapMs << " dx " << c.dx;
  }
  // A third quick click starts a new pair.
  log.clear();
  Advance(5000);
  Click(100, 100);
  Click(100, 100);
  Click(100, 100);
  EXPECT_EQ(presses(), (Log{"top:WM_LBUTTONDOWN", "top:WM_LBUTTONDBLCLK", "top:WM_LBUTTONDOWN"}));
}

TEST_F(WindowTest, MouseActivateCanEatTheClick) {
  struct Eater : TRecorder {
    using TRecorder::TRecorder;
    int EvMouseActivate(HWND, UINT, UINT) override { return MA_NOACTIVATEANDEAT; }
  };
  Log log;
  Eater w(nullptr, "w", &log, {0, 0, 100, 100});
  ASSERT_TRUE(w.Create());
  Pump();
  log.clear();
  MouseDown(10, 10);
  EXPECT_EQ(log, (Log{"w:WM_MOUSEACTIVATE"}));
}

TEST_F(WindowTest, PreProcessMsgSeesQueuedMessagesFirstAndMayConsumeThem) {
  struct Filter : TRecorder {
    using TRecorder::TRecorder;
    bool PreProcessMsg(MSG& m) override { return m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE; }
  };
  Log log;
  Filter top(nullptr, "top", &log, {0, 0, 100, 100});
  auto* child = new TRecorder(&top, "child", &log, {0, 0, 50, 50});
  ASSERT_TRUE(top.Create());
  child->SetFocus();
  Pump();
  log.clear();
  Key(VK_ESCAPE);
  Key(VK_RETURN);
  EXPECT_EQ(log, (Log{"child:WM_KEYDOWN"}));
}

TEST_F(WindowTest, CommandsAndCommandEnablersUseTheResponseTable) {
  struct Frame : TWindow {
    using TWindow::TWindow;
    int saved = 0;
    int sized = 0;
    void CmSave() { ++saved; }
    void CeSave(TCommandEnabler& ce) { ce.Enable(false); }
    void CmOpen() {}
    LRESULT OnUser(WPARAM wp, LPARAM) { return LRESULT(wp + 1); }
    const TResponseTable& GetResponseTable() const override {
      static const TResponseEntry entries[] = {
          OnCommand<&Frame::CmSave>(101),
          OnCommandEnable<&Frame::CeSave>(101),
          OnCommand<&Frame::CmOpen>(102),
          OnMessage<&Frame::OnUser>(WM_USER + 1),
      };
      static const TResponseTable table{&TWindow::GetResponseTable(), entries};
      return table;
    }
  };
  Frame f(nullptr);
  f.Attr.W = f.Attr.H = 100;
  auto* child = new TWindow(&f);
  ASSERT_TRUE(f.Create());
  f.SendMessage(WM_COMMAND, MAKEWPARAM(101, 0));
  EXPECT_EQ(f.saved, 1);
  EXPECT_EQ(f.SendMessage(WM_USER + 1, 41), 42);

  TCommandEnabler save(101), open(102), none(103);
  child->RouteCommandEnable(save);
  child->RouteCommandEnable(open);
  child->RouteCommandEnable(none);
  EXPECT_TRUE(save.GetHandled());
  EXPECT_FALSE(save.IsEnabled());
  EXPECT_TRUE(open.GetHandled() && open.IsEnabled());
  EXPECT_FALSE(none.GetHandled());
}

TEST_F(WindowTest, CloseDestroysByDefaultAndEndsTheMainWindowsLoop) {
  TApplication app("test");
  TWindow main(nullptr);
  main.Attr.W = main.Attr.H = 100;
  ASSERT_TRUE(main.Create());
  app.SetMainWindow(&main);
  main.PostMessage(WM_CLOSE);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_FALSE(main.IsWindow());
}

TEST_F(WindowTest, RunJumpsTheManualClockToTimersAndModalLoopsNest) {
  struct Ticker : TWindow {
    using TWindow::TWindow;
    int ticks = 0;
    void EvTimer(UINT) override {
      if (++ticks == 3) TApplication::Current()->EndModal(7);
    }
  };
  TApplication app("test");
  Ticker owner(nullptr);
  owner.Attr.W = owner.Attr.H = 100;
  ASSERT_TRUE(owner.Create());
  auto* dialog = new TWindow(&owner);
  dialog->Attr.Style = WS_POPUP | WS_VISIBLE;
  ASSERT_TRUE(dialog->Create());
  owner.SetTimer(1, 1000);
  uint64_t start = clock->NowMs();
  EXPECT_EQ(app.BeginModal(dialog), 7);
  EXPECT_EQ(owner.ticks, 3);
  EXPECT_EQ(clock->NowMs() - start, 3000u);
  EXPECT_TRUE(owner.IsWindowEnabled());  // the owner is enabled again after the modal loop
  // With nothing left to wait for, the loop ends instead of hanging.
  owner.KillTimer(1);
  EXPECT_EQ(app.Run(), -1);
}

TEST_F(WindowTest, PostMessageIsSafeFromAnotherThread) {
  struct Counter : TWindow {
    using TWindow::TWindow;
    int count = 0;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
      if (msg == WM_USER) ++count;
      return TWindow::WindowProc(msg, wp, lp);
    }
  };
  Counter w(nullptr);
  w.Attr.W = 10;
  ASSERT_TRUE(w.Create());
  HWND h = w.GetHandle();
  std::thread t([h] {
    for (int i = 0; i < 1000; ++i) PostMessage(h, WM_USER);
  });
  t.join();
  Pump();
  EXPECT_EQ(w.count, 1000);
}

}  // namespace
}  // namespace quill::test

namespace quill::test {
namespace {

TEST_F(WindowTest, AHandlerMayDeleteTheWindowItRunsIn) {
  struct Doomed : TWindow {
    using TWindow::TWindow;
    void Die() { delete this; }
    LRESULT Forward(WPARAM, LPARAM) { return SendMessage(WM_USER + 2); }  // nested dispatch
    const TResponseTable& GetResponseTable() const override {
      static const TResponseEntry entries[] = {
          OnMessage<&Doomed::Die>(WM_USER + 2),
          OnMessage<&Doomed::Forward>(WM_USER + 1),
      };
      static const TResponseTable table{&TWindow::GetResponseTable(), entries};
      return table;
    }
  };
  TWindow top(nullptr);
  top.Attr.W = top.Attr.H = 50;
  auto* doomed = new Doomed(&top);
  ASSERT_TRUE(top.Create());
  HWND h = doomed->GetHandle();
  doomed->SendMessage(WM_USER + 1);  // ASan would report the write-back into the dead object
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(top.NumChildren(), 0u);
}

}  // namespace
}  // namespace quill::test
