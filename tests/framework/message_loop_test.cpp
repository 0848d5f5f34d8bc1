// The loop's finer points: the point and time of posted messages, paced idle time, the one
// idle path of windows with an idle list of their own, windows that close themselves, and the
// non-client messages.
#include <gtest/gtest.h>

#include <vector>

#include "quillui/framework/base/color.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

using Log = std::vector<std::string>;

class MessageLoopTest : public HeadlessTest {
 protected:
  void TearDown() override {
    TApplication::SetIdleListHook(nullptr);
    HeadlessTest::TearDown();
  }
};

// Records the message position and time each WM_USER and WM_TIMER is handled with.
struct Stamper : TWindow {
  using TWindow::TWindow;
  struct Stamp {
    UINT msg;
    int x, y;
    long time;
  };
  std::vector<Stamp> stamps;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_USER || msg == WM_TIMER) {
      uint32_t pos = GetMessagePos();
      stamps.push_back(
          {msg, GET_X_LPARAM(LPARAM(pos)), GET_Y_LPARAM(LPARAM(pos)), GetMessageTime()});
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
};

TEST_F(MessageLoopTest, PostedMessagesCarryTheCursorAndTimeOfTakingThem) {
  Stamper w(nullptr);
  w.Attr.W = w.Attr.H = 200;
  ASSERT_TRUE(w.Create());
  MouseMove(-5, 70);  // off-screen: the words carry signed coordinates
  w.PostMessage(WM_USER);
  Advance(25);  // the time is that of taking the message, not of posting it
  uint64_t takenAt = clock->NowMs();
  Pump();
  ASSERT_EQ(w.stamps.size(), 1u);
  EXPECT_EQ(w.stamps[0].x, -5);
  EXPECT_EQ(w.stamps[0].y, 70);
  EXPECT_EQ(w.stamps[0].time, long(takenAt));

  // Timers carry them too.
  w.SetTimer(1, 50);
  Advance(50);
  Pump();
  ASSERT_EQ(w.stamps.size(), 2u);
  EXPECT_EQ(w.stamps[1].msg, WM_TIMER);
  EXPECT_EQ(w.stamps[1].x, -5);
  EXPECT_EQ(w.stamps[1].time, long(takenAt + 50));
}

// A window that always asks for more idle time.
struct Hungry : TWindow {
  using TWindow::TWindow;
  std::vector<long> counts;
  std::vector<uint64_t> times;
  bool IdleAction(long idleCount) override {
    counts.push_back(idleCount);
    times.push_back(GetTickCount());
    return true;
  }
};

TEST_F(MessageLoopTest, AnIdleHungryWindowIsPacedAndDoesNotKeepRunGoing) {
  TApplication app("test");
  Hungry main(nullptr);
  main.Attr.W = main.Attr.H = 100;
  ASSERT_TRUE(main.Create());
  app.SetMainWindow(&main);
  Pump();

  // Nothing but the idle window: the loop ends instead of spinning on it.
  uint64_t start = clock->NowMs();
  EXPECT_EQ(app.Run(), -1);
  EXPECT_EQ(main.counts, (std::vector<long>{0, 1}));
  EXPECT_EQ(clock->NowMs(), start);

  // With a timer 100 ms away the idle rounds go on, a frame apart after the first two, with
  // a rising count, until the timer ends the loop.
  struct Quitter : TWindow {
    using TWindow::TWindow;
    void EvTimer(UINT) override { PostQuitMessage(3); }
  };
  auto* quitter = new Quitter(&main);
  ASSERT_TRUE(quitter->Create());
  quitter->SetTimer(1, 100);
  main.counts.clear();
  main.times.clear();
  start = clock->NowMs();
  EXPECT_EQ(app.Run(), 3);
  EXPECT_EQ(clock->NowMs(), start + 100);
  ASSERT_GE(main.counts.size(), 3u);
  EXPECT_LE(main.counts.size(), 100u / TApplication::kIdleFrameMs + 3);
  for (size_t i = 0; i < main.counts.size(); ++i) EXPECT_EQ(main.counts[i], long(i));
  EXPECT_EQ(main.times[1], main.times[0]);
  for (size_t i = 2; i < main.times.size(); ++i)
    EXPECT_EQ(main.times[i] - main.times[i - 1], uint64_t(TApplication::kIdleFrameMs));
}

TEST_F(MessageLoopTest, WhatIdleTimeInvalidatesIsPaintedBeforeTheLoopWaits) {
  // A window that changes its look once in idle time, as a button greyed by command enabling.
  struct Greying : TWindow {
    using TWindow::TWindow;
    bool greyed = false;
    int paints = 0;
    bool IdleAction(long) override {
      if (!greyed) {
        greyed = true;
        Invalidate(false);
      }
      return false;
    }
    void Paint(TDC&, bool, TRect&) override { ++paints; }
  };
  TApplication app("test");
  Greying main(nullptr);
  main.Attr.W = main.Attr.H = 100;
  ASSERT_TRUE(main.Create());
  app.SetMainWindow(&main);
  Pump();
  const int before = main.paints;
  EXPECT_EQ(app.Run(), -1);  // nothing left to wait for, but only after the paint
  EXPECT_TRUE(main.greyed);
  EXPECT_EQ(main.paints, before + 1);
}

