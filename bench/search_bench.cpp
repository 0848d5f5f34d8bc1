// Cost of one keystroke of search as you type over the encyclopedia's whole content: each
// prefix of a typed query ("speed of light") run through the search index, against the floor
// of one memchr pass over the same lower-cased text bytes the index scans.
#include <benchmark/benchmark.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "host/core/content_store.h"
#include "host/core/search.h"

#ifdef QUILLONARY_CONTENT_DIR

namespace quillonary {
namespace {

constexpr const char* kTyped = "speed of light";

const ContentStore& Store() {
  static const ContentStore store = [] {
    ContentStore s;
    std::string error;
    if (!s.Load(QUILLONARY_CONTENT_DIR, &error)) std::fprintf(stderr, "%s\n", error.c_str());
    return s;
  }();
  return store;
}

// One keystroke: the query typed so far, cycling through every prefix of the typed words.
void BM_SearchKeystroke(benchmark::State& state) {
  SearchIndex index(Store().Articles());
  const std::string typed = kTyped;
  size_t n = 1;
  size_t hits = 0;
  for (auto _ : state) {
    const auto found = index.Find(std::string_view(typed).substr(0, n));
    hits += found.size();
    benchmark::DoNotOptimize(found.data());
    n = n == typed.size() ? 1 : n + 1;
  }
  state.counters["articles"] = double(Store().Articles().size());
  benchmark::DoNotOptimize(hits);
}
BENCHMARK(BM_SearchKeystroke);

// The floor: one memchr over the titles and texts, lower-cased as the index holds them, for a
// byte that is not there.
void BM_SearchFloorScan(benchmark::State& state) {
  std::vector<std::string> texts;
  size_t bytes = 0;
  for (const Article& a : Store().Articles()) {
    std::string t = a.title + "\n" + a.PlainText();
    for (char& c : t) c = char(std::tolower(static_cast<unsigned char>(c)));
    bytes += t.size();
    texts.push_back(std::move(t));
  }
  for (auto _ : state) {
    for (const std::string& t : texts)
      benchmark::DoNotOptimize(std::memchr(t.data(), '\x01', t.size()));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_SearchFloorScan);

}  // namespace
}  // namespace quillonary

#endif
