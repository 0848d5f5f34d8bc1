// Test hooks for the presentation settings, the registry and the notification lists.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

namespace quill {

// Forget every cached answer.
void ResetAppInfo();

// GetAppMemoryLevel answers level until the next ResetAppInfo (the low-memory paths).
void SetAppMemoryLevel(int level);
// No art directory named by the host.
void ResetArtDir();

// Forget the palette and the mode as if never asked.
void ResetAppPalette();

// Forget the frame and the open fly menu.
void ResetAppRegistry();

// Forget the remembered names.
void ResetFileNames();

// Drop every hook.
void ResetIniChangedHooks();

// Empty all four lists.
void ResetNotifyLists();

// Forgets every table, flag and text of the presentation settings, the palette's
// included, as if the library had just been loaded.
void ResetPresentation();

// Free every slot.
void ResetThreadTable();

}  // namespace quill
