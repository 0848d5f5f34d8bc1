// The drop-shadow picture of a window kept between repaints: a repaint of an unchanged scene
// copies the pixels it shaded before instead of shading them again.
#pragma once

#include <cstdint>
#include <vector>

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/gdi/region.h"
#include "quillui/imaging/shadow_paint.h"

namespace quill {

class TDC;

class ZShadowLayer {
 public:
  // Paints as PaintShadows does. From the second paint of a scene on, its pixels are made
  // once and kept, together with what they depend on: the picture and its version, where it
  // lies, the children's rectangles, the shadows' offset and shades, and the palettes the colours
  // were matched through. A change of any of them paints directly again; so does a target that is
  // not 8-bit.
  void Paint(TDC& dc, const ZShadowScene& scene, const ZShadowSpec& spec);

  // How much of the client area is kept, for tests.
  const TRegion& Kept() const { return kept_; }

 private:
  struct Key {
    const void* picture = nullptr;
    uint64_t pictureVersion = 0;
    TPoint origin;
    TRect client;
    std::vector<TRect> children;
    TPoint offset;
    std::vector<uint8_t> shades;
    int divisor = 0;
    const void* screen = nullptr;
    uint32_t screenSerial = 0;
    uint32_t systemPalette = 0;
    const void* palette = nullptr;
    uint32_t paletteId = 0, paletteVersion = 0, paletteRealizations = 0;
    bool operator==(const Key&) const = default;
  };

  Key key_;
  std::vector<uint8_t> pixels_;  // the client area, top row first, one index a byte
  TRegion kept_;                 // client coordinates of the pixels that are made
};

}  // namespace quill
