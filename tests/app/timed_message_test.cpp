#include "quillui/app/timed_message.h"

#include "app_test_support.h"
#include "quillui/app/app_registry.h"
#include "quillui/framework/base/module.h"
#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/testing/framework.h"

namespace quill::test {
namespace {

class Frame : public TWindow, public ZVexFrame {
 public:
  Frame() : TWindow(nullptr, "Frame") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = 0;
    Attr.Y = 0;
    Attr.W = 640;
    Attr.H = 480;
  }
  TWindow& GetFrameTWindow() override { return *this; }
};

// Records where it stood and what timer it ran once it was set up.
class ProbeDlg : public TimedMessageDlg {
 public:
  using TimedMessageDlg::TimedMessageDlg;
  TRect shownAt;
  UINT timerAtSetup = 0;
  uint64_t shownMs = 0;

 protected:
  void SetupWindow() override {
    TimedMessageDlg::SetupWindow();
    shownAt = GetWindowRect();
    timerAtSetup = TimerId();
    shownMs = TWindowSystem::Get().NowMs();
  }
};

class TimedMessageTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ResetAnswerHook();
    TDialogTemplate t;
    t.name = "BOOKMARK_CREATED";
    t.caption = "Bookmark";
    t.units = TRect(0, 0, 120, 40);
    t.items.push_back(
        TDialogItemTemplate{"STATIC", "Bookmark created", -1, TRect(10, 10, 110, 20), 0});
    module.Resources().AddDialog(t);
    frame.Create();
    tableau = new TWindow(&frame, "tableau");
    tableau->Attr.Style = WS_CHILD | WS_VISIBLE;
    tableau->Attr.X = 40;
    tableau->Attr.Y = 30;
    tableau->Attr.W = 501;
    tableau->Attr.H = 301;
    tableau->Create();
    frame.SetTableau(nullptr, tableau);
    SetAppFrame(&frame);
  }
  void TearDown() override {
    ResetAnswerHook();
    AppTest::TearDown();
  }

  TModule module{"quillui"};
  Frame frame;
  TWindow* tableau = nullptr;
};

TEST_F(TimedMessageTest, ClosesItselfAfterExactlyOneSecond) {
  uint64_t start = clock->NowMs();
  int result = DisplayTimedMessageDlg("BOOKMARK_CREATED", &module);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(clock->NowMs() - start, 1000u);
  EXPECT_EQ(TWindowSystem::Get().TimerCount(), 0u);
  EXPECT_TRUE(frame.IsWindowEnabled());
  // It really ran: the answer hook saw the question and declined it.
  ASSERT_FALSE(RecordedQuestions().empty());
  EXPECT_EQ(RecordedQuestions().back().resourceName, "BOOKMARK_CREATED");
}

TEST_F(TimedMessageTest, CentresOverTheTableauAndRunsTimerThree) {
  ProbeDlg dlg(tableau, "BOOKMARK_CREATED", &module);
  uint64_t start = clock->NowMs();
  EXPECT_EQ(dlg.Execute(), IDCANCEL);
  EXPECT_EQ(dlg.timerAtSetup, TimedMessageDlg::kTimerId);
  EXPECT_EQ(dlg.shownMs, start);
  EXPECT_EQ(clock->NowMs(), start + 1000);
  EXPECT_EQ(dlg.TimerId(), 0u);
  TRect t = tableau->GetWindowRect();
  TRect d = dlg.shownAt;
  EXPECT_EQ(d.left, t.left + (t.Width() - d.Width()) / 2);
  EXPECT_EQ(d.top, t.top + (t.Height() - d.Height()) / 2);
}

TEST_F(TimedMessageTest, OtherTimersDoNotCloseIt) {
  // A timer of the tableau due earlier fires first; the dialog still waits its full second.
  tableau->SetTimer(7, 300);
  uint64_t start = clock->NowMs();
  EXPECT_EQ(DisplayTimedMessageDlg("BOOKMARK_CREATED", &module), IDCANCEL);
  EXPECT_EQ(clock->NowMs() - start, 1000u);
  tableau->KillTimer(7);
}

TEST_F(TimedMessageTest, AnsweredByTheHookWithoutRunning) {
  SetAnswerHook([](const TModalQuestion&) {
    return std::optional<TModalAnswer>(TModalAnswer{IDOK, {}});
  });
  uint64_t start = clock->NowMs();
  EXPECT_EQ(DisplayTimedMessageDlg("BOOKMARK_CREATED", &module), IDOK);
  EXPECT_EQ(clock->NowMs(), start);
}

TEST_F(TimedMessageTest, MissingResourceFailsCleanly) {
  EXPECT_EQ(DisplayTimedMessageDlg("NO_SUCH_DIALOG", &module), -1);
  EXPECT_EQ(TWindowSystem::Get().TimerCount(), 0u);
}

}  // namespace
}  // namespace quill::test
