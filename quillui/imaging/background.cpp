#include "quillui/imaging/background.h"

#include <algorithm>

#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/framework/gadgets/gadget.h"
#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window.h"
#include "quillui/imaging/dib_blit.h"
#include "quillui/profile/paths.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/imaging.h"

namespace quill {

namespace {

constexpr const char* kSource = "BACKGRND";

struct BackgroundState {
  std::unique_ptr<TDib> dib;
  int screenWidth = 0;
  int screenHeight = 0;
};

BackgroundState& State() {
  static BackgroundState state;
  return state;
}

// The picture named by the settings for this screen, tiled up to the screen when smaller.
std::unique_ptr<TDib> LoadBackground(int screenWidth, int screenHeight) {
  ZProf& prof = ZProfile(eIniFile);
  const std::string fallback = prof.Get("View", "Background", "");
  std::string name = prof.Get("View", BackgroundKeyForWidth(screenWidth), fallback.c_str());
  replaceCDPath(name);
  if (name.empty()) return nullptr;
  DibResult read = ReadBmpFile(name);
  if (!read.dib) {
    reporter(("Cannot access file " + name).c_str(), "Error", eREPORT_LOG, kSource, __LINE__);
    return nullptr;
  }
  std::unique_ptr<TDib> picture = std::move(read.dib);
  if (picture->Width() >= screenWidth && picture->Height() >= screenHeight) return picture;
  // Our DIBs always carry RGB colour tables, so the classic DIB_RGB_COLORS check cannot fail.
  auto tiled = std::make_unique<TDib>(std::max(screenWidth, picture->Width()),
                                      std::max(screenHeight, picture->Height()),
                                      picture->BitsPerPixel(), picture->NumColors());
  if (!tiled->IsOK()) return nullptr;
  for (int i = 0; i < picture->NumColors(); ++i) tiled->SetColor(i, picture->GetColor(i));
  TileDib(*tiled, *picture);
  return tiled;
}

HWND FrameHandle() {
  TWindow* frame = GetAppFrameTWindow();
  return frame ? frame->GetHandle() : nullptr;
}

}  // namespace

bool IsBackgroundKeyColor(TColor color) {
  const TColor rgb = color.Rgb();
  return std::any_of(std::begin(kBackgroundKeyColors), std::end(kBackgroundKeyColors),
                     [&](TColor k) { return k == rgb; });
}

const char* BackgroundKeyForWidth(int screenWidth) {
  if (screenWidth >= 901) return "Background1024";
  if (screenWidth >= 721) return "Background800";
  return "Background";
}

bool SetAppBackground(std::unique_ptr<TDib> dib) {
  State().dib = std::move(dib);
  return true;
}

bool SetAppBackground(TDib* dib) { return SetAppBackground(std::unique_ptr<TDib>(dib)); }

bool GetAppBackground(TDib*& dib) {
  dib = State().dib.get();
  return dib != nullptr;
}

bool GetWindowBackgroundDib(TDib*& dib) {
  BackgroundState& s = State();
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  if (width != s.screenWidth || height != s.screenHeight) {
    s.screenWidth = width;
    s.screenHeight = height;
    s.dib.reset();
    s.dib = LoadBackground(width, height);
  }
  dib = s.dib.get();
  return dib != nullptr;
}

bool GetWindowBackground(const TWindow& window, const TRect& rect, TDib*& dib, TRect& under) {
  if (!GetWindowBackgroundDib(dib)) return false;
  TPoint corners[2] = {rect.TopLeft(), rect.BottomRight()};
  MapWindowPoints(window.GetHandle(), FrameHandle(), corners, 2);
  under = TRect(corners[0], corners[1]);
  return true;
}

bool GetWindowBackground(const TWindow& window, TDib*& dib, TRect& under) {
  return GetWindowBackground(window, window.GetClientRect(), dib, under);
}

bool GetGadgetBackground(const TGadgetWindow& window, const TGadget& gadget, TDib*& dib,
                         TRect& under) {
  return GetWindowBackground(window, gadget.GetBounds(), dib, under);
}

bool PaintWindowBackground(TDC& dc, const TWindow& window, const TRect& rect) {
  TDib* dib = nullptr;
  TRect under;
  if (!GetWindowBackground(window, rect, dib, under)) return false;
  TPalette* previous = dc.SelectPalette(GetAppPalette(), false);
  dc.RealizePalette();
  // Rows are bottom-up: the source rectangle's bottom edge is that many rows above row 0.
  dc.SetDIBitsToDevice(rect.left, rect.top, rect.Width(), rect.Height(), under.left,
                       dib->Height() - under.bottom, 0, dib->Height(), *dib);
  dc.SelectPalette(previous, false);
  return true;
}

bool BluescreenBackground(const TGadgetWindow& window, const TGadget& gadget, TDib& strip, int cels,
                          const std::string& name, TColor color) {
  if (!strip.IsOK() || strip.BitsPerPixel() != 8) {
    reporter((name + " has wrong bits/pixel").c_str(), "BluescreenBackground", eREPORT_LOG, kSource,
             __LINE__);
    return false;
  }
  const int key = StripKeyIndex(strip);
  if (key < 0) return false;
  const int celWidth = gadget.GetBounds().Width();
  if (color == TColor::Transparent) {
    TDib* background = nullptr;
    TRect under;
    if (!GetGadgetBackground(window, gadget, background, under)) return false;
    KeyStripWithBackground(strip, uint8_t(key), cels, celWidth, *background, under);
    return true;
  }
  const TPalette* palette = GetAppPalette();
  int replacement = 0;
  if (palette) {
    replacement = palette->GetNearestPaletteIndex(color);
  } else {
    // Without the application palette the strip's own colours are the nearest there is.
    std::vector<TPaletteEntry> entries;
    for (int i = 0; i < strip.NumColors(); ++i) {
      const TRgbQuad q = strip.GetColor(i);
      entries.push_back({q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
    }
    replacement = TPalette(entries.data(), int(entries.size())).GetNearestPaletteIndex(color);
  }
  KeyStripWithIndex(strip, uint8_t(key), cels, celWidth, uint8_t(std::max(replacement, 0)));
  return true;
}

bool TileDib(TDib& dst, const TDib& tile) {
  if (!tile.IsOK() || tile.Width() <= 0 || tile.Height() <= 0) return false;
  for (int y = 0; y < dst.Height(); y += tile.Height()) {
    for (int x = 0; x < dst.Width(); x += tile.Width()) {
      if (!CopyBlt256(dst, x, y, tile)) return false;
    }
  }
  return true;
}

void ResetBackground() { State() = BackgroundState(); }

}  // namespace quill
