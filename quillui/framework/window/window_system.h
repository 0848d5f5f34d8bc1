// The process-wide state of the window framework: the screen and its backend, the clock, the
// handle table, the desktop window, focus, capture, activation, timers and the message queue.
// Tests install a fresh one (headless screen, manual clock) and tear it down after.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <variant>
#include <vector>

#include "quillui/framework/base/messages.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/platform/clock.h"
#include "quillui/platform/screen/input_event.h"
#include "quillui/platform/screen/screen_backend.h"

namespace quill {

class TWindow;
struct TWindowState;

struct TWindowSystemOptions {
  int width = 800;
  int height = 600;
  std::unique_ptr<platform::ScreenBackend> backend;  // null: headless
  std::unique_ptr<platform::Clock> clock;            // null: the real clock
};

class TWindowSystem {
 public:
  // Installs a new window system, replacing (and tearing down) any earlier one.
  static TWindowSystem& Install(TWindowSystemOptions options);
  // The installed one; installs a headless 800 x 600 system with the real clock if none is.
  static TWindowSystem& Get();
  static bool IsInstalled();
  // Tears the installed system down. Windows still alive lose their handles.
  static void Uninstall();

  ~TWindowSystem();

  TScreen& Screen() { return *screen_; }
  platform::ScreenBackend& Backend() { return *backend_; }
  platform::Clock& Clock() { return *clock_; }
  uint64_t NowMs() const { return clock_->NowMs(); }
  TWindow& Desktop() { return *desktop_; }

  // Handle table: handles are never reused, so a dead handle looks up as null.
  HWND Register(TWindow* window);
  void Unregister(HWND hwnd);
  TWindow* Lookup(HWND hwnd) const;
  size_t WindowCount() const { return handles_.size(); }

  // Timers, keyed by window and id.
  struct Timer {
    UINT intervalMs = 0;
    uint64_t dueMs = 0;
    uint64_t sequence = 0;  // creation order breaks ties between timers due together
  };
  void SetTimer(HWND hwnd, UINT id, UINT elapseMs);
  bool KillTimer(HWND hwnd, UINT id);
  void KillTimers(HWND hwnd);
  // The earliest due time, or UINT64_MAX without timers.
  uint64_t NextTimerDue() const;
  // Sends WM_TIMER (through the application's pre-processing) for every due timer, once
  // each, earliest first; answers whether any fired.
  bool FireDueTimers();
  size_t TimerCount() const { return timers_.size(); }

  // The queue of posted messages and raw input, in arrival order.
  using QueueItem = std::variant<MSG, platform::InputEvent>;
  void Post(const MSG& msg);  // any thread
  void PostInput(const platform::InputEvent& event);
  // The oldest posted message, else the oldest input; a message gets the clock's time and the
  // cursor of this moment. User-interface thread only.
  bool TakeQueued(QueueItem& item);
  bool HasQueued();
  size_t QueuedCount();

 private:
  // Focus, capture, activation, the mouse and the keys, and whether the loop should quit: the
  // framework's own bookkeeping, kept out of this header. Everyone else asks through the
  // handle-level calls (GetFocus, SetCapture, GetActiveWindow, GetCursorPos, GetKeyState...).
  friend TWindowState& WindowState(TWindowSystem& ws);
  friend const TWindowState& WindowState(const TWindowSystem& ws);

  TWindowSystem();

  std::unique_ptr<platform::ScreenBackend> backend_;
  std::unique_ptr<platform::Clock> clock_;
  std::unique_ptr<TScreen> screen_;
  std::unique_ptr<TWindowState> state_;
  std::unique_ptr<TWindow> desktop_;
  std::unordered_map<uintptr_t, TWindow*> handles_;
  uintptr_t nextHandle_ = 0x1000;
  std::map<std::pair<HWND, UINT>, Timer> timers_;
  uint64_t timerSequence_ = 0;
  std::mutex queueMutex_;
  std::deque<QueueItem> queue_;
};

}  // namespace quill
