#include "quillui/framework/gdi/bitmap.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/raster.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"

namespace quill {

bool TBitmap::Allocate(int width, int height, int bitsPerPixel) {
  if (bitsPerPixel != 1 && bitsPerPixel != 8) return false;
  if (TDib::CheckDimensions(width, height)) return false;
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bitsPerPixel;
  pixels_.assign(size_t(width) * size_t(height), 0);
  return true;
}

TBitmap::TBitmap(int width, int height, int bitsPerPixel) { Allocate(width, height, bitsPerPixel); }

TBitmap::TBitmap(const TDib& dib, const TPalette* palette, int bitsPerPixel) {
  if (!dib.IsOK() || !Allocate(dib.Width(), dib.Height(), bitsPerPixel)) return;
  TColorMatcher matcher(CurrentScreen(), palette, bitsPerPixel == 1);
  const int bits = dib.BitsPerPixel();
  std::array<uint8_t, 256> map{};
  if (dib.IsIndexed()) matcher.MapTable(dib.GetColors(), dib.NumColors(), map.data());
  for (int y = 0; y < height_; ++y) {
    const uint8_t* src = dib.ScanLine(y);
    uint8_t* dst = Row(y);
    if (dib.IsIndexed()) {
      UnpackIndexRow(dst, src, bits, 0, size_t(width_));
      MapRow(dst, dst, map.data(), size_t(width_));
    } else {
      matcher.MapRgbRow(dst, src, bits, 0, size_t(width_));
    }
  }
}

TBitmap::~TBitmap() {
  if (dc_) dc_->BitmapGone(*this);
}

int TBitmap::GetObject(TBitmapInfo& info) const {
  if (!IsOK()) return 0;
  info.bmType = 0;
  info.bmWidth = width_;
  info.bmHeight = height_;
  info.bmWidthBytes = ((width_ * bitsPerPixel_ + 15) / 16) * 2;
  info.bmPlanes = 1;
  info.bmBitsPixel = bitsPerPixel_;
  return int(sizeof(TBitmapInfo));
}

std::unique_ptr<TDib> TBitmap::ToDib(const TPalette* palette) const {
  if (!IsOK()) return nullptr;
  if (IsMonochrome()) {
    auto dib = std::make_unique<TDib>(width_, height_, 1, 2);
    if (!dib->IsOK()) return nullptr;
    dib->SetColor(1, TColor::White);
    for (int y = 0; y < height_; ++y) {
      uint8_t* out = dib->ScanLine(y);
      const uint8_t* in = Row(y);
      std::memset(out, 0, dib->BytesPerLine());
      for (int x = 0; x < width_; ++x)
        if (in[x]) out[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }
    return dib;
  }

  TScreen& screen = CurrentScreen();
  const bool usePalette = palette && palette->IsOK();
  auto dib =
      std::make_unique<TDib>(width_, height_, 8, usePalette ? palette->GetNumEntries() : 256);
  if (!dib->IsOK()) return nullptr;
  std::array<uint8_t, 256> toEntry{};
  if (usePalette) {
    std::array<bool, 256> claimed{};
    if (palette->IsRealizedOn(screen)) {
      // Each slot goes back to the first entry that was realised into it.
      for (int i = 0; i < palette->GetNumEntries(); ++i) {
        uint8_t slot = palette->SystemIndex(i, screen);
        if (!claimed[slot]) {
          claimed[slot] = true;
          toEntry[slot] = uint8_t(i);
        }
      }
    }
    for (int s = 0; s < 256; ++s)
      if (!claimed[size_t(s)])
        toEntry[size_t(s)] =
            uint8_t(palette->GetNearestPaletteIndex(TColor(screen.GetSystemPaletteEntry(s))));
    for (int i = 0; i < palette->GetNumEntries(); ++i)
      dib->SetColor(i, TColor(palette->GetPaletteEntry(i)));
  } else {
    for (int s = 0; s < 256; ++s) {
      toEntry[size_t(s)] = uint8_t(s);
      dib->SetColor(s, TColor(screen.GetSystemPaletteEntry(s)));
    }
  }
  for (int y = 0; y < height_; ++y)
    MapRow(dib->ScanLine(y), Row(y), toEntry.data(), size_t(width_));
  return dib;
}

}  // namespace quill
