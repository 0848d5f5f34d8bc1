// TWindow's message cracking, typed handlers and built-in behaviour.
#include <algorithm>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_dc.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {
TPoint PointOf(LPARAM lp) { return TPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)); }
}  // namespace

LRESULT TWindow::DispatchTyped(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: return EvCreate();
    case WM_DESTROY: EvDestroy(); return 0;
    case WM_CLOSE: EvClose(); return 0;
    case WM_SIZE: EvSize(UINT(wp), TSize(LOWORD(uintptr_t(lp)), HIWORD(uintptr_t(lp)))); return 0;
    case WM_MOVE: EvMove(PointOf(lp)); return 0;
    case WM_TIMER: EvTimer(UINT(wp)); return 0;
    case WM_PAINT: EvPaint(); return 0;
    case WM_ERASEBKGND: return EvEraseBkgnd(*reinterpret_cast<TDC*>(wp)) ? 1 : 0;
    case WM_SHOWWINDOW: EvShowWindow(wp != 0, UINT(lp)); return 0;
    case WM_WINDOWPOSCHANGING: EvWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lp)); return 0;
    case WM_WINDOWPOSCHANGED: EvWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lp)); return 0;
    case WM_SETFOCUS: EvSetFocus(reinterpret_cast<HWND>(wp)); return 0;
    case WM_KILLFOCUS: EvKillFocus(reinterpret_cast<HWND>(wp)); return 0;
    case WM_CAPTURECHANGED: EvCaptureChanged(reinterpret_cast<HWND>(lp)); return 0;
    case WM_CANCELMODE: EvCancelMode(); return 0;
    case WM_PARENTNOTIFY:
      EvParentNotify(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_MOUSEACTIVATE:
      return EvMouseActivate(reinterpret_cast<HWND>(wp), LOWORD(uintptr_t(lp)),
                             HIWORD(uintptr_t(lp)));
    case WM_NCHITTEST: return LRESULT(int(EvNCHitTest(PointOf(lp))));
    case WM_GETDLGCODE: return EvGetDlgCode(reinterpret_cast<const MSG*>(lp));
    case WM_NCCALCSIZE: {
      if (wp) return EvNCCalcSize(true, *reinterpret_cast<NCCALCSIZE_PARAMS*>(lp));
      NCCALCSIZE_PARAMS only;  // wParam false: lParam is one rectangle, not answered here
      return EvNCCalcSize(false, only);
    }
    case WM_NCLBUTTONDOWN: EvNCLButtonDown(UINT(wp), PointOf(lp)); return 0;
    case WM_NCRBUTTONDOWN: EvNCRButtonDown(UINT(wp), PointOf(lp)); return 0;
    case WM_MOUSEMOVE: EvMouseMove(UINT(wp), PointOf(lp)); return 0;
    case WM_LBUTTONDOWN: EvLButtonDown(UINT(wp), PointOf(lp)); return 0;
    case WM_LBUTTONUP: EvLButtonUp(UINT(wp), PointOf(lp)); return 0;
    case WM_LBUTTONDBLCLK: EvLButtonDblClk(UINT(wp), PointOf(lp)); return 0;
    case WM_RBUTTONDOWN: EvRButtonDown(UINT(wp), PointOf(lp)); return 0;
    case WM_RBUTTONUP: EvRButtonUp(UINT(wp), PointOf(lp)); return 0;
    case WM_RBUTTONDBLCLK: EvRButtonDblClk(UINT(wp), PointOf(lp)); return 0;
    case WM_KEYDOWN: EvKeyDown(UINT(wp), LOWORD(uintptr_t(lp)), HIWORD(uintptr_t(lp))); return 0;
    case WM_KEYUP: EvKeyUp(UINT(wp), LOWORD(uintptr_t(lp)), HIWORD(uintptr_t(lp))); return 0;
    case WM_CHAR: EvChar(UINT(wp), LOWORD(uintptr_t(lp)), HIWORD(uintptr_t(lp))); return 0;
    case WM_ACTIVATE: EvActivate(LOWORD(wp), HIWORD(wp) != 0, reinterpret_cast<HWND>(lp)); return 0;
    case WM_COMMAND: return EvCommand(LOWORD(wp), reinterpret_cast<HWND>(lp), HIWORD(wp));
    case WM_COMMAND_ENABLE: EvCommandEnable(*reinterpret_cast<TCommandEnabler*>(lp)); return 0;
    default: return DefWindowProc(msg, wp, lp);
  }
}

