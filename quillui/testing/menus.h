// Test hooks for the menus' process-wide state.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

namespace quill {

// Forgets the menu colours read from the settings file: the next reader reads them again.
void ResetMenuColors();

// Forgets the fly menus' settings and takes their NotifyIniChanged hook off: the next menu
// reads the settings again.
void ResetFlyMenuSettings();

// Forgets the menu that last took the mouse.
void ResetFlyMenuChains();

}  // namespace quill
