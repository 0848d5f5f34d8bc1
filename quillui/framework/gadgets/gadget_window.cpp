#include "quillui/framework/gadgets/gadget_window.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/dc_state_saver.h"
#include "quillui/framework/image/cel_array.h"

namespace quill {

namespace {

TPoint ToGadget(const TGadget& gadget, const TPoint& point) {
  return point - gadget.GetBounds().TopLeft();
}

int ClampToInt(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

// --- TGadgetList ---------------------------------------------------------------------------------

TGadgetList::~TGadgetList() { DeleteAllGadgets(); }

void TGadgetList::DeleteAllGadgets() {
  while (TGadget* g = first_) {
    Unlink(*g);
    g->window_ = nullptr;
    delete g;
  }
}

void TGadgetList::Link(TGadget& gadget, TPlacement placement, TGadget* sibling) {
  if (sibling && (sibling == &gadget || sibling->list_ != this)) sibling = nullptr;
  TGadget* prev = nullptr;  // the gadget that will precede the new one
  if (sibling) {
    if (placement == After) {
      prev = sibling;
    } else {
      for (TGadget* g = first_; g && g != sibling; g = g->next_) prev = g;
    }
  } else if (placement == After) {
    prev = last_;
  }
  gadget.next_ = prev ? prev->next_ : first_;
  if (prev)
    prev->next_ = &gadget;
  else
    first_ = &gadget;
  if (!gadget.next_) last_ = &gadget;
  gadget.list_ = this;
  ++count_;
  ++changes_;
}

void TGadgetList::Unlink(TGadget& gadget) {
  TGadget* prev = nullptr;
  for (TGadget* g = first_; g && g != &gadget; g = g->next_) prev = g;
  if (prev)
    prev->next_ = gadget.next_;
  else
    first_ = gadget.next_;
  if (last_ == &gadget) last_ = prev;
  gadget.next_ = nullptr;
  gadget.list_ = nullptr;
  --count_;
  ++changes_;
}

void TGadgetList::Insert(TGadget& gadget, TPlacement placement, TGadget* sibling) {
  if (gadget.list_) {
    if (sibling == &gadget) return;  // already where it was asked to be
    gadget.list_->Remove(gadget);
  }
  Link(gadget, placement, sibling);
  Inserted(gadget);
}

void TGadgetList::InsertFrom(TGadgetList& list, TPlacement placement, TGadget* sibling) {
  if (&list == this) return;
  TGadget* anchor = sibling;
  while (TGadget* g = list.first_) {
    list.Remove(*g);
    Insert(*g, placement, anchor);
    // The rest follow the first one, keeping their order.
    anchor = g;
    placement = After;
  }
}

TGadget* TGadgetList::Remove(TGadget& gadget) {
  if (gadget.list_ != this) return nullptr;
  Unlink(gadget);
  Removed(gadget);
  return &gadget;
}

TGadget* TGadgetList::GadgetWithId(int id) const {
  for (TGadget* g = first_; g; g = g->next_)
    if (g->GetId() == id) return g;
  return nullptr;
}

bool TGadgetList::Contains(const TGadget* gadget) const {
  for (const TGadget* g = first_; g; g = g->next_)
    if (g == gadget) return true;
  return false;
}

void TGadgetList::Inserted(TGadget&) {}
void TGadgetList::Removed(TGadget&) {}

// --- TGadgetWindow -------------------------------------------------------------------------------

TGadgetWindow::TLayoutSession::TLayoutSession(TGadgetWindow& window) : window_(window) {
  ++window_.sessionDepth_;
}

TGadgetWindow::TLayoutSession::~TLayoutSession() {
  if (--window_.sessionDepth_ > 0 || !window_.layoutPending_) return;
  window_.layoutPending_ = false;
  if (window_.IsWindow()) window_.LayoutSession();
}

TGadgetWindow::TGadgetWindow(TWindow* parent, TTileDirection direction, TFont* font,
                             TModule* module)
    : TWindow(parent, nullptr, module),
      direction_(direction),
      font_(font ? font : new TGadgetWindowFont()),
      shrinkWrapWidth_(direction == Vertical),
      shrinkWrapHeight_(direction == Horizontal) {
  Attr.Style |= WS_CLIPCHILDREN;
}

TGadgetWindow::~TGadgetWindow() {
  atMouse_ = nullptr;
  capture_ = nullptr;
  DeleteAllGadgets();
}

bool TGadgetWindow::Create() {
  if (!IsWindow() && (shrinkWrapWidth_ || shrinkWrapHeight_)) {
    TSize desired;
    GetDesiredSize(desired);
    if (shrinkWrapWidth_) Attr.W = desired.cx;
    if (shrinkWrapHeight_) Attr.H = desired.cy;
  }
  return TWindow::Create();
}

void TGadgetWindow::SetupWindow() {
  TWindow::SetupWindow();
  LayoutGadgets();
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) g->Created();
}

void TGadgetWindow::SetDirection(TTileDirection direction) {
  if (direction == direction_) return;
  direction_ = direction;
  RequestLayout();
}

void TGadgetWindow::Insert(TGadget& gadget, TPlacement placement, TGadget* sibling) {
  TGadgetList::Insert(gadget, placement, sibling);
  RequestLayout();
}

void TGadgetWindow::InsertFrom(TGadgetList& list, TPlacement placement, TGadget* sibling) {
  TLayoutSession session(*this);
  TGadgetList::InsertFrom(list, placement, sibling);
}

TGadget* TGadgetWindow::Remove(TGadget& gadget) {
  TGadget* removed = TGadgetList::Remove(gadget);
  if (removed) RequestLayout();
  return removed;
}

void TGadgetWindow::Inserted(TGadget& gadget) {
  gadget.window_ = this;
  gadget.Inserted();
  if (IsWindow()) gadget.Created();
}

void TGadgetWindow::Removed(TGadget& gadget) {
  if (atMouse_ == &gadget) atMouse_ = nullptr;
  if (capture_ == &gadget) GadgetReleaseCapture(gadget);
  TRect old = gadget.GetBounds();
  gadget.Removed();
  gadget.window_ = nullptr;
  if (IsWindow() && gadget.IsVisible()) InvalidateRect(old);
}

void TGadgetWindow::SetCelArray(TCelArray* cels) { cels_.reset(cels); }

void TGadgetWindow::RequestLayout() {
  if (sessionDepth_ > 0) {
    layoutPending_ = true;
    return;
  }
  if (IsWindow()) LayoutSession();
}

void TGadgetWindow::GadgetChangedSize(TGadget&) { RequestLayout(); }

void TGadgetWindow::LayoutSession() {
  if (!IsWindow()) return;
  if (shrinkWrapWidth_ || shrinkWrapHeight_) {
    TSize desired;
    GetDesiredSize(desired);
    TRect b = GetBounds();
    int w = shrinkWrapWidth_ ? desired.cx : b.Width();
    int h = shrinkWrapHeight_ ? desired.cy : b.Height();
    if (w != b.Width() || h != b.Height())
      SetWindowPos(nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Also after a resize: a derived window may not lay out on WM_SIZE.
  LayoutGadgets();
}

int TGadgetWindow::SystemBorder() const { return (Attr.Style & WS_BORDER) ? 1 : 0; }

void TGadgetWindow::GetDesiredSize(TSize& size) {
  int left, right, top, bottom;
  margins_.GetPixels(left, right, top, bottom, GetFontHeight());
  int64_t along = 0, across = 0;
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) {
    if (!g->IsVisible()) continue;
    TSize d;
    g->GetDesiredSize(d);
    int a = direction_ == Horizontal ? d.cx : d.cy;
    int c = direction_ == Horizontal ? d.cy : d.cx;
    along += std::max(a, 0);
    across = std::max<int64_t>(across, c);
  }
  int64_t contentW = direction_ == Horizontal ? along : across;
  int64_t contentH = direction_ == Horizontal ? across : along;
  int64_t bx = SystemBorder() ? 2 * int64_t(GetSystemMetrics(SM_CXBORDER)) : 0;
  int64_t by = SystemBorder() ? 2 * int64_t(GetSystemMetrics(SM_CYBORDER)) : 0;
  size.cx = shrinkWrapWidth_ ? ClampToInt(contentW + left + right + bx) : Attr.W;
  size.cy = shrinkWrapHeight_ ? ClampToInt(contentH + top + bottom + by) : Attr.H;
}

void TGadgetWindow::SetMargins(const TMargins& margins) {
  if (margins == margins_) return;
  margins_ = margins;
  RequestLayout();
}

void TGadgetWindow::SetShrinkWrap(bool width, bool height) {
  if (width == shrinkWrapWidth_ && height == shrinkWrapHeight_) return;
  shrinkWrapWidth_ = width;
  shrinkWrapHeight_ = height;
  RequestLayout();
}

void TGadgetWindow::SetFont(TFont* font) {
  font_.reset(font ? font : new TGadgetWindowFont());
  fontHeight_ = -1;
  RequestLayout();
  if (IsWindow()) Invalidate();
}

int TGadgetWindow::GetFontHeight() const {
  if (fontHeight_ < 0) fontHeight_ = std::max(font_->GetHeight(), 0);
  return fontHeight_;
}

int TGadgetWindow::LayoutUnitsToPixels(int units) const {
  return quill::LayoutUnitsToPixels(units, GetFontHeight());
}

void TGadgetWindow::SetHintCommand(int id) { hintCommand_ = id; }

void TGadgetWindow::GetInnerRect(TRect& rect) {
  TRect client;
  if (IsWindow()) {
    client = GetClientRect();
  } else {
    int b = SystemBorder();
    client = TRect(0, 0, std::max(Attr.W - 2 * b, 0), std::max(Attr.H - 2 * b, 0));
  }
  int left, right, top, bottom;
  margins_.GetPixels(left, right, top, bottom, GetFontHeight());
  rect = TRect(client.left + left, client.top + top, client.right - right, client.bottom - bottom);
}

void TGadgetWindow::PositionGadget(TGadget*, TGadget*, TPoint&) {}

TRect TGadgetWindow::TileGadgets() {
  TRect inner;
  GetInnerRect(inner);
  struct Item {
    TGadget* gadget;
    TSize desired;
  };
  std::vector<Item> items;
  int64_t total = 0;
  int wide = 0;
  const bool horizontal = direction_ == Horizontal;
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) {
    if (!g->IsVisible()) continue;
    Item it{g, {}};
    g->GetDesiredSize(it.desired);
    it.desired.cx = std::max(it.desired.cx, 0);
    it.desired.cy = std::max(it.desired.cy, 0);
    total += horizontal ? it.desired.cx : it.desired.cy;
    if (g->GetWideAsPossible()) ++wide;
    items.push_back(it);
  }
  int64_t room = (horizontal ? inner.Width() : inner.Height()) - total;
  int64_t share = 0, odd = 0;
  if (room > 0 && wide > 0) {
    share = room / wide;
    odd = room % wide;
  }

  TRect covered;
  TPoint pos = inner.TopLeft();
  TGadget* previous = nullptr;
  for (Item& it : items) {
    PositionGadget(previous, it.gadget, pos);
    TSize size = it.desired;
    if (it.gadget->GetWideAsPossible()) {
      int64_t extra = share + (odd > 0 ? 1 : 0);
      if (odd > 0) --odd;
      if (horizontal)
        size.cx = ClampToInt(size.cx + extra);
      else
        size.cy = ClampToInt(size.cy + extra);
    }
    TRect bounds;
    if (horizontal) {
      int y = inner.top + std::max((inner.Height() - size.cy) / 2, 0);
      bounds = TRect(TPoint(pos.x, y), size);
      pos.x = bounds.right;
    } else {
      int x = inner.left + std::max((inner.Width() - size.cx) / 2, 0);
      bounds = TRect(TPoint(x, pos.y), size);
      pos.y = bounds.bottom;
    }
    it.gadget->SetBounds(bounds);
    covered |= bounds;
    previous = it.gadget;
  }
  return covered.IsEmpty() ? TRect(inner.TopLeft(), inner.TopLeft()) : covered;
}

void TGadgetWindow::LayoutGadgets() {
  std::vector<std::pair<TGadget*, TRect>> before;
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) before.emplace_back(g, g->GetBounds());
  const uint64_t changes = ChangeCount();
  TileGadgets();
  if (!IsWindow()) return;
  const bool listChanged = ChangeCount() != changes;
  for (const auto& [g, old] : before) {
    // A gadget's SetBounds may have taken gadgets out; compare addresses before touching one.
    if (listChanged && !Contains(g)) continue;
    const TRect& now = g->GetBounds();
    if (now == old || !g->IsVisible()) continue;
    InvalidateRect(old);
    InvalidateRect(now);
  }
}

void TGadgetWindow::Paint(TDC& dc, bool erase, TRect& rect) { PaintGadgets(dc, erase, rect); }

void TGadgetWindow::PaintGadgets(TDC& dc, bool, TRect& rect) {
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) {
    if (!g->IsVisible() || !g->GetBounds().Touches(rect)) continue;
    // Gadgets paint in their own coordinates, clipped to their bounds; the next one finds the
    // DC as it was.
    TDCStateSaver saved(dc);
    dc.IntersectClipRect(g->GetBounds());
    dc.OffsetViewportOrg(g->GetBounds().left, g->GetBounds().top);
    g->Paint(dc);
  }
}

