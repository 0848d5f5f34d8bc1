// Fly menu chains driven by the mouse: the submenu timer, moving between a menu and its
// submenus, hover closing past the fudge rectangle, capture handed along the chain, and
// clicks outside passed on to the window under the cursor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menus/fly_menu_fixture.h"
#include "quillui/framework/base/resource.h"
#include "quillui/menus/menu_gadgets.h"

namespace quill {
namespace {

class FlyMenuChainTest : public test::FlyMenuTest {
 protected:
  // A hover menu at (100, 50): "Open" (1), "More" (2, opens "Inner A" / "Inner B"), "Close" (3).
  void SetUp() override {
    FlyMenuTest::SetUp();
    root = NewMenu();
    root->Append(0, 1, "Open", nullptr);
    root->Append(MF_POPUP, 2, "More", nullptr);
    root->Append(0, 3, "Close", nullptr);
    host->openers.push_back({2, root.get(), {"Inner A", "Inner B"}});
    ASSERT_TRUE(root->Display(TPoint(100, 50)));
    log.clear();
  }
  void TearDown() override {
    root.reset();
    FlyMenuTest::TearDown();
  }
  // Rests on "More" until its submenu is open.
  ZFlyMenu* OpenSubmenu() {
    const TPoint more = GadgetCentre(*root, 1);
    MouseMove(more.x, more.y);
    Advance(250);
    Pump();
    ZFlyMenu* sub = root->GetSubMenu();
    EXPECT_TRUE(sub && sub->IsWindowVisible());
    return sub;
  }
  bool Shown(ZFlyMenu* m) { return m && m->IsWindow() && m->IsWindowVisible(); }

  std::unique_ptr<ZFlyMenu> root;
};

TEST_F(FlyMenuChainTest, SubmenuTimerFiresAfterTheDelayAndNotBefore) {
  const TPoint more = GadgetCentre(*root, 1);
  MouseMove(more.x, more.y);
  EXPECT_TRUE(FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*root, 1)->IsHighlighted());
  Advance(249);
  Pump();
  EXPECT_TRUE(log.empty());
  Advance(1);
  Pump();
  EXPECT_EQ(log, std::vector<std::string>{"host:command 2"});
  ZFlyMenu* sub = root->GetSubMenu();
  ASSERT_TRUE(Shown(sub));
  EXPECT_EQ(sub->GetParentMenu(), root.get());
  EXPECT_EQ(sub->GetAssocParentEntryGadget(), FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*root, 1));

  // Resting less than the delay and moving on sends nothing.
  root->RemoveMenuChain(root.get());
  log.clear();
  const TPoint open = GadgetCentre(*root, 0);
  MouseMove(more.x, more.y + 1);
  Advance(200);
  Pump();
  MouseMove(open.x, open.y);
  Advance(1000);
  Pump();
  EXPECT_TRUE(log.empty());
}

TEST_F(FlyMenuChainTest, MovingIntoTheSubmenuAndBackKeepsIt) {
  ZFlyMenu* sub = OpenSubmenu();
  auto* more = FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*root, 1);
  const TPoint inner = GadgetCentre(*sub, 0);
  MouseMove(inner.x, inner.y);
  EXPECT_TRUE(Shown(sub));
  EXPECT_TRUE(more->IsHighlighted()) << "the entry stays lit while its submenu is open";
  EXPECT_TRUE(FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*sub, 0)->IsHighlighted());

  const TPoint back = GadgetCentre(*root, 1);
  MouseMove(back.x, back.y);
  EXPECT_TRUE(Shown(sub));

  // Onto another entry of the parent: the submenu closes, the root stays.
  const TPoint open = GadgetCentre(*root, 0);
  MouseMove(open.x, open.y);
  EXPECT_FALSE(Shown(sub));
  EXPECT_TRUE(Shown(root.get()));
  EXPECT_FALSE(more->IsHighlighted());
}

