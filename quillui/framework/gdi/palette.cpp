#include "quillui/framework/gdi/palette.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <vector>

#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"

namespace quill {

namespace {

uint32_t NextPaletteId() {
  static std::atomic<uint32_t> next{1};
  return next++;
}

long Distance(const TPaletteEntry& e, TColor c) {
  long dr = long(e.peRed) - c.Red(), dg = long(e.peGreen) - c.Green(),
       db = long(e.peBlue) - c.Blue();
  return dr * dr + dg * dg + db * db;
}

bool SameColor(const TPaletteEntry& a, const TPaletteEntry& b) {
  return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

// In-use slots in the order realisation searches them: static colours first.
std::vector<int> SlotsInUse(const TScreen& screen) {
  std::vector<int> slots;
  slots.reserve(256);
  for (int i = 0; i < 10; ++i) slots.push_back(i);
  for (int i = 246; i < 256; ++i) slots.push_back(i);
  for (int i = 10; i < 246; ++i)
    if (screen.IsSlotInUse(i)) slots.push_back(i);
  return slots;
}

}  // namespace

TPalette::TPalette(const TPaletteEntry* entries, int count) : id_(NextPaletteId()) {
  if (entries && count > 0) entries_.assign(entries, entries + std::min(count, kMaxPaletteEntries));
}

TPalette::TPalette(const TDib& dib) : id_(NextPaletteId()) {
  int n = std::min(dib.NumColors(), kMaxPaletteEntries);
  entries_.reserve(size_t(n));
  for (int i = 0; i < n; ++i) {
    const TRgbQuad& q = dib.GetColors()[i];
    entries_.push_back({q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
  }
}

TPalette::TPalette(const TPalette& other) : entries_(other.entries_), id_(NextPaletteId()) {}

void TPalette::Changed() {
  ++version_;
  cache_.fill(CacheSlot{});
}

int TPalette::GetPaletteEntries(int start, int count, TPaletteEntry* out) const {
  if (start < 0 || count <= 0 || start >= GetNumEntries()) return 0;
  count = std::min(count, GetNumEntries() - start);
  if (out) std::copy_n(entries_.begin() + start, count, out);
  return count;
}

int TPalette::SetPaletteEntries(int start, int count, const TPaletteEntry* in) {
  if (!in || start < 0 || count <= 0 || start >= GetNumEntries()) return 0;
  count = std::min(count, GetNumEntries() - start);
  std::copy_n(in, count, entries_.begin() + start);
  Changed();
  return count;
}

TPaletteEntry TPalette::GetPaletteEntry(int index) const {
  if (index < 0 || index >= GetNumEntries()) return {};
  return entries_[size_t(index)];
}

int TPalette::GetNearestPaletteIndex(TColor c) const {
  if (entries_.empty()) return -1;
  if (c.IsPaletteIndex()) return std::min<int>(c.Index(), GetNumEntries() - 1);
  uint32_t rgb = c.GetValue() & 0x00FFFFFFu;
  CacheSlot& s = cache_[((rgb * 2654435761u) >> 22) & 0x3FF];
  if (s.key == (rgb | 0x01000000u)) return s.index;
  int best = 0;
  long bestDist = Distance(entries_[0], c);
  for (int i = 1; i < GetNumEntries() && bestDist > 0; ++i) {
    long d = Distance(entries_[size_t(i)], c);
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  s.key = rgb | 0x01000000u;
  s.index = uint8_t(best);
  return best;
}

uint8_t TPalette::SystemIndex(int index, TScreen& screen) const {
  if (entries_.empty()) return screen.NearestIndex(TColor::Black);
  index = std::clamp(index, 0, GetNumEntries() - 1);
  if (realizedScreen_ == screen.Serial()) return slots_[size_t(index)];
  const TPaletteEntry& e = entries_[size_t(index)];
  if (e.peFlags & PC_EXPLICIT) return e.peRed;
  return screen.NearestIndex(TColor(e.peRed, e.peGreen, e.peBlue));
}

bool TPalette::IsRealizedOn(const TScreen& screen) const {
  return realizedScreen_ == screen.Serial();
}

int TPalette::Realize(TScreen& screen, bool background) {
  if (entries_.empty()) return 0;
  const TScreen::RealizedMark mark{id_, version_, screen.Surface().PaletteGeneration()};
  if (!background && realizedScreen_ == screen.Serial() &&
      screen.foreground.paletteId == mark.paletteId &&
      screen.foreground.paletteVersion == mark.paletteVersion &&
      screen.foreground.systemGeneration == mark.systemGeneration)
    return 0;

  if (!background) screen.ReleasePaletteSlots();
  std::array<TPaletteEntry, 256> system{};
  screen.GetSystemPaletteEntries(0, 256, system.data());
  std::vector<int> inUse = SlotsInUse(screen);
  int nextFree = 10;
  auto takeFreeSlot = [&]() -> int {
    while (nextFree < 246 && screen.IsSlotInUse(nextFree)) ++nextFree;
    return nextFree < 246 ? nextFree++ : -1;
  };

  const std::vector<uint8_t> before =
      realizedScreen_ == screen.Serial() ? slots_ : std::vector<uint8_t>();
  slots_.assign(entries_.size(), 0);
  int placed = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const TPaletteEntry& e = entries_[i];
    if (e.peFlags & PC_EXPLICIT) {
      slots_[i] = e.peRed;  // the low byte of the slot number the entry names
      continue;
    }
    if (!(e.peFlags & (PC_NOCOLLAPSE | PC_RESERVED))) {
      auto match = std::find_if(inUse.begin(), inUse.end(),
                                [&](int s) { return SameColor(system[size_t(s)], e); });
      if (match != inUse.end()) {
        slots_[i] = uint8_t(*match);
        continue;
      }
    }
    if (int slot = takeFreeSlot(); slot >= 0) {
      system[size_t(slot)] = {e.peRed, e.peGreen, e.peBlue, 0};
      screen.SetSlotInUse(slot, true);
      inUse.push_back(slot);
      slots_[i] = uint8_t(slot);
      ++placed;
      continue;
    }
    int best = inUse.front();
    long bestDist = -1;
    for (int s : inUse) {
      const TPaletteEntry& se = system[size_t(s)];
      long d = Distance(se, TColor(e.peRed, e.peGreen, e.peBlue));
      if (bestDist < 0 || d < bestDist) {
        bestDist = d;
        best = s;
      }
    }
    slots_[i] = uint8_t(best);
  }
  screen.SetSystemPaletteEntries(10, 236, system.data() + 10);
  realizedScreen_ = screen.Serial();
  if (slots_ != before) ++realizations_;
  if (!background) screen.foreground = {id_, version_, screen.Surface().PaletteGeneration()};
  return placed;
}

uint8_t TColorMatcher::Mono(TColor rgb) const {
  long toBlack =
      long(rgb.Red()) * rgb.Red() + long(rgb.Green()) * rgb.Green() + long(rgb.Blue()) * rgb.Blue();
  long toWhite = long(255 - rgb.Red()) * (255 - rgb.Red()) +
                 long(255 - rgb.Green()) * (255 - rgb.Green()) +
                 long(255 - rgb.Blue()) * (255 - rgb.Blue());
  return toWhite < toBlack ? 0xFF : 0x00;
}

uint8_t TColorMatcher::Slot(TColor c) const {
  if (c.IsPaletteIndex()) {
    if (palette_) return palette_->SystemIndex(c.Index(), screen_);
    int i = c.Index();
    if (i < 10) return uint8_t(i);
    return i < TScreen::kNumReserved ? uint8_t(i + 236) : 0;
  }
  if (c.IsPaletteRelative() && palette_) return palette_->SystemIndexOf(c.Rgb(), screen_);
  return screen_.NearestIndex(c.Rgb());
}

TColor TColorMatcher::Resolve(TColor c) const {
  if (c.IsPaletteIndex()) {
    if (palette_) return TColor(palette_->GetPaletteEntry(palette_->GetNearestPaletteIndex(c)));
    return TColor(screen_.GetSystemPaletteEntry(Slot(c)));
  }
  return c.Rgb();
}

uint8_t TColorMatcher::Match(TColor c) const { return mono_ ? Mono(Resolve(c)) : Slot(c); }

// What a colour table's map depends on besides the colours: the system palette, the selected
// palette's entries and the slots they were realised into, and whether the target is a mask.
// Kept whole, so a remembered map is reused only for exactly the same inputs.
struct TColorMapInputs {
  std::array<TPaletteEntry, 256> system{};
  std::vector<TPaletteEntry> palette;
  std::vector<uint8_t> slots;
  bool mono = false;
  // Entries are four bytes without padding: whole tables compare as bytes.
  bool operator==(const TColorMapInputs& o) const {
    return mono == o.mono && palette.size() == o.palette.size() && slots == o.slots &&
           std::memcmp(system.data(), o.system.data(), sizeof(system)) == 0 &&
           (palette.empty() || std::memcmp(palette.data(), o.palette.data(),
                                           palette.size() * sizeof(palette[0])) == 0);
  }
};
static_assert(sizeof(TPaletteEntry) == 4 && sizeof(TRgbQuad) == 4);

TColorMatcher::TColorMatcher(TScreen& screen, const TPalette* palette, bool monochrome)
    : screen_(screen),
      palette_(palette && palette->IsOK() ? palette : nullptr),
      mono_(monochrome) {}

TColorMatcher::~TColorMatcher() = default;

namespace {

struct RememberedMap {
  TColorMapInputs inputs;
  std::vector<TRgbQuad> colors;
  std::array<uint8_t, 256> map{};
};

}  // namespace

void TColorMatcher::MapTable(const TRgbQuad* colors, int count, uint8_t* map256) const {
  // Matching 256 colours costs more than drawing a screenful of pixels, and windows draw the
  // same few pictures through the same palette again and again: the last maps made on this
  // thread are kept, newest last.
  thread_local std::vector<RememberedMap> remembered;
  constexpr size_t kKept = 24;
  count = std::clamp(count, 0, 256);
  // A matcher lives for one drawing call, during which the palettes stay as they are.
  if (!inputs_) {
    inputs_ = std::make_unique<TColorMapInputs>();
    screen_.GetSystemPaletteEntries(0, 256, inputs_->system.data());
    if (palette_) {
      const int n = palette_->GetNumEntries();
      inputs_->palette.resize(size_t(n));
      palette_->GetPaletteEntries(0, n, inputs_->palette.data());
      inputs_->slots.resize(size_t(n));
      for (int i = 0; i < n; ++i) inputs_->slots[size_t(i)] = palette_->SystemIndex(i, screen_);
    }
    inputs_->mono = mono_;
  }
  for (size_t i = remembered.size(); i-- > 0;) {
    const RememberedMap& r = remembered[i];
    if (int(r.colors.size()) == count &&
        (count == 0 ||
         std::memcmp(colors, r.colors.data(), size_t(count) * sizeof(TRgbQuad)) == 0) &&
        r.inputs == *inputs_) {
      std::memcpy(map256, r.map.data(), 256);
      return;
    }
  }
  RememberedMap r;
  r.inputs = *inputs_;
  r.colors.assign(colors, colors + count);
  MapTableAfresh(colors, count, r.map.data());
  std::memcpy(map256, r.map.data(), 256);
  if (remembered.size() >= kKept) remembered.erase(remembered.begin());
  remembered.push_back(std::move(r));
}

void TColorMatcher::MapTableAfresh(const TRgbQuad* colors, int count, uint8_t* map256) const {
  std::fill_n(map256, 256, mono_ ? uint8_t(0x00) : Match(TColor::Black));
  count = std::clamp(count, 0, 256);
  for (int i = 0; i < count; ++i) {
    // A table made for the selected palette keeps its own entries even where colours repeat,
    // so an image drawn through its identity palette copies straight.
    if (!mono_ && palette_ && i < palette_->GetNumEntries() &&
        TColor(palette_->GetPaletteEntry(i)) == TColor(colors[i])) {
      map256[i] = palette_->SystemIndex(i, screen_);
      continue;
    }
    map256[i] = Match(TColor(colors[i]).PaletteRelative());
  }
}

void TColorMatcher::MapIndexTable(const uint16_t* indices, int count, uint8_t* map256) const {
  std::fill_n(map256, 256, mono_ ? uint8_t(0x00) : Match(TColor::Black));
  count = std::clamp(count, 0, 256);
  for (int i = 0; i < count; ++i) map256[i] = Match(TColor(PALETTEINDEX(indices[i])));
}

void TColorMatcher::MapRgbRow(uint8_t* dst, const uint8_t* row, int bitCount, int x,
                              size_t count) const {
  const size_t step = bitCount == 32 ? 4 : 3;
  const uint8_t* p = row + size_t(x) * step;
  uint32_t last = 0xFFFFFFFFu;
  uint8_t lastIndex = 0;
  for (size_t i = 0; i < count; ++i, p += step) {
    uint32_t rgb = RGB(p[2], p[1], p[0]);
    if (rgb != last) {
      last = rgb;
      lastIndex = Match(TColor(rgb).PaletteRelative());
    }
    dst[i] = lastIndex;
  }
}

}  // namespace quill
