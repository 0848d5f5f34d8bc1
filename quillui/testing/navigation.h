// Test hooks for the bookmark lists, the history and backtrack grouping.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

namespace quill {

// No group open, nothing gathered or captured.
void ResetBacktrackGrouping();

// Empty lists, no windows, settings read again on next use.
void ResetBookmarkLists();

// Everything navigation keeps, as at library start-up: empty lists, no group, no routes,
// settings read again, no beep hook.
void ResetNavigation();

}  // namespace quill
