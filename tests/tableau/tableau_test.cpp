// The tableau: pane rectangles by template and size, maximising and the overlays, the state
// string and its clamps, backtrack bookmarks and Back, F6, the notifications panes hear, and
// the panes' own bezel, insets and holder follow-on.
#include "quillui/tableau/tableau.h"

#include <memory>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "quillui/app/art_dir.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/navigation/backtrack.h"
#include "quillui/navigation/bookmark_list.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/pane_button_bar.h"
#include "quillui/testing/app.h"
#include "quillui/testing/bars.h"
#include "quillui/testing/buttons.h"
#include "quillui/testing/imaging.h"
#include "quillui/testing/navigation.h"
#include "quillui/testing/tableau.h"
#include "quillui/testing/titlebar.h"
#include "quillui/titlebar/title_bar.h"

namespace quill::test {
namespace {

using Log = std::vector<std::string>;

// A pane's content: logs the notifications it hears and builds the pane's fly menu with the
// pane's full-screen entry.
class Content : public TWindow {
 public:
  Content(TWindow* holder, std::string name, Log* log) : TWindow(holder), name_(name), log_(log) {}
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuNotification && (wp == kNotifyPaneCovered || wp == kNotifyPaneUncovered))
      log_->push_back(name_ + std::to_string(wp));
    if (msg == WM_COMMAND) log_->push_back(name_ + ":cmd" + std::to_string(LOWORD(wp)));
    if (msg == WmuGetBtnMenu) {
      ++btnMenuAsked;
      if (storeMenu) *reinterpret_cast<HMENU*>(lp) = storeMenu;
    }
    if (msg == WmuBuildFlyMenu) ++flyMenuBuilt;
    if (msg == WmuBuildFlyMenu) {
      // Up through the holder to the pane.
      auto* menu = reinterpret_cast<ZFlyMenu*>(GetParentO()->SendMessage(WmuGetFlyMenu, 0, 0));
      if (menu && menu->GetCount() == 0) {
        TMenu source;
        source.AppendMenu(MF_STRING, 100, "Copy");
        source.AppendMenu(MF_STRING, kCmFullScreenMedia, "Full screen");
        menu->InitEntries(source, 1, 1);
      }
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  HMENU storeMenu = nullptr;  // what the content stores when asked for its buttons' menu
  int btnMenuAsked = 0;
  int flyMenuBuilt = 0;

 private:
  std::string name_;
  Log* log_;
};

// The application frame: fires "!State" bookmarks into the tableau, as a host does.
class Frame : public TWindow, public ZVexFrame {
 public:
  Frame() : TWindow(nullptr, "Frame") {}
  TWindow& GetFrameTWindow() override { return *this; }
  std::vector<WPARAM> envShown;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuEnvPaneShown) envShown.push_back(wp);
    if (msg == WmuFireOffBookmark) {
      const auto* bookmark = reinterpret_cast<const ZBookmark*>(lp);
      std::string text(bookmark->GetText());
      if (text.rfind("!State=<", 0) == 0 && text.back() == '>')
        tableau->SetState(text.substr(8, text.size() - 9));
      return 1;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  ZTableau* tableau = nullptr;
};

class TableauTest : public AppTest {
 public:
  void SetUp() override {
    AppTest::SetUp();
    ResetNavigation();
    ResetTableauFirstSize();
    SetArtDir(QUILL_ART_DIR);  // the button strips
  }
  void TearDown() override {
    if (frame) frame->Destroy();
    frame.reset();
    ResetNavigation();
    ResetButtonStatics();
    ResetControlBarStatics();
    ResetTitleBarStatics();
    ResetTitleBarSettings();
    ResetBitmapManager();
    ResetBackground();
    ResetArtDir();
    AppTest::TearDown();
  }
  // A frame of w x h with a tableau filling it; with an Env pane unless told otherwise.
  void Build(int w = 800, int h = 600, bool env = true) {
    frame = std::make_unique<Frame>();
    frame->Attr.W = w;
    frame->Attr.H = h;
    tableau = new ZTableau(frame.get());
    tableau->Attr.W = w;
    tableau->Attr.H = h;
    if (env) {
      envPane = new ZTableauPaneBase(eENV_PANE, tableau, "Env");
      envPane->Attr.Style &= ~WS_VISIBLE;
      tableau->SetEnvPane(envPane);
    }
    frame->tableau = tableau;
    frame->SetTableau(tableau, tableau);
    SetAppFrame(frame.get());
    ASSERT_TRUE(frame->Create());
  }
  ZTableauPaneBase* Pane(PANE_TYPE type) { return tableau->GetTableauPane(type); }
  // Content in the pane's holder 1, logging into log under its name.
  Content* Fill(PANE_TYPE type, const std::string& name) {
    ZHolder* holder = Pane(type)->GetHolder(1);
    if (!holder) return nullptr;
    auto* content = new Content(holder, name, &log);
    content->Create();
    Pane(type)->ActivateHolder(1);
    return content;
  }
  void FillAll() {
    Fill(eMEDIA_PANE, "M");
    Fill(ePATH_PANE, "P");
    Fill(eARTICLE_PANE, "A");
    Fill(eMAXI_PANE, "X");
    if (envPane) Fill(eENV_PANE, "E");
    log.clear();
  }
  std::string Newest() {
    ZBookmark* b = GetBacktrackStack().Newest();
    return b ? std::string(b->GetText()) : std::string();
  }

