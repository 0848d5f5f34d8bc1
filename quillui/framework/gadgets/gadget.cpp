#include "quillui/framework/gadgets/gadget.h"

#include <algorithm>
#include <cstdint>

#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/window.h"

namespace quill {

int LayoutUnitsToPixels(int units, int fontHeight) {
  int64_t n = int64_t(units) * fontHeight;
  int64_t r = n >= 0 ? (n + 4) / 8 : -((-n + 4) / 8);
  return int(std::clamp<int64_t>(r, INT32_MIN, INT32_MAX));
}

void TMargins::GetPixels(int& left, int& right, int& top, int& bottom, int fontHeight) const {
  switch (Units) {
    case Pixels:
      left = Left;
      right = Right;
      top = Top;
      bottom = Bottom;
      return;
    case LayoutUnits:
      left = LayoutUnitsToPixels(Left, fontHeight);
      right = LayoutUnitsToPixels(Right, fontHeight);
      top = LayoutUnitsToPixels(Top, fontHeight);
      bottom = LayoutUnitsToPixels(Bottom, fontHeight);
      return;
    case BorderUnits: {
      int cx = GetSystemMetrics(SM_CXBORDER), cy = GetSystemMetrics(SM_CYBORDER);
      left = Left * cx;
      right = Right * cx;
      top = Top * cy;
      bottom = Bottom * cy;
      return;
    }
  }
  left = right = top = bottom = 0;
}

TGadget::TGadget(int id, TBorderStyle borderStyle) : id_(id) { SetBorderStyle(borderStyle); }

TGadget::~TGadget() {
  if (list_) list_->Remove(*this);
}

void TGadget::SetBorderStyle(TBorderStyle style) {
  borderStyle_ = style;
  int width = style == None ? 0 : style == Embossed ? 2 : 1;
  SetBorders({width, width, width, width});
}

void TGadget::SetBorders(const TBorders& borders) {
  if (borders == borders_) return;
  borders_ = borders;
  if (window_) window_->GadgetChangedSize(*this);
}

void TGadget::SetMargins(const TMargins& margins) {
  if (margins == margins_) return;
  margins_ = margins;
  if (window_) window_->GadgetChangedSize(*this);
}

int TGadget::WindowFontHeight() const { return window_ ? window_->GetFontHeight() : 0; }

void TGadget::GetOuterSizes(int& left, int& right, int& top, int& bottom) const {
  margins_.GetPixels(left, right, top, bottom, WindowFontHeight());
  left += borders_.Left;
  right += borders_.Right;
  top += borders_.Top;
  bottom += borders_.Bottom;
}

void TGadget::SetShrinkWrap(bool width, bool height) {
  if (width == shrinkWrapWidth_ && height == shrinkWrapHeight_) return;
  shrinkWrapWidth_ = width;
  shrinkWrapHeight_ = height;
  if (window_) window_->GadgetChangedSize(*this);
}

void TGadget::SetWideAsPossible(bool wide) {
  if (wide == wideAsPossible_) return;
  wideAsPossible_ = wide;
  if (window_) window_->GadgetChangedSize(*this);
}

void TGadget::SetVisible(bool visible) {
  if (visible == visible_) return;
  // Invalidate while visible, before hiding and after showing, so the area changes on screen.
  if (!visible) Invalidate();
  visible_ = visible;
  if (visible) Invalidate();
  if (window_) window_->GadgetChangedSize(*this);
}

void TGadget::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
}

void TGadget::GetDesiredSize(TSize& size) {
  int left, right, top, bottom;
  GetOuterSizes(left, right, top, bottom);
  size.cx = shrinkWrapWidth_ ? left + right : bounds_.Width();
  size.cy = shrinkWrapHeight_ ? top + bottom : bounds_.Height();
}

void TGadget::SetBounds(const TRect& bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Moved();
}

bool TGadget::IdleAction(long idleCount) {
  if (idleCount == 0) CommandEnable();
  return false;
}

