// Test hook for the tableau's process-wide state. Not for a running program.
#pragma once

namespace quill {

// The next tableau's first size change is again the first of the process (it runs without the
// update lock).
void ResetTableauFirstSize();

}  // namespace quill
