// Watching the X connection under SDL's window. Xlib's own answer to a dead connection is to
// call exit(), whose static destructors then close the window over that connection and spin in
// Xlib; while an SDL window is open a dead connection is reported as a lost display instead.
#pragma once

namespace quill::platform {

// Installs the watch, remembering the calling thread as the display's. Process-wide, since SDL
// keeps more than one connection to the server; calls nest.
void WatchX11Connection();
// Puts back what was there before, after the last WatchX11Connection is matched.
void StopWatchingX11Connection();

}  // namespace quill::platform
