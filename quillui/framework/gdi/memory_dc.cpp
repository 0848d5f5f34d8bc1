#include "quillui/framework/gdi/memory_dc.h"

namespace quill {

TMemoryDC::TMemoryDC() { Attach(stock_); }

TMemoryDC::TMemoryDC(const TDC&) : TMemoryDC() {}

TMemoryDC::TMemoryDC(TBitmap& bitmap) : TMemoryDC() { SelectObject(bitmap); }

TMemoryDC::~TMemoryDC() {
  if (bitmap_) bitmap_->dc_ = nullptr;
  stock_.dc_ = nullptr;
}

void TMemoryDC::Attach(TBitmap& bitmap) {
  target_.pixels = bitmap.pixels_.data();
  target_.stride = bitmap.Stride();
  target_.width = bitmap.Width();
  target_.height = bitmap.Height();
  target_.bitsPerPixel = bitmap.BitsPerPixel();
  target_.screen = nullptr;
  bitmap.dc_ = this;
  SetBaseClip(TRegion(TRect(0, 0, bitmap.Width(), bitmap.Height())));
}

bool TMemoryDC::SelectObject(TBitmap& bitmap) {
  if (&bitmap == bitmap_) return true;
  if (!bitmap.IsOK() || bitmap.dc_) return false;
  if (bitmap_) bitmap_->dc_ = nullptr;
  bitmap_ = &bitmap;
  Attach(bitmap);
  return true;
}

void TMemoryDC::RestoreBitmap() {
  if (!bitmap_) return;
  bitmap_->dc_ = nullptr;
  bitmap_ = nullptr;
  Attach(stock_);
}

void TMemoryDC::BitmapGone(TBitmap& bitmap) {
  if (&bitmap == bitmap_) RestoreBitmap();
}

}  // namespace quill
