// Cost of loading a named bitmap: a 640x480 8-bit file read through the graphics reader, and the
// same file as a member of a data set, each against plain reads of the same bytes into fresh
// memory (the whole file as bench/raw_file.h reads it; the member's range of the set file), the
// floor a one-pass reader can approach.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/raw_file.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/imaging/bitmap_manager.h"
#include "quillui/imaging/data_set.h"
#include "quillui/profile/graphic_reader.h"

namespace quill {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A scratch folder with picture.bmp (640x480, 8 bits, 256 colours) and pictures.set, which
// holds a small bitmap and then the same picture.
struct Files {
  std::string dir;
  std::string bmp;
  std::string set;

  Files() {
    char pattern[] = "/tmp/quill-bench-load-XXXXXX";
    dir = ::mkdtemp(pattern) ? pattern : "/tmp";
    TDib dib(kWidth, kHeight, 8);
    for (int i = 0; i < 256; ++i) dib.SetColor(i, TColor(uint8_t(i), uint8_t(i / 2), uint8_t(~i)));
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* row = dib.ScanLine(y);
      for (int x = 0; x < kWidth; ++x) row[x] = uint8_t((y / 8) * 16 + ((x + y) / 40) % 16);
    }
    bmp = dir + "/picture.bmp";
    WriteBmpFile(dib, bmp, nullptr);
    TDib small(8, 8, 8);
    WriteBmpFile(small, dir + "/small.bmp", nullptr);
    set = dir + "/pictures.set";
    ZDataSet built = ZDataSet::AtPath(set, true);
    built.add_file(dir + "/small.bmp");
    built.add_file(bmp);
    built.write();
  }
  ~Files() { std::filesystem::remove_all(dir); }
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

void BM_LoadBitmapRawRead(benchmark::State& state) {
  const Files& f = TheFiles();
  size_t bytes = 0;
  for (auto _ : state) {
    bench::RawFile raw = bench::ReadFileRaw(f.bmp);
    bytes = raw.size;
    benchmark::DoNotOptimize(raw.data.get());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_LoadBitmapRawRead);

void BM_LoadBitmapFile(benchmark::State& state) {
  const Files& f = TheFiles();
  for (auto _ : state) {
    ZGraphicReader reader(f.bmp.c_str(), 0, -1, nullptr);
    if (!reader.IsOK()) state.SkipWithError(reader.GetError().c_str());
    benchmark::DoNotOptimize(reader.GetTDib()->Bits());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(f.bmp)));
}
BENCHMARK(BM_LoadBitmapFile);

// The floor of the set read: the member's bytes read from the set file at its position.
void BM_LoadBitmapSetRawRead(benchmark::State& state) {
  const Files& f = TheFiles();
  ZDataSetEntry entry;
  if (!ZDataSet::AtPath(f.set).find_entry("picture.bmp", entry)) {
    state.SkipWithError("no member");
    return;
  }
  for (auto _ : state) {
    const int fd = ::open(f.set.c_str(), O_RDONLY);
    auto bytes = std::make_unique_for_overwrite<uint8_t[]>(size_t(entry.length));
    size_t done = 0;
    while (done < entry.length) {
      const ssize_t n =
          ::pread(fd, bytes.get() + done, size_t(entry.length) - done, off_t(entry.offset + done));
      if (n <= 0) break;
      done += size_t(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(bytes.get());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(entry.length));
}
BENCHMARK(BM_LoadBitmapSetRawRead);

void BM_LoadBitmapSet(benchmark::State& state) {
  const Files& f = TheFiles();
  const ZDataSet set = ZDataSet::AtPath(f.set);
  ZBitmapManager manager;
  for (auto _ : state) {
    auto dib = manager.load_bitmap_from_set("PICTURE.BMP", set);
    if (!dib) state.SkipWithError("the member was not found or not read");
    benchmark::DoNotOptimize(dib->Bits());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(f.bmp)));
}
BENCHMARK(BM_LoadBitmapSet);

}  // namespace
}  // namespace quill
