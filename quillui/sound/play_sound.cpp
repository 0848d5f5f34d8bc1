#include "quillui/sound/play_sound.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "quillui/framework/window/window_system.h"
#include "quillui/sound/block_wave_out.h"
#include "quillui/sound/one_block_wave_buffer.h"
#include "quillui/sound/wave_file.h"
#include "quillui/testing/sound.h"

namespace quill {

namespace {

// Kept sounds: clicks are short and few, so a handful covers a host's whole set.
constexpr size_t kMaxKept = 16;
constexpr uint64_t kMaxKeptBytes = 16ull << 20;

struct KeptSound {
  std::string name;
  int64_t mtimeNs = 0;
  int64_t fileSize = 0;
  uint64_t lastUse = 0;
  std::unique_ptr<ZOneBlockWaveBuffer> buffer;
};

bool SameShape(const ZWaveFormat& a, const ZWaveFormat& b) {
  return a.FormatTag() == b.FormatTag() && a.Channels() == b.Channels() &&
         a.SamplesPerSec() == b.SamplesPerSec() && a.BitsPerSample() == b.BitsPerSample() &&
         a.BlockAlign() == b.BlockAlign();
}

// The device of the one-shot sounds; it keeps the blocks it plays alive until they are done,
// so a kept sound may be dropped while it still sounds.
class SoundPlayer : public ZBlockWaveOutDevice {
 public:
  // The device must let go of the blocks before the members holding them go.
  ~SoundPlayer() override { Close(); }
  void PlayFile(const char* name, unsigned flags);
  void StopSound() {
    Stop();
    Pump();
  }
  size_t Kept() const { return kept_.size(); }
  size_t Held() const { return playing_.size(); }

  LRESULT EvNotifyBlockDone(WPARAM device, LPARAM header) override {
    ZBlockWaveOutDevice::EvNotifyBlockDone(device, header);
    Pump();
    return 0;
  }

 private:
  // Drops the blocks the device is done with.
  void Pump() {
    playing_.erase(std::remove_if(playing_.begin(), playing_.end(),
                                  [this](const ZWaveBlock& b) { return !IsSent(b.Header()); }),
                   playing_.end());
  }
  KeptSound* Find(const char* name);

  std::vector<KeptSound> kept_;
  std::vector<ZWaveBlock> playing_;
  ZWaveFormat format_;
  uint64_t useCounter_ = 0;
};

KeptSound* SoundPlayer::Find(const char* name) {
  struct stat st;
  if (::stat(name, &st) != 0) return nullptr;
  const int64_t mtime = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  for (KeptSound& k : kept_)
    if (k.name == name) {
      if (k.mtimeNs == mtime && k.fileSize == int64_t(st.st_size)) return &k;
      k.buffer.reset();  // the file changed since: read it again
    }
  kept_.erase(
      std::remove_if(kept_.begin(), kept_.end(), [](const KeptSound& k) { return !k.buffer; }),
      kept_.end());

  ZWaveFile file;
  if (!file.open(name, MMIO_READ)) return nullptr;
  auto buffer = std::make_unique<ZOneBlockWaveBuffer>();
  if (!buffer->Load(&file) || !buffer->Block()) return nullptr;
  file.close();

  // Room for the newcomer: the least recently played go first.
  auto total = [this] {
    uint64_t sum = 0;
    for (const KeptSound& k : kept_) sum += uint64_t(k.buffer->DataSize());
    return sum;
  };
  while (!kept_.empty() &&
         (kept_.size() >= kMaxKept || total() + uint64_t(buffer->DataSize()) > kMaxKeptBytes)) {
    auto oldest = std::min_element(
        kept_.begin(), kept_.end(),
        [](const KeptSound& a, const KeptSound& b) { return a.lastUse < b.lastUse; });
    kept_.erase(oldest);
  }
  KeptSound k;
  k.name = name;
  k.mtimeNs = mtime;
  k.fileSize = int64_t(st.st_size);
  k.buffer = std::move(buffer);
  kept_.push_back(std::move(k));
  return &kept_.back();
}

void SoundPlayer::PlayFile(const char* name, unsigned flags) {
  Pump();
  if ((flags & SND_NOSTOP) && !playing_.empty()) return;
  KeptSound* sound = Find(name);
  if (!sound) return;
  sound->lastUse = ++useCounter_;
  const ZOneBlockWaveBuffer& buffer = *sound->buffer;
  if (!GetHandle() || GetState() == State::Closed || !SameShape(format_, buffer.Format())) {
    if (!Open(buffer.Format())) return;
    format_.SetPcm(buffer.Format().Channels(), buffer.Format().SamplesPerSec(),
                   buffer.Format().BitsPerSample());
    format_.SetFormatTag(buffer.Format().FormatTag());
    format_.SetBlockAlign(buffer.Format().BlockAlign());
  } else {
    Stop();
  }
  Pump();
  ZWaveBlock& block = *buffer.Block();
  block.Header()->dwBufferLength = uint32_t(buffer.DataSize());
  // The same click again may still be held from its cut-off play: one hold is enough.
  auto held = std::find_if(playing_.begin(), playing_.end(),
                           [&](const ZWaveBlock& b) { return b.SharesBodyWith(block); });
  if (held == playing_.end()) {
    playing_.push_back(block);
    held = playing_.end() - 1;
  }
  if (!Queue(*held)) {
    Pump();
    return;
  }
  Play();
  if (!(flags & SND_ASYNC) && TWindowSystem::IsInstalled()) {
    // Waiting on the framework's clock: the manual clock of a test just moves on.
    const uint64_t perSec = std::max<uint64_t>(buffer.Format().AvgBytesPerSec(), 1);
    const uint64_t ms = (uint64_t(buffer.DataSize()) * 1000 + perSec - 1) / perSec;
    TWindowSystem::Get().Clock().SleepMs(uint32_t(std::min<uint64_t>(ms, 60000)));
  }
}

SoundPlayer* g_player = nullptr;

void ClosePlayerAtExit() { ResetPlaySound(); }

SoundPlayer& Player() {
  if (!g_player) {
    static bool registered = false;
    if (!registered) {
      // Before static destruction: the device's audio thread must stop while the window
      // system it posts to still exists.
      std::atexit(&ClosePlayerAtExit);
      registered = true;
    }
    g_player = new SoundPlayer();
  }
  return *g_player;
}

}  // namespace

void pyxPlaySound(const char* fileName, unsigned flags) {
  if (!fileName) {
    if (g_player) g_player->StopSound();
    return;
  }
  Player().PlayFile(fileName, flags);
}

bool pyxPlaySoundQueryBusy() { return false; }

void pyxPlaySoundSetNotifyWindow(HWND) {}

void pyxPlaySoundNotify(unsigned, long) {}

const char* PlaySoundBackendName() {
  if (!g_player) return "";
  const char* name = waveOutBackendName(g_player->DeviceHandle());
  return name ? name : "";
}

size_t PlaySoundCachedCount() { return g_player ? g_player->Kept() : 0; }

size_t PlaySoundHeldCount() { return g_player ? g_player->Held() : 0; }

void ResetPlaySound() {
  delete g_player;
  g_player = nullptr;
}

}  // namespace quill
