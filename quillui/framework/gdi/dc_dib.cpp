// DIB transfers of TDC: SetDIBitsToDevice and StretchDIBits. Each call maps the DIB's colour
// table to target indices once (a 256-entry map) and then works a row at a time.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"

namespace quill {

namespace {

// A validated view of DIB rows: rowCount rows of stride bytes, row 0 first in memory.
struct DibSource {
  int width = 0;
  int height = 0;  // rows of the whole image
  bool bottomUp = true;
  int bitCount = 0;
  size_t stride = 0;
  const uint8_t* bits = nullptr;
  int firstScan = 0;  // scan line (bottom-up numbering, or top-down for top-down DIBs) of row 0
  int rowCount = 0;

  // The memory row holding image scan line `scan` (counted from the bottom for bottom-up
  // images, from the top for top-down ones), or null when it is not among the rows given.
  const uint8_t* Scan(int64_t scan) const {
    int64_t k = scan - firstScan;
    if (scan < 0 || scan >= height || k < 0 || k >= rowCount) return nullptr;
    return bits + size_t(k) * stride;
  }
};

// Checks the header and the byte count; rowsGiven rows starting at scan firstScan must fit.
bool Describe(const TDibBits& dib, int64_t firstScan, int64_t rowsGiven, DibSource& out) {
  const TBitmapInfoHeader* h = dib.header;
  if (!h || h->biCompression != BI_RGB) return false;
  const int64_t height = h->biHeight < 0 ? -int64_t(h->biHeight) : int64_t(h->biHeight);
  if (TDib::CheckDimensions(h->biWidth, height)) return false;
  const int bits = h->biBitCount;
  const size_t stride = TDib::StrideFor(h->biWidth, bits);
  if (stride == 0) return false;
  if (bits <= 8 && (dib.numColors < 0 || (dib.numColors > 0 && !dib.colors))) return false;
  firstScan = std::clamp<int64_t>(firstScan, 0, height);
  rowsGiven = std::clamp<int64_t>(rowsGiven, 0, height - firstScan);
  // Rows the caller promised but did not supply are not drawn.
  rowsGiven = std::min<int64_t>(rowsGiven, int64_t(dib.bits.size() / stride));
  out.width = h->biWidth;
  out.height = int(height);
  out.bottomUp = h->biHeight > 0;
  out.bitCount = bits;
  out.stride = stride;
  out.bits = dib.bits.data();
  out.firstScan = int(firstScan);
  out.rowCount = int(rowsGiven);
  return true;
}

TDibBits BitsOf(const TDib& dib) {
  TDibBits b;
  if (!dib.IsOK()) return b;
  b.header = &dib.InfoHeader();
  b.colors = dib.GetColors();
  b.numColors = dib.NumColors();
  b.bits = std::span<const uint8_t>(dib.Bits(), dib.SizeImage());
  return b;
}

// Converts segments of DIB rows to target indices.
class RowConverter {
 public:
  RowConverter(const DibSource& src, const TDibBits& dib, unsigned usage,
               const TColorMatcher& matcher)
      : src_(src), matcher_(matcher) {
    if (src.bitCount > 8) return;
    const int n = std::min(dib.numColors, 1 << src.bitCount);
    if (usage == DIB_PAL_COLORS) {
      // The classic table of 16-bit indices lies where the colour quads would.
      std::array<uint16_t, 256> indices{};
      const uint8_t* raw = reinterpret_cast<const uint8_t*>(dib.colors);
      for (int i = 0; i < n; ++i) indices[size_t(i)] = uint16_t(raw[2 * i] | (raw[2 * i + 1] << 8));
      matcher.MapIndexTable(indices.data(), n, map_.data());
    } else {
      matcher.MapTable(dib.colors, n, map_.data());
    }
    identity_ = src.bitCount == 8 && IsIdentityMap(map_.data(), 256);
  }

  void Convert(uint8_t* dst, const uint8_t* row, int x, size_t n) const {
    switch (src_.bitCount) {
      case 8:
        if (identity_)
          std::memcpy(dst, row + x, n);
        else
          MapRow(dst, row + x, map_.data(), n);
        return;
      case 1:
      case 4:
        UnpackIndexRow(dst, row, src_.bitCount, x, n);
        MapRow(dst, dst, map_.data(), n);
        return;
      default: matcher_.MapRgbRow(dst, row, src_.bitCount, x, n); return;
    }
  }

