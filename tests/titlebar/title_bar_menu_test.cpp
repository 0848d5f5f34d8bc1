// The pane's menu from the title bar's icon: resting on the icon (timer, hover state, closed
// on leaving the chain), clicking it (pressed state, kept on leaving), where it opens, the
// mouse given back after a drag, and an icon that cannot be drawn.
#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/dialogs/message_box.h"
#include "titlebar/title_bar_fixture.h"

namespace quill::test {
namespace {

using TitleBarMenuTest = TitleBarTest;

TEST_F(TitleBarMenuTest, RestingOnTheIconOpensTheMenuInHoverStateUntilTheMouseLeaves) {
  Pane p = MakePane(TRect(40, 30, 428, 330), ePATH_PANE);
  ZFlyMenu* menu = AttachMenu(p);
  EXPECT_TRUE(p.bar->GetFlags() & TBF_MENU);
  EXPECT_EQ(menu->GetTitleBar(), p.bar);
  ZTitleBarIconWnd& iconWnd = *p.bar->GetIconWnd();

  Move(Centre(iconWnd));
  EXPECT_FALSE(iconWnd.IsArmed()) << "timer 777 runs";
  Advance(24);
  Pump();
  EXPECT_FALSE(Shows(menu));
  Advance(1);
  Pump();
  ASSERT_TRUE(Shows(menu));
  EXPECT_EQ(iconWnd.GetState(), ZFlyMenuTitleBar::eICON_HOVER);
  EXPECT_EQ(iconWnd.GetColor(), TitleBarSettings().m_clrIconHilight);
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), p.bar);
  EXPECT_EQ(menu->GetWindowRect().TopLeft(), TPoint(40, 30 + 20));

  // Within the chain the menu stays; out of it, it closes and the icon rests again.
  Move(Centre(*menu));
  EXPECT_TRUE(Shows(menu));
  Move(TPoint(700, 500));
  EXPECT_FALSE(Shows(menu));
  EXPECT_EQ(iconWnd.GetState(), ZFlyMenuTitleBar::eICON_NORMAL);
  EXPECT_EQ(iconWnd.GetColor(), TitleBarSettings().m_clrIconActive);
  EXPECT_TRUE(iconWnd.IsArmed());
}

TEST_F(TitleBarMenuTest, ClickingTheIconOpensTheMenuToStayAndClickingTheBarClosesIt) {
  Pane p = MakePane(TRect(40, 30, 428, 330), ePATH_PANE);
  ZFlyMenu* menu = AttachMenu(p);
  ZTitleBarIconWnd& iconWnd = *p.bar->GetIconWnd();
  const TPoint on = Centre(iconWnd);
  MouseDown(on.x, on.y);
  MouseUp(on.x, on.y);
  Pump();
  ASSERT_TRUE(Shows(menu));
  EXPECT_EQ(iconWnd.GetState(), ZFlyMenuTitleBar::eICON_PRESSED);
  Move(TPoint(700, 500));
  Advance(1000);
  Pump();
  EXPECT_TRUE(Shows(menu)) << "a clicked menu survives leaving";
  EXPECT_EQ(iconWnd.GetState(), ZFlyMenuTitleBar::eICON_PRESSED);

  // A click on the bar closes it.
  Click(200, 40);
  Pump();
  EXPECT_FALSE(Shows(menu));
  EXPECT_EQ(iconWnd.GetState(), ZFlyMenuTitleBar::eICON_NORMAL);

  // A click on the bar with the menu closed opens it pressed.
  Advance(1000);
  Click(200, 40);
  Pump();
  EXPECT_TRUE(Shows(menu));
  EXPECT_EQ(iconWnd.GetState(), ZFlyMenuTitleBar::eICON_PRESSED);
}

TEST_F(TitleBarMenuTest, MenuNearTheScreenBottomMovesUpAndBesideTheIcon) {
  Pane p = MakePane(TRect(40, 560, 428, 600), ePATH_PANE);
  ZFlyMenu* menu = AttachMenu(p);
  p.bar->SendMessage(WmuHandleActivation, ZFlyMenuTitleBar::eICON_PRESSED, 0);
  Pump();
  ASSERT_TRUE(Shows(menu));
  const TRect r = menu->GetWindowRect();
  EXPECT_EQ(r.bottom, 600);
  EXPECT_EQ(r.left, 40 + 24);
}

TEST_F(TitleBarMenuTest, MouseGoesBackToTheMenuAfterADragOnlyWhileTheMenuShows) {
  for (bool hide : {false, true}) {
    SCOPED_TRACE(hide ? "hidden menu" : "shown menu");
    Pane p =
        MakePane(TRect(100, 300, 400, 500), ePOPUP_PANE, TBF_CLOSE | TBF_SHADOW, nullptr, true);
    ZFlyMenu* menu = AttachMenu(p);
    p.bar->SendMessage(WmuHandleActivation, ZFlyMenuTitleBar::eICON_PRESSED, 0);
    Pump();
    ASSERT_TRUE(Shows(menu));
    ASSERT_EQ(ZFlyMenu::GetLastCapturingMenu(), menu->GetHandle());
    // The press on the bar takes the mouse from the menu, which tells the bar so.
    MouseDown(200, 308);
    EXPECT_TRUE(p.bar->GetMenuWasCapturing());
    MouseMove(220, 318);
    MouseMove(240, 328);
    if (hide) menu->ShowWindow(SW_HIDE);
    MouseUp(240, 328);
    EXPECT_EQ(p.stub->GetWindowRect().TopLeft(), TPoint(140, 320));
    EXPECT_FALSE(p.bar->GetMenuWasCapturing());
    EXPECT_EQ(GetCapture(), hide ? nullptr : menu->GetHandle());
    if (!hide) menu->RemoveMenuChain(nullptr);
    menus.clear();
  }
}

TEST_F(TitleBarMenuTest, IconThatCannotBeDrawnShowsOneBoxAndItsPlainColour) {
  std::unique_ptr<ZIcon> largeOnly = MakeIcon(false);
  ZTitleBarIconWnd* iconWnd = nullptr;
  int boxes = 0;
  // The box's loop repaints what is invalid, as a box a person answers does.
  TAnswerHook previous = SetAnswerHook([&](const TModalQuestion& q) -> std::optional<TModalAnswer> {
    ++boxes;
    EXPECT_EQ(q.text, "Unable to DirectlyDrawMaskedIcon");
    EXPECT_EQ(q.caption, "ZTitleBarIconWnd::Paint");
    EXPECT_EQ(q.type, 0x10u);
    if (boxes > 3) return TModalAnswer{IDOK, {}};
    if (iconWnd) {
      iconWnd->Invalidate(false);
      iconWnd->UpdateWindow();
    }
    return TModalAnswer{IDOK, {}};
  });
  Pane p = MakePane(TRect(0, 0, 388, 200), ePATH_PANE, TBF_CLOSE | TBF_SHADOW, largeOnly.get());
  iconWnd = p.bar->GetIconWnd();
  iconWnd->Invalidate(false);
  Pump();
  for (int i = 0; i < 3; ++i) {
    p.bar->SendMessage(WmuHandleActivation, 0, 0);
    iconWnd->Invalidate(false);
    Pump();
  }
  SetAnswerHook(previous);
  EXPECT_EQ(boxes, 1);
  EXPECT_TRUE(iconWnd->FailureShown());
  const TRect r = iconWnd->GetWindowRect();
  const uint8_t plain = IndexOf(TColor(iconWnd->GetColor()));
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) ASSERT_EQ(ScreenPixel(x, y), plain);
}

}  // namespace
}  // namespace quill::test
