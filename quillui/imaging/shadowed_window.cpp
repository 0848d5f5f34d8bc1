#include "quillui/imaging/shadowed_window.h"

#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"

namespace quill {

namespace {

// Where a child lies in its parent: its bounds once it exists, its creation attributes before.
TRect ChildRect(const TWindow& child) {
  if (child.IsWindow()) return child.GetBounds();
  return TRect(child.Attr.X, child.Attr.Y, child.Attr.X + child.Attr.W,
               child.Attr.Y + child.Attr.H);
}

std::unique_ptr<TPalette> PaletteOf(const TDib& dib) {
  std::vector<TPaletteEntry> entries;
  for (int i = 0; i < dib.NumColors(); ++i) {
    const TRgbQuad q = dib.GetColor(i);
    entries.push_back({q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
  }
  return std::make_unique<TPalette>(entries.data(), int(entries.size()));
}

}  // namespace

ZShadowChildrenWindow::ZShadowChildrenWindow(TWindow* parent, const char* title, TModule* module)
    : TWindow(parent, title, module) {
  Attr.Style |= WS_CLIPCHILDREN;
}

ZShadowChildrenWindow::~ZShadowChildrenWindow() = default;

void ZShadowChildrenWindow::SetShades(const unsigned char* shades, int count) {
  if (count <= 0 || !shades) return;
  spec_.shades.assign(shades, shades + count);
  if (IsWindow()) Invalidate(true);
}

std::vector<int> ZShadowChildrenWindow::ShadowLevels() const {
  return quill::ShadowLevels(int(spec_.shades.size()), spec_.divisor);
}

void ZShadowChildrenWindow::SetBackground(const char* fileName, TPalette* palette) {
  DibResult read = ReadBmpFile(fileName ? fileName : "");
  if (read.dib) SetBackground(*read.dib, palette);
}

void ZShadowChildrenWindow::SetBackground(const TDib& dib, TPalette* palette) {
  if (!dib.IsOK()) return;
  auto copy = std::make_unique<TDib>(dib);
  std::unique_ptr<TPalette> pal = palette ? std::make_unique<TPalette>(*palette) : PaletteOf(*copy);
  background_ = std::move(copy);
  palette_ = std::move(pal);
  MakeBmp();
  if (IsWindow()) Invalidate(true);
}

void ZShadowChildrenWindow::MakeBmp() {
  if (!IsWindow() || !background_) return;
  const TRect client = GetClientRect();
  if (client.IsEmpty()) return;
  if (client.Width() == background_->Width() && client.Height() == background_->Height()) return;
  TBitmap bitmap(client.Width(), client.Height(), 8);
  if (!bitmap.IsOK()) return;
  TMemoryDC memory(bitmap);
  memory.SelectPalette(palette_.get(), true);
  memory.RealizePalette();
  const int previous = memory.SetStretchBltMode(COLORONCOLOR);
  memory.StretchDIBits(0, 0, client.Width(), client.Height(), 0, 0, background_->Width(),
                       background_->Height(), *background_, DIB_RGB_COLORS, SRCCOPY);
  memory.SetStretchBltMode(previous);
  std::unique_ptr<TDib> scaled = bitmap.ToDib(palette_.get());
  memory.RestoreBitmap();
  if (scaled && scaled->IsOK()) background_ = std::move(scaled);
}

std::vector<TRect> ZShadowChildrenWindow::ChildRects() const {
  std::vector<TRect> rects;
  for (const TWindow* child : GetChildren()) {
    if (child->IsWindow() ? child->IsWindowVisible() : (child->Attr.Style & WS_VISIBLE) != 0)
      rects.push_back(ChildRect(*child));
  }
  return rects;
}

void ZShadowChildrenWindow::ShadowChildren(TDC& dc, TRect& rect) {
  if (!background_) return;
  TPalette* previous = dc.SelectPalette(palette_.get(), true);
  dc.RealizePalette();
  ZShadowScene scene;
  scene.background = background_.get();
  scene.client = GetClientRect();
  scene.children = ChildRects();
  scene.paint = rect;
  PaintShadows(dc, scene, spec_);
  dc.SelectPalette(previous, true);
}

void ZShadowChildrenWindow::Paint(TDC& dc, bool, TRect& rect) {
  if (background_) ShadowChildren(dc, rect);
}

void ZShadowChildrenWindow::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  if (size.cx == 0 && size.cy == 0) return;
  if (!background_) return;
  MakeBmp();
  Invalidate(true);
}

void ZShadowChildrenWindow::EvParentNotify(UINT event, UINT childId, HWND child) {
  TWindow::EvParentNotify(event, childId, child);
  if (!background_ || (event != WM_SIZE && event != WM_MOVE)) return;
  for (TWindow* w : GetChildren()) {
    if (w->GetHandle() != child) continue;
    InvalidateRect(ChildRect(*w).OffsetBy(spec_.offset.x, spec_.offset.y), true);
    return;
  }
}

ZShadowedWindow::ZShadowedWindow(TWindow* parent, const char* title, TModule* module)
    : TWindow(parent, title, module) {
  Attr.ExStyle &= ~WS_EX_NOPARENTNOTIFY;
}

void ZShadowedWindow::NotifyParent(WPARAM wp) {
  TWindow* parent = GetParentO();
  if (!parent || !parent->IsWindow() || (Attr.ExStyle & WS_EX_NOPARENTNOTIFY)) return;
  parent->SendMessage(WM_PARENTNOTIFY, wp, reinterpret_cast<LPARAM>(GetHandle()));
}

void ZShadowedWindow::EvWindowPosChanging(WINDOWPOS& pos) {
  NotifyParent(WM_SIZE);
  TWindow::EvWindowPosChanging(pos);
}

void ZShadowedWindow::EvWindowPosChanged(const WINDOWPOS& pos) {
  TWindow::EvWindowPosChanged(pos);
  NotifyParent(MAKEWPARAM(WM_SIZE, 1));
}

}  // namespace quill
