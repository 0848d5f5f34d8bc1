#include "quillui/profile/hour_glass.h"

namespace quill {

ZHourGlass::ZHourGlass() : previous_(SetCursor(TCursorShape::Wait)) {}

ZHourGlass::~ZHourGlass() { SetCursor(previous_); }

}  // namespace quill
