#include "quillui/imaging/shadow_paint.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/raster.h"
#include "quillui/framework/gdi/region.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window.h"
#include "quillui/imaging/background.h"
#include "quillui/imaging/shadow_layer.h"
#include "quillui/profile/profile.h"

namespace quill {

namespace {

bool Overlaps(const TRect& a, const TRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The background over the client rectangle, as SetDIBitsToDevice draws it.
void PaintPicture(TDC& dc, const ZShadowScene& s, const TDib& dib) {
  const TRect& c = s.client;
  dc.SetDIBitsToDevice(c.left, c.top, c.Width(), c.Height(), s.origin.x + c.left,
                       dib.Height() - (s.origin.y + c.top) - c.Height(), 0, dib.Height(), dib);
}

// The shadow rectangles of each level that reach the painted rectangle.
std::vector<TRect> LevelRects(const ZShadowScene& s, const ZShadowSpec& spec, int level) {
  std::vector<TRect> rects;
  const int count = int(spec.shades.size());
  for (const TRect& child : s.children) {
    const TRect r = ShadowRect(child, spec.offset, level, count);
    if (Overlaps(r, s.paint)) rects.push_back(r);
  }
  return rects;
}

}  // namespace

std::vector<int> ShadowLevels(int count, int divisor) {
  std::vector<int> levels;
  if (count <= 0) return levels;
  const int step = std::max(1, divisor > 0 ? count / divisor : count);
  for (int i = count - 1; i >= 0; i -= step) levels.push_back(i);
  return levels;
}

TRect ShadowRect(const TRect& child, TPoint offset, int level, int count) {
  const int x = offset.x, y = offset.y;
  const int dx = count > 0 ? x - (x * level) / count : 0;
  const int dy = count > 0 ? y - (y * level) / count : 0;
  return TRect(child.left + x + dx, child.top + y + dy, child.right + x - dx,
               child.bottom + y - dy);
}

void ShadeColors(const TRgbQuad* colors, int count, int shade, TRgbQuad* out) {
  // Every channel value's shade, worked out once for the table.
  std::array<uint8_t, 256> scaled;
  for (int v = 0; v < 256; ++v) scaled[size_t(v)] = uint8_t(std::min(255, v * shade / 100));
  for (int i = 0; i < count; ++i) {
    out[i] = colors[i];
    out[i].rgbRed = scaled[colors[i].rgbRed];
    out[i].rgbGreen = scaled[colors[i].rgbGreen];
    out[i].rgbBlue = scaled[colors[i].rgbBlue];
  }
}

void PaintShadowsByLevels(TDC& dc, const ZShadowScene& s, const ZShadowSpec& spec) {
  if (!s.background || !s.background->IsOK()) return;
  TDib shaded = *s.background;  // its colour table is the one darkened and put back
  PaintPicture(dc, s, shaded);
  const int count = int(spec.shades.size());
  const std::vector<TRgbQuad> saved(shaded.GetColors(), shaded.GetColors() + shaded.NumColors());
  // Each level's region stays within the clip the caller gave.
  TRegion callerClip = dc.GetClipRegion();
  callerClip.Offset(-dc.GetOrigin().x, -dc.GetOrigin().y);
  const int state = dc.SaveDC();
  for (int level : ShadowLevels(count, spec.divisor)) {
    TRegion region;
    for (const TRect& r : LevelRects(s, spec, level)) region.Union(r);
    region.Intersect(callerClip);
    dc.SelectClipRgn(region);
    ShadeColors(saved.data(), int(saved.size()), spec.shades[size_t(level)], shaded.GetColors());
    PaintPicture(dc, s, shaded);
    std::copy(saved.begin(), saved.end(), shaded.GetColors());
  }
  dc.RestoreDC(state);
}

void PaintShadows(TDC& dc, const ZShadowScene& s, const ZShadowSpec& spec) {
  const TDib* dib = s.background;
  if (!dib || !dib->IsOK()) return;
  const TPixelTarget& target = dc.Target();
  if (dib->BitsPerPixel() != 8 || !target.pixels) {
    PaintShadowsByLevels(dc, s, spec);
    return;
  }
  const int count = int(spec.shades.size());
  const std::vector<int> levels = ShadowLevels(count, spec.divisor);
  // Each level's map has a one-byte slot; more levels than that are drawn the classic way.
  if (levels.size() > 255) {
    PaintShadowsByLevels(dc, s, spec);
    return;
  }

  // One map from picture index to target index for the picture as it is (slot 0) and for
  // each level drawn (slot k + 1), made as SetDIBitsToDevice makes its map.
  TScreen& screen = target.screen ? *target.screen : CurrentScreen();
  const TColorMatcher matcher(screen, dc.GetPalette(), target.bitsPerPixel == 1);
  const int colors = std::min(dib->NumColors(), 256);
  std::vector<std::array<uint8_t, 256>> maps(levels.size() + 1);
  static_assert(sizeof(std::array<uint8_t, 256>) == 256, "the maps must lie back to back");
  std::vector<TRgbQuad> shaded(size_t(std::max(colors, 1)));
  matcher.MapTable(dib->GetColors(), colors, maps[0].data());
  for (size_t k = 0; k < levels.size(); ++k) {
    ShadeColors(dib->GetColors(), colors, spec.shades[size_t(levels[k])], shaded.data());
    matcher.MapTable(shaded.data(), colors, maps[k + 1].data());
  }
  std::vector<bool> identity(maps.size());
  for (size_t k = 0; k < maps.size(); ++k) identity[k] = IsIdentityMap(maps[k].data(), 256);
  // Every shadow rectangle with the map slot it paints with; later entries win, as the later
  // levels are drawn over the earlier ones.
  struct Shade {
    TRect rect;
    uint8_t slot;
  };
  std::vector<Shade> shades;
  for (size_t k = 0; k < levels.size(); ++k)
    for (const TRect& r : LevelRects(s, spec, levels[k])) shades.push_back({r, uint8_t(k + 1)});

  // The part of the client the picture covers, in logical coordinates.
  const TRect picture(-s.origin.x, -s.origin.y, dib->Width() - s.origin.x,
                      dib->Height() - s.origin.y);
  const TRect area = s.client & picture;
  if (area.IsEmpty()) return;
  const TPoint org = dc.GetOrigin();

  // Horizontal bands between the shadow rectangles' tops and bottoms: within a band every row
  // has the same runs of slots.
  std::vector<int> cuts{area.top, area.bottom};
  for (const Shade& sh : shades) {
    cuts.push_back(std::clamp(sh.rect.top, area.top, area.bottom));
    cuts.push_back(std::clamp(sh.rect.bottom, area.top, area.bottom));
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

  struct Run {
    int left, right;
    uint8_t slot;
  };
  std::vector<Run> runs;
  std::vector<int> xs;
  std::vector<uint8_t> intervalSlots;
  // A segment of a row: one run's columns with its slot, or narrow runs side by side
  // (kMixed) whose columns' map offsets start at columns in columnMaps.
  constexpr int kWideRun = 16;
  enum class Kind : uint8_t { kCopy, kMap, kMixed };
  struct Segment {
    int left, right;
    Kind kind;
    const uint8_t* map;  // kMap
    size_t columns;      // kMixed
  };
  std::vector<Segment> segments;
  std::vector<uint16_t> columnMaps;
  // The maps lie back to back: slot k's entry for index i is flat[k * 256 + i].
  const uint8_t* flat = maps[0].data();
  for (size_t b = 0; b + 1 < cuts.size(); ++b) {
    const int top = cuts[b], bottom = cuts[b + 1];
    // The runs of this band: elementary intervals between the edges of the rectangles that
    // span it, each with the slot of the last rectangle over it.
    xs.assign({area.left, area.right});
    for (const Shade& sh : shades) {
      if (sh.rect.top > top || sh.rect.bottom < bottom) continue;
      xs.push_back(std::clamp(sh.rect.left, area.left, area.right));
      xs.push_back(std::clamp(sh.rect.right, area.left, area.right));
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    // Each spanning rectangle covers a range of the intervals, its edges being among xs;
    // painting the ranges in order leaves every interval the slot of the last one over it.
    intervalSlots.assign(xs.size() - 1, 0);
    for (const Shade& sh : shades) {
      if (sh.rect.top > top || sh.rect.bottom < bottom) continue;
      // Intervals from the first edge at or right of its left to the last edge at or left of
      // its right.
      const ptrdiff_t first = std::lower_bound(xs.begin(), xs.end(), sh.rect.left) - xs.begin();
      const ptrdiff_t last = std::upper_bound(xs.begin(), xs.end(), sh.rect.right) - xs.begin() - 1;
      if (first < last)
        std::fill(intervalSlots.begin() + first, intervalSlots.begin() + last, sh.slot);
    }
    runs.clear();
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      const uint8_t slot = intervalSlots[i];
      if (!runs.empty() && runs.back().slot == slot)
        runs.back().right = xs[i + 1];
      else
        runs.push_back({xs[i], xs[i + 1], slot});
    }
    // Each rectangle of the DC's clip cuts the band's runs into segments: a wide run is copied
    // or mapped whole; narrow runs side by side (the edges between levels, a couple of pixels
    // each) join one segment mapped pixel by pixel through each column's map, so a row costs
    // a few calls however many levels meet in it. Rows are walked top to bottom, each once.
    for (const TRect& clipDevice : dc.GetClipRegion().Rects()) {
      const TRect clip(clipDevice.left - org.x, clipDevice.top - org.y, clipDevice.right - org.x,
                       clipDevice.bottom - org.y);
      const int y0 = std::max(top, clip.top), y1 = std::min(bottom, clip.bottom);
      if (y0 >= y1) continue;
      segments.clear();
      columnMaps.clear();
      for (const Run& run : runs) {
        const int x0 = std::max(run.left, clip.left), x1 = std::min(run.right, clip.right);
        if (x0 >= x1) continue;
        if (x1 - x0 >= kWideRun) {
          if (identity[run.slot])
            segments.push_back({x0, x1, Kind::kCopy, nullptr, 0});
          else
            segments.push_back({x0, x1, Kind::kMap, maps[run.slot].data(), 0});
          continue;
        }
        if (segments.empty() || segments.back().kind != Kind::kMixed || segments.back().right != x0)
          segments.push_back({x0, x0, Kind::kMixed, nullptr, columnMaps.size()});
        columnMaps.insert(columnMaps.end(), size_t(x1 - x0), uint16_t(run.slot * 256));
        segments.back().right = x1;
      }
      if (segments.empty()) continue;
      // Picture rows are bottom-up: row y lies stride bytes below row y - 1.
      const uint8_t* srcRow = dib->ScanLine(y0 + s.origin.y) + s.origin.x;
      const ptrdiff_t srcStep = -ptrdiff_t(dib->BytesPerLine());
      uint8_t* dstRow = target.Row(y0 + org.y) + org.x;
      for (int y = y0; y < y1; ++y, srcRow += srcStep, dstRow += target.stride) {
        for (const Segment& seg : segments) {
          const uint8_t* src = srcRow + seg.left;
          uint8_t* dst = dstRow + seg.left;
          const size_t n = size_t(seg.right - seg.left);
          switch (seg.kind) {
            case Kind::kCopy: std::memcpy(dst, src, n); break;
            case Kind::kMap: MapRow(dst, src, seg.map, n); break;
            case Kind::kMixed: {
              const uint16_t* column = columnMaps.data() + seg.columns;
              for (size_t i = 0; i < n; ++i) dst[i] = flat[column[i] + src[i]];
              break;
            }
          }
        }
      }
      if (target.screen) {
        target.screen->MarkDirty(
            TRect(clip.left + org.x, y0 + org.y, clip.right + org.x, y1 + org.y) & clipDevice);
      }
    }
  }
}

void PaintDropShadows(TDC& dc, const TWindow& window, const std::vector<TRect>& panes,
                      const TRect& paint, TColor fill, const ZShadowSpec& spec,
                      ZShadowLayer* layer) {
  ZShadowScene scene;
  scene.client = window.GetClientRect();
  scene.children = panes;
  scene.paint = paint;
  TDib* background = nullptr;
  TRect under;
  if (ZProfile(eIniFile).GetBool("View", "DibShadows", false) &&
      GetWindowBackground(window, background, under) && background->BitsPerPixel() == 8) {
    scene.background = background;
    scene.origin = under.TopLeft();
  } else {
    // A picture of one colour: its shades are the tableau colour darkened. Repaints come
    // often and at one size, so the last picture made is kept.
    thread_local std::unique_ptr<TDib> plain;
    const int w = std::max(1, scene.client.Width()), h = std::max(1, scene.client.Height());
    if (!plain || plain->Width() != w || plain->Height() != h)
      plain = std::make_unique<TDib>(w, h, 8, 256);
    // Set only when it differs, so the picture's version (and a layer's pixels) stays.
    const TRgbQuad quad{fill.Blue(), fill.Green(), fill.Red(), 0};
    if (std::as_const(*plain).GetColors()[0] != quad) plain->SetColor(0, quad);
    scene.background = plain.get();
  }
  if (layer)
    layer->Paint(dc, scene, spec);
  else
    PaintShadows(dc, scene, spec);
}

}  // namespace quill
