#include "quillui/framework/gdi/region.h"

#include <algorithm>

namespace quill {

namespace {

// Appends the parts of a that lie outside b.
void AppendDifference(const TRect& a, const TRect& b, std::vector<TRect>& out) {
  if (!a.Touches(b)) {
    out.push_back(a);
    return;
  }
  if (b.top > a.top) out.push_back({a.left, a.top, a.right, b.top});
  if (b.bottom < a.bottom) out.push_back({a.left, b.bottom, a.right, a.bottom});
  int top = std::max(a.top, b.top), bottom = std::min(a.bottom, b.bottom);
  if (b.left > a.left) out.push_back({a.left, top, b.left, bottom});
  if (b.right < a.right) out.push_back({b.right, top, a.right, bottom});
}

}  // namespace

TRect TRegion::Bounds() const {
  TRect bounds;
  for (const TRect& r : rects_) bounds |= r;
  return bounds;
}

bool TRegion::Contains(const TPoint& p) const {
  return std::any_of(rects_.begin(), rects_.end(), [&](const TRect& r) { return r.Contains(p); });
}

bool TRegion::Touches(const TRect& rect) const {
  return std::any_of(rects_.begin(), rects_.end(), [&](const TRect& r) { return r.Touches(rect); });
}

long long TRegion::Area() const {
  long long area = 0;
  for (const TRect& r : rects_) area += (long long)r.Width() * r.Height();
  return area;
}

void TRegion::Union(const TRect& r) {
  if (r.IsEmpty()) return;
  // Add only the parts of r that no rectangle covers yet, so the list stays disjoint.
  std::vector<TRect> pieces{r};
  for (const TRect& existing : rects_) {
    if (pieces.empty()) return;
    if (!existing.Touches(r)) continue;
    std::vector<TRect> next;
    for (const TRect& piece : pieces) AppendDifference(piece, existing, next);
    pieces.swap(next);
  }
  rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void TRegion::Union(const TRegion& other) {
  if (&other == this) return;
  for (const TRect& r : other.rects_) Union(r);
}

void TRegion::Subtract(const TRect& r) {
  if (r.IsEmpty() || rects_.empty()) return;
  std::vector<TRect> out;
  out.reserve(rects_.size() + 4);
  for (const TRect& existing : rects_) AppendDifference(existing, r, out);
  rects_.swap(out);
}

void TRegion::Subtract(const TRegion& other) {
  if (&other == this) {
    rects_.clear();
    return;
  }
  for (const TRect& r : other.rects_) Subtract(r);
}

void TRegion::Intersect(const TRect& r) {
  std::vector<TRect> out;
  for (const TRect& existing : rects_) {
    TRect piece = existing & r;
    if (!piece.IsEmpty()) out.push_back(piece);
  }
  rects_.swap(out);
}

void TRegion::Intersect(const TRegion& other) {
  if (&other == this) return;
  std::vector<TRect> out;
  for (const TRect& a : rects_)
    for (const TRect& b : other.rects_) {
      TRect piece = a & b;
      if (!piece.IsEmpty()) out.push_back(piece);
    }
  rects_.swap(out);
}

void TRegion::Offset(int dx, int dy) {
  for (TRect& r : rects_) r.Offset(dx, dy);
}

void TRegion::Simplify(size_t maxRects) {
  if (rects_.size() > maxRects) rects_.assign(1, Bounds());
}

bool TRegion::operator==(const TRegion& other) const {
  if (Area() != other.Area()) return false;
  TRegion rest = *this;
  rest.Subtract(other);
  return rest.IsEmpty();
}

}  // namespace quill
