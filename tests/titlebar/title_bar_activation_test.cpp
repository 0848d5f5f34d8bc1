// The active title bar and its record, double clicks, the button swap, the buttons' commands
// and dragging a pop-up pane by its title bar.
#include "quillui/bars/control_bar.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "titlebar/title_bar_fixture.h"

namespace quill::test {
namespace {

using TitleBarActivationTest = TitleBarTest;

bool Active(ZTitleBar& bar) { return bar.GetBkgndColor() == TitleBarSettings().m_clrActiveBkgnd; }

TEST_F(TitleBarActivationTest, RecordFollowsActivationAndRestoresThePrevious) {
  Pane a = MakePane(TRect(0, 0, 300, 200), eMEDIA_PANE);
  Pane b = MakePane(TRect(300, 0, 600, 200), ePATH_PANE);
  Pane popup =
      MakePane(TRect(100, 300, 400, 500), ePOPUP_PANE, TBF_CLOSE | TBF_SHADOW, nullptr, true);
  EXPECT_TRUE(Active(*popup.bar)) << "a pop-up pane's bar shows itself active";
  EXPECT_FALSE(Active(*a.bar));

  a.bar->SendMessage(WmuHandleActivation, 0, 1);
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), a.bar);
  EXPECT_EQ(ZTitleBar::GetPrevActiveTitleBar(), nullptr);
  b.bar->SendMessage(WmuHandleActivation, 0, 1);
  EXPECT_TRUE(Active(*b.bar));
  EXPECT_FALSE(Active(*a.bar));
  EXPECT_EQ(a.bar->GetIconWnd()->GetColor(), TitleBarSettings().m_clrIconInActive);
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), b.bar);
  EXPECT_EQ(ZTitleBar::GetPrevActiveTitleBar(), a.bar);
  b.bar->SendMessage(WmuHandleActivation, 0, 1);
  EXPECT_EQ(ZTitleBar::GetPrevActiveTitleBar(), a.bar) << "activating the active bar again";

  // A pop-up pane is shown active and leaves the record as it was.
  popup.bar->SendMessage(WmuHandleActivation, 0, 1);
  EXPECT_TRUE(Active(*popup.bar));
  EXPECT_TRUE(Active(*b.bar));
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), b.bar);
  EXPECT_EQ(ZTitleBar::GetPrevActiveTitleBar(), a.bar);

  ZTitleBar::RestorePrevActiveTitleBar();
  EXPECT_TRUE(Active(*a.bar));
  EXPECT_FALSE(Active(*b.bar));
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), a.bar);
  EXPECT_EQ(ZTitleBar::GetPrevActiveTitleBar(), b.bar);

  // A bar that goes leaves no record of itself.
  a.stub.reset();
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), nullptr);
  ZTitleBar::RestorePrevActiveTitleBar();
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), b.bar);
}

TEST_F(TitleBarActivationTest, DoubleClickPostsFullScreenOrBackToTheTableau) {
  struct Case {
    PANE_TYPE type;
    DISPLAY_MODE mode;
    uint64_t gapMs;
    const char* command;  // null: no command
    int clicks = 2;
  };
  const Case cases[] = {
      {ePATH_PANE, eTABLEAU_MODE, 0, "command 7532"},
      {ePATH_PANE, eFULL_SCREEN_MODE, 0, "command 7701"},
      {eMEDIA_PANE, eTABLEAU_MODE, 100, "command 7432"},
      {eARTICLE_PANE, eTABLEAU_MODE, 0, "command 7632"},
      {ePATH_PANE, eTABLEAU_MODE, 5000, nullptr},
      {ePATH_PANE, eTABLEAU_MODE, 50, "command 7532", 3},  // a third press starts afresh
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.type) * 10 + int(c.mode));
    Pane p = MakePane(TRect(0, 0, 388, 200), c.type);
    p.stub->SetMode(*p.bar, c.mode);
    Pump();
    log.clear();
    const TPoint at(200, 10);
    for (int i = 0; i < c.clicks; ++i) {
      if (i) Advance(c.gapMs);
      Click(at.x, at.y);
    }
    Pump();
    std::vector<std::string> commands;
    for (const std::string& line : log)
      if (line.rfind("command", 0) == 0) commands.push_back(line);
    if (c.command) {
      EXPECT_EQ(commands, std::vector<std::string>{c.command});
      EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), p.bar);
    } else {
      EXPECT_TRUE(commands.empty());
    }
    Advance(5000);
  }
}

