// What a display backend does for the framework: present the indexed surface, deliver raw
// input, wait for input or a deadline, and show a cursor shape.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "quillui/platform/screen/input_event.h"
#include "quillui/platform/screen/screen_surface.h"

namespace quill::platform {

enum class CursorShape : uint8_t { Arrow, Hand, Wait, IBeam, SizeAll };

class ScreenBackend {
 public:
  virtual ~ScreenBackend() = default;

  virtual const char* Name() const = 0;
  // Shows what changed on the surface since the last present (surface.Dirty(), or everything
  // when the palette changed). The surface's dirty list is cleared by the caller afterwards.
  virtual void Present(const ScreenSurface& surface) = 0;
  // Appends pending input to out; waits up to timeoutMs for some when none is pending
  // (0 = do not wait, negative = wait until input or Wake()).
  virtual void PollInput(int timeoutMs, std::vector<InputEvent>& out) = 0;
  // Ends a wait in PollInput early. Safe from any thread.
  virtual void Wake() = 0;
  virtual void SetCursor(CursorShape shape) { (void)shape; }
};

}  // namespace quill::platform
