#include "quillui/bars/stackable_control_bar.h"

#include <algorithm>

#include "quillui/app/app_registry.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/profile/reporter.h"

namespace quill {

ZStackableControlBar::ZStackableControlBar(TWindow* parent, TColor color, TModule* module)
    : ZControlBar(parent, Vertical, color, new TGadgetWindowFont(10, false, false), module) {
  SetCaption("ZStackableControlBar");
}

void ZStackableControlBar::SetDirection(TTileDirection direction) {
  if (direction != Vertical)
    reporter("direction == Vertical", "Assertion failed", eREPORT_LOG, "BARS", __LINE__);
  ZControlBar::SetDirection(Vertical);
}

TRect ZStackableControlBar::ArrangeGadgets(const TRect& rect) {
  const int left = rect.left, top = rect.top;
  int width = rect.right - rect.left;
  if (width == 0) {
    for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) {
      TSize size;
      g->GetDesiredSize(size);
      width = std::max(width, size.cx);
    }
  }
  if (width == 0) return TRect(left, top, left, top);
  const int edge = left + width;
  int x = left, y = top, bottom = top;
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) {
    TSize size;
    g->GetDesiredSize(size);
    if (x + size.cx > edge && x != left) {
      x = left;
      y = bottom;
    }
    g->SetBounds(TRect(x, y, x + size.cx, y + size.cy));
    bottom = std::max(bottom, y + size.cy);
    x += size.cx;
  }
  return TRect(left, top, left + width - 1, bottom);
}

void ZStackableControlBar::GetDesiredSize(TSize& size) {
  const TRect arranged = ArrangeGadgets(TRect(0, 0, 0, 0));
  size = TSize(arranged.Width(), arranged.Height());
  int left = 0, right = 0, top = 0, bottom = 0;
  GetMargins().GetPixels(left, right, top, bottom, GetFontHeight());
  size.cx += left + right;
  if (Attr.Style & WS_BORDER) {
    size.cx += 2 * GetSystemMetrics(SM_CXBORDER);
    size.cy += 2 * GetSystemMetrics(SM_CYBORDER);
  }
}

TRect ZStackableControlBar::TileGadgets() {
  TRect inner;
  GetInnerRect(inner);
  return ArrangeGadgets(inner);
}

void ZStackableControlBar::LayoutSession() {
  if (!IsWindow()) return;
  ZControlBar::LayoutSession();
  TSize size;
  GetDesiredSize(size);
  SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

ZPathBar::ZPathBar(TWindow* parent) : ZStackableControlBar(parent, TColor::Transparent, nullptr) {
  SetCaption("ZPathBar");
  SetShrinkWrap(true, true);
}

void ZPathBar::EvSize(UINT sizeType, const TSize& size) { TWindow::EvSize(sizeType, size); }

void ZPathBar::EvLButtonDown(UINT modKeys, const TPoint& point) {
  ZStackableControlBar::EvLButtonDown(modKeys, point);
  const TGadget* clicked = GetMouseGadget();
  if (!clicked || clicked->GetId() != kKeepFocusId) SetFocus();
}

ZMenuBar::ZMenuBar(TWindow* parent) : ZStackableControlBar(parent, TColor::Transparent, nullptr) {
  SetCaption("ZMenuBar");
}

void ZMenuBar::EvKillFocus(HWND getFocus) {
  ZStackableControlBar::EvKillFocus(getFocus);
  if (TWindow* frame = GetAppFrameTWindow(); frame && frame->IsWindow())
    frame->PostMessage(WM_COMMAND, WPARAM(kLostFocusCommand), 0);
}

void ZMenuBar::EvSetFocus(HWND lostFocus) { TWindow::EvSetFocus(lostFocus); }

}  // namespace quill
