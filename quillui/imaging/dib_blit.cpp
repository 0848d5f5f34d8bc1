#include "quillui/imaging/dib_blit.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "quillui/framework/image/dib.h"
#include "quillui/imaging/background.h"
#include "quillui/platform/cpu_features.h"
#include "quillui/profile/reporter.h"

namespace quill {

namespace {

constexpr const char* kSource = "BACKGRND";

bool Is256(const TDib& dib) {
  return dib.IsOK() && dib.BitsPerPixel() == 8 && dib.NumColors() == 256;
}

// dst[i] = src[i] where dst[i] == key, for n bytes: sixteen and eight bytes at a time where
// the processor has the vectors every x86-64 has, a byte at a time for the rest.
void ReplaceKey(uint8_t* dst, const uint8_t* src, uint8_t key, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi8(char(key));
  for (; i + 16 <= n; i += 16) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i m = _mm_cmpeq_epi8(d, k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                     _mm_or_si128(_mm_and_si128(m, v), _mm_andnot_si128(m, d)));
  }
  if (i + 8 <= n) {
    const __m128i d = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i));
    const __m128i m = _mm_cmpeq_epi8(d, k);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + i),
                     _mm_or_si128(_mm_and_si128(m, v), _mm_andnot_si128(m, d)));
    i += 8;
  }
#endif
  for (; i < n; ++i) dst[i] = dst[i] == key ? src[i] : dst[i];
}

void ReplaceKeyWith(uint8_t* dst, uint8_t key, uint8_t value, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi8(char(key)), v = _mm_set1_epi8(char(value));
  for (; i + 16 <= n; i += 16) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i m = _mm_cmpeq_epi8(d, k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                     _mm_or_si128(_mm_and_si128(m, v), _mm_andnot_si128(m, d)));
  }
#endif
  for (; i < n; ++i) dst[i] = dst[i] == key ? value : dst[i];
}

#if defined(__x86_64__)
// Keys whole strip rows of at least 32 columns, 32 columns a step, the last step ending at the
// row's last column (it may cover columns of the step before it again: both compute them from
// the row as it was, so they agree). Each step's columns know which background column lies
// under them (their column within the cel) and whether they are keyed at all (inside a cel's
// first width columns); a two-register byte permute spreads the row's background across the
// cels. The row is read whole and written whole with plain vector loads and stores that never
// reach past it, and the choice of bytes is a vector blend, which keeps the mask registers out
// of the inner loop. Cels up to 64 wide, rows up to kMaxSteps * 32 columns.
constexpr int kStep = 32;
constexpr int kMaxSteps = 32;

struct KeyLayout {
  int64_t celWidth = 0, width = 0, columns = 0;
  int steps = 0;  // whole steps, then the last kStep columns
  alignas(32) uint8_t index[kMaxSteps + 1][kStep] = {};
  alignas(32) uint8_t keyed[kMaxSteps + 1][kStep] = {};  // 0xFF where a column is keyed
};

void MakeKeyLayout(KeyLayout& layout, int64_t celWidth, int64_t width, int64_t columns) {
  layout.celWidth = celWidth;
  layout.width = width;
  layout.columns = columns;
  layout.steps = int(columns / kStep);
  for (int k = 0; k <= layout.steps; ++k) {
    const int64_t first = k < layout.steps ? int64_t(k) * kStep : columns - kStep;
    int64_t inCel = first % celWidth;
    for (int j = 0; j < kStep; ++j) {
      layout.index[k][j] = uint8_t(inCel);
      layout.keyed[k][j] = inCel < width ? 0xFF : 0x00;
      if (++inCel == celWidth) inCel = 0;
    }
  }
}

// The layout depends only on the strip's shape, which a bar's strips share: the last one made
// on this thread is kept.
const KeyLayout& LayoutFor(int64_t celWidth, int64_t width, int64_t columns) {
  thread_local KeyLayout kept;
  if (kept.celWidth != celWidth || kept.width != width || kept.columns != columns)
    MakeKeyLayout(kept, celWidth, width, columns);
  return kept;
}

