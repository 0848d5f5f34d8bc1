// Test hooks for the settings service's process-wide state.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

namespace quill {

// The default path and directories again, nothing read, no entry iteration.
void ResetProfile();

// No entries, no databases, the identity rewrite.
void ResetHostLookups();

// Forget every icon read.
void ResetIcons();

// An empty holder-id table (ZHolderIds).
void ResetHolderIds();

}  // namespace quill