LRESULT TWindow::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE: CloseWindow(); return 0;
    case WM_ERASEBKGND: {
      if (bkgndColor_ == TColor::None || bkgndColor_ == TColor::Transparent) return 0;
      TDC& dc = *reinterpret_cast<TDC*>(wp);
      dc.FillRect(GetClientRect(), bkgndColor_);
      return 1;
    }
    case WM_PAINT: {
      bool erase = false;
      TakeUpdateRegion(erase);
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      const WINDOWPOS& pos = *reinterpret_cast<const WINDOWPOS*>(lp);
      if (!(pos.flags & SWP_NOMOVE)) {
        SendMessage(WM_MOVE, 0,
                    MAKEPOINTLPARAM(bounds_.left + BorderWidth(), bounds_.top + BorderWidth()));
      }
      if (!(pos.flags & SWP_NOSIZE)) {
        TRect c = GetClientRect();
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(uint16_t(c.Width()), uint16_t(c.Height())));
      }
      return 0;
    }
    case WM_NCHITTEST: {
      TPoint p(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      TRect wr = GetWindowRect();
      if (!wr.Contains(p)) return HTNOWHERE;
      TRect client = GetClientRect();
      ClientToScreen(client);
      return client.Contains(p) ? HTCLIENT : HTBORDER;
    }
    case WM_MOUSEACTIVATE: {
      // A child asks its parent first, as the classic default does.
      if (!IsTopLevel() && treeParent_) {
        LRESULT r = treeParent_->SendMessage(WM_MOUSEACTIVATE, wp, lp);
        if (r) return r;
      }
      return MA_ACTIVATE;
    }
    case WM_SETCURSOR:
      if (!IsTopLevel() && treeParent_) return treeParent_->SendMessage(WM_SETCURSOR, wp, lp);
      return 0;
    case WM_GETTEXT: {
      return GetWindowText(reinterpret_cast<char*>(lp), int(wp));
    }
    case WM_SETTEXT: SetCaption(reinterpret_cast<const char*>(lp)); return 1;
    default: return 0;
  }
}

int TWindow::EvCreate() { return int(DefaultProcessing()); }
void TWindow::EvDestroy() { DefaultProcessing(); }
void TWindow::EvClose() { DefaultProcessing(); }
void TWindow::EvSize(UINT, const TSize&) { DefaultProcessing(); }
void TWindow::EvMove(const TPoint&) { DefaultProcessing(); }
void TWindow::EvTimer(UINT) { DefaultProcessing(); }

void TWindow::EvPaint() {
  TPaintDC dc(*this);
  Paint(dc, dc.Erase, dc.Rect);
}

void TWindow::Paint(TDC&, bool, TRect&) {}

bool TWindow::EvEraseBkgnd(TDC&) { return DefaultProcessing() != 0; }
void TWindow::EvShowWindow(bool, UINT) { DefaultProcessing(); }
void TWindow::EvWindowPosChanging(WINDOWPOS&) { DefaultProcessing(); }
void TWindow::EvWindowPosChanged(const WINDOWPOS&) { DefaultProcessing(); }
void TWindow::EvSetFocus(HWND) { DefaultProcessing(); }
void TWindow::EvKillFocus(HWND) { DefaultProcessing(); }
void TWindow::EvCaptureChanged(HWND) { DefaultProcessing(); }
void TWindow::EvCancelMode() { DefaultProcessing(); }
void TWindow::EvParentNotify(UINT, UINT, HWND) { DefaultProcessing(); }
int TWindow::EvMouseActivate(HWND, UINT, UINT) { return int(DefaultProcessing()); }
UINT TWindow::EvNCHitTest(const TPoint&) { return UINT(DefaultProcessing()); }
UINT TWindow::EvGetDlgCode(const MSG*) { return UINT(DefaultProcessing()); }
UINT TWindow::EvNCCalcSize(bool, NCCALCSIZE_PARAMS&) { return UINT(DefaultProcessing()); }
void TWindow::EvNCLButtonDown(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvNCRButtonDown(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvMouseMove(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonDown(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonUp(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonDblClk(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonDown(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonUp(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonDblClk(UINT, const TPoint&) { DefaultProcessing(); }
void TWindow::EvKeyDown(UINT, UINT, UINT) { DefaultProcessing(); }
void TWindow::EvKeyUp(UINT, UINT, UINT) { DefaultProcessing(); }
void TWindow::EvChar(UINT, UINT, UINT) { DefaultProcessing(); }
void TWindow::EvActivate(UINT, bool, HWND) { DefaultProcessing(); }

LRESULT TWindow::EvCommand(UINT id, HWND, UINT) {
  if (const TResponseEntry* e = GetResponseTable().Find(TResponseEntry::Kind::Command, id))
    return e->message(*this, curWp_, curLp_);
  return DefaultProcessing();
}

void TWindow::EvCommandEnable(TCommandEnabler& ce) {
  const TResponseTable& table = GetResponseTable();
  if (const TResponseEntry* e = table.Find(TResponseEntry::Kind::CommandEnable, ce.GetId()))
    e->enable(*this, ce);
  else if (table.Find(TResponseEntry::Kind::Command, ce.GetId()))
    ce.Enable(true);  // a window that handles a command without an enabler has it on
}

}  // namespace quill
