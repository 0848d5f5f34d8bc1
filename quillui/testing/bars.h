// Test hooks for the control bars' statics: the animation interval read once.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

namespace quill {

// [view] "buttoninterval" unread.
void ResetControlBarStatics();

}  // namespace quill
