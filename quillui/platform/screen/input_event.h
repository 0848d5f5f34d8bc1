// Raw input as a display backend delivers it, in screen pixels, before the framework routes
// it to a window.
#pragma once

#include <cstdint>

namespace quill::platform {

enum class InputKind : uint8_t {
  MouseMove,
  ButtonDown,
  ButtonUp,
  Wheel,
  KeyDown,
  KeyUp,
  Char,
  FocusLost,  // the display window lost the input focus (capture must be released)
  Close,      // the user asked to close the display window
  Expose,     // the display needs the whole screen presented again
};

enum class MouseButton : uint8_t { None, Left, Right, Middle };

// Modifier keys held, as bits.
inline constexpr uint32_t kModShift = 1;
inline constexpr uint32_t kModCtrl = 2;
inline constexpr uint32_t kModAlt = 4;

struct InputEvent {
  InputKind kind = InputKind::MouseMove;
  int x = 0;  // screen position for mouse events
  int y = 0;
  MouseButton button = MouseButton::None;  // button events
  int wheelDelta = 0;                      // multiples of 120 per notch
  uint32_t virtualKey = 0;                 // key events: classic virtual-key code
  uint32_t character = 0;                  // Char: the character, in the single-byte code page
  uint32_t modifiers = 0;                  // kMod* bits
  bool repeat = false;                     // key auto-repeat
};

// The control character a key types as it goes down (Backspace, Tab, Return, Escape), as the
// classic keyboard translation follows their key-down with a character; 0 for other keys.
constexpr uint32_t ControlCharacterOf(uint32_t virtualKey) {
  return virtualKey == 0x08 || virtualKey == 0x09 || virtualKey == 0x0D || virtualKey == 0x1B
             ? virtualKey
             : 0;
}

}  // namespace quill::platform
