// The framework's view of the display: the 8-bit surface with its system palette, the mapping
// of colours to the nearest palette index (cached), palette slot bookkeeping and screenshots.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "quillui/framework/base/color.h"
#include "quillui/framework/base/geometry.h"
#include "quillui/platform/screen/screen_surface.h"

namespace quill {

class TScreen {
 public:
  TScreen(int width, int height);

  platform::ScreenSurface& Surface() { return surface_; }
  const platform::ScreenSurface& Surface() const { return surface_; }
  int Width() const { return surface_.Width(); }
  int Height() const { return surface_.Height(); }
  TRect Bounds() const { return {0, 0, Width(), Height()}; }
  // Tells screens apart over the process's life, so a palette realised on a screen that has
  // since been replaced knows its slot mapping is stale.
  uint32_t Serial() const { return serial_; }

  // The system palette index that shows c: the index itself for PALETTEINDEX values, else the
  // nearest entry by RGB distance. On ties the static colours win, then the lowest index, so
  // black and white always land on 0 and 255. Repeated colours cost a table read.
  uint8_t NearestIndex(TColor c);
  TPaletteEntry GetSystemPaletteEntry(int index) const;
  // Copies entries into the system palette; a change marks the palette dirty for the presenter.
  void SetSystemPaletteEntries(int first, int count, const TPaletteEntry* entries);
  int GetSystemPaletteEntries(int first, int count, TPaletteEntry* out) const;

  // The 20 static colours of a palette display: 10 at each end of the system palette.
  static constexpr int kNumReserved = 20;
  static constexpr bool IsStaticSlot(int index) { return index < 10 || index >= 246; }
  // Slot bookkeeping for palette realisation: a slot is in use while a realised palette owns
  // it; static slots always are.
  bool IsSlotInUse(int index) const { return index >= 0 && index < 256 && inUse_[size_t(index)]; }
  void SetSlotInUse(int index, bool used);
  // Gives every non-static slot back, as a foreground realisation does before placing its
  // colours. The colours stay until something overwrites them.
  void ReleasePaletteSlots();
  // The palette (by id and version) that was last realised in the foreground, with the system
  // palette generation right after, so realising it again without changes costs nothing.
  struct RealizedMark {
    uint32_t paletteId = 0;
    uint32_t paletteVersion = 0;
    uint32_t systemGeneration = 0;
  };
  RealizedMark foreground;

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
  uint32_t serial_;
  std::array<bool, 256> inUse_{};
  std::array<CacheSlot, 4096> cache_{};
};

// The screen that drawing without a screen of its own uses: the screen DC, memory DCs and
// bitmaps matching colours to the system palette. The window layer names it (its installed
// system's screen); drawing asks here, so it needs nothing of windows.
TScreen& CurrentScreen();
using TScreenSource = TScreen& (*)();
// Sets where CurrentScreen comes from. With no source a headless 800 x 600 screen is made on
// first use.
void SetScreenSource(TScreenSource source);

}  // namespace quill
