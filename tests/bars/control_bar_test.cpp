// The control bars: the animation timer's rules and interval, animated buttons checked on
// insertion, the stacking arithmetic, the menu's place above a button and the status bar.
#include <gtest/gtest.h>

#include "buttons/buttons_fixture.h"
#include "quillui/app/presentation.h"
#include "quillui/bars/control_bar.h"
#include "quillui/bars/stackable_control_bar.h"
#include "quillui/bars/status_bar.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "quillui/buttons/colored_text_gadget.h"
#include "quillui/framework/menus/popup_menu.h"

namespace quill::test {
namespace {

using ControlBarTest = ButtonsTest;

TEST_F(ControlBarTest, IntervalComesFromTheSettingsOnce) {
  struct Case {
    const char* value;  // null: no key
    int interval;
  };
  for (const Case& c : {Case{nullptr, 200}, Case{"0", 200}, Case{"-50", 200}, Case{"350", 350},
                        Case{"99999999", 10000}}) {
    WriteSettings(c.value ? std::string("[view]\nbuttoninterval=") + c.value : "");
    EXPECT_EQ(ZControlBar::GetTimerInterval(), c.interval) << (c.value ? c.value : "(none)");
  }
  WriteSettings("[view]\nbuttoninterval=300");
  EXPECT_EQ(ZControlBar::GetTimerInterval(), 300);
  std::ofstream(dir / "quillonary.ini", std::ios::trunc) << "[view]\nbuttoninterval=500\n";
  EXPECT_EQ(ZControlBar::GetTimerInterval(), 300);
}

TEST_F(ControlBarTest, OneButtonAnimatesAtATime) {
  WriteStrip("pbsix.bmp", 6);
  auto* bar = new ZControlBar(&sink, TGadgetWindow::Horizontal, TColor::LtGray);
  auto* a = new ZAnimButtonGadget("pbsix.bmp", 1, nullptr, 6, false, false);
  auto* b = new ZAnimButtonGadget("pbsix.bmp", 2, nullptr, 6, false, false);
  bar->Insert(*a);
  bar->Insert(*b);
  ASSERT_TRUE(sink.Create());
  EXPECT_TRUE(bar->RequestAnimating(*a, 1));
  EXPECT_EQ(bar->GetAnimationTimer(), ZControlBar::kAnimationTimerId);
  EXPECT_FALSE(bar->RequestAnimating(*b, 1));
  EXPECT_FALSE(bar->RequestAnimating(*b, 0));
  EXPECT_EQ(bar->GetAnimatingGadget(), a);
  EXPECT_TRUE(bar->RequestAnimating(*a, 1));  // restarts the same timer
  EXPECT_EQ(bar->GetAnimationTimer(), ZControlBar::kAnimationTimerId);
  EXPECT_TRUE(bar->RequestAnimating(*a, 0));
  EXPECT_EQ(bar->GetAnimationTimer(), 0u);
  EXPECT_TRUE(bar->RequestAnimating(*b, 1));
  EXPECT_EQ(bar->GetAnimatingGadget(), b);
}

TEST_F(ControlBarTest, UnloadableButtonIsReportedTwiceAndLeftOut) {
  WriteStrip("pbnext.bmp", 3);
  auto* bar = new ZControlBar(&sink, TGadgetWindow::Horizontal, TColor::LtGray);
  bar->Insert(*new ZAnimButtonGadget("pbnext.bmp", 1, nullptr, 3, false, false));
  bar->Insert(*new ZAnimButtonGadget("pbgone.bmp", 2, "gone", 3, false, false));
  bar->Insert(*new ZAnimButtonGadget("pbnext.bmp", 3, nullptr, 3, false, false));
  EXPECT_TRUE(Reported("Invalid button: pbgone.bmp", "Error"));
  const ZReport* fromBar = nullptr;
  for (const ZReport& r : reports)
    if (r.message == "Invalid button: pbgone.bmp (gone)") fromBar = &r;
  ASSERT_NE(fromBar, nullptr);
  EXPECT_EQ(fromBar->caption, "Error");
  EXPECT_EQ(fromBar->flag, eREPORT_BARS);
  EXPECT_EQ(fromBar->source, "BARS");
  EXPECT_EQ(fromBar->line, 139);
  ASSERT_EQ(bar->NumGadgets(), 2u);
  EXPECT_EQ(bar->FirstGadget()->GetId(), 1);
  EXPECT_EQ(bar->LastGadget()->GetId(), 3);
}

// A gadget of a fixed size.
class Block : public TGadget {
 public:
  Block(int id, int w, int h) : TGadget(id), size_(w, h) {}
  void GetDesiredSize(TSize& size) override { size = size_; }

