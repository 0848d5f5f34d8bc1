#include "quillui/framework/gdi/region_ops.h"

#include <algorithm>

namespace quill {

TRegion CreateRectRgn(int left, int top, int right, int bottom) {
  return TRegion(TRect(std::min(left, right), std::min(top, bottom), std::max(left, right),
                       std::max(top, bottom)));
}

TRegion CreateRectRgn(const TRect& r) { return CreateRectRgn(r.left, r.top, r.right, r.bottom); }

int RegionKind(const TRegion& region) {
  if (region.IsEmpty()) return NULLREGION;
  // A region whose pixels fill its bounds is one rectangle however it is split up.
  TRect bounds = region.Bounds();
  return region.Area() == (long long)bounds.Width() * bounds.Height() ? SIMPLEREGION
                                                                      : COMPLEXREGION;
}

int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode) {
  TRegion result;
  switch (mode) {
    case RGN_COPY: result = a; break;
    case RGN_OR:
      result = a;
      result.Union(b);
      break;
    case RGN_AND:
      result = a;
      result.Intersect(b);
      break;
    case RGN_DIFF:
      result = a;
      result.Subtract(b);
      break;
    case RGN_XOR: {
      result = a;
      result.Subtract(b);
      TRegion rest = b;
      rest.Subtract(a);
      result.Union(rest);
      break;
    }
    default: return RGN_ERROR;
  }
  dest = std::move(result);
  return RegionKind(dest);
}

bool RectInRegion(const TRegion& region, const TRect& r) {
  TRect n(std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
          std::max(r.top, r.bottom));
  return region.Touches(n);
}

bool PtInRegion(const TRegion& region, int x, int y) { return region.Contains({x, y}); }

}  // namespace quill