 private:
  const DibSource& src_;
  const TColorMatcher& matcher_;
  std::array<uint8_t, 256> map_{};
  bool identity_ = false;
};

// [lo, hi) of int64 values clamped into int range.
TRect DeviceRect(int64_t l, int64_t t, int64_t r, int64_t b, const TRect& bounds) {
  return TRect(int(std::clamp<int64_t>(l, bounds.left, bounds.right)),
               int(std::clamp<int64_t>(t, bounds.top, bounds.bottom)),
               int(std::clamp<int64_t>(r, bounds.left, bounds.right)),
               int(std::clamp<int64_t>(b, bounds.top, bounds.bottom)));
}

}  // namespace

int TDC::SetDIBitsToDevice(int xDst, int yDst, int w, int h, int xSrc, int ySrc, int startScan,
                           int numScans, const TDib& dib, unsigned usage) {
  TDibBits bits = BitsOf(dib);
  if (!bits.header || startScan < 0 || startScan >= dib.Height()) return 0;
  // A TDib holds every row: hand over just the band of scan lines asked for.
  const size_t offset = size_t(startScan) * dib.BytesPerLine();
  bits.bits = bits.bits.subspan(offset);
  return SetDIBitsToDevice(xDst, yDst, w, h, xSrc, ySrc, startScan, numScans, bits, usage);
}

int TDC::SetDIBitsToDevice(int xDst, int yDst, int w, int h, int xSrc, int ySrc, int startScan,
                           int numScans, const TDibBits& dib, unsigned usage) {
  DibSource src;
  if (usage > DIB_PAL_COLORS || w <= 0 || h <= 0 || startScan < 0 || numScans <= 0 ||
      !Describe(dib, startScan, numScans, src) || !target_.pixels)
    return 0;
  const TColorMatcher matcher(target_.screen ? *target_.screen : CurrentScreen(), GetPalette(),
                              target_.bitsPerPixel == 1);
  const RowConverter convert(src, dib, usage, matcher);

  // Destination row j shows scan ySrc + h - 1 - j of a bottom-up image (ySrc counts from the
  // bottom) or scan ySrc + j of a top-down one; columns map one to one from xSrc.
  const int64_t left = int64_t(xDst) + origin_.x, top = int64_t(yDst) + origin_.y;
  const int64_t i0 = std::max<int64_t>(0, -int64_t(xSrc));
  const int64_t i1 = std::min<int64_t>(w, int64_t(src.width) - xSrc);
  const TRect device = DeviceRect(left + i0, top, left + i1, top + h, clip_.Bounds());
  if (i1 <= i0 || device.IsEmpty()) return src.rowCount;

  for (const TRect& c : clip_.Rects()) {
    TRect part = device & c;
    if (part.IsEmpty()) continue;
    const size_t n = size_t(part.Width());
    const int sx = int(int64_t(xSrc) + (part.left - left));
    bool drew = false;
    for (int y = part.top; y < part.bottom; ++y) {
      const int64_t j = y - top;
      const uint8_t* row = src.Scan(src.bottomUp ? int64_t(ySrc) + h - 1 - j : int64_t(ySrc) + j);
      if (!row) continue;
      convert.Convert(target_.Row(y) + part.left, row, sx, n);
      drew = true;
    }
    if (drew) MarkDirty(part);
  }
  return src.rowCount;
}

int TDC::StretchDIBits(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc,
                       int hSrc, const TDib& dib, unsigned usage, uint32_t rop) {
  return StretchDIBits(xDst, yDst, wDst, hDst, xSrc, ySrc, wSrc, hSrc, BitsOf(dib), usage, rop);
}

int TDC::StretchDIBits(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc,
                       int hSrc, const TDibBits& dib, unsigned usage, uint32_t rop) {
  DibSource src;
  if (usage > DIB_PAL_COLORS || wDst == 0 || hDst == 0 || wSrc == 0 || hSrc == 0 ||
      !target_.pixels || !dib.header)
    return 0;
  const int64_t fullHeight =
      dib.header->biHeight < 0 ? -int64_t(dib.header->biHeight) : dib.header->biHeight;
  if (!Describe(dib, 0, fullHeight, src)) return 0;
  const uint8_t rop3 = Rop3(rop);
  if (!RopUsesSource(rop3)) return PatBlt(xDst, yDst, wDst, hDst, rop) ? std::abs(hSrc) : 0;

  // A negative extent e at p covers p + e + 1 to p; the two mirrorings cancel.
  auto span = [](int64_t p, int64_t e) { return e < 0 ? p + e + 1 : p; };
  const int64_t aw = std::abs(int64_t(wDst)), ah = std::abs(int64_t(hDst));
  const int64_t sw = std::abs(int64_t(wSrc)), sh = std::abs(int64_t(hSrc));
  const bool mirrorX = (wDst < 0) != (wSrc < 0), mirrorY = (hDst < 0) != (hSrc < 0);
  const int64_t left = span(xDst, wDst) + origin_.x, top = span(yDst, hDst) + origin_.y;
  const int64_t srcLeft = span(xSrc, wSrc), srcLow = span(ySrc, hSrc);

  const TRect device = DeviceRect(left, top, left + aw, top + ah, clip_.Bounds());
  if (device.IsEmpty()) return int(sh);

  // Source column of each destination column the clip can reach, -1 off the image.
  std::vector<int32_t> xs(size_t(device.Width()));
  int32_t minX = INT32_MAX, maxX = -1;
  for (int dx = device.left; dx < device.right; ++dx) {
    int64_t k = (dx - left) * sw / aw;
    int64_t sx = srcLeft + (mirrorX ? sw - 1 - k : k);
    int32_t v = (sx >= 0 && sx < src.width) ? int32_t(sx) : -1;
    xs[size_t(dx - device.left)] = v;
    if (v >= 0) minX = std::min(minX, v), maxX = std::max(maxX, v);
  }
  if (maxX < 0) return int(sh);
  for (int32_t& v : xs)
    if (v >= 0) v -= minX;  // index into the converted segment

  const TColorMatcher matcher(target_.screen ? *target_.screen : CurrentScreen(), GetPalette(),
                              target_.bitsPerPixel == 1);
  const RowConverter convert(src, dib, usage, matcher);
  const uint8_t pattern = RopUsesPattern(rop3) ? PatternIndex() : 0;
  std::vector<uint8_t> segment(size_t(maxX - minX + 1));
  std::vector<uint8_t> gathered(xs.size());
  int64_t convertedScan = -1;

  for (const TRect& c : clip_.Rects()) {
    TRect part = device & c;
    if (part.IsEmpty()) continue;
    // The source columns are monotonic, so the ones on the image form one run.
    int a = part.left, b = part.right;
    while (a < b && xs[size_t(a - device.left)] < 0) ++a;
    while (b > a && xs[size_t(b - 1 - device.left)] < 0) --b;
    if (a >= b) continue;
    const size_t n = size_t(b - a);
    const int32_t* cols = xs.data() + (a - device.left);
    int64_t previousScan = -1;
    uint8_t* previousRow = nullptr;
    bool drew = false;
    for (int y = part.top; y < part.bottom; ++y) {
      int64_t k = (y - top) * sh / ah;
      if (mirrorY) k = sh - 1 - k;
      // Row k from the top of the source rectangle: for a bottom-up image its top is the
      // highest scan, srcLow + sh - 1.
      const int64_t scan = src.bottomUp ? srcLow + sh - 1 - k : srcLow + k;
      const uint8_t* row = src.Scan(scan);
      if (!row) continue;
      uint8_t* d = target_.Row(y) + a;
      if (rop3 == 0xCC && scan == previousScan && previousRow) {
        std::memcpy(d, previousRow, n);  // enlarging: the row above already holds it
      } else {
        if (scan != convertedScan) {
          convert.Convert(segment.data(), row, minX, segment.size());
          convertedScan = scan;
        }
        if (rop3 == 0xCC) {
          GatherRow(d, segment.data(), cols, n);
        } else {
          GatherRow(gathered.data(), segment.data(), cols, n);
          RopRow(rop3, d, gathered.data(), pattern, n);
        }
      }
      previousScan = scan;
      previousRow = d;
      drew = true;
    }
    if (drew) MarkDirty(TRect(a, part.top, b, part.bottom));
  }
  return int(sh);
}

}  // namespace quill
