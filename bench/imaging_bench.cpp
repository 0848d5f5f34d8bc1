// The imaging pixel paths next to their floors in this binary: TileBlt and CopyBlt256 against
// a memcpy of the bytes they cover, the key replacement of button strips against a memcpy of
// the strips, and the drop shadows of five children against a memset of the frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/region.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/imaging/dib_blit.h"
#include "quillui/imaging/frames.h"
#include "quillui/imaging/shadow_paint.h"
#include "quillui/platform/screen/headless/headless_backend.h"
#include "quillui/profile/reporter.h"

namespace quill {
namespace {

void Install(int w, int h) {
  TWindowSystemOptions options;
  options.width = w;
  options.height = h;
  options.backend = std::make_unique<platform::HeadlessBackend>();
  TWindowSystem::Install(std::move(options));
  SetReporterEcho(false);  // no palette.bmp here; that is not what is measured
}

// A 256-colour picture with some structure, as art has.
std::unique_ptr<TDib> Picture(int w, int h) {
  auto dib = std::make_unique<TDib>(w, h, 8, 256);
  for (int i = 0; i < 256; ++i)
    dib->SetColor(i, TColor(uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib->ScanLine(y);
    for (int x = 0; x < w; ++x) row[x] = uint8_t((y / 8) * 16 + ((x + y) / 40) % 16);
  }
  return dib;
}

void Memcpy(benchmark::State& state, size_t bytes) {
  std::vector<uint8_t> a(bytes, 1), b(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

// --- TileBlt: a 64 x 64 tile over 1024 x 768 --------------------------------------------------
void BM_TileBlt(benchmark::State& state) {
  Install(1024, 768);
  const auto tile = Picture(64, 64);
  TBitmap bitmap(1024, 768);
  TMemoryDC dc(bitmap);
  for (auto _ : state) {
    TileBlt(dc, TRect(0, 0, 1024, 768), *tile);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 768);
  dc.RestoreBitmap();
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_TileBlt)->Name("BM_TileBlt/64x64over1024x768");
void BM_TileBlt_floor(benchmark::State& state) { Memcpy(state, 1024 * 768); }
BENCHMARK(BM_TileBlt_floor)->Name("BM_TileBlt_floor_memcpy/1024x768");

// --- CopyBlt256: 640 x 480 ----------------------------------------------------------------
void BM_CopyBlt256(benchmark::State& state) {
  const auto src = Picture(640, 480);
  TDib dst(640, 480, 8, 256);
  for (auto _ : state) {
    CopyBlt256(dst, 0, 0, *src);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 640 * 480);
}
BENCHMARK(BM_CopyBlt256)->Name("BM_CopyBlt256/640x480");
void BM_CopyBlt256_floor(benchmark::State& state) { Memcpy(state, 640 * 480); }
BENCHMARK(BM_CopyBlt256_floor)->Name("BM_CopyBlt256_floor_memcpy/640x480");

// --- Key replacement: 72 strips of 3 cels of 24 x 20 ---------------------------------------
constexpr int kStrips = 72, kCels = 3, kCelW = 24, kCelH = 20;

void BM_Bluescreen(benchmark::State& state) {
  const auto background = Picture(1024, 768);
  std::vector<std::unique_ptr<TDib>> strips;
  for (int s = 0; s < kStrips; ++s) {
    auto strip = Picture(kCels * kCelW, kCelH);
    strip->SetColor(9, TColor(179, 236, 108));
    for (int y = 0; y < kCelH; ++y)
      for (int x = 0; x < kCels * kCelW; ++x)
        if ((x * 3 + y + s) % 5 == 0) strip->SetPixelIndex(x, y, 9);
    strips.push_back(std::move(strip));
  }
  for (auto _ : state) {
    for (int s = 0; s < kStrips; ++s) {
      // The strips lie side by side along bars over the background.
      const TRect under((s % 36) * kCelW, 40 + (s / 36) * 300, (s % 36 + 1) * kCelW,
                        40 + (s / 36) * 300 + kCelH);
      KeyStripWithBackground(*strips[size_t(s)], 9, kCels, kCelW, *background, under);
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kStrips * kCels * kCelW * kCelH);
}
BENCHMARK(BM_Bluescreen)->Name("BM_Bluescreen/72x3x24x20");
void BM_Bluescreen_floor(benchmark::State& state) {
  Memcpy(state, size_t(kStrips) * kCels * kCelW * kCelH);
}
BENCHMARK(BM_Bluescreen_floor)->Name("BM_Bluescreen_floor_memcpy/72x3x24x20");

// --- Drop shadows: 5 children, 5 levels, 1024 x 768 ------------------------------------------
ZShadowScene ShadowScene(const TDib& picture) {
  ZShadowScene scene;
  scene.background = &picture;
  scene.client = TRect(0, 0, 1024, 768);
  scene.paint = scene.client;
  scene.children = {{20, 20, 500, 360},
                    {540, 20, 1000, 360},
                    {20, 400, 330, 740},
                    {360, 400, 670, 740},
                    {700, 400, 1000, 740}};
  return scene;
}

// The window's palette made from the picture the way the application palette is: the static
// colours at both ends, the picture's colours between, realised onto their own slots, so the
// picture as it is copies straight and only the shaded levels go through a map.
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

// kMode 0: one pass; 1: level by level; 2: one pass with the children clipped out, as the
// window's own paint is under WS_CLIPCHILDREN.
template <int kMode>
void ShadowBench(benchmark::State& state) {
  Install(1024, 768);
  auto picture = Picture(1024, 768);
  auto palette = IdentityPalette(*picture, TWindowSystem::Get().Screen());
  TBitmap bitmap(1024, 768);
  TMemoryDC dc(bitmap);
  dc.SelectPalette(palette.get(), false);
  dc.RealizePalette();
  const ZShadowScene scene = ShadowScene(*picture);
  if (kMode == 2) {
    TRegion visible(scene.client);
    for (const TRect& child : scene.children) visible.Subtract(child);
    dc.SelectClipRgn(visible);
  }
  ZShadowSpec spec;
  spec.shades = {10, 30, 50, 70, 90};
  for (auto _ : state) {
    if (kMode == 1)
      PaintShadowsByLevels(dc, scene, spec);
    else
      PaintShadows(dc, scene, spec);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 768);
  dc.SelectClipRgn(nullptr);
  dc.RestorePalette();
  dc.RestoreBitmap();
  TWindowSystem::Uninstall();
}
void BM_ShadowChildren(benchmark::State& state) { ShadowBench<0>(state); }
BENCHMARK(BM_ShadowChildren)->Name("BM_ShadowChildren/5x5at1024x768");
void BM_ShadowChildrenByLevels(benchmark::State& state) { ShadowBench<1>(state); }
BENCHMARK(BM_ShadowChildrenByLevels)->Name("BM_ShadowChildrenByLevels/5x5at1024x768");
void BM_ShadowChildrenClipped(benchmark::State& state) { ShadowBench<2>(state); }
BENCHMARK(BM_ShadowChildrenClipped)->Name("BM_ShadowChildrenClipChildren/5x5at1024x768");
void BM_ShadowChildren_floor(benchmark::State& state) {
  std::vector<uint8_t> frame(1024 * 768);
  uint8_t v = 0;
  for (auto _ : state) {
    std::memset(frame.data(), ++v, frame.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 768);
}
BENCHMARK(BM_ShadowChildren_floor)->Name("BM_ShadowChildren_floor_memset/1024x768");

}  // namespace
}  // namespace quill
