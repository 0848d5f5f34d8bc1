// The drawing layer's hot paths on a 1024 x 768 palette screen, next to the floors they are
// measured against: memset for fills, memcpy for copies and DIB transfers, and a memcpy of
// the 32-bit frame for the presenter's conversion.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/font_engine.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/screen/headless/headless_backend.h"
#include "quillui/platform/screen/pixel_convert.h"
#include "quillui/testing/framework.h"

namespace quill {
namespace {

constexpr int kW = 1024;
constexpr int kH = 768;
constexpr int64_t kPixels = int64_t(kW) * kH;

TWindowSystem& InstallScreen() {
  TWindowSystemOptions options;
  options.width = kW;
  options.height = kH;
  options.backend = std::make_unique<platform::HeadlessBackend>();
  return TWindowSystem::Install(std::move(options));
}

// A 256-colour picture with some structure, as a background bitmap has.
TDib Picture(int w, int h) {
  TDib dib(w, h, 8);
  for (int i = 0; i < 256; ++i)
    dib.SetColor(i, TColor(uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib.ScanLine(y);
    for (int x = 0; x < w; ++x) row[x] = uint8_t((y / 8) * 16 + ((x + y) / 40) % 16);
  }
  return dib;
}

// The application palette of a picture as the library sets it up: the static colours at
// both ends, the picture's colours flagged PC_NOCOLLAPSE between, so it realises onto its own
// slots; the picture's table is then made the same, as an image made for that palette is.
std::unique_ptr<TPalette> IdentityPalette(TDib& dib, TScreen& screen) {
  std::vector<TPaletteEntry> entries(256);
  for (int i = 0; i < 256; ++i) {
    const TRgbQuad q = dib.GetColor(i);
    entries[size_t(i)] = TScreen::IsStaticSlot(i)
                             ? screen.GetSystemPaletteEntry(i)
                             : TPaletteEntry{q.rgbRed, q.rgbGreen, q.rgbBlue, PC_NOCOLLAPSE};
    dib.SetColor(i, TColor(entries[size_t(i)]));
  }
  auto palette = std::make_unique<TPalette>(entries.data(), 256);
  palette->Realize(screen, false);
  return palette;
}

void SetFrameCounters(benchmark::State& state) {
  state.SetBytesProcessed(int64_t(state.iterations()) * kPixels);
}

void BM_Floor_memset(benchmark::State& state) {
  std::vector<uint8_t> buf(static_cast<size_t>(kPixels));
  uint8_t v = 0;
  for (auto _ : state) {
    std::memset(buf.data(), ++v, buf.size());
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
}
BENCHMARK(BM_Floor_memset)->Name("BM_Floor_memset/1024x768");

void BM_Floor_memcpy(benchmark::State& state) {
  std::vector<uint8_t> a(static_cast<size_t>(kPixels), 1), b(static_cast<size_t>(kPixels));
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size());
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
}
BENCHMARK(BM_Floor_memcpy)->Name("BM_Floor_memcpy/1024x768");

void BM_Floor_memcpy32(benchmark::State& state) {
  std::vector<uint32_t> a(static_cast<size_t>(kPixels), 1), b(static_cast<size_t>(kPixels));
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
}
BENCHMARK(BM_Floor_memcpy32)->Name("BM_Floor_memcpy32/1024x768");

void BM_FillRect(benchmark::State& state) {
  InstallScreen();
  TScreenDC dc;
  const TBrush brushes[2] = {TBrush(TColor::LtRed), TBrush(TColor::LtBlue)};
  int i = 0;
  for (auto _ : state) {
    dc.FillRect({0, 0, kW, kH}, brushes[++i & 1]);
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_FillRect)->Name("BM_FillRect/1024x768");

void BM_BitBltCopy(benchmark::State& state) {
  InstallScreen();
  TDib dib = Picture(kW, kH);
  TBitmap bitmap(dib);
  TMemoryDC mem(bitmap);
  TScreenDC dc;
  for (auto _ : state) {
    dc.BitBlt(0, 0, kW, kH, mem, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_BitBltCopy)->Name("BM_BitBltCopy/1024x768");

// An icon-sized copy, where the fixed cost of a call shows beside the bytes.
void BM_BitBltCopySmall(benchmark::State& state) {
  InstallScreen();
  TDib dib = Picture(16, 16);
  TBitmap bitmap(dib);
  TMemoryDC mem(bitmap);
  TScreenDC dc;
  for (auto _ : state) {
    dc.BitBlt(8, 8, 16, 16, mem, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_BitBltCopySmall)->Name("BM_BitBltCopy/16x16");

// The mask composite of icons and menu images, over a whole frame for comparison.
void BM_BitBltMaskRop(benchmark::State& state) {
  InstallScreen();
  TDib dib = Picture(kW, kH);
  TBitmap image(dib), mask(dib, nullptr, 1);
  TMemoryDC imageDC(image), maskDC(mask);
  imageDC.SelectObject(TBrush(TColor::LtMagenta));
  for (auto _ : state) {
    imageDC.BitBlt(0, 0, kW, kH, maskDC, 0, 0, 0xB8074A);
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_BitBltMaskRop)->Name("BM_BitBltMaskRop/1024x768");

// A background painted through the application palette: the DIB's table matches the
// realised palette, so its rows copy straight.
void BM_SetDIBitsToDevice(benchmark::State& state) {
  TWindowSystem& ws = InstallScreen();
  TDib dib = Picture(kW, kH);
  auto palette = IdentityPalette(dib, ws.Screen());
  TScreenDC dc;
  dc.SelectPalette(palette.get());
  dc.RealizePalette();
  for (auto _ : state) {
    dc.SetDIBitsToDevice(0, 0, kW, kH, 0, 0, 0, kH, dib);
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
  dc.RestorePalette();
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_SetDIBitsToDevice)->Name("BM_SetDIBitsToDevice/1024x768");

// The same without a matching palette: every byte goes through the 256-entry map.
void BM_SetDIBitsToDeviceMapped(benchmark::State& state) {
  InstallScreen();
  TDib dib = Picture(kW, kH);
  TScreenDC dc;
  for (auto _ : state) {
    dc.SetDIBitsToDevice(0, 0, kW, kH, 0, 0, 0, kH, dib);
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_SetDIBitsToDeviceMapped)->Name("BM_SetDIBitsToDeviceMapped/1024x768");

void BM_StretchDIBits(benchmark::State& state) {
  TWindowSystem& ws = InstallScreen();
  TDib dib = Picture(640, 480);
  auto palette = IdentityPalette(dib, ws.Screen());
  TScreenDC dc;
  dc.SelectPalette(palette.get());
  dc.SetStretchBltMode(COLORONCOLOR);
  for (auto _ : state) {
    dc.StretchDIBits(0, 0, kW, kH, 0, 0, 640, 480, dib);
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
  dc.RestorePalette();
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_StretchDIBits)->Name("BM_StretchDIBits/640x480to1024x768");

// Frames and bezels: short lines, mostly horizontal and vertical, plus some slopes.
void BM_LineTo(benchmark::State& state) {
  InstallScreen();
  TScreenDC dc;
  dc.SelectObject(TPen(TColor::Black));
  int64_t pixels = 0;
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      const int x = 10 + i * 9, y = 10 + i * 7;
      dc.MoveTo(x, y);
      dc.LineTo(x + 200, y);
      dc.LineTo(x + 200, y + 100);
      dc.LineTo(x + 50, y + 20);
      pixels += 200 + 100 + 150;
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(pixels);
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_LineTo);

// A menu entry's text: vertically centred, one line, transparent.
void BM_DrawText(benchmark::State& state) {
  InstallScreen();
  ResetFontEngine();
  TBitmap bitmap(200, 20);
  TMemoryDC dc(bitmap);
  dc.SelectObject(TFont("MS Sans Serif", -10));
  dc.SetBkMode(TRANSPARENT);
  const std::string text = "Go to Related Article";
  for (auto _ : state) {
    TRect r(2, 1, 184, 18);
    dc.DrawText(text, r, DT_VCENTER | DT_SINGLELINE);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_DrawText);

// The presenter's work for a whole frame: indices to 32-bit pixels through the palette, by
// the path this processor takes, and by the plain loop every processor has.
template <auto Convert>
void PresentFrame(benchmark::State& state) {
  TWindowSystem& ws = InstallScreen();
  TScreenDC dc;
  TDib dib = Picture(kW, kH);
  dc.SetDIBitsToDevice(0, 0, kW, kH, 0, 0, 0, kH, dib);
  const platform::ScreenSurface& surface = ws.Screen().Surface();
  std::vector<uint32_t> frame(static_cast<size_t>(kPixels));
  for (auto _ : state) {
    const platform::XrgbLut lut = platform::BuildXrgbLut(surface.Palette());
    Convert(surface.Pixels(), surface.Stride(), frame.data(), size_t(kW), kW, kH, lut);
    benchmark::ClobberMemory();
  }
  SetFrameCounters(state);
  TWindowSystem::Uninstall();
}
void BM_Present(benchmark::State& state) { PresentFrame<&platform::ConvertIndexedToXrgb>(state); }
BENCHMARK(BM_Present)->Name("BM_Present/1024x768");
void BM_PresentScalar(benchmark::State& state) {
  PresentFrame<&platform::ConvertIndexedToXrgbScalar>(state);
}
BENCHMARK(BM_PresentScalar)->Name("BM_PresentScalar/1024x768");

}  // namespace
}  // namespace quill
