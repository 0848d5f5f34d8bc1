#include "quillui/platform/clock.h"

#include <chrono>
#include <thread>

namespace quill::platform {

namespace {
uint64_t SteadyNowNs() {
  return uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count());
}
}  // namespace

SteadyClock::SteadyClock() : startNs_(SteadyNowNs()) {}

uint64_t SteadyClock::NowMs() const { return (SteadyNowNs() - startNs_) / 1000000u; }

void SteadyClock::SleepMs(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace quill::platform
