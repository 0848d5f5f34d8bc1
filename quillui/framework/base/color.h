// Colour values of the framework: 0x00BBGGRR RGB colours, 0x02BBGGRR palette-relative colours
// and 0x0100iiii palette indices, plus the RGB quads of colour tables.
#pragma once

#include <cstdint>
#include <ostream>

namespace quill {

using COLORREF = uint32_t;

struct TRgbQuad {
  uint8_t rgbBlue = 0;
  uint8_t rgbGreen = 0;
  uint8_t rgbRed = 0;
  uint8_t rgbReserved = 0;
  constexpr bool operator==(const TRgbQuad&) const = default;
};

// A logical palette entry; peFlags carries PC_RESERVED, PC_EXPLICIT or PC_NOCOLLAPSE.
struct TPaletteEntry {
  uint8_t peRed = 0;
  uint8_t peGreen = 0;
  uint8_t peBlue = 0;
  uint8_t peFlags = 0;
  constexpr bool operator==(const TPaletteEntry&) const = default;
};

inline constexpr uint8_t PC_RESERVED = 0x01;
inline constexpr uint8_t PC_EXPLICIT = 0x02;
inline constexpr uint8_t PC_NOCOLLAPSE = 0x04;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr COLORREF PALETTERGB(uint8_t r, uint8_t g, uint8_t b) {
  return 0x02000000u | RGB(r, g, b);
}
constexpr COLORREF PALETTEINDEX(uint16_t i) { return 0x01000000u | i; }
constexpr uint8_t GetRValue(COLORREF c) { return uint8_t(c); }
constexpr uint8_t GetGValue(COLORREF c) { return uint8_t(c >> 8); }
constexpr uint8_t GetBValue(COLORREF c) { return uint8_t(c >> 16); }

class TColor {
 public:
  constexpr TColor() = default;
  constexpr TColor(COLORREF value) : value_(value) {}  // NOLINT: colours convert freely
  constexpr TColor(uint8_t r, uint8_t g, uint8_t b) : value_(RGB(r, g, b)) {}
  constexpr TColor(const TRgbQuad& q) : value_(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)) {}
  constexpr TColor(const TPaletteEntry& e) : value_(RGB(e.peRed, e.peGreen, e.peBlue)) {}

  constexpr operator COLORREF() const { return value_; }
  constexpr COLORREF GetValue() const { return value_; }
  constexpr uint8_t Red() const { return GetRValue(value_); }
  constexpr uint8_t Green() const { return GetGValue(value_); }
  constexpr uint8_t Blue() const { return GetBValue(value_); }
  constexpr uint8_t Flags() const { return uint8_t(value_ >> 24); }
  constexpr bool IsPaletteIndex() const { return Flags() == 0x01; }
  constexpr bool IsPaletteRelative() const { return Flags() == 0x02; }
  constexpr uint16_t Index() const { return uint16_t(value_); }
  // The same colour as a palette-relative value.
  constexpr TColor Rgb() const { return TColor(value_ & 0x00FFFFFFu); }
  constexpr TColor PaletteRelative() const { return TColor(0x02000000u | (value_ & 0x00FFFFFFu)); }

  constexpr bool operator==(const TColor& o) const { return value_ == o.value_; }

  static const TColor Black;
  static const TColor White;
  static const TColor LtGray;
  static const TColor Gray;
  static const TColor LtRed;
  static const TColor LtGreen;
  static const TColor LtBlue;
  static const TColor LtYellow;
  static const TColor LtMagenta;
  static const TColor LtCyan;
  static const TColor None;         // "no colour"
  static const TColor Transparent;  // show what lies beneath

 private:
  COLORREF value_ = 0;
};

inline constexpr TColor TColor::Black{RGB(0, 0, 0)};
inline constexpr TColor TColor::White{RGB(255, 255, 255)};
inline constexpr TColor TColor::LtGray{RGB(192, 192, 192)};
inline constexpr TColor TColor::Gray{RGB(128, 128, 128)};
inline constexpr TColor TColor::LtRed{RGB(255, 0, 0)};
inline constexpr TColor TColor::LtGreen{RGB(0, 255, 0)};
inline constexpr TColor TColor::LtBlue{RGB(0, 0, 255)};
inline constexpr TColor TColor::LtYellow{RGB(255, 255, 0)};
inline constexpr TColor TColor::LtMagenta{RGB(255, 0, 255)};
inline constexpr TColor TColor::LtCyan{RGB(0, 255, 255)};
inline constexpr TColor TColor::None{0xFF000000u};
inline constexpr TColor TColor::Transparent{0xFE000000u};

// System colours: the display's standard colours for window parts, as GetSysColor answers
// them. Indices without a colour answer black.
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;

constexpr TColor GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW:
    case COLOR_BTNHIGHLIGHT: return TColor::White;
    case COLOR_BTNFACE: return TColor::LtGray;
    case COLOR_BTNSHADOW: return TColor::Gray;
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    default: return TColor::Black;
  }
}

inline std::ostream& operator<<(std::ostream& os, const TColor& c) {
  const char* digits = "0123456789ABCDEF";
  os << "0x";
  for (int shift = 28; shift >= 0; shift -= 4) os << digits[(c.GetValue() >> shift) & 0xF];
  return os;
}

}  // namespace quill
