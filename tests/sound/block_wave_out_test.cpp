// ZBlockWaveOutDevice on the null backend in virtual time: the state table, block-done notices,
// the choice of backend, and the one-shot sounds of pyxPlaySound.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "quillui/platform/audio/null/null_wave_out.h"
#include "quillui/profile/reporter.h"
#include "quillui/sound/block_wave_out.h"
#include "quillui/sound/play_sound.h"
#include "quillui/testing/sound.h"
#include "support/headless_fixture.h"
#include "wave_bytes.h"

namespace quill::test {
namespace {

constexpr UINT kNotice = WM_USER + 5;

// Records the notices it is sent, with their wParam.
class NoticeWindow : public TWindow {
 public:
  NoticeWindow() : TWindow(nullptr, "notices") { Attr.Style = WS_POPUP; }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kNotice) {
      users.push_back(uintptr_t(wp));
      return 0;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  std::vector<uintptr_t> users;
};

class SoundDeviceTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    SetWaveOutBackend("null");
    platform::SetNullWaveOutPlayLog(log);
    format.SetPcm(1, 8000, 8);  // 8 bytes a millisecond
  }
  void TearDown() override {
    ResetPlaySound();
    ResetWaveOutSettings();
    HeadlessTest::TearDown();
  }
  // A block of ms milliseconds of format, filled with tag, carrying user.
  ZWaveBlock MakeBlock(int ms, uint8_t tag, uintptr_t user) {
    ZWaveBlock b;
    EXPECT_TRUE(b->Init(ms * 8));
    std::memset(b->Data(), tag, size_t(ms) * 8);
    b.Header()->dwUser = user;
    return b;
  }
  std::vector<platform::PlayedBlock> Played() { return log->Snapshot(); }

  std::shared_ptr<platform::NullPlayLog> log = std::make_shared<platform::NullPlayLog>();
  ZWaveFormat format;
};

using State = ZBlockWaveOutDevice::State;

TEST_F(SoundDeviceTest, QueueWhilePausedThenPlayWritesInOrderAndPlayingWritesAtOnce) {
  // Blocks outlive the device that plays them.
  ZWaveBlock a = MakeBlock(100, 0xA, 1), b = MakeBlock(50, 0xB, 2), c = MakeBlock(1, 0xC, 3);
  ZWaveBlock d = MakeBlock(10, 0xD, 4);
  ZBlockWaveOutDevice device;
  EXPECT_EQ(device.GetState(), State::Closed);
  EXPECT_FALSE(device.Queue(a));

  ASSERT_TRUE(device.Open(format));
  EXPECT_EQ(device.GetState(), State::Paused);
  EXPECT_STREQ(waveOutBackendName(device.DeviceHandle()), "null");
  for (ZWaveBlock* blk : {&a, &b, &c}) ASSERT_TRUE(device.Queue(*blk));
  EXPECT_TRUE(a.Header()->dwFlags & WHDR_PREPARED);
  EXPECT_TRUE(Played().empty());
  EXPECT_EQ(device.QueuedCount(), 3u);

  const uint64_t t0 = clock->NowMs();
  device.Play();
  EXPECT_EQ(device.GetState(), State::Playing);
  EXPECT_EQ(device.QueuedCount(), 0u);
  std::vector<platform::PlayedBlock> played = Played();
  ASSERT_EQ(played.size(), 3u);
  const ZWaveBlock* order[] = {&a, &b, &c};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(played[i].cookie, uint64_t(uintptr_t(order[i]->Header())));
    EXPECT_EQ(played[i].bytes,
              Bytes(order[i]->Imp().Data(), order[i]->Imp().Data() + order[i]->Imp().BufferSize()));
  }
  // Back to back in virtual time.
  EXPECT_EQ(played[0].startMs, t0);
  EXPECT_EQ(played[1].startMs, t0 + 100);
  EXPECT_EQ(played[2].startMs, t0 + 150);

  ASSERT_TRUE(device.Queue(d));
  EXPECT_EQ(device.QueuedCount(), 0u);
  ASSERT_EQ(Played().size(), 4u);
  EXPECT_EQ(Played()[3].startMs, t0 + 151);
}

TEST_F(SoundDeviceTest, StopDiscardsTheQueueWithoutWritingIt) {
  ZWaveBlock a = MakeBlock(20, 1, 1), b = MakeBlock(20, 2, 2);
  ZBlockWaveOutDevice device;
  ASSERT_TRUE(device.Open(format));
  ASSERT_TRUE(device.Queue(a));
  ASSERT_TRUE(device.Queue(b));
  device.Stop();
  EXPECT_EQ(device.GetState(), State::Paused);
  EXPECT_EQ(device.QueuedCount(), 0u);
  EXPECT_FALSE(a.Header()->dwFlags & WHDR_PREPARED);
  EXPECT_TRUE(a->bDone);
  device.Play();
  Advance(1000);
  Pump();
  EXPECT_TRUE(Played().empty());
}

