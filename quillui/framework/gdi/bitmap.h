// Device-dependent bitmaps: pixels in the screen's own format (8-bit system palette indices)
// or monochrome masks, drawn on through a TMemoryDC and copied to the screen with BitBlt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "quillui/framework/base/geometry.h"

namespace quill {

class TDib;
class TMemoryDC;
class TPalette;

// What the classic object query answers for a bitmap.
struct TBitmapInfo {
  int bmType = 0;
  int bmWidth = 0;
  int bmHeight = 0;
  int bmWidthBytes = 0;  // the classic row length: padded to 16 bits
  int bmPlanes = 1;
  int bmBitsPixel = 0;
};

class TBitmap {
 public:
  // A blank bitmap of 8 bits per pixel (the screen's format) or 1 (a mask), every pixel black.
  // A depth other than 1 or 8, or a size that no DIB could have, gives a null bitmap.
  TBitmap(int width, int height, int bitsPerPixel = 8);
  // The DIB converted once to the target format: at 8 bits its colours go through the
  // palette's nearest entries to the slots they were realised into (to the nearest system
  // colour without a palette); at 1 bit each colour becomes black or white, whichever is
  // nearer. A null DIB gives a null bitmap.
  explicit TBitmap(const TDib& dib, const TPalette* palette = nullptr, int bitsPerPixel = 8);
  // A bitmap still selected into a memory DC leaves it holding its stock bitmap.
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  bool IsOK() const { return !pixels_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TSize Size() const { return {width_, height_}; }
  int BitsPerPixel() const { return bitsPerPixel_; }
  bool IsMonochrome() const { return bitsPerPixel_ == 1; }
  // Fills info and answers its size, or 0 for a null bitmap.
  int GetObject(TBitmapInfo& info) const;

  // One byte per pixel, rows top-down: a system palette index, or for a mask 0x00 (black)
  // or 0xFF (white), so that raster operations work bit by bit on both kinds alike.
  uint8_t* Row(int y) { return pixels_.data() + size_t(y) * size_t(width_); }
  const uint8_t* Row(int y) const { return pixels_.data() + size_t(y) * size_t(width_); }
  size_t Stride() const { return size_t(width_); }

  // A DIB of the bitmap. At 8 bits its colour table is the palette's entries and each pixel
  // the entry realised into its slot (the nearest entry for other slots); without a palette
  // the table is the whole system palette and the pixels are copied. A mask gives a 1-bit
  // black-and-white DIB. Null for a null bitmap.
  std::unique_ptr<TDib> ToDib(const TPalette* palette = nullptr) const;

  TMemoryDC* SelectedInto() const { return dc_; }

 private:
  friend class TMemoryDC;
  bool Allocate(int width, int height, int bitsPerPixel);

  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 8;
  std::vector<uint8_t> pixels_;
  TMemoryDC* dc_ = nullptr;
};

}  // namespace quill
