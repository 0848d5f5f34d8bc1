// The classic region calls on top of TRegion: making rectangle regions, combining them and
// asking what kind of region a result is.
#pragma once

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/gdi/region.h"

namespace quill {

// Region kinds, as the combining and clipping calls answer them.
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// Combine modes.
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

// An inverted rectangle is taken with its corners swapped, as the classic call does.
TRegion CreateRectRgn(int left, int top, int right, int bottom);
TRegion CreateRectRgn(const TRect& r);

// dest = a (mode) b; b is ignored for RGN_COPY. dest may be a or b. Answers the kind of the
// result, or RGN_ERROR for an unknown mode (dest unchanged).
int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode);

// Whether any pixel of r lies in the region.
bool RectInRegion(const TRegion& region, const TRect& r);
bool PtInRegion(const TRegion& region, int x, int y);

int RegionKind(const TRegion& region);

}  // namespace quill
