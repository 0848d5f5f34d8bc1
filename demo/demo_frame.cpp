#include "demo/demo_frame.h"

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/framework/gdi/text_format.h"

namespace quill::demo {

namespace {
constexpr int kMargin = 5;  // around the panes and between them (the spacers' width)

// A 64 x 48 8-bit picture made in code: a sky-to-sea gradient with a sun and a quill stroke.
std::unique_ptr<TDib> MakePicture() {
  auto dib = std::make_unique<TDib>(64, 48, 8, 256);
  for (int i = 0; i < 128; ++i) {
    dib->SetColor(i, TColor(uint8_t(40 + i), uint8_t(90 + i), 255));           // sky
    dib->SetColor(128 + i, TColor(0, uint8_t(60 + i / 2), uint8_t(120 + i)));  // sea
  }
  dib->SetColor(255, TColor(255, 220, 0));  // sun
  dib->SetColor(254, TColor(40, 20, 0));    // ink
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      int index = y < 30 ? y * 4 : 128 + (y - 30) * 7;
      int dx = x - 46, dy = y - 12;
      if (dx * dx + dy * dy <= 49) index = 255;
      if (x >= 8 && x < 40 && y == 40 - (x - 8) / 2) index = 254;
      dib->SetPixelIndex(x, y, index);
    }
  return dib;
}
}  // namespace

DemoPane::DemoPane(DemoFrame* frame, const char* name, TColor c)
    : TWindow(frame, name), color(c), frame_(frame) {
  Attr.Style |= WS_CLIPSIBLINGS;
}

void DemoPane::Paint(TDC& dc, bool, TRect&) {
  TRect r = GetClientRect();
  dc.FillRect(r, color);

  // A raised bevel: light on the top and left, dark on the bottom and right, two lines deep.
  auto bevel = [&](const TRect& b, TColor light, TColor dark) {
    dc.SelectObject(TPen(light));
    dc.MoveTo(b.left, b.bottom - 1);
    dc.LineTo(b.left, b.top);
    dc.LineTo(b.right - 1, b.top);
    dc.SelectObject(TPen(dark));
    dc.LineTo(b.right - 1, b.bottom - 1);
    dc.LineTo(b.left, b.bottom - 1);
  };
  bevel(r, TColor::White, TColor::Black);
  bevel(r.InflatedBy(-1, -1), TColor::LtGray, TColor::Gray);
  dc.RestorePen();

  // The caption strip with the pane's name; the active pane's strip is lit.
  TRect caption(r.left + 4, r.top + 4, r.right - 4, r.top + 24);
  dc.FillRect(caption, active ? TColor(0, 0, 128) : TColor(128, 128, 128));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(TColor::White);
  dc.SelectObject(TFont("Arial", -13, 0, 0, 0, FW_BOLD));
  TRect text = caption;
  dc.DrawText(GetCaption(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
  dc.RestoreFont();

  if (picture) {
    // The picture at twice its size, centred under the caption.
    int w = picture->Width() * 2, h = picture->Height() * 2;
    int x = (r.Width() - w) / 2, y = caption.bottom + (r.bottom - caption.bottom - h) / 2;
    dc.StretchDIBits(x, y, w, h, 0, 0, picture->Width(), picture->Height(), *picture);
  }
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
  panes_ = {new DemoPane(this, "Media", TColor(0, 128, 128)),
            new DemoPane(this, "Path", TColor(128, 128, 0)),
            new DemoPane(this, "Article", TColor(192, 192, 192))};
  panes_[active_]->active = true;
  picture_ = MakePicture();
  panes_[2]->picture = picture_.get();
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
    place(panes_[0], nullptr, nullptr, vspacer_, hspacer_);  // Media, top left
    place(panes_[1], nullptr, hspacer_, vspacer_, nullptr);  // Path, bottom left
    place(panes_[2], vspacer_, nullptr, nullptr, nullptr);   // Article, the right half
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
