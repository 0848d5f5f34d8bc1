#include "quillui/framework/window/window_system.h"

#include <algorithm>

#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_state_internal.h"
#include "quillui/platform/screen/screen_backends.h"

namespace quill {

namespace {

std::unique_ptr<TWindowSystem>& Installed() {
  static std::unique_ptr<TWindowSystem> system;
  return system;
}

// The window behind every top-level window: the whole screen, painted in the desktop colour.
class TDesktopWindow final : public TWindow {
 public:
  TDesktopWindow() : TWindow(nullptr, "Desktop") {
    Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    SetBkgndColor(TColor::Black);
  }
};

constexpr UINT kMinimumTimerMs = 10;

// Drawing that has no screen of its own draws on (and matches colours against) the installed
// system's screen, installing one if need be, as every window does. Named when the library
// is loaded, before anything can draw.
TScreen& WindowSystemScreen() { return TWindowSystem::Get().Screen(); }
[[maybe_unused]] const bool kScreenSourceSet = (SetScreenSource(&WindowSystemScreen), true);

}  // namespace

TWindowSystem& TWindowSystem::Install(TWindowSystemOptions options) {
  Uninstall();
  std::unique_ptr<TWindowSystem> system(new TWindowSystem());
  if (options.backend) {
    system->backend_ = std::move(options.backend);
  } else {
    platform::BackendRequest request;
    request.screen = "headless";
    system->backend_ = platform::OpenScreenBackend(request).backend;
  }
  system->clock_ =
      options.clock ? std::move(options.clock) : std::make_unique<platform::SteadyClock>();
  system->screen_ = std::make_unique<TScreen>(options.width, options.height);
  Installed() = std::move(system);
  TWindowSystem& ws = *Installed();
  ws.desktop_ = std::make_unique<TDesktopWindow>();
  ws.desktop_->Attr.W = ws.screen_->Width();
  ws.desktop_->Attr.H = ws.screen_->Height();
  ws.desktop_->Create();
  return ws;
}

TWindowSystem& TWindowSystem::Get() {
  if (!Installed()) Install({});
  return *Installed();
}

bool TWindowSystem::IsInstalled() { return Installed() != nullptr; }

void TWindowSystem::Uninstall() {
  if (!Installed()) return;
  // Destroy what is still on the screen while the system is whole, then drop the rest.
  TWindowSystem& ws = *Installed();
  if (ws.desktop_) {
    std::vector<TWindow*> tops = ws.desktop_->zOrder_;
    for (TWindow* w : tops)
      if (w->IsWindow()) w->Destroy();
    ws.desktop_->Destroy();
  }
  // Objects that asked to go with their windows go now, while the system still knows them.
  TWindow::DeleteClosedWindows();
  ws.desktop_.reset();
  Installed().reset();
}

TWindowSystem::TWindowSystem() : state_(std::make_unique<TWindowState>()) {}

TWindowSystem::~TWindowSystem() = default;

HWND TWindowSystem::Register(TWindow* window) {
  nextHandle_ += 4;
  handles_[nextHandle_] = window;
  return reinterpret_cast<HWND>(nextHandle_);
}

void TWindowSystem::Unregister(HWND hwnd) { handles_.erase(reinterpret_cast<uintptr_t>(hwnd)); }

TWindow* TWindowSystem::Lookup(HWND hwnd) const {
  if (!hwnd) return nullptr;
  auto it = handles_.find(reinterpret_cast<uintptr_t>(hwnd));
  return it == handles_.end() ? nullptr : it->second;
}

void TWindowSystem::SetTimer(HWND hwnd, UINT id, UINT elapseMs) {
  UINT interval = std::max(elapseMs, kMinimumTimerMs);
  Timer& t = timers_[{hwnd, id}];
  t.intervalMs = interval;
  t.dueMs = NowMs() + interval;
  t.sequence = ++timerSequence_;
}

bool TWindowSystem::KillTimer(HWND hwnd, UINT id) { return timers_.erase({hwnd, id}) > 0; }

void TWindowSystem::KillTimers(HWND hwnd) {
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->first.first == hwnd)
      it = timers_.erase(it);
    else
      ++it;
  }
}

uint64_t TWindowSystem::NextTimerDue() const {
  uint64_t next = UINT64_MAX;
  for (const auto& [key, t] : timers_) next = std::min(next, t.dueMs);
  return next;
}

bool TWindowSystem::FireDueTimers() {
  uint64_t now = NowMs();
  struct Due {
    uint64_t dueMs;
    uint64_t sequence;
    HWND hwnd;
    UINT id;
  };
  std::vector<Due> due;
  for (const auto& [key, t] : timers_)
    if (t.dueMs <= now) due.push_back({t.dueMs, t.sequence, key.first, key.second});
  if (due.empty()) return false;
  std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
    return a.dueMs != b.dueMs ? a.dueMs < b.dueMs : a.sequence < b.sequence;
  });
  for (const Due& d : due) {
    // A handler may have killed or reset a later timer meanwhile.
    auto it = timers_.find({d.hwnd, d.id});
    if (it == timers_.end() || it->second.dueMs > now || it->second.sequence != d.sequence)
      continue;
    // Missed intervals do not pile up: one message, and the next one an interval from now.
    it->second.dueMs = now + it->second.intervalMs;
    MSG msg;
    msg.hwnd = d.hwnd;
    msg.message = WM_TIMER;
    msg.wParam = d.id;
    msg.time = now;
    msg.ptX = WindowState(*this).cursorX;
    msg.ptY = WindowState(*this).cursorY;
    ProcessQueuedMessage(msg);
  }
  return true;
}

void TWindowSystem::Post(const MSG& msg) {
  {
    std::lock_guard lock(queueMutex_);
    queue_.push_back(msg);
  }
  backend_->Wake();
}

void TWindowSystem::PostInput(const platform::InputEvent& event) {
  std::lock_guard lock(queueMutex_);
  queue_.push_back(event);
}

bool TWindowSystem::TakeQueued(QueueItem& item) {
  std::lock_guard lock(queueMutex_);
  if (queue_.empty()) return false;
  // Posted messages come before input, whenever either was queued: a handler that re-posts a
  // click (a menu passing a click outside on) has it handled before the input that followed
  // the click, as the press and release of a double click.
  auto next = std::find_if(queue_.begin(), queue_.end(),
                           [](const QueueItem& q) { return std::holds_alternative<MSG>(q); });
  if (next == queue_.end()) next = queue_.begin();
  item = *next;
  queue_.erase(next);
  // A posted message carries the time and the cursor of the moment it is taken.
  if (MSG* msg = std::get_if<MSG>(&item)) {
    msg->time = NowMs();
    msg->ptX = state_->cursorX;
    msg->ptY = state_->cursorY;
  }
  return true;
}

size_t TWindowSystem::QueuedCount() {
  std::lock_guard lock(queueMutex_);
  return queue_.size();
}

bool TWindowSystem::HasQueued() {
  std::lock_guard lock(queueMutex_);
  return !queue_.empty();
}

}  // namespace quill
