// What the bars do as windows: their backgrounds, where the keyboard focus goes, and the menu
// bar's word to the frame when it loses the focus.
#include <gtest/gtest.h>

#include "buttons/buttons_fixture.h"
#include "quillui/app/app_registry.h"
#include "quillui/bars/control_bar.h"
#include "quillui/bars/stackable_control_bar.h"
#include "quillui/bars/status_bar.h"

namespace quill::test {
namespace {

// The application frame: records the commands it is sent or posted.
class FocusFrame : public TWindow, public ZVexFrame {
 public:
  FocusFrame() : TWindow(nullptr, "frame") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 400, Attr.H = 300;
  }
  TWindow& GetFrameTWindow() override { return *this; }
  LRESULT EvCommand(UINT id, HWND, UINT) override {
    commands.push_back(id);
    return 0;
  }
  std::vector<UINT> commands;
};

using BarWindowsTest = ButtonsTest;

TEST_F(BarWindowsTest, BackgroundIsTheColourElseThePictureElseTheWindowColour) {
  auto* coloured = new ZControlBar(&sink, TGadgetWindow::Horizontal, TColor::LtRed);
  coloured->Attr.W = 50, coloured->Attr.H = 20;
  auto* tiled = new ZControlBar(&sink, TGadgetWindow::Horizontal, TColor::Transparent);
  tiled->Attr.Y = 40, tiled->Attr.W = 50, tiled->Attr.H = 20;
  auto* tile = new TDib(4, 4, 8, 256);
  tile->SetColor(0, TColor(51, 102, 153));
  tiled->SetBkgndDib(tile);
  auto* plain = new ZControlBar(&sink, TGadgetWindow::Horizontal, TColor::Transparent);
  plain->Attr.Y = 80, plain->Attr.W = 50, plain->Attr.H = 20;
  plain->SetBkgndColor(TColor::LtGreen);
  for (ZControlBar* bar : {coloured, tiled, plain}) bar->SetShrinkWrap(false, false);
  ASSERT_TRUE(sink.Create());
  Pump();
  struct Case {
    ZControlBar* bar;
    TColor colour;
  };
  for (const Case& c : {Case{coloured, TColor::LtRed}, Case{tiled, TColor(51, 102, 153)},
                        Case{plain, TColor::LtGreen}}) {
    TPoint p(25, 10);
    c.bar->ClientToScreen(p);
    EXPECT_EQ(ScreenPixel(p.x, p.y), IndexOf(c.colour)) << c.bar->Attr.Y;
  }
}

TEST_F(BarWindowsTest, FocusGoesOnToTheFrameExceptFromTheMenuBar) {
  FocusFrame frame;
  SetAppFrame(&frame);
  auto* bar = new ZControlBar(&frame, TGadgetWindow::Horizontal, TColor::LtGray);
  auto* menu = new ZMenuBar(&frame);
  auto* other = new TWindow(&frame, "other");
  ASSERT_TRUE(frame.Create());
  bar->SetFocus();
  EXPECT_EQ(GetFocus(), frame.GetHandle());
  menu->SetFocus();
  EXPECT_EQ(GetFocus(), menu->GetHandle());
  other->SetFocus();
  Pump();
  EXPECT_EQ(frame.commands, std::vector<UINT>{ZMenuBar::kLostFocusCommand});
  EXPECT_EQ(menu->GetCaption(), "ZMenuBar");
  SetAppFrame(nullptr);
}

TEST_F(BarWindowsTest, MultipleSelectBarHasNoBorderNorMargins) {
  ZMultipleSelectBar bar(&sink, TColor::Transparent);
  EXPECT_EQ(bar.Attr.Style & WS_BORDER, 0u);
  EXPECT_EQ(bar.GetMargins(), TMargins(TMargins::LayoutUnits, 0, 0, 0, 0));
  EXPECT_TRUE(bar.GetShrinkWrapWidth() && bar.GetShrinkWrapHeight());
  EXPECT_EQ(bar.GetCaption(), "ZMultipleSelectBar");
}

}  // namespace
}  // namespace quill::test