TEST_F(SoundDeviceTest, BlockDoneNoticesReachTheNotifyWindowWhenEachBlockEnds) {
  NoticeWindow notices;
  ASSERT_TRUE(notices.Create());
  ZWaveBlock a = MakeBlock(100, 1, 0x111), b = MakeBlock(50, 2, 0x222), c = MakeBlock(5, 3, 0x333);
  ZBlockWaveOutDevice device;
  device.SetNotify(&notices, kNotice);
  ASSERT_TRUE(device.Open(format));
  ASSERT_TRUE(device.Queue(a));
  ASSERT_TRUE(device.Queue(b));
  device.Play();
  EXPECT_FALSE(a->bDone);
  EXPECT_TRUE(a->bQueued);

  Advance(99);
  Pump();
  EXPECT_TRUE(notices.users.empty());
  Advance(1);
  Pump();
  EXPECT_EQ(notices.users, (std::vector<uintptr_t>{0x111}));
  EXPECT_TRUE(a->bDone);
  EXPECT_FALSE(a.Header()->dwFlags & WHDR_PREPARED);
  EXPECT_TRUE(a.Header()->dwFlags & WHDR_DONE);
  EXPECT_FALSE(b->bDone);
  Advance(50);
  Pump();
  EXPECT_EQ(notices.users, (std::vector<uintptr_t>{0x111, 0x222}));
  EXPECT_TRUE(Played()[1].finished);
  EXPECT_EQ(device.GetState(), State::Playing);  // it stays playing for later blocks

  // Without a notify message nothing is sent, but blocks are still handed back.
  device.SetNotify(&notices, 0);
  ASSERT_TRUE(device.Queue(c));
  Advance(10);
  Pump();
  EXPECT_EQ(notices.users.size(), 2u);
  EXPECT_TRUE(c->bDone);
}

TEST_F(SoundDeviceTest, StopWhilePlayingCutsOffAndHandsEveryBlockBack) {
  NoticeWindow notices;
  ASSERT_TRUE(notices.Create());
  ZWaveBlock a = MakeBlock(100, 1, 1), b = MakeBlock(100, 2, 2);
  ZBlockWaveOutDevice device;
  device.SetNotify(&notices, kNotice);
  ASSERT_TRUE(device.Open(format));
  ASSERT_TRUE(device.Queue(a));
  ASSERT_TRUE(device.Queue(b));
  device.Play();
  Advance(30);
  device.Stop();
  Pump();
  EXPECT_EQ(notices.users, (std::vector<uintptr_t>{1, 2}));
  const auto played = Played();
  ASSERT_EQ(played.size(), 2u);
  EXPECT_TRUE(played[0].discarded);
  EXPECT_EQ(played[0].endMs, played[0].startMs + 30);
  EXPECT_TRUE(played[1].discarded);
  EXPECT_EQ(device.GetState(), State::Paused);
  EXPECT_FALSE(a.Header()->dwFlags & WHDR_PREPARED);
}

TEST_F(SoundDeviceTest, CloseAndReopenIgnoreNoticesOfTheOldDevice) {
  NoticeWindow notices;
  ASSERT_TRUE(notices.Create());
  ZWaveBlock a = MakeBlock(10, 1, 1);
  ZBlockWaveOutDevice device;
  device.SetNotify(&notices, kNotice);
  ASSERT_TRUE(device.Open(format));
  ASSERT_TRUE(device.Queue(a));
  device.Play();
  device.Close();  // while playing: stops first
  EXPECT_EQ(device.GetState(), State::Closed);
  ASSERT_TRUE(device.Open(format));
  Advance(100);
  Pump();
  EXPECT_TRUE(notices.users.empty());
  EXPECT_TRUE(a->bDone);
  EXPECT_FALSE(a.Header()->dwFlags & WHDR_PREPARED);
}

