// Test hooks for the menus' process-wide state.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

namespace quill {

// Forgets the menu colours read from the settings file: the next reader reads them again.
void ResetMenuColors();

}  // namespace quill
