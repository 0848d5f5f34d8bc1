// TWindow's invalidation, visible regions and the paint pass of the message loop.
#include <algorithm>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/paint_pass.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_dc.h"
#include "quillui/framework/window/window_state_internal.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {
// Update regions are simplified to their bounds past this many rectangles: painting a little
// more is harmless, an unbounded list is not.
constexpr size_t kMaxUpdateRects = 32;

bool UnderLockedWindow(const TWindow* w) {
  HWND locked = WindowState(TWindowSystem::Get()).locked;
  if (!locked) return false;
  for (; w; w = GetWindowPtr(w->IsTopLevel() ? nullptr : GetParent(w->GetHandle())))
    if (w->GetHandle() == locked) return true;
  return false;
}
}  // namespace

TRegion TWindow::VisibleRegion(bool clientOnly) const {
  if (!IsWindowVisible()) return {};
  TRect area = clientOnly ? GetClientRect() : TRect(TPoint(), bounds_.Size());
  TPoint origin = clientOnly ? ClientOriginOnScreen() : GetWindowRect().TopLeft();
  TRegion rgn(area.OffsetBy(origin.x, origin.y));
  for (const TWindow* w = this; w->treeParent_ && !rgn.IsEmpty(); w = w->treeParent_) {
    const TWindow* p = w->treeParent_;
    TRect parentClient = p->GetClientRect();
    p->ClientToScreen(parentClient);
    rgn.Intersect(parentClient);
    if (w->ClipsSiblings()) {
      for (const TWindow* s : p->zOrder_) {
        if (s == w) break;
        if (s->Attr.Style & WS_VISIBLE) rgn.Subtract(s->GetWindowRect());
      }
    }
  }
  if (Attr.Style & WS_CLIPCHILDREN) {
    for (const TWindow* c : zOrder_)
      if (c->Attr.Style & WS_VISIBLE) rgn.Subtract(c->GetWindowRect());
  }
  return rgn;
}

TRegion TWindow::TakeUpdateRegion(bool& erasePending) {
  TRegion r = std::move(update_);
  update_.Clear();
  erasePending = erasePending_;
  erasePending_ = false;
  return r;
}

void TWindow::InvalidateTree(const TRegion& clientRegion, bool erase, bool allChildren) {
  if (!handle_) return;
  TRegion r = clientRegion;
  r.Intersect(GetClientRect());
  if (r.IsEmpty()) return;
  update_.Union(r);
  update_.Simplify(kMaxUpdateRects);
  if (erase) erasePending_ = true;
  // A parent that paints over its children (no WS_CLIPCHILDREN) takes them along.
  if (!allChildren && (Attr.Style & WS_CLIPCHILDREN)) return;
  for (TWindow* c : zOrder_) {
    if (!(c->Attr.Style & WS_VISIBLE)) continue;
    if (!r.Touches(c->bounds_)) continue;
    TRegion cr = r;
    cr.Offset(-c->bounds_.left - c->BorderWidth(), -c->bounds_.top - c->BorderWidth());
    c->InvalidateTree(cr, erase, allChildren);
  }
}

void TWindow::ValidateTree(const TRegion& clientRegion, bool allChildren) {
  if (!handle_) return;
  update_.Subtract(clientRegion);
  if (update_.IsEmpty()) erasePending_ = false;
  if (!allChildren && (Attr.Style & WS_CLIPCHILDREN)) return;
  for (TWindow* c : zOrder_) {
    TRegion cr = clientRegion;
    cr.Offset(-c->bounds_.left - c->BorderWidth(), -c->bounds_.top - c->BorderWidth());
    c->ValidateTree(cr, allChildren);
  }
}

void TWindow::Invalidate(bool erase) { InvalidateRect(GetClientRect(), erase); }

void TWindow::InvalidateRect(const TRect& rect, bool erase) {
  InvalidateTree(TRegion(rect), erase, false);
}

void TWindow::InvalidateRgn(const TRegion& region, bool erase) {
  InvalidateTree(region, erase, false);
}

void TWindow::Validate() { ValidateTree(TRegion(GetClientRect()), false); }

void TWindow::ValidateRect(const TRect& rect) { ValidateTree(TRegion(rect), false); }

bool TWindow::GetUpdateRect(TRect& rect, bool erase) {
  rect = update_.Bounds();
  if (erase && erasePending_ && !update_.IsEmpty()) {
    TClientDC dc(*this);
    erasePending_ = false;
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<TDC*>(&dc)));
  }
  return !update_.IsEmpty();
}

