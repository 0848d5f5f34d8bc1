// The application palette, built once from "palette.bmp" of the art directory into an
// identity palette on a palette screen, and the palette mode the host asks for.
#pragma once

#include <memory>
#include <string>

#include "quillui/framework/gdi/palette.h"

namespace quill {

class TDC;

// 0 on a palette screen; otherwise "Global Config"/"PaletteMode" (0 or 1), 1 when unset.
int GetAppPaletteMode();
// The palette from "palette.bmp" (FindArtFile: the art directory, else beside the
// executable), loaded once per process; owned by the library. Null when
// the file could not be read (reported) or after DeleteStatics.
TPalette* GetAppPalette();

// The mode for a screen's raster capabilities and the setting (-1 unset; other values than
// -1, 0 and 1 count as unset).
int ChoosePaletteMode(int rasterCaps, int setting);
// Reads a bitmap file's colour table into a palette; with exactly 256 entries and a palette
// screen the ends become the screen's static colours and the middle is marked
// PC_NOCOLLAPSE, and the system palette is flushed. Null (and a report) for an unreadable file.
std::unique_ptr<TPalette> LoadAppPaletteFile(const std::string& path);
// Rewrites a 256-entry palette into an identity palette for the screen dc draws on.
void MakeIdentityPalette(TPalette& palette, const TDC& screenDC);
// Realises 256 black PC_NOCOLLAPSE entries, so the next realisation starts from a clean
// system palette.
void FlushSystemPalette(TDC& screenDC);

// DeleteStatics' part: frees the palette; it is not loaded again.
void ReleaseAppPalette();

}  // namespace quill
