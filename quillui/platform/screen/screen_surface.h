// The screen as the platform sees it: one 8-bit indexed surface with a 256-entry system
// palette, and the list of areas changed since the last present.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quill::platform {

struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const PixelRect&) const = default;
};

struct PaletteColor {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const PaletteColor&) const = default;
};

class ScreenSurface {
 public:
  ScreenSurface(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  size_t Stride() const { return stride_; }
  uint8_t* Row(int y) { return pixels_.data() + size_t(y) * stride_; }
  const uint8_t* Row(int y) const { return pixels_.data() + size_t(y) * stride_; }
  uint8_t* Pixels() { return pixels_.data(); }
  const uint8_t* Pixels() const { return pixels_.data(); }

  const std::array<PaletteColor, 256>& Palette() const { return palette_; }
  void SetPaletteEntries(int first, const PaletteColor* colors, int count);
  uint32_t PaletteGeneration() const { return paletteGeneration_; }

  // Records that an area was drawn; the presenter uploads only these areas.
  void MarkDirty(const PixelRect& r);
  const std::vector<PixelRect>& Dirty() const { return dirty_; }
  bool PaletteDirty() const { return paletteDirty_; }
  void ClearDirty();

  // The 20 static colours of a palette display (10 at each end) with a colour cube between.
  static std::array<PaletteColor, 256> DefaultPalette();

 private:
  int width_;
  int height_;
  size_t stride_;
  std::vector<uint8_t> pixels_;
  std::array<PaletteColor, 256> palette_;
  uint32_t paletteGeneration_ = 0;
  std::vector<PixelRect> dirty_;
  bool paletteDirty_ = true;
};

}  // namespace quill::platform
