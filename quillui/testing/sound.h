// Test hooks for the sound player and the wave-out settings.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

namespace quill {

// Closes the device and forgets every kept sound.
void ResetPlaySound();

// Forgets the settings above and that the missing device was reported.
void ResetWaveOutSettings();

}  // namespace quill