TEST_F(FlyMenuChainTest, HoverMenuClosesOnePixelPastTheFudgeRectangle) {
  root->RemoveFromScreen();
  Settings("[View]\nMenuFudgeSize=3 3\n");
  auto menu = NewMenu();
  menu->Append(0, 1, "Open", nullptr);
  menu->Display(TPoint(100, 50));
  const TRect r = menu->GetWindowRect();
  const TPoint inside = GadgetCentre(*menu, 0);
  MouseMove(inside.x, inside.y);
  MouseMove(r.right + 2, inside.y);
  EXPECT_TRUE(Shown(menu.get()));
  MouseMove(inside.x, r.bottom + 2);
  EXPECT_TRUE(Shown(menu.get()));
  MouseMove(r.right + 3, inside.y);
  EXPECT_FALSE(Shown(menu.get()));
}

TEST_F(FlyMenuChainTest, ClickingAnEntryClosesTheWholeChainAndSendsItsCommand) {
  ZFlyMenu* sub = OpenSubmenu();
  log.clear();
  const TPoint inner = GadgetCentre(*sub, 1);
  MouseMove(inner.x, inner.y);
  Click(inner.x, inner.y);
  EXPECT_EQ(log, std::vector<std::string>{"host:command 9001"});
  EXPECT_FALSE(Shown(sub));
  EXPECT_FALSE(Shown(root.get()));

  // A popup entry does nothing when clicked.
  root->Display(TPoint(100, 50));
  log.clear();
  const TPoint more = GadgetCentre(*root, 1);
  MouseMove(more.x, more.y);
  Click(more.x, more.y);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(Shown(root.get()));
}

TEST_F(FlyMenuChainTest, ChainOperationsWalkFromTheDeepestVisibleMenu) {
  ZFlyMenu* sub = OpenSubmenu();
  // A third level, made on the deepest visible menu.
  sub->SetCurEntryGadget(FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*sub, 0));
  ZFlyMenu* third = root->CreateSubMenu(ZFlyMenu::eSML_DEEPEST);
  EXPECT_EQ(third->GetParentMenu(), sub);
  EXPECT_EQ(sub->GetSubMenu(), third);
  third->Append(0, 7, "Deep", nullptr);
  third->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
  ASSERT_TRUE(Shown(third));

  const TPoint deep = GadgetCentre(*third, 0);
  EXPECT_EQ(root->CheckChainOfSubMenus(nullptr, deep), third);
  EXPECT_EQ(root->CheckChainOfSubMenus(sub->GetHandle(), TPoint(-50, -50)), sub);
  EXPECT_EQ(root->CheckChainOfSubMenus(nullptr, TPoint(-50, -50)), nullptr);
  EXPECT_TRUE(root->GadgetsOverlap(deep));
  EXPECT_FALSE(root->GadgetsOverlap(TPoint(-50, -50)));

  sub->RemoveMenuChain(sub);  // stop at itself: only its submenus go
  EXPECT_FALSE(Shown(third));
  EXPECT_TRUE(Shown(sub));
  third->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
  third->RemoveMenuChain(sub);  // stop at the parent: this one and below
  EXPECT_FALSE(Shown(third));
  EXPECT_TRUE(Shown(sub));
  third->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
  third->RemoveChainOfParentMenus();
  EXPECT_TRUE(Shown(third));
  EXPECT_FALSE(Shown(sub));
  EXPECT_FALSE(Shown(root.get()));
  third->RemoveFromScreen();
  root->Display(TPoint(100, 50));
  sub->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
  root->RemoveMenuChain(nullptr);  // null: the whole chain, the root too
  EXPECT_FALSE(Shown(sub));
  EXPECT_FALSE(Shown(root.get()));
}

