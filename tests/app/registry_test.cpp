#include "quillui/app/app_registry.h"

#include <string>
#include <vector>

#include "app_test_support.h"
#include "quillui/app/file_names.h"
#include "quillui/app/ini_changed.h"
#include "quillui/app/modal_maker.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/window/window.h"
#include "quillui/profile/entries.h"
#include "quillui/profile/paths.h"
#include "quillui/testing/app.h"
#include "quillui/testing/profile.h"

namespace quill::test {
namespace {

// A host frame: a top-level window that records the user messages it is sent.
class TestFrame : public TWindow, public ZVexFrame {
 public:
  explicit TestFrame(std::vector<std::string>* log = nullptr)
      : TWindow(nullptr, "Frame"), log_(log) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = 100;
    Attr.Y = 50;
    Attr.W = 400;
    Attr.H = 300;
  }
  TWindow& GetFrameTWindow() override { return *this; }

  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg >= WmuGetHelpKey && msg <= WmuLogTracking) {
      messages.push_back({msg, wp, lp});
      if (log_) log_->push_back("frame:" + std::to_string(msg));
      return 0;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }

  struct Sent {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
  };
  std::vector<Sent> messages;

 private:
  std::vector<std::string>* log_;
};

TWindow* MakePopup(TWindow* owner, TRect r) {
  auto* w = new TWindow(owner, "popup");
  w->Attr.Style = WS_POPUP | WS_VISIBLE;
  w->Attr.X = r.left;
  w->Attr.Y = r.top;
  w->Attr.W = r.Width();
  w->Attr.H = r.Height();
  return w;
}

using RegistryTest = AppTest;

TEST_F(RegistryTest, FrameAndTableauViews) {
  EXPECT_EQ(GetAppFrame(), nullptr);
  EXPECT_EQ(GetAppFrameTWindow(), nullptr);
  EXPECT_EQ(GetTableauTWindow(), nullptr);
  SetHintText("nobody listens");  // no frame: nothing happens, nothing breaks

  TestFrame frame;
  frame.Create();
  SetAppFrame(&frame);
  EXPECT_EQ(GetAppFrame(), &frame);
  EXPECT_EQ(GetAppFrameTWindow(), static_cast<TWindow*>(&frame));
  EXPECT_EQ(GetTableauTWindow(), nullptr);
  TWindow tableau(&frame, "tableau");
  frame.SetTableau(nullptr, &tableau);
  EXPECT_EQ(GetTableauTWindow(), &tableau);

  auto* menu = reinterpret_cast<ZFlyMenu*>(&tableau);  // only the pointer is kept
  SetActiveFlyMenu(menu);
  EXPECT_EQ(GetActiveFlyMenu(), menu);
  SetActiveFlyMenu(nullptr);
  EXPECT_EQ(GetActiveFlyMenu(), nullptr);
  SetAppFrame(nullptr);
  EXPECT_EQ(GetAppFrameTWindow(), nullptr);
}

TEST_F(RegistryTest, HintAndToolTipsGoToTheFrame) {
  TestFrame frame;
  frame.Create();
  SetAppFrame(&frame);
  const char* hint = "Go back";
  TToolInfo tool{frame.GetHandle(), 7, TRect(1, 2, 3, 4), "tip"};
  SetHintText(hint);
  SetToolTip(&tool);
  UpdateToolTipRect(&tool);
  UpdateToolTipText(&tool);
  RemoveToolTip(&tool);
  const UINT expected[] = {1561, 1596, 1597, 1598, 1599};
  ASSERT_EQ(frame.messages.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(frame.messages[i].msg, expected[i]);
    EXPECT_EQ(frame.messages[i].wp, 0u);
  }
  EXPECT_EQ(frame.messages[0].lp, reinterpret_cast<LPARAM>(hint));
  for (size_t i = 1; i < 5; ++i) EXPECT_EQ(frame.messages[i].lp, reinterpret_cast<LPARAM>(&tool));
}

TEST_F(RegistryTest, CentringRoundsTowardZero) {
  TWindow parent(nullptr, "parent");
  parent.Attr.Style = WS_POPUP | WS_VISIBLE;
  parent.Attr.X = 10;
  parent.Attr.Y = 20;
  parent.Attr.W = 201;
  parent.Attr.H = 101;
  parent.Create();

  struct Case {
    int w, h, left, top;
  } cases[] = {
      {300, 200, 10 - 49, 20 - 49},  // (201 - 300) / 2 = -49, not -50
      {100, 50, 10 + 50, 20 + 25},
      {201, 101, 10, 20},
      {0, 0, 10 + 100, 20 + 50},
  };
  for (const Case& c : cases) {
    TWindow w(&parent, "w");
    w.Attr.Style = WS_POPUP;
    w.Attr.W = c.w;
    w.Attr.H = c.h;
    CenterPopupWindowOverParent(w);
    EXPECT_EQ(w.Attr.X, c.left) << c.w;
    EXPECT_EQ(w.Attr.Y, c.top) << c.h;
  }

  // An existing window is moved there, keeping its creation size.
  TWindow* shown = MakePopup(&parent, TRect(0, 0, 300, 200));
  shown->Create();
  CenterPopupWindowOverParent(*shown);
  EXPECT_EQ(shown->GetWindowRect(), TRect(-39, -29, -39 + 300, -29 + 200));

  TWindow orphan(nullptr, "orphan");
  orphan.Attr.X = 5;
  CenterPopupWindowOverParent(orphan);
  EXPECT_EQ(orphan.Attr.X, 5);
}

