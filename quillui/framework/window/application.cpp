#include "quillui/framework/window/application.h"

#include <vector>

#include "quillui/framework/base/diagnostics.h"
#include "quillui/framework/window/closing_without_display.h"
#include "quillui/framework/window/input_router.h"
#include "quillui/framework/window/paint_pass.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_state_internal.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {

TApplication*& CurrentApp() {
  static TApplication* app = nullptr;
  return app;
}

bool (*&IdleListHook())(long) {
  static bool (*hook)(long) = nullptr;
  return hook;
}

bool PreProcessChain(MSG& msg) {
  for (TWindow* w = GetWindowPtr(msg.hwnd); w; w = w->GetParentO())
    if (w->PreProcessMsg(msg)) return true;
  return false;
}

void Present(TWindowSystem& ws) {
  platform::ScreenSurface& surface = ws.Screen().Surface();
  if (surface.Dirty().empty() && !surface.PaletteDirty()) return;
  ws.Backend().Present(surface);
  surface.ClearDirty();
}

bool PumpRound() {
  TWindowSystem& ws = TWindowSystem::Get();
  bool did = false;
  std::vector<platform::InputEvent> input;
  ws.Backend().PollInput(0, input);
  for (const platform::InputEvent& e : input) ws.PostInput(e);

  // Only what was queued when the round began: a handler that keeps posting to itself must
  // not starve timers and paints.
  TWindowSystem::QueueItem item;
  for (size_t budget = ws.QueuedCount();
       budget > 0 && !WindowState(ws).quitPosted && ws.TakeQueued(item); --budget) {
    did = true;
    if (MSG* msg = std::get_if<MSG>(&item))
      ProcessQueuedMessage(*msg);
    else
      TInputRouter::Route(std::get<platform::InputEvent>(item));
  }
  if (WindowState(ws).quitPosted) return true;
  if (ws.FireDueTimers()) did = true;
  if (TPaintPass::PaintPending()) did = true;
  Present(ws);
  return did;
}

}  // namespace

void ProcessQueuedMessage(MSG& msg) {
  TWindowState& state = WindowState(TWindowSystem::Get());
  state.messageTime = msg.time;
  state.messageX = msg.ptX;
  state.messageY = msg.ptY;
  if (GetWindowPtr(msg.hwnd)) {
    TApplication* app = TApplication::Current();
    if (!(app ? app->ProcessAppMsg(msg) : PreProcessChain(msg)))
      if (TWindow* w = GetWindowPtr(msg.hwnd))
        w->HandleMessage(msg.message, msg.wParam, msg.lParam);
  }
  TWindow::DeleteClosedWindows();
}

uint32_t GetMessagePos() {
  const TWindowState& state = WindowState(TWindowSystem::Get());
  return uint32_t(MAKEPOINTLPARAM(state.messageX, state.messageY));
}

long GetMessageTime() { return long(WindowState(TWindowSystem::Get()).messageTime); }

bool PumpWaitingMessages() { return PumpRound(); }

TApplication::TApplication(const char* name) : TModule(name ? name : "Application") {
  previous_ = CurrentApp();
  CurrentApp() = this;
  CloseWithoutDisplayOnLoss();
}

TApplication::~TApplication() {
  if (CurrentApp() == this) CurrentApp() = previous_;
}

TApplication* TApplication::Current() { return CurrentApp(); }

bool TApplication::PumpWaitingMessages() { return PumpRound(); }

bool TApplication::ProcessAppMsg(MSG& msg) { return PreProcessChain(msg); }

void TApplication::SetIdleListHook(bool (*hook)(long)) { IdleListHook() = hook; }

bool TApplication::IdleAction(long idleCount) {
  bool more = false;
  if (mainWindow_ && mainWindow_->IsWindow() && mainWindow_->TakesTreeIdle())
    more = mainWindow_->IdleAction(idleCount);
  if (bool (*list)(long) = IdleListHook()) more = list(idleCount) || more;
  if (idleHook_) more = idleHook_(idleCount) || more;
  return more;
}