TGadget* TGadgetWindow::GadgetFromPoint(const TPoint& point) const {
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget())
    if (g->IsVisible() && g->PtIn(ToGadget(*g, point))) return g;
  return nullptr;
}

bool TGadgetWindow::GadgetSetCapture(TGadget& gadget) {
  if (capture_ || gadget.GetGadgetWindow() != this) return false;
  capture_ = &gadget;
  hadCaptureBefore_ = IsWindow() && GetCapture() == GetHandle();
  // Taking the capture makes a holder elsewhere lose it; not us, capture_ is already set.
  if (IsWindow() && !hadCaptureBefore_) SetCapture();
  return true;
}

void TGadgetWindow::GadgetReleaseCapture(TGadget& gadget) {
  if (capture_ != &gadget) return;
  capture_ = nullptr;
  // A window that held the mouse before the press (a menu tracking it) keeps it.
  if (!hadCaptureBefore_ && IsWindow() && GetCapture() == GetHandle()) ReleaseCapture();
  hadCaptureBefore_ = false;
}

void TGadgetWindow::CancelCapture() {
  TGadget* g = capture_;
  capture_ = nullptr;
  hadCaptureBefore_ = false;
  const TPoint outside(-1, -1);
  g->MouseMove(0, outside);
  if (Contains(g)) g->LButtonUp(0, outside);
}

