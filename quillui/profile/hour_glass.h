// The wait cursor for the lifetime of an object: a long operation declares one on the stack.
// Nested hour glasses restore, each in turn, the shape that was shown before them.
#pragma once

#include "quillui/framework/window/cursor.h"

namespace quill {

class ZHourGlass {
 public:
  ZHourGlass();
  ~ZHourGlass();
  ZHourGlass(const ZHourGlass&) = delete;
  ZHourGlass& operator=(const ZHourGlass&) = delete;

 private:
  TCursorShape previous_;
};

}  // namespace quill
