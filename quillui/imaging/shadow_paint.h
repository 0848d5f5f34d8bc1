// Soft drop shadows under child rectangles: a background picture painted with its colour table
// darkened in steps, darkest in the middle of each shadow. Painted either level by level through
// clip regions (the classic way, kept as the reference) or in one pass that gives each pixel its
// final shade at once.
#pragma once

#include <cstdint>
#include <vector>

#include "quillui/framework/base/color.h"
#include "quillui/framework/base/geometry.h"

namespace quill {

class TDC;
class TDib;
class TWindow;
class ZShadowLayer;

struct ZShadowSpec {
  TPoint offset{10, 10};  // how far a shadow lies right and down of its child
  std::vector<uint8_t> shades{0, 10, 20, 30, 40, 50, 60, 70, 80, 90};  // percent per level
  int divisor = 4;  // about shades.size() / divisor levels are drawn
};

// The levels drawn, in drawing order: count - 1, then down by max(1, count / divisor) while
// at least 0. A count below the divisor still steps by one, so the loop always ends.
std::vector<int> ShadowLevels(int count, int divisor);

// Where a child casts the shadow of level out of count: its rectangle moved by offset and
// shrunk on each side by offset - offset * level / count.
TRect ShadowRect(const TRect& child, TPoint offset, int level, int count);

// A colour table scaled to shade percent, each component truncated and held at 255.
void ShadeColors(const TRgbQuad* colors, int count, int shade, TRgbQuad* out);

// What to paint: the picture, which of its pixels lies under client (0, 0) (top-down
// coordinates), the client rectangle, the children's rectangles (visible ones only) and the
// rectangle being painted; only shadows that overlap it are drawn.
struct ZShadowScene {
  const TDib* background = nullptr;
  TPoint origin;
  TRect client;
  std::vector<TRect> children;
  TRect paint;
};

// The classic way: the background over the client rectangle, then for each level the
// background again with the darkened colour table through a region of that level's shadow
// rectangles. Draws about shades.size() / divisor + 1 times over each shaded pixel.
void PaintShadowsByLevels(TDC& dc, const ZShadowScene& scene, const ZShadowSpec& spec);

// The same pixels, each painted once at its final shade (8-bit pictures; other depths are
// painted the classic way).
void PaintShadows(TDC& dc, const ZShadowScene& scene, const ZShadowSpec& spec);

// The tableau's drop shadows under its panes. With [View] DibShadows set and an application
// background, the background under the window is the picture shaded; otherwise a plain
// picture of fill (the tableau colour) is. Paints the window's paint rectangle: the picture
// with the shadows on it, through layer when one is given (see shadow_layer.h).
void PaintDropShadows(TDC& dc, const TWindow& window, const std::vector<TRect>& panes,
                      const TRect& paint, TColor fill, const ZShadowSpec& spec = ZShadowSpec(),
                      ZShadowLayer* layer = nullptr);

}  // namespace quill