TEST_F(RegistryTest, ModalMakerLeavesPreDisabledWindowsDisabled) {
  TestFrame frame;
  frame.Create();
  SetAppFrame(&frame);
  TWindow* a = MakePopup(&frame, TRect(0, 0, 10, 10));
  TWindow* b = MakePopup(&frame, TRect(0, 0, 10, 10));
  TWindow* off = MakePopup(&frame, TRect(0, 0, 10, 10));
  TWindow stranger(nullptr, "stranger");
  stranger.Attr.Style = WS_POPUP | WS_VISIBLE;
  stranger.Create();
  for (TWindow* w : {a, b, off}) w->Create();
  off->EnableWindow(false);
  ASSERT_TRUE(a->IsWindow() && b->IsWindow() && off->IsWindow());

  {
    ZModalMaker maker;
    EXPECT_EQ(maker.CountWindows(), 3);  // the frame, a, b
    const HWND* list = maker.Windows();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[3], nullptr);
    maker.DisableWindows();
    EXPECT_FALSE(frame.IsWindowEnabled());
    EXPECT_FALSE(a->IsWindowEnabled());
    EXPECT_FALSE(b->IsWindowEnabled());
    EXPECT_TRUE(stranger.IsWindowEnabled());
    maker.EnableWindows();
    EXPECT_TRUE(frame.IsWindowEnabled());
    EXPECT_TRUE(a->IsWindowEnabled());
    EXPECT_FALSE(off->IsWindowEnabled());
    EXPECT_EQ(maker.Windows(), nullptr);

    // Counting again sees the same set; the destructor enables what it disabled.
    EXPECT_EQ(maker.CountWindows(), 3);
    maker.DisableWindows();
    EXPECT_FALSE(b->IsWindowEnabled());
  }
  EXPECT_TRUE(b->IsWindowEnabled());
  EXPECT_FALSE(off->IsWindowEnabled());

  {
    // Destroyed without DisableWindows: nothing is enabled.
    ZModalMaker maker;
    maker.CountWindows();
  }
  EXPECT_FALSE(off->IsWindowEnabled());

  {
    // A window destroyed during the modal phase is simply skipped.
    ZModalMaker maker;
    maker.CountWindows();
    maker.DisableWindows();
    a->Destroy();
    delete a;
  }
  EXPECT_TRUE(frame.IsWindowEnabled());
}

TEST_F(RegistryTest, ModalMakerWithoutFrameListsNothing) {
  TWindow top(nullptr, "top");
  top.Attr.Style = WS_POPUP | WS_VISIBLE;
  top.Create();
  ZModalMaker maker;
  EXPECT_EQ(maker.CountWindows(), 0);
  maker.DisableWindows();
  EXPECT_TRUE(maker.IsDisabled());
  EXPECT_TRUE(top.IsWindowEnabled());
}

TEST_F(RegistryTest, NotifyIniChangedRunsHooksByStageThenTellsTheFrame) {
  std::vector<std::string> log;
  TestFrame frame(&log);
  frame.Create();
  SetAppFrame(&frame);
  AddIniChangedHook(eINI_STAGE_FLYMENUS, [&] { log.push_back("menus"); });
  int removed = AddIniChangedHook(eINI_STAGE_BUTTONS, [&] { log.push_back("never"); });
  AddIniChangedHook(eINI_STAGE_BUTTONS, [&] {
    log.push_back("buttons");
    RemoveIniChangedHook(removed + 100);  // unknown ids are ignored
  });
  RemoveIniChangedHook(removed);
  int late = 0;
  AddIniChangedHook(eINI_STAGE_BUTTONS, [&] {
    log.push_back("buttons2");
    // A hook that drops a later one: that one is not run.
    RemoveIniChangedHook(late);
  });
  late = AddIniChangedHook(eINI_STAGE_FLYMENUS, [&] { log.push_back("dropped"); });

  NotifyIniChanged();
  EXPECT_EQ(log, (std::vector<std::string>{"buttons", "buttons2", "menus", "frame:1580"}));
  ASSERT_EQ(frame.messages.size(), 1u);
  EXPECT_EQ(frame.messages[0].wp, 0u);
  EXPECT_EQ(frame.messages[0].lp, 0);

  SetAppFrame(nullptr);
  log.clear();
  NotifyIniChanged();  // hooks still run without a frame
  EXPECT_EQ(log, (std::vector<std::string>{"buttons", "buttons2", "menus"}));
}

TEST_F(RegistryTest, HelpFileNameAndArticleDatabase) {
  ResetFileNames();
  ResetHostLookups();
  std::string expected = kDefaultHelpPath;
  replaceCDPath(expected);
  EXPECT_EQ(std::string(GetHelpFileName()), expected);
  EXPECT_EQ(std::string(GetHelpFileName()), "./vex.hlp");

  std::string longPath = "help/" + std::string(400, 'h') + ".hlp";
  WriteSettings("[Help]\nPath=" + longPath + "\n");
  EXPECT_EQ(std::string(GetHelpFileName()), longPath);  // kept whole, not cut at 255

  EXPECT_EQ(GetDefaultArticleSdfName(), "ed:\\vex96art.sdf");
  ResetFileNames();
  RegisterDefaultDB("art", "/data/articles.sdf");
  EXPECT_EQ(GetDefaultArticleSdfName(), "/data/articles.sdf");
  RegisterDefaultDB("ART", "/data/other.sdf");
  EXPECT_EQ(GetDefaultArticleSdfName(), "/data/articles.sdf");  // remembered
  ResetFileNames();
  ResetHostLookups();
}

}  // namespace
}  // namespace quill::test
