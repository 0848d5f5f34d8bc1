#include "quillui/platform/screen/headless/headless_backend.h"

#include <chrono>

namespace quill::platform {

void HeadlessBackend::Present(const ScreenSurface& surface) {
  ++presentCount_;
  if (surface.PaletteDirty()) {
    lastPresentedPixels_ = long(surface.Width()) * surface.Height();
    return;
  }
  long pixels = 0;
  for (const PixelRect& r : surface.Dirty()) pixels += long(r.w) * r.h;
  lastPresentedPixels_ = pixels;
}

void HeadlessBackend::PollInput(int timeoutMs, std::vector<InputEvent>& out) {
  std::unique_lock lock(mutex_);
  if (pending_.empty() && timeoutMs != 0 && !woken_) {
    // Only reached by a real-time loop; tests pump without waiting.
    auto ready = [this] { return !pending_.empty() || woken_; };
    if (timeoutMs < 0)
      wake_.wait(lock, ready);
    else
      wake_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  }
  woken_ = false;
  while (!pending_.empty()) {
    out.push_back(pending_.front());
    pending_.pop_front();
  }
}

void HeadlessBackend::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  wake_.notify_all();
}

void HeadlessBackend::Inject(const InputEvent& event) {
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(event);
  }
  wake_.notify_all();
}

}  // namespace quill::platform
