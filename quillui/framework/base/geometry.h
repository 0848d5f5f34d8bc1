// Points, sizes and rectangles of the window framework; right and bottom edges are exclusive.
#pragma once

#include <algorithm>
#include <cstdint>
#include <ostream>

namespace quill {

struct TSize;

struct TPoint {
  int x = 0;
  int y = 0;

  constexpr TPoint() = default;
  constexpr TPoint(int px, int py) : x(px), y(py) {}

  constexpr TPoint operator+(const TPoint& o) const { return {x + o.x, y + o.y}; }
  constexpr TPoint operator-(const TPoint& o) const { return {x - o.x, y - o.y}; }
  constexpr TPoint& operator+=(const TPoint& o) {
    x += o.x;
    y += o.y;
    return *this;
  }
  constexpr TPoint& operator-=(const TPoint& o) {
    x -= o.x;
    y -= o.y;
    return *this;
  }
  constexpr TPoint OffsetBy(int dx, int dy) const { return {x + dx, y + dy}; }
  constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;

  constexpr TSize() = default;
  constexpr TSize(int w, int h) : cx(w), cy(h) {}

  constexpr TSize operator+(const TSize& o) const { return {cx + o.cx, cy + o.cy}; }
  constexpr TSize operator-(const TSize& o) const { return {cx - o.cx, cy - o.cy}; }
  constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
  constexpr TRect(const TPoint& origin, const TSize& size)
      : left(origin.x), top(origin.y), right(origin.x + size.cx), bottom(origin.y + size.cy) {}
  constexpr TRect(const TPoint& topLeft, const TPoint& bottomRight)
      : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y) {}

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr TSize Size() const { return {Width(), Height()}; }
  constexpr TPoint TopLeft() const { return {left, top}; }
  constexpr TPoint BottomRight() const { return {right, bottom}; }
  constexpr TPoint TopRight() const { return {right, top}; }
  constexpr TPoint BottomLeft() const { return {left, bottom}; }

  // Empty when it covers no pixel (including inverted rectangles).
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  // Null when every coordinate is zero.
  constexpr bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

  constexpr bool Contains(const TPoint& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr bool Contains(const TRect& r) const {
    return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
  }
  constexpr bool Touches(const TRect& r) const {
    return !IsEmpty() && !r.IsEmpty() && r.left < right && left < r.right && r.top < bottom &&
           top < r.bottom;
  }

  constexpr TRect OffsetBy(int dx, int dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  constexpr TRect& Offset(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
  }
  constexpr TRect MovedTo(int x, int y) const { return {x, y, x + Width(), y + Height()}; }
  constexpr TRect InflatedBy(int dx, int dy) const {
    return {left - dx, top - dy, right + dx, bottom + dy};
  }
  constexpr TRect& Inflate(int dx, int dy) { return *this = InflatedBy(dx, dy); }

  // Intersection; an empty result is normalised to the null rectangle.
  constexpr TRect operator&(const TRect& r) const {
    TRect out{std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
              std::min(bottom, r.bottom)};
    return out.IsEmpty() ? TRect{} : out;
  }
  constexpr TRect& operator&=(const TRect& r) { return *this = *this & r; }
  // Bounding union; an empty operand does not count.
  constexpr TRect operator|(const TRect& r) const {
    if (IsEmpty()) return r.IsEmpty() ? TRect{} : r;
    if (r.IsEmpty()) return *this;
    return {std::min(left, r.left), std::min(top, r.top), std::max(right, r.right),
            std::max(bottom, r.bottom)};
  }
  constexpr TRect& operator|=(const TRect& r) { return *this = *this | r; }
  constexpr bool operator==(const TRect&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TPoint& p);
std::ostream& operator<<(std::ostream& os, const TSize& s);
std::ostream& operator<<(std::ostream& os, const TRect& r);

}  // namespace quill
