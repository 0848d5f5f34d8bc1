#include "quillui/framework/window/cursor.h"

#include "quillui/framework/window/window_state_internal.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

TCursorShape SetCursor(TCursorShape shape) {
  TWindowSystem& ws = TWindowSystem::Get();
  TCursorShape previous = WindowState(ws).cursorShape;
  WindowState(ws).cursorShape = shape;
  ws.Backend().SetCursor(shape);
  return previous;
}

TCursorShape GetCursor() { return WindowState(TWindowSystem::Get()).cursorShape; }

}  // namespace quill
