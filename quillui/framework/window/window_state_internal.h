// The window system's input and activation state: focus, capture, the active and the locked
// window, the last button press (for double clicks), the cursor, the keys, and the quit
// request. For the framework's own use; it is not installed.
#pragma once

#include <cstdint>

#include "quillui/framework/base/messages.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/screen/input_event.h"
#include "quillui/platform/screen/screen_backend.h"

namespace quill {

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

  bool quitPosted = false;
  int quitCode = 0;
};

inline TWindowState& WindowState(TWindowSystem& ws) { return *ws.state_; }
inline const TWindowState& WindowState(const TWindowSystem& ws) { return *ws.state_; }

}  // namespace quill
