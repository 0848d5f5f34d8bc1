#include "framework/cursor.h"

#include "framework/window_system.h"

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
