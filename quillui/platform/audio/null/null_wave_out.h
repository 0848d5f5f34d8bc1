// The null wave-out backend: plays in virtual time on a given millisecond clock, so tests that
// advance a manual clock see blocks finish, and records every block it was given.
#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include <functional>
#include <memory>

#include "quillui/platform/audio/wave_out.h"

namespace quill::platform {

struct PlayedBlock {
  uint64_t serial = 0;  // order of writing, over all null devices
  uint64_t cookie = 0;
  std::vector<uint8_t> bytes;  // copied when written
  PcmFormat format;
  uint64_t startMs = 0;  // when it starts sounding
  uint64_t endMs = 0;
  bool finished = false;   // played to the end
  bool discarded = false;  // cut off by Reset
};

struct NullPlayLog {
  std::mutex mutex;
  std::vector<PlayedBlock> blocks;

  std::vector<PlayedBlock> Snapshot() {
    std::lock_guard lock(mutex);
    return blocks;
  }
  void Clear() {
    std::lock_guard lock(mutex);
    blocks.clear();
  }
};

// The null backend's option: null devices opened from now on record what they play in log
// (null: nowhere). Process-wide; tests set it to see what was played.
void SetNullWaveOutPlayLog(std::shared_ptr<NullPlayLog> log);

class NullWaveOut final : public WaveOut {
 public:
  // Records into the play log set with SetNullWaveOutPlayLog when it is made, if any.
  NullWaveOut(const PcmFormat& format, DoneFn done, std::function<uint64_t()> nowMs);
  const char* Name() const override { return "null"; }
  bool Write(const uint8_t* data, size_t size, uint64_t cookie) override;
  void Reset() override;
  int64_t Poll() override;

  // How long size bytes sound in this format, rounded up to whole milliseconds.
  uint64_t DurationMs(size_t size) const;

 private:
  struct Pending {
    uint64_t cookie;
    uint64_t endMs;
    uint64_t serial;
  };
  void Mark(uint64_t serial, bool finished);

  PcmFormat format_;
  DoneFn done_;
  std::function<uint64_t()> nowMs_;
  std::shared_ptr<NullPlayLog> log_;
  std::deque<Pending> pending_;
  uint64_t busyUntilMs_ = 0;
};

}  // namespace quill::platform
