// Cost of the pane title bars: repainting a 388 x 23 bar with its title, icon and buttons, and
// switching the active bar among four panes (two bars repainted each time), each against a
// memcpy of the bytes the bars cover.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/scratch_art.h"
#include "quillui/app/art_dir.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/screen/screen_surface.h"
#include "quillui/profile/icons.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/app.h"
#include "quillui/testing/bars.h"
#include "quillui/testing/buttons.h"
#include "quillui/testing/imaging.h"
#include "quillui/testing/profile.h"
#include "quillui/testing/titlebar.h"
#include "quillui/titlebar/title_bar.h"
#include "quillui/titlebar/title_bar_icon_wnd.h"

namespace quill {
namespace {

constexpr int kBarW = 388, kBarH = 23;

using bench::ScratchArt;

// A scratch art folder with the palette and the bar's three 17 x 15 button strips, and an
// icon of 16 x 16 with a mask.
struct Scene {
  Scene() {
    for (const char* name : {"full.bmp", "small.bmp", "close.bmp"}) {
      TDib strip = ScratchArt::PaletteDib(17 * 3, 15);
      for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 17 * 3; ++x) strip.SetPixelIndex(x, y, 30 + x / 17);
      WriteBmpFile(strip, art.Path(name), nullptr);
    }
    TDib image = ScratchArt::PaletteDib(16, 16), mask = ScratchArt::PaletteDib(16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        image.SetPixelIndex(x, y, 40 + (x + y) % 8);
        mask.SetPixelIndex(x, y, (x < 2 || y < 2 || x > 13 || y > 13) ? 0 : 255);
      }
    icon.SetImage(ZIcon::eSMALL, image, &mask);
  }
  ScratchArt art{"titlebar"};
  ZIcon icon;
};

// A pane of the bar's width holding a title bar with the icon, both buttons and a title.
struct Pane : public TWindow {
  Pane(TWindow* parent, int x, int y, PANE_TYPE type) : TWindow(parent, "pane") {
    Attr.Style |= WS_CLIPCHILDREN;
    Attr.X = x, Attr.Y = y, Attr.W = kBarW, Attr.H = 200;
    bar = new ZTitleBar(this, type);
  }
  ZTitleBar* bar;
};

struct Frame : public TWindow {
  Frame() : TWindow(nullptr, "frame") {
    Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    Attr.W = 800, Attr.H = 600;
  }
};

void Pump() {
  for (int i = 0; i < 100 && PumpWaitingMessages(); ++i) {
  }
}

void Initialize(ZTitleBar& bar, const ZIcon& icon) {
  bar.Initialize(&icon, "Article: The planets of the Solar System",
                 TBF_MINMAX | TBF_CLOSE | TBF_SHADOW, 0);
}

void BM_TitleBarPaint(benchmark::State& state) {
  Scene scene;
  TWindowSystem::Install({});
  {
    Frame frame;
    auto* pane = new Pane(&frame, 40, 40, eARTICLE_PANE);
    frame.Create();
    Initialize(*pane->bar, scene.icon);
    Pump();
    const TRect r = pane->bar->GetClientRect();
    if (r.Width() != kBarW || r.Height() != kBarH) state.SkipWithError("the bar is not 388 x 23");
    for (auto _ : state) {
      pane->bar->Invalidate(false);
      pane->bar->GetIconWnd()->Invalidate(false);
      pane->bar->UpdateWindow();
      pane->bar->GetIconWnd()->UpdateWindow();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kBarW * kBarH);
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_TitleBarPaint)->Name("BM_TitleBarPaint/388x23");

void BM_TitleBarActivate(benchmark::State& state) {
  Scene scene;
  TWindowSystem::Install({});
  {
    Frame frame;
    const PANE_TYPE types[] = {eMEDIA_PANE, ePATH_PANE, eARTICLE_PANE, eMAXI_PANE};
    std::vector<Pane*> panes;
    for (int i = 0; i < 4; ++i)
      panes.push_back(new Pane(&frame, (i % 2) * 400, (i / 2) * 300, types[i]));
    frame.Create();
    for (Pane* p : panes) Initialize(*p->bar, scene.icon);
    Pump();
    size_t next = 0;
    for (auto _ : state) {
      panes[next]->bar->SendMessage(WmuHandleActivation, 0, 0);
      // What the loop's paint pass does: every invalid window paints.
      for (Pane* p : panes) {
        p->bar->UpdateWindow();
        p->bar->GetIconWnd()->UpdateWindow();
      }
      next = (next + 1) % panes.size();
    }
    if (ZTitleBar::GetActiveTitleBar() == nullptr) state.SkipWithError("no bar became active");
    // Each switch repaints the bar that was active and the one that becomes active.
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * kBarW * kBarH);
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_TitleBarActivate)->Name("BM_TitleBarActivate/four");

// The floor: a copy of as many bytes as one bar covers.
void BM_Floor_memcpy_TitleBar(benchmark::State& state) {
  const size_t bytes = size_t(kBarW) * kBarH * size_t(state.range(0));
  std::vector<uint8_t> a(bytes, 1), b(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_Floor_memcpy_TitleBar)->Name("BM_Floor_memcpy/titlebar")->Arg(1)->Arg(2);

}  // namespace
}  // namespace quill