  std::unique_ptr<Frame> frame;
  ZTableau* tableau = nullptr;
  ZTableauPaneBase* envPane = nullptr;
  Log log;
};

TEST_F(TableauTest, TemplatesPlaceThePanesAtEverySize) {
  struct Case {
    int w, h;
    ZTableau::LAYOUT_TEMPLATES layout;
    TRect media, path, article;
  };
  const Case cases[] = {
      {800, 600, ZTableau::eMP_A, {5, 5, 398, 298}, {5, 303, 398, 595}, {403, 5, 795, 595}},
      {800, 600, ZTableau::eP_MA, {403, 5, 795, 298}, {5, 5, 398, 595}, {403, 303, 795, 595}},
      {800, 600, ZTableau::eP_M_OR_A, {403, 5, 795, 595}, {5, 5, 398, 595}, {403, 5, 795, 595}},
      {801, 601, ZTableau::eMP_A, {5, 5, 398, 298}, {5, 303, 398, 596}, {403, 5, 796, 596}},
      {799, 599, ZTableau::eMP_A, {5, 5, 397, 297}, {5, 302, 397, 594}, {402, 5, 794, 594}},
      {1024, 768, ZTableau::eMP_A, {5, 5, 510, 382}, {5, 387, 510, 763}, {515, 5, 1019, 763}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " layout " << int(c.layout));
    Build(c.w, c.h);
    if (c.layout != ZTableau::eMP_A) tableau->ChangeLayout(c.layout);
    EXPECT_EQ(Pane(eMEDIA_PANE)->GetBounds(), c.media);
    EXPECT_EQ(Pane(ePATH_PANE)->GetBounds(), c.path);
    EXPECT_EQ(Pane(eARTICLE_PANE)->GetBounds(), c.article);
    EXPECT_EQ(Pane(eMAXI_PANE)->GetBounds(), TRect(5, 5, c.w - 5, c.h - 5));
    frame->Destroy();
    frame.reset();
  }
  Build();
  EXPECT_EQ(tableau->GetVSpacer()->GetBounds(), TRect(398, 0, 403, 600));
  EXPECT_EQ(tableau->GetHSpacer()->GetBounds(), TRect(0, 298, 403, 303));
  tableau->MaximizePane(eARTICLE_PANE);
  EXPECT_EQ(Pane(eARTICLE_PANE)->GetBounds(), TRect(5, 5, 795, 595));
  EXPECT_EQ(GetWindowUpdateLock(), nullptr);  // the lock taken for the re-layout is released
}

TEST_F(TableauTest, StateStringsRecordAndRestoreTheArrangement) {
  Build();
  EXPECT_EQ(tableau->GetState(), " 0 0 0 0");
  tableau->MaximizePane(eARTICLE_PANE);
  EXPECT_EQ(tableau->GetState(), " 1 2 0 0 0");
  // Maximising the Maxi pane shows it on top but leaves the flag alone.
  tableau->RestoreTableau();
  tableau->ShowMaxiPane(true);
  tableau->MaximizePane(eMAXI_PANE);
  EXPECT_FALSE(tableau->IsMaximized());
  EXPECT_EQ(tableau->GetState(), " 0 1 0 0");

  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {" 0 0 0 7", " 0 0 0 0"},      // a layout outside 0..2 reads as "MP_A"
      {" 0 0 0 2 1", " 0 0 0 2 2"},  // an overlapped pane other than 0 or 2 is the Article
      {" 0 0 0 2 0", " 0 0 0 2 0"},  //
      {"", " 0 0 0 0"},              // nothing given: tiled, no overlays
      {" 0 0 1 0", " 0 0 1 0"},      // only the Env pane
      {" 1 0 0 0 1", " 1 0 0 0 1"},  // the Media pane maximised over "P_MA"
      {" x 1 1 0", " 0 0 0 0"},      // tokens that are no numbers keep the starting values
  };
  for (const Case& c : cases) {
    tableau->SetState(c.in);
    EXPECT_EQ(tableau->GetState(), c.out) << '"' << c.in << '"';
  }
  // " 0 1 1 0" shows the Env pane and leaves the Maxi pane's visibility as it was.
  tableau->RestoreTableau();
  tableau->ShowMaxiPane(true);
  tableau->SetState(" 0 1 1 0");
  EXPECT_TRUE(envPane->IsWindowVisible());
  EXPECT_TRUE(Pane(eMAXI_PANE)->IsWindowVisible());
  EXPECT_EQ(GetBacktrackStack().GetCount(), 0);  // SetState records nothing
}

TEST_F(TableauTest, ChangingTheLayoutRecordsTheOldArrangementAndBackRestoresIt) {
  Build();
  EXPECT_FALSE(tableau->ChangeLayout(std::string("p_ma")));
  EXPECT_EQ(GetBacktrackStack().GetCount(), 0);
  EXPECT_TRUE(tableau->ChangeLayout(std::string("P_MA")));
  EXPECT_EQ(Newest(), "!State=< 0 0 0 0>");
  EXPECT_EQ(GetBacktrackStack().Newest()->GetType(), std::string("SPEC"));
  EXPECT_EQ(Pane(ePATH_PANE)->GetBounds(), TRect(5, 5, 398, 595));

  tableau->MaximizePane(eMEDIA_PANE);
  static_cast<ZTableauPane*>(Pane(eMEDIA_PANE))->CmTableau();  // small screen records too
  EXPECT_EQ(Newest(), "!State=< 1 0 0 0 1>");
  PopBacktrackStack();
  EXPECT_EQ(tableau->GetState(), " 1 0 0 0 1");
  EXPECT_EQ(Pane(eMEDIA_PANE)->GetBounds(), TRect(5, 5, 795, 595));
  PopBacktrackStack();
  EXPECT_EQ(tableau->GetState(), " 0 0 0 0");
  EXPECT_EQ(Pane(eMEDIA_PANE)->GetBounds(), TRect(5, 5, 398, 298));

  // While the frame suppresses backtracking nothing is recorded.
  frame->m_bSuppressBacktrack = true;
  tableau->ChangeLayout(ZTableau::eP_M_OR_A);
  static_cast<ZTableauPane*>(Pane(ePATH_PANE))->CmFullScreen();
  EXPECT_EQ(GetBacktrackStack().GetCount(), 0);
}

TEST_F(TableauTest, OverlappingFollowsTheTemplateAndTheMaximisedPane) {
  Build();
  for (auto layout : {ZTableau::eMP_A, ZTableau::eP_MA, ZTableau::eP_M_OR_A}) {
    tableau->ChangeLayout(layout);
    EXPECT_FALSE(tableau->IsPaneOverlapped(*Pane(ePATH_PANE))) << int(layout);
  }
  // "P_M_OR_A" with the Article on top covers the Media pane.
  EXPECT_TRUE(tableau->IsPaneOverlapped(*Pane(eMEDIA_PANE)));
  EXPECT_FALSE(tableau->IsPaneOverlapped(*Pane(eARTICLE_PANE)));
  tableau->MaximizePane(ePATH_PANE);
  EXPECT_FALSE(tableau->IsPaneOverlapped(*Pane(ePATH_PANE)));
  EXPECT_TRUE(tableau->IsPaneOverlapped(*Pane(eARTICLE_PANE)));
  EXPECT_EQ(tableau->GetTopMostTableauPane(), Pane(ePATH_PANE));
}

TEST_F(TableauTest, PanesHearWhenTheyAreCoveredAndUncoveredInOrder) {
  Build();
  FillAll();
  tableau->MovePaneToTop(Pane(ePATH_PANE));
  EXPECT_EQ(log, (Log{"X1", "M1", "P2", "A1", "E1"}));
  log.clear();
  tableau->ChangeLayout(ZTableau::eP_M_OR_A);  // hide Maxi, hide Env, then tile
  EXPECT_EQ(log, (Log{"X1", "M2", "P2", "A2", "E1", "M2", "P2", "A2", "P2", "A2", "M1"}));
  log.clear();
  tableau->ShowEnvPane(true);
  EXPECT_EQ(log, (Log{"X1", "M1", "P1", "A1", "E2"}));
  EXPECT_EQ(frame->envShown, (std::vector<WPARAM>{0, 1}));
}

TEST_F(TableauTest, WithoutAnEnvPaneItCountsAsHidden) {
  Build(800, 600, false);
  FillAll();
  tableau->ShowEnvPane(true);
  tableau->MaximizePane(eENV_PANE);
  EXPECT_TRUE(frame->envShown.empty());
  EXPECT_EQ(tableau->GetState(), " 0 0 0 0");
  tableau->SetState(" 0 0 1 0");
  tableau->MaximizePane(ePATH_PANE);
  EXPECT_EQ(tableau->GetTopPane(), Pane(ePATH_PANE));
  EXPECT_EQ(tableau->GetEnvHolderHandle(), nullptr);
  tableau->FlushHolders();
  EXPECT_EQ(tableau->GetMediaHolderHandle(), nullptr);
}

TEST_F(TableauTest, F6WalksMediaPathArticleAndOnlyOnKeyUp) {
  Build();
  FillAll();
  const auto press = [&](UINT message) {
    MSG msg{};
    msg.message = message;
    msg.wParam = 0x75;
    return tableau->PreProcessMsg(msg);
  };
  Pane(eARTICLE_PANE)->GetActiveHolder()->SetFocus();
  EXPECT_FALSE(press(WM_KEYDOWN));
  EXPECT_TRUE(press(WM_KEYUP));
  EXPECT_TRUE(Pane(eMEDIA_PANE)->IsChild(GetFocus()));
  press(WM_KEYUP);
  EXPECT_TRUE(Pane(ePATH_PANE)->IsChild(GetFocus()));
  press(WM_KEYUP);
  EXPECT_TRUE(Pane(eARTICLE_PANE)->IsChild(GetFocus()));
  // From the Maxi pane nothing happens.
  tableau->ShowMaxiPane(true);
  Pane(eMAXI_PANE)->GetActiveHolder()->SetFocus();
  press(WM_KEYUP);
  EXPECT_TRUE(Pane(eMAXI_PANE)->IsChild(GetFocus()));
  // A move to a covered pane records the arrangement first.
  tableau->ShowMaxiPane(false);
  tableau->ChangeLayout(ZTableau::eP_M_OR_A);
  const int before = GetBacktrackStack().GetCount();
  Pane(ePATH_PANE)->GetActiveHolder()->SetFocus();
  press(WM_KEYUP);  // Path -> Article: on top already
  EXPECT_EQ(GetBacktrackStack().GetCount(), before);
  press(WM_KEYUP);  // Article -> Media: covered, so recorded, then shown on top
  EXPECT_EQ(GetBacktrackStack().GetCount(), before + 1);
  EXPECT_EQ(tableau->GetOverlappedPane(), eMEDIA_PANE);
}

TEST_F(TableauTest, ClosingHoldersActivatesTheNextAndHidesAnEmptyOverlay) {
  Build();
  FillAll();
  ZTableauPaneBase* maxi = Pane(eMAXI_PANE);
  tableau->ShowMaxiPane(true);
  ZHolder* second = maxi->ActivateHolder(2);
  ZHolder* first = maxi->GetHolder(1);
  // An inactive holder going away leaves the overlay and its active holder alone.
  first->Destroy();
  EXPECT_TRUE(maxi->IsWindowVisible());
  EXPECT_EQ(maxi->GetActiveHolder(), second);
  // The last holder going away hides the overlay.
  second->Destroy();
  EXPECT_FALSE(maxi->IsWindowVisible());
  // In a main pane the holder below the closed one takes over.
  ZTableauPaneBase* path = Pane(ePATH_PANE);
  ZHolder* p1 = path->GetActiveHolder();
  path->ActivateHolder(2);
  path->ActivateHolder(3)->Destroy();
  EXPECT_EQ(path->GetActiveHolder(), path->GetHolder(2));
  EXPECT_TRUE(p1->IsWindow());
}

TEST_F(TableauTest, TheFlyMenuShowsTheSmallScreenEntryWhileMaximised) {
  Build();
  FillAll();
  auto* media = static_cast<ZTableauPane*>(Pane(eMEDIA_PANE));
  ZFlyMenu* menu = media->GetFlyMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetIdCmd(1), kCmFullScreenMedia);
  tableau->MaximizePane(media);
  EXPECT_EQ(menu->GetIdCmd(1), kCmTableau);
  tableau->RestoreTableau();
  EXPECT_EQ(menu->GetIdCmd(1), kCmFullScreenMedia);
  // A pane that goes deletes its menu; the frame deleting the menus first leaves the panes
  // none to delete again (the suite runs under the address sanitizer).
  delete media;
  EXPECT_EQ(tableau->GetTableauPane(eMEDIA_PANE), nullptr);
  tableau->MaximizePane(eMEDIA_PANE);
  tableau->ChangeLayout(ZTableau::eP_MA);
  EXPECT_EQ(tableau->GetState(), " 0 0 0 1");
}

