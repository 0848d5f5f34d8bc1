// The pane button bar: the button table against the generated art, the constant buttons of each
// pane type, merging content menus (skipped ids, full screen, pop-up items and their menus), the
// options menu popped up by a pane, and the full-screen / small-screen swap.
#include "quillui/tableau/pane_button_bar.h"

#include <set>
#include <string>
#include <vector>

#include "buttons/buttons_fixture.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/display_mode.h"
#include "quillui/app/user_messages.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "quillui/framework/menus/popup_menu.h"
#include "quillui/tableau/pane_base.h"

namespace quill::test {
namespace {

// A pane stub: answers its display mode, pops the bar's options menu up on 7209 and passes
// every other command on to its content (recorded). It stands in for the application frame too,
// recording the hint texts it is sent.
class PaneStub : public TWindow, public ZVexFrame {
 public:
  PaneStub() : TWindow(nullptr, "pane") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = 100, Attr.Y = 300, Attr.W = 400, Attr.H = 200;
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuGetDisplayMode) return mode;
    if (msg == WmuSetHintText) hints.push_back(reinterpret_cast<const char*>(lp));
    return TWindow::WindowProc(msg, wp, lp);
  }
  LRESULT EvCommand(UINT id, HWND, UINT) override {
    if (id == kCmPaneOptions && bar && bar->PopupOptions(*this)) return 0;
    toContent.push_back(id);
    return 0;
  }
  TWindow& GetFrameTWindow() override { return *this; }
  DISPLAY_MODE mode = eTABLEAU_MODE;
  ZPaneButtonBar* bar = nullptr;
  std::vector<std::string> hints;
  std::vector<UINT> toContent;
};

class PaneButtonBarTest : public ButtonsTest {
 protected:
  void SetUp() override {
    ButtonsTest::SetUp();
    const std::string art = QUILL_ART_DIR;
    WriteSettings("[BMPSets]\nbuttons=" + art +
                  "/buttons.set\n[Directories]\nMedia=" + dir.string() + "\n");
    SetArtDir(art);
    menusBefore = LiveMenuCount();
  }
  void TearDown() override {
    SetPopupMenuIdleHook(nullptr);
    if (pane.IsWindow()) pane.Destroy();
    ButtonsTest::TearDown();
  }
  ZPaneButtonBar* MakeBar(PANE_TYPE type) {
    auto* bar = new ZPaneButtonBar(type, &pane);
    pane.bar = bar;
    return bar;
  }
  static std::vector<UINT> Ids(const ZPaneButtonBar& bar) {
    std::vector<UINT> ids;
    for (TGadget* g = bar.FirstGadget(); g; g = g->NextGadget()) ids.push_back(UINT(g->GetId()));
    return ids;
  }
  static const ZAnimButtonGadget& Button(const ZPaneButtonBar& bar, UINT id) {
    return dynamic_cast<const ZAnimButtonGadget&>(*bar.GadgetWithId(int(id)));
  }
  // A menu of command ids; 0 opens a pop-up item holding the ids in subs (one list per 0).
  static TMenu Menu(std::vector<UINT> ids, std::vector<std::vector<UINT>> subs = {}) {
    TMenu menu;
    size_t sub = 0;
    for (UINT id : ids) {
      if (id != 0) {
        menu.AppendMenu(MF_STRING, id, "@");
        continue;
      }
      HMENU popup = CreatePopupMenu();
      for (UINT s : subs.at(sub++)) AppendMenu(popup, MF_STRING, s, "item");
      menu.AppendMenu(MF_POPUP, uintptr_t(popup), "More");
    }
    return menu;
  }

  PaneStub pane;
  size_t menusBefore = 0;
};

