// Test hooks for the buttons' statics: the settings they read once, the sound switch and its
// settings-change hook. Each puts its part back as at library start-up, so that tests (ours
// and a host's) leak no state into each other. Not for a running program.
#pragma once

namespace quill {

// Every button setting unread, the sound switch dirty and off, the settings-change hook
// dropped (the next button registers it again).
void ResetButtonStatics();

}  // namespace quill
