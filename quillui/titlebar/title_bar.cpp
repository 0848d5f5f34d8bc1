#include "quillui/titlebar/title_bar.h"

#include <algorithm>
#include <memory>

#include "quillui/app/app_palette.h"
#include "quillui/app/notify_lists.h"
#include "quillui/app/user_messages.h"
#include "quillui/bars/control_bar.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/framework/window/response_table.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/titlebar.h"
#include "quillui/titlebar/title_bar_icon_wnd.h"
#include "quillui/titlebar/title_bar_settings.h"

namespace quill {

namespace {

ZTitleBar* g_active = nullptr;
ZTitleBar* g_prevActive = nullptr;

// The bar's buttons: three cels, no extra name, kept whole (no small form), no press moves.
ZAnimButtonGadget* NewButton(const char* bitmap, UINT id) {
  return new ZAnimButtonGadget(bitmap, int(id), nullptr, 3, false, false);
}

}  // namespace

ZTitleBar::ZTitleBar(TWindow* parent, PANE_TYPE paneType, TModule* module)
    : TLayoutWindow(parent, "ZTitleBar", module),
      bkgnd_(TitleBarSettings().m_clrInActiveBkgnd),
      stripHeight_(int(TitleBarSettings().m_uiIniShadowWidth)),
      text_(TitleBarSettings().m_clrInActiveTxt),
      paneType_(paneType),
      drag_(paneType == ePOPUP_PANE ? eDRAG_IDLE : eDRAG_NONE) {
  Attr.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (parent) Attr.W = parent->IsWindow() ? parent->GetClientRect().Width() : parent->Attr.W;
  Attr.H = GetBarHeight();
}

ZTitleBar::~ZTitleBar() {
  RegisterIdle(this, 0);
  if (menu_) menu_->SetTitleBar(nullptr);
  menu_ = nullptr;
  if (g_active == this) g_active = nullptr;
  if (g_prevActive == this) g_prevActive = nullptr;
  // The children go now, while they can still ask the bar what they need.
  delete iconWnd_;
  iconWnd_ = nullptr;
  delete buttonBar_;
  buttonBar_ = nullptr;
}

int ZTitleBar::GetBarHeight() const { return int(TitleBarSettings().m_uiHeight) + stripHeight_; }

void ZTitleBar::Initialize(const ZIcon* icon, const char* title, uint16_t flags,
                           uint16_t textFormat) {
  const ZTitleBarSettings& s = TitleBarSettings();
  if (title) title_ = title;
  textFormat_ = textFormat;
  RegisterIdle(this, 0);
  RegisterIdle(this, 1);

  if (icon != icon_) {
    icon_ = icon;
    delete iconWnd_;
    iconWnd_ = nullptr;
    if (!icon) {
      flags &= uint16_t(~TBF_MENU);
    } else {
      iconWnd_ = new ZTitleBarIconWnd(this, icon);
      TLayoutMetrics m;
      m.SetMeasurementUnits(lmPixels);
      m.X.SameAs(lmParent, lmLeft);
      m.Y.SameAs(lmParent, lmTop);
      m.Width.Absolute(iconWnd_->Attr.W);
      m.Height.Absolute(int(s.m_uiHeight) - 2);
      SetChildLayoutMetrics(*iconWnd_, m);
      if (IsWindow()) iconWnd_->Create();
      iconWnd_->SetState(bkgnd_ == s.m_clrActiveBkgnd, eICON_NORMAL, true);
    }
    Layout();
  }

  const uint16_t buttons = TBF_MINMAX | TBF_CLOSE;
  if (!buttonBar_ || ((flags ^ flags_) & buttons)) {
    delete buttonBar_;
    buttonBar_ = new ZControlBar(this, TGadgetWindow::Horizontal, TColor::Transparent,
                                 new TGadgetWindowFont(10));
    buttonBar_->Attr.Style &= ~uint32_t(WS_BORDER);
    buttonBar_->Attr.Style |= WS_CLIPSIBLINGS;
    buttonBar_->SetMargins(TMargins(TMargins::Pixels, 0, 0, 0, 0));
    buttonBar_->SetShrinkWrap(true, true);
    // The button swap reads the flags of this call.
    const uint16_t kept = flags_;
    flags_ = flags;
    if (flags & TBF_MINMAX) ManageMinMaxBtn();
    flags_ = kept;
    if (flags & TBF_CLOSE) buttonBar_->Insert(*NewButton(kCloseBitmap, kCmdClose));
    PlaceButtonBar();
    if (IsWindow()) buttonBar_->Create();
    Layout();
  }

  if ((flags ^ flags_) & TBF_SHADOW) {
    stripHeight_ = (flags & TBF_SHADOW) ? int(s.m_uiIniShadowWidth) : 0;
    if (IsWindow()) {
      const TRect r = GetClientRect();
      SetWindowPos(nullptr, 0, 0, r.Width(), GetBarHeight(), SWP_NOMOVE | SWP_NOZORDER);
    } else {
      Attr.H = GetBarHeight();
    }
  }
  if (IsWindow()) Invalidate(false);
  flags_ = flags;
}

void ZTitleBar::AssociateMenu(ZFlyMenu* menu) {
  if (menu_ && menu_ != menu) menu_->SetTitleBar(nullptr);
  menu_ = menu;
  if (!menu) return;
  menu->SetTitleBar(this);
  flags_ |= TBF_MENU;
}

void ZTitleBar::FlyMenuGone(ZFlyMenu* menu) {
  if (menu_ == menu) menu_ = nullptr;
}

UINT ZTitleBar::FullScreenCommand() const {
  switch (paneType_) {
    case eMEDIA_PANE: return kCmdMediaFullScreen;
    case ePATH_PANE: return kCmdPathFullScreen;
    default: return kCmdArticleFullScreen;
  }
}

void ZTitleBar::SwapButton(const UINT* oldIds, int count, const char* bitmap, UINT newId) {
  TGadget* old = nullptr;
  for (int i = 0; i < count && !old; ++i) old = buttonBar_->GadgetWithId(int(oldIds[i]));
  ZAnimButtonGadget* button = NewButton(bitmap, newId);
  if (old) {
    buttonBar_->Insert(*button, TGadgetWindow::Before, old);
    // Through the bar's removal, which stops an animation the old button may be running.
    buttonBar_->Remove(*old);
    delete old;
  } else {
    buttonBar_->Insert(*button, TGadgetWindow::Before, buttonBar_->FirstGadget());
  }
}

void ZTitleBar::PlaceButtonBar() {
  if (!buttonBar_) return;
  const int height = int(TitleBarSettings().m_uiHeight);
  TSize desired;
  buttonBar_->GetDesiredSize(desired);
  TLayoutMetrics m;
  m.SetMeasurementUnits(lmPixels);
  m.X.Set(lmRight, lmLeftOf, lmParent, lmRight, 2);
  m.Y.Set(lmTop, lmSameAs, lmParent, lmTop, std::max(0, (height - desired.cy) / 2 - 1));
  m.Width.Absolute(desired.cx);
  m.Height.Absolute(desired.cy);
  SetChildLayoutMetrics(*buttonBar_, m);
}

void ZTitleBar::ManageMinMaxBtn() {
  if (!buttonBar_) return;
  if (displayMode_ == eFULL_SCREEN_MODE) {
    static constexpr UINT fullIds[] = {kCmdMediaFullScreen, kCmdPathFullScreen,
                                       kCmdArticleFullScreen};
    SwapButton(fullIds, 3, kSmallBitmap, kCmdTableau);
  } else {
    static constexpr UINT smallIds[] = {kCmdTableau};
    SwapButton(smallIds, 1, kFullBitmap, FullScreenCommand());
  }
  buttonBar_->LayoutSession();
  PlaceButtonBar();
  Layout();
}

bool ZTitleBar::IdleAction(long idleCount) {
  return iconWnd_ ? iconWnd_->IdleAction(idleCount) : false;
}

void ZTitleBar::CalcDragRect() {
  dragRect_ = GetWindowRect();
  if (iconWnd_ && iconWnd_->IsWindow()) dragRect_.left = iconWnd_->GetWindowRect().right + 1;
  if (buttonBar_ && buttonBar_->IsWindow()) dragRect_.right = buttonBar_->GetWindowRect().left - 1;
}

void ZTitleBar::ProcessDblClk() {
  if (paneType_ == ePOPUP_PANE || !IsWindow()) return;
  const UINT id = displayMode_ == eFULL_SCREEN_MODE ? kCmdTableau : FullScreenCommand();
  PostMessage(WM_COMMAND, MAKEWPARAM(uint16_t(id), 0), 0);
}

void ZTitleBar::FocusParent() {
  if (TWindow* parent = Parent(); parent && parent->IsWindow())
    parent->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(GetFocus()), 0);
}

