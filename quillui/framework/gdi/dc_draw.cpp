// Pixels, lines, rectangles, pattern fills and DC-to-DC block transfers of TDC.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "quillui/framework/gdi/dc.h"

namespace quill {

namespace {

// Coordinates beyond this are refused by the line code, which keeps its arithmetic in 64 bits
// and its loops bounded by the clip box.
constexpr int64_t kMaxCoordinate = int64_t(1) << 27;

bool InRange(int64_t v) { return v > -kMaxCoordinate && v < kMaxCoordinate; }

// Whether the bytes of two targets' rows meet in memory.
bool SharesBytes(const TPixelTarget& a, const TPixelTarget& b) {
  auto extent = [](const TPixelTarget& t) {
    const uintptr_t top = reinterpret_cast<uintptr_t>(t.pixels);
    const uintptr_t span = uintptr_t(t.height - 1) * uintptr_t(std::abs(t.stride));
    const uintptr_t low = t.stride < 0 ? top - span : top;
    return std::pair<uintptr_t, uintptr_t>(low, low + span + uintptr_t(t.width));
  };
  const auto [aLow, aHigh] = extent(a);
  const auto [bLow, bHigh] = extent(b);
  return aLow < bHigh && bLow < aHigh;
}

}  // namespace

// --- Fills and pixels ----------------------------------------------------------------------------

void TDC::FillRect(const TRect& logical, TColor color) {
  if (color == TColor::None || color == TColor::Transparent) return;
  FillRectIndex(logical, MapColor(color));
}

void TDC::FillRect(const TRect& logical, const TBrush& brush) {
  if (brush.IsNull()) return;
  FillRectIndex(logical, MapColor(brush.GetColor()));
}

void TDC::FillRectIndex(const TRect& logical, uint8_t index) {
  FillDevice(ToDevice(logical), index);
}

void TDC::FillDevice(const TRect& device, uint8_t index) {
  for (const TRect& c : clip_.Rects()) {
    TRect part = device & c;
    if (part.IsEmpty()) continue;
    size_t width = size_t(part.Width());
    for (int y = part.top; y < part.bottom; ++y)
      std::memset(target_.Row(y) + part.left, index, width);
    MarkDirty(part);
  }
}

void TDC::FillRects(std::span<const TFilledRect> rects) {
  struct Part {
    TRect device;
    uint8_t index;
  };
  std::vector<Part> parts, inClip;
  parts.reserve(rects.size());
  for (const TFilledRect& r : rects) {
    const TRect device = ToDevice(r.rect);
    if (!device.IsEmpty()) parts.push_back({device, MapColor(r.color)});
  }
  if (parts.empty()) return;
  inClip.reserve(parts.size());
  std::vector<int> cuts;
  std::vector<uint8_t> row, covered;
  for (const TRect& c : clip_.Rects()) {
    inClip.clear();
    cuts.clear();
    TRect dirty;
    for (const Part& p : parts) {
      const TRect part = p.device & c;
      if (part.IsEmpty()) continue;
      inClip.push_back({part, p.index});
      cuts.push_back(part.top);
      cuts.push_back(part.bottom);
      dirty |= part;
    }
    if (inClip.empty()) continue;
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    // Between consecutive cuts every row is covered by the same parts: the row is put together
    // once and copied down the band, so the target is written a row at a time.
    const size_t width = size_t(dirty.Width());
    row.resize(width);
    for (size_t b = 0; b + 1 < cuts.size(); ++b) {
      const int top = cuts[b], bottom = cuts[b + 1];
      int left = dirty.right, right = dirty.left, widest = 0;
      for (const Part& p : inClip) {
        if (p.device.top > top || p.device.bottom < bottom) continue;
        std::memset(row.data() + (p.device.left - dirty.left), p.index, size_t(p.device.Width()));
        left = std::min(left, p.device.left);
        right = std::max(right, p.device.right);
        widest = std::max(widest, p.device.Width());
      }
      if (left >= right) continue;
      // The band's parts leave no gap when one spans them all (a background under the rest);
      // otherwise the columns they cover are counted.
      bool whole = widest == right - left;
      if (!whole) {
        covered.assign(size_t(right - left), 0);
        for (const Part& p : inClip)
          if (p.device.top <= top && p.device.bottom >= bottom)
            std::memset(covered.data() + (p.device.left - left), 1, size_t(p.device.Width()));
        whole = std::find(covered.begin(), covered.end(), 0) == covered.end();
      }
      const size_t x0 = size_t(left - dirty.left), n = size_t(right - left);
      if (whole) {
        for (int y = top; y < bottom; ++y) std::memcpy(target_.Row(y) + left, row.data() + x0, n);
        continue;
      }
      // Parts with gaps between them: only the covered columns are written.
      for (const Part& p : inClip) {
        if (p.device.top > top || p.device.bottom < bottom) continue;
        for (int y = top; y < bottom; ++y)
          std::memset(target_.Row(y) + p.device.left, p.index, size_t(p.device.Width()));
      }
    }
    MarkDirty(dirty);
  }
}

TColor TDC::SetPixel(int x, int y, TColor color) {
  const TPoint p = ToDevice(x, y);
  if (!clip_.Contains(p)) return TColor(CLR_INVALID);
  uint8_t index = MapColor(color);
  target_.Row(p.y)[p.x] = index;
  MarkDirty({p.x, p.y, p.x + 1, p.y + 1});
  return IndexColor(index);
}

TColor TDC::GetPixel(int x, int y) const {
  const TPoint p = ToDevice(x, y);
  if (!clip_.Contains(p) || p.x < 0 || p.y < 0 || p.x >= target_.width || p.y >= target_.height)
    return TColor(CLR_INVALID);
  return IndexColor(target_.Row(p.y)[p.x]);
}

int TDC::GetPixelIndex(int x, int y) const {
  const TPoint d = ToDevice(x, y);
  const int dx = d.x, dy = d.y;
  if (dx < 0 || dy < 0 || dx >= target_.width || dy >= target_.height) return -1;
  return target_.Row(dy)[dx];
}

// --- Lines ---------------------------------------------------------------------------------------

void TDC::DrawSpan(int x0, int x1, int y, uint8_t index) {
  for (const TRect& c : clip_.Rects()) {
    if (y < c.top || y >= c.bottom) continue;
    int a = std::max(x0, c.left), b = std::min(x1, c.right);
    if (a >= b) continue;
    std::memset(target_.Row(y) + a, index, size_t(b - a));
    MarkDirty({a, y, b, y + 1});
  }
}

void TDC::DrawColumn(int x, int y0, int y1, uint8_t index) {
  for (const TRect& c : clip_.Rects()) {
    if (x < c.left || x >= c.right) continue;
    int a = std::max(y0, c.top), b = std::min(y1, c.bottom);
    if (a >= b) continue;
    uint8_t* p = target_.Row(a) + x;
    for (int y = a; y < b; ++y, p += target_.stride) *p = index;
    MarkDirty({x, a, x + 1, b});
  }
}

bool TDC::MoveToEx(int x, int y, TPoint* previous) {
  if (previous) *previous = state_.position;
  state_.position = {x, y};
  return true;
}

bool TDC::LineTo(int x, int y) {
  const TPoint from = state_.position;
  state_.position = {x, y};
  if (state_.pen.IsNull()) return true;
  const int64_t x0 = int64_t(from.x) + origin_.x, y0 = int64_t(from.y) + origin_.y;
  const int64_t x1 = int64_t(x) + origin_.x, y1 = int64_t(y) + origin_.y;
  if (!InRange(x0) || !InRange(y0) || !InRange(x1) || !InRange(y1)) return false;
  const uint8_t index = MapColor(state_.pen.GetColor());

  if (y0 == y1) {
    if (x1 > x0)
      DrawSpan(int(x0), int(x1), int(y0), index);
    else if (x1 < x0)
      DrawSpan(int(x1) + 1, int(x0) + 1, int(y0), index);
    return true;
  }
  if (x0 == x1) {
    if (y1 > y0)
      DrawColumn(int(x0), int(y0), int(y1), index);
    else
      DrawColumn(int(x0), int(y1) + 1, int(y0) + 1, index);
    return true;
  }

  // Bresenham along the major axis, n steps for n pixels (the end point is the (n+1)-th).
  // Step i lies at minor offset round(i * minor / major), halves rounding towards the start,
  // so the loop can begin at the first step inside the clip box instead of at the start.
  const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
  const int64_t major = xMajor ? std::llabs(x1 - x0) : std::llabs(y1 - y0);
  const int64_t minor = xMajor ? std::llabs(y1 - y0) : std::llabs(x1 - x0);
  const int64_t sMajor = (xMajor ? x1 - x0 : y1 - y0) > 0 ? 1 : -1;
  const int64_t sMinor = (xMajor ? y1 - y0 : x1 - x0) > 0 ? 1 : -1;
  const int64_t a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
  const TRect box = clip_.Bounds();
  if (box.IsEmpty()) return true;
  const int64_t lo = xMajor ? box.left : box.top, hi = (xMajor ? box.right : box.bottom) - 1;
  // Steps whose major coordinate a0 + sMajor * i falls in [lo, hi].
  int64_t first = sMajor > 0 ? lo - a0 : a0 - hi;
  int64_t last = sMajor > 0 ? hi - a0 : a0 - lo;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, major - 1);
  if (first > last) return true;

