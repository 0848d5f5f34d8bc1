#include "framework/dc.h"

#include <cstring>

#include "framework/screen.h"
#include "framework/window.h"
#include "framework/window_system.h"

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

TRect TDC::GetClipBox() const { return clip_.Bounds().OffsetBy(-origin_.x, -origin_.y); }

void TDC::IntersectClipRect(const TRect& logical) {
  clip_.Intersect(logical.OffsetBy(origin_.x, origin_.y));
}

bool TDC::PtVisible(const TPoint& logical) const { return clip_.Contains(logical + origin_); }

uint8_t TDC::MapColor(TColor c) const {
  if (target_.screen) return target_.screen->NearestIndex(c);
  return TWindowSystem::Get().Screen().NearestIndex(c);
}

void TDC::FillRect(const TRect& logical, TColor color) {
  if (color == TColor::None || color == TColor::Transparent) return;
  FillRectIndex(logical, MapColor(color));
}

void TDC::FillRectIndex(const TRect& logical, uint8_t index) {
  TRect device = logical.OffsetBy(origin_.x, origin_.y);
  for (const TRect& c : clip_.Rects()) {
    TRect part = device & c;
    if (part.IsEmpty()) continue;
    size_t width = size_t(part.Width());
    for (int y = part.top; y < part.bottom; ++y)
      std::memset(target_.pixels + size_t(y) * target_.stride + size_t(part.left), index, width);
    MarkDirty(part);
  }
}

void TDC::SetPixel(int x, int y, TColor color) {
  TPoint p(x + origin_.x, y + origin_.y);
  if (!clip_.Contains(p)) return;
  target_.pixels[size_t(p.y) * target_.stride + size_t(p.x)] = MapColor(color);
  MarkDirty({p.x, p.y, p.x + 1, p.y + 1});
}

int TDC::GetPixelIndex(int x, int y) const {
  int dx = x + origin_.x, dy = y + origin_.y;
  if (dx < 0 || dy < 0 || dx >= target_.width || dy >= target_.height) return -1;
  return target_.pixels[size_t(dy) * target_.stride + size_t(dx)];
}

void TDC::MarkDirty(const TRect& device) {
  if (target_.screen) target_.screen->MarkDirty(device);
}

TClientDC::TClientDC(TWindow& window) {
  target_ = ScreenTarget();
  origin_ = window.ClientOriginOnScreen();
  clip_ = window.VisibleRegion(true);
}

TWindowDC::TWindowDC(TWindow& window) {
  target_ = ScreenTarget();
  origin_ = window.GetWindowRect().TopLeft();
  clip_ = window.VisibleRegion(false);
}

TPaintDC::TPaintDC(TWindow& window) {
  target_ = ScreenTarget();
  origin_ = window.ClientOriginOnScreen();
  bool erasePending = false;
  TRegion update = window.TakeUpdateRegion(erasePending);
  Rect = update.Bounds();
  clip_ = window.VisibleRegion(true);
  update.Offset(origin_.x, origin_.y);
  clip_.Intersect(update);
  if (erasePending) Erase = window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(this)) == 0;
}

TScreenDC::TScreenDC() {
  target_ = ScreenTarget();
  clip_ = TRegion(TRect(0, 0, target_.width, target_.height));
}

}  // namespace quill