// kWholeUnder: 64 bytes can be read from every background row used (the picture's memory goes
// on that far), so the rows' background is read without masks. kAllKeyed: every column of every
// cel has background under it (the usual case: the gadget is as wide as a cel).
template <bool kWholeUnder, bool kAllKeyed>
__attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vbmi"))) void KeyRowsVector(
    uint8_t* row, ptrdiff_t rowStep, const uint8_t* underRow, ptrdiff_t underStep, int rows,
    uint8_t key, int64_t celWidth, int64_t width, int64_t columns) {
  const KeyLayout& kept = LayoutFor(celWidth, width, columns);
  const int steps = kept.steps;
  __m256i spread[kMaxSteps + 1], keyed[kMaxSteps + 1];
  for (int k = 0; k <= steps; ++k) {
    spread[k] = _mm256_load_si256(reinterpret_cast<const __m256i*>(kept.index[k]));
    keyed[k] = _mm256_load_si256(reinterpret_cast<const __m256i*>(kept.keyed[k]));
  }
  const ptrdiff_t tail = ptrdiff_t(columns) - kStep;
  const __m256i k8 = _mm256_set1_epi8(char(key));
  const __mmask32 under0 = width >= 32 ? ~__mmask32(0) : (__mmask32(1) << width) - 1;
  const __mmask32 under1 = width >= 64   ? ~__mmask32(0)
                           : width <= 32 ? 0
                                         : (__mmask32(1) << (width - 32)) - 1;
  for (int r = 0; r < rows; ++r, row += rowStep, underRow += underStep) {
    __m256i low, high;
    if constexpr (kWholeUnder) {
      low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(underRow));
      high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(underRow + 32));
    } else {
      low = _mm256_maskz_loadu_epi8(under0, underRow);
      high = _mm256_maskz_loadu_epi8(under1, underRow + 32);
    }
    const __m256i last = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + tail));
    for (int k = 0; k < steps; ++k) {
      __m256i* p = reinterpret_cast<__m256i*>(row + ptrdiff_t(k) * kStep);
      const __m256i d = _mm256_loadu_si256(p);
      __m256i take = _mm256_cmpeq_epi8(d, k8);
      if constexpr (!kAllKeyed) take = _mm256_and_si256(take, keyed[k]);
      _mm256_storeu_si256(
          p, _mm256_blendv_epi8(d, _mm256_permutex2var_epi8(low, spread[k], high), take));
    }
    __m256i take = _mm256_cmpeq_epi8(last, k8);
    if constexpr (!kAllKeyed) take = _mm256_and_si256(take, keyed[steps]);
    _mm256_storeu_si256(
        reinterpret_cast<__m256i*>(row + tail),
        _mm256_blendv_epi8(last, _mm256_permutex2var_epi8(low, spread[steps], high), take));
  }
}
#endif

}  // namespace

bool CopyBlt256(TDib& dst, int x, int y, const TDib& src, int width, int height) {
  bool ok = true;
  if (!Is256(dst)) {
    reporter("CopyBlt256(): Destination DIB not 256 colors.", "Error", eREPORT_LOG, kSource,
             __LINE__);
    ok = false;
  }
  if (!Is256(src)) {
    reporter("CopyBlt256(): Source DIB not 256 colors.", "Error", eREPORT_LOG, kSource, __LINE__);
    ok = false;
  }
  if (!ok) return false;
  const int64_t w = width <= 0 ? src.Width() : std::min(width, src.Width());
  const int64_t h = height <= 0 ? src.Height() : std::min(height, src.Height());
  // The destination columns and rows the copy reaches, in 64 bits so x + w cannot wrap.
  const int64_t left = std::max<int64_t>(x, 0),
                right = std::min<int64_t>(int64_t(x) + w, dst.Width());
  const int64_t top = std::max<int64_t>(y, 0),
                bottom = std::min<int64_t>(int64_t(y) + h, dst.Height());
  if (left >= right || top >= bottom) return true;
  const size_t n = size_t(right - left);
  const int srcX = int(left - x);
  const size_t stride = dst.BytesPerLine();
  // Whole rows of two DIBs of one width: the rows from the bottom one up are one block.
  if (left == 0 && srcX == 0 && int64_t(n) == dst.Width() && n == size_t(src.Width()) &&
      stride == src.BytesPerLine()) {
    std::memcpy(dst.ScanLine(int(bottom - 1)), src.ScanLine(int(bottom - 1 - y)),
                size_t(bottom - top) * stride);
    return true;
  }
  // Rows are bottom-up: each row down lies one stride lower in memory.
  uint8_t* d = dst.ScanLine(int(top)) + left;
  const uint8_t* s = src.ScanLine(int(top - y)) + srcX;
  for (int64_t row = top; row < bottom; ++row, d -= stride, s -= src.BytesPerLine())
    std::memcpy(d, s, n);
  return true;
}

int StripKeyIndex(const TDib& strip) {
  if (!strip.IsOK() || strip.BitsPerPixel() != 8) return -1;
  const int key = strip.Bits()[0];
  if (key >= strip.NumColors()) return -1;
  return IsBackgroundKeyColor(TColor(strip.GetColor(key))) ? key : -1;
}

void KeyStripWithIndex(TDib& strip, uint8_t key, int cels, int celWidth, uint8_t replacement) {
  if (!strip.IsOK() || strip.BitsPerPixel() != 8 || cels <= 0 || celWidth <= 0) return;
  const size_t n = size_t(std::min<int64_t>(int64_t(cels) * celWidth, strip.Width()));
  for (int r = 0; r < strip.Height(); ++r) ReplaceKeyWith(strip.ScanLine(r), key, replacement, n);
}

void KeyStripWithBackground(TDib& strip, uint8_t key, int cels, int celWidth,
                            const TDib& background, TRect under) {
  if (!strip.IsOK() || strip.BitsPerPixel() != 8 || cels <= 0 || celWidth <= 0) return;
  if (!background.IsOK() || background.BitsPerPixel() != 8) return;
  under.left = std::max(under.left, 0);
  under.top = std::max(under.top, 0);
  // Columns of a cel that have background under them.
  int64_t width = std::min<int64_t>(celWidth, int64_t(under.right) - under.left);
  width = std::min<int64_t>(width, int64_t(background.Width()) - under.left);
  if (width <= 0) return;
  const int rows = int(std::min<int64_t>(strip.Height(), int64_t(background.Height()) - under.top));
  if (rows <= 0) return;
  // Each cel's share of a row: where it starts and how many of its columns have background.
  const int64_t stripWidth = strip.Width();
  const int usedCels = int(std::min<int64_t>(cels, (stripWidth + celWidth - 1) / celWidth));
  const ptrdiff_t rowStep = -ptrdiff_t(strip.BytesPerLine());
  const ptrdiff_t underStep = -ptrdiff_t(background.BytesPerLine());
  uint8_t* row = strip.ScanLine(0);
  const uint8_t* underRow = background.ScanLine(under.top) + under.left;
#if defined(__x86_64__)
  const int64_t columns = std::min<int64_t>(int64_t(cels) * celWidth, stripWidth);
  if (columns >= kStep && columns <= int64_t(kMaxSteps) * kStep && celWidth <= 64 &&
      platform::CpuHasByteTableVectors()) {
    // Rows go down in memory from the first, so the first row's 64 bytes end highest.
    const uint8_t* end = background.Bits() + background.SizeImage();
    const bool wholeUnder = end - underRow >= 64, allKeyed = width == celWidth;
    auto* keyRows = wholeUnder
                        ? (allKeyed ? KeyRowsVector<true, true> : KeyRowsVector<true, false>)
                        : (allKeyed ? KeyRowsVector<false, true> : KeyRowsVector<false, false>);
    keyRows(row, rowStep, underRow, underStep, rows, key, celWidth, width, columns);
    return;
  }
#endif
  // Cels that are whole (all width columns inside the strip) share each load of the
  // background; a cel cut by the strip's edge is done on its own.
  // (None when even the first cel's columns pass the strip's edge: the division would round
  // that shortfall up to a whole cel.)
  const int wholeCels = stripWidth < width
                            ? 0
                            : int(std::min<int64_t>(usedCels, (stripWidth - width) / celWidth + 1));
  const size_t n = size_t(width);
  for (int r = 0; r < rows; ++r, row += rowStep, underRow += underStep) {
    size_t j = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi8(char(key));
    for (; j + 16 <= n; j += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(underRow + j));
      uint8_t* p = row + j;
      for (int c = 0; c < wholeCels; ++c, p += celWidth) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i m = _mm_cmpeq_epi8(d, k);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p),
                         _mm_or_si128(_mm_and_si128(m, v), _mm_andnot_si128(m, d)));
      }
    }
    if (j + 8 <= n) {
      const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(underRow + j));
      uint8_t* p = row + j;
      for (int c = 0; c < wholeCels; ++c, p += celWidth) {
        const __m128i d = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        const __m128i m = _mm_cmpeq_epi8(d, k);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p),
                         _mm_or_si128(_mm_and_si128(m, v), _mm_andnot_si128(m, d)));
      }
      j += 8;
    }
#endif
    if (j < n)
      for (int c = 0; c < wholeCels; ++c)
        ReplaceKey(row + int64_t(c) * celWidth + j, underRow + j, key, n - j);
    for (int c = std::max(wholeCels, 0); c < usedCels; ++c) {
      const int64_t start = int64_t(c) * celWidth;
      ReplaceKey(row + start, underRow, key, size_t(std::min<int64_t>(width, stripWidth - start)));
    }
  }
}

}  // namespace quill