TEST_F(MessageLoopTest, AWindowOnTheIdleListLeavesTheTreeWalk) {
  static std::vector<TWindow*> listed;
  static int listCalls;
  listed.clear();
  listCalls = 0;
  TApplication app("test");
  TWindow main(nullptr);
  main.Attr.W = main.Attr.H = 100;
  auto* walked = new Hungry(&main);
  auto* own = new Hungry(&main);
  ASSERT_TRUE(main.Create());
  app.SetMainWindow(&main);
  own->EnableTreeIdle(false);
  listed.push_back(own);
  TApplication::SetIdleListHook([](long count) {
    ++listCalls;
    bool more = false;
    for (TWindow* w : listed) more = w->IdleAction(count) || more;
    return more;
  });
  EXPECT_TRUE(app.IdleAction(4));
  EXPECT_EQ(listCalls, 1);
  EXPECT_EQ(walked->counts, (std::vector<long>{4}));
  EXPECT_EQ(own->counts, (std::vector<long>{4}));  // once, from the list only

  // A main window on the list is not walked either.
  main.EnableTreeIdle(false);
  EXPECT_TRUE(app.IdleAction(5));
  EXPECT_EQ(walked->counts.size(), 1u);
  EXPECT_EQ(own->counts.size(), 2u);
}

// A child that closes itself on WM_USER, asking (or not) to be deleted with its window.
struct SelfCloser : TWindow {
  SelfCloser(TWindow* parent, int id, bool deleteWhenClosed, int* deleted)
      : TWindow(parent), deleted(deleted) {
    Attr.Id = id;
    SetDeleteWhenClosed(deleteWhenClosed);
  }
  ~SelfCloser() override { ++*deleted; }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_USER) {
      CloseWindow();
      // Still inside its own handler: the object must live until the handler is done.
      EXPECT_EQ(*deleted, 0);
      return 1;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  int* deleted;
};

TEST_F(MessageLoopTest, AWindowThatClosedItselfIsNotFoundByIdAndMayBeDeletedByTheLoop) {
  TWindow top(nullptr);
  top.Attr.W = top.Attr.H = 100;
  int reapedDeleted = 0, keptDeleted = 0;
  auto* reaped = new SelfCloser(&top, 7, true, &reapedDeleted);
  auto* kept = new SelfCloser(&top, 8, false, &keptDeleted);
  ASSERT_TRUE(top.Create());
  EXPECT_EQ(top.LiveChildWithId(7), reaped);

  reaped->PostMessage(WM_USER);
  kept->PostMessage(WM_USER);
  Pump();
  EXPECT_EQ(reapedDeleted, 1);  // deleted by the loop after the message
  EXPECT_EQ(keptDeleted, 0);
  EXPECT_EQ(top.GetChildren(), (std::vector<TWindow*>{kept}));
  EXPECT_EQ(top.ChildWithId(8), kept);         // the object is still there...
  EXPECT_EQ(top.LiveChildWithId(8), nullptr);  // ...but its window is gone
  EXPECT_EQ(top.LiveChildWithId(7), nullptr);

  // Sent rather than posted: the loop deletes it after the next message it takes. An owner
  // that deletes such an object first deletes it once (ASan would see a second delete).
  int sentDeleted = 0, ownedDeleted = 0;
  auto* sent = new SelfCloser(&top, 9, true, &sentDeleted);
  auto* owned = new SelfCloser(&top, 10, true, &ownedDeleted);
  ASSERT_TRUE(sent->Create() && owned->Create());
  sent->SendMessage(WM_USER);
  owned->SendMessage(WM_USER);
  EXPECT_EQ(sentDeleted, 0);
  delete owned;
  top.PostMessage(WM_NULL);
  Pump();
  EXPECT_EQ(sentDeleted, 1);
  EXPECT_EQ(ownedDeleted, 1);
  EXPECT_EQ(top.GetChildren(), (std::vector<TWindow*>{kept}));
}

TEST_F(MessageLoopTest, NonClientMessagesAndSystemColours) {
  struct NonClient : TRecorder {
    using TRecorder::TRecorder;
    std::vector<TRect> calc;
    UINT EvNCCalcSize(bool valid, NCCALCSIZE_PARAMS& p) override {
      if (valid)
        for (auto& r : p.rgrc) calc.push_back(TRect(r[0], r[1], r[2], r[3]));
      return WVR_REDRAW;
    }
  };
  Log log;
  TRecorder top(nullptr, "top", &log, {0, 0, 300, 300});
  auto* c = new NonClient(&top, "c", &log, {10, 10, 60, 60}, WS_BORDER);
  ASSERT_TRUE(top.Create());
  c->MoveWindow(20, 10, 100, 50);
  EXPECT_EQ(c->calc, (std::vector<TRect>{{20, 10, 120, 60}, {10, 10, 60, 60}, {11, 11, 59, 59}}));
  c->calc.clear();
  c->MoveWindow(30, 30, 100, 50);  // a move alone does not ask
  EXPECT_TRUE(c->calc.empty());

  // Non-client presses do nothing by default.
  log.clear();
  EXPECT_EQ(c->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKEPOINTLPARAM(40, 40)), 0);
  EXPECT_EQ(c->SendMessage(WM_NCRBUTTONDOWN, HTBORDER, MAKEPOINTLPARAM(40, 40)), 0);
  EXPECT_EQ(log, (Log{"c:0x00A1", "c:0x00A4"}));
  EXPECT_TRUE(c->IsWindow());

  EXPECT_EQ(WM_CTLCOLORSTATIC, 0x0138u);
  EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), TColor::Black);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), TColor::LtGray);
}

}  // namespace
}  // namespace quill::test