TEST_F(TableauTest, ButtonBarsStayHiddenUnlessForcedAndMergeWhatTheContentStores) {
  Build();
  Content* media = Fill(eMEDIA_PANE, "M");
  auto* pane = static_cast<ZTableauPane*>(Pane(eMEDIA_PANE));
  ASSERT_NE(pane->GetButtonBar(), nullptr);
  // Without ForceButtonBar a new menu rebuilds the fly menu and nothing else.
  TMenu offered;
  offered.AppendMenu(MF_STRING, 7433, "Bookmark");
  const int built = media->flyMenuBuilt;
  pane->SendMessage(WmuNewBtnMenu, reinterpret_cast<WPARAM>(offered.GetHandle()), 0);
  EXPECT_EQ(media->flyMenuBuilt, built + 1);
  EXPECT_EQ(media->btnMenuAsked, 0);
  EXPECT_FALSE(pane->GetButtonBar()->IsWindowVisible());
  // 7209 with no kept pop-up only reaches the content.
  log.clear();
  pane->SendMessage(WM_COMMAND, kCmPaneOptions, 0);
  EXPECT_EQ(log, (Log{"M:cmd7209"}));
  frame->Destroy();
  frame.reset();

  WriteSettings("[DevParm]\nForceButtonBar=1\n");
  Build();
  media = Fill(eMEDIA_PANE, "M");
  pane = static_cast<ZTableauPane*>(Pane(eMEDIA_PANE));
  EXPECT_TRUE(pane->GetButtonBar()->IsWindowVisible());
  // The holder ends above the bar, by the button-bar margin.
  EXPECT_EQ(pane->GetActiveHolder()->GetBounds().bottom, pane->GetButtonBar()->GetBounds().top - 3);
  // The content stores nothing: the menu offered is merged and stays its owner's.
  TMenu mine;
  mine.AppendMenu(MF_STRING, 7433, "Bookmark");
  pane->SendMessage(WmuNewBtnMenu, reinterpret_cast<WPARAM>(mine.GetHandle()), 0);
  EXPECT_TRUE(mine.IsOK());
  EXPECT_EQ(pane->GetButtonBar()->NumGadgets(), 1u);
  // The content stores a menu of its own: merged, then destroyed.
  HMENU its = CreatePopupMenu();
  AppendMenu(its, MF_STRING, 7433, "Bookmark");
  AppendMenu(its, MF_STRING, 7432, "Full screen");
  media->storeMenu = its;
  pane->SendMessage(WmuNewBtnMenu, reinterpret_cast<WPARAM>(mine.GetHandle()), 0);
  EXPECT_FALSE(IsMenu(its));
  EXPECT_TRUE(mine.IsOK());
  EXPECT_EQ(pane->GetButtonBar()->NumGadgets(), 2u);
  EXPECT_EQ(pane->GetActiveHolder()->GetBounds().bottom, pane->GetButtonBar()->GetBounds().top - 3);
  // A handle that is no menu merges as an empty one.
  media->storeMenu = its;  // destroyed above
  pane->SendMessage(WmuNewBtnMenu, reinterpret_cast<WPARAM>(mine.GetHandle()), 0);
  EXPECT_EQ(pane->GetButtonBar()->NumGadgets(), 0u);
}

