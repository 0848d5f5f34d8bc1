// Text measuring and drawing through the font engine, warm and cold glyph cache.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "quillui/framework/gdi/font.h"
#include "quillui/framework/gdi/font_engine.h"
#include "quillui/testing/framework.h"

namespace {

using quill::TFont;

const std::string kLine = "Quillonary: the tableau of panes, fly menus and bookmarks \x96 caf\xE9";

void BM_TextExtentWarm(benchmark::State& state) {
  quill::ResetFontEngine();
  const TFont font("MS Sans Serif", -11);
  for (auto _ : state) benchmark::DoNotOptimize(font.GetTextExtent(kLine));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kLine.size()));
}
BENCHMARK(BM_TextExtentWarm);

void BM_DrawTextRunWarm(benchmark::State& state) {
  quill::ResetFontEngine();
  const TFont font("Arial", int(-state.range(0)));
  std::vector<uint8_t> screen(640 * 480, 0);
  for (auto _ : state) {
    quill::DrawTextRun(font, kLine, 4, 100, screen.data(), 640, 640, 480,
                       quill::TRect(0, 0, 640, 480), 7);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kLine.size()));
}
BENCHMARK(BM_DrawTextRunWarm)->Arg(11)->Arg(24)->Arg(72);

// First use of a font: face resolution, instance set-up and every glyph rendered.
void BM_DrawTextRunCold(benchmark::State& state) {
  std::vector<uint8_t> screen(640 * 480, 0);
  for (auto _ : state) {
    quill::ResetFontEngine();
    const TFont font("Times New Roman", -13);
    quill::DrawTextRun(font, kLine, 4, 100, screen.data(), 640, 640, 480,
                       quill::TRect(0, 0, 640, 480), 7);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawTextRunCold)->Unit(benchmark::kMillisecond);

}  // namespace
