// End to end through real SDL audio: SDL's "disk" driver writes what the device plays to a
// file, which must hold the queued samples after conversion to the device's 16-bit stereo.
// This test runs in real time (a few tenths of a second) because the driver does.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/audio/sdl/sdl_wave_out.h"
#include "quillui/platform/clock.h"
#include "quillui/sound/block_wave_out.h"
#include "quillui/testing/sound.h"
#include "wave_bytes.h"

namespace quill::test {
namespace {

constexpr UINT kNotice = WM_USER + 9;
constexpr int kRate = platform::SdlWaveOut::kDeviceRate;

class DoneWindow : public TWindow {
 public:
  DoneWindow() : TWindow(nullptr, "done") { Attr.Style = WS_POPUP; }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kNotice) ++done;
    return TWindow::WindowProc(msg, wp, lp);
  }
  int done = 0;
};

class SdlDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TWindowSystemOptions options;
    options.clock = std::make_unique<platform::SteadyClock>();
    TWindowSystem::Install(std::move(options));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    SetWaveOutBackend("sdl");
  }
  void TearDown() override {
    ResetWaveOutSettings();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    TWindowSystem::Uninstall();
  }

  // Plays samples in format through the disk driver and answers the driver's file as 16-bit
  // stereo frames.
  std::vector<int16_t> PlayThroughDisk(const ZWaveFormat& format, const Bytes& samples) {
    const std::string out = dir / "out.raw";
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    DoneWindow window;
    EXPECT_TRUE(window.Create());
    ZBlockWaveOutDevice device;
    device.SetNotify(&window, kNotice);
    if (!device.Open(format)) return {};
    EXPECT_STREQ(waveOutBackendName(device.DeviceHandle()), "sdl");
    ZWaveBlock block;
    EXPECT_TRUE(block->Init(long(samples.size())));
    std::copy(samples.begin(), samples.end(), block->Data());
    EXPECT_TRUE(device.Queue(block));
    device.Play();
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (window.done == 0 && Clock::now() < deadline) {
      while (PumpWaitingMessages()) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(window.done, 1);
    // Let the driver write the buffer that held the last samples, and one more.
    const uintmax_t atDone = std::filesystem::file_size(out);
    while (std::filesystem::file_size(out) < atDone + 2 * 4096 && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    device.Close();
    const Bytes raw = ReadBytes(out);
    std::vector<int16_t> frames(raw.size() / 2);
    for (size_t i = 0; i < frames.size(); ++i) frames[i] = int16_t(Get16(raw, i * 2));
    return frames;
  }

  ScratchDir dir;
};

TEST_F(SdlDiskTest, SamplesInTheDevicesFormatArriveUnchanged) {
  ZWaveFormat format;
  format.SetPcm(2, kRate, 16);
  const Bytes samples = Sine(2, kRate, 16, 2400, 997, 0.6);
  const std::vector<int16_t> played = PlayThroughDisk(format, samples);
  ASSERT_FALSE(played.empty());
  std::vector<int16_t> expected(samples.size() / 2);
  for (size_t i = 0; i < expected.size(); ++i) expected[i] = int16_t(Get16(samples, i * 2));
  auto at = std::search(played.begin(), played.end(), expected.begin(), expected.end());
  ASSERT_NE(at, played.end()) << "the queued samples are not in the driver's output";
  // Nothing but silence around them.
  EXPECT_TRUE(std::all_of(played.begin(), at, [](int16_t s) { return s == 0; }));
  EXPECT_TRUE(
      std::all_of(at + long(expected.size()), played.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(SdlDiskTest, EightBitMonoIsConvertedAndResampled) {
  ZWaveFormat format;
  format.SetPcm(1, 11025, 8);
  const size_t frames = 2205;  // 200 ms
  const double freq = 440, amp = 0.8;
  const std::vector<int16_t> played = PlayThroughDisk(format, Sine(1, 11025, 8, frames, freq, amp));
  ASSERT_GT(played.size(), 2u);
  const size_t n = played.size() / 2;
  auto left = [&](size_t i) { return double(played[2 * i]); };
  for (size_t i = 0; i < n; ++i)
    ASSERT_EQ(played[2 * i], played[2 * i + 1]) << "mono goes to both channels";

  // The sound: from the first to the last frame that is not silence.
  size_t first = 0, last = n;
  while (first < n && std::abs(left(first)) < 300) ++first;
  while (last > first && std::abs(left(last - 1)) < 300) --last;
  const double expectedFrames = frames * double(kRate) / 11025;
  EXPECT_NEAR(double(last - first), expectedFrames, 0.01 * expectedFrames);

  // Against the ideal sine at the device rate (unsigned 8-bit becomes (x - 128) * 256), at the
  // best-fitting start: the error is quantisation and resampling, a few percent at most.
  const double full = 127 * 256 * amp;
  double best = 1e300;
  const size_t start = first > 64 ? first - 64 : 0;
  for (size_t s = start; s < first + 64 && s < n; ++s) {
    double err = 0, energy = 0;
    const size_t len = std::min<size_t>(size_t(expectedFrames) - 200, n - s);
    for (size_t i = 100; i < len; ++i) {  // away from the edges, where the filter rings
      const double ideal = full * std::sin(2 * M_PI * freq * double(i) / kRate);
      err += (left(s + i) - ideal) * (left(s + i) - ideal);
      energy += ideal * ideal;
    }
    best = std::min(best, std::sqrt(err / energy));
  }
  EXPECT_LT(best, 0.03);
}

}  // namespace
}  // namespace quill::test
