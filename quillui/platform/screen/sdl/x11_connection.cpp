#include "quillui/platform/screen/sdl/x11_connection.h"

#include <atomic>
#include <thread>

#include "quillui/platform/screen/display_loss.h"

// Last: Xlib's macros (None, Bool, Status, ...) would clash with names above.
#include <X11/Xlib.h>

namespace quill::platform {

namespace {

std::atomic<std::thread::id> displayThread;
XIOErrorHandler previous = nullptr;
int watches = 0;

// Never returns: when Xlib's I/O error handler returns, Xlib exits the process itself.
[[noreturn]] int OnConnectionLost(Display* display) {
  ReportDisplayLost(display ? XDisplayString(display) : nullptr,
                    std::this_thread::get_id() == displayThread.load());
}

}  // namespace

void WatchX11Connection() {
  if (watches++ > 0) return;
  displayThread.store(std::this_thread::get_id());
  previous = XSetIOErrorHandler(&OnConnectionLost);
}

void StopWatchingX11Connection() {
  if (watches == 0 || --watches > 0) return;
  XSetIOErrorHandler(previous);
  previous = nullptr;
}

}  // namespace quill::platform
