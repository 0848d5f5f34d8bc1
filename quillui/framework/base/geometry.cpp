#include "quillui/framework/base/geometry.h"

namespace quill {

std::ostream& operator<<(std::ostream& os, const TPoint& p) {
  return os << '(' << p.x << ", " << p.y << ')';
}

std::ostream& operator<<(std::ostream& os, const TSize& s) { return os << s.cx << " x " << s.cy; }

std::ostream& operator<<(std::ostream& os, const TRect& r) {
  return os << '[' << r.left << ", " << r.right << ") x [" << r.top << ", " << r.bottom << ')';
}

}  // namespace quill
