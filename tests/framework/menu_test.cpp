// Menus: handles, queries and edits, TMenu ownership, and pop-up menus driven by injected input.
#include <gtest/gtest.h>

#include <functional>

#include "quillui/framework/base/module.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/framework/menus/popup_menu.h"
#include "support/headless_fixture.h"

namespace quill {
namespace {

TMenuItemTemplate Item(const char* text, uint32_t id, uint32_t flags = 0,
                       std::vector<TMenuItemTemplate> items = {}) {
  TMenuItemTemplate t;
  t.text = text;
  t.id = id;
  t.flags = flags;
  t.items = std::move(items);
  return t;
}

// File: Open (10), separator, Recent > [One (21), Two (22)], Exit (11, grayed); Help (30, checked)
TModule& TestModule() {
  static TModule module("menus");
  static bool filled = [] {
    TMenuTemplate m;
    m.name = "Main";
    m.items = {Item("&File", 0, MF_POPUP,
                    {Item("&Open", 10), Item("", 0, MF_SEPARATOR),
                     Item("Recent", 0, MF_POPUP, {Item("One", 21), Item("Two", 22)}),
                     Item("E&xit\tAlt+F4", 11, MF_GRAYED)}),
               Item("Help", 30, MF_CHECKED)};
    module.Resources().AddMenu(m);
    return true;
  }();
  (void)filled;
  return module;
}

class MenuTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(LiveMenuCount(), 0u) << "a test leaked menus";
    DestroyAllMenus();
  }
};