  const bool single = clip_.Rects().size() == 1;
  int64_t m = (2 * minor * first + major - 1) / (2 * major);
  int64_t decision = 2 * minor * (first + 1) - major * (2 * m + 1);
  TRect dirty;
  for (int64_t i = first; i <= last; ++i) {
    const int64_t a = a0 + sMajor * i, b = b0 + sMinor * m;
    const TPoint p = xMajor ? TPoint(int(a), int(b)) : TPoint(int(b), int(a));
    if (single ? box.Contains(p) : clip_.Contains(p)) {
      target_.Row(p.y)[p.x] = index;
      dirty |= TRect(p.x, p.y, p.x + 1, p.y + 1);
    }
    if (decision > 0) {
      ++m;
      decision -= 2 * major;
    }
    decision += 2 * minor;
  }
  if (!dirty.IsEmpty()) MarkDirty(dirty);
  return true;
}

bool TDC::Rectangle(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const TRect device = ToDevice(TRect(left, top, right, bottom));
  TRect inside = device;
  if (state_.pen.IsNull()) {
    inside = TRect(device.left, device.top, device.right - 1, device.bottom - 1);
  } else if (!device.IsEmpty()) {
    const uint8_t index = MapColor(state_.pen.GetColor());
    DrawSpan(device.left, device.right, device.top, index);
    if (device.bottom - 1 > device.top)
      DrawSpan(device.left, device.right, device.bottom - 1, index);
    DrawColumn(device.left, device.top + 1, device.bottom - 1, index);
    if (device.right - 1 > device.left)
      DrawColumn(device.right - 1, device.top + 1, device.bottom - 1, index);
    inside = device.InflatedBy(-1, -1);
  }
  if (!state_.brush.IsNull() && !inside.IsEmpty())
    FillDevice(inside, MapColor(state_.brush.GetColor()));
  return true;
}