LRESULT ZTitleBar::WmuHandleActivation(WPARAM wp, LPARAM) {
  const auto state = static_cast<eICONSTATE>(std::clamp<int>(int(wp), eICON_NORMAL, eICON_PRESSED));
  const bool popup = paneType_ == ePOPUP_PANE;
  if (!g_active && !popup) {
    g_active = this;
    FocusParent();
    SetActive(true, state, true);
    return 1;
  }
  if (g_active != this) {
    if (!popup && g_active) g_active->SetActive(false, eICON_NORMAL, true);
    FocusParent();
  }
  SetActive(true, state, true);
  if (!popup && g_active != this) {
    g_prevActive = g_active;
    g_active = this;
  }
  return 1;
}

void ZTitleBar::SetActive(bool active, eICONSTATE state, bool redraw) {
  const ZTitleBarSettings& s = TitleBarSettings();
  bkgnd_ = active ? s.m_clrActiveBkgnd : s.m_clrInActiveBkgnd;
  text_ = active ? s.m_clrActiveTxt : s.m_clrInActiveTxt;
  if (iconWnd_) iconWnd_->SetState(active, state, redraw);
  if (redraw && IsWindow()) Invalidate(false);
  if (!menu_) return;
  if (active && state != eICON_NORMAL) {
    if (!IsWindow()) return;
    TPoint at(0, GetBarHeight());
    ClientToScreen(at);
    at.y -= stripHeight_ + 1;
    menu_->Display(at);
    menu_->CaptureMouse(true);
  } else if (menu_->IsWindow() && menu_->IsWindowVisible()) {
    menu_->RemoveMenuChain(menu_->GetParentMenu());
  }
}

