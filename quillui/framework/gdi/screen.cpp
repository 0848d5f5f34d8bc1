#include "quillui/framework/gdi/screen.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "quillui/framework/image/png_codec.h"

namespace quill {

namespace {

uint32_t NextScreenSerial() {
  static std::atomic<uint32_t> next{1};
  return next++;
}

// Static slots first, then the free ones: the search order that makes ties go to the statics.
constexpr std::array<uint8_t, 256> MakeSearchOrder() {
  std::array<uint8_t, 256> order{};
  size_t n = 0;
  for (int i = 0; i < 10; ++i) order[n++] = uint8_t(i);
  for (int i = 246; i < 256; ++i) order[n++] = uint8_t(i);
  for (int i = 10; i < 246; ++i) order[n++] = uint8_t(i);
  return order;
}
constexpr std::array<uint8_t, 256> kSearchOrder = MakeSearchOrder();

}  // namespace

TScreen::TScreen(int width, int height) : surface_(width, height), serial_(NextScreenSerial()) {
  for (int i = 0; i < 256; ++i) inUse_[size_t(i)] = IsStaticSlot(i);
  ClearColorCache();
}

uint8_t TScreen::NearestIndex(TColor c) {
  if (c.IsPaletteIndex()) return uint8_t(c.Index() & 0xFF);
  uint32_t rgb = c.GetValue() & 0x00FFFFFFu;
  uint32_t slot = ((rgb * 2654435761u) >> 20) & 0xFFF;
  CacheSlot& s = cache_[slot];
  if (s.key == (rgb | 0x01000000u)) return s.index;

  const auto& pal = surface_.Palette();
  int best = 0;
  long bestDist = -1;
  for (uint8_t i : kSearchOrder) {
    long dr = long(pal[i].r) - c.Red();
    long dg = long(pal[i].g) - c.Green();
    long db = long(pal[i].b) - c.Blue();
    long d = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || d < bestDist) {
      bestDist = d;
      best = i;
      if (d == 0) break;
    }
  }
  s.key = rgb | 0x01000000u;
  s.index = uint8_t(best);
  return s.index;
}

TPaletteEntry TScreen::GetSystemPaletteEntry(int index) const {
  const auto& p = surface_.Palette()[size_t(std::clamp(index, 0, 255))];
  return {p.r, p.g, p.b, 0};
}

void TScreen::SetSystemPaletteEntries(int first, int count, const TPaletteEntry* entries) {
  if (!entries || count <= 0 || first < 0 || first > 255) return;
  count = std::min(count, 256 - first);
  platform::PaletteColor colors[256];
  for (int i = 0; i < count; ++i)
    colors[i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
  uint32_t before = surface_.PaletteGeneration();
  surface_.SetPaletteEntries(first, colors, count);
  if (surface_.PaletteGeneration() != before) ClearColorCache();
}

int TScreen::GetSystemPaletteEntries(int first, int count, TPaletteEntry* out) const {
  if (first < 0 || first > 255 || count <= 0) return 0;
  count = std::min(count, 256 - first);
  if (out)
    for (int i = 0; i < count; ++i) out[i] = GetSystemPaletteEntry(first + i);
  return count;
}

void TScreen::SetSlotInUse(int index, bool used) {
  if (index < 0 || index > 255 || IsStaticSlot(index)) return;
  inUse_[size_t(index)] = used;
}

void TScreen::ReleasePaletteSlots() {
  for (int i = 10; i < 246; ++i) inUse_[size_t(i)] = false;
}

void TScreen::ClearColorCache() { cache_.fill(CacheSlot{}); }

void TScreen::FillRect(const TRect& r, uint8_t index) {
  TRect c = r & Bounds();
  if (c.IsEmpty()) return;
  size_t width = size_t(c.Width());
  for (int y = c.top; y < c.bottom; ++y) std::memset(surface_.Row(y) + c.left, index, width);
  MarkDirty(c);
}

uint8_t TScreen::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  return surface_.Row(y)[x];
}

void TScreen::MarkDirty(const TRect& r) {
  surface_.MarkDirty({r.left, r.top, r.Width(), r.Height()});
}

bool TScreen::SaveScreenshot(const std::string& path, std::string* error) const {
  std::array<TRgbQuad, 256> palette{};
  for (size_t i = 0; i < 256; ++i) {
    const auto& p = surface_.Palette()[i];
    palette[i] = TRgbQuad{p.b, p.g, p.r, 0};
  }
  return WriteIndexedPng(path, Width(), Height(), surface_.Pixels(), surface_.Stride(),
                         palette.data(), error);
}

namespace {

TScreenSource& Source() {
  static TScreenSource source = nullptr;
  return source;
}

}  // namespace

TScreen& CurrentScreen() {
  if (TScreenSource source = Source()) return source();
  static TScreen fallback(800, 600);
  return fallback;
}

void SetScreenSource(TScreenSource source) { Source() = source; }

}  // namespace quill
