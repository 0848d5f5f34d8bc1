// The whole tableau repainted at 1024 x 768 (four panes with bezels, button bars and content,
// drop shadows from the application background) against a memset of the frame, and switching
// the arrangement (maximise and restore) with its repaint.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "bench/scratch_art.h"
#include "quillui/app/app_registry.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/region.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/clock.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/tableau.h"
#include "quillui/testing/tableau.h"

namespace quill {
namespace {

constexpr int kW = 1024, kH = 768;

// A content window: a plain page.
class Page : public TWindow {
 public:
  explicit Page(TWindow* holder) : TWindow(holder) {}
  void Paint(TDC& dc, bool, TRect&) override { dc.FillRect(GetClientRect(), TColor::White); }
};

class Frame : public TWindow, public ZVexFrame {
 public:
  Frame() : TWindow(nullptr, "Frame") {
    Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    Attr.W = kW, Attr.H = kH;
  }
  TWindow& GetFrameTWindow() override { return *this; }
};

// Settings, palette and background in a scratch folder; the frame with its tableau, every
// pane holding a page.
struct Scene {
  Scene() {
    // A background with structure, in the palette's colours.
    TDib background = bench::ScratchArt::PaletteDib(kW, kH);
    for (int y = 0; y < kH; ++y) {
      uint8_t* row = background.ScanLine(y);
      for (int x = 0; x < kW; ++x) row[x] = uint8_t(10 + ((x / 64 + y / 48) % 8) * 20);
    }
    WriteBmpFile(background, art.Path("background.bmp"), nullptr);
    art.WriteSettings("[View]\nBackground=" + art.Path("background.bmp") +
                      "\nDibShadows=1\n[DevParm]\nForceButtonBar=1\n");
    TWindowSystemOptions options;
    options.width = kW;
    options.height = kH;
    options.clock = std::make_unique<platform::ManualClock>();
    TWindowSystem::Install(std::move(options));
    ResetTableauFirstSize();
    frame = std::make_unique<Frame>();
    SetAppFrame(frame.get());
    tableau = new ZTableau(frame.get());
    tableau->Attr.W = kW, tableau->Attr.H = kH;
    frame->SetTableau(tableau, tableau);
    frame->Create();
    for (PANE_TYPE type : {eMEDIA_PANE, ePATH_PANE, eARTICLE_PANE, eMAXI_PANE}) {
      ZTableauPaneBase* pane = tableau->GetTableauPane(type);
      (new Page(pane->GetHolder(1)))->Create();
      pane->ActivateHolder(1);
    }
    PumpWaitingMessages();
  }
  ~Scene() {
    frame.reset();
    TWindowSystem::Uninstall();
  }
  bench::ScratchArt art{"tableau"};
  std::unique_ptr<Frame> frame;
  ZTableau* tableau = nullptr;
};

void BM_TableauRepaint(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.tableau->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    PumpWaitingMessages();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH);
}
BENCHMARK(BM_TableauRepaint)->Name("BM_TableauRepaint/1024x768");

void BM_TableauRepaint_floor(benchmark::State& state) {
  std::vector<uint8_t> frame(size_t(kW) * kH);
  uint8_t v = 0;
  for (auto _ : state) {
    std::memset(frame.data(), ++v, frame.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH);
}
BENCHMARK(BM_TableauRepaint_floor)->Name("BM_TableauRepaint_floor_memset/1024x768");

// The floor of any painter that draws one window after another: every window's visible pixels
// written with a memset a row, in the order the paint pass takes the windows (a window, then
// its children from the bottom of the stack up), and nothing else drawn or decided.
void BM_TableauRepaint_floor_windows(benchmark::State& state) {
  Scene scene;
  std::vector<TRect> rects;
  std::vector<const TWindow*> stack{scene.frame.get()};
  while (!stack.empty()) {
    const TWindow* w = stack.back();
    stack.pop_back();
    if (!(w->Attr.Style & WS_VISIBLE)) continue;
    const TRegion visible = w->VisibleRegion(true);
    for (const TRect& r : visible.Rects())
      if (TRect part = r & TRect(0, 0, kW, kH); !part.IsEmpty()) rects.push_back(part);
    // Pushed top of the stack first, so the bottom one is taken next.
    for (const TWindow* child : w->GetZOrder()) stack.push_back(child);
  }
  std::vector<uint8_t> frame(size_t(kW) * kH);
  uint8_t v = 0;
  for (auto _ : state) {
    ++v;
    for (const TRect& r : rects)
      for (int y = r.top; y < r.bottom; ++y)
        std::memset(frame.data() + size_t(y) * kW + r.left, v, size_t(r.Width()));
    benchmark::ClobberMemory();
  }
  // The windows' visible parts tile the frame: every pixel is written once.
  int64_t covered = 0;
  for (const TRect& r : rects) covered += int64_t(r.Width()) * r.Height();
  state.counters["rects"] = double(rects.size());
  state.counters["frame_covered"] = double(covered) / (double(kW) * kH);
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH);
}
BENCHMARK(BM_TableauRepaint_floor_windows)->Name("BM_TableauRepaint_floor_windows/1024x768");

// Maximise the Article pane, then restore the tiles, each with its repaint.
void BM_TableauSetState(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.tableau->SetState(" 1 2 0 0 0");
    PumpWaitingMessages();
    scene.tableau->SetState(" 0 0 0 0");
    PumpWaitingMessages();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 2);
}
BENCHMARK(BM_TableauSetState);

}  // namespace
}  // namespace quill