bool TApplication::IdleOrWait(IdleState& idle) {
  bool ended = false;
  if (idle.moreInRow >= 2 && !idle.waited) {
    idle.waited = true;
    WaitForWork(ended, kIdleFrameMs);
    return !ended;
  }
  idle.waited = false;
  if (IdleAction(idle.count++)) {
    ++idle.moreInRow;
    return true;
  }
  idle.moreInRow = 0;
  WaitForWork(ended);
  return !ended;
}

void TApplication::WaitForWork(bool& ended, int maxWaitMs) {
  TWindowSystem& ws = TWindowSystem::Get();
  ended = false;
  // Idle work may have invalidated windows: they are painted before anything is waited for.
  if (ws.HasQueued() || WindowState(ws).quitPosted || TPaintPass::HasPendingPaint()) return;
  uint64_t due = ws.NextTimerDue();
  uint64_t now = ws.NowMs();
  std::vector<platform::InputEvent> input;
  if (auto* manual = dynamic_cast<platform::ManualClock*>(&ws.Clock())) {
    ws.Backend().PollInput(0, input);
    for (const platform::InputEvent& e : input) ws.PostInput(e);
    if (!input.empty()) return;
    // Only a timer can bring anything now (an idle round that asks for more again and again
    // without posting changes nothing): the clock jumps to it, a frame at most at a time.
    if (due != UINT64_MAX) {
      uint64_t until = maxWaitMs < 0 ? due : std::min(due, now + uint64_t(maxWaitMs));
      manual->Set(std::max(until, now));
      return;
    }
    ReportDiagnostic("The message loop has nothing left to wait for.", "Message loop", __FILE__,
                     __LINE__);
    ended = true;
    return;
  }
  int timeout = maxWaitMs;
  if (due != UINT64_MAX) {
    int untilDue = due <= now ? 0 : int(std::min<uint64_t>(due - now, 1u << 30));
    timeout = timeout < 0 ? untilDue : std::min(timeout, untilDue);
  }
  ws.Backend().PollInput(timeout, input);
  for (const platform::InputEvent& e : input) ws.PostInput(e);
}

int TApplication::Run() {
  TWindowSystem& ws = TWindowSystem::Get();
  IdleState idle;
  for (;;) {
    if (WindowState(ws).quitPosted) {
      WindowState(ws).quitPosted = false;
      return WindowState(ws).quitCode;
    }
    if (PumpWaitingMessages()) {
      idle = IdleState();
      continue;
    }
    if (!IdleOrWait(idle)) return -1;
  }
}

int TApplication::BeginModal(TWindow* window) {
  TWindowSystem& ws = TWindowSystem::Get();
  TWindow* owner = window ? window->GetParentO() : nullptr;
  while (owner && !owner->IsTopLevel()) owner = owner->GetParentO();
  bool reenable = owner && owner->IsWindow() && owner->IsWindowEnabled();
  if (reenable) owner->EnableWindow(false);

  bool savedEnded = modalEnded_;
  int savedResult = modalResult_;
  modalEnded_ = false;
  modalResult_ = 0;
  ++modalDepth_;
  IdleState idle;
  while (!modalEnded_ && !WindowState(ws).quitPosted) {
    if (PumpWaitingMessages()) {
      idle = IdleState();
      continue;
    }
    if (modalEnded_) break;
    if (!IdleOrWait(idle)) {
      modalResult_ = -1;
      break;
    }
  }
  int result = modalResult_;
  --modalDepth_;
  modalEnded_ = savedEnded;
  modalResult_ = savedResult;
  if (reenable && owner->IsWindow()) owner->EnableWindow(true);
  return result;
}

void TApplication::EndModal(int result) {
  modalEnded_ = true;
  modalResult_ = result;
}

}  // namespace quill
