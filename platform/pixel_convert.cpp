#include "platform/pixel_convert.h"

namespace quill::platform {

XrgbLut BuildXrgbLut(const std::array<PaletteColor, 256>& palette) {
  XrgbLut lut{};
  for (size_t i = 0; i < 256; ++i)
    lut[i] = 0xFF000000u | (uint32_t(palette[i].r) << 16) | (uint32_t(palette[i].g) << 8) | palette[i].b;
  return lut;
}

void ConvertIndexedToXrgb(const uint8_t* src, size_t srcStride, uint32_t* dst, size_t dstStridePixels,
                          int width, int height, const XrgbLut& lut) {
  for (int y = 0; y < height; ++y) {
    const uint8_t* s = src + size_t(y) * srcStride;
    uint32_t* d = dst + size_t(y) * dstStridePixels;
    int x = 0;
    // Four at a time: the table stays in L1 and the loads pipeline.
    for (; x + 4 <= width; x += 4) {
      d[x] = lut[s[x]];
      d[x + 1] = lut[s[x + 1]];
      d[x + 2] = lut[s[x + 2]];
      d[x + 3] = lut[s[x + 3]];
    }
    for (; x < width; ++x) d[x] = lut[s[x]];
  }
}

}  // namespace quill::platform