void TWindow::UpdateWindow() {
  if (!handle_ || update_.IsEmpty() || UnderLockedWindow(this)) return;
  TPaintPass::PaintOne(*this);
}

bool TWindow::RedrawWindow(const TRect* update, const TRegion* region, UINT flags) {
  if (!handle_) return false;
  TRegion r;
  if (region)
    r = *region;
  else if (update)
    r = TRegion(*update);
  else
    r = TRegion(GetClientRect());
  bool allChildren = (flags & RDW_ALLCHILDREN) != 0;
  if (flags & RDW_INVALIDATE) {
    bool erase = (flags & RDW_ERASE) != 0;
    if (flags & RDW_NOCHILDREN) {
      TRegion own = r;
      own.Intersect(GetClientRect());
      update_.Union(own);
      update_.Simplify(kMaxUpdateRects);
      if (erase && !own.IsEmpty()) erasePending_ = true;
    } else {
      InvalidateTree(r, erase, allChildren);
    }
  } else if (flags & RDW_VALIDATE) {
    if (flags & RDW_NOCHILDREN) {
      update_.Subtract(r);
    } else {
      ValidateTree(r, allChildren);
    }
  }
  if (flags & RDW_NOERASE) erasePending_ = false;
  if (flags & RDW_UPDATENOW) {
    if (allChildren)
      TPaintPass::PaintTree(*this);
    else
      UpdateWindow();
  } else if ((flags & RDW_ERASENOW) && erasePending_) {
    TRect ignored;
    GetUpdateRect(ignored, true);
  }
  return true;
}

bool TWindow::LockWindowUpdate(bool lock) {
  return quill::LockWindowUpdate(lock ? handle_ : nullptr);
}

HWND GetWindowUpdateLock() { return WindowState(TWindowSystem::Get()).locked; }

bool LockWindowUpdate(HWND hwnd) {
  TWindowSystem& ws = TWindowSystem::Get();
  if (hwnd) {
    if (WindowState(ws).locked && WindowState(ws).locked != hwnd)
      return false;  // only one window at a time
    if (!GetWindowPtr(hwnd)) return false;
    WindowState(ws).locked = hwnd;
    return true;
  }
  // Unlocking: what was deferred paints at the next paint pass.
  WindowState(ws).locked = nullptr;
  return true;
}

// --- The paint pass ---------------------------------------------------------------------------

bool TPaintPass::PaintOne(TWindow& w) {
  if (!w.handle_ || (w.update_.IsEmpty() && !w.erasePending_)) return false;
  if (!w.IsWindowVisible()) {
    w.update_.Clear();
    w.erasePending_ = false;
    return false;
  }
  if (w.BorderWidth() > 0) {
    TWindowDC dc(w);
    TRect whole(TPoint(), w.bounds_.Size());
    TRect inner = whole.InflatedBy(-w.BorderWidth(), -w.BorderWidth());
    TRegion frame(whole);
    frame.Subtract(inner);
    for (const TRect& r : frame.Rects()) dc.FillRect(r, TColor::Black);
  }
  HWND h = w.handle_;
  w.SendMessage(WM_PAINT);
  // A handler that drew nothing must not be asked again and again.
  if (TWindow* still = GetWindowPtr(h)) {
    still->update_.Clear();
    still->erasePending_ = false;
  }
  return true;
}

bool TPaintPass::PaintTree(TWindow& root) {
  bool painted = false;
  HWND h = root.handle_;
  if (!UnderLockedWindow(&root)) painted = PaintOne(root);
  TWindow* self = GetWindowPtr(h);
  if (!self) return painted;
  // Bottom of the stack first, so higher windows paint last.
  std::vector<HWND> kids;
  for (auto it = self->zOrder_.rbegin(); it != self->zOrder_.rend(); ++it)
    kids.push_back((*it)->handle_);
  for (HWND k : kids)
    if (TWindow* c = GetWindowPtr(k); c && (c->Attr.Style & WS_VISIBLE))
      painted = PaintTree(*c) || painted;
  return painted;
}

bool TPaintPass::PaintPending() { return PaintTree(TWindowSystem::Get().Desktop()); }

bool TPaintPass::HasPendingPaint() {
  std::vector<const TWindow*> stack{&TWindowSystem::Get().Desktop()};
  while (!stack.empty()) {
    const TWindow* w = stack.back();
    stack.pop_back();
    if (!w->update_.IsEmpty() || w->erasePending_) {
      if (!UnderLockedWindow(w)) return true;
    }
    for (const TWindow* c : w->zOrder_)
      if (c->Attr.Style & WS_VISIBLE) stack.push_back(c);
  }
  return false;
}

}  // namespace quill
