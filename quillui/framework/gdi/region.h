// A region as a list of disjoint rectangles: update regions, visible regions and clip regions.
#pragma once

#include <vector>

#include "quillui/framework/base/geometry.h"

namespace quill {

class TRegion {
 public:
  TRegion() = default;
  explicit TRegion(const TRect& r) { Union(r); }

  bool IsEmpty() const { return rects_.empty(); }
  const std::vector<TRect>& Rects() const { return rects_; }
  TRect Bounds() const;
  bool Contains(const TPoint& p) const;
  bool Touches(const TRect& r) const;
  // Area in pixels; rectangles are disjoint so this is exact.
  long long Area() const;

  void Clear() { rects_.clear(); }
  void Union(const TRect& r);
  void Union(const TRegion& other);
  void Subtract(const TRect& r);
  void Subtract(const TRegion& other);
  void Intersect(const TRect& r);
  void Intersect(const TRegion& other);
  void Offset(int dx, int dy);
  // Replaces the rectangles by their bounding box once there are more than maxRects of them:
  // right for update regions, where painting a little more is harmless.
  void Simplify(size_t maxRects);

  bool operator==(const TRegion& other) const;  // same pixel set

 private:
  std::vector<TRect> rects_;
};

}  // namespace quill
