// Settings and item-scanner costs: loading a settings file of many keys and scanning a long
// item text must both stay linear.
#include <benchmark/benchmark.h>

#include <string>

#include "quillui/profile/cmd_line.h"
#include "quillui/profile/ini_file.h"

namespace {

std::string IniText(int keys) {
  std::string text = "; generated\n[Routing]\n";
  for (int i = 0; i < keys; ++i)
    text +=
        "Entry" + std::to_string(i) + "=Pane=Article holder=Holder" + std::to_string(i % 7) + "\n";
  return text;
}

void BM_IniLoad(benchmark::State& state) {
  const std::string text = IniText(int(state.range(0)));
  for (auto _ : state) {
    quill::IniDocument doc(text);
    benchmark::DoNotOptimize(doc.Find("routing", "Entry5"));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * int64_t(text.size()));
}
BENCHMARK(BM_IniLoad)->ArgName("keys")->Arg(1000)->Arg(10000)->Arg(100000);

void BM_CmdLineScan(benchmark::State& state) {
  std::string text;
  for (int64_t i = 0; i < state.range(0); ++i)
    text += "item" + std::to_string(i) + "=<v " + std::to_string(i) + "> ";
  for (auto _ : state) {
    quill::ZCmdLine line(text);
    std::string name, value;
    int64_t count = 0;
    for (bool ok = line.FindFirst(name, value); ok; ok = line.FindNext(name, value)) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * int64_t(text.size()));
}
BENCHMARK(BM_CmdLineScan)->ArgName("items")->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace
