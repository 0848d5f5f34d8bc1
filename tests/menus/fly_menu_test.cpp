// The fly menu itself: settings and their limits, the fly's strip schedule on the manual
// clock, the picture of entries and separators, placement at the screen's and parent's edges,
// and the faults mended in display, tables, the message window and the title bar link.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "menus/fly_menu_fixture.h"
#include "quillui/app/ini_changed.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/framework/window/cursor.h"
#include "quillui/framework/window/window_dc.h"
#include "quillui/menus/alternate_focus_wnd.h"
#include "quillui/menus/fly_menu_settings.h"
#include "quillui/menus/menu_gadgets.h"
#include "quillui/profile/icons.h"
#include "quillui/sound/play_sound.h"
#include "quillui/sound/wave_out_api.h"
#include "quillui/testing/sound.h"

namespace quill {
namespace {

using test::FlyMenuTest;

TEST_F(FlyMenuTest, SettingsHaveTheirDefaultsAndLimits) {
  const ZFlyMenuSettings& d = FlyMenuSettings();
  EXPECT_EQ(d.m_dwMinFlyTime, 100u);
  EXPECT_EQ(d.m_dwMaxTime, 300u);
  EXPECT_EQ(d.m_uiBlockWidth, 2u);
  EXPECT_EQ(d.m_dwBlockFlyMin, 10u);
  EXPECT_EQ(d.m_uiSubMenuDelay, 250u);
  EXPECT_EQ(d.m_clrMenuBkgnd, 0x02FFDA99u);
  EXPECT_EQ(d.m_clrMenuHilight, 0x02F2F2F2u);
  EXPECT_FALSE(d.m_bPlaySound);
  EXPECT_EQ(d.m_sizeFudgeBuff, TSize(0, 0));

  // "-1" would read as 2^32 - 1 milliseconds; a block width of 0 would never end the loop.
  Settings(
      "[View]\nMenuMinFlyTime=-1\nMenuMaxTime=99999999\nMenuBlockWidth=0\nMenuBlockFlyMin=-5\n"
      "MenuSubDelay=-1\nMenuFudgeSize=3, 4\nMenuHilightColor=1 2\n");
  const ZFlyMenuSettings& s = FlyMenuSettings();
  EXPECT_EQ(s.m_dwMinFlyTime, 0u);
  EXPECT_EQ(s.m_dwMaxTime, 10000u);
  EXPECT_EQ(s.m_uiBlockWidth, 1u);
  EXPECT_EQ(s.m_dwBlockFlyMin, 0u);
  EXPECT_EQ(s.m_uiSubMenuDelay, 0u);
  EXPECT_EQ(s.m_sizeFudgeBuff, TSize(3, 4));
  EXPECT_EQ(s.m_clrMenuHilight, 0x02FFFFFFu);

  Settings("[View]\nMenuBlockWidth=100000\nMenuBlockFlyMin=100000\n");
  EXPECT_EQ(FlyMenuSettings().m_uiBlockWidth, 4096u);
  EXPECT_EQ(FlyMenuSettings().m_dwBlockFlyMin, 4096u);

  for (auto [text, want] : std::vector<std::pair<const char*, TSize>>{
           {"3", {0, 0}}, {"", {0, 0}}, {"-2 7", {-2, 7}}, {"99999 1", {4096, 1}}})
    EXPECT_EQ(ParseFudgeSize(text), want) << text;
}

TEST_F(FlyMenuTest, SoundPathGetsTheSeparatorADirectoryLacks) {
  EXPECT_EQ(JoinSoundPath("", "clkpmenu.wav"), "clkpmenu.wav");
  EXPECT_EQ(JoinSoundPath("sounds", "clkpmenu.wav"), "sounds/clkpmenu.wav");
  EXPECT_EQ(JoinSoundPath("sounds/", "clkpmenu.wav"), "sounds/clkpmenu.wav");
  EXPECT_EQ(JoinSoundPath("c:\\snd\\", "clkpmenu.wav"), "c:\\snd\\clkpmenu.wav");
}

TEST_F(FlyMenuTest, SettingsChangedRereadsOnlyTheButtonSounds) {
  Settings("[Prefs]\nButtonSounds=0\n[View]\nMenuSubDelay=250\nMenuBkgndColor=1 2 3\n");
  ASSERT_FALSE(FlyMenuSettings().m_bPlaySound);
  WriteIni("[Prefs]\nButtonSounds=1\n[View]\nMenuSubDelay=500\nMenuBkgndColor=4 5 6\n");
  NotifyIniChanged();
  EXPECT_TRUE(FlyMenuSettings().m_bPlaySound);
  EXPECT_EQ(FlyMenuSettings().m_uiSubMenuDelay, 250u);
  EXPECT_EQ(FlyMenuSettings().m_clrMenuBkgnd, PALETTERGB(1, 2, 3));
}

// The sounds directory is named without its final separator: the click is still found.
TEST_F(FlyMenuTest, FlyPlaysTheClickFromADirectoryWithoutSeparator) {
  std::filesystem::create_directories(dir + "/sounds");
  std::filesystem::copy_file(std::string(QUILL_TEST_DATA_DIR) + "/sound/sndfile_pcm16.wav",
                             dir + "/sounds/clkpmenu.wav");
  Settings("[Prefs]\nButtonSounds=1\n[Directories]\nButtonSounds=" + dir + "/sounds\n");
  SetWaveOutBackend("null");
  auto menu = NewMenu();
  menu->Append(0, 1, "One", nullptr);
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(PlaySoundCachedCount(), 1u);
  menu.reset();
  ResetPlaySound();
  ResetWaveOutSettings();
}

// --- The fly -------------------------------------------------------------------------------------

struct FlyCase {
  const char* name;
  const char* ini;
  int size;  // height, or width for a submenu
  bool submenu;
  size_t strips;                                // presents during the fly
  std::vector<std::pair<size_t, uint64_t>> at;  // 1-based strip -> time after the start
  uint64_t returns;                             // when FlyAction returns, after the start
};

class FlyScheduleTest : public FlyMenuTest, public ::testing::WithParamInterface<FlyCase> {};

TEST_P(FlyScheduleTest, StripsComeOnTheirDeadlines) {
  const FlyCase& c = GetParam();
  Settings(c.ini);
  auto menu = NewMenu();
  auto parent = NewMenu();
  if (c.submenu) menu->SetParentMenu(parent.get());
  menu->SetShrinkWrap(false, false);
  const int w = c.submenu ? c.size : 100, h = c.submenu ? 60 : c.size;
  menu->SetWindowPos(HWND_TOP, 10, 10, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  GdiFlush();
  spy->shots.clear();

  TBitmap picture(w, h);
  TMemoryDC source;
  source.SelectObject(picture);
  TClientDC target(*menu);
  const uint64_t t0 = clock->NowMs();
  menu->FlyAction(source, target);
  EXPECT_EQ(clock->NowMs() - t0, c.returns);
  EXPECT_TRUE(menu->IsFlown());

  ASSERT_EQ(spy->shots.size(), c.strips);
  for (auto [strip, time] : c.at) EXPECT_EQ(spy->shots[strip - 1].timeMs - t0, time) << strip;
  // Each strip grows by a block from the menu's near edge; the last is the whole menu.
  const platform::PixelRect last = spy->shots.back().bounds;
  EXPECT_EQ(c.submenu ? last.w : last.h, c.size);
  const platform::PixelRect first = spy->shots.front().bounds;
  EXPECT_EQ(first.x, 10);
  EXPECT_EQ(first.y, 10);
  if (c.strips > 1) {
    EXPECT_EQ(c.submenu ? first.w : first.h, 2);
  }
  menu->SetParentMenu(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Fly, FlyScheduleTest,
    ::testing::Values(
        FlyCase{"Default200",
                "",
                200,
                false,
                100,
                {{1, 0}, {2, 10}, {10, 90}, {11, 100}, {12, 102}, {50, 178}, {100, 278}},
                280},
        FlyCase{"Odd201", "", 201, false, 101, {{11, 100}, {100, 278}, {101, 280}}, 280},
        FlyCase{"Default150", "", 150, false, 75, {{11, 100}, {12, 103}, {75, 292}}, 295},
        FlyCase{"Short20", "", 20, false, 10, {{1, 0}, {5, 40}, {10, 90}}, 100},
        // A short submenu keeps the first interval: it only ever shrinks.
        FlyCase{"Submenu40", "", 40, true, 20, {{10, 90}, {11, 100}, {20, 190}}, 200},
        FlyCase{
            "NoFirstPhase", "[View]\nMenuBlockFlyMin=0\n", 200, false, 100, {{1, 0}, {100, 0}}, 0},
        FlyCase{"NoMaxTime",
                "[View]\nMenuMaxTime=0\n",
                200,
                false,
                100,
                {{1, 0}, {10, 90}, {11, 100}, {100, 100}},
                100},
        // A negative time once meant a wait of about 49 days; it now reads as 0.
        FlyCase{"NegativeMaxTime",
                "[View]\nMenuMaxTime=-1\n",
                200,
                false,
                100,
                {{10, 90}, {11, 100}, {100, 100}},
                100},
        // Narrower than one block: no strip in the loop, the whole picture once.
        FlyCase{"NarrowerThanABlock", "[View]\nMenuBlockWidth=4096\n", 200, false, 1, {{1, 0}}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A real opening: the fly leaves on the screen exactly what a plain repaint draws.
TEST_F(FlyMenuTest, DisplayFliesOnceAndLeavesThePlainPicture) {
  auto menu = NewMenu();
  for (const char* text : {"Open", "Bookmark", "Print Article", "Close"})
    menu->Append(0, 100, text, nullptr);
  spy->shots.clear();
  const uint64_t t0 = clock->NowMs();
  ASSERT_TRUE(menu->Display(TPoint(50, 40)));
  const TRect r = menu->GetWindowRect();
  EXPECT_EQ(r.TopLeft(), TPoint(50, 40));
  EXPECT_TRUE(menu->IsFlown());
  EXPECT_EQ(spy->shots.size(), size_t(r.Height() / 2));
  EXPECT_GE(clock->NowMs() - t0, 100u);
  EXPECT_LE(clock->NowMs() - t0, 300u);

  std::vector<uint8_t> flown;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) flown.push_back(ScreenPixel(x, y));
  menu->Invalidate();
  const uint64_t t1 = clock->NowMs();
  Pump();
  EXPECT_EQ(clock->NowMs(), t1) << "a shown menu repaints without flying";
  std::vector<uint8_t> plain;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) plain.push_back(ScreenPixel(x, y));
  EXPECT_EQ(flown, plain);

  menu->RemoveFromScreen();
  EXPECT_FALSE(menu->IsWindowVisible());
  EXPECT_FALSE(menu->IsFlown());
}

// --- Geometry and picture ------------------------------------------------------------------------

TEST_F(FlyMenuTest, GadgetSizesFollowTheFontAndTheColumns) {
  const int f = FontHeight();
  ASSERT_GT(f, 0);
  auto menu = NewMenu();
  menu->Append(0, 1, "Open", nullptr);
  menu->Append(0, 2, "Bookmark this item", nullptr);
  menu->Append(MF_SEPARATOR, 0, nullptr, nullptr);
  menu->Append(MF_POPUP, 3, "Options", nullptr);
  TScreenDC dc;
  dc.SelectObject(*GetAppFont(0));
  const int widest = dc.GetTextExtent("Bookmark this item").cx;

  menu->Display(TPoint(10, 10));
  EXPECT_EQ(menu->GetEntryWidth(), widest + 34);  // a fresh table has the check-mark column
  std::vector<int> heights;
  for (TGadget* g = menu->FirstGadget(); g; g = g->NextGadget())
    heights.push_back(g->GetBounds().Height());
  EXPECT_EQ(heights, (std::vector<int>{f + 4, f + 3, 9, f + 4}));
  EXPECT_EQ(menu->GetWindowRect().Size(), TSize(widest + 34, 3 * f + 11 + 9));

  menu->RemoveFromScreen();
  menu->SetCheckMarkSpacing(0);
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(menu->GetEntryWidth(), widest + 18);
  menu->RemoveFromScreen();
  menu->SetIconSpacing(1);
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(menu->GetEntryWidth(), widest + 37);

  auto one = NewMenu();
  one->Append(0, 1, "Only", nullptr);
  one->Display(TPoint(300, 10));
  EXPECT_EQ(one->GetWindowRect().Height(), f + 5);
}

TEST_F(FlyMenuTest, PictureHasItsFrameSeparatorColoursCheckAndArrow) {
  const COLORREF a = PALETTERGB(200, 40, 40), b = PALETTERGB(40, 40, 200);
  auto menu = NewMenu();
  menu->Append(MF_CHECKED, 1, "Above", nullptr, a);
  menu->Append(MF_SEPARATOR, 0, nullptr, nullptr);
  menu->Append(MF_POPUP, 2, "Below", nullptr, b);
  menu->Display(TPoint(20, 30));
  const TRect r = menu->GetWindowRect();
  auto* above = FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*menu, 0);
  auto* sep = FlyMenuTest::GadgetAt<ZMenuSeparatorGadget>(*menu, 1);
  auto* below = FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*menu, 2);
  ASSERT_TRUE(above && sep && below);
  EXPECT_EQ(sep->GetUpperColor(), a);
  EXPECT_EQ(sep->GetLowerColor(), b);

  const uint8_t black = IndexOf(TColor::Black);
  const int sepTop = r.top + sep->GetBounds().top;
  const int x = r.left + r.Width() / 2 + 10;  // clear of the text
  for (int row = 0; row < 9; ++row) {
    const uint8_t want = row < 4 ? IndexOf(a) : row == 4 ? black : IndexOf(b);
    EXPECT_EQ(ScreenPixel(x, sepTop + row), want) << row;
  }
  // One black frame round the whole menu; lines end before their end point.
  for (int y = r.top; y < r.bottom; ++y) {
    EXPECT_EQ(ScreenPixel(r.left, y), black);
    EXPECT_EQ(ScreenPixel(r.right - 1, y), black);
  }
  for (int col = r.left; col < r.right; ++col) {
    EXPECT_EQ(ScreenPixel(col, r.top), black);
    EXPECT_EQ(ScreenPixel(col, r.bottom - 1), black);
  }

  // The check mark sits in the check column of the entry above, the arrow at the right of
  // the entry below: both put pixels other than the background there.
  auto inkIn = [&](const TRect& area, uint8_t background) {
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int xx = area.left; xx < area.right; ++xx) ink += ScreenPixel(xx, y) != background;
    return ink;
  };
  const TRect ab = above->GetBounds(), bb = below->GetBounds();
  const int ha = ab.Height(), hb = bb.Height();
  EXPECT_GT(inkIn(TRect(r.left + 2, r.top + (ha - 14) / 2, r.left + 16, r.top + (ha - 14) / 2 + 14),
                  IndexOf(a)),
            10);
  EXPECT_GT(inkIn(TRect(r.right - 16, r.top + bb.top + (hb - 16) / 2, r.right - 1,
                        r.top + bb.top + (hb - 16) / 2 + 16),
                  IndexOf(b)),
            10);
}

// --- Placement -----------------------------------------------------------------------------------

TEST_F(FlyMenuTest, PlacementKeepsMenusOnTheScreenOrInsideTheirParent) {
  struct Case {
    ZFlyMenu::eMENU_TYPE type;
    TPoint asked;
    TPoint placed;
  };
  // A 100 x 120 menu on an 800 x 600 screen; the capture menus' parent is the frame.
  const Case cases[] = {
      {ZFlyMenu::eMT_HOVER, {700, 500}, {700, 480}},  // bottom 620: up by 20
      {ZFlyMenu::eMT_HOVER, {700, 480}, {700, 480}},  // bottom exactly on the edge
      {ZFlyMenu::eMT_HOVER, {750, 0}, {750, 0}},      // no sideways correction
      {ZFlyMenu::eMT_CAPTURE, {100, 100}, {100, 100}},
      {ZFlyMenu::eMT_CAPTURE, {750, 100}, {650, 100}},  // opens to the left of the point
      {ZFlyMenu::eMT_CAPTURE, {750, 550}, {650, 480}},
  };
  for (const Case& c : cases) {
    auto menu = NewMenu(c.type);
    menu->SetShrinkWrap(false, false);
    menu->SetWindowPos(HWND_TOP, 0, 0, 100, 120, SWP_NOACTIVATE | SWP_NOMOVE);
    TPoint p = c.asked;
    menu->CheckPlacement(p);
    EXPECT_EQ(p, c.placed) << c.type << " " << c.asked.x << "," << c.asked.y;
  }

  // Shown from a title bar, a menu pushed up also moves to the icon window's right edge.
  test::HostWindow icon(frame.get(), TRect(30, 5, 54, 25), &log);
  ASSERT_TRUE(icon.Create());
  test::TitleBarStub bar;
  bar.bar = host->GetHandle();
  bar.icon = icon.GetHandle();
  auto menu = NewMenu();
  menu->SetTitleBar(&bar);
  menu->SetShrinkWrap(false, false);
  menu->SetWindowPos(HWND_TOP, 0, 0, 100, 120, SWP_NOACTIVATE | SWP_NOMOVE);
  TPoint p(300, 500);
  menu->CheckPlacement(p);
  EXPECT_EQ(p, TPoint(54, 480));
  menu->SetTitleBar(nullptr);
}

TEST_F(FlyMenuTest, SubmenuOpensAtItsParentEntrysTopRightCorner) {
  auto menu = NewMenu();
  menu->Append(0, 1, "First", nullptr);
  menu->Append(MF_POPUP, 2, "More", nullptr);
  menu->Display(TPoint(100, 50));
  auto* more = FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*menu, 1);
  menu->SetCurEntryGadget(more);
  ZFlyMenu* sub = menu->CreateSubMenu(ZFlyMenu::eSML_THIS);
  sub->Append(0, 3, "Inner", nullptr);
  TPoint corner(more->GetBounds().right, more->GetBounds().top);
  menu->ClientToScreen(corner);

