// The device contexts of windows, and handing what was drawn to the display.
#include "quillui/framework/window/window_dc.h"

#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {

TPixelTarget ScreenTarget() {
  TScreen& screen = TWindowSystem::Get().Screen();
  TPixelTarget t;
  t.pixels = screen.Surface().Pixels();
  t.stride = screen.Surface().Stride();
  t.width = screen.Width();
  t.height = screen.Height();
  t.screen = &screen;
  return t;
}

}  // namespace

TClientDC::TClientDC(TWindow& window) {
  target_ = ScreenTarget();
  origin_ = window.ClientOriginOnScreen();
  SetBaseClip(window.VisibleRegion(true));
}

TWindowDC::TWindowDC(TWindow& window) {
  target_ = ScreenTarget();
  origin_ = window.GetWindowRect().TopLeft();
  SetBaseClip(window.VisibleRegion(false));
}

TPaintDC::TPaintDC(TWindow& window) {
  target_ = ScreenTarget();
  origin_ = window.ClientOriginOnScreen();
  bool erasePending = false;
  TRegion update = window.TakeUpdateRegion(erasePending);
  Rect = update.Bounds();
  TRegion visible = window.VisibleRegion(true);
  update.Offset(origin_.x, origin_.y);
  visible.Intersect(update);
  SetBaseClip(visible);
  if (erasePending) Erase = window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(this)) == 0;
}

bool GdiFlush() {
  if (!TWindowSystem::IsInstalled()) return true;
  TWindowSystem& ws = TWindowSystem::Get();
  platform::ScreenSurface& surface = ws.Screen().Surface();
  if (surface.Dirty().empty() && !surface.PaletteDirty()) return true;
  ws.Backend().Present(surface);
  surface.ClearDirty();
  return true;
}

}  // namespace quill
