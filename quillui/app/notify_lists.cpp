#include "quillui/app/notify_lists.h"

#include <memory>

#include "quillui/app/user_messages.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"

namespace quill {

namespace {

struct Lists {
  ZNotifyList close{int(WmuCanClose)};
  ZNotifyList idle{0};  // nothing is sent: IdleAction is called directly
  ZNotifyList preUpdate{int(WmuPreUpdate)};
  ZNotifyList postUpdate{int(WmuPostUpdate)};
};

// Built on first use, so no other static's initialisation order matters.
std::unique_ptr<Lists>& Holder() {
  static std::unique_ptr<Lists> lists;
  return lists;
}

Lists& L() {
  auto& h = Holder();
  if (!h) h = std::make_unique<Lists>();
  return *h;
}

void Change(ZNotifyList& list, TWindow* window, int add) {
  if (add) {
    list.Register(window, 0, -1);
  } else {
    list.Unregister(window, 0);
  }
}

void SendEach(const ZNotifyList& list) {
  list.ForEach([](const NOTIFY& n) {
    n.window->SendMessage(n.message, 0, LPARAM(n.data));
    return true;
  });
}

}  // namespace

void RegisterCloseList(TWindow* window, int add) { Change(L().close, window, add); }
void RegisterIdle(TWindow* window, int add) {
  ZNotifyList& idle = L().idle;
  Change(idle, window, add);
  if (!window) return;
  // A registered window gets its idle time from this list alone, once a round: it leaves the
  // window tree's idle walk while any registration of it remains, and the list is the
  // application's idle list.
  bool registered = false;
  for (size_t i = 0; i < idle.Count() && !registered; ++i) registered = idle[i].window == window;
  window->EnableTreeIdle(!registered);
  if (registered) TApplication::SetIdleListHook(&NotifyIdleList);
}
void RegisterPreUpdateList(TWindow* window, int add) { Change(L().preUpdate, window, add); }
void RegisterPostUpdateList(TWindow* window, int add) { Change(L().postUpdate, window, add); }

int NotifyCloseList() {
  int answer = 1;
  L().close.ForEach([&answer](const NOTIFY& n) {
    answer &= int(n.window->SendMessage(n.message, 0, LPARAM(n.data)));
    return answer != 0;
  });
  return answer;
}

bool NotifyIdleList(long idleCount) {
  bool more = false;
  L().idle.ForEach([&](const NOTIFY& n) {
    if (n.window->IdleAction(idleCount)) more = true;
    return true;
  });
  return more;
}

void NotifyPreUpdateList() { SendEach(L().preUpdate); }
void NotifyPostUpdateList() { SendEach(L().postUpdate); }

const ZNotifyList& CloseList() { return L().close; }
const ZNotifyList& IdleList() { return L().idle; }
const ZNotifyList& PreUpdateList() { return L().preUpdate; }
const ZNotifyList& PostUpdateList() { return L().postUpdate; }

void ResetNotifyLists() { Holder().reset(); }

}  // namespace quill
