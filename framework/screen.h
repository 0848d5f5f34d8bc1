// The framework's view of the display: the 8-bit surface with its system palette, the mapping
// of colours to the nearest palette index (cached), and screenshots.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "framework/color.h"
#include "framework/geometry.h"
#include "platform/screen_surface.h"

namespace quill {

class TScreen {
 public:
  TScreen(int width, int height) : surface_(width, height) { ClearColorCache(); }

  platform::ScreenSurface& Surface() { return surface_; }
  const platform::ScreenSurface& Surface() const { return surface_; }
  int Width() const { return surface_.Width(); }
  int Height() const { return surface_.Height(); }
  TRect Bounds() const { return {0, 0, Width(), Height()}; }

  // The system palette index that shows c: the index itself for PALETTEINDEX values, else the
  // nearest entry by RGB distance (first entry wins ties). Repeated colours cost a table read.
  uint8_t NearestIndex(TColor c);
  TPaletteEntry GetSystemPaletteEntry(int index) const;
  void SetSystemPaletteEntries(int first, int count, const TPaletteEntry* entries);

  // Fills r (screen coordinates, clipped to the screen) with one index and marks it dirty.
  void FillRect(const TRect& r, uint8_t index);
  uint8_t GetPixel(int x, int y) const;
  void MarkDirty(const TRect& r);

  // Writes the screen as an 8-bit palette PNG, through a temporary file and a rename.
  bool SaveScreenshot(const std::string& path, std::string* error = nullptr) const;

 private:
  void ClearColorCache();

  struct CacheSlot {
    uint32_t key = 0;  // rgb | 0x01000000 when valid
    uint8_t index = 0;
  };
  platform::ScreenSurface surface_;
  std::array<CacheSlot, 4096> cache_{};
};

}  // namespace quill
