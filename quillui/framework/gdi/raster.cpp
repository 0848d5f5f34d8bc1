#include "quillui/framework/gdi/raster.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "quillui/platform/cpu_features.h"

namespace quill {

namespace {

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

inline void Store64(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }

// Any operation as a sum of its minterms, eight pixels per step. Slower than the named fast
// paths below but exact for all 256 operations.
void GenericRop(uint8_t rop3, uint8_t* dst, const uint8_t* src, uint8_t pattern, size_t count) {
  const uint64_t p = 0x0101010101010101ull * pattern;
  int terms[8];
  int numTerms = 0;
  for (int t = 0; t < 8; ++t)
    if (rop3 & (1 << t)) terms[numTerms++] = t;
  auto eval = [&](uint64_t s, uint64_t d) {
    uint64_t r = 0;
    for (int k = 0; k < numTerms; ++k) {
      int t = terms[k];
      r |= ((t & 4) ? p : ~p) & ((t & 2) ? s : ~s) & ((t & 1) ? d : ~d);
    }
    return r;
  };
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    uint64_t s = src ? Load64(src + i) : 0;
    Store64(dst + i, eval(s, Load64(dst + i)));
  }
  for (; i < count; ++i) dst[i] = uint8_t(eval(src ? src[i] : 0, dst[i]));
}

}  // namespace

void RopRow(uint8_t rop3, uint8_t* dst, const uint8_t* src, uint8_t pattern, size_t count) {
  if (count == 0) return;
  const uint8_t p = pattern;
  switch (rop3) {
    case 0x00: std::memset(dst, 0x00, count); return;  // BLACKNESS
    case 0xFF: std::memset(dst, 0xFF, count); return;  // WHITENESS
    case 0xF0: std::memset(dst, p, count); return;     // PATCOPY
    case 0xAA: return;                                 // D
    case 0xCC:
      if (dst != src) std::memmove(dst, src, count);
      return;  // SRCCOPY
    case 0x55:
      for (size_t i = 0; i < count; ++i) dst[i] = uint8_t(~dst[i]);
      return;
    case 0x5A:
      for (size_t i = 0; i < count; ++i) dst[i] ^= p;
      return;  // PATINVERT
    case 0x33:
      for (size_t i = 0; i < count; ++i) dst[i] = uint8_t(~src[i]);
      return;
    case 0x88:
      for (size_t i = 0; i < count; ++i) dst[i] &= src[i];
      return;  // SRCAND
    case 0xEE:
      for (size_t i = 0; i < count; ++i) dst[i] |= src[i];
      return;  // SRCPAINT
    case 0x66:
      for (size_t i = 0; i < count; ++i) dst[i] ^= src[i];
      return;  // SRCINVERT
    case 0xC0:
      for (size_t i = 0; i < count; ++i) dst[i] = src[i] & p;
      return;   // MERGECOPY
    case 0xB8:  // where the source is 0 the pattern, where it is 1 the destination
      for (size_t i = 0; i < count; ++i) dst[i] = uint8_t(((dst[i] ^ p) & src[i]) ^ p);
      return;
    case 0xE2:  // where the source is 1 the pattern, where it is 0 the destination
      for (size_t i = 0; i < count; ++i) dst[i] = uint8_t(((p ^ dst[i]) & src[i]) ^ dst[i]);
      return;
    default: GenericRop(rop3, dst, src, p, count); return;
  }
}

