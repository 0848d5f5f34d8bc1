#include "quillui/tableau/tableau_pane.h"

#include <algorithm>

#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/profile/hour_glass.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/tableau.h"

namespace quill {

namespace {

// An inset of bezel plus margin: used as it is from 1 on, none below.
int Inset(int bezel, int margin) {
  const int64_t sum = int64_t(bezel) + margin;
  return sum >= 1 ? int(std::min<int64_t>(sum, 1 << 20)) : 0;
}

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
}

ZTableauPane::~ZTableauPane() { FlushMenu(); }

const TResponseTable& ZTableauPane::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnMessage<&ZTableauPane::WmuGetDisplayMode>(quill::WmuGetDisplayMode),
      OnMessage<&ZTableauPane::WmuNewBtnMenu>(quill::WmuNewBtnMenu),
      OnMessage<&ZTableauPane::WmuGetFlyMenu>(quill::WmuGetFlyMenu),
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
  m.Y.Set(lmTop, lmBelow, lmParent, lmTop, Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_TOP)));
  m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight,
              Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_RIGHT)));
  m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom,
               Inset(bezel, GetAppMetric(eMETRIC_PANE_MARGIN_BOTTOM)));
  m.SetMeasurementUnits(lmPixels);
  SetChildLayoutMetrics(*holder, m);
}

void ZTableauPane::MaximizeButtonBar(bool) {}

ZFlyMenu* ZTableauPane::GetFlyMenu() const {
  return m_hFlyMenu ? dynamic_cast<ZFlyMenu*>(GetWindowPtr(m_hFlyMenu)) : nullptr;
}

void ZTableauPane::FlushMenu() {
  delete GetFlyMenu();
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
  }
  if (TWindow* content = GetWindowPtr(GetFlyMenuHolderChild())) {
    content->SendMessage(WmuBuildFlyMenu, 0, 0);
    SetMenuDisplayModeEntry();
  }
}

LRESULT ZTableauPane::WmuNewBtnMenu(WPARAM, LPARAM) {
  if (TWindow* content = GetWindowPtr(GetFlyMenuHolderChild())) {
    content->SendMessage(WmuBuildFlyMenu, 0, 0);
    SetMenuDisplayModeEntry();
  }
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
    dc.FillRect(client, m_clrBackground);
    int left = client.left, top = client.top, right = client.right - 1, bottom = client.bottom - 1;
    const TPen highlight(GetAppColor(PANE_HIGHLIGHT_TOP).PaletteRelative());
    const TPen shadowRight(GetAppColor(PANE_SHADOW_RIGHT).PaletteRelative());
    const TPen shadowBottom(GetAppColor(PANE_SHADOW_BOTTOM).PaletteRelative());
    const TColor glint = GetAppColor(PANE_GLINT);
    // The setting is the ring count; rings past the middle would draw over each other.
    const int rings = std::clamp(GetAppMetric(eMETRIC_PANE_BEZEL), 0,
                                 std::min(client.Width(), client.Height()) / 2);
    for (int i = 0; i < rings; ++i) {
      dc.SelectObject(shadowRight);
      dc.MoveTo(right, top + 1);
      dc.LineTo(right, bottom);
      dc.SelectObject(shadowBottom);
      dc.LineTo(left, bottom);
      dc.SelectObject(highlight);
      dc.LineTo(left, top);
      dc.LineTo(right + 1, top);
      dc.SetPixel(left, top, glint);
      ++left;
      ++top;
      --right;
      --bottom;
    }
    dc.RestorePen();
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
