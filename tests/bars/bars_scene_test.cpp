// The bars scene: a button bar, a path bar, a title bar's buttons and a status bar over the
// application background, from the generated art. With QUILL_BARS_SCREENSHOT set it saves the
// screen there (docs/bars.png is made so).
#include <gtest/gtest.h>

#include <cstdlib>

#include "buttons/buttons_fixture.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/bars/control_bar.h"
#include "quillui/bars/stackable_control_bar.h"
#include "quillui/bars/status_bar.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "quillui/buttons/pane_button_bar_filler.h"
#include "quillui/buttons/selection_gadget.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/imaging/background.h"
#include "support/scene_frame.h"

namespace quill::test {
namespace {

// A plain holder a path bar lays itself out in.
class Holder : public TWindow {
 public:
  Holder(TWindow* parent, TRect r) : TWindow(parent, "holder") {
    Attr.X = r.left, Attr.Y = r.top, Attr.W = r.Width(), Attr.H = r.Height();
    SetBkgndColor(TColor::Transparent);
  }
  bool EvEraseBkgnd(TDC& dc) override {
    PaintWindowBackground(dc, *this, GetClientRect());
    return true;
  }
};

using BarsSceneTest = ButtonsTest;

TEST_F(BarsSceneTest, BarsOverTheApplicationBackground) {
  const std::string art = QUILL_ART_DIR;
  WriteSettings("[View]\nBackground=" + art + "/background800.bmp\n[BMPSets]\nbuttons=" + art +
                "/buttons.set\n[Directories]\nMedia=" + dir.string() + "\n");
  SetArtDir(art);
  ASSERT_NE(GetAppPalette(), nullptr);
  TScreenDC screenDC;
  screenDC.SelectPalette(GetAppPalette(), false);
  screenDC.RealizePalette();

  SceneFrame frame;
  SetAppFrame(&frame);
  // The pane button bar: twelve keyed buttons and a filler.
  auto* buttons = new ZControlBar(&frame, TGadgetWindow::Horizontal, TColor::Transparent);
  buttons->Attr.X = 40, buttons->Attr.Y = 480, buttons->Attr.W = 420;
  buttons->Attr.Style &= ~uint32_t(WS_BORDER);
  for (const char* name :
       {"pbPrev.bmp", "pbNext.bmp", "pbPrint.bmp", "pbCopy.bmp", "pbBookMk.bmp", "pbSearch.bmp",
        "pbZoomIn.bmp", "pbZoomOt.bmp", "pbOptns.bmp", "avplay.bmp", "avstop.bmp", "pbFullSc.bmp"})
    buttons->Insert(*new ZAnimButtonGadget(name, 7000, nullptr, 3, true, false));
  buttons->Insert(*new ZPaneButtonBarFiller("filler.bmp", 0));
  // The title bar's buttons.
  auto* title = new ZControlBar(&frame, TGadgetWindow::Horizontal, TColor::Transparent);
  title->Attr.X = 700, title->Attr.Y = 40, title->Attr.W = 60;
  title->Attr.Style &= ~uint32_t(WS_BORDER);
  title->SetMargins(TMargins(TMargins::Pixels, 0, 0, 0, 0));
  for (const char* name : {"full.bmp", "small.bmp", "close.bmp"})
    title->Insert(*new ZAnimButtonGadget(name, 7001, nullptr, 3, false, false));
  // The path bar: animated buttons and a selection, wrapped into rows.
  auto* holder = new Holder(&frame, TRect(40, 40, 200, 200));
  auto* path = new ZPathBar(holder);
  for (const char* name : {"animprev.bmp", "animplay.bmp", "animnext.bmp"})
    path->Insert(*new ZAnimButtonGadget(name, 7002, nullptr, 6, false, false));
  path->Insert(*new ZSelectionGadget("select.bmp", 7003));
  path->Insert(
      *new ZSelectionGadget("select.bmp", 7004, TButtonGadget::NonExclusive, TButtonGadget::Up));
  // The status bar along the foot.
  auto* status = new ZStatusBar(&frame, TColor::LtGray);
  status->Attr.X = 0, status->Attr.Y = 570, status->Attr.W = 800;
  ASSERT_TRUE(frame.Create());
  status->SetText("Ready: a status bar, a path bar and a bar of twelve buttons");
  Pump();

  // One button under the mouse, one held down.
  MouseMove(OnScreen(*buttons->FirstGadget()->NextGadget()).x,
            OnScreen(*buttons->FirstGadget()->NextGadget()).y);
  const TPoint press = OnScreen(*buttons->FirstGadget()->NextGadget()->NextGadget()->NextGadget());
  MouseDown(press.x, press.y);
  Pump();

  EXPECT_EQ(buttons->NumGadgets(), 13u);
  EXPECT_TRUE(reports.empty()) << reports.front().message;
  // The buttons' corners show the background, not the key.
  const TPoint corner = OnScreen(*buttons->FirstGadget(), 0, 19);
  EXPECT_NE(ScreenPixel(corner.x, corner.y), IndexOf(kBackgroundKeyColors[0]));

  if (const char* out = std::getenv("QUILL_BARS_SCREENSHOT")) {
    std::string error;
    ASSERT_TRUE(TWindowSystem::Get().Screen().SaveScreenshot(out, &error)) << error;
  }
  MouseUp(press.x + 100, press.y - 100);
  SetAppFrame(nullptr);
}

}  // namespace
}  // namespace quill::test
