#include "quillui/tableau/tableau_pane.h"

#include <algorithm>
#include <vector>

#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/profile/hour_glass.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/pane_button_bar.h"
#include "quillui/tableau/tableau.h"
#include "quillui/titlebar/title_bar.h"

namespace quill {

namespace {

// An inset of bezel plus margin: used as it is from 1 on, none below.
int Inset(int bezel, int margin) {
  const int64_t sum = int64_t(bezel) + margin;
  return sum >= 1 ? int(std::min<int64_t>(sum, 1 << 20)) : 0;
}

// Button bars are shown and merged into only with [DevParm] ForceButtonBar; the value the last
// pane read holds for all.
bool g_forceButtonBar = false;

}  // namespace

UINT FullScreenCommandOf(PANE_TYPE type) {
  switch (type) {
    case ePATH_PANE: return kCmFullScreenPath;
    case eARTICLE_PANE: return kCmFullScreenArticle;
    default: return kCmFullScreenMedia;
  }
}

ZTableauPane::ZTableauPane(PANE_TYPE type, TWindow* parent, const char* title, TModule* module,
                           DECORATION_STYLE style)
    : ZTableauPaneBase(type, parent, title, module), m_eDecorationStyle(style) {
  m_clrBackground = GetAppColor(HOLDER_BACKGROUND);
  Attr.ExStyle &= ~WS_EX_NOPARENTNOTIFY;
  g_forceButtonBar = ZPaneButtonBar::IsForced();
  m_pButtonBar = new ZPaneButtonBar(type, this);
  if (!g_forceButtonBar) {
    m_pButtonBar->RemoveVariableButtons();
    m_pButtonBar->Attr.Style &= ~WS_VISIBLE;
  }
  SetBtnBarMetrics();
  m_pTitleBar = new ZTitleBar(this, type, module);
  SetTitleBarMetrics();
}

void ZTableauPane::RemoveChild(TWindow* child) {
  if (child == m_pButtonBar) m_pButtonBar = nullptr;
  if (child == m_pTitleBar) m_pTitleBar = nullptr;
  ZTableauPaneBase::RemoveChild(child);
}

void ZTableauPane::SetBtnBarMetrics() {
  if (!m_pButtonBar) return;
  const int bezel = GetAppMetric(eMETRIC_PANE_BEZEL);
  TSize size;
  m_pButtonBar->GetDesiredSize(size);
  TLayoutMetrics m;
  // The X and Y slots hold the right and bottom edges; the bar uses the left margin on its
  // right, as the title bar does.
  m.X.Set(lmRight, lmLeftOf, lmParent, lmRight,
          Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_LEFT)));
  m.Y.Set(lmBottom, lmAbove, lmParent, lmBottom,
          Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_BOTTOM)));
  m.Width.Absolute(m_pButtonBar->GetWidth());
  m.Height.Absolute(size.cy);
  m.SetMeasurementUnits(lmPixels);
  SetChildLayoutMetrics(*m_pButtonBar, m);
}

void ZTableauPane::SetTitleBarMetrics() {
  if (!m_pTitleBar) return;
  const int bezel = GetAppMetric(eMETRIC_PANE_BEZEL);
  const int side = Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_LEFT));
  TLayoutMetrics m;
  m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, side);
  m.Y.Set(lmTop, lmBelow, lmParent, lmTop, Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_TOP)));
  m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, side);
  m.Height.AsIs(lmHeight);
  m.SetMeasurementUnits(lmPixels);
  SetChildLayoutMetrics(*m_pTitleBar, m);
}

bool ZTableauPane::IsFlushBoundary(TWindow& child) {
  return &child == m_pButtonBar || &child == m_pTitleBar;
}

void ZTableauPane::FlushHolders() {
  if (m_pTitleBar) {
    m_pTitleBar->AssociateMenu(nullptr);
    m_pTitleBar->ShowWindow(SW_HIDE);
  }
  ZTableauPaneBase::FlushHolders();
}

