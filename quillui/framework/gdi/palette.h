// Logical palettes: colours with flags that a device context selects and realises into the
// screen's system palette, and the nearest-entry lookup behind palette-relative colours.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "quillui/framework/base/color.h"

namespace quill {

class TDib;
class TScreen;

// A logical palette holds at most this many entries, the size of the system palette.
inline constexpr int kMaxPaletteEntries = 256;

class TPalette {
 public:
  // Entries beyond kMaxPaletteEntries are dropped; no entries give an empty palette.
  TPalette(const TPaletteEntry* entries, int count);
  // The DIB's colour table, every flag clear.
  explicit TPalette(const TDib& dib);
  // The same entries under a new identity, not realised anywhere yet.
  TPalette(const TPalette& other);
  TPalette& operator=(const TPalette&) = delete;

  bool IsOK() const { return !entries_.empty(); }
  int GetNumEntries() const { return int(entries_.size()); }
  // Changes whenever entries change, so caches keyed on (Id, Version) stay honest.
  uint32_t Id() const { return id_; }
  uint32_t Version() const { return version_; }

  // Copy out or change a run of entries (flags included); both answer how many were handled.
  int GetPaletteEntries(int start, int count, TPaletteEntry* out) const;
  int SetPaletteEntries(int start, int count, const TPaletteEntry* in);
  TPaletteEntry GetPaletteEntry(int index) const;

  // The entry nearest to c by RGB distance, the first one on ties; a PALETTEINDEX colour
  // answers its own index when the palette has it. -1 for an empty palette.
  int GetNearestPaletteIndex(TColor c) const;

  // The system palette slot that shows an entry: where the last realisation on this screen
  // put it, or the nearest system colour while it has not been realised there.
  uint8_t SystemIndex(int index, TScreen& screen) const;
  // The slot for a colour: its nearest entry's slot.
  uint8_t SystemIndexOf(TColor c, TScreen& screen) const {
    return SystemIndex(GetNearestPaletteIndex(c), screen);
  }

  // Maps the entries into the screen's system palette as a palette display does. In the
  // foreground every non-static slot is given up first; then each entry, in order, takes the
  // first slot that already shows exactly its colour (static colours first) or, failing that
  // or when it is flagged PC_NOCOLLAPSE or PC_RESERVED, the next free slot; with no slot free
  // it is matched to the nearest colour in use. PC_EXPLICIT entries name their slot. Answers
  // how many entries took a slot of their own (0 when nothing needed doing).
  int Realize(TScreen& screen, bool background);
  bool IsRealizedOn(const TScreen& screen) const;
  // Changes whenever a realisation puts the entries in other slots, so with Id, Version and
  // the screen's serial and palette generation it says when SystemIndex's answers may have
  // changed.
  uint32_t RealizationCount() const { return realizations_; }

 private:
  void Changed();

  struct CacheSlot {
    uint32_t key = 0;  // rgb | 0x01000000 when valid
    uint8_t index = 0;
  };
  std::vector<TPaletteEntry> entries_;
  uint32_t id_;
  uint32_t version_ = 1;
  std::vector<uint8_t> slots_;  // system slot of each entry after realisation
  uint32_t realizedScreen_ = 0;
  uint32_t realizations_ = 0;
  mutable std::array<CacheSlot, 1024> cache_{};
};

inline int GetNearestPaletteIndex(const TPalette& palette, TColor c) {
  return palette.GetNearestPaletteIndex(c);
}

// How colours reach a target's pixels. On an 8-bit target: PALETTEINDEX(i) is entry i of the
// selected palette (of the 20 static colours without one); palette-relative colours and DIB
// colour tables go to the nearest entry of the selected palette and then to its slot (to the
// nearest system colour without one); plain RGB goes to the nearest system colour. On a
// monochrome target every colour becomes black (0x00) or white (0xFF), whichever is nearer.
struct TColorMapInputs;

class TColorMatcher {
 public:
  TColorMatcher(TScreen& screen, const TPalette* palette, bool monochrome);
  ~TColorMatcher();
  TColorMatcher(const TColorMatcher&) = delete;
  TColorMatcher& operator=(const TColorMatcher&) = delete;

  uint8_t Match(TColor c) const;
  // The RGB colour that a value stands for (PALETTEINDEX resolved), flag byte cleared.
  TColor Resolve(TColor c) const;
  // map[i] for each of count table colours (as palette-relative colours, except that an entry
  // equal to the selected palette's entry at the same index takes that entry's slot); the rest
  // of the 256 entries map to black, so a pixel beyond the table cannot index past the map.
  void MapTable(const TRgbQuad* colors, int count, uint8_t* map256) const;
  // The same for a table of 16-bit indices into the selected palette.
  void MapIndexTable(const uint16_t* indices, int count, uint8_t* map256) const;
  // count pixels from pixel x on of a 24- or 32-bit DIB row (blue, green, red order), each
  // matched as a palette-relative colour; runs of one colour are matched once.
  void MapRgbRow(uint8_t* dst, const uint8_t* row, int bitCount, int x, size_t count) const;

 private:
  uint8_t Mono(TColor rgb) const;
  uint8_t Slot(TColor c) const;
  void MapTableAfresh(const TRgbQuad* colors, int count, uint8_t* map256) const;

  TScreen& screen_;
  const TPalette* palette_;
  bool mono_;
  // What MapTable's answers depend on, gathered at its first call (see palette.cpp).
  mutable std::unique_ptr<TColorMapInputs> inputs_;
};

}  // namespace quill
