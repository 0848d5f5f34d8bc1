// Losing the display under a running program: the backend that finds its connection dead reports
// it here, the layers above get one chance to close down without the display, and the process
// ends without tearing anything down over the dead connection.
#pragma once

namespace quill::platform {

// The status a process ends with when its display went away.
inline constexpr int kDisplayLostExitStatus = 1;
// How long the closing without the display may take before the process is ended regardless.
inline constexpr int kClosingWithoutDisplayMs = 2000;

// The closing without the display, set by the layers above: it runs once, on the display's
// thread, after the loss was announced; by then every backend ignores the display. The process
// ends when it returns.
using DisplayLostHandler = void (*)();
// Sets the handler (null: none) and answers the previous one.
DisplayLostHandler SetDisplayLostHandler(DisplayLostHandler handler);

// True once a loss was reported; backends then neither draw, read input nor tear down. Safe
// from any thread.
bool DisplayIsLost();

// Reports that the connection to the display named display (null when unknown) died, from the
// thread that owns the display or another one; never returns. The first report says so in one
// line on standard error. On the display's thread the handler runs, then the process ends with
// kDisplayLostExitStatus at once: no exit handlers, no static destructors, as those would close
// the window over the dead connection. Another thread leaves the closing to the display's thread
// (which meets the dead connection too) and waits for the process to end. A report while the
// handler runs (it touched the display after all) ends the process on the spot.
[[noreturn]] void ReportDisplayLost(const char* display, bool onDisplayThread);

}  // namespace quill::platform
