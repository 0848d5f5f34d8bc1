// Turns raw input from the display into window messages: mouse input to the capture window,
// else the window under the point; keys to the focus window. Decides double-clicks by time
// and distance on the framework's clock, and asks WM_MOUSEACTIVATE before a click activates.
#pragma once

#include "quillui/platform/screen/input_event.h"

namespace quill {

class TInputRouter {
 public:
  static void Route(const platform::InputEvent& event);
};

}  // namespace quill
