// Navigation: offering a place to a full history, reading and writing a user list of 10,000
// bookmarks (against the same bytes read and written raw), and looking up a route.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/raw_file.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/stream/pstream.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/navigation/routing.h"
#include "quillui/profile/entries.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/navigation.h"
#include "quillui/testing/profile.h"

namespace quill {
namespace {

// An empty settings file (the list limits are the defaults) and a scratch list file.
struct Scratch {
  Scratch() {
    const std::string stem = "/tmp/quill_nav_bench_" + std::to_string(::getpid());
    settings = stem + ".ini";
    list = stem + ".bmk";
    if (FILE* f = std::fopen(settings.c_str(), "w")) std::fclose(f);
    SetProfilePath(settings);
    ResetNavigation();
  }
  ~Scratch() {
    ResetNavigation();
    ResetHostLookups();
    std::remove(settings.c_str());
    std::remove(list.c_str());
  }
  std::string settings;
  std::string list;
};

// A user list of typical bookmarks: a title as the name and a text with a few items.
void FillUserList(int count, const std::string& file) {
  ClearUserBookmarks();
  GetUserBookmarks().SetFileName(file);
  for (int i = 0; i < count; ++i) {
    QuietlyAddUserBookmark(std::make_unique<ZBookmark>(
        "ARTI", "Article title " + std::to_string(i),
        "ArticleWin codedref=" + std::to_string(100000 + i) + " md=ARTI title=<Article title " +
            std::to_string(i) + ">"));
  }
}

std::vector<uint8_t> EncodedUserList() {
  omemstream os;
  WriteBmk(os, GetUserBookmarks());
  return os.bytes();
}

void BM_AddHistoryBookmark(benchmark::State& state) {
  Scratch scratch;
  // More texts than the history holds, so each offer is new and each append trims.
  std::vector<std::string> texts;
  for (int i = 0; i < 1000; ++i) texts.push_back("ArticleWin codedref=" + std::to_string(i));
  for (int i = 0; i < 40; ++i)
    AddHistoryBookmark(std::make_unique<ZBookmark>("ARTI", "n", texts[size_t(i)]));
  size_t next = 40;
  for (auto _ : state) {
    AddHistoryBookmark(std::make_unique<ZBookmark>("ARTI", "n", texts[next]));
    next = (next + 1) % texts.size();
  }
  if (GetHistoryList().GetCount() != 40) state.SkipWithError("history not full");
}
BENCHMARK(BM_AddHistoryBookmark);

void BM_BmkWrite(benchmark::State& state) {
  Scratch scratch;
  FillUserList(int(state.range(0)), scratch.list);
  const size_t bytes = EncodedUserList().size();
  for (auto _ : state) {
    if (!WriteUserBookmarks()) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_BmkWrite)->Arg(10000)->Unit(benchmark::kMillisecond);

// The floor: the same bytes, already made, written the same safe way (temporary file, flush
// to the device, rename), since the list's write has to be that safe.
void BM_Floor_write(benchmark::State& state) {
  Scratch scratch;
  FillUserList(int(state.range(0)), scratch.list);
  const std::vector<uint8_t> bytes = EncodedUserList();
  for (auto _ : state) {
    if (!WriteFileReplacing(scratch.list, bytes, nullptr)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_Floor_write)->Arg(10000)->Unit(benchmark::kMillisecond);

// Reading into an empty list: deleting the list held before is not part of reading, so it
// happens outside the timed part.
void BM_BmkRead(benchmark::State& state) {
  Scratch scratch;
  FillUserList(int(state.range(0)), scratch.list);
  const size_t bytes = EncodedUserList().size();
  if (!WriteUserBookmarks()) state.SkipWithError("write failed");
  for (auto _ : state) {
    state.PauseTiming();
    ClearUserBookmarks();
    state.ResumeTiming();
    ReadUserBookmarks(0);
    if (GetUserBookmarks().GetCount() != state.range(0)) state.SkipWithError("short read");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_BmkRead)->Arg(10000)->Unit(benchmark::kMillisecond);

// The floor: the same file read whole into fresh memory with plain reads.
void BM_Floor_read_bmk(benchmark::State& state) {
  Scratch scratch;
  FillUserList(int(state.range(0)), scratch.list);
  if (!WriteUserBookmarks()) state.SkipWithError("write failed");
  size_t bytes = 0;
  for (auto _ : state) {
    const bench::RawFile data = bench::ReadFileRaw(scratch.list);
    bytes = data.size;
    benchmark::DoNotOptimize(data.data.get());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_Floor_read_bmk)->Name("BM_Floor_read")->Arg(10000)->Unit(benchmark::kMillisecond);

// A second floor: the raw read, then the least any reader of the format must do, walking each
// record's framing and noting where its three strings lie, with nothing made or checked
// beyond the lengths. The distance from the raw read to this is the format's own cost.
void BM_Floor_walk(benchmark::State& state) {
  Scratch scratch;
  FillUserList(int(state.range(0)), scratch.list);
  if (!WriteUserBookmarks()) state.SkipWithError("write failed");
  struct Place {
    const uint8_t* name;
    const uint8_t* type;
    const uint8_t* text;
  };
  std::vector<Place> places;
  places.reserve(size_t(state.range(0)));
  for (auto _ : state) {
    places.clear();
    const bench::RawFile file = bench::ReadFileRaw(scratch.list);
    const uint8_t* at = file.data.get() + 8;
    const uint8_t* const end = file.data.get() + file.size;
    // Skips a length-prefixed string, answering where it began (null past the end).
    const auto skip = [&]() -> const uint8_t* {
      uint32_t length;
      if (end - at < 4) return nullptr;
      std::memcpy(&length, at, 4);
      if (length > size_t(end - at) - 4) return nullptr;
      const uint8_t* begins = at;
      at += 4 + length;
      return begins;
    };
    while (at < end && *at++ == '[') {
      const uint8_t* klass = skip();
      const uint8_t* name = skip();
      const uint8_t* type = skip();
      const uint8_t* text = skip();
      if (!klass || !name || !type || !text || at >= end || *at++ != ']') break;
      places.push_back({name, type, text});
    }
    if (places.size() != size_t(state.range(0))) state.SkipWithError("short walk");
    benchmark::DoNotOptimize(places.data());
  }
}
BENCHMARK(BM_Floor_walk)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_GetRouteInfo(benchmark::State& state) {
  Scratch scratch;
  const int count = int(state.range(0));
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back("ContentWindow" + std::to_string(i));
    auto route = std::make_unique<ZRouteInfo>(names.back(), 2561 + i, ePATH_PANE, 0, 0);
    route->m_hEntry = RegisterEntry(names.back().c_str());
    GetRouting().Add(std::move(route));
  }
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetRouteInfo(names[next]));
    next = (next + 1) % names.size();
  }
}
BENCHMARK(BM_GetRouteInfo)->Arg(64);

}  // namespace
}  // namespace quill