TEST_F(PaneButtonBarTest, EveryTableEntryMakesAButtonFromTheArt) {
  const auto table = ZPaneButtonBar::ButtonTable();
  ASSERT_EQ(table.size(), 72u);
  std::set<std::string> names;
  for (const auto& e : table) {
    EXPECT_EQ(e.kind, 0) << e.id;
    names.insert(e.bitmap);
    std::unique_ptr<TGadget> g(ZPaneButtonBar::MakeButton(e.id));
    auto* button = dynamic_cast<ZAnimButtonGadget*>(g.get());
    ASSERT_NE(button, nullptr) << e.id;
    EXPECT_EQ(button->GetId(), int(e.id));
    EXPECT_EQ(button->GetNumCels(), 3);
    // The first entry with the id names the strip, and the strip is in the art.
    EXPECT_EQ(button->GetFileName(), ZPaneButtonBar::FindButton(e.id)->bitmap);
    EXPECT_TRUE(button->IsOK()) << e.bitmap;
  }
  EXPECT_EQ(names.size(), 55u);
  // The two copy strips keep their own letter case; an unknown id gets the lower-case one.
  EXPECT_STREQ(ZPaneButtonBar::FindButton(7102)->bitmap, "pbCopy.bmp");
  EXPECT_STREQ(ZPaneButtonBar::FindButton(7205)->bitmap, "pbcopy.bmp");
  EXPECT_EQ(ZPaneButtonBar::FindButton(1234), nullptr);
  std::unique_ptr<TGadget> unknown(ZPaneButtonBar::MakeButton(1234));
  EXPECT_EQ(dynamic_cast<ZAnimButtonGadget&>(*unknown).GetFileName(), "pbcopy.bmp");
  EXPECT_TRUE(reports.empty());
}

TEST_F(PaneButtonBarTest, EachPaneTypeStartsWithItsConstantButtons) {
  struct Case {
    PANE_TYPE type;
    std::vector<UINT> ids;
  };
  const Case cases[] = {
      {eMEDIA_PANE, {7432}}, {eMAXI_PANE, {7432}},
      {ePATH_PANE, {7532}},  {eARTICLE_PANE, {7301, 7302, 7307, 7308, 7633, 7632, 7305, 7306}},
      {eENV_PANE, {}},       {ePOPUP_PANE, {}},
  };
  ASSERT_TRUE(pane.Create());
  for (const Case& c : cases) {
    ZPaneButtonBar* bar = MakeBar(c.type);
    ASSERT_TRUE(bar->Create());
    EXPECT_EQ(Ids(*bar), c.ids) << GetPaneTypeName(c.type);
    EXPECT_EQ(bar->Attr.Style & WS_BORDER, 0u);
    EXPECT_EQ(bar->GetMargins(), TMargins(TMargins::LayoutUnits, 0, 0, 0, 0));
    // Shrink-wrapped both ways: the window is as large as its buttons, side by side.
    int width = 0, height = 0;
    for (TGadget* g = bar->FirstGadget(); g; g = g->NextGadget()) {
      TSize s;
      g->GetDesiredSize(s);
      width += s.cx;
      height = std::max(height, s.cy);
    }
    TSize desired;
    bar->GetDesiredSize(desired);
    EXPECT_EQ(desired, TSize(width, height)) << GetPaneTypeName(c.type);
    EXPECT_EQ(bar->GetClientRect().Size(), desired);
    bar->Destroy();
    delete bar;
  }
  EXPECT_TRUE(reports.empty());
}

