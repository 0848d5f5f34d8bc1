// Cost of the library's bitmap buttons: repainting a bar of 12 keyed buttons over the
// application background, measured against a memcpy of the bar's bytes, and one click of a
// six-cel button from the press to its command on the manual clock (the UI thread's work).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/scratch_art.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/art_dir.h"
#include "quillui/bars/control_bar.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/imaging/background.h"
#include "quillui/platform/clock.h"
#include "quillui/platform/screen/headless/headless_backend.h"
#include "quillui/platform/screen/screen_surface.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/app.h"
#include "quillui/testing/bars.h"
#include "quillui/testing/buttons.h"
#include "quillui/testing/imaging.h"
#include "quillui/testing/profile.h"

namespace quill {
namespace {

constexpr int kButtons = 12, kCelW = 24, kCelH = 20;

// A scratch folder with the palette, an 800 x 600 background and keyed strips of 3 and 6
// cels in "buttons", and settings naming them.
struct Scene {
  Scene() {
    std::filesystem::create_directories(art.dir / "buttons");
    TDib background = bench::ScratchArt::PaletteDib(800, 600);
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) background.SetPixelIndex(x, y, 10 + (x / 8 + y / 8) % 200);
    WriteBmpFile(background, art.Path("background.bmp"), nullptr);
    for (int cels : {3, 6}) {
      TDib strip = bench::ScratchArt::PaletteDib(kCelW * cels, kCelH);
      strip.SetColor(245, kBackgroundKeyColors[0]);
      for (int y = 0; y < kCelH; ++y)
        for (int x = 0; x < kCelW * cels; ++x) {
          const int cx = x % kCelW;
          const bool corner = (cx < 2 || cx > kCelW - 3) && (y < 2 || y > kCelH - 3);
          strip.SetPixelIndex(x, y, corner ? 245 : 20 + x / kCelW);
        }
      WriteBmpFile(strip, art.Path("buttons/b" + std::to_string(cels) + ".bmp"), nullptr);
    }
    art.WriteSettings("[View]\nBackground=" + art.Path("background.bmp") + "\n");
  }
  bench::ScratchArt art{"buttons"};
};

// The host's frame with a transparent bar of n buttons of the given strip at its top left.
struct Frame : public TWindow {
  Frame(int n, const char* strip, int cels) : TWindow(nullptr, "frame") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 800, Attr.H = 600;
    bar = new ZControlBar(this, TGadgetWindow::Horizontal, TColor::Transparent);
    bar->Attr.Style &= ~uint32_t(WS_BORDER);
    bar->Attr.X = 40, bar->Attr.Y = 40;
    bar->SetMargins(TMargins(TMargins::Pixels, 0, 0, 0, 0));
    bar->SetShrinkWrap(true, true);
    for (int i = 0; i < n; ++i)
      bar->Insert(*new ZAnimButtonGadget(strip, 100 + i, nullptr, cels, false, false));
  }
  LRESULT EvCommand(UINT, HWND, UINT) override {
    ++commands;
    return 0;
  }
  ZControlBar* bar;
  int commands = 0;
};

void Pump() {
  for (int i = 0; i < 100 && PumpWaitingMessages(); ++i) {
  }
}

void BM_KeyedButtonBarPaint(benchmark::State& state) {
  Scene scene;
  TWindowSystem::Install({});
  {
    Frame frame(kButtons, "b3.bmp", 3);
    frame.Create();
    Pump();
    for (auto _ : state) {
      frame.bar->Invalidate(true);
      frame.bar->UpdateWindow();
    }
    const TRect r = frame.bar->GetClientRect();
    state.SetBytesProcessed(int64_t(state.iterations()) * r.Width() * r.Height());
    state.counters["bar_bytes"] = double(r.Width() * r.Height());
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_KeyedButtonBarPaint)->Name("BM_ButtonBarPaint/keyed12");

// The floor: a copy of as many bytes as the bar covers (12 cels of 24 x 20).
void BM_Floor_memcpy_ButtonBar(benchmark::State& state) {
  const size_t bytes = size_t(kButtons) * kCelW * kCelH;
  std::vector<uint8_t> a(bytes, 1), b(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_Floor_memcpy_ButtonBar)->Name("BM_Floor_memcpy/buttonbar12");

void BM_ButtonClick(benchmark::State& state) {
  Scene scene;
  TWindowSystemOptions options;
  auto clock = std::make_unique<platform::ManualClock>();
  auto backend = std::make_unique<platform::HeadlessBackend>();
  platform::ManualClock* manual = clock.get();
  platform::HeadlessBackend* input = backend.get();
  options.clock = std::move(clock);
  options.backend = std::move(backend);
  TWindowSystem::Install(std::move(options));
  {
    Frame frame(1, "b6.bmp", 6);
    frame.Create();
    Pump();
    TPoint at(5, 5);
    frame.bar->ClientToScreen(at);
    for (auto _ : state) {
      input->Inject({.kind = platform::InputKind::ButtonDown,
                     .x = at.x,
                     .y = at.y,
                     .button = platform::MouseButton::Left});
      input->Inject({.kind = platform::InputKind::ButtonUp,
                     .x = at.x,
                     .y = at.y,
                     .button = platform::MouseButton::Left});
      Pump();
      for (int tick = 0; tick < 2; ++tick) {
        manual->Advance(200);
        Pump();
      }
      // Far apart in time, so the next press is no double click.
      manual->Advance(1000);
      Pump();
    }
    if (frame.commands != int(state.iterations())) state.SkipWithError("a click sent no command");
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_ButtonClick);

}  // namespace
}  // namespace quill
