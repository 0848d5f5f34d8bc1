// The pictures on the library's buttons: one 16 x 14 glyph per command, drawn so that each
// reads at a glance as what the button does (play, stop, print, next, bookmark, search...).
#pragma once

#include <string>

#include "canvas.h"

namespace quill_art {

inline constexpr int kGlyphWidth = 16;
inline constexpr int kGlyphHeight = 14;
// Glyph pixels left empty hold this index (the plate shows through).
inline constexpr int kNoInk = kKeyIndex;

// Draws the glyph of a button file name (compared without regard to case, extension
// included) onto an empty 16 x 14 canvas; false for a name without a glyph.
bool DrawGlyph(const std::string& fileName, Canvas& glyph);

}  // namespace quill_art
