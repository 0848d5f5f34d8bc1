// The handle-level functions of the window framework.
#include <algorithm>

#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_state_internal.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {

// The deepest window under p inside parent's client area, skipping hidden and disabled child
// windows and those that answer HTTRANSPARENT.
TWindow* FindAt(TWindow& parent, const TPoint& p) {
  for (TWindow* c : std::vector<TWindow*>(parent.GetZOrder())) {
    if (!c->IsWindow() || !(c->GetStyle() & WS_VISIBLE)) continue;
    if (!c->GetWindowRect().Contains(p)) continue;
    if (!c->IsTopLevel() && !c->IsWindowEnabled()) continue;
    HWND h = c->GetHandle();
    LRESULT hit = c->SendMessage(WM_NCHITTEST, 0, MAKEPOINTLPARAM(p.x, p.y));
    if (!GetWindowPtr(h)) continue;
    if (hit == HTTRANSPARENT) continue;
    if (!c->IsWindowEnabled()) return c;  // a disabled pop-up swallows the point
    TRect client = c->GetClientRect();
    c->ClientToScreen(client);
    if (client.Contains(p))
      if (TWindow* deeper = FindAt(*c, p)) return deeper;
    return c;
  }
  return nullptr;
}

}  // namespace

TWindow* GetWindowPtr(HWND hwnd) {
  if (!hwnd || !TWindowSystem::IsInstalled()) return nullptr;
  return TWindowSystem::Get().Lookup(hwnd);
}

bool IsWindow(HWND hwnd) { return GetWindowPtr(hwnd) != nullptr; }

bool IsWindowVisible(HWND hwnd) {
  TWindow* w = GetWindowPtr(hwnd);
  return w && w->IsWindowVisible();
}

bool IsWindowEnabled(HWND hwnd) {
  TWindow* w = GetWindowPtr(hwnd);
  return w && w->IsWindowEnabled();
}

HWND GetParent(HWND hwnd) {
  TWindow* w = GetWindowPtr(hwnd);
  return w ? w->GetParent() : nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  TWindow* w = GetWindowPtr(hwnd);
  return w ? w->GetWindow(cmd) : nullptr;
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return TWindowSystem::Get().Desktop().GetTopWindow();
  TWindow* w = GetWindowPtr(hwnd);
  return w ? w->GetTopWindow() : nullptr;
}

bool IsChild(HWND parent, HWND hwnd) {
  TWindow* p = GetWindowPtr(parent);
  return p && p->IsChild(hwnd);
}

HWND GetDesktopWindow() { return TWindowSystem::Get().Desktop().GetHandle(); }

void EnumWindows(bool (*fn)(HWND, LPARAM), LPARAM param) {
  std::vector<HWND> tops;
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) tops.push_back(h);
  for (HWND h : tops)
    if (IsWindow(h) && !fn(h, param)) return;
}

bool BringWindowToTop(HWND hwnd) {
  TWindow* w = GetWindowPtr(hwnd);
  if (!w) return false;
  w->BringWindowToTop();
  return true;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWindow* w = GetWindowPtr(hwnd);
  return w ? w->SendMessage(msg, wp, lp) : 0;
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  // Safe from any thread: only the queue is touched here; the handle is checked when the
  // message is taken from the queue on the user-interface thread.
  if (!TWindowSystem::IsInstalled()) return false;
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wp;
  m.lParam = lp;
  TWindowSystem::Get().Post(m);
  return true;
}

void PostQuitMessage(int exitCode) {
  TWindowSystem& ws = TWindowSystem::Get();
  WindowState(ws).quitPosted = true;
  WindowState(ws).quitCode = exitCode;
  ws.Backend().Wake();
}

HWND SetFocus(HWND hwnd) {
  TWindowSystem& ws = TWindowSystem::Get();
  HWND old = WindowState(ws).focus;
  if (hwnd == old) return old;
  TWindow* w = GetWindowPtr(hwnd);
  if (hwnd && (!w || !w->IsWindowEnabled())) return nullptr;
  if (TWindow* o = GetWindowPtr(old)) o->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd));
  WindowState(ws).focus = hwnd;
  if (w && GetWindowPtr(hwnd) && WindowState(ws).focus == hwnd)
    w->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(old));
  return old;
}

HWND GetFocus() { return WindowState(TWindowSystem::Get()).focus; }

HWND SetCapture(HWND hwnd) {
  TWindowSystem& ws = TWindowSystem::Get();
  HWND old = WindowState(ws).capture;
  if (!GetWindowPtr(hwnd)) return old;
  WindowState(ws).capture = hwnd;
  if (old && old != hwnd)
    if (TWindow* o = GetWindowPtr(old))
      o->SendMessage(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

bool ReleaseCapture() {
  TWindowSystem& ws = TWindowSystem::Get();
  HWND old = WindowState(ws).capture;
  WindowState(ws).capture = nullptr;
  if (TWindow* o = GetWindowPtr(old)) o->SendMessage(WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() { return WindowState(TWindowSystem::Get()).capture; }

HWND GetActiveWindow() { return WindowState(TWindowSystem::Get()).active; }

bool GetCursorPos(TPoint& p) {
  const TWindowSystem& ws = TWindowSystem::Get();
  p = TPoint(WindowState(ws).cursorX, WindowState(ws).cursorY);
  return true;
}

HWND WindowFromPoint(const TPoint& screenPoint) {
  TWindow& desktop = TWindowSystem::Get().Desktop();
  if (!desktop.GetWindowRect().Contains(screenPoint)) return nullptr;
  TWindow* w = FindAt(desktop, screenPoint);
  return w ? w->GetHandle() : desktop.GetHandle();
}

bool ClientToScreen(HWND hwnd, TPoint& p) {
  TWindow* w = GetWindowPtr(hwnd);
  if (!w) return false;
  w->ClientToScreen(p);
  return true;
}

bool ScreenToClient(HWND hwnd, TPoint& p) {
  TWindow* w = GetWindowPtr(hwnd);
  if (!w) return false;
  w->ScreenToClient(p);
  return true;
}

int MapWindowPoints(HWND from, HWND to, TPoint* points, int count) {
  TPoint delta;
  if (TWindow* f = GetWindowPtr(from)) delta += f->ClientOriginOnScreen();
  if (TWindow* t = GetWindowPtr(to)) delta -= t->ClientOriginOnScreen();
  for (int i = 0; i < count; ++i) points[i] += delta;
  return MAKELPARAM(uint16_t(delta.x), uint16_t(delta.y));
}

int GetSystemMetrics(int index) {
  TWindowSystem& ws = TWindowSystem::Get();
  switch (index) {
    case SM_CXSCREEN: return ws.Screen().Width();
    case SM_CYSCREEN: return ws.Screen().Height();
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    default: return 0;
  }
}

UINT GetDoubleClickTime() { return WindowState(TWindowSystem::Get()).doubleClickTimeMs; }

void SetDoubleClickTime(UINT ms) {
  WindowState(TWindowSystem::Get()).doubleClickTimeMs =
      ms == 0 ? kDefaultDoubleClickTimeMs : std::min<UINT>(ms, 5000);
}

int16_t GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  return (WindowState(TWindowSystem::Get()).keyState[virtualKey] & 0x80) ? int16_t(0x8000) : 0;
}

uint64_t GetTickCount() { return TWindowSystem::Get().NowMs(); }

}  // namespace quill
