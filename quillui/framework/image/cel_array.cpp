#include "quillui/framework/image/cel_array.h"

#include <algorithm>
#include <cstdint>

namespace quill {

TCelArray::TCelArray(TDib* dib, int numCels, TSize celSize, TAutoDelete autoDelete)
    : dib_(dib), owns_(dib && autoDelete == AutoDelete) {
  Cut(numCels, celSize);
}

TCelArray::TCelArray(std::unique_ptr<TDib> dib, int numCels, TSize celSize)
    : dib_(dib.release()), owns_(dib_ != nullptr) {
  Cut(numCels, celSize);
}

TCelArray::TCelArray(const TDib& dib, int numCels, TSize celSize)
    : dib_(new TDib(dib)), owns_(true) {
  Cut(numCels, celSize);
}

TCelArray::~TCelArray() {
  if (owns_) delete dib_;
}

void TCelArray::Cut(int numCels, TSize celSize) {
  numCels_ = 0;
  celSize_ = TSize();
  if (!dib_ || !dib_->IsOK() || numCels <= 0) return;
  const int64_t width = dib_->Width(), height = dib_->Height();
  int64_t cw = celSize.cx > 0 ? celSize.cx : width / numCels;
  int64_t ch = celSize.cy > 0 ? celSize.cy : height;
  if (cw <= 0 || ch <= 0 || ch > height || cw > width) return;
  numCels_ = int(std::min<int64_t>(numCels, width / cw));
  celSize_ = TSize(int(cw), int(ch));
}

TPoint TCelArray::CelOffset(int cel) const {
  if (cel < 0 || cel >= numCels_) return TPoint();
  return TPoint(cel * celSize_.cx, 0);
}

TRect TCelArray::CelRect(int cel) const {
  if (cel < 0 || cel >= numCels_) return TRect();
  return TRect(CelOffset(cel), celSize_);
}

}  // namespace quill
