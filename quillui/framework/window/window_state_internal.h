// The window system's input and activation state: focus, capture, the active and the locked
// window, the last button press (for double clicks), the cursor, the keys, and the quit
// request. For the framework's own use; it is not installed.
#pragma once

#include <cstdint>
#include <vector>

#include "quillui/framework/base/messages.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/screen/input_event.h"
#include "quillui/platform/screen/screen_backend.h"

namespace quill {

class TWindow;

struct TWindowState {
  HWND focus = nullptr;
  HWND capture = nullptr;
  HWND active = nullptr;
  HWND locked = nullptr;
  platform::MouseButton lastDownButton = platform::MouseButton::None;
  HWND lastDownWindow = nullptr;
  uint64_t lastDownTime = 0;
  int lastDownX = 0;
  int lastDownY = 0;
  int cursorX = 0;
  int cursorY = 0;
  uint8_t keyState[256] = {};
  UINT doubleClickTimeMs = kDefaultDoubleClickTimeMs;
  platform::CursorShape cursorShape = platform::CursorShape::Arrow;

  // Where the cursor was and what the clock said when the last message was taken.
  uint64_t messageTime = 0;
  int messageX = 0;
  int messageY = 0;

  // Objects that asked to be deleted once their windows closed, waiting for the loop.
  std::vector<TWindow*> closedWindows;

  bool quitPosted = false;
  int quitCode = 0;
};

inline TWindowState& WindowState(TWindowSystem& ws) { return *ws.state_; }
inline const TWindowState& WindowState(const TWindowSystem& ws) { return *ws.state_; }

}  // namespace quill
