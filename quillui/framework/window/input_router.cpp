#include "quillui/framework/window/input_router.h"

#include <cstdlib>

#include "quillui/framework/window/application.h"
#include "quillui/framework/window/cursor.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_state_internal.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {

using platform::InputEvent;
using platform::InputKind;
using platform::MouseButton;

UINT MouseKeys(const TWindowSystem& ws) {
  UINT keys = 0;
  if (WindowState(ws).keyState[VK_LBUTTON] & 0x80) keys |= MK_LBUTTON;
  if (WindowState(ws).keyState[VK_RBUTTON] & 0x80) keys |= MK_RBUTTON;
  if (WindowState(ws).keyState[VK_MBUTTON] & 0x80) keys |= MK_MBUTTON;
  if (WindowState(ws).keyState[VK_SHIFT] & 0x80) keys |= MK_SHIFT;
  if (WindowState(ws).keyState[VK_CONTROL] & 0x80) keys |= MK_CONTROL;
  return keys;
}

void SetModifiers(TWindowSystem& ws, uint32_t mods) {
  WindowState(ws).keyState[VK_SHIFT] = (mods & platform::kModShift) ? 0x80 : 0;
  WindowState(ws).keyState[VK_CONTROL] = (mods & platform::kModCtrl) ? 0x80 : 0;
  WindowState(ws).keyState[VK_MENU] = (mods & platform::kModAlt) ? 0x80 : 0;
}

UINT ButtonKey(MouseButton b) {
  switch (b) {
    case MouseButton::Left: return VK_LBUTTON;
    case MouseButton::Right: return VK_RBUTTON;
    case MouseButton::Middle: return VK_MBUTTON;
    default: return 0;
  }
}

void Deliver(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
  TWindowSystem& ws = TWindowSystem::Get();
  MSG msg;
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wp;
  msg.lParam = lp;
  msg.time = ws.NowMs();
  msg.ptX = WindowState(ws).cursorX;
  msg.ptY = WindowState(ws).cursorY;
  ProcessQueuedMessage(msg);
}

// The window that gets mouse input at the cursor: the capture window, else the window under
// the point. Null when input must be dropped (nothing there, or a disabled top-level window).
TWindow* MouseTarget(TWindowSystem& ws) {
  if (TWindow* c = GetWindowPtr(WindowState(ws).capture)) return c;
  TWindow* w =
      GetWindowPtr(WindowFromPoint(TPoint(WindowState(ws).cursorX, WindowState(ws).cursorY)));
  if (!w || w == &ws.Desktop() || !w->IsWindowEnabled()) return nullptr;
  return w;
}

LPARAM ClientPoint(TWindow& w, const TWindowSystem& ws) {
  TPoint p(WindowState(ws).cursorX, WindowState(ws).cursorY);
  w.ScreenToClient(p);
  return MAKEPOINTLPARAM(p.x, p.y);
}

TWindow* TopLevelOf(TWindow* w) {
  while (w && !w->IsTopLevel()) w = w->GetParentO();
  return w;
}

void RouteButtonDown(TWindowSystem& ws, const InputEvent& e) {
  UINT vk = ButtonKey(e.button);
  if (!vk) return;
  WindowState(ws).keyState[vk] = 0x80;
  TWindow* w = MouseTarget(ws);
  if (!w) return;
  HWND target = w->GetHandle();
  UINT down = e.button == MouseButton::Left    ? WM_LBUTTONDOWN
              : e.button == MouseButton::Right ? WM_RBUTTONDOWN
                                               : WM_MBUTTONDOWN;
  if (!WindowState(ws).capture) {
    TWindow* top = TopLevelOf(w);
    LRESULT ma =
        w->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top ? top->GetHandle() : nullptr),
                       MAKELPARAM(HTCLIENT, uint16_t(down)));
    if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) && top && top->IsWindow() &&
        WindowState(ws).active != top->GetHandle()) {
      HWND old = WindowState(ws).active;
      top->BringWindowToTop();
      WindowState(ws).active = top->GetHandle();
      if (TWindow* o = GetWindowPtr(old))
        o->SendMessage(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(top->GetHandle()));
      top->SendMessage(WM_ACTIVATE, WA_CLICKACTIVE, reinterpret_cast<LPARAM>(old));
    }
    if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return;
    if (!GetWindowPtr(target)) return;
  }
  // A second press of the same button on the same window, soon enough and close enough.
  uint64_t now = ws.NowMs();
  int halfX = GetSystemMetrics(SM_CXDOUBLECLK) / 2, halfY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  bool dbl = (w->Attr.ClassStyle & CS_DBLCLKS) && WindowState(ws).lastDownButton == e.button &&
             WindowState(ws).lastDownWindow == target && WindowState(ws).lastDownTime != 0 &&
             now - WindowState(ws).lastDownTime <= WindowState(ws).doubleClickTimeMs &&
             std::abs(e.x - WindowState(ws).lastDownX) <= halfX &&
             std::abs(e.y - WindowState(ws).lastDownY) <= halfY;
  UINT message = down;
  if (dbl) {
    message = down + 2;  // WM_xBUTTONDBLCLK follows WM_xBUTTONUP
    WindowState(ws).lastDownTime = 0;
  } else {
    WindowState(ws).lastDownButton = e.button;
    WindowState(ws).lastDownWindow = target;
    WindowState(ws).lastDownTime = now;
    WindowState(ws).lastDownX = e.x;
    WindowState(ws).lastDownY = e.y;
  }
  Deliver(target, message, MouseKeys(ws), ClientPoint(*w, ws));
}

