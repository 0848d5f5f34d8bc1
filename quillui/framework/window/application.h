// TApplication: the message loop. One round takes posted messages and input first, then due
// timers, then paints (erase before paint), then presents the screen; while nothing is
// waiting it gives idle time with a rising count. Once the idle answers ask for more twice in
// a row, each further idle round waits first for input or a timer, at most one frame, so a
// window that always wants idle time neither burns a core nor keeps a manual-clock Run going.
// Modal windows run a nested loop.
#pragma once

#include <functional>

#include "quillui/framework/base/messages.h"
#include "quillui/framework/base/module.h"

namespace quill {

class TWindow;

class TApplication : public TModule {
 public:
  explicit TApplication(const char* name = "Application");
  ~TApplication() override;

  // The application whose loop is running (the most recently made one), or null.
  static TApplication* Current();

  void SetMainWindow(TWindow* window) { mainWindow_ = window; }
  TWindow* GetMainWindow() const { return mainWindow_; }

  // One round of the loop without waiting; answers whether anything was done.
  bool PumpWaitingMessages();
  // Runs until WM_QUIT and answers its exit code. With a manual clock the loop jumps the clock
  // to the next timer instead of waiting, and ends (answering -1) when nothing can ever happen.
  int Run();
  // A nested loop until EndModal(); the window's owner is disabled meanwhile.
  int BeginModal(TWindow* window);
  void EndModal(int result);
  bool InModal() const { return modalDepth_ > 0; }

  // A modal message box owned by the main window (MB_* type bits; answers IDOK, IDYES, ...).
  // Defined with the dialogs (message_box.cpp).
  int MessageBox(HWND owner, const char* text, const char* caption = nullptr, UINT type = 0);

  // Idle time: the main window's IdleAction (unless it left the tree's idle walk), the idle
  // list (SetIdleListHook), then the idle hook. True asks for more.
  virtual bool IdleAction(long idleCount);
  void SetIdleHook(std::function<bool(long)> hook) { idleHook_ = std::move(hook); }
  // The process-wide list of windows that take their idle time from it rather than from the
  // window tree; every application's idle round calls it once. Null removes it.
  static void SetIdleListHook(bool (*hook)(long idleCount));
  // How long an idle round waits for input or a timer once idle time is asked for again and
  // again: one frame.
  static constexpr int kIdleFrameMs = 15;
  // Lets the target window and its ancestors pre-process a queued message; true consumes it.
  virtual bool ProcessAppMsg(MSG& msg);
  // The display went away under the running program (closing_without_display.h): the closing
  // operations that need no display run here, every question gets its default answer, and the
  // process ends when this returns. By default the main window is closed as a close would,
  // except that its CanClose cannot refuse.
  virtual void ClosingWithoutDisplay();

 private:
  struct IdleState {
    long count = 0;     // rises while the queue stays empty
    int moreInRow = 0;  // idle rounds in a row that asked for more
    bool waited = false;
  };
  // After a round that found nothing to do: an idle round, or the wait before it. False when
  // nothing can ever happen again (only with the manual clock).
  bool IdleOrWait(IdleState& idle);
  // Waits for input or a timer, at most maxWaitMs when that is not negative.
  void WaitForWork(bool& ended, int maxWaitMs = -1);

  TWindow* mainWindow_ = nullptr;
  TApplication* previous_ = nullptr;
  std::function<bool(long)> idleHook_;
  int modalDepth_ = 0;
  bool modalEnded_ = false;
  int modalResult_ = 0;
};

// Dispatches a message taken from the queue: pre-processing, then the window's handler.
void ProcessQueuedMessage(MSG& msg);
// One round of the loop for code without an application object (tests, tools).
bool PumpWaitingMessages();

}  // namespace quill
