#include "quillui/imaging/dib_blit.h"

#include <algorithm>
#include <cstring>

#include "quillui/framework/image/dib.h"
#include "quillui/imaging/background.h"
#include "quillui/profile/reporter.h"

namespace quill {

namespace {

constexpr const char* kSource = "BACKGRND";

bool Is256(const TDib& dib) {
  return dib.IsOK() && dib.BitsPerPixel() == 8 && dib.NumColors() == 256;
}

// dst[i] = src[i] where dst[i] == key, for n bytes; written as a select so it vectorises.
void ReplaceKey(uint8_t* dst, const uint8_t* src, uint8_t key, size_t n) {
  for (size_t i = 0; i < n; ++i) dst[i] = dst[i] == key ? src[i] : dst[i];
}

void ReplaceKeyWith(uint8_t* dst, uint8_t key, uint8_t value, size_t n) {
  for (size_t i = 0; i < n; ++i) dst[i] = dst[i] == key ? value : dst[i];
}

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
  for (int64_t row = top; row < bottom; ++row) {
    std::memcpy(dst.ScanLine(int(row)) + left, src.ScanLine(int(row - y)) + srcX, n);
  }
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
  for (int r = 0; r < rows; ++r) {
    uint8_t* row = strip.ScanLine(r);
    const uint8_t* under_row = background.ScanLine(under.top + r) + under.left;
    for (int c = 0; c < cels; ++c) {
      const int64_t start = int64_t(c) * celWidth;
      if (start >= strip.Width()) break;
      const size_t n = size_t(std::min<int64_t>(width, strip.Width() - start));
      ReplaceKey(row + start, under_row, key, n);
    }
  }
}

}  // namespace quill
