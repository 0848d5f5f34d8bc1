#include "quillui/imaging/shadow_paint.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/raster.h"
#include "quillui/framework/gdi/region.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window.h"
#include "quillui/imaging/background.h"
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

// What a colour map depends on besides the colour table: the selected palette's entries and
// the system slots they were realised into, the system palette, and whether the target is a
// mask. Kept whole, so a cached map is reused only for exactly the same inputs.
struct MapContext {
  std::array<TPaletteEntry, 256> system{};
  std::vector<TPaletteEntry> palette;
  std::vector<uint8_t> slots;
  bool mono = false;
  bool operator==(const MapContext&) const = default;
};

MapContext ContextOf(TScreen& screen, const TPalette* palette, bool mono) {
  MapContext c;
  screen.GetSystemPaletteEntries(0, 256, c.system.data());
  if (palette && palette->IsOK()) {
    c.palette.resize(size_t(palette->GetNumEntries()));
    palette->GetPaletteEntries(0, palette->GetNumEntries(), c.palette.data());
    for (int i = 0; i < palette->GetNumEntries(); ++i)
      c.slots.push_back(palette->SystemIndex(i, screen));
  }
  c.mono = mono;
  return c;
}

// Matching 256 colours against a palette costs far more than painting a frame, and a window
// paints with the same few tables again and again: the last maps made are kept.
struct CachedTable {
  MapContext context;
  std::vector<TRgbQuad> colors;
  std::array<uint8_t, 256> map{};
};

void CachedMap(const MapContext& context, const TColorMatcher& matcher, const TRgbQuad* colors,
               int count, uint8_t* map256) {
  static std::vector<CachedTable> cache;  // newest last
  constexpr size_t kKept = 24;
  for (size_t i = cache.size(); i-- > 0;) {
    CachedTable& t = cache[i];
    if (int(t.colors.size()) == count && std::equal(colors, colors + count, t.colors.begin()) &&
        t.context == context) {
      std::memcpy(map256, t.map.data(), 256);
      return;
    }
  }
  if (cache.size() >= kKept) cache.erase(cache.begin());
  CachedTable t;
  t.context = context;
  t.colors.assign(colors, colors + count);
  matcher.MapTable(colors, count, t.map.data());
  std::memcpy(map256, t.map.data(), 256);
  cache.push_back(std::move(t));
}

