// The chain side of ZFlyMenu: submenus, mouse capture hand-over, the submenu timer, tracking
// the mouse outside the menu and passing clicks outside it on.
#include <cstdint>

#include "quillui/app/user_messages.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/menus/alternate_focus_wnd.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/menus/fly_menu_links.h"
#include "quillui/menus/fly_menu_settings.h"
#include "quillui/menus/menu_gadgets.h"
#include "quillui/testing/menus.h"

namespace quill {

namespace {

bool Shown(const ZFlyMenu* menu) { return menu && menu->IsWindow() && menu->IsWindowVisible(); }

}  // namespace

HWND ZFlyMenu::m_hLastCapturingMenu = nullptr;

TPoint ZFlyMenu::CursorPos() {
  TPoint p;
  GetCursorPos(p);
  return p;
}

ZFlyMenu* ZFlyMenu::MakeSubMenu() {
  DeleteSubMenu();
  auto* sub = new ZFlyMenu(GetParentO(), GetMsgWnd(), eMT_HOVER, eDM_KEEP, ownedFlag_);
  if (!sub->msgWnd_) {
    sub->msgWnd_ = msgWnd_;
    sub->msgWndPending_ = msgWndPending_;
  }
  sub->Create();
  sub->SetAssocParentEntryGadget(curEntryGadget_);
  sub->SetParentMenu(this);
  subMenu_ = sub;
  return sub;
}

ZFlyMenu* ZFlyMenu::CreateSubMenu(eSUB_MENU_LEVEL level) {
  if (level != eSML_DEEPEST) return MakeSubMenu();
  ZFlyMenu* menu = this;
  while (menu->parentMenu_) menu = menu->parentMenu_;
  while (Shown(menu->subMenu_)) menu = menu->subMenu_;
  return menu->MakeSubMenu();
}

void ZFlyMenu::DeleteSubMenu() {
  ZFlyMenu* sub = subMenu_;
  subMenu_ = nullptr;
  delete sub;
}

void ZFlyMenu::RemoveMenuChain(ZFlyMenu* stop) {
  ZFlyMenu* menu = this;
  while (Shown(menu->subMenu_)) menu = menu->subMenu_;
  while (menu && menu != stop) {
    ZFlyMenu* parent = menu->parentMenu_;
    menu->RemoveFromScreen();
    menu = parent;
  }
}

void ZFlyMenu::RemoveChainOfParentMenus() {
  for (ZFlyMenu* m = parentMenu_; m; m = m->parentMenu_) m->RemoveFromScreen();
}

void ZFlyMenu::RemoveChainOfSubMenus() {
  for (ZFlyMenu* m = subMenu_; Shown(m); m = m->subMenu_) m->RemoveFromScreen();
}

ZFlyMenu* ZFlyMenu::CheckChainOfSubMenus(HWND hwnd, const TPoint& screenPoint) {
  for (ZFlyMenu* m = subMenu_; m && m->IsWindow(); m = m->subMenu_) {
    if (hwnd && m->GetHandle() == hwnd) return m;
    if (m->IsWindowVisible() && m->hitRect_.Contains(screenPoint)) return m;
  }
  return nullptr;
}

bool ZFlyMenu::GadgetsOverlap(const TPoint& screenPoint) {
  if (!FirstGadget()) return false;
  for (ZFlyMenu* m = subMenu_; Shown(m); m = m->subMenu_) {
    TPoint p = screenPoint;
    m->ScreenToClient(p);
    if (m->GadgetFromPoint(p)) return true;
  }
  return false;
}

void ZFlyMenu::SetupSubmenuFiring(uint32_t idCmd) {
  pendingSubmenuCmd_ = idCmd;
  if (IsWindow()) SetTimer(SUBMENU_TIMER_ID, FlyMenuSettings().m_uiSubMenuDelay);
}

void ZFlyMenu::CaptureMouse(bool on) {
  capturing_ = on;
  if (!IsWindow()) return;
  if (on) {
    SetCapture();
    m_hLastCapturingMenu = GetHandle();
  } else {
    ReleaseCapture();
  }
}

HWND ZFlyMenu::GetLastCapturingMenu() { return m_hLastCapturingMenu; }

void ZFlyMenu::EvTimer(UINT timerId) {
  if (timerId != SUBMENU_TIMER_ID) {
    TGadgetWindow::EvTimer(timerId);
    return;
  }
  KillTimer(SUBMENU_TIMER_ID);
  if (IsWindowVisible()) SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(pendingSubmenuCmd_), 0), 0);
}

LRESULT ZFlyMenu::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (TWindow* target = GetMsgWnd())
    return target->SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(id), uint16_t(notifyCode)),
                               reinterpret_cast<LPARAM>(control));
  return 0;
}

int ZFlyMenu::EvMouseActivate(HWND, UINT, UINT) { return MA_NOACTIVATE; }

void ZFlyMenu::EvSetFocus(HWND) {
  if (focusWnd_ && focusWnd_->IsWindow()) focusWnd_->SetFocus();
}

