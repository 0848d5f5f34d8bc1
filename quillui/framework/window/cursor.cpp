#include "quillui/framework/window/cursor.h"

#include "quillui/framework/window/window_system.h"

namespace quill {

TCursorShape SetCursor(TCursorShape shape) {
  TWindowSystem& ws = TWindowSystem::Get();
  TCursorShape previous = ws.cursorShape;
  ws.cursorShape = shape;
  ws.Backend().SetCursor(shape);
  return previous;
}

TCursorShape GetCursor() { return TWindowSystem::Get().cursorShape; }

}  // namespace quill