void ZTitleBar::RestorePrevActiveTitleBar() {
  if (g_prevActive && g_prevActive->IsWindow())
    g_prevActive->SendMessage(quill::WmuHandleActivation, 0, 0);
}

ZTitleBar* ZTitleBar::GetActiveTitleBar() { return g_active; }
ZTitleBar* ZTitleBar::GetPrevActiveTitleBar() { return g_prevActive; }

void ZTitleBar::setSection(const char* section) {
  if (!section) return;
  const std::string text = ZProfile().Get(section, "titletext", "");
  if (!text.empty()) title_ = text;
}

HWND ZTitleBar::GetIconWindowHandle() const {
  return iconWnd_ && iconWnd_->IsWindow() ? iconWnd_->GetHandle() : nullptr;
}

ZFlyMenuTitleBar::eICONSTATE ZTitleBar::GetIconState() const {
  return iconWnd_ ? iconWnd_->GetState() : eICON_NORMAL;
}

void ZTitleBar::SetupWindow() {
  TLayoutWindow::SetupWindow();
  if (paneType_ == ePOPUP_PANE) SetActive(true, eICON_NORMAL, false);
}

bool ZTitleBar::EvEraseBkgnd(TDC&) { return true; }

void ZTitleBar::EvSize(UINT sizeType, const TSize& size) {
  TLayoutWindow::EvSize(sizeType, size);
  TWindow* parent = Parent();
  if (!parent || !parent->IsWindow()) return;
  const auto mode = static_cast<DISPLAY_MODE>(parent->SendMessage(WmuGetDisplayMode, 0, 0));
  if (mode == displayMode_) return;
  displayMode_ = mode;
  if (flags_ & TBF_MINMAX) ManageMinMaxBtn();
}

LRESULT ZTitleBar::EvCommand(UINT id, HWND control, UINT notifyCode) {
  switch (id) {
    case kCmdClose:
      if (TWindow* parent = Parent(); parent && parent->IsWindow()) parent->PostMessage(WM_CLOSE);
      return 0;
    case kCmdMediaFullScreen:
    case kCmdPathFullScreen:
    case kCmdArticleFullScreen:
    case kCmdTableau:
      WmuHandleActivation(0, 0);
      if (TWindow* parent = Parent(); parent && parent->IsWindow())
        return parent->SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(id), uint16_t(notifyCode)),
                                   reinterpret_cast<LPARAM>(control));
      return 0;
    default: return 0;
  }
}

TRect ZTitleBar::CalcTextRect() const {
  TRect r = GetClientRect();
  r.bottom -= stripHeight_;
  r.left += 2;
  if (iconWnd_)
    r.left += iconWnd_->IsWindow() ? iconWnd_->GetClientRect().Width() : iconWnd_->Attr.W;
  r.right -= 10;
  if (buttonBar_) {
    r.right -=
        (buttonBar_->IsWindow() ? buttonBar_->GetWindowRect().Width() : buttonBar_->GetWidth());
    r.right -= 2;
  }
  return r;
}