void ZFlyMenu::EvMouseMove(UINT modKeys, const TPoint& point) {
  TGadgetWindow::EvMouseMove(modKeys, point);
  const TPoint cursor = CursorPos();
  const HWND under = WindowFromPoint(cursor);
  if (under == GetHandle()) return;
  KillTimer(SUBMENU_TIMER_ID);
  if (type_ == eMT_CAPTURE) {
    if (curEntryGadget_) curEntryGadget_->SetHighlighted(false, false);
    return;
  }
  if (ZFlyMenu* sub = CheckChainOfSubMenus(under, cursor)) {
    if (capturing_) sub->CaptureMouse(true);
    return;
  }
  if (parentMenu_ && assocParentEntry_ && parentMenu_->IsWindow()) {
    TPoint p = cursor;
    parentMenu_->ScreenToClient(p);
    if (assocParentEntry_->GetBounds().Contains(p)) {
      if (capturing_) parentMenu_->CaptureMouse(true);
      return;
    }
  }
  if (HWND icon = TitleIcon()) {
    if (under == icon) return;
    if (titleBar_->GetIconState() == ZFlyMenuTitleBar::eICON_PRESSED) {
      if (curEntryGadget_) curEntryGadget_->SetHighlighted(false, true);
      return;
    }
  }
  if (parentMenu_ && under && under == parentMenu_->GetHandle()) {
    RemoveMenuChain(parentMenu_);
    CaptureMouse(false);
    return;
  }
  if (hitRect_.Contains(cursor)) return;
  RemoveMenuChain(parentMenu_);
  CaptureMouse(false);
}

bool ZFlyMenu::IdleAction(long idleCount) {
  if (!IsWindow() || !IsWindowVisible()) return false;
  if (idleCount == 0) {
    const TPoint cursor = CursorPos();
    if (WindowFromPoint(cursor) != GetHandle()) {
      TPoint p = cursor;
      ScreenToClient(p);
      SendMessage(WM_MOUSEMOVE, 0, MAKEPOINTLPARAM(p.x, p.y));
      if (!IsWindow() || !IsWindowVisible()) return false;
    }
  }
  return TGadgetWindow::IdleAction(idleCount);
}

void ZFlyMenu::EvLButtonDown(UINT modKeys, const TPoint& point) {
  TGadgetWindow::EvLButtonDown(modKeys, point);
  const TPoint cursor = CursorPos();
  const HWND under = WindowFromPoint(cursor);
  if (PreProcessButtonDown(under)) ProcessButtonDown(WM_LBUTTONDOWN, under, modKeys, cursor);
}

void ZFlyMenu::EvRButtonDown(UINT modKeys, const TPoint& point) {
  TGadgetWindow::EvRButtonDown(modKeys, point);
  const TPoint cursor = CursorPos();
  const HWND under = WindowFromPoint(cursor);
  if (PreProcessButtonDown(under)) ProcessButtonDown(WM_RBUTTONDOWN, under, modKeys, cursor);
}

void ZFlyMenu::EvRButtonUp(UINT modKeys, const TPoint& point) {
  TGadgetWindow::EvRButtonUp(modKeys, point);
}

void ZFlyMenu::EvLButtonUp(UINT modKeys, const TPoint& point) {
  const HWND under = WindowFromPoint(CursorPos());
  TGadgetWindow::EvLButtonUp(modKeys, point);
  if (under != GetHandle()) return;
  if (curEntryGadget_ && curEntryGadget_->GetEntry() &&
      (curEntryGadget_->GetEntry()->flags & MF_POPUP))
    return;
  CaptureMouse(false);
}

bool ZFlyMenu::PreProcessButtonDown(HWND hwnd) {
  if (hwnd == GetHandle()) return false;
  if (HWND icon = TitleIcon()) {
    const HWND bar = titleBar_->GetTitleBarHandle();
    if (hwnd != bar && hwnd != icon) {
      CaptureMouse(false);
      RemoveMenuChain(nullptr);
      if (titleBar_ && bar && quill::IsWindow(bar))
        quill::SendMessage(bar, WmuHandleActivation, 0, 0);
      return true;
    }
    CaptureMouse(false);
    if (hwnd == bar) titleBar_->setBMenuWasCapturing(1);
    return true;
  }
  CaptureMouse(false);
  RemoveMenuChain(nullptr);
  return true;
}

void ZFlyMenu::ProcessButtonDown(UINT msg, HWND hwnd, UINT keys, const TPoint& screenPoint) {
  if (!hwnd || !quill::IsWindow(hwnd)) return;
  const LRESULT code =
      quill::SendMessage(hwnd, WM_NCHITTEST, 0, MAKEPOINTLPARAM(screenPoint.x, screenPoint.y));
  if (code == HTCLIENT) {
    TPoint p = screenPoint;
    quill::ScreenToClient(hwnd, p);
    quill::PostMessage(hwnd, msg, keys, MAKEPOINTLPARAM(p.x, p.y));
    return;
  }
  quill::PostMessage(hwnd, msg == WM_LBUTTONDOWN ? WM_NCLBUTTONDOWN : WM_NCRBUTTONDOWN,
                     WPARAM(code), MAKEPOINTLPARAM(screenPoint.x, screenPoint.y));
}

void ResetFlyMenuChains() { ZFlyMenu::ResetLastCapturingMenu(); }

}  // namespace quill