TEST_F(SoundDeviceTest, OpenRefusesFormatsNoBackendPlays) {
  struct Case {
    const char* name;
    uint16_t tag, channels;
    uint32_t rate;
    uint16_t bits, align;
  } cases[] = {
      {"float", 3, 1, 8000, 32, 4},         {"24_bit", 1, 2, 44100, 24, 6},
      {"three_channels", 1, 3, 8000, 8, 3}, {"bad_block_align", 1, 2, 8000, 16, 2},
      {"zero_rate", 1, 1, 0, 8, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ZWaveFormat f;
    f.SetFormatTag(c.tag);
    f.SetChannels(c.channels);
    f.SetSamplesPerSec(c.rate);
    f.SetBitsPerSample(c.bits);
    f.SetBlockAlign(c.align);
    ZBlockWaveOutDevice device;
    EXPECT_FALSE(device.Open(f));
    EXPECT_EQ(device.GetState(), State::Closed);
  }
}

TEST_F(SoundDeviceTest, MissingSoundDeviceGivesTheNullBackendAndOneReport) {
  int reports = 0;
  SetReporterEcho(false);
  ZReporterHook old = SetReporterHook([&](const ZReport&) { ++reports; });
  const char* previous = std::getenv("SDL_AUDIODRIVER");
  std::string saved = previous ? previous : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SetWaveOutBackend("sdl");
  for (int i = 0; i < 2; ++i) {
    ZBlockWaveOutDevice device;
    ASSERT_TRUE(device.Open(format));
    EXPECT_STREQ(waveOutBackendName(device.DeviceHandle()), "null");
  }
  EXPECT_EQ(reports, 1);
  if (previous)
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");
  SetReporterHook(old);
  SetReporterEcho(true);
}

// --- One-shot sounds -------------------------------------------------------------------------

class PlaySoundTest : public SoundDeviceTest {
 protected:
  void SetUp() override {
    SoundDeviceTest::SetUp();
    samples = Sine(1, 8000, 8, 800, 500, 0.5);  // 100 ms
    click = dir / "click.wav";
    WriteBytes(click, Riff("WAVE", {Chunk("fmt ", FmtBody(1, 8000, 8)), Chunk("data", samples)}));
  }
  ScratchDir dir;
  std::string click;
  Bytes samples;
};

TEST_F(PlaySoundTest, ClickPlaysItsSamplesAndIsKeptForTheNextClick) {
  pyxPlaySound(click.c_str(), SND_ASYNC);
  EXPECT_STREQ(PlaySoundBackendName(), "null");
  EXPECT_EQ(PlaySoundCachedCount(), 1u);
  auto played = Played();
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0].bytes, samples);
  EXPECT_EQ(played[0].endMs - played[0].startMs, 100u);

  Advance(40);
  pyxPlaySound(click.c_str(), SND_ASYNC);  // cuts the first off
  Pump();
  played = Played();
  ASSERT_EQ(played.size(), 2u);
  EXPECT_TRUE(played[0].discarded);
  EXPECT_EQ(PlaySoundCachedCount(), 1u);

  pyxPlaySound(click.c_str(), SND_ASYNC | SND_NOSTOP);  // busy: left out
  EXPECT_EQ(Played().size(), 2u);
  Advance(100);
  Pump();
  EXPECT_TRUE(Played()[1].finished);
  EXPECT_EQ(PlaySoundHeldCount(), 0u);
  EXPECT_FALSE(pyxPlaySoundQueryBusy());
}

TEST_F(PlaySoundTest, RapidClicksHoldOneBlockNotOnePerClick) {
  for (int i = 0; i < 50; ++i) {
    pyxPlaySound(click.c_str(), SND_ASYNC);
    Advance(1);
    Pump();
  }
  EXPECT_EQ(PlaySoundHeldCount(), 1u);
  EXPECT_EQ(Played().size(), 50u);
  Advance(100);
  Pump();
  EXPECT_EQ(PlaySoundHeldCount(), 0u);
  EXPECT_TRUE(Played().back().finished);
}

TEST_F(PlaySoundTest, SyncWaitsTheSoundsLengthOnTheFrameworkClock) {
  const uint64_t before = clock->NowMs();
  pyxPlaySound(click.c_str(), SND_SYNC);
  EXPECT_EQ(clock->NowMs() - before, 100u);
  Pump();
  EXPECT_TRUE(Played()[0].finished);
}

TEST_F(PlaySoundTest, NullNameStopsAndUnreadableFilesAreIgnored) {
  pyxPlaySound(click.c_str(), SND_ASYNC);
  pyxPlaySound(nullptr, 0);
  Pump();
  EXPECT_TRUE(Played()[0].discarded);

  const std::string bad = dir / "bad.wav";
  WriteBytes(bad, Riff("WAVE", {Chunk("data", Bytes(4), 1u << 30)}));
  for (const std::string& name : {bad, dir / "missing.wav", dir.path()})
    pyxPlaySound(name.c_str(), SND_ASYNC);
  EXPECT_EQ(Played().size(), 1u);
  pyxPlaySoundSetNotifyWindow(nullptr);
  pyxPlaySoundNotify(0, 0);
}

}  // namespace
}  // namespace quill::test