// The ids and bitmaps of the bar's buttons, left to right.
std::vector<std::string> Buttons(ZTitleBar& bar) {
  std::vector<std::string> out;
  for (TGadget* g = bar.GetButtonBar()->FirstGadget(); g; g = g->NextGadget()) {
    auto* b = dynamic_cast<ZAnimButtonGadget*>(g);
    out.push_back(std::to_string(g->GetId()) + " " + (b ? b->GetFileName() : "?"));
  }
  return out;
}

TEST_F(TitleBarActivationTest, MinMaxButtonSwapsWithTheModeAndStopsItsAnimation) {
  Pane p = MakePane(TRect(0, 0, 388, 200), ePATH_PANE);
  EXPECT_EQ(Buttons(*p.bar), (std::vector<std::string>{"7532 full.bmp", "7565 close.bmp"}));
  ZControlBar& bar = *p.bar->GetButtonBar();
  auto* full = dynamic_cast<ZAnimButtonGadget*>(bar.FirstGadget());
  ASSERT_NE(full, nullptr);
  ASSERT_TRUE(bar.RequestAnimating(*full, 1));
  p.stub->SetMode(*p.bar, eFULL_SCREEN_MODE);
  EXPECT_EQ(Buttons(*p.bar), (std::vector<std::string>{"7701 small.bmp", "7565 close.bmp"}));
  EXPECT_EQ(bar.GetAnimatingGadget(), nullptr) << "the removed button stopped animating";
  Advance(1000);
  Pump();
  p.stub->SetMode(*p.bar, eTABLEAU_MODE);
  EXPECT_EQ(Buttons(*p.bar), (std::vector<std::string>{"7532 full.bmp", "7565 close.bmp"}));

  // Without a button to replace, the new one goes first; a bar without the flag keeps none.
  Pane closeOnly = MakePane(TRect(0, 200, 388, 400), eMEDIA_PANE, TBF_CLOSE | TBF_SHADOW);
  EXPECT_EQ(Buttons(*closeOnly.bar), (std::vector<std::string>{"7565 close.bmp"}));
  closeOnly.bar->ManageMinMaxBtn();
  EXPECT_EQ(Buttons(*closeOnly.bar), (std::vector<std::string>{"7432 full.bmp", "7565 close.bmp"}));
}

TEST_F(TitleBarActivationTest, ButtonsCloseThePaneAndToggleFullScreen) {
  Pane p = MakePane(TRect(0, 0, 388, 200), ePATH_PANE);
  ZControlBar& bar = *p.bar->GetButtonBar();
  ClickOn(*bar.GadgetWithId(7532));
  Pump();
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), p.bar);
  ClickOn(*bar.GadgetWithId(7565));
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"setfocus", "command 7532", "close"}));
}

TEST_F(TitleBarActivationTest, PopupPaneMovesByTheCursorsDelta) {
  Pane popup =
      MakePane(TRect(100, 300, 400, 500), ePOPUP_PANE, TBF_CLOSE | TBF_SHADOW, nullptr, true);
  Pane tiled = MakePane(TRect(0, 0, 300, 200), ePATH_PANE);
  EXPECT_EQ(tiled.bar->GetDragState(), ZTitleBar::eDRAG_NONE);
  EXPECT_EQ(popup.bar->GetDragState(), ZTitleBar::eDRAG_IDLE);
  // Pressing on the icon is outside the drag area.
  MouseDown(110, 308);
  EXPECT_EQ(popup.bar->GetDragState(), ZTitleBar::eDRAG_IDLE);
  MouseUp(110, 308);

  MouseDown(200, 310);
  EXPECT_EQ(popup.bar->GetDragState(), ZTitleBar::eDRAG_PRESSED);
  MouseMove(205, 312);
  EXPECT_EQ(popup.bar->GetDragState(), ZTitleBar::eDRAG_DRAGGING);
  MouseMove(260, 300);
  EXPECT_EQ(popup.stub->GetWindowRect(), TRect(160, 290, 460, 490));
  MouseUp(260, 300);
  EXPECT_EQ(popup.bar->GetDragState(), ZTitleBar::eDRAG_IDLE);
  EXPECT_EQ(GetCapture(), nullptr);
  MouseMove(300, 350);
  EXPECT_EQ(popup.stub->GetWindowRect(), TRect(160, 290, 460, 490));

  // A tiled pane's title bar moves nothing.
  MouseDown(150, 10);
  MouseMove(180, 40);
  MouseUp(180, 40);
  EXPECT_EQ(tiled.stub->GetWindowRect(), TRect(0, 0, 300, 200));
}

}  // namespace
}  // namespace quill::test