TEST_F(FlyMenuChainTest, CaptureIsHandedDownAndBackAlongTheChain) {
  root->CaptureMouse(true);
  EXPECT_EQ(GetCapture(), root->GetHandle());
  EXPECT_EQ(ZFlyMenu::GetLastCapturingMenu(), root->GetHandle());
  ZFlyMenu* sub = OpenSubmenu();
  const TPoint inner = GadgetCentre(*sub, 0);
  MouseMove(inner.x, inner.y);
  EXPECT_EQ(GetCapture(), sub->GetHandle()) << "moving into the submenu hands it the mouse";
  EXPECT_EQ(ZFlyMenu::GetLastCapturingMenu(), sub->GetHandle());

  const TPoint back = GadgetCentre(*root, 1);
  MouseMove(back.x, back.y);
  EXPECT_EQ(GetCapture(), root->GetHandle()) << "back on the parent entry: the parent has it";
  EXPECT_TRUE(Shown(sub));

  MouseMove(inner.x, inner.y);
  ASSERT_EQ(GetCapture(), sub->GetHandle());
  sub->RemoveFromScreen();
  EXPECT_EQ(GetCapture(), root->GetHandle()) << "a submenu leaving gives it back";

  // Handed down and back again, then a click outside: the chain closes and nobody keeps the
  // mouse (the submenu's old flag must not give it to the root on the way out).
  sub->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
  MouseMove(inner.x, inner.y);
  MouseMove(back.x, back.y);
  ASSERT_EQ(GetCapture(), root->GetHandle());
  log.clear();
  MouseMove(600, 400);
  MouseDown(600, 400);
  MouseUp(600, 400);
  EXPECT_FALSE(Shown(root.get()));
  EXPECT_FALSE(Shown(sub));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(log, std::vector<std::string>{"host:lbutton 600,400"});
}

TEST_F(FlyMenuChainTest, CaptureMenuClosesOnlyOnAClickWhichReachesTheWindowUnderIt) {
  root->RemoveFromScreen();
  auto menu = NewMenu(ZFlyMenu::eMT_CAPTURE);
  menu->Append(0, 1, "Open", nullptr);
  menu->Display(TPoint(100, 50));
  EXPECT_EQ(GetCapture(), menu->GetHandle());
  MouseMove(500, 400);
  Advance(1000);
  Pump();
  MouseMove(700, 500);
  EXPECT_TRUE(Shown(menu.get())) << "movement alone never closes a capture menu";

  struct Case {
    UINT hit;
    platform::MouseButton button;
    const char* logged;
  };
  const Case cases[] = {
      {HTCLIENT, platform::MouseButton::Left, "host:lbutton 500,400"},
      {HTCLIENT, platform::MouseButton::Right, "host:rbutton 500,400"},
      {HTCAPTION, platform::MouseButton::Left, "host:nclbutton 2 500,400"},
      {HTBORDER, platform::MouseButton::Right, "host:ncrbutton 18 500,400"},
  };
  for (const Case& c : cases) {
    host->hitCode = c.hit;
    menu->Display(TPoint(100, 50));
    log.clear();
    MouseMove(500, 400);
    MouseDown(500, 400, c.button);
    MouseUp(500, 400, c.button);
    EXPECT_FALSE(Shown(menu.get()));
    EXPECT_NE(GetCapture(), menu->GetHandle());
    EXPECT_EQ(log, std::vector<std::string>{c.logged}) << c.hit;
  }
}

TEST_F(FlyMenuChainTest, ClickOnTheTitleBarIconReleasesTheMouseButKeepsTheMenu) {
  root->RemoveFromScreen();
  test::HostWindow icon(frame.get(), TRect(10, 500, 34, 520), &log);
  ASSERT_TRUE(icon.Create());
  test::TitleBarStub bar;
  bar.bar = host->GetHandle();
  bar.icon = icon.GetHandle();
  auto menu = NewMenu(ZFlyMenu::eMT_CAPTURE);
  menu->SetTitleBar(&bar);
  menu->Append(0, 1, "Open", nullptr);
  menu->Display(TPoint(100, 50));
  ASSERT_EQ(GetCapture(), menu->GetHandle());
  MouseMove(20, 510);
  MouseDown(20, 510);
  EXPECT_TRUE(Shown(menu.get()));
  EXPECT_NE(GetCapture(), menu->GetHandle());
  EXPECT_EQ(bar.menuWasCapturing, 0);
  MouseUp(20, 510);

  // On the title bar itself: the bar learns the menu had the mouse.
  menu->CaptureMouse(true);
  MouseMove(400, 300);
  MouseDown(400, 300);
  MouseUp(400, 300);
  EXPECT_TRUE(Shown(menu.get()));
  EXPECT_EQ(bar.menuWasCapturing, 1);
  menu->SetTitleBar(nullptr);
}

}  // namespace
}  // namespace quill