TEST_F(PaneButtonBarTest, MergingKeepsTheMenusOrderLessTheSkippedIds) {
  struct Case {
    const char* what;
    std::vector<UINT> menu;
    DISPLAY_MODE mode;
    std::vector<UINT> buttons;
  };
  const Case cases[] = {
      {"skipped", {7306, 9499, 7305}, eTABLEAU_MODE, {7306, 7305}},
      {"only skipped", {7104, 9499}, eTABLEAU_MODE, {}},
      {"empty", {}, eTABLEAU_MODE, {}},
      {"unknown id", {7306, 1234}, eTABLEAU_MODE, {7306, 1234}},
      {"full screen", {7632, 7432, 7532, 7306}, eFULL_SCREEN_MODE, {7701, 7701, 7701, 7306}},
      {"tableau", {7632, 7306}, eTABLEAU_MODE, {7632, 7306}},
  };
  ASSERT_TRUE(pane.Create());
  ZPaneButtonBar* bar = MakeBar(eARTICLE_PANE);
  ASSERT_TRUE(bar->Create());
  for (const Case& c : cases) {
    pane.mode = c.mode;
    TMenu menu = Menu(c.menu);
    bar->MergeButtons(menu);
    // The constant buttons are gone too: the bar shows the merged menu only.
    EXPECT_EQ(Ids(*bar), c.buttons) << c.what;
    EXPECT_EQ(menu.GetMenuItemCount(), int(c.menu.size())) << c.what;
    EXPECT_EQ(bar->GetPopupMenu(), nullptr) << c.what;
    if (c.mode == eFULL_SCREEN_MODE) {
      EXPECT_EQ(Button(*bar, 7701).GetFileName(), "pbTbleau.bmp");
    }
    if (bar->GadgetWithId(1234)) {
      EXPECT_EQ(Button(*bar, 1234).GetFileName(), "pbcopy.bmp");
    }
  }
  // A menu without a handle leaves an empty bar.
  TMenu dead(HMENU(nullptr));
  bar->MergeButtons(dead);
  EXPECT_TRUE(Ids(*bar).empty());
  TSize desired;
  bar->GetDesiredSize(desired);
  EXPECT_EQ(desired, TSize(0, 0));
  EXPECT_TRUE(reports.empty());
}

TEST_F(PaneButtonBarTest, AButtonsHintIsItsHintTextAttribute) {
  const std::string art = QUILL_ART_DIR;
  WriteSettings("[BMPSets]\nbuttons=" + art + "/buttons.set\n[HintText]\npbNext=Next one\n" +
                "[Directories]\nMedia=" + dir.string() + "\n");
  SetArtDir(art);
  SetAppFrame(&pane);
  ASSERT_TRUE(pane.Create());
  ZPaneButtonBar* bar = MakeBar(eARTICLE_PANE);
  ASSERT_TRUE(bar->Create());
  // Next has a text; Previous has none (the library's string table is not consulted).
  for (UINT id : {7306u, 7305u}) {
    const TPoint p = OnScreen(*bar->GadgetWithId(int(id)));
    MouseMove(p.x, p.y);
    Pump();
  }
  EXPECT_EQ(pane.hints, std::vector<std::string>{"Next one"});
  SetAppFrame(nullptr);
}

TEST_F(PaneButtonBarTest, APopUpItemIsKeptAndThePanePopsItUpOnOptions) {
  ASSERT_TRUE(pane.Create());
  ZPaneButtonBar* bar = MakeBar(eMEDIA_PANE);
  ASSERT_TRUE(bar->Create());
  // Without a kept menu, Options goes to the content.
  pane.SendMessage(WM_COMMAND, kCmPaneOptions, 0);
  EXPECT_EQ(pane.toContent, std::vector<UINT>{kCmPaneOptions});
  pane.toContent.clear();
  {
    TMenu menu = Menu({7107, 0, 7209, 7106}, {{501, 502}});
    bar->MergeButtons(menu);
    EXPECT_EQ(Ids(*bar), (std::vector<UINT>{7107, 7209, 7106}));
    // The pop-up item left the content's menu, which no longer owns its submenu.
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
  }
  TPopupMenu* options = bar->GetPopupMenu();
  ASSERT_NE(options, nullptr);
  ASSERT_TRUE(options->IsOK());
  EXPECT_EQ(options->GetMenuItemID(1), 502u);

  // The Options button's click reaches the pane, which pops the menu up above the button; the
  // second item is chosen and its command goes to the pane.
  TRect menuRect;
  SetPopupMenuIdleHook([&](TPopupMenuTracker& t) {
    if (t.Level(0)->Hilite() >= 0) return;
    menuRect = t.Level(0)->GetWindowRect();
    for (UINT vk : {VK_DOWN, VK_DOWN, VK_RETURN}) {
      platform::InputEvent e;
      e.kind = platform::InputKind::KeyDown;
      e.virtualKey = vk;
      backend->Inject(e);
    }
  });
  ClickOn(*bar->GadgetWithId(kCmPaneOptions));
  Pump();
  EXPECT_EQ(pane.toContent, std::vector<UINT>{502});
  TRect button = bar->GadgetWithId(kCmPaneOptions)->GetBounds();
  bar->ClientToScreen(button);
  EXPECT_LE(menuRect.bottom, button.top + 1);

  // The next merge without a pop-up item lets the kept menu go.
  TMenu plain = Menu({7107});
  bar->MergeButtons(plain);
  EXPECT_EQ(bar->GetPopupMenu(), nullptr);
  EXPECT_EQ(LiveMenuCount(), menusBefore + 1);  // plain only
}