  sub->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
  EXPECT_EQ(sub->GetWindowRect().TopLeft(), corner);
  sub->RemoveFromScreen();
  sub->Display(TPoint(5, -3));
  EXPECT_EQ(sub->GetWindowRect().TopLeft(), corner.OffsetBy(5, -3));
}

// --- Tables --------------------------------------------------------------------------------------

TEST_F(FlyMenuTest, TablesAreRebuiltAtDisplayOnlyWhenChanged) {
  auto menu = NewMenu();
  menu->Append(0, 1, "One", nullptr);
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(menu->NumGadgets(), 1u);
  menu->Append(0, 2, "Two", nullptr);  // while shown: the next display shows it
  EXPECT_EQ(menu->NumGadgets(), 1u);
  menu->RemoveFromScreen();
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(menu->NumGadgets(), 2u);
  EXPECT_EQ(menu->GetEntries()->GetChanged(), 0);

  // An entry deleted while the menu is shown is no longer read; its gadget goes at the next
  // display. A gadget built for an entry no table holds keeps that entry.
  menu->Delete(1, MF_BYCOMMAND);
  menu->AddMenuGadget(0, 9, "Loose", nullptr);
  menu->Invalidate();
  Pump();
  EXPECT_EQ(FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*menu, 0)->GetEntry(), nullptr);
  EXPECT_STREQ(FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*menu, 2)->GetEntry()->text, "Loose");
  menu->RemoveFromScreen();
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(menu->NumGadgets(), 1u);

  // Without a table every operation answers its failure value.
  ZMenuEntries* none = nullptr;
  menu->SetEntries(&none);
  EXPECT_EQ(menu->Append(0, 3, "x", nullptr), 0);
  EXPECT_EQ(menu->GetPosition(1), kMenuEntryNone);
  EXPECT_EQ(menu->SetCheckMark(1, MF_CHECKED), kMenuEntryNone);
  EXPECT_EQ(menu->GetCount(), 0u);
  EXPECT_EQ(menu->GetEntry(0, MF_BYPOSITION), nullptr);
  menu->SetIconSpacing(1);  // no effect, no fault
}