// The bezel of a 400 x 300 pane: three rings of shadow on the right and bottom, highlight on
// the left and top, the glint at each ring's top-left corner.
TEST_F(TableauTest, PaneBezelRingsAndInsets) {
  // Static colours, which every palette shows as they are.
  WriteSettings(
      "[Colors]\nPANE_HIGHLIGHT_TOP=255 255 255\nPANE_SHADOW_RIGHT=0 0 0\n"
      "PANE_SHADOW_BOTTOM=128 128 128\nPANE_GLINT=255 255 0\nHOLDER_BACKGROUND=0 0 255\n");
  Build();
  auto* pane = static_cast<ZTableauPane*>(Pane(eMEDIA_PANE));
  TBitmap bitmap(400, 300);
  TMemoryDC dc(bitmap);
  pane->SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOZORDER);
  pane->EvEraseBkgnd(dc);
  const auto at = [&](int x, int y) { return dc.GetPixel(x, y); };
  const TColor hi(255, 255, 255), right(0, 0, 0), bottom(128, 128, 128), glint(255, 255, 0);
  for (int ring = 0; ring < 3; ++ring) {
    const int l = ring, t = ring, r = 399 - ring, b = 299 - ring;
    SCOPED_TRACE(ring);
    EXPECT_EQ(at(l, t), glint);
    EXPECT_EQ(at(r, t), hi);
    EXPECT_EQ(at(r, t + 1), right);
    EXPECT_EQ(at(r, b - 1), right);
    EXPECT_EQ(at(r, b), bottom);
    EXPECT_EQ(at(l + 1, b), bottom);
    EXPECT_EQ(at(l, b), hi);
    EXPECT_EQ(at(l, t + 1), hi);
  }
  EXPECT_EQ(at(3, 3), TColor(0, 0, 255));
  dc.RestoreBitmap();

  // The title bar inside the bezel and the margins, the holder below it.
  ZHolder* holder = pane->ActivateHolder(1);
  EXPECT_EQ(pane->GetTitleBar()->GetBounds(), TRect(6, 6, 394, 29));
  EXPECT_EQ(holder->GetBounds(), TRect(6, 29, 394, 294));
}

