// Row kernels of the drawing layer: ternary raster operations on 8-bit index rows, colour
// maps, DIB row unpacking and nearest-neighbour gathering. Everything works a row at a time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quill {

// Raster operation codes: the ternary operation sits in bits 16-23, the rest is the classic
// encoding of how it was compiled and is ignored.
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
inline constexpr uint32_t SRCPAINT = 0x00EE0086;
inline constexpr uint32_t SRCAND = 0x008800C6;
inline constexpr uint32_t SRCINVERT = 0x00660046;
inline constexpr uint32_t SRCERASE = 0x00440328;
inline constexpr uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr uint32_t NOTSRCERASE = 0x001100A6;
inline constexpr uint32_t MERGECOPY = 0x00C000CA;
inline constexpr uint32_t MERGEPAINT = 0x00BB0226;
inline constexpr uint32_t PATCOPY = 0x00F00021;
inline constexpr uint32_t PATPAINT = 0x00FB0A09;
inline constexpr uint32_t PATINVERT = 0x005A0049;
inline constexpr uint32_t DSTINVERT = 0x00550009;
inline constexpr uint32_t BLACKNESS = 0x00000042;
inline constexpr uint32_t WHITENESS = 0x00FF0062;

// The truth table of an operation: bit (P << 2 | S << 1 | D) is the result for those inputs.
constexpr uint8_t Rop3(uint32_t rop) { return uint8_t(rop >> 16); }
constexpr bool RopUsesSource(uint8_t rop3) { return (((rop3 >> 2) ^ rop3) & 0x33) != 0; }
constexpr bool RopUsesPattern(uint8_t rop3) { return (((rop3 >> 4) ^ rop3) & 0x0F) != 0; }
constexpr bool RopUsesDest(uint8_t rop3) { return (((rop3 >> 1) ^ rop3) & 0x55) != 0; }

// dst[i] = op(pattern, src[i], dst[i]) for count bytes, evaluated bit by bit on the indices as
// a palette display does. src may be null when the operation ignores the source; it may equal
// dst but must not overlap it otherwise.
void RopRow(uint8_t rop3, uint8_t* dst, const uint8_t* src, uint8_t pattern, size_t count);

// dst[i] = map[src[i]] through a 256-entry map; dst may equal src.
void MapRow(uint8_t* dst, const uint8_t* src, const uint8_t* map, size_t count);
// MapRow's two paths on their own, for tests and benchmarks; the vector path answers false
// (and maps nothing) on a processor without byte-table vectors.
void MapRowScalar(uint8_t* dst, const uint8_t* src, const uint8_t* map, size_t count);
bool MapRowVector(uint8_t* dst, const uint8_t* src, const uint8_t* map, size_t count);

// dst[i] = src[xs[i]]: the inner loop of nearest-neighbour stretching.
void GatherRow(uint8_t* dst, const uint8_t* src, const int32_t* xs, size_t count);

// Unpacks count pixels from pixel x on of a packed row of 1, 4 or 8 bits per pixel into one
// byte per pixel (8 bits is a plain copy).
void UnpackIndexRow(uint8_t* dst, const uint8_t* row, int bitCount, int x, size_t count);

// Copies a block of rows rows of count bytes; each stride is the distance from a row to the
// next. Blocks a few pixels wide (a border, the gap between two windows) are moved row by row
// without a call per row. The blocks must not overlap.
void CopyRows(uint8_t* dst, ptrdiff_t dstStride, const uint8_t* src, ptrdiff_t srcStride,
              size_t count, int rows);

// Whether map[i] == i for every i below count.
bool IsIdentityMap(const uint8_t* map, int count);

}  // namespace quill
