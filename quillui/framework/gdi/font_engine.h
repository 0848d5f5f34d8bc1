// The font engine behind TFont: face names resolved through fontconfig, FreeType faces, a
// bounded cache of monochrome glyphs, text measuring and text runs drawn into 8-bit pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/gdi/font.h"

namespace quill {

struct FontEngineSettings {
  // Ask fontconfig for faces; tests turn it off to see the behaviour without any font.
  bool useSystemFonts = true;
  // A font file tried when fontconfig has nothing usable (or is not asked).
  std::string fallbackFile;
  // The glyph cache drops its least recently used glyphs beyond either limit.
  std::size_t glyphCacheMaxEntries = 4096;
  std::size_t glyphCacheMaxBytes = std::size_t(4) << 20;
};

struct FontEngineStats {
  std::size_t glyphEntries = 0;
  std::size_t glyphBytes = 0;  // bitmap bytes plus per-glyph bookkeeping
  std::size_t glyphHits = 0;
  std::size_t glyphMisses = 0;
  std::size_t openFaces = 0;
  std::size_t fontInstances = 0;
};
FontEngineStats GetFontEngineStats();

// What a font resolved to; found is false when no face could be opened at all.
struct TResolvedFace {
  bool found = false;
  std::string family;
  std::string style;
  std::string file;
  int faceIndex = 0;
  int pixelSize = 0;  // em size in pixels the glyphs are rendered at
  bool syntheticBold = false;
  bool syntheticItalic = false;
};
TResolvedFace DescribeResolvedFace(const TFont& font);

TTextMetric GetFontTextMetrics(const TFont& font);

// Text handed to the engine is in the Western code page 1252: 0x80-0x9F carry its own
// characters (its five unassigned bytes stay C1 controls), every other byte is Latin-1.
char32_t Cp1252ToUnicode(uint8_t byte);

// Sum of the glyph advances (no kerning, as the classic text output never kerned) and the cell
// height. The wide form takes Unicode directly.
TSize GetTextExtent(const TFont& font, std::string_view text);
TSize GetTextExtent(const TFont& font, std::u32string_view text);

// Sets the pixels covered by the glyphs of text to colorIndex, the pen starting at x with y the
// top of the cell, then the underline and strike-out lines the font asks for. Row r of the
// buffer starts at pixels + r * stride (a negative stride walks a bottom-up buffer). Nothing
// outside clip & the buffer's width x height is written.
void DrawTextRun(const TFont& font, std::string_view text, int x, int y, uint8_t* pixels,
                 ptrdiff_t stride, int width, int height, const TRect& clip, uint8_t colorIndex);

}  // namespace quill
