#include "demo/demo_frame.h"

#include "framework/dc.h"

namespace quill::demo {

namespace {
constexpr int kMargin = 5;  // around the panes and between them (the spacers' width)
}

DemoPane::DemoPane(DemoFrame* frame, const char* name, TColor c)
    : TWindow(frame, name), color(c), frame_(frame) {
  Attr.Style |= WS_CLIPSIBLINGS;
}

void DemoPane::Paint(TDC& dc, bool, TRect&) {
  TRect r = GetClientRect();
  dc.FillRect(r, color);
  // The active pane wears a white rim, the others a dark one.
  TColor rim = active ? TColor::White : TColor(0, 0, 64);
  int w = active ? 3 : 1;
  dc.FillRect({r.left, r.top, r.right, r.top + w}, rim);
  dc.FillRect({r.left, r.bottom - w, r.right, r.bottom}, rim);
  dc.FillRect({r.left, r.top, r.left + w, r.bottom}, rim);
  dc.FillRect({r.right - w, r.top, r.right, r.bottom}, rim);
}

void DemoPane::EvLButtonDown(UINT, const TPoint&) { frame_->Activate(this); }

void DemoPane::EvLButtonDblClk(UINT, const TPoint&) { frame_->ToggleMaximized(this); }

DemoFrame::DemoFrame(int width, int height) : TLayoutWindow(nullptr, "Quill demo") {
  Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  Attr.W = width;
  Attr.H = height;
  SetBkgndColor(TColor(64, 64, 64));
  vspacer_ = new TWindow(this, "VSpacer");
  hspacer_ = new TWindow(this, "HSpacer");
  vspacer_->Attr.Style &= ~WS_VISIBLE;
  hspacer_->Attr.Style &= ~WS_VISIBLE;
  panes_ = {new DemoPane(this, "Media", TColor(0, 128, 128)), new DemoPane(this, "Path", TColor(128, 128, 0)),
            new DemoPane(this, "Article", TColor(0, 0, 128))};
  panes_[active_]->active = true;
}

void DemoFrame::SetupWindow() {
  TLayoutWindow::SetupWindow();
  Arrange();
}

void DemoFrame::Arrange() {
  TLayoutMetrics vs;
  vs.X.Set(lmCenter, lmPercentOf, lmParent, lmRight, 50);
  vs.Width.Absolute(kMargin);
  vs.Y.SameAs(lmParent, lmTop);
  vs.Height.SameAs(lmParent, lmBottom);
  vs.SetMeasurementUnits(lmPixels);
  SetChildLayoutMetrics(*vspacer_, vs);

  TLayoutMetrics hs;
  hs.X.SameAs(lmParent, lmLeft);
  hs.Y.Set(lmCenter, lmPercentOf, lmParent, lmBottom, 50);
  hs.Height.Absolute(kMargin);
  hs.Width.Set(lmRight, lmLeftOf, vspacer_, lmRight, 0);
  hs.SetMeasurementUnits(lmPixels);
  SetChildLayoutMetrics(*hspacer_, hs);

  auto place = [&](DemoPane* pane, TWindow* left, TWindow* top, TWindow* right, TWindow* bottom) {
    TLayoutMetrics m;
    if (left)
      m.X.RightOf(left, 0);
    else
      m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, kMargin);
    if (top)
      m.Y.Below(top, 0);
    else
      m.Y.Set(lmTop, lmBelow, lmParent, lmTop, kMargin);
    if (right)
      m.Width.LeftOf(right, 0);
    else
      m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, kMargin);
    if (bottom)
      m.Height.Above(bottom, 0);
    else
      m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, kMargin);
    m.SetMeasurementUnits(lmPixels);
    SetChildLayoutMetrics(*pane, m);
  };
  if (maximized_) {
    for (DemoPane* p : panes_)
      if (p != maximized_) p->ShowWindow(SW_HIDE);
    place(maximized_, nullptr, nullptr, nullptr, nullptr);
  } else {
    place(panes_[0], nullptr, nullptr, vspacer_, hspacer_);   // Media, top left
    place(panes_[1], nullptr, hspacer_, vspacer_, nullptr);   // Path, bottom left
    place(panes_[2], vspacer_, nullptr, nullptr, nullptr);    // Article, the right half
    for (DemoPane* p : panes_) p->ShowWindow(SW_SHOWNA);
  }
  Layout();
  Invalidate(true);
}

void DemoFrame::Activate(DemoPane* pane) {
  for (size_t i = 0; i < panes_.size(); ++i) {
    bool on = panes_[i] == pane;
    if (panes_[i]->active != on) {
      panes_[i]->active = on;
      panes_[i]->Invalidate(false);
    }
    if (on) active_ = i;
  }
}

void DemoFrame::ToggleMaximized(DemoPane* pane) {
  maximized_ = maximized_ ? nullptr : pane;
  Activate(pane);
  Arrange();
}

void DemoFrame::EvKeyDown(UINT key, UINT, UINT) {
  if (key == VK_F6) {
    size_t next = active_;
    do {
      next = (next + 1) % panes_.size();
    } while (maximized_ && panes_[next] != maximized_ && next != active_);
    Activate(panes_[next]);
  } else if (key == VK_ESCAPE) {
    CloseWindow(0);
  }
}

}  // namespace quill::demo
