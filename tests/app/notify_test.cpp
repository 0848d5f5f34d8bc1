#include "quillui/app/notify_lists.h"

#include <functional>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/window/window.h"

namespace quill::test {
namespace {

// A registered window: logs what reaches it and answers what it is told to.
class Listener : public TWindow {
 public:
  Listener(std::string name, std::vector<std::string>* log, LRESULT reply = 1,
           bool wantsIdle = false)
      : TWindow(nullptr, name.c_str()),
        name_(std::move(name)),
        log_(log),
        reply_(reply),
        idle_(wantsIdle) {}

  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg >= WM_USER) {
      log_->push_back(name_ + ":" + std::to_string(msg) + ":" + std::to_string(wp) + ":" +
                      std::to_string(lp));
      if (onMessage) onMessage();
      return reply_;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  bool IdleAction(long idleCount) override {
    log_->push_back(name_ + ":idle" + std::to_string(idleCount));
    if (onMessage) onMessage();
    return idle_;
  }

  std::function<void()> onMessage;

 private:
  std::string name_;
  std::vector<std::string>* log_;
  LRESULT reply_;
  bool idle_;
};

using Log = std::vector<std::string>;
using NotifyTest = AppTest;

TEST(ZNotifyList, RegisterUnregisterAndOrder) {
  Log log;
  Listener a("a", &log), b("b", &log);
  ZNotifyList list(0x700);
  list.Register(&a, 1);
  list.Register(&b, 2, 0x701);
  list.Register(&a, 3, -1);
  list.Register(&a, 1);  // a duplicate is kept
  ASSERT_EQ(list.Count(), 4u);
  EXPECT_EQ(list[0].message, 0x700u);
  EXPECT_EQ(list[1].message, 0x701u);

  list.NotifyAll(9);
  EXPECT_EQ(log, (Log{"a:1792:9:1", "b:1793:9:2", "a:1792:9:3", "a:1792:9:1"}));

  // Unregister matches window and data, never the message, and takes the first match only.
  list.Unregister(&a, 1);
  list.Unregister(&b, 99);  // no such registration
  list.Unregister(&b, 2);
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list[0].data, 3);
  EXPECT_EQ(list[1].data, 1);
}

TEST(ZNotifyList, ReceiversMayChangeTheListWhileNotified) {
  Log log;
  Listener a("a", &log), b("b", &log), c("c", &log), d("d", &log);
  ZNotifyList list(0x700);
  for (Listener* w : {&a, &b, &c}) list.Register(w, 0);

  // a removes itself and c; b registers d. c is not sent anything (it is gone), b is not
  // skipped or sent twice, and d waits for the next round.
  a.onMessage = [&] {
    list.Unregister(&a, 0);
    list.Unregister(&c, 0);
  };
  b.onMessage = [&] { list.Register(&d, 0); };
  list.NotifyAll(0);
  EXPECT_EQ(log, (Log{"a:1792:0:0", "b:1792:0:0"}));

  log.clear();
  a.onMessage = nullptr;
  b.onMessage = nullptr;
  list.NotifyAll(0);
  EXPECT_EQ(log, (Log{"b:1792:0:0", "d:1792:0:0"}));

  // Emptying the whole list from the first receiver stops the walk there.
  log.clear();
  b.onMessage = [&] {
    list.Unregister(&b, 0);
    list.Unregister(&d, 0);
  };
  list.NotifyAll(0);
  EXPECT_EQ(log, (Log{"b:1792:0:0"}));
  EXPECT_EQ(list.Count(), 0u);
}

TEST_F(NotifyTest, CloseListAndsTheRepliesAndStopsAtTheFirstRefusal) {
  Log log;
  EXPECT_EQ(NotifyCloseList(), 1);  // nobody to ask

  Listener a("a", &log, 1), b("b", &log, 0), c("c", &log, 1);
  RegisterCloseList(&a, 1);
  RegisterCloseList(&b, 1);
  RegisterCloseList(&c, 1);
  EXPECT_EQ(NotifyCloseList(), 0);
  EXPECT_EQ(log, (Log{"a:1581:0:0", "b:1581:0:0"}));  // c is not asked

  RegisterCloseList(&b, 0);
  log.clear();
  EXPECT_EQ(NotifyCloseList(), 1);
  EXPECT_EQ(log, (Log{"a:1581:0:0", "c:1581:0:0"}));

  // An even reply refuses: 1 AND 2 is 0.
  Listener two("two", &log, 2), three("three", &log, 3);
  RegisterCloseList(&three, 1);
  RegisterCloseList(&two, 1);
  RegisterCloseList(&c, 1);
  log.clear();
  EXPECT_EQ(NotifyCloseList(), 0);
  EXPECT_EQ(log, (Log{"a:1581:0:0", "c:1581:0:0", "three:1581:0:0", "two:1581:0:0"}));
}

TEST_F(NotifyTest, DuplicateCloseRegistrationsAreAskedTwiceAndRemovedOneAtATime) {
  Log log;
  Listener a("a", &log);
  RegisterCloseList(&a, 1);
  RegisterCloseList(&a, 1);
  EXPECT_EQ(NotifyCloseList(), 1);
  EXPECT_EQ(log.size(), 2u);
  RegisterCloseList(&a, 0);
  log.clear();
  EXPECT_EQ(NotifyCloseList(), 1);
  EXPECT_EQ(log.size(), 1u);
  RegisterCloseList(&a, 0);
  RegisterCloseList(&a, 0);  // nothing left to remove
  EXPECT_EQ(CloseList().Count(), 0u);
}

TEST_F(NotifyTest, IdleListCallsEveryWindowAndOrsTheAnswers) {
  Log log;
  EXPECT_FALSE(NotifyIdleList(0));
  Listener a("a", &log, 1, false), b("b", &log, 1, true), c("c", &log, 1, false);
  RegisterIdle(&a, 1);
  RegisterIdle(&b, 1);
  RegisterIdle(&c, 1);
  EXPECT_TRUE(NotifyIdleList(5));
  EXPECT_EQ(log, (Log{"a:idle5", "b:idle5", "c:idle5"}));  // no message; c still called
  RegisterIdle(&b, 0);
  log.clear();
  EXPECT_FALSE(NotifyIdleList(6));
  EXPECT_EQ(log, (Log{"a:idle6", "c:idle6"}));

  // A window that unregisters itself from inside IdleAction does not disturb the others.
  a.onMessage = [&] { RegisterIdle(&a, 0); };
  log.clear();
  NotifyIdleList(7);
  EXPECT_EQ(log, (Log{"a:idle7", "c:idle7"}));
  EXPECT_EQ(IdleList().Count(), 1u);
}

TEST_F(NotifyTest, UpdateListsSendTheirMessagesInOrder) {
  Log log;
  Listener a("a", &log, 0), b("b", &log, 0);
  RegisterPreUpdateList(&a, 1);
  RegisterPreUpdateList(&b, 1);
  RegisterPostUpdateList(&b, 1);
  RegisterPostUpdateList(&a, 1);
  NotifyPreUpdateList();
  NotifyPostUpdateList();
  EXPECT_EQ(log, (Log{"a:1587:0:0", "b:1587:0:0", "b:1588:0:0", "a:1588:0:0"}));
  RegisterPreUpdateList(&a, 0);
  RegisterPostUpdateList(&a, 0);
  log.clear();
  NotifyPreUpdateList();
  NotifyPostUpdateList();
  EXPECT_EQ(log, (Log{"b:1587:0:0", "b:1588:0:0"}));
}

}  // namespace
}  // namespace quill::test
