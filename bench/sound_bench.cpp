// Cost of loading a 30-second 16-bit stereo wave file into one block, against the floor of
// reading the same bytes with plain reads, and the user-interface thread's cost of a click.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/raw_file.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/clock.h"
#include "quillui/sound/one_block_wave_buffer.h"
#include "quillui/sound/play_sound.h"
#include "quillui/sound/wave_file.h"
#include "quillui/sound/wave_out_api.h"
#include "quillui/testing/sound.h"

namespace quill {
namespace {

// Writes a sine of the given length with the library's own writer; answers the file's name.
std::string WaveFile(const char* name, uint16_t channels, uint32_t rate, uint16_t bits,
                     double seconds) {
  const std::string path =
      "/tmp/quill_bench_" + std::string(name) + "_" + std::to_string(getpid()) + ".wav";
  ZWaveFormat format;
  format.SetPcm(channels, rate, bits);
  const size_t frames = size_t(seconds * rate);
  std::vector<uint8_t> data(frames * format.BlockAlign());
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) {
      const double v = 0.5 * std::sin(2 * M_PI * 440 * double(i) / rate);
      uint8_t* p = &data[(i * channels + c) * (bits / 8)];
      if (bits == 8) {
        p[0] = uint8_t(128 + 127 * v);
      } else {
        const int16_t s = int16_t(32767 * v);
        p[0] = uint8_t(s);
        p[1] = uint8_t(uint16_t(s) >> 8);
      }
    }
  ZWaveFile file(path.c_str(), MMIO_CREATE | MMIO_WRITE);
  file.create_format();
  file.write_data(format.Bytes(), format.size());
  file.ascend_chunk();
  file.create_data();
  file.write_data(data.data(), long(data.size()));
  file.ascend_chunk();
  return path;
}

const std::string& ThirtySeconds() {
  static const std::string path = WaveFile("30s", 2, 44100, 16, 30);
  return path;
}

void BM_WaveLoad(benchmark::State& state) {
  const std::string& path = ThirtySeconds();
  long bytes = 0;
  for (auto _ : state) {
    ZWaveFile file(path.c_str(), MMIO_READ);
    ZOneBlockWaveBuffer buffer;
    if (!buffer.Load(&file)) state.SkipWithError("load failed");
    bytes = buffer.DataSize();
    benchmark::DoNotOptimize(buffer.Block()->Imp().Data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}
BENCHMARK(BM_WaveLoad)->Name("BM_WaveLoad/30s_stereo16")->Unit(benchmark::kMillisecond);

// The floor: the same file read whole into freshly allocated memory with plain reads.
void BM_Floor_read(benchmark::State& state) {
  const std::string& path = ThirtySeconds();
  long bytes = 0;
  for (auto _ : state) {
    const bench::RawFile data = bench::ReadFileRaw(path);
    bytes = long(data.size);
    benchmark::DoNotOptimize(data.data.get());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}
BENCHMARK(BM_Floor_read)->Unit(benchmark::kMillisecond);

// A click sound as the buttons load it: 55 KB (1.25 s of 16-bit mono at 22050), where the
// system calls of opening and walking the file weigh as much as the bytes.
const std::string& Click55k() {
  static const std::string path = WaveFile("click55k", 1, 22050, 16, 1.25);
  return path;
}

void BM_WaveLoadSmall(benchmark::State& state) {
  const std::string& path = Click55k();
  long bytes = 0;
  for (auto _ : state) {
    ZWaveFile file(path.c_str(), MMIO_READ);
    ZOneBlockWaveBuffer buffer;
    if (!buffer.Load(&file)) state.SkipWithError("load failed");
    bytes = buffer.DataSize();
    benchmark::DoNotOptimize(buffer.Block()->Imp().Data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}
BENCHMARK(BM_WaveLoadSmall)->Name("BM_WaveLoad/click55k")->Unit(benchmark::kMicrosecond);

void BM_Floor_readSmall(benchmark::State& state) {
  const std::string& path = Click55k();
  long bytes = 0;
  for (auto _ : state) {
    const bench::RawFile data = bench::ReadFileRaw(path);
    bytes = long(data.size);
    benchmark::DoNotOptimize(data.data.get());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}
BENCHMARK(BM_Floor_readSmall)->Name("BM_Floor_read/click55k")->Unit(benchmark::kMicrosecond);

// What a button click costs the user-interface thread once its sound is kept: a 150 ms click
// on whatever device the machine has (QUILL_AUDIO decides; null without one).
void BM_PlayClick(benchmark::State& state) {
  const std::string path = WaveFile("click", 1, 11025, 8, 0.15);
  TWindowSystemOptions options;
  options.clock = std::make_unique<platform::SteadyClock>();
  TWindowSystem::Install(std::move(options));
  pyxPlaySound(path.c_str(), SND_ASYNC);  // opens the device and keeps the sound
  for (auto _ : state) {
    pyxPlaySound(path.c_str(), SND_ASYNC);
    state.PauseTiming();
    while (PumpWaitingMessages()) {
    }
    state.ResumeTiming();
  }
  state.SetLabel(PlaySoundBackendName());
  ResetPlaySound();
  TWindowSystem::Uninstall();
  std::remove(path.c_str());
}
BENCHMARK(BM_PlayClick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quill