// Handing the menu the slot (or the table) it already uses once freed the table and then read
// it; it is now a no-op.
TEST_F(FlyMenuTest, SetEntriesWithTheTableInUseKeepsIt) {
  auto shared = new ZMenuEntries(1);
  shared->Append(0, 1, "Shared", nullptr);
  ZMenuEntries* slot = shared;
  auto menu = NewMenu();
  menu->SetEntries(&slot);  // the own table goes
  menu->Display(TPoint(10, 10));
  menu->RemoveFromScreen();
  menu->SetEntries(&slot);
  ZMenuEntries* sameTableOtherSlot = shared;
  menu->SetEntries(&sameTableOtherSlot);
  ASSERT_EQ(menu->GetEntries(), shared);
  EXPECT_EQ(menu->GetCount(), 1u);
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(menu->NumGadgets(), 1u);
  menu.reset();  // owned by the menu: deleted with it
}

TEST_F(FlyMenuTest, InitEntriesReadsAMenuCheckedAsPopupAndIdZeroAsSeparator) {
  TMenu source;
  source.AppendMenu(MF_STRING, 7301, "@");
  source.AppendMenu(MF_STRING | MF_CHECKED, 7302, "@");
  source.AppendMenu(MF_SEPARATOR, 0, nullptr);
  auto menu = NewMenu();
  ZMenuEntries* table = menu->InitEntries(source, 0, 1);
  ASSERT_EQ(table->GetCount(), 3u);
  EXPECT_STREQ(table->Get(0, MF_BYPOSITION)->text, "Outline");
  EXPECT_EQ(table->Get(1, MF_BYPOSITION)->flags, MF_POPUP);
  EXPECT_STREQ(table->Get(1, MF_BYPOSITION)->text, "Options");
  EXPECT_EQ(table->Get(2, MF_BYPOSITION)->flags, MF_SEPARATOR);
}

