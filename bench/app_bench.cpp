// Presentation lookups: every paint asks for colours and fonts, so a lookup after the first
// read must cost a table read.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "quillui/app/presentation.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/app.h"

namespace quill {
namespace {

// An empty settings file: the tables come from the built-in defaults.
struct EmptySettings {
  EmptySettings() {
    path = "/tmp/quill_bench_settings_" + std::to_string(::getpid()) + ".ini";
    if (FILE* f = std::fopen(path.c_str(), "w")) std::fclose(f);
    SetProfilePath(path);
    ResetPresentation();
  }
  ~EmptySettings() {
    ResetPresentation();
    std::remove(path.c_str());
  }
  std::string path;
};

void BM_GetAppColor(benchmark::State& state) {
  EmptySettings settings;
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetAppColor(i));
    i = (i + 1) % APP_COLOR_COUNT;
  }
}
BENCHMARK(BM_GetAppColor);

void BM_GetAppFont(benchmark::State& state) {
  EmptySettings settings;
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetAppFont(i));
    i = (i + 1) % APP_FONT_COUNT;
  }
}
BENCHMARK(BM_GetAppFont);

}  // namespace
}  // namespace quill
