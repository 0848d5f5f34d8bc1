// The default beep of a command that has nothing to do (Back with an empty backtrack stack).
// There is no system bell here, so the beep is whatever the host installs; tests count it.
#pragma once

#include <functional>

namespace quill {

using ZBeepHook = std::function<void()>;

// Sounds the default beep through the installed hook; silent without one.
void DefaultBeep();
// Installs the hook (an empty one silences the beep) and answers the previous one.
ZBeepHook SetDefaultBeepHook(ZBeepHook hook);

}  // namespace quill
