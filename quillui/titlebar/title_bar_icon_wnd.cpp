#include "quillui/titlebar/title_bar_icon_wnd.h"

#include <algorithm>

#include "quillui/app/app_palette.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/base/diagnostics.h"
#include "quillui/framework/dialogs/message_box.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/profile/icons.h"
#include "quillui/titlebar/title_bar.h"
#include "quillui/titlebar/title_bar_settings.h"

namespace quill {

namespace {

// Where the mask is black the brush shows, where it is white the image stays.
constexpr uint32_t kMaskOverImage = 0xB8074A;

}  // namespace

ZTitleBarIconWnd::ZTitleBarIconWnd(ZTitleBar* parent, const ZIcon* icon, int width, int height)
    : TWindow(parent, "ZTitleBarIconWnd"), bar_(parent), icon_(icon) {
  const TSize iconSize = icon ? icon->GetSize(ZIcon::eSMALL) : TSize(0, 0);
  Attr.W = width > 0 ? std::max(width, iconSize.cx) : kDefaultWidth;
  Attr.H = std::max(height, iconSize.cy);
}

ZTitleBarIconWnd::~ZTitleBarIconWnd() {
  if (IsWindow()) KillTimer(ICON_HOVER_TIMER_ID);
}

COLORREF ZTitleBarIconWnd::RestingColor() const {
  const ZTitleBarSettings& s = TitleBarSettings();
  return active_ ? s.m_clrIconActive : s.m_clrIconInActive;
}

void ZTitleBarIconWnd::SetState(bool active, eICONSTATE state, bool redraw) {
  active_ = active;
  state_ = state;
  color_ = state != eICON_NORMAL ? TitleBarSettings().m_clrIconHilight : RestingColor();
  if (redraw && IsWindow()) Invalidate(false);
}

void ZTitleBarIconWnd::SetIconColors(COLORREF active, COLORREF inactive, COLORREF hilight) {
  SetTitleBarIconColors(active, inactive, hilight);
}

bool ZTitleBarIconWnd::EvEraseBkgnd(TDC&) { return true; }

void ZTitleBarIconWnd::EvMouseMove(UINT, const TPoint&) {
  if (!(bar_->GetFlags() & TBF_MENU)) return;
  TPoint cursor;
  GetCursorPos(cursor);
  const HWND under = WindowFromPoint(cursor);
  if (under != GetHandle()) {
    KillTimer(ICON_HOVER_TIMER_ID);
    armed_ = true;
    if (ZFlyMenu* menu = bar_->GetFlyMenu(); menu && menu->CheckChainOfSubMenus(under, cursor))
      return;
    if (state_ == eICON_PRESSED) return;
    state_ = eICON_NORMAL;
    const COLORREF resting = RestingColor();
    if (resting != color_) {
      color_ = resting;
      Invalidate(false);
      UpdateWindow();
    }
    return;
  }
  if (state_ == eICON_NORMAL && armed_) {
    SetTimer(ICON_HOVER_TIMER_ID, TitleBarSettings().m_uiMenuDelay);
    armed_ = false;
  }
}

void ZTitleBarIconWnd::EvTimer(UINT timerId) {
  if (timerId != ICON_HOVER_TIMER_ID) {
    TWindow::EvTimer(timerId);
    return;
  }
  state_ = eICON_HOVER;
  color_ = TitleBarSettings().m_clrIconHilight;
  bar_->SendMessage(WmuHandleActivation, eICON_HOVER, 0);
  if (IsWindow()) KillTimer(ICON_HOVER_TIMER_ID);
}

void ZTitleBarIconWnd::EvLButtonDown(UINT modKeys, const TPoint& point) {
  armed_ = false;
  TWindow::EvLButtonDown(modKeys, point);
}

void ZTitleBarIconWnd::EvLButtonUp(UINT, const TPoint&) {
  if (!(bar_->GetFlags() & TBF_MENU)) return;
  KillTimer(ICON_HOVER_TIMER_ID);
  state_ = state_ == eICON_PRESSED ? eICON_HOVER : eICON_PRESSED;
  bar_->PostMessage(WmuHandleActivation, WPARAM(state_), kClickActivation);
}

bool ZTitleBarIconWnd::IdleAction(long idleCount) {
  if (idleCount == 0 && IsWindow()) {
    TPoint cursor;
    GetCursorPos(cursor);
    if (WindowFromPoint(cursor) != GetHandle())
      SendMessage(WM_MOUSEMOVE, 0, MAKEPOINTLPARAM(-1, -1));
  }
  return state_ != eICON_NORMAL;
}

bool ZTitleBarIconWnd::DrawMaskedIcon(TDC& dc) {
  TPalette* palette = GetAppPalette();
  // The icon in the screen's format is made once (again only for another palette): the
  // conversion through the palette costs more than the drawing.
  if (!bitsMade_ || bitsPalette_ != palette) {
    imageBits_.reset();
    maskBits_.reset();
    if (const TDib* image = icon_->GetIcon(ZIcon::eSMALL))
      imageBits_ = std::make_unique<TBitmap>(*image, palette);
    if (const TDib* mask = icon_->GetMask(ZIcon::eSMALL))
      maskBits_ = std::make_unique<TBitmap>(*mask, nullptr, 8);
    bitsPalette_ = palette;
    bitsMade_ = true;
  }
  if (!imageBits_) return false;
  TMemoryDC imageDC(dc);
  if (imageBits_->IsOK()) imageDC.SelectObject(*imageBits_);
  const int w = imageBits_->Width(), h = imageBits_->Height();
  if (!dc.BitBlt(iconPos_.x, iconPos_.y, w, h, imageDC, 0, 0, SRCCOPY)) return false;
  if (!maskBits_) return true;
  TMemoryDC maskDC(dc);
  if (maskBits_->IsOK()) maskDC.SelectObject(*maskBits_);
  dc.SelectObject(TBrush(TColor(color_)));
  return dc.BitBlt(iconPos_.x, iconPos_.y, w, h, maskDC, 0, 0, kMaskOverImage);
}

void ZTitleBarIconWnd::Paint(TDC& dc, bool, TRect&) {
  if (!icon_) return;
  const TRect client = GetClientRect();
  if (client.Width() <= 0 || client.Height() <= 0) return;
  TPalette* palette = GetAppPalette();
  TBitmap picture(client.Width(), client.Height());
  if (!picture.IsOK()) return;
  TMemoryDC memory(dc);
  memory.SelectObject(picture);
  if (palette) {
    memory.SelectPalette(palette);
    memory.RealizePalette();
  }
  memory.FillRect(client, TColor(color_));
  const TSize size = icon_->GetSize(ZIcon::eSMALL);
  iconPos_ = TPoint((client.Width() - size.cx) / 2, (client.Height() - size.cy) / 2);
  if (!DrawMaskedIcon(memory)) {
    // The box runs a loop that repaints this still-invalid window: it is shown once, and the
    // window shows its plain colour from then on.
    memory.FillRect(client, TColor(color_));
    if (!failureShown_) {
      failureShown_ = true;
      Validate();
      MessageBox("Unable to DirectlyDrawMaskedIcon", "ZTitleBarIconWnd::Paint", MB_ICONSTOP);
    } else {
      ReportDiagnostic("Unable to DirectlyDrawMaskedIcon", "ZTitleBarIconWnd::Paint",
                       "title_bar_icon_wnd.cpp", __LINE__);
    }
    if (!IsWindow()) return;
  }
  dc.BitBlt(0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
}

}  // namespace quill
