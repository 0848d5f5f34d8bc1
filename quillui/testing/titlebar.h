// Test hooks for the title bars' process-wide state.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak no
// state into each other. Not for a running program.
#pragma once

namespace quill {

// Forgets the title bars' settings: the next reader reads them again.
void ResetTitleBarSettings();

// Forgets the active and the previously active title bar.
void ResetTitleBarStatics();

}  // namespace quill