bool ZTableauPane::PreProcessMsg(MSG& msg) {
  const bool handled = ZTableauPaneBase::PreProcessMsg(msg);
  if (m_pTitleBar && m_pTitleBar->IsWindow() &&
      (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN)) {
    // Left and top inclusive, right and bottom exclusive.
    const TPoint at(msg.ptX, msg.ptY);
    if (GetWindowRect().Contains(at) && !m_pTitleBar->GetWindowRect().Contains(at))
      m_pTitleBar->SendMessage(WmuHandleActivation, 0, 1);
  }
  return handled;
}

LRESULT ZTableauPane::WmuGetPaneTitleBar(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(static_cast<TWindow*>(m_pTitleBar));
}

LRESULT ZTableauPane::WmuGetPaneButtonBar(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(static_cast<TWindow*>(m_pButtonBar));
}

void ZTableauPane::MergeButtons(TMenu& menu) {
  if (!m_pButtonBar) return;
  m_pButtonBar->MergeButtons(menu);
  SetBtnBarMetrics();
  Layout();
}

void ZTableauPane::MergeContentMenu(HMENU start) {
  TWindow* content = GetWindowPtr(GetFlyMenuHolderChild());
  if (!content || !m_pButtonBar) return;
  HMENU stored = start;
  content->SendMessage(WmuGetBtnMenu, 0, reinterpret_cast<LPARAM>(&stored));
  // A handle that is no live menu merges as an empty one.
  TMenu menu(IsMenu(stored) ? stored : nullptr, TMenu::NoAutoDelete);
  MergeButtons(menu);
  m_pButtonBar->ShowWindow(SW_SHOW);
  if (stored && stored != start && IsMenu(stored)) DestroyMenu(stored);
}

LRESULT ZTableauPane::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (IsPaneCommand(id)) return ZTableauPaneBase::EvCommand(id, control, notifyCode);
  if (id == kCmPaneOptions && m_pActiveHolder && m_pActiveHolder->IsWindow() && m_pButtonBar &&
      m_pButtonBar->GetPopupMenu())
    m_pButtonBar->PopupOptions(*this);
  PassInward(id);
  return 0;
}

ZTableauPane::~ZTableauPane() { FlushMenu(); }

const TResponseTable& ZTableauPane::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnMessage<&ZTableauPane::WmuGetDisplayMode>(quill::WmuGetDisplayMode),
      OnMessage<&ZTableauPane::WmuNewBtnMenu>(quill::WmuNewBtnMenu),
      OnMessage<&ZTableauPane::WmuGetFlyMenu>(quill::WmuGetFlyMenu),
      OnMessage<&ZTableauPane::WmuGetPaneTitleBar>(quill::WmuGetPaneTitleBar),
      OnMessage<&ZTableauPane::WmuGetPaneButtonBar>(quill::WmuGetPaneButtonBar),
      OnCommand<&ZTableauPane::CmFullScreen>(kCmFullScreenMedia),
      OnCommand<&ZTableauPane::CmFullScreen>(kCmFullScreenPath),
      OnCommand<&ZTableauPane::CmFullScreen>(kCmFullScreenArticle),
      OnCommand<&ZTableauPane::CmTableau>(kCmTableau),
  };
  static const TResponseTable table{&ZTableauPaneBase::GetResponseTable(), entries};
  return table;
}

void ZTableauPane::SetHolderMetrics(ZHolder* holder) {
  if (!holder) return;
  const int bezel = GetAppMetric(eMETRIC_PANE_BEZEL);
  TLayoutMetrics m;
  m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft,
          Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_LEFT)));
  if (m_pTitleBar)
    m.Y.Set(lmTop, lmBelow, m_pTitleBar, lmBottom, 0);
  else
    m.Y.Set(lmTop, lmBelow, lmParent, lmTop, Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_TOP)));
  m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight,
              Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_RIGHT)));
  if (g_forceButtonBar && m_pButtonBar)
    m.Height.Set(lmBottom, lmAbove, m_pButtonBar, lmTop,
                 GetAppMetric(eMETRIC_PANE_MARGIN_BUTTONBAR));
  else
    m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom,
                 Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_BOTTOM)));
  m.SetMeasurementUnits(lmPixels);
  SetChildLayoutMetrics(*holder, m);
}

