#include "quillui/platform/screen/display_loss.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace quill::platform {

namespace {

std::atomic<DisplayLostHandler> handler{nullptr};
std::atomic<bool> lost{false};
std::atomic<bool> announcing{false};
std::atomic<bool> announced{false};
std::atomic<bool> closing{false};

[[noreturn]] void End() { _exit(kDisplayLostExitStatus); }

// Straight to the descriptor: the thread that met the dead connection may have been stopped
// inside anything, stdio's locks included.
void Announce(const char* display) {
  char line[512];
  int n =
      display && *display
          ? std::snprintf(line, sizeof line, "%s: lost the connection to the display %s; exiting\n",
                          program_invocation_short_name, display)
          : std::snprintf(line, sizeof line, "%s: lost the connection to the display; exiting\n",
                          program_invocation_short_name);
  if (n <= 0) return;
  size_t left = std::min(size_t(n), sizeof line - 1);
  const char* p = line;
  while (left > 0) {
    ssize_t written = write(STDERR_FILENO, p, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    p += written;
    left -= size_t(written);
  }
}

// The closing gets its chance, not a veto: a handler stuck in a wait that needs the display
// (or anything else) must not keep the process alive.
void StartDeadline() {
  try {
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(kClosingWithoutDisplayMs));
      End();
    }).detach();
  } catch (...) {
    // Without a thread the closing runs unguarded; it is still better than none.
  }
}

}  // namespace

DisplayLostHandler SetDisplayLostHandler(DisplayLostHandler h) { return handler.exchange(h); }

bool DisplayIsLost() { return lost.load(); }

void ReportDisplayLost(const char* display, bool onDisplayThread) {
  lost.store(true);
  if (!announcing.exchange(true)) {
    StartDeadline();  // first: a write to a stuck standard error must not hold the process either
    Announce(display);
    announced.store(true);
  }
  if (!onDisplayThread) {
    for (;;) pause();
  }
  if (closing.exchange(true)) End();
  // The line comes before anything the closing says, whichever thread is writing it.
  while (!announced.load()) std::this_thread::yield();
  if (DisplayLostHandler h = handler.load()) h();
  std::fflush(nullptr);
  End();
}

}  // namespace quill::platform
