// Conversion of the indexed screen to 32-bit pixels for display: the presenter's hot loop.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "quillui/platform/screen/screen_surface.h"

namespace quill::platform {

// 0xFFRRGGBB for each palette index: the layout of ARGB8888 and XRGB8888 pixels.
using XrgbLut = std::array<uint32_t, 256>;
XrgbLut BuildXrgbLut(const std::array<PaletteColor, 256>& palette);

// Converts a width x height block of indices, row by row, through the lookup table, into
// top-down rows of dst. src is where the block begins in memory and srcStride the distance
// from a row to the row below it in the picture: negative for a bottom-up source such as a
// DIB's bits, whose first row in memory is the bottom one (converted last), so no copy is
// needed to turn it over. Uses the vector path when the processor has it, else the plain loop;
// both give the same pixels. A width or height of 0 or less converts nothing.
void ConvertIndexedToXrgb(const uint8_t* src, ptrdiff_t srcStride, uint32_t* dst,
                          size_t dstStridePixels, int width, int height, const XrgbLut& lut);

// The two paths on their own, for tests and benchmarks. The vector path answers false (and
// converts nothing) on a processor without 512-bit byte permutes (AVX-512 VBMI).
void ConvertIndexedToXrgbScalar(const uint8_t* src, ptrdiff_t srcStride, uint32_t* dst,
                                size_t dstStridePixels, int width, int height, const XrgbLut& lut);
bool ConvertIndexedToXrgbVector(const uint8_t* src, ptrdiff_t srcStride, uint32_t* dst,
                                size_t dstStridePixels, int width, int height, const XrgbLut& lut);

}  // namespace quill::platform
