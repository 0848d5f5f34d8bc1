#include "quillui/app/app_palette.h"

#include <algorithm>
#include <array>
#include <new>

#include "quillui/app/art_dir.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"

namespace quill {

namespace {

int g_paletteMode = -1;
std::unique_ptr<TPalette> g_palette;
bool g_paletteLoaded = false;

}  // namespace

int ChoosePaletteMode(int rasterCaps, int setting) {
  if (setting != -1 && setting != 0 && setting != 1) setting = -1;
  if (rasterCaps & RC_PALETTE) return 0;
  return setting == -1 ? 1 : setting;
}

int GetAppPaletteMode() {
  if (g_paletteMode != -1) return g_paletteMode;
  TScreenDC dc;
  int caps = dc.GetDeviceCaps(RASTERCAPS);
  int setting = ZProfile(eIniFile).GetInt("Global Config", "PaletteMode", -1);
  g_paletteMode = ChoosePaletteMode(caps, setting);
  return g_paletteMode;
}

void MakeIdentityPalette(TPalette& palette, const TDC& screenDC) {
  if (palette.GetNumEntries() != kMaxPaletteEntries) return;
  // A screen answering an odd or absurd reserved count still leaves a sane split.
  int h = std::clamp(screenDC.GetDeviceCaps(NUMRESERVED) / 2, 0, kMaxPaletteEntries / 2);
  std::array<TPaletteEntry, kMaxPaletteEntries> system{};
  screenDC.GetSystemPaletteEntries(0, kMaxPaletteEntries, system.data());
  std::array<TPaletteEntry, kMaxPaletteEntries> entries{};
  palette.GetPaletteEntries(0, kMaxPaletteEntries, entries.data());
  for (int i = 0; i < kMaxPaletteEntries; ++i) {
    if (i < h || i >= kMaxPaletteEntries - h) {
      entries[size_t(i)] = system[size_t(i)];
      entries[size_t(i)].peFlags = 0;
    } else {
      entries[size_t(i)].peFlags = PC_NOCOLLAPSE;
    }
  }
  palette.SetPaletteEntries(0, kMaxPaletteEntries, entries.data());
}

void FlushSystemPalette(TDC& screenDC) {
  std::array<TPaletteEntry, kMaxPaletteEntries> black{};
  for (auto& e : black) e.peFlags = PC_NOCOLLAPSE;
  TPalette flush(black.data(), kMaxPaletteEntries);
  TPalette* previous = screenDC.SelectPalette(&flush, false);
  screenDC.RealizePalette();
  if (previous) {
    screenDC.SelectPalette(previous, false);
  } else {
    screenDC.RestorePalette();
  }
}

std::unique_ptr<TPalette> LoadAppPaletteFile(const std::string& path) {
  DibResult read = ReadBmpFile(path);
  if (!read.dib) {
    std::string msg = "Cannot read the palette \"" + path + "\": " + read.error;
    reporter(msg.c_str(), "GetAppPalette", eREPORT_LOG, "APPSET", __LINE__);
    return nullptr;
  }
  std::unique_ptr<TPalette> palette(new (std::nothrow) TPalette(*read.dib));
  if (!palette) return nullptr;
  if (palette->GetNumEntries() == kMaxPaletteEntries) {
    TScreenDC dc;
    if (dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE) MakeIdentityPalette(*palette, dc);
    FlushSystemPalette(dc);
  }
  return palette;
}

TPalette* GetAppPalette() {
  if (!g_paletteLoaded) {
    g_paletteLoaded = true;
    g_palette = LoadAppPaletteFile(FindArtFile("palette.bmp"));
  }
  return g_palette.get();
}

void ReleaseAppPalette() { g_palette.reset(); }

void ResetAppPalette() {
  g_palette.reset();
  g_paletteLoaded = false;
  g_paletteMode = -1;
}

}  // namespace quill
