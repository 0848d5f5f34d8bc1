// Test hooks for the imaging statics: each puts its part back as at library start-up, so that
// tests (ours and a host's) leak no state into each other. Not for a running program.
#pragma once

namespace quill {

// No background and no remembered screen size.
void ResetBackground();

// The "AllIn" switch unread again.
void ResetFrameSettings();

}  // namespace quill
