// A device context whose target is a bitmap in memory, or rows of pixels the caller owns:
// pictures are built there off screen and copied to a window with BitBlt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"

namespace quill {

class TMemoryDC : public TDC {
 public:
  // Compatible with the screen. Until a bitmap is selected it draws on a 1 x 1 monochrome
  // stock bitmap, as the classic one does.
  TMemoryDC();
  explicit TMemoryDC(const TDC& compatible);
  explicit TMemoryDC(TBitmap& bitmap);
  ~TMemoryDC() override;

  using TDC::SelectObject;
  // Makes the bitmap the target: the DC may draw on all of it, while objects, colours and a
  // selected clip region stay. Fails for a null bitmap or one selected into another DC.
  bool SelectObject(TBitmap& bitmap);
  // Makes width x height pixels the caller owns the target: one system palette index a byte,
  // as on the screen, laid out as LocateTopRow (image/dib.h) says. buffer is the whole block,
  // lowest address first; stride is the distance from a row to the row below it, negative for
  // bottom-up rows (a DIB's bits, whose first row in memory is the bottom one). Everything a DC
  // draws lands in those pixels and nothing outside them is touched. The buffer must stay
  // where it is until another target is selected or the DC goes. A bitmap selected before is
  // released. Fails, keeping the current target and putting the reason in error when it is
  // given, for a size no DIB could have or rows that do not fit in the buffer.
  bool SelectPixels(std::span<uint8_t> buffer, int width, int height, ptrdiff_t stride,
                    std::string* error = nullptr);
  // Back to the stock bitmap, from a bitmap or the caller's pixels.
  void RestoreBitmap();
  // The selected bitmap, or null while the stock one or the caller's pixels are the target.
  TBitmap* GetBitmap() const { return bitmap_; }
  bool HasCallerPixels() const { return callerPixels_; }

 private:
  friend class TBitmap;
  void Attach(TBitmap& bitmap);
  void BitmapGone(TBitmap& bitmap);

  TBitmap stock_{1, 1, 1};
  TBitmap* bitmap_ = nullptr;
  bool callerPixels_ = false;
};

}  // namespace quill
