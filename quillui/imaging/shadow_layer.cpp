#include "quillui/imaging/shadow_layer.h"

#include <algorithm>
#include <span>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/raster.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"

namespace quill {

namespace {

// Past this many rectangles the kept region starts again from what was just made, so a long
// run of partial repaints cannot make it grow without bound.
constexpr size_t kMaxKeptRects = 64;

}  // namespace

void ZShadowLayer::Paint(TDC& dc, const ZShadowScene& scene, const ZShadowSpec& spec) {
  const TDib* dib = scene.background;
  if (!dib || !dib->IsOK()) return;
  const TPixelTarget& target = dc.Target();
  const TRect client = scene.client;
  if (!target.pixels || target.bitsPerPixel != 8 || client.IsEmpty() ||
      TDib::CheckDimensions(client.Width(), client.Height())) {
    PaintShadows(dc, scene, spec);
    return;
  }

  TScreen& screen = target.screen ? *target.screen : CurrentScreen();
  // The kept pixels are matched on the current screen, as a memory DC's are.
  if (&screen != &CurrentScreen()) {
    PaintShadows(dc, scene, spec);
    return;
  }
  TPalette* palette = dc.GetPalette();
  Key key;
  key.picture = dib;
  key.pictureVersion = dib->Version();
  key.origin = scene.origin;
  key.client = client;
  key.children = scene.children;
  key.offset = spec.offset;
  key.shades = spec.shades;
  key.divisor = spec.divisor;
  key.screen = &screen;
  key.screenSerial = screen.Serial();
  key.systemPalette = screen.Surface().PaletteGeneration();
  if (palette && palette->IsOK()) {
    key.palette = palette;
    key.paletteId = palette->Id();
    key.paletteVersion = palette->Version();
    key.paletteRealizations = palette->RealizationCount();
  }
  // A scene seen for the first time is painted directly: arrangements that change at every
  // paint (a pane maximised, then the tiles back) cost no more than without a layer. Its
  // second paint starts keeping it.
  if (!(key == key_)) {
    key_ = std::move(key);
    kept_.Clear();
    PaintShadows(dc, scene, spec);
    return;
  }
  const size_t width = size_t(client.Width());
  pixels_.resize(width * size_t(client.Height()));

  // What is asked for, in client coordinates, and what of it has not been made yet.
  const TPoint org = dc.GetOrigin();
  TRegion wanted = dc.GetClipRegion();
  wanted.Offset(-org.x, -org.y);
  // Only where the picture lies: PaintShadows leaves the rest of the client alone.
  wanted.Intersect(client & TRect(-scene.origin.x, -scene.origin.y, dib->Width() - scene.origin.x,
                                  dib->Height() - scene.origin.y));
  if (wanted.IsEmpty()) return;
  TRegion missing = wanted;
  missing.Subtract(kept_);
  if (!missing.IsEmpty()) {
    // Shaded into the kept pixels through a memory DC that sees them as the client area,
    // with every shadow in (the pixels must not depend on which part was asked for first).
    TMemoryDC mem;
    if (!mem.SelectPixels(std::span<uint8_t>(pixels_), client.Width(), client.Height(),
                          ptrdiff_t(width))) {
      PaintShadows(dc, scene, spec);
      return;
    }
    mem.SetViewportOrg(TPoint(-client.left, -client.top));
    if (palette) mem.SelectPalette(palette, true);
    mem.SelectClipRgn(missing);
    ZShadowScene whole = scene;
    whole.paint = client;
    PaintShadows(mem, whole, spec);
    kept_.Union(missing);
    if (kept_.Rects().size() > kMaxKeptRects) kept_ = std::move(missing);
  }

  for (const TRect& r : wanted.Rects()) {
    const uint8_t* src =
        pixels_.data() + size_t(r.top - client.top) * width + size_t(r.left - client.left);
    uint8_t* dst = target.Row(r.top + org.y) + (r.left + org.x);
    CopyRows(dst, target.stride, src, ptrdiff_t(width), size_t(r.Width()), r.Height());
    if (target.screen) target.screen->MarkDirty(r.OffsetBy(org.x, org.y));
  }
}

}  // namespace quill