namespace {

void MapTail(uint8_t* dst, const uint8_t* src, const uint8_t* map, size_t i, size_t count) {
  for (; i + 4 <= count; i += 4) {
    uint8_t a = map[src[i]], b = map[src[i + 1]], c = map[src[i + 2]], d = map[src[i + 3]];
    dst[i] = a;
    dst[i + 1] = b;
    dst[i + 2] = c;
    dst[i + 3] = d;
  }
  for (; i < count; ++i) dst[i] = map[src[i]];
}

#if defined(__x86_64__)
// 64 bytes a step: a two-register byte permute looks up 128 entries, and the top bit of each
// index picks between the lower and the upper half of the map.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void MapVector(uint8_t* dst,
                                                                      const uint8_t* src,
                                                                      const uint8_t* map,
                                                                      size_t count) {
  const __m512i m0 = _mm512_loadu_si512(map);
  const __m512i m1 = _mm512_loadu_si512(map + 64);
  const __m512i m2 = _mm512_loadu_si512(map + 128);
  const __m512i m3 = _mm512_loadu_si512(map + 192);
  size_t i = 0;
  for (; i + 64 <= count; i += 64) {
    const __m512i index = _mm512_loadu_si512(src + i);
    const __mmask64 high = _mm512_movepi8_mask(index);
    const __m512i low = _mm512_permutex2var_epi8(m0, index, m1);
    const __m512i top = _mm512_permutex2var_epi8(m2, index, m3);
    _mm512_storeu_si512(dst + i, _mm512_mask_blend_epi8(high, low, top));
  }
  // The last partial block: when the rows are apart, the last 64 bytes mapped again (the bytes
  // they share with the block before get the same values); in place, byte by byte.
  const auto d = reinterpret_cast<uintptr_t>(dst), s = reinterpret_cast<uintptr_t>(src);
  if (i < count && count >= 64 && (d + count <= s || s + count <= d)) {
    const size_t last = count - 64;
    const __m512i index = _mm512_loadu_si512(src + last);
    const __mmask64 high = _mm512_movepi8_mask(index);
    const __m512i low = _mm512_permutex2var_epi8(m0, index, m1);
    const __m512i top = _mm512_permutex2var_epi8(m2, index, m3);
    _mm512_storeu_si512(dst + last, _mm512_mask_blend_epi8(high, low, top));
    return;
  }
  MapTail(dst, src, map, i, count);
}
#endif

}  // namespace

void MapRowScalar(uint8_t* dst, const uint8_t* src, const uint8_t* map, size_t count) {
  MapTail(dst, src, map, 0, count);
}

bool MapRowVector(uint8_t* dst, const uint8_t* src, const uint8_t* map, size_t count) {
#if defined(__x86_64__)
  if (!platform::CpuHasByteTableVectors()) return false;
  MapVector(dst, src, map, count);
  return true;
#else
  return false;
#endif
}

void MapRow(uint8_t* dst, const uint8_t* src, const uint8_t* map, size_t count) {
  if (count >= 64 && MapRowVector(dst, src, map, count)) return;
  MapRowScalar(dst, src, map, count);
}

void GatherRow(uint8_t* dst, const uint8_t* src, const int32_t* xs, size_t count) {
  for (size_t i = 0; i < count; ++i) dst[i] = src[xs[i]];
}

void UnpackIndexRow(uint8_t* dst, const uint8_t* row, int bitCount, int x, size_t count) {
  switch (bitCount) {
    case 8: std::memcpy(dst, row + x, count); return;
    case 4:
      for (size_t i = 0; i < count; ++i) {
        size_t px = size_t(x) + i;
        uint8_t b = row[px >> 1];
        dst[i] = (px & 1) ? (b & 0x0F) : (b >> 4);
      }
      return;
    case 1:
      for (size_t i = 0; i < count; ++i) {
        size_t px = size_t(x) + i;
        dst[i] = (row[px >> 3] >> (7 - (px & 7))) & 1;
      }
      return;
    default: std::memset(dst, 0, count); return;
  }
}

namespace {

// Moves n <= 16 bytes with at most two loads and two stores, overlapping in the middle: the
// rows of a window's narrow border or of the gap between two windows, without a library call.
inline void CopySmall(uint8_t* dst, const uint8_t* src, size_t n) {
  if (n >= 8) {
    const uint64_t head = Load64(src), tail = Load64(src + n - 8);
    Store64(dst, head);
    Store64(dst + n - 8, tail);
  } else if (n >= 4) {
    uint32_t head, tail;
    std::memcpy(&head, src, 4);
    std::memcpy(&tail, src + n - 4, 4);
    std::memcpy(dst, &head, 4);
    std::memcpy(dst + n - 4, &tail, 4);
  } else if (n > 0) {
    const uint8_t a = src[0], b = src[n / 2], c = src[n - 1];
    dst[0] = a;
    dst[n / 2] = b;
    dst[n - 1] = c;
  }
}

}  // namespace

void CopyRows(uint8_t* dst, ptrdiff_t dstStride, const uint8_t* src, ptrdiff_t srcStride,
              size_t count, int rows) {
  if (count == 0) return;
  if (count <= 16) {
    for (int y = 0; y < rows; ++y, dst += dstStride, src += srcStride) CopySmall(dst, src, count);
    return;
  }
  for (int y = 0; y < rows; ++y, dst += dstStride, src += srcStride) std::memcpy(dst, src, count);
}

bool IsIdentityMap(const uint8_t* map, int count) {
  for (int i = 0; i < count; ++i)
    if (map[i] != i) return false;
  return true;
}

}  // namespace quill