void TGadgetWindow::TrackMouseAt(UINT modKeys, const TPoint& point) {
  TGadget* g = GadgetFromPoint(point);
  if (g == atMouse_) return;
  if (TGadget* old = atMouse_) {
    atMouse_ = nullptr;
    old->MouseLeave(modKeys, ToGadget(*old, point));
    g = GadgetFromPoint(point);  // the leave may have changed the list
  }
  if (g && !atMouse_) {
    atMouse_ = g;
    g->MouseEnter(modKeys, ToGadget(*g, point));
  }
}

void TGadgetWindow::EvMouseMove(UINT modKeys, const TPoint& point) {
  if (capture_)
    capture_->MouseMove(modKeys, ToGadget(*capture_, point));
  else
    TrackMouseAt(modKeys, point);
  TWindow::EvMouseMove(modKeys, point);
}

void TGadgetWindow::EvLButtonDown(UINT modKeys, const TPoint& point) {
  if (!capture_) TrackMouseAt(modKeys, point);
  TGadget* g = capture_ ? capture_ : GadgetFromPoint(point);
  if (g && (g->GetEnabled() || g == capture_)) g->LButtonDown(modKeys, ToGadget(*g, point));
  TWindow::EvLButtonDown(modKeys, point);
}

void TGadgetWindow::EvLButtonDblClk(UINT modKeys, const TPoint& point) {
  EvLButtonDown(modKeys, point);
}