TEST_F(PaneButtonBarTest, OfTwoPopUpItemsTheTopmostIsKeptAndTheOtherDeleted) {
  ASSERT_TRUE(pane.Create());
  ZPaneButtonBar* bar = MakeBar(eARTICLE_PANE);
  ASSERT_TRUE(bar->Create());
  {
    TMenu menu = Menu({0, 7306, 0, 7305}, {{601}, {701, 702}});
    bar->MergeButtons(menu);
    EXPECT_EQ(Ids(*bar), (std::vector<UINT>{7306, 7305}));
    EXPECT_EQ(menu.GetMenuItemCount(), 2);
  }
  ASSERT_NE(bar->GetPopupMenu(), nullptr);
  EXPECT_EQ(bar->GetPopupMenu()->GetMenuItemCount(), 1);
  EXPECT_EQ(bar->GetPopupMenu()->GetMenuItemID(0), 601u);
  // Only the kept submenu is alive: the lower one was destroyed when it was replaced.
  EXPECT_EQ(LiveMenuCount(), menusBefore + 1);
  delete bar;
  EXPECT_EQ(LiveMenuCount(), menusBefore);
}

TEST_F(PaneButtonBarTest, FullScreenSwapKeepsThePlaceAndStopsAnAnimation) {
  ASSERT_TRUE(pane.Create());
  ZPaneButtonBar* bar = MakeBar(eARTICLE_PANE);
  ASSERT_TRUE(bar->Create());
  const std::vector<UINT> restored = Ids(*bar);
  std::vector<UINT> maximized = restored;
  maximized[5] = kCmTableau;

  // The full-screen button is animating when it is swapped out: the animation stops with it.
  auto& full = const_cast<ZAnimButtonGadget&>(Button(*bar, kCmFullScreenArticle));
  ASSERT_TRUE(bar->RequestAnimating(full, 1));
  bar->MaximizeButtonBar(true);
  EXPECT_EQ(Ids(*bar), maximized);
  EXPECT_EQ(bar->GetAnimatingGadget(), nullptr);
  EXPECT_EQ(bar->GetAnimationTimer(), 0u);
  Advance(1000);
  Pump();
  bar->MaximizeButtonBar(true);
  EXPECT_EQ(Ids(*bar), maximized);

  bar->MaximizeButtonBar(false);
  EXPECT_EQ(Ids(*bar), restored);
  EXPECT_EQ(Button(*bar, kCmFullScreenArticle).GetFileName(), "pbFullSc.bmp");
  bar->MaximizeButtonBar(false);
  EXPECT_EQ(Ids(*bar), restored);

  // Each pane type gets its own full-screen button back; a bar without one swaps nothing.
  struct Case {
    PANE_TYPE type;
    UINT full;
  };
  for (const Case& c : {Case{eMEDIA_PANE, 7432}, Case{ePATH_PANE, 7532}, Case{eMAXI_PANE, 7432}}) {
    ZPaneButtonBar* other = MakeBar(c.type);
    ASSERT_TRUE(other->Create());
    other->MaximizeButtonBar(true);
    EXPECT_EQ(Ids(*other), std::vector<UINT>{kCmTableau});
    other->MaximizeButtonBar(false);
    EXPECT_EQ(Ids(*other), std::vector<UINT>{c.full});
    TMenu menu = Menu({7107, 7106});
    other->MergeButtons(menu);
    other->MaximizeButtonBar(true);
    EXPECT_EQ(Ids(*other), (std::vector<UINT>{7107, 7106}));
  }
  EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace quill::test