// --- Mended faults of display and links
// -----------------------------------------------------------

TEST_F(FlyMenuTest, ShownTwiceTheFirstSavedCursorComesBack) {
  SetCursor(TCursorShape::Wait);
  auto menu = NewMenu();
  menu->Append(0, 1, "One", nullptr);
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(GetCursor(), GetAppCursor(eAPP_CURSOR_NORMAL));
  SetCursor(TCursorShape::Hand);  // something changes it while the menu is up
  menu->Display(TPoint(10, 10));
  menu->RemoveFromScreen();
  EXPECT_EQ(GetCursor(), TCursorShape::Wait);
}

TEST_F(FlyMenuTest, AMessageWindowThatDiesLeavesTheMenuWithoutOne) {
  auto menu = NewMenu();
  menu->Append(MF_POPUP, 5, "More", nullptr);
  menu->Display(TPoint(10, 10));
  EXPECT_EQ(menu->GetMsgWnd(), host.get());
  menu->SetupSubmenuFiring(5);
  host.reset();
  EXPECT_EQ(menu->GetMsgWnd(), nullptr);
  Advance(300);
  Pump();  // timer 778 fires; the command has nowhere to go
  EXPECT_TRUE(log.empty());
}

TEST_F(FlyMenuTest, TitleBarLinkDetachesBothWays) {
  test::TitleBarStub bar;
  bar.bar = host->GetHandle();
  bar.state = ZFlyMenuTitleBar::eICON_PRESSED;
  auto menu = NewMenu();
  menu->SetTitleBar(&bar);
  menu->Append(0, 1, "One", nullptr);
  menu->Display(TPoint(10, 10));
  menu.reset();
  EXPECT_NE(bar.gone, nullptr) << "a menu that goes tells its title bar";

  auto other = NewMenu();
  {
    test::TitleBarStub shortLived;
    other->SetTitleBar(&shortLived);
    other->SetTitleBar(nullptr);  // the title bar detaches before it goes
  }
  other->Append(0, 1, "One", nullptr);
  other->Display(TPoint(10, 10));
  other->RemoveFromScreen();
  EXPECT_EQ(other->GetTitleBar(), nullptr);
}