// --- Raster operations ---------------------------------------------------------------------------

void TDC::RopRect(const TRect& dst, uint8_t rop3, uint8_t pattern, const uint8_t* src,
                  ptrdiff_t srcStride, const uint8_t* srcMap) {
  if (rop3 == 0xAA) return;  // the destination as it is
  // Sources of another depth are mapped a stretch at a time into this buffer: raster
  // operations work pixel by pixel, so nothing needs the whole row mapped at once.
  constexpr size_t kMapStretch = 512;
  std::array<uint8_t, kMapStretch> mapped;
  for (const TRect& c : clip_.Rects()) {
    TRect part = dst & c;
    if (part.IsEmpty()) continue;
    const size_t n = size_t(part.Width());
    for (int y = part.top; y < part.bottom; ++y) {
      uint8_t* d = target_.Row(y) + part.left;
      if (!src) {
        RopRow(rop3, d, nullptr, pattern, n);
        continue;
      }
      const uint8_t* s = src + ptrdiff_t(y - dst.top) * srcStride + (part.left - dst.left);
      if (!srcMap) {
        RopRow(rop3, d, s, pattern, n);
        continue;
      }
      for (size_t at = 0; at < n; at += kMapStretch) {
        const size_t k = std::min(kMapStretch, n - at);
        MapRow(mapped.data(), s + at, srcMap, k);
        RopRow(rop3, d + at, mapped.data(), pattern, k);
      }
    }
    MarkDirty(part);
  }
}

