// The idle list is the application's idle path: a registered window gets exactly one idle call
// a round, from the list, and none from the window tree.
#include <vector>

#include "app_test_support.h"
#include "quillui/app/notify_lists.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"

namespace quill::test {
namespace {

struct Counting : TWindow {
  using TWindow::TWindow;
  std::vector<long> counts;
  bool IdleAction(long idleCount) override {
    counts.push_back(idleCount);
    return TWindow::IdleAction(idleCount);
  }
};

using IdleListTest = AppTest;

TEST_F(IdleListTest, ARegisteredWindowGetsOneIdleCallPerRound) {
  TApplication app("test");
  Counting main(nullptr);
  main.Attr.W = main.Attr.H = 100;
  auto* menu = new Counting(&main);  // a child that watches the mouse in its idle time
  auto* plain = new Counting(&main);
  ASSERT_TRUE(main.Create());
  app.SetMainWindow(&main);
  RegisterIdle(menu, 1);

  app.IdleAction(0);
  app.IdleAction(1);
  EXPECT_EQ(menu->counts, (std::vector<long>{0, 1}));
  EXPECT_EQ(plain->counts, (std::vector<long>{0, 1}));
  EXPECT_EQ(main.counts, (std::vector<long>{0, 1}));

  // Registered twice, it stays off the tree until the last registration goes.
  RegisterIdle(menu, 1);
  RegisterIdle(menu, 0);
  menu->counts.clear();
  app.IdleAction(2);
  EXPECT_EQ(menu->counts, (std::vector<long>{2}));
  RegisterIdle(menu, 0);
  menu->counts.clear();
  app.IdleAction(3);
  EXPECT_EQ(menu->counts, (std::vector<long>{3}));  // from the tree again
  EXPECT_TRUE(menu->TakesTreeIdle());
}

}  // namespace
}  // namespace quill::test
