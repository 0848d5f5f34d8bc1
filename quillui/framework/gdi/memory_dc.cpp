#include "quillui/framework/gdi/memory_dc.h"

#include "quillui/framework/image/dib.h"

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
  target_.stride = ptrdiff_t(bitmap.Stride());
  target_.width = bitmap.Width();
  target_.height = bitmap.Height();
  target_.bitsPerPixel = bitmap.BitsPerPixel();
  target_.screen = nullptr;
  callerPixels_ = false;
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

bool TMemoryDC::SelectPixels(std::span<uint8_t> buffer, int width, int height, ptrdiff_t stride,
                             std::string* error) {
  if (const char* why = TDib::CheckDimensions(width, height)) {
    if (error) *error = why;
    return false;
  }
  uint8_t* top = LocateTopRow(buffer, stride, width, height, error);
  if (!top) return false;
  if (bitmap_) bitmap_->dc_ = nullptr;
  bitmap_ = nullptr;
  target_.pixels = top;
  target_.stride = stride;
  target_.width = width;
  target_.height = height;
  target_.bitsPerPixel = 8;
  target_.screen = nullptr;
  callerPixels_ = true;
  SetBaseClip(TRegion(TRect(0, 0, width, height)));
  return true;
}

void TMemoryDC::RestoreBitmap() {
  if (!bitmap_ && !callerPixels_) return;
  if (bitmap_) bitmap_->dc_ = nullptr;
  bitmap_ = nullptr;
  Attach(stock_);
}

void TMemoryDC::BitmapGone(TBitmap& bitmap) {
  if (&bitmap == bitmap_) RestoreBitmap();
}

}  // namespace quill