void RouteButtonUp(TWindowSystem& ws, const InputEvent& e) {
  UINT vk = ButtonKey(e.button);
  if (!vk) return;
  WindowState(ws).keyState[vk] = 0;
  TWindow* w = MouseTarget(ws);
  if (!w) return;
  UINT up = e.button == MouseButton::Left    ? WM_LBUTTONUP
            : e.button == MouseButton::Right ? WM_RBUTTONUP
                                             : WM_MBUTTONUP;
  Deliver(w->GetHandle(), up, MouseKeys(ws), ClientPoint(*w, ws));
}

TWindow* KeyTarget(TWindowSystem& ws) {
  if (TWindow* f = GetWindowPtr(WindowState(ws).focus)) return f;
  return GetWindowPtr(WindowState(ws).active);
}

void RouteKey(TWindowSystem& ws, const InputEvent& e) {
  UINT vk = e.virtualKey & 0xFF;
  bool down = e.kind == InputKind::KeyDown;
  bool wasDown = (WindowState(ws).keyState[vk] & 0x80) != 0;
  WindowState(ws).keyState[vk] = down ? 0x80 : 0;
  TWindow* w = KeyTarget(ws);
  if (!w || !w->IsWindowEnabled()) return;
  bool alt = (WindowState(ws).keyState[VK_MENU] & 0x80) != 0;
  UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
  uint32_t flags = 0;
  if (wasDown) flags |= 0x4000;  // previous key state
  if (!down) flags |= 0xC000;    // transition state
  if (alt) flags |= 0x2000;      // context code
  Deliver(w->GetHandle(), message, vk, LPARAM(1u | (flags << 16)));
}

void RouteClose(TWindowSystem& ws) {
  TApplication* app = TApplication::Current();
  TWindow* target = app ? app->GetMainWindow() : nullptr;
  if (!target || !target->IsWindow()) target = GetWindowPtr(WindowState(ws).active);
  if (!target) target = GetWindowPtr(GetTopWindow(nullptr));
  if (target)
    target->PostMessage(WM_CLOSE);
  else
    PostQuitMessage(0);
}

}  // namespace

void TInputRouter::Route(const InputEvent& e) {
  TWindowSystem& ws = TWindowSystem::Get();
  switch (e.kind) {
    case InputKind::MouseMove: {
      SetModifiers(ws, e.modifiers);
      WindowState(ws).cursorX = e.x;
      WindowState(ws).cursorY = e.y;
      TWindow* w = MouseTarget(ws);
      if (!w) return;
      HWND h = w->GetHandle();
      if (!WindowState(ws).capture) {
        if (w->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(h),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == 0)
          SetCursor(TCursorShape::Arrow);  // nobody chose a shape here
        w = GetWindowPtr(h);
        if (!w) return;
      }
      Deliver(h, WM_MOUSEMOVE, MouseKeys(ws), ClientPoint(*w, ws));
      return;
    }
    case InputKind::ButtonDown:
      SetModifiers(ws, e.modifiers);
      WindowState(ws).cursorX = e.x;
      WindowState(ws).cursorY = e.y;
      RouteButtonDown(ws, e);
      return;
    case InputKind::ButtonUp:
      SetModifiers(ws, e.modifiers);
      WindowState(ws).cursorX = e.x;
      WindowState(ws).cursorY = e.y;
      RouteButtonUp(ws, e);
      return;
    case InputKind::Wheel: {
      TWindow* w = KeyTarget(ws);
      if (!w) return;
      Deliver(w->GetHandle(), WM_MOUSEWHEEL,
              MAKEWPARAM(uint16_t(MouseKeys(ws)), uint16_t(int16_t(e.wheelDelta))),
              MAKEPOINTLPARAM(e.x, e.y));
      return;
    }
    case InputKind::KeyDown:
    case InputKind::KeyUp: RouteKey(ws, e); return;
    case InputKind::Char: {
      TWindow* w = KeyTarget(ws);
      if (!w || !w->IsWindowEnabled() || e.character == 0 || e.character > 0xFF) return;
      Deliver(w->GetHandle(), WM_CHAR, e.character, 1);
      return;
    }
    case InputKind::FocusLost:
      for (uint8_t& k : WindowState(ws).keyState) k = 0;
      if (WindowState(ws).capture) ReleaseCapture();
      return;
    case InputKind::Close: RouteClose(ws); return;
    case InputKind::Expose: {
      TScreen& s = ws.Screen();
      s.MarkDirty(s.Bounds());
      return;
    }
  }
}

}  // namespace quill
