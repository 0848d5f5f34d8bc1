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
  if (!GetWindowPtr(msg.hwnd)) return;
  TApplication* app = TApplication::Current();
  if (app ? app->ProcessAppMsg(msg) : PreProcessChain(msg)) return;
  if (TWindow* w = GetWindowPtr(msg.hwnd)) w->HandleMessage(msg.message, msg.wParam, msg.lParam);
}

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

bool TApplication::IdleAction(long idleCount) {
  bool more = false;
  if (mainWindow_ && mainWindow_->IsWindow()) more = mainWindow_->IdleAction(idleCount);
  if (idleHook_) more = idleHook_(idleCount) || more;
  return more;
}

bool TApplication::WaitForWork(bool& ended) {
  TWindowSystem& ws = TWindowSystem::Get();
  ended = false;
  if (ws.HasQueued() || WindowState(ws).quitPosted) return true;
  uint64_t due = ws.NextTimerDue();
  std::vector<platform::InputEvent> input;
  if (auto* manual = dynamic_cast<platform::ManualClock*>(&ws.Clock())) {
    ws.Backend().PollInput(0, input);
    for (const platform::InputEvent& e : input) ws.PostInput(e);
    if (!input.empty()) return true;
    if (due != UINT64_MAX) {
      manual->Set(due);
      return true;
    }
    ReportDiagnostic("The message loop has nothing left to wait for.", "Message loop", __FILE__,
                     __LINE__);
    ended = true;
    return false;
  }
  uint64_t now = ws.NowMs();
  int timeout = -1;
  if (due != UINT64_MAX) timeout = due <= now ? 0 : int(std::min<uint64_t>(due - now, 1u << 30));
  ws.Backend().PollInput(timeout, input);
  for (const platform::InputEvent& e : input) ws.PostInput(e);
  return true;
}

int TApplication::Run() {
  TWindowSystem& ws = TWindowSystem::Get();
  long idleCount = 0;
  for (;;) {
    if (WindowState(ws).quitPosted) {
      WindowState(ws).quitPosted = false;
      return WindowState(ws).quitCode;
    }
    if (PumpWaitingMessages()) {
      idleCount = 0;
      continue;
    }
    if (IdleAction(idleCount++)) continue;
    bool ended = false;
    WaitForWork(ended);
    if (ended) return -1;
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
  long idleCount = 0;
  while (!modalEnded_ && !WindowState(ws).quitPosted) {
    if (PumpWaitingMessages()) {
      idleCount = 0;
      continue;
    }
    if (modalEnded_) break;
    if (IdleAction(idleCount++)) continue;
    bool ended = false;
    WaitForWork(ended);
    if (ended) {
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