void ZTitleBar::Paint(TDC& dc, bool, TRect&) {
  const TRect client = GetClientRect();
  if (client.Width() <= 0 || client.Height() <= 0) return;
  TRect r = client;
  r.bottom -= stripHeight_;
  TPalette* palette = GetAppPalette();
  if (palette) {
    dc.SelectPalette(palette);
    dc.RealizePalette();
  }
  TBitmap picture(client.Width(), client.Height());
  if (!picture.IsOK()) return;
  TMemoryDC memory(dc);
  memory.SelectObject(picture);
  if (palette) {
    memory.SelectPalette(palette);
    memory.RealizePalette();
  }
  memory.FillRect(r, TColor(bkgnd_));
  if (stripHeight_ != 0)
    memory.FillRect(TRect(r.left, r.bottom, r.right, r.bottom + stripHeight_),
                    TColor(TitleBarSettings().m_clrShadow));
  memory.SelectObject(TPen(TColor(PALETTERGB(0, 0, 0))));
  memory.MoveTo(r.left, r.top);
  memory.LineTo(r.right - 1, r.top);
  memory.LineTo(r.right - 1, r.bottom - 1);
  memory.LineTo(r.left, r.bottom - 1);
  memory.LineTo(r.left, r.top);
  if (TFont* font = GetAppFont(font_)) memory.SelectObject(*font);
  memory.SetBkMode(TRANSPARENT);
  memory.SetTextColor(TColor(text_));
  TRect textRect = CalcTextRect();
  memory.DrawText(title_, textRect, unsigned(textFormat_) | kTextFormat);
  dc.BitBlt(0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
}

void ZTitleBar::EvLButtonDown(UINT, const TPoint& point) {
  dblClk_ = false;
  if (paneType_ != ePOPUP_PANE) {
    const uint64_t now = TWindowSystem::Get().NowMs();
    if (lastPressMs_ && now - *lastPressMs_ <= GetDoubleClickTime()) {
      dblClk_ = true;
      lastPressMs_.reset();
    } else {
      lastPressMs_ = now;
    }
  }
  if (drag_ == eDRAG_NONE) return;
  TPoint p = point;
  ClientToScreen(p);
  CalcDragRect();
  if (dragRect_.Contains(p)) {
    drag_ = eDRAG_PRESSED;
    lastPoint_ = p;
  }
}

void ZTitleBar::EvLButtonDblClk(UINT, const TPoint&) {
  dblClk_ = true;
  // The press this double click pairs with is used up: a third quick press is a new first one.
  lastPressMs_.reset();
}

void ZTitleBar::EvLButtonUp(UINT, const TPoint&) {
  if (dblClk_) {
    ProcessDblClk();
    dblClk_ = false;
    return;
  }
  bool dragEnded = false;
  if (drag_ != eDRAG_NONE) {
    if (drag_ == eDRAG_DRAGGING) {
      dragEnded = true;
      ReleaseCapture();
      // A hidden menu window would swallow the next click: the mouse goes back to the menu
      // only while it shows.
      if (menuWasCapturing_ && menu_ && menu_->IsWindow()) {
        const HWND last = ZFlyMenu::GetLastCapturingMenu();
        if (last && quill::IsWindow(last) && quill::IsWindowVisible(last)) quill::SetCapture(last);
      }
    }
    menuWasCapturing_ = false;
    drag_ = eDRAG_IDLE;
  }
  if (dragEnded) return;
  if (iconWnd_ && iconWnd_->GetState() == eICON_PRESSED) {
    iconWnd_->SetState(iconWnd_->IsActive(), eICON_NORMAL, true);
    WmuHandleActivation(0, 0);
  } else if (flags_ & TBF_MENU) {
    WmuHandleActivation(eICON_PRESSED, 0);
  }
}

void ZTitleBar::EvMouseMove(UINT modKeys, const TPoint& point) {
  if (drag_ == eDRAG_NONE || !(modKeys & MK_LBUTTON)) return;
  TPoint p = point;
  ClientToScreen(p);
  if (drag_ == eDRAG_PRESSED) {
    if (p != lastPoint_) {
      drag_ = eDRAG_DRAGGING;
      SetCapture();
    }
    return;
  }
  if (drag_ != eDRAG_DRAGGING) return;
  TWindow* parent = Parent();
  if (!parent || !parent->IsWindow()) return;
  // The parent's place in its own parent's coordinates (the screen for a pop-up).
  TRect place = parent->GetWindowRect();
  if (HWND above = quill::GetParent(parent->GetHandle()); above && !parent->IsTopLevel()) {
    TPoint origin(0, 0);
    quill::ClientToScreen(above, origin);
    place.Offset(-origin.x, -origin.y);
  }
  parent->SetWindowPos(nullptr, place.left + (p.x - lastPoint_.x), place.top + (p.y - lastPoint_.y),
                       0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  lastPoint_ = p;
}

const TResponseTable& ZTitleBar::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnMessage<&ZTitleBar::WmuHandleActivation>(quill::WmuHandleActivation),
  };
  static const TResponseTable table{&TLayoutWindow::GetResponseTable(), entries};
  return table;
}

void ResetTitleBarStatics() {
  g_active = nullptr;
  g_prevActive = nullptr;
}

}  // namespace quill