void TGadget::CommandEnable() {}
void TGadget::SysColorChange() {}
void TGadget::Created() {}
void TGadget::Inserted() {}
void TGadget::Moved() {}
void TGadget::Removed() {}

bool TGadget::PtIn(const TPoint& point) {
  return visible_ && point.x >= 0 && point.y >= 0 && point.x < bounds_.Width() &&
         point.y < bounds_.Height();
}

void TGadget::Paint(TDC& dc) { PaintBorder(dc); }

void TGadget::PaintBorder(TDC& dc) { PaintBorderStyle(dc, borderStyle_); }

void TGadget::PaintBorderStyle(TDC& dc, TBorderStyle style) {
  if (style == None) return;
  const int w = bounds_.Width(), h = bounds_.Height();
  const int rings = std::max({borders_.Left, borders_.Right, borders_.Top, borders_.Bottom});
  for (int k = 0; k < rings && 2 * k < std::min(w, h); ++k) {
    // Each ring is one pixel wide; the top-left colour is drawn first so that the
    // bottom-right colour owns the top-right and bottom-left corners, as 3-D edges do.
    TColor topLeft = kGadgetFrameColor, bottomRight = kGadgetFrameColor;
    bool raised = style == Raised || (style == Embossed && k % 2 == 0);
    if (style != Plain) {
      topLeft = raised ? kGadgetHighlightColor : kGadgetShadowColor;
      bottomRight = raised ? kGadgetShadowColor : kGadgetHighlightColor;
    }
    if (k < borders_.Top) dc.FillRect({k, k, w - 1 - k, k + 1}, topLeft);
    if (k < borders_.Left) dc.FillRect({k, k, k + 1, h - 1 - k}, topLeft);
    if (k < borders_.Bottom) dc.FillRect({k, h - 1 - k, w - k, h - k}, bottomRight);
    if (k < borders_.Right) dc.FillRect({w - 1 - k, k, w - k, h - k}, bottomRight);
  }
}

void TGadget::MouseEnter(UINT, const TPoint&) {}
void TGadget::MouseMove(UINT, const TPoint&) {}
void TGadget::MouseLeave(UINT, const TPoint&) {}

void TGadget::LButtonDown(UINT, const TPoint&) {
  if (trackMouse_ && window_) window_->GadgetSetCapture(*this);
}

void TGadget::LButtonUp(UINT, const TPoint&) {
  if (trackMouse_ && window_) window_->GadgetReleaseCapture(*this);
}

void TGadget::GetInnerRect(TRect& rect) {
  int left, right, top, bottom;
  GetOuterSizes(left, right, top, bottom);
  rect = TRect(left, top, bounds_.Width() - right, bounds_.Height() - bottom);
}

void TGadget::Invalidate(bool erase) { InvalidateRect(TRect(TPoint(), bounds_.Size()), erase); }

void TGadget::InvalidateRect(const TRect& rect, bool erase) {
  if (!window_ || !window_->IsWindow()) return;
  TRect r = rect.OffsetBy(bounds_.left, bounds_.top) & bounds_;
  if (!r.IsEmpty()) window_->InvalidateRect(r, erase);
}

void TGadget::Update() {
  if (window_ && window_->IsWindow()) window_->UpdateWindow();
}

// --- TSeparatorGadget ------------------------------------------------------------------------

TSeparatorGadget::TSeparatorGadget(int size) : TGadget(0, None), size_(std::max(size, 0)) {
  SetEnabled(false);
}

void TSeparatorGadget::GetDesiredSize(TSize& size) {
  TGadgetWindow* w = GetGadgetWindow();
  if (!w) {
    size = TSize(size_, size_);
  } else if (w->GetDirection() == TGadgetWindow::Horizontal) {
    size = TSize(size_, 0);
  } else {
    size = TSize(0, size_);
  }
}

void TSeparatorGadget::Paint(TDC&) {}

}  // namespace quill