TEST_F(TableauTest, WithoutBezelAndLeftMarginTheTitleBarIsFlush) {
  WriteSettings("[Metrics]\nPANE_BEZEL=0\nPANE_MARGIN_LEFT=0\n");
  Build();
  auto* pane = static_cast<ZTableauPane*>(Pane(eMEDIA_PANE));
  pane->SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOZORDER);
  pane->Layout();
  EXPECT_EQ(pane->GetTitleBar()->GetBounds(), TRect(0, 3, 400, 26));
}

TEST_F(TableauTest, AQuickDoubleClickOnATitleBarMaximisesItsPane) {
  Build();
  FillAll();
  Pump();
  auto* media = static_cast<ZTableauPane*>(Pane(eMEDIA_PANE));
  TPoint at = media->GetTitleBar()->GetWindowRect().TopLeft() + TPoint(150, 8);
  // Both clicks reach the loop in one batch, as from a quick hand on a busy machine.
  using platform::InputKind;
  for (InputKind kind :
       {InputKind::ButtonDown, InputKind::ButtonUp, InputKind::ButtonDown, InputKind::ButtonUp})
    backend->Inject({.kind = kind, .x = at.x, .y = at.y, .button = platform::MouseButton::Left});
  Pump();
  EXPECT_TRUE(tableau->IsMaximized());
  EXPECT_EQ(tableau->GetState(), " 1 0 0 0 0");
}

