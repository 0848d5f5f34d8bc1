// Cost of layout as the number of children grows: the solver alone, and a layout window
// solving and moving real child windows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "quillui/framework/layout/layout_solver.h"
#include "quillui/framework/layout/layout_window.h"
#include "quillui/framework/window/window_system.h"

namespace quill {
namespace {

std::vector<TWindow*> FakeWindows(size_t n) {
  static std::vector<char> keys(1 << 16);
  std::vector<TWindow*> out(n);
  for (size_t i = 0; i < n; ++i) out[i] = reinterpret_cast<TWindow*>(&keys[i]);
  return out;
}

size_t GridColumns(size_t n) {
  return std::max<size_t>(1, size_t(std::ceil(std::sqrt(double(n)))));
}

// A grid of children, each placed right of its left neighbour (the first column from the
// parent's left, margin `margin`) and below the one above it, sized from the parent and from its
// neighbours. The records are listed last row first, the worst order for a solver that sweeps
// its list until nothing changes.
std::vector<LayoutChild> Grid(const std::vector<TWindow*>& windows, int margin = 2) {
  const size_t n = windows.size();
  const size_t cols = GridColumns(n);
  std::vector<LayoutChild> kids(n);
  for (size_t i = 0; i < n; ++i) {
    LayoutChild& k = kids[n - 1 - i];
    k.window = windows[i];
    TLayoutMetrics& m = k.metrics;
    m.SetMeasurementUnits(lmPixels);
    const size_t row = i / cols;
    const size_t col = i % cols;
    if (col == 0) {
      m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, margin);
      m.Width.PercentOf(lmParent, int(100 / (cols + 1)));
    } else {
      m.X.RightOf(windows[i - 1], 2);
      m.Width.SameAs(windows[i - 1], lmWidth, 0);
    }
    if (row == 0) {
      m.Y.Set(lmTop, lmBelow, lmParent, lmTop, 2);
      m.Height.Absolute(20);
    } else {
      m.Y.Below(windows[i - cols], 2);
      m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, int(row));
    }
  }
  return kids;
}

void BM_LayoutSolve(benchmark::State& state) {
  const auto n = size_t(state.range(0));
  const std::vector<LayoutChild> kids = Grid(FakeWindows(n));
  for (auto _ : state) {
    LayoutSolution s = SolveLayout(kids, {1024, 768}, 16);
    benchmark::DoNotOptimize(s);
    if (!s.ok) state.SkipWithError("layout problem");
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(n));
}
BENCHMARK(BM_LayoutSolve)
    ->ArgName("children")
    ->Arg(8)
    ->Arg(64)
    ->Arg(512)
    ->Complexity(benchmark::oNLogN);

// Layout() on created child windows. The first column's margin alternates, so every child
// really moves each time. The layout window is hidden, which keeps repainting out of the figure.
void BM_Layout(benchmark::State& state) {
  const auto n = size_t(state.range(0));
  TWindowSystem::Install({});
  {
    TLayoutWindow top(nullptr);
    top.Attr.Style = WS_POPUP;
    top.Attr.W = 1024;
    top.Attr.H = 768;
    std::vector<TWindow*> windows;
    for (size_t i = 0; i < n; ++i) windows.push_back(new TWindow(&top));
    if (!top.Create()) state.SkipWithError("cannot create the layout window");
    const std::vector<LayoutChild> layouts[2] = {Grid(windows, 2), Grid(windows, 3)};
    for (const LayoutChild& k : layouts[0]) top.SetChildLayoutMetrics(*k.window, k.metrics);
    std::vector<const LayoutChild*> firstColumn[2];
    for (int v = 0; v < 2; ++v) {
      for (const LayoutChild& k : layouts[v]) {
        if (k.metrics.X.RelWin == lmParent) firstColumn[v].push_back(&k);
      }
    }
    int which = 0;
    for (auto _ : state) {
      which ^= 1;
      for (const LayoutChild* k : firstColumn[which]) {
        top.SetChildLayoutMetrics(*k->window, k->metrics);
      }
      if (!top.Layout()) state.SkipWithError("layout problem");
    }
  }
  TWindowSystem::Uninstall();
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(n));
}
BENCHMARK(BM_Layout)->ArgName("children")->Arg(8)->Arg(64)->Arg(512)->Complexity(benchmark::oNLogN);

}  // namespace
}  // namespace quill
