// A small text form of input for replaying a session headless: commands separated by ';' --
// "move X Y", "click X Y", "dblclick X Y", "rclick X Y", "key NAME" (F1-F12, Escape, Tab,
// Return, Space, a letter or a digit).
#pragma once

#include <string>
#include <vector>

#include "quillui/platform/screen/input_event.h"

namespace quill::demo {

bool ParseInputScript(const std::string& text, std::vector<platform::InputEvent>& out,
                      std::string* error);

}  // namespace quill::demo