// A pane's menu tells the pane's holder content that it opens; its submenus do not.
TEST_F(FlyMenuTest, APanesMenuTellsTheHolderContentItOpens) {
  struct Content : TWindow {
    explicit Content(TWindow* parent) : TWindow(parent, "content") {}
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
      if (msg == WmuFlyMenuOpening) ++opened;
      return TWindow::WindowProc(msg, wp, lp);
    }
    int opened = 0;
  };
  struct Pane : test::HostWindow, ZFlyMenuPane {
    using HostWindow::HostWindow;
    HWND GetFlyMenuHolderChild() const override { return child; }
    HWND child = nullptr;
  };
  Pane pane(frame.get(), TRect(0, 0, 400, 300), &log);
  ASSERT_TRUE(pane.Create());
  Content content(&pane);
  ASSERT_TRUE(content.Create());
  pane.child = content.GetHandle();
  ZFlyMenu menu(frame.get(), &pane, ZFlyMenu::eMT_HOVER, ZFlyMenu::eDM_KEEP, 1);
  ASSERT_TRUE(menu.Create());
  menu.Append(MF_POPUP, 2, "More", nullptr);
  menu.Display(TPoint(10, 10));
  EXPECT_EQ(content.opened, 1);
  menu.SetCurEntryGadget(FlyMenuTest::GadgetAt<ZMenuEntryGadget>(menu, 0));
  ZFlyMenu* sub = menu.CreateSubMenu(ZFlyMenu::eSML_THIS);
  sub->Append(0, 3, "Inner", nullptr);
  sub->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
  EXPECT_EQ(content.opened, 1);
  EXPECT_EQ(sub->GetMsgWnd(), &pane);
}

TEST_F(FlyMenuTest, ShowingAMenuClosesTheActiveOneAndTakesTheFocus) {
  auto first = NewMenu();
  first->Append(0, 1, "One", nullptr);
  auto second = NewMenu();
  second->Append(0, 2, "Two", nullptr);
  host->SetFocus();
  first->Display(TPoint(10, 10));
  EXPECT_EQ(GetActiveFlyMenu(), first.get());
  EXPECT_EQ(GetFocus(), first->GetFocusWnd()->GetHandle());
  second->Display(TPoint(200, 10));
  EXPECT_FALSE(first->IsWindowVisible());
  EXPECT_EQ(GetActiveFlyMenu(), second.get());
  second->RemoveFromScreen();
  EXPECT_EQ(GetFocus(), host->GetHandle());
  second.reset();
  EXPECT_EQ(GetActiveFlyMenu(), nullptr);
}

}  // namespace
}  // namespace quill
