// TCelArray: one bitmap cut into equally sized cels side by side from the left (button glyph
// strips, animation frames), owning the bitmap or sharing it.
#pragma once

#include <memory>

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/image/dib.h"

namespace quill {

class TCelArray {
 public:
  enum TAutoDelete { NoAutoDelete, AutoDelete };

  // Cuts dib into numCels cels. A zero cel size means (dib width / numCels) x dib height.
  // Only whole cels that fit in the bitmap count, so a bad count or size gives fewer cels
  // (or none) rather than rectangles outside it. With AutoDelete the array owns dib.
  TCelArray(TDib* dib, int numCels, TSize celSize = TSize(), TAutoDelete autoDelete = AutoDelete);
  TCelArray(std::unique_ptr<TDib> dib, int numCels, TSize celSize = TSize());
  // Works on a copy of dib.
  TCelArray(const TDib& dib, int numCels, TSize celSize = TSize());
  ~TCelArray();
  TCelArray(const TCelArray&) = delete;
  TCelArray& operator=(const TCelArray&) = delete;

  // At least one cel.
  bool IsOK() const { return numCels_ > 0; }
  int NumCels() const { return numCels_; }
  TSize CelSize() const { return celSize_; }
  // The top-left corner of a cel in the bitmap; (0, 0) for an index out of range.
  TPoint CelOffset(int cel) const;
  // The cel's rectangle in the bitmap (top-down coordinates); empty out of range.
  TRect CelRect(int cel) const;

  TDib* GetDib() { return dib_; }
  const TDib* GetDib() const { return dib_; }
  bool OwnsDib() const { return owns_; }

 private:
  void Cut(int numCels, TSize celSize);

  TDib* dib_ = nullptr;
  bool owns_ = false;
  int numCels_ = 0;
  TSize celSize_;
};

}  // namespace quill
