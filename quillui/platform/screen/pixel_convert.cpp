#include "quillui/platform/screen/pixel_convert.h"

#include "quillui/platform/cpu_features.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quill::platform {

XrgbLut BuildXrgbLut(const std::array<PaletteColor, 256>& palette) {
  XrgbLut lut{};
  for (size_t i = 0; i < 256; ++i)
    lut[i] =
        0xFF000000u | (uint32_t(palette[i].r) << 16) | (uint32_t(palette[i].g) << 8) | palette[i].b;
  return lut;
}

namespace {

// The block's top row, from where it begins in memory: its last row there when the rows run
// bottom-up.
const uint8_t* TopRow(const uint8_t* src, ptrdiff_t stride, int height) {
  return stride < 0 && height > 0 ? src - ptrdiff_t(height - 1) * stride : src;
}

void ConvertRow(const uint8_t* s, uint32_t* d, int from, int width, const XrgbLut& lut) {
  int x = from;
  // Four at a time: the table stays in L1 and the loads pipeline.
  for (; x + 4 <= width; x += 4) {
    d[x] = lut[s[x]];
    d[x + 1] = lut[s[x + 1]];
    d[x + 2] = lut[s[x + 2]];
    d[x + 3] = lut[s[x + 3]];
  }
  for (; x < width; ++x) d[x] = lut[s[x]];
}

#if defined(__x86_64__)

// Picks 128-bit lanes of a and b. The zero-masked form with every lane kept is the plain
// shuffle; the plain intrinsic trips a false uninitialised-value warning in GCC 12.
template <int kLanes>
__attribute__((target("avx512f"))) inline __m512i Lanes(__m512i a, __m512i b) {
  return _mm512_maskz_shuffle_i64x2(0xFF, a, b, kLanes);
}

// 64 pixels a step. The table is split into blue, green and red byte planes of 256 entries,
// each held in four registers; a two-register byte permute looks up 128 entries, so the top
// bit of each index picks between two such lookups. The planes are then interleaved into
// BGRA bytes (alpha 0xFF) and the 128-bit lanes put back in pixel order.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void ConvertVector(
    const uint8_t* top, ptrdiff_t srcStride, uint32_t* dst, size_t dstStridePixels, int width,
    int height, const XrgbLut& lut) {
  alignas(64) uint8_t planes[3][256];
  for (size_t i = 0; i < 256; ++i) {
    planes[0][i] = uint8_t(lut[i]);
    planes[1][i] = uint8_t(lut[i] >> 8);
    planes[2][i] = uint8_t(lut[i] >> 16);
  }
  __m512i table[3][4];
  for (int c = 0; c < 3; ++c)
    for (int k = 0; k < 4; ++k) table[c][k] = _mm512_load_si512(planes[c] + 64 * k);
  const __m512i alpha = _mm512_set1_epi8(char(0xFF));

  for (int y = 0; y < height; ++y) {
    const uint8_t* s = top + ptrdiff_t(y) * srcStride;
    uint32_t* d = dst + size_t(y) * dstStridePixels;
    int x = 0;
    for (; x + 64 <= width; x += 64) {
      const __m512i index = _mm512_loadu_si512(s + x);
      const __mmask64 high = _mm512_movepi8_mask(index);
      __m512i channel[3];
      for (int c = 0; c < 3; ++c) {
        const __m512i low = _mm512_permutex2var_epi8(table[c][0], index, table[c][1]);
        const __m512i top = _mm512_permutex2var_epi8(table[c][2], index, table[c][3]);
        channel[c] = _mm512_mask_blend_epi8(high, low, top);
      }
      // Within each 128-bit lane: blue-green and red-alpha byte pairs, then whole pixels.
      const __m512i bgLow = _mm512_unpacklo_epi8(channel[0], channel[1]);
      const __m512i bgHigh = _mm512_unpackhi_epi8(channel[0], channel[1]);
      const __m512i raLow = _mm512_unpacklo_epi8(channel[2], alpha);
      const __m512i raHigh = _mm512_unpackhi_epi8(channel[2], alpha);
      const __m512i p0 = _mm512_unpacklo_epi16(bgLow, raLow);    // lane k: pixels 16k + 0..3
      const __m512i p1 = _mm512_unpackhi_epi16(bgLow, raLow);    // 16k + 4..7
      const __m512i p2 = _mm512_unpacklo_epi16(bgHigh, raHigh);  // 16k + 8..11
      const __m512i p3 = _mm512_unpackhi_epi16(bgHigh, raHigh);  // 16k + 12..15
      // A 4 x 4 transpose of lanes puts the pixels of lane k into output register k.
      const __m512i t0 = Lanes<0x88>(p0, p1);
      const __m512i t1 = Lanes<0xDD>(p0, p1);
      const __m512i t2 = Lanes<0x88>(p2, p3);
      const __m512i t3 = Lanes<0xDD>(p2, p3);
      _mm512_storeu_si512(d + x, Lanes<0x88>(t0, t2));
      _mm512_storeu_si512(d + x + 16, Lanes<0x88>(t1, t3));
      _mm512_storeu_si512(d + x + 32, Lanes<0xDD>(t0, t2));
      _mm512_storeu_si512(d + x + 48, Lanes<0xDD>(t1, t3));
    }
    ConvertRow(s, d, x, width, lut);
  }
}

#endif

}  // namespace

void ConvertIndexedToXrgbScalar(const uint8_t* src, ptrdiff_t srcStride, uint32_t* dst,
                                size_t dstStridePixels, int width, int height, const XrgbLut& lut) {
  const uint8_t* top = TopRow(src, srcStride, height);
  for (int y = 0; y < height; ++y)
    ConvertRow(top + ptrdiff_t(y) * srcStride, dst + size_t(y) * dstStridePixels, 0, width, lut);
}

bool ConvertIndexedToXrgbVector(const uint8_t* src, ptrdiff_t srcStride, uint32_t* dst,
                                size_t dstStridePixels, int width, int height, const XrgbLut& lut) {
#if defined(__x86_64__)
  if (!CpuHasByteTableVectors()) return false;
  ConvertVector(TopRow(src, srcStride, height), srcStride, dst, dstStridePixels, width, height,
                lut);
  return true;
#else
  return false;
#endif
}

void ConvertIndexedToXrgb(const uint8_t* src, ptrdiff_t srcStride, uint32_t* dst,
                          size_t dstStridePixels, int width, int height, const XrgbLut& lut) {
  // Narrow blocks (a caret, a button's edge) are not worth loading the tables for.
  if (width >= 64 &&
      ConvertIndexedToXrgbVector(src, srcStride, dst, dstStridePixels, width, height, lut))
    return;
  ConvertIndexedToXrgbScalar(src, srcStride, dst, dstStridePixels, width, height, lut);
}

}  // namespace quill::platform
