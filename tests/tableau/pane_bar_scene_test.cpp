// The pane bar scene: the button bars of Article, Media and Path panes, with their constant
// buttons and with buttons merged from content menus (one in full screen), over the application
// background from the generated art. With QUILL_PANEBAR_SCREENSHOT set it saves the screen there
// (docs/panebar.png is made so).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "buttons/buttons_fixture.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/display_mode.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/imaging/background.h"
#include "quillui/tableau/pane_button_bar.h"
#include "support/scene_frame.h"

namespace quill::test {
namespace {

// The host's frame, with a caption over each pane.
class CaptionedFrame : public SceneFrame {
 public:
  void Paint(TDC& dc, bool, TRect&) override {
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(TColor::White);
    for (const auto& [at, text] : captions) dc.TextOut(at.x, at.y, text);
  }
  std::vector<std::pair<TPoint, std::string>> captions;
};

// A pane: the background inside a dark outline, answering its display mode.
class ScenePane : public TWindow {
 public:
  ScenePane(TWindow* parent, TRect r, DISPLAY_MODE mode) : TWindow(parent, "pane"), mode_(mode) {
    Attr.X = r.left, Attr.Y = r.top, Attr.W = r.Width(), Attr.H = r.Height();
  }
  bool EvEraseBkgnd(TDC& dc) override {
    PaintWindowBackground(dc, *this, GetClientRect());
    const TRect c = GetClientRect();
    const TColor line(150, 160, 190);
    dc.FillRect(TRect(c.left, c.top, c.right, c.top + 1), line);
    dc.FillRect(TRect(c.left, c.bottom - 1, c.right, c.bottom), line);
    dc.FillRect(TRect(c.left, c.top, c.left + 1, c.bottom), line);
    dc.FillRect(TRect(c.right - 1, c.top, c.right, c.bottom), line);
    return true;
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuGetDisplayMode) return mode_;
    return TWindow::WindowProc(msg, wp, lp);
  }

 private:
  DISPLAY_MODE mode_;
};

using PaneBarSceneTest = ButtonsTest;

TEST_F(PaneBarSceneTest, ConstantAndMergedBarsOverTheApplicationBackground) {
  const std::string art = QUILL_ART_DIR;
  WriteSettings("[View]\nBackground=" + art + "/background800.bmp\n[BMPSets]\nbuttons=" + art +
                "/buttons.set\n[DevParm]\nForceButtonBar=1\n[Directories]\nMedia=" + dir.string() +
                "\n");
  SetArtDir(art);
  ASSERT_TRUE(ZPaneButtonBar::IsForced());
  ASSERT_NE(GetAppPalette(), nullptr);
  TScreenDC screenDC;
  screenDC.SelectPalette(GetAppPalette(), false);
  screenDC.RealizePalette();

  CaptionedFrame frame;
  SetAppFrame(&frame);
  struct Pane {
    const char* caption;
    PANE_TYPE type;
    DISPLAY_MODE mode;
    std::vector<UINT> merged;  // empty: the constant buttons; 0: a pop-up item
  };
  const Pane panes[] = {
      {"Article pane: constant buttons", eARTICLE_PANE, eTABLEAU_MODE, {}},
      {"Media pane: constant buttons", eMEDIA_PANE, eTABLEAU_MODE, {}},
      {"Path pane: constant buttons", ePATH_PANE, eTABLEAU_MODE, {}},
      {"Media pane: merged",
       eMEDIA_PANE,
       eTABLEAU_MODE,
       {7106, 7107, 9499, 7435, 7103, 7102, 7433, 7432}},
      {"Media pane: merged, playing",
       eMEDIA_PANE,
       eTABLEAU_MODE,
       {7130, 7126, 7127, 7125, 7120, 7104, 7432}},
      {"Path pane: merged with options",
       ePATH_PANE,
       eTABLEAU_MODE,
       {7218, 7207, 7203, 7219, 7220, 7221, 7222, 0, 7209, 7533, 7532}},
      {"Article pane: merged, full screen",
       eARTICLE_PANE,
       eFULL_SCREEN_MODE,
       {7301, 7302, 7307, 7308, 7633, 7632, 7305, 7306}},
  };
  std::vector<ZPaneButtonBar*> bars;
  int y = 20;
  for (const Pane& p : panes) {
    frame.captions.push_back({TPoint(40, y), p.caption});
    auto* pane = new ScenePane(&frame, TRect(40, y + 18, 760, y + 78), p.mode);
    bars.push_back(new ZPaneButtonBar(p.type, pane));
    y += 82;
  }
  ASSERT_TRUE(frame.Create());
  for (size_t i = 0; i < bars.size(); ++i) {
    ZPaneButtonBar& bar = *bars[i];
    if (!panes[i].merged.empty()) {
      TMenu menu;
      for (UINT id : panes[i].merged) {
        if (id != 0) {
          menu.AppendMenu(MF_STRING, id, "@");
          continue;
        }
        HMENU more = CreatePopupMenu();
        AppendMenu(more, MF_STRING, 501, "More");
        menu.AppendMenu(MF_POPUP, uintptr_t(more), "Options");
      }
      bar.MergeButtons(menu);
    }
    // At the pane's bottom right, inside its outline.
    TSize size;
    bar.GetDesiredSize(size);
    const TRect pane = bar.GetParentO()->GetClientRect();
    bar.MoveWindow(pane.right - 2 - size.cx, pane.bottom - 2 - size.cy, size.cx, size.cy, true);
  }
  Pump();
  // One merged button under the mouse.
  MouseMove(OnScreen(*bars[3]->FirstGadget()->NextGadget()).x,
            OnScreen(*bars[3]->FirstGadget()->NextGadget()).y);
  Pump();

  EXPECT_EQ(bars[0]->NumGadgets(), 8u);
  EXPECT_EQ(bars[5]->NumGadgets(), 10u);
  EXPECT_NE(bars[5]->GetPopupMenu(), nullptr);
  EXPECT_NE(bars[6]->GadgetWithId(7701), nullptr);
  EXPECT_TRUE(reports.empty()) << reports.front().message;

  if (const char* out = std::getenv("QUILL_PANEBAR_SCREENSHOT")) {
    std::string error;
    ASSERT_TRUE(TWindowSystem::Get().Screen().SaveScreenshot(out, &error)) << error;
  }
  SetAppFrame(nullptr);
}

}  // namespace
}  // namespace quill::test