TEST_F(TableauTest, APressOnThePaneActivatesItsTitleBarButNotAPressOnTheBar) {
  Build();
  FillAll();
  Pump();
  auto* media = static_cast<ZTableauPane*>(Pane(eMEDIA_PANE));
  auto* path = static_cast<ZTableauPane*>(Pane(ePATH_PANE));
  const auto press = [](ZTableauPane* pane, TPoint screen) {
    MSG msg{};
    msg.message = WM_LBUTTONDOWN;
    msg.ptX = screen.x;
    msg.ptY = screen.y;
    pane->PreProcessMsg(msg);
  };
  const TRect content = media->GetActiveHolder()->GetWindowRect();
  press(media, content.TopLeft() + TPoint(20, 20));
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), media->GetTitleBar());
  // A press on the Path pane's own title bar is the bar's to handle.
  press(path, path->GetTitleBar()->GetWindowRect().TopLeft() + TPoint(40, 5));
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), media->GetTitleBar());
  press(path, path->GetActiveHolder()->GetWindowRect().TopLeft() + TPoint(5, 5));
  EXPECT_EQ(ZTitleBar::GetActiveTitleBar(), path->GetTitleBar());
}

TEST_F(TableauTest, ABezelSettingBeyondHalfThePaneOrNegativeStaysInside) {
  for (const char* bezel : {"1000", "-4"}) {
    WriteSettings(std::string("[Metrics]\nPANE_BEZEL=") + bezel +
                  "\n[Colors]\nPANE_HIGHLIGHT_TOP=255 255 255\nHOLDER_BACKGROUND=0 0 255\n");
    ResetPresentation();
    Build(200, 100);
    auto* pane = static_cast<ZTableauPane*>(Pane(eMEDIA_PANE));
    pane->SetWindowPos(nullptr, 0, 0, 20, 10, SWP_NOZORDER);
    TBitmap bitmap(20, 10);
    TMemoryDC dc(bitmap);
    pane->EvEraseBkgnd(dc);
    // 1000 rings draw 5 (half the smaller side): the middle row is ring 4's; none for -4.
    const bool rings = bezel[0] != '-';
    EXPECT_EQ(dc.GetPixel(10, 0) == TColor(255, 255, 255), rings) << bezel;
    EXPECT_EQ(dc.GetPixel(10, 4) == TColor(255, 255, 255), rings) << bezel;
    dc.RestoreBitmap();
    frame->Destroy();
    frame.reset();
  }
}

}  // namespace
}  // namespace quill::test