TEST_F(MenuTest, LoadsByNameAndAnswersQueries) {
  TMenu menu(TestModule(), "MAIN");  // names compare without case
  ASSERT_TRUE(menu.IsOK());
  EXPECT_EQ(menu.GetMenuItemCount(), 2);
  EXPECT_EQ(menu.GetMenuItemID(0), kMenuNoItem);  // a submenu
  EXPECT_EQ(menu.GetMenuItemID(1), 30u);
  EXPECT_EQ(menu.GetMenuItemID(2), kMenuNoItem);
  EXPECT_EQ(menu.GetMenuItemID(-1), kMenuNoItem);
  // A submenu's state: its flags in the low byte, its item count in the next.
  EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION), (4u << 8) | MF_POPUP);
  EXPECT_EQ(menu.GetMenuState(1, MF_BYPOSITION), MF_CHECKED);
  EXPECT_EQ(menu.GetMenuState(11, MF_BYCOMMAND), MF_GRAYED);  // found inside the submenu
  EXPECT_EQ(menu.GetMenuState(99, MF_BYCOMMAND), kMenuNoItem);

  TMenu file = menu.GetSubMenu(0);
  EXPECT_FALSE(file.OwnsHandle());
  EXPECT_EQ(file.GetMenuItemID(1), 0u);  // separator
  EXPECT_EQ(file.GetMenuState(1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_FALSE(file.GetSubMenu(0).IsOK());
  EXPECT_EQ(file.GetSubMenu(2).GetMenuItemID(1), 22u);

  // By command the search reaches into nested submenus; by position it stays in the menu.
  EXPECT_EQ(menu.GetMenuString(22, MF_BYCOMMAND), "Two");
  EXPECT_EQ(menu.GetMenuString(0, MF_BYPOSITION), "&File");
  EXPECT_EQ(menu.GetMenuString(11, MF_BYCOMMAND), "E&xit\tAlt+F4");
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(menu.GetMenuString(10, small, sizeof small, MF_BYCOMMAND), 3);
  EXPECT_STREQ(small, "&Op");
  EXPECT_EQ(menu.GetMenuString(10, nullptr, 0, MF_BYCOMMAND), 5);
  EXPECT_EQ(menu.GetMenuString(99, small, sizeof small, MF_BYCOMMAND), 0);
  EXPECT_STREQ(small, "");

  TMenu missing(TestModule(), "NoSuchMenu");
  EXPECT_FALSE(missing.IsOK());
  EXPECT_EQ(missing.GetMenuItemCount(), -1);
  EXPECT_EQ(missing.GetMenuString(0, MF_BYPOSITION), "");
}

TEST_F(MenuTest, CheckAndEnableAnswerThePreviousState) {
  TMenu menu(TestModule(), "Main");
  EXPECT_EQ(menu.CheckMenuItem(10, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(menu.CheckMenuItem(10, MF_CHECKED), MF_CHECKED);
  EXPECT_EQ(menu.CheckMenuItem(1, MF_BYPOSITION | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(menu.GetMenuState(30, MF_BYCOMMAND), 0u);
  EXPECT_EQ(menu.CheckMenuItem(99, MF_CHECKED), kMenuNoItem);
  EXPECT_EQ(menu.EnableMenuItem(11, MF_ENABLED), MF_GRAYED);
  EXPECT_EQ(menu.EnableMenuItem(11, MF_DISABLED), MF_ENABLED);
  EXPECT_EQ(menu.GetMenuState(11, MF_BYCOMMAND), MF_DISABLED);
  EXPECT_EQ(menu.EnableMenuItem(99, MF_GRAYED), kMenuNoItem);
}

TEST_F(MenuTest, AppendInsertModify) {
  TMenu menu;
  ASSERT_TRUE(menu.IsOK());
  EXPECT_TRUE(menu.AppendMenu(MF_STRING, 1, "one"));
  EXPECT_TRUE(menu.AppendMenu(MF_SEPARATOR));
  EXPECT_TRUE(menu.InsertMenu(0, MF_BYPOSITION, 2, "two"));           // in front
  EXPECT_TRUE(menu.InsertMenu(UINT(-1), MF_BYPOSITION, 3, "three"));  // -1 appends
  EXPECT_TRUE(menu.InsertMenu(1, MF_BYCOMMAND, 4, "four"));           // before id 1
  EXPECT_FALSE(menu.InsertMenu(77, MF_BYCOMMAND, 5, "five"));
  const UINT ids[] = {2, 4, 1, 0, 3};
  ASSERT_EQ(menu.GetMenuItemCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(menu.GetMenuItemID(i), ids[i]) << i;

  EXPECT_TRUE(menu.ModifyMenu(1, MF_BYCOMMAND | MF_CHECKED, 9, "nine"));
  EXPECT_EQ(menu.GetMenuItemID(2), 9u);
  EXPECT_EQ(menu.GetMenuString(9, MF_BYCOMMAND), "nine");
  EXPECT_EQ(menu.GetMenuState(2, MF_BYPOSITION), MF_CHECKED);

  // A submenu given to a menu belongs to it: replacing the item destroys it.
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, 50, "fifty");
  EXPECT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<uintptr_t>(sub), "sub"));
  EXPECT_FALSE(menu.AppendMenu(MF_POPUP, reinterpret_cast<uintptr_t>(sub), "again"));
  EXPECT_EQ(menu.GetMenuString(50, MF_BYCOMMAND), "fifty");
  EXPECT_TRUE(menu.ModifyMenu(5, MF_BYPOSITION, 6, "six"));
  EXPECT_FALSE(IsMenu(sub));
}

TEST_F(MenuTest, RefusesCyclesAndDeepNesting) {
  TMenu top;
  HMENU child = CreatePopupMenu();
  ASSERT_TRUE(top.AppendMenu(MF_POPUP, reinterpret_cast<uintptr_t>(child), "child"));
  EXPECT_FALSE(AppendMenu(child, MF_POPUP, reinterpret_cast<uintptr_t>(top.GetHandle()), "loop"));
  EXPECT_FALSE(AppendMenu(child, MF_POPUP, reinterpret_cast<uintptr_t>(child), "self"));

  HMENU chain = CreatePopupMenu();
  HMENU bottom = chain;
  int depth = 1;
  for (; depth < kMaxMenuDepth + 4; ++depth) {
    HMENU parent = CreatePopupMenu();
    if (!AppendMenu(parent, MF_POPUP, reinterpret_cast<uintptr_t>(chain), "x")) {
      DestroyMenu(parent);
      break;
    }
    chain = parent;
  }
  EXPECT_EQ(depth, kMaxMenuDepth);
  EXPECT_TRUE(IsMenu(bottom));
  DestroyMenu(chain);
  EXPECT_FALSE(IsMenu(bottom));
}

TEST_F(MenuTest, RemoveKeepsTheSubmenuDeleteDestroysIt) {
  TMenu menu(TestModule(), "Main");
  TMenu file = menu.GetSubMenu(0);
  HMENU recent = file.GetSubMenu(2);
  ASSERT_TRUE(IsMenu(recent));

  // Taken out the way a button bar keeps a pop-up: the submenu outlives its old parent.
  EXPECT_TRUE(file.RemoveMenu(2, MF_BYPOSITION));
  EXPECT_EQ(file.GetMenuItemCount(), 3);
  TPopupMenu kept(recent, TMenu::AutoDelete);
  EXPECT_TRUE(kept.IsOK());
  EXPECT_EQ(menu.GetMenuString(21, MF_BYCOMMAND), "");  // no longer reachable from menu

  EXPECT_TRUE(menu.DeleteMenu(0, MF_BYPOSITION));  // destroys File
  EXPECT_FALSE(file.IsOK());                       // the non-owning view sees a dead handle
  EXPECT_TRUE(kept.IsOK());
  EXPECT_EQ(menu.GetMenuItemCount(), 1);
  EXPECT_TRUE(menu.DeleteMenu(30, MF_BYCOMMAND));
  EXPECT_FALSE(menu.DeleteMenu(30, MF_BYCOMMAND));
  EXPECT_EQ(menu.GetMenuItemCount(), 0);
}

TEST_F(MenuTest, OwningReferringCopyingMoving) {
  HMENU handle = nullptr;
  {
    TMenu owner(TestModule(), "Main");
    handle = owner.GetHandle();
    { TMenu view(handle); }  // a referring menu leaves the handle alone
    EXPECT_TRUE(IsMenu(handle));

    TMenu copy(owner);  // deep: edits do not reach the original
    EXPECT_NE(copy.GetHandle(), handle);
    EXPECT_TRUE(copy.OwnsHandle());
    copy.GetSubMenu(0).ModifyMenu(10, MF_BYCOMMAND, 10, "Changed");
    EXPECT_EQ(copy.GetMenuString(10, MF_BYCOMMAND), "Changed");
    EXPECT_EQ(owner.GetMenuString(10, MF_BYCOMMAND), "&Open");
    EXPECT_NE(copy.GetSubMenu(0).GetHandle(), owner.GetSubMenu(0).GetHandle());

    TMenu moved(std::move(owner));
    EXPECT_EQ(moved.GetHandle(), handle);
    EXPECT_FALSE(owner.IsOK());  // NOLINT: checking the moved-from state on purpose
    TMenu assigned;
    assigned = moved;
    EXPECT_EQ(assigned.GetMenuItemCount(), 2);
    EXPECT_NE(assigned.GetHandle(), handle);
  }
  EXPECT_FALSE(IsMenu(handle));  // handles are never reused, so it stays dead

  HMENU detached = nullptr;
  {
    TMenu m;
    detached = m.Detach();
  }
  EXPECT_TRUE(DestroyMenu(detached));
  EXPECT_FALSE(DestroyMenu(detached));
}

// --- Pop-up menus ------------------------------------------------------------------------------

class PopupMenuTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    owner =
        new test::TRecorder(nullptr, "owner", &log, TRect(0, 0, 400, 300), WS_POPUP | WS_VISIBLE);
    owner->SetBkgndColor(TColor::White);
    owner->Create();
    Pump();
    log.clear();
  }
  void TearDown() override {
    SetPopupMenuIdleHook(nullptr);
    delete owner;
    DestroyAllMenus();
    HeadlessTest::TearDown();
  }
  void Inject(platform::InputKind kind, int x = 0, int y = 0, UINT vk = 0) {
    platform::InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.button = platform::MouseButton::Left;
    e.virtualKey = vk;
    backend->Inject(e);
  }
  void Keys(std::initializer_list<UINT> keys) {
    for (UINT k : keys) Inject(platform::InputKind::KeyDown, 0, 0, k);
  }
  static TPoint Centre(const TRect& r) {
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  std::vector<std::string> log;
  test::TRecorder* owner = nullptr;
};

TEST_F(PopupMenuTest, ClickOnAnItemAnswersItsIdAndDrawsTheHighlight) {
  TMenu main(TestModule(), "Main");
  TPopupMenu file(main.GetSubMenu(0));
  int step = 0;
  uint8_t litPixel = 0, plainPixel = 0;
  TRect openRect;
  SetPopupMenuIdleHook([&](TPopupMenuTracker& t) {
    ASSERT_EQ(t.Depth(), 1);
    openRect = t.ItemScreenRect(0, 0);
    if (step == 0) {
      TRect frame = t.Level(0)->GetWindowRect();
      EXPECT_EQ(frame.TopLeft(), TPoint(50, 40));
      TPoint p = Centre(openRect);
      Inject(platform::InputKind::MouseMove, p.x, p.y);
    } else if (step == 1) {
      EXPECT_EQ(t.Level(0)->Hilite(), 0);
      litPixel = ScreenPixel(openRect.left + 1, openRect.top + 1);
      TRect exit = t.ItemScreenRect(0, 3);
      plainPixel = ScreenPixel(exit.left + 1, exit.top + 1);
      TPoint p = Centre(openRect);
      Inject(platform::InputKind::ButtonDown, p.x, p.y);
      Inject(platform::InputKind::ButtonUp, p.x, p.y);
    }
    ++step;
  });
  EXPECT_EQ(file.TrackPopupMenu(TPM_RETURNCMD, 50, 40, 0, *owner), 10);
  EXPECT_EQ(litPixel, IndexOf(TColor(0, 0, 128)));
  EXPECT_EQ(plainPixel, IndexOf(TColor::LtGray));
  // The menu's clicks never reached the owner, and with TPM_RETURNCMD nothing is posted.
  Pump();
  for (const std::string& entry : log) {
    EXPECT_EQ(entry.find("BUTTON"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("WM_COMMAND"), std::string::npos) << entry;
  }
  // The screen under the closed menu is repainted.
  EXPECT_EQ(ScreenPixel(openRect.left + 1, openRect.top + 1), IndexOf(TColor::White));
}

TEST_F(PopupMenuTest, KeyboardSkipsSeparatorsAndOpensSubmenus) {
  TMenu main(TestModule(), "Main");
  TPopupMenu file(main.GetSubMenu(0));
  struct Case {
    std::vector<UINT> keys;
    int result;
  };
  const Case cases[] = {
      {{VK_DOWN, VK_RETURN}, 10},
      {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, 22},  // separator skipped
      {{VK_DOWN, VK_DOWN, VK_RETURN, VK_RETURN}, 21},          // Enter opens, then chooses
      {{VK_UP, VK_RETURN}, 0},                                 // grayed Exit: nothing, then idle
      {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_UP, VK_RETURN},
       10},  // Escape closes the submenu only
      {{VK_ESCAPE}, 0},
  };
  for (const Case& c : cases) {
    for (UINT k : c.keys) Inject(platform::InputKind::KeyDown, 0, 0, k);
    EXPECT_EQ(file.TrackPopupMenu(TPM_RETURNCMD, 10, 10, 0, *owner), c.result) << c.keys.size();
    Pump();
  }
}

TEST_F(PopupMenuTest, MouseOpensSubmenuAndClickOutsideCancels) {
  TMenu main(TestModule(), "Main");
  TPopupMenu file(main.GetSubMenu(0));
  int step = 0;
  SetPopupMenuIdleHook([&](TPopupMenuTracker& t) {
    if (step == 0) {
      TPoint p = Centre(t.ItemScreenRect(0, 2));  // Recent
      Inject(platform::InputKind::MouseMove, p.x, p.y);
    } else if (step == 1) {
      ASSERT_EQ(t.Depth(), 2);
      TRect sub = t.Level(1)->GetWindowRect();
      EXPECT_GE(sub.left, t.Level(0)->GetWindowRect().right - 3);
      TPoint p = Centre(t.ItemScreenRect(1, 1));  // Two
      Inject(platform::InputKind::MouseMove, p.x, p.y);
      Inject(platform::InputKind::ButtonDown, p.x, p.y);
      Inject(platform::InputKind::ButtonUp, p.x, p.y);
    }
    ++step;
  });
  EXPECT_EQ(file.TrackPopupMenu(TPM_RETURNCMD, 20, 20, 0, *owner), 22);

  step = 0;
  SetPopupMenuIdleHook([&](TPopupMenuTracker& t) {
    if (step++ == 0) {
      Inject(platform::InputKind::ButtonDown, 390, 290);
      Inject(platform::InputKind::ButtonUp, 390, 290);
    }
  });
  EXPECT_EQ(file.TrackPopupMenu(TPM_RETURNCMD, 20, 20, 0, *owner), 0);
  EXPECT_EQ(step, 1);
}

TEST_F(PopupMenuTest, WithoutReturnCmdTheOwnerGetsWmCommand) {
  TMenu main(TestModule(), "Main");
  TPopupMenu file(main.GetSubMenu(0));
  Keys({VK_DOWN, VK_RETURN});
  EXPECT_EQ(file.TrackPopupMenu(TPM_CENTERALIGN, 200, 100, 0, *owner), 1);
  Pump();
  EXPECT_NE(std::find(log.begin(), log.end(), "owner:WM_COMMAND"), log.end());
}

TEST_F(PopupMenuTest, RefusesWhatCannotBeShownAndNeverHangs) {
  TPopupMenu empty;
  EXPECT_EQ(empty.TrackPopupMenu(TPM_RETURNCMD, 0, 0, 0, *owner), 0);
  TMenu main(TestModule(), "Main");
  TPopupMenu file(main.GetSubMenu(0));
  EXPECT_EQ(file.TrackPopupMenu(TPM_RETURNCMD, 0, 0, 0, nullptr), 0);
  // No input and a manual clock: nobody can choose, so the menu gives up at once.
  EXPECT_EQ(file.TrackPopupMenu(TPM_RETURNCMD, 0, 0, 0, *owner), 0);
  EXPECT_EQ(file.TrackPopupMenu(0, 0, 0, 0, *owner), 1);
  // Kept on the screen: a menu asked for past the corner moves back inside.
  int checked = 0;
  SetPopupMenuIdleHook([&](TPopupMenuTracker& t) {
    TRect r = t.Level(0)->GetWindowRect();
    EXPECT_EQ(r.right, TWindowSystem::Get().Screen().Width());
    EXPECT_EQ(r.bottom, TWindowSystem::Get().Screen().Height());
    ++checked;
  });
  EXPECT_EQ(file.TrackPopupMenu(TPM_RETURNCMD, 5000, 5000, 0, *owner), 0);
  EXPECT_EQ(checked, 1);
}

}  // namespace
}  // namespace quill