// MapRow in whole blocks of kBlock bytes: a span's last partial block is mapped as the last
// kBlock bytes again, which rewrites some bytes with the same values (source and target are
// different pixels) instead of falling to the byte-at-a-time tail.
void MapSpan(uint8_t* dst, const uint8_t* src, const uint8_t* map, size_t n) {
  constexpr size_t kBlock = 64;
  if (n <= kBlock) {
    MapRow(dst, src, map, n);
    return;
  }
  const size_t whole = n - n % kBlock;
  MapRow(dst, src, map, whole);
  if (whole != n) MapRow(dst + n - kBlock, src + n - kBlock, map, kBlock);
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
  auto scale = [shade](uint8_t v) { return uint8_t(std::min(255, int(v) * shade / 100)); };
  for (int i = 0; i < count; ++i) {
    out[i] = colors[i];
    out[i].rgbRed = scale(colors[i].rgbRed);
    out[i].rgbGreen = scale(colors[i].rgbGreen);
    out[i].rgbBlue = scale(colors[i].rgbBlue);
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

  // One map from picture index to target index for the picture as it is (slot 0) and for
  // each level drawn (slot k + 1), made as SetDIBitsToDevice makes its map.
  TScreen& screen = target.screen ? *target.screen : CurrentScreen();
  const TColorMatcher matcher(screen, dc.GetPalette(), target.bitsPerPixel == 1);
  const int colors = std::min(dib->NumColors(), 256);
  const MapContext context = ContextOf(screen, dc.GetPalette(), target.bitsPerPixel == 1);
  std::vector<std::array<uint8_t, 256>> maps(levels.size() + 1);
  std::vector<TRgbQuad> shaded(size_t(std::max(colors, 1)));
  CachedMap(context, matcher, dib->GetColors(), colors, maps[0].data());
  for (size_t k = 0; k < levels.size(); ++k) {
    ShadeColors(dib->GetColors(), colors, spec.shades[size_t(levels[k])], shaded.data());
    CachedMap(context, matcher, shaded.data(), colors, maps[k + 1].data());
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
    runs.clear();
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      uint8_t slot = 0;
      for (const Shade& sh : shades)
        if (sh.rect.top <= top && sh.rect.bottom >= bottom && sh.rect.left <= xs[i] &&
            sh.rect.right >= xs[i + 1])
          slot = sh.slot;
      if (!runs.empty() && runs.back().slot == slot)
        runs.back().right = xs[i + 1];
      else
        runs.push_back({xs[i], xs[i + 1], slot});
    }
    // Each run of each row, cut to each rectangle of the DC's clip, mapped straight into
    // the target's row.
    for (const TRect& clipDevice : dc.GetClipRegion().Rects()) {
      const TRect clip(clipDevice.left - org.x, clipDevice.top - org.y, clipDevice.right - org.x,
                       clipDevice.bottom - org.y);
      const int y0 = std::max(top, clip.top), y1 = std::min(bottom, clip.bottom);
      if (y0 >= y1) continue;
      bool drew = false;
      for (const Run& run : runs) {
        const int x0 = std::max(run.left, clip.left), x1 = std::min(run.right, clip.right);
        if (x0 >= x1) continue;
        const uint8_t* map = maps[run.slot].data();
        const size_t n = size_t(x1 - x0);
        // Picture rows are bottom-up: row y lies stride bytes below row y - 1.
        const uint8_t* src = dib->ScanLine(y0 + s.origin.y) + (x0 + s.origin.x);
        const ptrdiff_t srcStep = -ptrdiff_t(dib->BytesPerLine());
        uint8_t* dst = target.Row(y0 + org.y) + (x0 + org.x);
        if (identity[run.slot]) {
          for (int y = y0; y < y1; ++y, src += srcStep, dst += target.stride)
            std::memcpy(dst, src, n);
        } else if (n < 16) {
          // The thin edges between levels: a call per row would cost more than the pixels.
          for (int y = y0; y < y1; ++y, src += srcStep, dst += target.stride)
            for (size_t i = 0; i < n; ++i) dst[i] = map[src[i]];
        } else {
          for (int y = y0; y < y1; ++y, src += srcStep, dst += target.stride)
            MapSpan(dst, src, map, n);
        }
        drew = true;
      }
      if (drew && target.screen) {
        target.screen->MarkDirty(
            TRect(clip.left + org.x, y0 + org.y, clip.right + org.x, y1 + org.y) & clipDevice);
      }
    }
  }
}

void PaintDropShadows(TDC& dc, const TWindow& window, const std::vector<TRect>& panes,
                      const TRect& paint, TColor fill, const ZShadowSpec& spec) {
  ZShadowScene scene;
  scene.client = window.GetClientRect();
  scene.children = panes;
  scene.paint = paint;
  TDib* background = nullptr;
  TRect under;
  std::unique_ptr<TDib> plain;
  if (ZProfile(eIniFile).GetBool("View", "DibShadows", false) &&
      GetWindowBackground(window, background, under) && background->BitsPerPixel() == 8) {
    scene.background = background;
    scene.origin = under.TopLeft();
  } else {
    // A picture of one colour: its shades are the tableau colour darkened.
    plain = std::make_unique<TDib>(std::max(1, scene.client.Width()),
                                   std::max(1, scene.client.Height()), 8, 256);
    plain->SetColor(0, fill.Rgb());
    scene.background = plain.get();
  }
  PaintShadows(dc, scene, spec);
}

}  // namespace quill