bool TDC::PatBlt(int x, int y, int w, int h, uint32_t rop) {
  const uint8_t rop3 = Rop3(rop);
  if (RopUsesSource(rop3)) return false;
  if (RopUsesPattern(rop3) && state_.brush.IsNull()) return true;
  int64_t left = w < 0 ? int64_t(x) + w : x, top = h < 0 ? int64_t(y) + h : y;
  int64_t right = left + std::llabs(int64_t(w)), bottom = top + std::llabs(int64_t(h));
  left += origin_.x, right += origin_.x, top += origin_.y, bottom += origin_.y;
  const TRect bounds = clip_.Bounds();
  TRect device(int(std::clamp<int64_t>(left, bounds.left, bounds.right)),
               int(std::clamp<int64_t>(top, bounds.top, bounds.bottom)),
               int(std::clamp<int64_t>(right, bounds.left, bounds.right)),
               int(std::clamp<int64_t>(bottom, bounds.top, bounds.bottom)));
  if (device.IsEmpty()) return true;
  RopRect(device, rop3, RopUsesPattern(rop3) ? PatternIndex() : 0, nullptr, 0, nullptr);
  return true;
}

bool TDC::BitBlt(int x, int y, int w, int h, const TDC& src, int sx, int sy, uint32_t rop) {
  const uint8_t rop3 = Rop3(rop);
  if (!RopUsesSource(rop3)) return PatBlt(x, y, w, h, rop);
  const TPixelTarget& st = src.target_;
  if (!st.pixels || !target_.pixels) return false;
  if (w <= 0 || h <= 0) return true;

  // Only the part of the source rectangle that lies on the source target is transferred.
  const int64_t sx0 = int64_t(sx) + src.origin_.x, sy0 = int64_t(sy) + src.origin_.y;
  const int64_t cx0 = std::max<int64_t>(0, -sx0), cy0 = std::max<int64_t>(0, -sy0);
  const int64_t cx1 = std::min<int64_t>(w, st.width - sx0),
                cy1 = std::min<int64_t>(h, st.height - sy0);
  if (cx1 <= cx0 || cy1 <= cy0) return true;
  const int64_t dl = int64_t(x) + origin_.x + cx0, dt = int64_t(y) + origin_.y + cy0;
  const TRect bounds = clip_.Bounds();
  if (dl >= bounds.right || dt >= bounds.bottom || dl + (cx1 - cx0) <= bounds.left ||
      dt + (cy1 - cy0) <= bounds.top)
    return true;
  const TRect dst(int(dl), int(dt), int(dl + (cx1 - cx0)), int(dt + (cy1 - cy0)));
  const int srcLeft = int(sx0 + cx0), srcTop = int(sy0 + cy0);

  // The source is addressed by its first pixel and its stride, so a transfer allocates
  // nothing unless it has to copy an overlapping source first.
  const uint8_t* source = st.Row(srcTop) + srcLeft;
  ptrdiff_t sourceStride = st.stride;
  const TRect srcRect(srcLeft, srcTop, srcLeft + dst.Width(), srcTop + dst.Height());
  const bool sameLayout = st.pixels == target_.pixels && st.stride == target_.stride;
  std::vector<uint8_t> copy;
  if (sameLayout ? srcRect.Touches(dst) : SharesBytes(st, target_)) {
    // Source and destination overlap: read the source before writing. Two views of one caller
    // buffer (one bottom-up, one top-down) can overlap whatever their rectangles say.
    const size_t n = size_t(dst.Width());
    const size_t rows = size_t(dst.Height());
    copy.resize(n * rows);
    for (size_t r = 0; r < rows; ++r)
      std::memcpy(copy.data() + r * n, source + ptrdiff_t(r) * sourceStride, n);
    source = copy.data();
    sourceStride = ptrdiff_t(n);
  }

  std::array<uint8_t, 256> map{};
  const uint8_t* srcMap = nullptr;
  if (st.bitsPerPixel == 1 && target_.bitsPerPixel != 1) {
    map.fill(MapColor(state_.bkColor));
    map[0x00] = MapColor(state_.textColor);
    srcMap = map.data();
  } else if (st.bitsPerPixel != 1 && target_.bitsPerPixel == 1) {
    const uint8_t bk = src.MapColor(src.state_.bkColor);
    map.fill(0x00);
    map[bk] = 0xFF;
    srcMap = map.data();
  }
  RopRect(dst, rop3, RopUsesPattern(rop3) ? PatternIndex() : 0, source, sourceStride, srcMap);
  return true;
}

}  // namespace quill
