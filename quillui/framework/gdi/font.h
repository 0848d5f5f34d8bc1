// Logical fonts of the drawing layer: the classic font description record, text metrics and
// TFont, which resolves to an installed face through the font engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "quillui/framework/base/geometry.h"

namespace quill {

// Weights.
inline constexpr int FW_DONTCARE = 0;
inline constexpr int FW_THIN = 100;
inline constexpr int FW_LIGHT = 300;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_MEDIUM = 500;
inline constexpr int FW_SEMIBOLD = 600;
inline constexpr int FW_BOLD = 700;
inline constexpr int FW_HEAVY = 900;

// Character sets.
inline constexpr uint8_t ANSI_CHARSET = 0;
inline constexpr uint8_t DEFAULT_CHARSET = 1;
inline constexpr uint8_t SYMBOL_CHARSET = 2;
inline constexpr uint8_t OEM_CHARSET = 255;

// Precisions and quality (accepted and kept; rendering is always monochrome and hinted).
inline constexpr uint8_t OUT_DEFAULT_PRECIS = 0;
inline constexpr uint8_t OUT_TT_PRECIS = 4;
inline constexpr uint8_t CLIP_DEFAULT_PRECIS = 0;
inline constexpr uint8_t DEFAULT_QUALITY = 0;
inline constexpr uint8_t DRAFT_QUALITY = 1;
inline constexpr uint8_t PROOF_QUALITY = 2;
inline constexpr uint8_t NONANTIALIASED_QUALITY = 3;

// Pitch (low two bits) and family (high nibble).
inline constexpr uint8_t DEFAULT_PITCH = 0;
inline constexpr uint8_t FIXED_PITCH = 1;
inline constexpr uint8_t VARIABLE_PITCH = 2;
inline constexpr uint8_t FF_DONTCARE = 0x00;
inline constexpr uint8_t FF_ROMAN = 0x10;
inline constexpr uint8_t FF_SWISS = 0x20;
inline constexpr uint8_t FF_MODERN = 0x30;
inline constexpr uint8_t FF_SCRIPT = 0x40;
inline constexpr uint8_t FF_DECORATIVE = 0x50;

// Longest face name kept, terminator included, as in the classic record.
inline constexpr std::size_t LF_FACESIZE = 32;

// The framework's default face: the system font's, and what callers put in for a face left
// empty.
inline constexpr std::string_view kDefaultFaceName = "MS Sans Serif";

// The classic logical-font record. Height: negative = character (em) height in pixels,
// positive = cell height (ascent + descent), 0 = the default size.
struct TLogFont {
  int lfHeight = 0;
  int lfWidth = 0;
  int lfEscapement = 0;
  int lfOrientation = 0;
  int lfWeight = FW_NORMAL;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = DEFAULT_CHARSET;
  uint8_t lfOutPrecision = OUT_DEFAULT_PRECIS;
  uint8_t lfClipPrecision = CLIP_DEFAULT_PRECIS;
  uint8_t lfQuality = DEFAULT_QUALITY;
  uint8_t lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::string lfFaceName;  // at most LF_FACESIZE - 1 bytes once held by a TFont

  bool operator==(const TLogFont&) const = default;
};

// Metrics of a realised font, in pixels, as the classic text-metric record gives them.
struct TTextMetric {
  int tmHeight = 0;           // cell height: ascent + descent
  int tmAscent = 0;           // cell top to baseline
  int tmDescent = 0;          // baseline to cell bottom
  int tmInternalLeading = 0;  // cell height minus the em size
  int tmExternalLeading = 0;  // extra line gap the face recommends
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = FW_NORMAL;
  int tmOverhang = 0;  // extra width of synthesised bold glyphs
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
  uint8_t tmPitchAndFamily = 0;
  uint8_t tmCharSet = DEFAULT_CHARSET;

  bool operator==(const TTextMetric&) const = default;
};

class TFont {
 public:
  explicit TFont(std::string_view faceName = {}, int height = 0, int width = 0, int escapement = 0,
                 int orientation = 0, int weight = FW_NORMAL, bool italic = false,
                 bool underline = false, bool strikeOut = false, uint8_t charSet = DEFAULT_CHARSET,
                 uint8_t outputPrecision = OUT_DEFAULT_PRECIS,
                 uint8_t clipPrecision = CLIP_DEFAULT_PRECIS, uint8_t quality = DEFAULT_QUALITY,
                 uint8_t pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE);
  explicit TFont(const TLogFont& logFont);
  TFont(const TFont&) = default;
  TFont(TFont&&) = default;
  TFont& operator=(const TFont&) = default;
  TFont& operator=(TFont&&) = default;
  virtual ~TFont() = default;

  const TLogFont& GetLogFont() const { return logFont_; }
  std::string_view GetFaceName() const { return logFont_.lfFaceName; }
  int GetWeight() const { return logFont_.lfWeight; }
  bool IsBold() const { return logFont_.lfWeight >= FW_SEMIBOLD; }
  bool IsItalic() const { return logFont_.lfItalic != 0; }
  bool IsUnderlined() const { return logFont_.lfUnderline != 0; }
  bool IsStruckOut() const { return logFont_.lfStrikeOut != 0; }

  // Metrics of the face this font resolves to at its pixel size.
  TTextMetric GetTextMetrics() const;
  // Cell height in pixels (tmHeight).
  int GetHeight() const;
  // Width and cell height of a run of code-page-1252 bytes.
  TSize GetTextExtent(std::string_view text) const;

  bool operator==(const TFont& o) const { return logFont_ == o.logFont_; }

  // Where the font engine keeps what this font realised to, so drawing with a font it has
  // seen needs no lookup: the engine's own record and the engine generation it belongs to
  // (a stale generation means the record is gone). Read and written by the engine alone,
  // under its lock.
  struct TRealization {
    void* instance = nullptr;
    uint64_t generation = 0;
  };
  TRealization& Realization() const { return realization_; }

 private:
  TLogFont logFont_;
  mutable TRealization realization_;
};

// The font of gadget windows (control bars, status bars): "MS Sans Serif" at a point size on
// a 96-dpi screen.
class TGadgetWindowFont : public TFont {
 public:
  explicit TGadgetWindowFont(int pointSize = 8, bool bold = false, bool italic = false);

  int GetPointSize() const { return pointSize_; }

 private:
  int pointSize_;
};

}  // namespace quill
