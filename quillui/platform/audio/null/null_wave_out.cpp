#include "quillui/platform/audio/null/null_wave_out.h"

#include <algorithm>
#include <atomic>

namespace quill::platform {

namespace {

std::atomic<uint64_t> g_serial{0};

struct PlayLogOption {
  std::mutex mutex;
  std::shared_ptr<NullPlayLog> log;
};

PlayLogOption& Option() {
  static PlayLogOption option;
  return option;
}

std::shared_ptr<NullPlayLog> CurrentPlayLog() {
  std::lock_guard lock(Option().mutex);
  return Option().log;
}

}  // namespace

void SetNullWaveOutPlayLog(std::shared_ptr<NullPlayLog> log) {
  std::lock_guard lock(Option().mutex);
  Option().log = std::move(log);
}

NullWaveOut::NullWaveOut(const PcmFormat& format, DoneFn done, std::function<uint64_t()> nowMs)
    : format_(format), done_(std::move(done)), nowMs_(std::move(nowMs)), log_(CurrentPlayLog()) {
  if (!nowMs_) nowMs_ = [] { return uint64_t(0); };
}

uint64_t NullWaveOut::DurationMs(size_t size) const {
  const uint64_t perSec = std::max<uint64_t>(format_.BytesPerSec(), 1);
  const uint64_t whole = size / std::max<uint32_t>(format_.FrameBytes(), 1) * format_.FrameBytes();
  return (whole * 1000 + perSec - 1) / perSec;
}

bool NullWaveOut::Write(const uint8_t* data, size_t size, uint64_t cookie) {
  if (size > 0 && !data) return false;
  const uint64_t now = nowMs_();
  const uint64_t start = std::max(now, busyUntilMs_);
  const uint64_t end = start + DurationMs(size);
  busyUntilMs_ = end;
  const uint64_t serial = ++g_serial;
  if (log_) {
    PlayedBlock b;
    b.serial = serial;
    b.cookie = cookie;
    b.bytes.assign(data, data + size);
    b.format = format_;
    b.startMs = start;
    b.endMs = end;
    std::lock_guard lock(log_->mutex);
    log_->blocks.push_back(std::move(b));
  }
  pending_.push_back({cookie, end, serial});
  return true;
}

void NullWaveOut::Mark(uint64_t serial, bool finished) {
  if (!log_) return;
  std::lock_guard lock(log_->mutex);
  for (auto it = log_->blocks.rbegin(); it != log_->blocks.rend(); ++it) {
    if (it->serial != serial) continue;
    it->finished = finished;
    it->discarded = !finished;
    if (!finished) it->endMs = std::min(it->endMs, std::max(it->startMs, nowMs_()));
    return;
  }
}

void NullWaveOut::Reset() {
  std::deque<Pending> cut;
  cut.swap(pending_);
  busyUntilMs_ = nowMs_();
  for (const Pending& p : cut) Mark(p.serial, false);
  if (done_)
    for (const Pending& p : cut) done_(p.cookie);
}

int64_t NullWaveOut::Poll() {
  const uint64_t now = nowMs_();
  while (!pending_.empty() && pending_.front().endMs <= now) {
    Pending p = pending_.front();
    pending_.pop_front();
    Mark(p.serial, true);
    if (done_) done_(p.cookie);
  }
  if (pending_.empty()) return -1;
  return int64_t(pending_.front().endMs - now);
}

}  // namespace quill::platform
