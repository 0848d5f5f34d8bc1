// The headless display: nothing is shown, presents are counted, and input comes from a queue
// that tests (or a scripted session) fill. Used by unit tests and whenever there is no display.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

#include "quillui/platform/screen/screen_backend.h"

namespace quill::platform {

class HeadlessBackend final : public ScreenBackend {
 public:
  const char* Name() const override { return "headless"; }
  void Present(const ScreenSurface& surface) override;
  void PollInput(int timeoutMs, std::vector<InputEvent>& out) override;
  void Wake() override;
  void SetCursor(CursorShape shape) override { cursor_ = shape; }

  // Queues raw input as if a person had produced it.
  void Inject(const InputEvent& event);

  int PresentCount() const { return presentCount_; }
  // Area uploaded by the last present, in pixels (the whole screen after a palette change).
  long LastPresentedPixels() const { return lastPresentedPixels_; }
  CursorShape Cursor() const { return cursor_; }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<InputEvent> pending_;
  bool woken_ = false;
  int presentCount_ = 0;
  long lastPresentedPixels_ = 0;
  CursorShape cursor_ = CursorShape::Arrow;
};

}  // namespace quill::platform
