// The four library-wide notification lists: close (may the application close?), idle,
// and before and after an update. Windows register themselves and unregister before they
// are destroyed.
#pragma once

#include "quillui/app/notify_list.h"

namespace quill {

class TWindow;

// add non-zero registers the window (data 0, the list's message); add 0 removes its first
// registration with data 0.
void RegisterCloseList(TWindow* window, int add);
// A window on the idle list takes its idle time from the list, which every application's
// loop calls once per idle round, and no longer from the window tree.
void RegisterIdle(TWindow* window, int add);
void RegisterPreUpdateList(TWindow* window, int add);
void RegisterPostUpdateList(TWindow* window, int add);

// Asks each window in order (WmuCanClose, wParam 0, lParam its data) and ANDs the replies
// into 1; answers 0 as soon as the answer is 0, without asking the rest.
int NotifyCloseList();
// Calls IdleAction(idleCount) of every window, none skipped, and answers the OR.
bool NotifyIdleList(long idleCount);
// Send WmuPreUpdate / WmuPostUpdate to each window in order, replies ignored.
void NotifyPreUpdateList();
void NotifyPostUpdateList();

// The lists themselves, for inspection.
const ZNotifyList& CloseList();
const ZNotifyList& IdleList();
const ZNotifyList& PreUpdateList();
const ZNotifyList& PostUpdateList();

}  // namespace quill