void ZTableauPane::MaximizeButtonBar(bool maximized) {
  if (!m_pButtonBar) return;
  m_pButtonBar->MaximizeButtonBar(maximized);
  SetBtnBarMetrics();
}

ZFlyMenu* ZTableauPane::GetFlyMenu() const {
  return m_hFlyMenu ? dynamic_cast<ZFlyMenu*>(GetWindowPtr(m_hFlyMenu)) : nullptr;
}

void ZTableauPane::FlushMenu() {
  ZFlyMenu* menu = GetFlyMenu();
  if (menu && m_pTitleBar && m_pTitleBar->GetFlyMenu() == menu) m_pTitleBar->AssociateMenu(nullptr);
  delete menu;
  m_hFlyMenu = nullptr;
}

HWND ZTableauPane::GetFlyMenuHolderChild() const {
  return m_pActiveHolder && m_pActiveHolder->IsWindow() ? m_pActiveHolder->GetChild() : nullptr;
}

void ZTableauPane::OnHolderActivated() {
  if (!GetFlyMenu()) {
    TWindow* frame = GetAppFrameTWindow();
    auto* menu =
        new ZFlyMenu(frame ? frame : this, this, ZFlyMenu::eMT_HOVER, ZFlyMenu::eDM_KEEP, 1);
    if (menu->Create())
      m_hFlyMenu = menu->GetHandle();
    else
      delete menu;
    if (m_pTitleBar) m_pTitleBar->AssociateMenu(GetFlyMenu());
  }
  if (m_pTitleBar && m_pTitleBar->IsWindow()) {
    if (!m_pTitleBar->IsWindowVisible()) m_pTitleBar->ShowWindow(SW_SHOW);
    m_pTitleBar->PostMessage(WmuHandleActivation, 0, 0);
  }
  TWindow* content = GetWindowPtr(GetFlyMenuHolderChild());
  if (!content) return;
  content->SendMessage(WmuBuildFlyMenu, 0, 0);
  SetMenuDisplayModeEntry();
  if (g_forceButtonBar) MergeContentMenu(nullptr);
  if (m_pButtonBar) {
    char caption[64] = {};
    content->GetWindowText(caption, sizeof caption);
    m_pButtonBar->SetCaption(caption);
  }
}

LRESULT ZTableauPane::WmuNewBtnMenu(WPARAM wp, LPARAM) {
  TWindow* content = GetWindowPtr(GetFlyMenuHolderChild());
  if (!content) return 0;
  content->SendMessage(WmuBuildFlyMenu, 0, 0);
  SetMenuDisplayModeEntry();
  if (wp != 0 && g_forceButtonBar) MergeContentMenu(reinterpret_cast<HMENU>(wp));
  return 0;
}

LRESULT ZTableauPane::WmuGetFlyMenu(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(GetFlyMenu());
}

void ZTableauPane::SetMenuDisplayModeEntry() {
  ZFlyMenu* menu = GetFlyMenu();
  if (!menu) return;
  // The text "@" takes the entry's text from the menu text table.
  switch (HandleMessage(quill::WmuGetDisplayMode, 0, 0)) {
    case eTABLEAU_MODE:
      menu->Change(kCmTableau, MF_BYCOMMAND, FullScreenCommandOf(m_ePaneType), "@");
      return;
    case eFULL_SCREEN_MODE:
      for (UINT id : {kCmFullScreenPath, kCmFullScreenArticle, kCmFullScreenMedia}) {
        if (menu->GetPosition(id) != kMenuEntryNone) {
          menu->Change(id, MF_BYCOMMAND, kCmTableau, "@");
          return;
        }
      }
      return;
    default: return;
  }
}

