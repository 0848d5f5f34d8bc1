#include "quillui/platform/screen/screen_surface.h"

#include <algorithm>

namespace quill::platform {

namespace {
// Beyond this many separate dirty areas, one bounding area is cheaper to upload than a list.
constexpr size_t kMaxDirtyRects = 64;
}  // namespace

ScreenSurface::ScreenSurface(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      stride_(size_t(std::max(width, 1))),
      pixels_(stride_ * size_t(std::max(height, 1)), 0),
      palette_(DefaultPalette()) {}

void ScreenSurface::SetPaletteEntries(int first, const PaletteColor* colors, int count) {
  bool changed = false;
  for (int i = 0; i < count; ++i) {
    int index = first + i;
    if (index < 0 || index > 255) continue;
    if (!(palette_[size_t(index)] == colors[i])) {
      palette_[size_t(index)] = colors[i];
      changed = true;
    }
  }
  if (changed) {
    ++paletteGeneration_;
    paletteDirty_ = true;
  }
}

void ScreenSurface::MarkDirty(const PixelRect& r) {
  int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
  int x1 = std::min(r.x + r.w, width_), y1 = std::min(r.y + r.h, height_);
  if (x1 <= x0 || y1 <= y0) return;
  PixelRect clipped{x0, y0, x1 - x0, y1 - y0};
  for (const PixelRect& d : dirty_) {
    if (d.x <= clipped.x && d.y <= clipped.y && d.x + d.w >= x1 && d.y + d.h >= y1) return;
  }
  if (dirty_.size() >= kMaxDirtyRects) {
    int bx0 = x0, by0 = y0, bx1 = x1, by1 = y1;
    for (const PixelRect& d : dirty_) {
      bx0 = std::min(bx0, d.x);
      by0 = std::min(by0, d.y);
      bx1 = std::max(bx1, d.x + d.w);
      by1 = std::max(by1, d.y + d.h);
    }
    dirty_.assign(1, PixelRect{bx0, by0, bx1 - bx0, by1 - by0});
    return;
  }
  dirty_.push_back(clipped);
}

void ScreenSurface::ClearDirty() {
  dirty_.clear();
  paletteDirty_ = false;
}

std::array<PaletteColor, 256> ScreenSurface::DefaultPalette() {
  std::array<PaletteColor, 256> p{};
  static constexpr PaletteColor kLow[10] = {
      {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240}};
  static constexpr PaletteColor kHigh[10] = {
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
  for (int i = 0; i < 10; ++i) {
    p[size_t(i)] = kLow[i];
    p[size_t(246 + i)] = kHigh[i];
  }
  // A 6x6x6 colour cube and a grey ramp fill the 236 free entries until an application
  // realises a palette of its own.
  int index = 10;
  static constexpr uint8_t kLevels[6] = {0, 51, 102, 153, 204, 255};
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) p[size_t(index++)] = {kLevels[r], kLevels[g], kLevels[b]};
  for (int i = 0; index < 246; ++i, ++index) {
    uint8_t v = uint8_t(8 + i * 12);
    p[size_t(index)] = {v, v, v};
  }
  return p;
}

}  // namespace quill::platform
