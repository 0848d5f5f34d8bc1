#include "quillui/navigation/beep.h"

#include <utility>

namespace quill {

namespace {

ZBeepHook& Hook() {
  static ZBeepHook hook;
  return hook;
}

}  // namespace

void DefaultBeep() {
  if (Hook()) Hook()();
}

ZBeepHook SetDefaultBeepHook(ZBeepHook hook) { return std::exchange(Hook(), std::move(hook)); }

}  // namespace quill
