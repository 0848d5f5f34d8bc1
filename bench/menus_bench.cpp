// Fly menus: opening a 20-entry menu (build, size, paint and the fly's strip copies, the waits
// free on a manual clock), repainting it against a memcpy of its bytes, and the CPU the
// user-interface thread spends during a real 300 ms fly (it sleeps between strips).
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "quillui/framework/base/resource.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_dc.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/platform/clock.h"

namespace quill {
namespace {

void InstallManual() {
  TWindowSystemOptions options;
  options.clock = std::make_unique<platform::ManualClock>();
  TWindowSystem::Install(std::move(options));
}

// A frame and a 20-entry menu of it (built at its first display).
struct MenuRig {
  MenuRig() : frame(nullptr, "bench") {
    frame.Attr.W = 800;
    frame.Attr.H = 600;
    frame.Create();
    menu = std::make_unique<ZFlyMenu>(&frame, &frame, ZFlyMenu::eMT_HOVER, ZFlyMenu::eDM_KEEP, 1);
    menu->Create();
    for (int i = 0; i < 20; ++i) {
      char text[32];
      std::snprintf(text, sizeof text, "Menu entry number %d", i);
      menu->Append(i == 3 ? MF_CHECKED : i == 7 ? MF_POPUP : 0, uint32_t(100 + i), text, nullptr);
    }
  }
  TWindow frame;
  std::unique_ptr<ZFlyMenu> menu;
};

void BM_FlyMenuOpen(benchmark::State& state) {
  InstallManual();
  {
    MenuRig rig;
    for (auto _ : state) {
      rig.menu->GetEntries()->SetChanged(1);  // gadgets built again at each display
      rig.menu->Display(TPoint(100, 20));
      rig.menu->RemoveFromScreen();
    }
    state.counters["menu_px"] =
        double(rig.menu->GetWindowRect().Width()) * double(rig.menu->GetWindowRect().Height());
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_FlyMenuOpen)->Unit(benchmark::kMicrosecond);

// The repaint of a shown menu, and a memcpy of as many bytes as the menu has pixels.
long g_menuBytes = 0;

void BM_FlyMenuPaint(benchmark::State& state) {
  InstallManual();
  {
    MenuRig rig;
    rig.menu->Display(TPoint(100, 20));
    const TRect r = rig.menu->GetWindowRect();
    g_menuBytes = long(r.Width()) * r.Height();
    for (auto _ : state) {
      rig.menu->Invalidate(false);
      rig.menu->UpdateWindow();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * g_menuBytes);
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_FlyMenuPaint)->Unit(benchmark::kMicrosecond);

void BM_Floor_memcpy_menu(benchmark::State& state) {
  const size_t bytes = size_t(g_menuBytes > 0 ? g_menuBytes : 200 * 400);
  std::vector<uint8_t> a(bytes, 1), b(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_Floor_memcpy_menu)->Name("BM_Floor_memcpy/flymenu")->Unit(benchmark::kMicrosecond);

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A real fly of a 154-pixel-high menu picture (77 strips: 10 ms apart for the first 10, then
// 3 ms apart, about 300 ms in all with the default timing): the thread's CPU time over the wall
// time, as a share of one core.
void BM_FlyMenuFlyCpu(benchmark::State& state) {
  TWindowSystem::Install({});  // the real clock
  {
    MenuRig rig;
    rig.menu->SetShrinkWrap(false, false);
    rig.menu->SetWindowPos(HWND_TOP, 10, 10, 200, 154, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    TBitmap picture(200, 154);
    TMemoryDC source;
    source.SelectObject(picture);
    TRect all(0, 0, 200, 154);
    rig.menu->PaintGadgets(source, false, all);
    double cpu = 0, wall = 0;
    for (auto _ : state) {
      TClientDC target(*rig.menu);
      const double c0 = ThreadCpuMs();
      const uint64_t w0 = TWindowSystem::Get().NowMs();
      rig.menu->FlyAction(source, target);
      wall += double(TWindowSystem::Get().NowMs() - w0);
      cpu += ThreadCpuMs() - c0;
    }
    state.counters["fly_ms"] = wall / double(state.iterations());
    state.counters["cpu_ms"] = cpu / double(state.iterations());
    state.counters["cpu_pct_of_core"] = wall > 0 ? 100.0 * cpu / wall : 0;
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_FlyMenuFlyCpu)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quill