void ZTableauPane::EvSize(UINT sizeType, const TSize& size) {
  ZTableauPaneBase::EvSize(sizeType, size);
  SetMenuDisplayModeEntry();
}

LRESULT ZTableauPane::WmuGetDisplayMode(WPARAM, LPARAM) {
  return m_bMaximized ? eFULL_SCREEN_MODE : eTABLEAU_MODE;
}

void ZTableauPane::CmFullScreen() {
  ZHourGlass hourGlass;
  if (auto* tableau = dynamic_cast<ZTableau*>(GetParentO())) {
    tableau->CreateTableauBacktrackBookmark();
    tableau->MaximizePane(this);
  }
}

void ZTableauPane::CmTableau() {
  ZHourGlass hourGlass;
  if (auto* tableau = dynamic_cast<ZTableau*>(GetParentO())) {
    tableau->CreateTableauBacktrackBookmark();
    tableau->RestoreTableau();
  }
}

bool ZTableauPane::EvEraseBkgnd(TDC& dc) {
  if (TPalette* palette = GetAppPalette()) {
    dc.SelectPalette(palette, false);
    dc.RealizePalette();
  }
  if (m_eDecorationStyle == eFRAMED) {
    const TRect client = GetClientRect();
    int left = client.left, top = client.top, right = client.right - 1, bottom = client.bottom - 1;
    const TColor highlight = GetAppColor(PANE_HIGHLIGHT_TOP).PaletteRelative();
    const TColor shadowRight = GetAppColor(PANE_SHADOW_RIGHT).PaletteRelative();
    const TColor shadowBottom = GetAppColor(PANE_SHADOW_BOTTOM).PaletteRelative();
    const TColor glint = GetAppColor(PANE_GLINT);
    // The setting is the ring count; rings past the middle would draw over each other.
    const int rings = std::clamp(GetAppMetric(eMETRIC_PANE_BEZEL), 0,
                                 std::min(client.Width(), client.Height()) / 2);
    // The background, then each ring from the outside in: its right side, its bottom, its left
    // side, its top and the glint in its top left corner, all filled in one pass over the rows.
    std::vector<TFilledRect> fills;
    fills.reserve(1 + size_t(rings) * 5);
    if (m_clrBackground != TColor::None && m_clrBackground != TColor::Transparent)
      fills.push_back({client, m_clrBackground});
    for (int i = 0; i < rings; ++i) {
      fills.push_back({TRect(right, top + 1, right + 1, bottom), shadowRight});
      fills.push_back({TRect(left + 1, bottom, right + 1, bottom + 1), shadowBottom});
      fills.push_back({TRect(left, top + 1, left + 1, bottom + 1), highlight});
      fills.push_back({TRect(left, top, right + 1, top + 1), highlight});
      fills.push_back({TRect(left, top, left + 1, top + 1), glint});
      ++left;
      ++top;
      --right;
      --bottom;
    }
    dc.FillRects(fills);
  }
  if (GetAppPalette()) dc.RestorePalette();
  return true;
}

void ZTableauPane::Paint(TDC&, bool, TRect&) {}

void ZTableauPane::NotifyParent(WPARAM wp) {
  TWindow* parent = GetParentO();
  if (!parent || !parent->IsWindow()) return;
  parent->SendMessage(WM_PARENTNOTIFY, wp, reinterpret_cast<LPARAM>(GetHandle()));
}

void ZTableauPane::EvWindowPosChanging(WINDOWPOS& pos) {
  NotifyParent(WM_SIZE);
  ZTableauPaneBase::EvWindowPosChanging(pos);
}

void ZTableauPane::EvWindowPosChanged(const WINDOWPOS& pos) {
  ZTableauPaneBase::EvWindowPosChanged(pos);
  NotifyParent(MAKEWPARAM(WM_SIZE, 1));
}

}  // namespace quill
