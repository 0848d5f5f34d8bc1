// A device context whose target is a bitmap in memory: pictures are built there off screen
// and copied to a window with BitBlt.
#pragma once

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
  // Back to the stock bitmap.
  void RestoreBitmap();
  // The selected bitmap, or null while the stock one is.
  TBitmap* GetBitmap() const { return bitmap_; }

 private:
  friend class TBitmap;
  void Attach(TBitmap& bitmap);
  void BitmapGone(TBitmap& bitmap);

  TBitmap stock_{1, 1, 1};
  TBitmap* bitmap_ = nullptr;
};

}  // namespace quill
