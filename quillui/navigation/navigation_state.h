// One reset for everything navigation keeps process-wide, so tests start from library
// start-up: empty lists, no group, no routes, settings read again, no beep hook.
#pragma once

namespace quill {

void ResetNavigation();

}  // namespace quill
