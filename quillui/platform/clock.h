// The millisecond clock behind timers, double-click timing and animations: a real monotonic
// clock for applications and a manual one that tests advance by hand.
#pragma once

#include <cstdint>

namespace quill::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; never goes backwards.
  virtual uint64_t NowMs() const = 0;
  // Blocks the calling thread for ms milliseconds of this clock's time. The manual clock
  // advances itself instead, so code that waits (menu animations) stays deterministic.
  virtual void SleepMs(uint32_t ms) = 0;
  virtual bool IsManual() const { return false; }
};

class SteadyClock final : public Clock {
 public:
  SteadyClock();
  uint64_t NowMs() const override;
  void SleepMs(uint32_t ms) override;

 private:
  uint64_t startNs_;
};

class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint64_t startMs = 1000) : nowMs_(startMs) {}
  uint64_t NowMs() const override { return nowMs_; }
  void SleepMs(uint32_t ms) override { nowMs_ += ms; }
  bool IsManual() const override { return true; }

  void Advance(uint64_t ms) { nowMs_ += ms; }
  void Set(uint64_t ms) {
    if (ms > nowMs_) nowMs_ = ms;
  }

 private:
  uint64_t nowMs_;
};

}  // namespace quill::platform
