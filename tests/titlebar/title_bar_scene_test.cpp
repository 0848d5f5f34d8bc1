// The title bars scene: panes over the application background, one title bar active with its
// menu open from the icon, the others inactive, one in full screen and a pop-up pane. With
// QUILL_TITLEBAR_SCREENSHOT set it saves the screen there (docs/titlebar.png is made so).
#include <cstdlib>

#include "quillui/app/app_palette.h"
#include "quillui/bars/control_bar.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/imaging/background.h"
#include "titlebar/title_bar_fixture.h"

namespace quill::test {
namespace {

// A pane's content: a light page under its title bar.
class ScenePane : public PaneStub {
 public:
  using PaneStub::PaneStub;
  bool EvEraseBkgnd(TDC& dc) override {
    dc.FillRect(GetClientRect(), TColor(PALETTERGB(250, 246, 232)));
    return true;
  }
};

class SceneFrame : public TWindow {
 public:
  SceneFrame() : TWindow(nullptr, "frame") {
    Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    Attr.W = 800, Attr.H = 600;
  }
  bool EvEraseBkgnd(TDC& dc) override {
    PaintWindowBackground(dc, *this, GetClientRect());
    return true;
  }
};

using TitleBarSceneTest = TitleBarTest;

TEST_F(TitleBarSceneTest, ActiveAndInactiveTitleBarsOverTheApplicationBackground) {
  const std::string art = QUILL_ART_DIR;
  Settings("[View]\nBackground=" + art + "/background800.bmp\n");
  ASSERT_NE(GetAppPalette(), nullptr);
  TScreenDC screenDC;
  screenDC.SelectPalette(GetAppPalette(), false);
  screenDC.RealizePalette();

  SceneFrame sceneFrame;
  struct PanePlan {
    TRect r;
    PANE_TYPE type;
    const char* icon;
    const char* title;
    uint16_t flags;
  };
  const PanePlan plans[] = {
      {TRect(20, 20, 408, 290), eMEDIA_PANE, "media", "Media: The Solar System",
       TBF_MINMAX | TBF_CLOSE | TBF_SHADOW},
      {TRect(420, 20, 780, 290), ePATH_PANE, "path", "Path: Planets of the Sun",
       TBF_MINMAX | TBF_CLOSE | TBF_SHADOW},
      {TRect(20, 310, 408, 580), eARTICLE_PANE, "article", "Article: Jupiter (full screen)",
       TBF_MINMAX | TBF_CLOSE | TBF_SHADOW},
  };
  std::vector<std::unique_ptr<ZIcon>> icons;
  std::vector<ZTitleBar*> bars;
  std::vector<ScenePane*> panes;
  for (const PanePlan& s : plans) {
    auto* pane = new ScenePane(&sceneFrame, s.r, &log);
    bars.push_back(new ZTitleBar(pane, s.type));
    panes.push_back(pane);
    icons.push_back(std::make_unique<ZIcon>());
    EXPECT_TRUE(icons.back()->Load(art + "/icons/panes/" + s.icon));
  }
  // A pop-up pane of the host, with a close button only.
  ScenePane popup(nullptr, TRect(440, 330, 770, 540), &log);
  auto* popupBar = new ZTitleBar(&popup, ePOPUP_PANE);
  ASSERT_TRUE(sceneFrame.Create());
  ASSERT_TRUE(popup.Create());
  for (size_t i = 0; i < bars.size(); ++i)
    bars[i]->Initialize(icons[i].get(), plans[i].title, plans[i].flags, 0);
  auto popupIcon = std::make_unique<ZIcon>();
  EXPECT_TRUE(popupIcon->Load(art + "/icons/panes/env"));
  popupBar->Initialize(popupIcon.get(), "Pop-up: Notes", TBF_CLOSE | TBF_SHADOW, 0);
  panes[2]->SetMode(*bars[2], eFULL_SCREEN_MODE);

  ZFlyMenu menu(&sceneFrame, panes[0], ZFlyMenu::eMT_HOVER, ZFlyMenu::eDM_KEEP, 1);
  ASSERT_TRUE(menu.Create());
  for (const char* text : {"Bookmark this page", "Full screen", "Options", "Print"})
    menu.Append(0, 7100, text, nullptr);
  bars[0]->AssociateMenu(&menu);
  bars[1]->SendMessage(WmuHandleActivation, 0, 0);
  Pump();
  // The mouse rests on the Media pane's icon: it becomes active and its menu opens.
  Move(Centre(*bars[0]->GetIconWnd()));
  Advance(TitleBarSettings().m_uiMenuDelay);
  Pump();
  ASSERT_TRUE(Shows(&menu));
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), bars[0]);
  EXPECT_EQ(ZTitleBar::GetPrevActiveTitleBar(), bars[1]);
  EXPECT_NE(bars[2]->GetButtonBar()->GadgetWithId(ZTitleBar::kCmdTableau), nullptr);
  EXPECT_TRUE(reports.empty()) << reports.front().message;

  if (const char* out = std::getenv("QUILL_TITLEBAR_SCREENSHOT")) {
    std::string error;
    ASSERT_TRUE(TWindowSystem::Get().Screen().SaveScreenshot(out, &error)) << error;
  }
  menu.RemoveMenuChain(nullptr);
  bars[0]->AssociateMenu(nullptr);
}

}  // namespace
}  // namespace quill::test
