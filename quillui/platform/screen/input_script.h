// A small text form of a session for replaying it: input, waits on the clock and screenshots,
// so tests, documentation and demos drive a program the way a person would.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "quillui/platform/screen/input_event.h"

namespace quill::platform {

// One step: an input event to deliver, a wait of some milliseconds, or a screenshot to write.
struct ScriptStep {
  enum Kind : uint8_t { kInput, kWait, kShot };
  Kind kind = kInput;
  InputEvent event;
  uint32_t waitMs = 0;
  std::string shot;  // a plain file name ending in ".png"
};

// Commands are separated by ';' or new lines; '#' starts a comment that runs to the line's end.
//   move X Y | click X Y | dblclick X Y | rclick X Y | drag X1 Y1 X2 Y2 | wheel X Y NOTCHES
//   key [Ctrl+][Shift+][Alt+]NAME   NAME: F1-F12, Escape, Tab, Return, Space, Backspace,
//                                   Delete, Left, Right, Up, Down, PageUp, PageDown, Home,
//                                   End, a letter or a digit
//   type TEXT                       the rest of the command as typed characters (printable
//                                   ASCII)
//   wait MS                         0..600000
//   shot NAME.png                   a plain file name
// Coordinates lie in 0..4096. The script is limited to kMaxScriptSteps steps. False, with the
// command's number and what is wrong in `error`, when a command cannot be read; `out` then holds
// the steps before it.
inline constexpr size_t kMaxScriptSteps = 1'000'000;
bool ParseInputScript(std::string_view text, std::vector<ScriptStep>& out, std::string* error);

// The virtual-key code of a key name above, or 0.
uint32_t ScriptKeyCode(std::string_view name);

}  // namespace quill::platform