 private:
  TSize size_;
};

TEST_F(ControlBarTest, StackableBarWrapsGadgetsIntoRows) {
  ZStackableControlBar bar(&sink, TColor::Transparent);
  auto* a = new Block(1, 30, 10);
  auto* b = new Block(2, 30, 12);
  auto* c = new Block(3, 40, 8);
  bar.Insert(*a);
  bar.Insert(*b);
  bar.Insert(*c);
  EXPECT_EQ(bar.ArrangeGadgets(TRect(0, 0, 64, 100)), TRect(0, 0, 63, 12 + 8));
  EXPECT_EQ(a->GetBounds(), TRect(0, 0, 30, 10));
  EXPECT_EQ(b->GetBounds(), TRect(30, 0, 60, 12));
  EXPECT_EQ(c->GetBounds(), TRect(0, 12, 40, 20));
  // A gadget wider than the row stands at the row's start, unwrapped.
  ZStackableControlBar wide(&sink, TColor::Transparent);
  auto* big = new Block(4, 90, 10);
  wide.Insert(*big);
  EXPECT_EQ(wide.ArrangeGadgets(TRect(5, 5, 69, 50)), TRect(5, 5, 68, 15));
  EXPECT_EQ(big->GetBounds(), TRect(5, 5, 95, 15));
  ZStackableControlBar empty(&sink, TColor::Transparent);
  EXPECT_EQ(empty.ArrangeGadgets(TRect(3, 4, 3, 40)), TRect(3, 4, 3, 4));
}

TEST_F(ControlBarTest, StackableDesiredWidthIsOneLessThanTheWidestPlusMargins) {
  ZStackableControlBar bar(&sink, TColor::Transparent);
  bar.Attr.Style &= ~uint32_t(WS_BORDER);
  bar.SetMargins(TMargins(TMargins::Pixels, 4, 6, 9, 9));
  bar.Insert(*new Block(1, 20, 10));
  bar.Insert(*new Block(2, 30, 10));
  TSize size;
  bar.GetDesiredSize(size);
  EXPECT_EQ(size, TSize(29 + 4 + 6, 20));
  bar.Attr.Style |= WS_BORDER;
  bar.GetDesiredSize(size);
  EXPECT_EQ(size, TSize(29 + 10 + 2 * GetSystemMetrics(SM_CXBORDER),
                        20 + 2 * GetSystemMetrics(SM_CYBORDER)));
}

TEST_F(ControlBarTest, MenuPopsUpWithItsBottomOnTheButtonsTop) {
  EXPECT_EQ(ZControlBar::EstimateMenuHeight(16, 3, 1), 65);
  WriteStrip("pbOptns.bmp", 3);
  sink.Attr.X = 100, sink.Attr.Y = 200;
  auto* bar = new ZControlBar(&sink, TGadgetWindow::Horizontal, TColor::LtGray);
  bar->Attr.X = 10, bar->Attr.Y = 30;
  bar->Insert(*new Block(1, 25, 20));
  bar->Insert(*new ZAnimButtonGadget("pbOptns.bmp", 7209, nullptr, 3, false, false));
  ASSERT_TRUE(sink.Create());
  TPopupMenu menu;
  menu.AppendMenu(MF_STRING, 1, "One");
  menu.AppendMenu(MF_SEPARATOR, 0, nullptr);
  menu.AppendMenu(MF_STRING, 2, "Two");
  menu.AppendMenu(MF_STRING, 3, "Three");
  const TRect b = bar->GadgetWithId(7209)->GetBounds();
  TPoint top((b.left + b.right) / 2, b.top);
  bar->ClientToScreen(top);
  const int h = TScreenDC().GetTextExtent("fg").cy;
  EXPECT_EQ(bar->PopupMenuPoint(7209, menu),
            TPoint(top.x, top.y - ZControlBar::EstimateMenuHeight(h, 3, 1)));
}

TEST_F(ControlBarTest, StatusBarHoldsOneTextFieldAcrossItsWidth) {
  auto* status = new ZStatusBar(&sink, TColor::LtGray);
  EXPECT_EQ(status->Attr.Id, ZStatusBar::kWindowId);
  EXPECT_EQ(status->GetCaption(), "ZStatusBar");
  ASSERT_EQ(status->NumGadgets(), 1u);
  auto* field = dynamic_cast<ZColoredTextGadget*>(status->FirstGadget());
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->GetWideAsPossible());
  EXPECT_EQ(field->GetId(), 0);
  status->SetText("Searching");
  EXPECT_STREQ(field->GetText(), "Searching");
  EXPECT_EQ(status->GetBkgndColor(), GetAppColor(STATUSBAR_FACE));
}

TEST_F(ControlBarTest, DoubleClickIsSwallowed) {
  WriteStrip("pbnext.bmp", 3);
  auto* bar = new ZControlBar(&sink, TGadgetWindow::Horizontal, TColor::LtGray);
  bar->Attr.W = 200;
  auto* button = new ZAnimButtonGadget("pbnext.bmp", 5, nullptr, 3, false, false);
  bar->Insert(*button);
  ASSERT_TRUE(sink.Create());
  Pump();
  ClickOn(*button);
  ClickOn(*button);  // arrives as a double click
  EXPECT_EQ(sink.commands, std::vector<UINT>{5});
}

}  // namespace
}  // namespace quill::test
