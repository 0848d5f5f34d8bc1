// The window core's hot paths: message dispatch, the queue, and invalidate-then-paint.
#include <benchmark/benchmark.h>

#include <memory>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/clock.h"

namespace quill {
namespace {

class BenchWindow : public TWindow {
 public:
  explicit BenchWindow(TWindow* parent) : TWindow(parent) {}
  int handled = 0;
  LRESULT OnUser(WPARAM wp, LPARAM) {
    ++handled;
    return LRESULT(wp);
  }
  const TResponseTable& GetResponseTable() const override {
    static const TResponseEntry entries[] = {OnMessage<&BenchWindow::OnUser>(WM_USER + 1)};
    static const TResponseTable table{&TWindow::GetResponseTable(), entries};
    return table;
  }
  void Paint(TDC& dc, bool, TRect&) override { dc.FillRect(GetClientRect(), TColor::LtBlue); }
};

void InstallHeadless(int w = 800, int h = 600) {
  TWindowSystemOptions options;
  options.width = w;
  options.height = h;
  options.clock = std::make_unique<platform::ManualClock>();
  TWindowSystem::Install(std::move(options));
}

void BM_SendMessage(benchmark::State& state) {
  InstallHeadless();
  {
    BenchWindow w(nullptr);
    w.Attr.W = w.Attr.H = 10;
    w.Create();
    for (auto _ : state) benchmark::DoNotOptimize(w.SendMessage(WM_USER + 1, 7));
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_SendMessage);

void BM_PostAndPump(benchmark::State& state) {
  InstallHeadless();
  {
    BenchWindow w(nullptr);
    w.Attr.W = w.Attr.H = 10;
    w.Create();
    PumpWaitingMessages();
    for (auto _ : state) {
      for (int i = 0; i < 64; ++i) w.PostMessage(WM_USER + 1, i);
      PumpWaitingMessages();
    }
    state.SetItemsProcessed(state.iterations() * 64);
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_PostAndPump);

// A frame of 16 child panes; one pane is invalidated and the loop repaints it.
void BM_InvalidateAndPaint(benchmark::State& state) {
  InstallHeadless();
  {
    BenchWindow frame(nullptr);
    frame.Attr.W = 800;
    frame.Attr.H = 600;
    frame.Attr.Style |= WS_CLIPCHILDREN;
    std::vector<BenchWindow*> panes;
    for (int i = 0; i < 16; ++i) {
      auto* p = new BenchWindow(&frame);
      p->Attr.X = (i % 4) * 200;
      p->Attr.Y = (i / 4) * 150;
      p->Attr.W = 200;
      p->Attr.H = 150;
      panes.push_back(p);
    }
    frame.Create();
    PumpWaitingMessages();
    size_t i = 0;
    for (auto _ : state) {
      panes[i++ % panes.size()]->Invalidate(true);
      PumpWaitingMessages();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 200 * 150);
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_InvalidateAndPaint);

}  // namespace
}  // namespace quill
