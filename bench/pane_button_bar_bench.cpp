// Cost of refilling a pane's button bar: merging the Article pane's eight-item menu (the bar
// emptied, eight strips loaded, keyed and laid out), measured against reading the same eight
// strip files raw.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/raw_file.h"
#include "bench/scratch_art.h"
#include "quillui/app/art_dir.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/screen/screen_surface.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/tableau/pane_button_bar.h"
#include "quillui/testing/app.h"
#include "quillui/testing/bars.h"
#include "quillui/testing/buttons.h"
#include "quillui/testing/imaging.h"
#include "quillui/testing/profile.h"

namespace quill {
namespace {

constexpr UINT kArticleMenu[] = {7301, 7302, 7307, 7308, 7633, 7632, 7305, 7306};

// A scratch folder with the palette and a three-cel 24 x 20 strip under each bitmap name the
// Article menu's buttons use.
struct PaneBarScene {
  PaneBarScene() {
    std::filesystem::create_directories(art.dir / "buttons");
    TDib strip = bench::ScratchArt::PaletteDib(72, 20);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 72; ++x) strip.SetPixelIndex(x, y, 20 + x / 24);
    for (UINT id : kArticleMenu) {
      const std::string path =
          art.Path(std::string("buttons/") + ZPaneButtonBar::FindButton(id)->bitmap);
      WriteBmpFile(strip, path, nullptr);
      paths.push_back(path);
    }
  }
  bench::ScratchArt art{"panebar"};
  std::vector<std::string> paths;
};

void BM_PaneButtonBarMerge(benchmark::State& state) {
  PaneBarScene scene;
  TWindowSystem::Install({});
  {
    TWindow pane(nullptr, "pane");
    pane.Attr.Style = WS_POPUP | WS_VISIBLE;
    pane.Attr.W = 400, pane.Attr.H = 200;
    auto* bar = new ZPaneButtonBar(eARTICLE_PANE, &pane);
    pane.Create();
    for (auto _ : state) {
      TMenu menu;
      for (UINT id : kArticleMenu) menu.AppendMenu(MF_STRING, id, "@");
      bar->MergeButtons(menu);
    }
    if (bar->NumGadgets() != 8) state.SkipWithError("the merge made no eight buttons");
  }
  TWindowSystem::Uninstall();
}
BENCHMARK(BM_PaneButtonBarMerge);

// The floor: the eight strip files read raw.
void BM_Floor_ReadRaw_PaneButtonBar(benchmark::State& state) {
  PaneBarScene scene;
  for (auto _ : state)
    for (const std::string& path : scene.paths) {
      bench::RawFile file = bench::ReadFileRaw(path);
      benchmark::DoNotOptimize(file.data.get());
    }
}
BENCHMARK(BM_Floor_ReadRaw_PaneButtonBar)->Name("BM_Floor_ReadRaw/panebar8");

}  // namespace
}  // namespace quill