void TGadgetWindow::EvLButtonUp(UINT modKeys, const TPoint& point) {
  TGadget* g = capture_ ? capture_ : GadgetFromPoint(point);
  if (g && (g->GetEnabled() || g == capture_)) g->LButtonUp(modKeys, ToGadget(*g, point));
  TWindow::EvLButtonUp(modKeys, point);
}

void TGadgetWindow::EvCaptureChanged(HWND newCapture) {
  TWindow::EvCaptureChanged(newCapture);
  if (capture_ && newCapture != GetHandle()) CancelCapture();
}

void TGadgetWindow::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  LayoutGadgets();
}

void TGadgetWindow::EvWindowPosChanging(WINDOWPOS& pos) {
  TWindow::EvWindowPosChanging(pos);
  if ((pos.flags & SWP_NOSIZE) || !(shrinkWrapWidth_ || shrinkWrapHeight_)) return;
  TSize desired;
  GetDesiredSize(desired);
  if (shrinkWrapWidth_) pos.cx = desired.cx;
  if (shrinkWrapHeight_) pos.cy = desired.cy;
}

LRESULT TGadgetWindow::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (GetResponseTable().Find(TResponseEntry::Kind::Command, id))
    return TWindow::EvCommand(id, control, notifyCode);
  if (TWindow* parent = GetParentO(); parent && parent->IsWindow())
    return parent->SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(id), uint16_t(notifyCode)),
                               reinterpret_cast<LPARAM>(control));
  return TWindow::EvCommand(id, control, notifyCode);
}

void TGadgetWindow::EvSysColorChange(WPARAM, LPARAM) {
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) g->SysColorChange();
  if (IsWindow()) Invalidate();
}

bool TGadgetWindow::IdleAction(long idleCount) {
  if (idleCount == 0 && atMouse_ && !capture_ && IsWindow() && GetCapture() != GetHandle()) {
    // The pointer left for another window without a move reaching us.
    TPoint cursor;
    GetCursorPos(cursor);
    if (WindowFromPoint(cursor) != GetHandle()) {
      TGadget* old = atMouse_;
      atMouse_ = nullptr;
      ScreenToClient(cursor);
      old->MouseLeave(0, ToGadget(*old, cursor));
    }
  }
  bool more = false;
  std::vector<TGadget*> gadgets;
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) gadgets.push_back(g);
  const uint64_t changes = ChangeCount();
  for (TGadget* g : gadgets)
    if (ChangeCount() == changes || Contains(g)) more = g->IdleAction(idleCount) || more;
  return TWindow::IdleAction(idleCount) || more;
}

const TResponseTable& TGadgetWindow::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnMessage<&TGadgetWindow::EvSysColorChange>(WM_SYSCOLORCHANGE),
  };
  static const TResponseTable table{&TWindow::GetResponseTable(), entries};
  return table;
}

}  // namespace quill
