// Cost of gadget windows as the bar fills: laying out n gadgets, and painting a bar of n
// bevelled glyph buttons.
#include <benchmark/benchmark.h>

#include <memory>

#include "quillui/framework/gadgets/button_gadget.h"
#include "quillui/framework/gadgets/control_bar.h"
#include "quillui/framework/image/cel_array.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window_system.h"

namespace quill {
namespace {

// A top-level window with a control bar of n 16 x 16 glyph buttons along its top.
struct Bar {
  explicit Bar(int n) : top(nullptr, "bench") {
    top.Attr.W = 800;
    top.Attr.H = 100;
    bar = new TControlBar(&top);
    bar->Attr.W = 800;
    TGadgetWindow::TLayoutSession session(*bar);
    for (int i = 0; i < n; ++i) {
      auto dib = std::make_unique<TDib>(16, 16, 8, 16);
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) dib->SetPixelIndex(x, y, (x + y + i) % 16);
      bar->Insert(*new TButtonGadget(std::make_unique<TCelArray>(std::move(dib), 1), 100 + i,
                                     TButtonGadget::Command, true));
    }
    top.Create();
  }
  TWindow top;
  TControlBar* bar;
};

void BM_GadgetLayout(benchmark::State& state) {
  TWindowSystem::Install({});
  {
    Bar b(int(state.range(0)));
    for (auto _ : state) b.bar->LayoutSession();
    state.SetItemsProcessed(state.iterations() * state.range(0));
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_GadgetLayout)->Arg(8)->Arg(32)->Arg(128);

void BM_ButtonBarPaint(benchmark::State& state) {
  TWindowSystem::Install({});
  {
    Bar b(int(state.range(0)));
    for (auto _ : state) {
      b.bar->Invalidate(false);
      b.bar->UpdateWindow();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_ButtonBarPaint)->Arg(8)->Arg(32);

}  // namespace
}  // namespace quill
