// The mouse cursor's shape: arrow by default, a hand over links and buttons, the wait cursor
// while a long operation runs. Windows set it when asked with WM_SETCURSOR.
#pragma once

#include "quillui/platform/screen/screen_backend.h"

namespace quill {

using TCursorShape = platform::CursorShape;

// Shows shape now and answers the shape shown before.
TCursorShape SetCursor(TCursorShape shape);
TCursorShape GetCursor();

}  // namespace quill
