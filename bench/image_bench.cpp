// Cost of decoding and encoding screen-sized images: uncompressed and RLE8 bitmaps, and the
// palette PNG of a headless screenshot.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/png_codec.h"

namespace quill {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A picture with some structure: bands of colour with a diagonal pattern, as a background
// bitmap might have.
TDib Picture() {
  TDib dib(kWidth, kHeight, 8);
  for (int i = 0; i < 256; ++i) {
    dib.SetColor(i, TColor(uint8_t(i), uint8_t(i / 2), uint8_t(255 - i)));
  }
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = dib.ScanLine(y);
    for (int x = 0; x < kWidth; ++x) row[x] = uint8_t((y / 8) * 16 + ((x + y) / 40) % 16);
  }
  return dib;
}

// The same picture RLE8-encoded as a classic encoder would: runs of equal pixels, one end of
// line per row, end of bitmap at the close.
std::vector<uint8_t> Rle8File(const TDib& dib) {
  std::vector<uint8_t> file = EncodeBmp(dib, nullptr);
  const size_t offBits = file[10] | (file[11] << 8);
  file.resize(offBits);
  for (int r = 0; r < kHeight; ++r) {
    const uint8_t* row = dib.Bits() + size_t(r) * dib.BytesPerLine();
    for (int x = 0; x < kWidth;) {
      int run = 1;
      while (x + run < kWidth && run < 255 && row[x + run] == row[x]) ++run;
      file.push_back(uint8_t(run));
      file.push_back(row[x]);
      x += run;
    }
    file.insert(file.end(), {0, 0});
  }
  file.insert(file.end(), {0, 1});
  const uint32_t size = uint32_t(file.size() - offBits);
  file[30] = BI_RLE8;
  for (int i = 0; i < 4; ++i) file[34 + i] = uint8_t(size >> (8 * i));
  return file;
}

void BM_BmpDecode8(benchmark::State& state) {
  const std::vector<uint8_t> file = EncodeBmp(Picture(), nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(ReadBmp(file).dib);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_BmpDecode8)->Name("BM_BmpDecode8/640x480");

// A 1024 x 768 true-colour bitmap, as a background picture for the largest screen.
void BM_BmpDecode24(benchmark::State& state) {
  TDib dib(1024, 768, 24);
  for (int y = 0; y < 768; ++y) {
    uint8_t* row = dib.ScanLine(y);
    for (int x = 0; x < 1024 * 3; ++x) row[x] = uint8_t(x * 3 + y);
  }
  const std::vector<uint8_t> file = EncodeBmp(dib, nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(ReadBmp(file).dib);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_BmpDecode24)->Name("BM_BmpDecode24/1024x768");

void BM_ReadBmpRle8(benchmark::State& state) {
  const std::vector<uint8_t> file = Rle8File(Picture());
  for (auto _ : state) benchmark::DoNotOptimize(ReadBmp(file).dib);
  state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_ReadBmpRle8);

std::string ScratchPath(const char* name) {
  return "/tmp/quill-bench-" + std::to_string(::getpid()) + "-" + name;
}

void BM_WriteIndexedPng(benchmark::State& state) {
  const TDib dib = Picture();
  const std::string path = ScratchPath("shot.png");
  for (auto _ : state) {
    // The DIB's rows lie bottom-up, so the picture comes out upside down; the cost is the same.
    WriteIndexedPng(path, kWidth, kHeight, dib.Bits(), dib.BytesPerLine(), dib.GetColors(),
                    nullptr);
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_WriteIndexedPng);

void BM_ReadPng8(benchmark::State& state) {
  const std::string path = ScratchPath("read.png");
  WritePngFile(Picture(), path, nullptr);
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  std::remove(path.c_str());
  for (auto _ : state) benchmark::DoNotOptimize(ReadPng(file).dib);
  state.SetItemsProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_ReadPng8);

}  // namespace
}  // namespace quill
