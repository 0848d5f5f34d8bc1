// Reporting a lost display: one line, the closing on the display's thread and only once, then
// the end of the process with no static destructors or exit handlers. Each case runs in a child
// process, which the report ends.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "quillui/platform/screen/display_loss.h"

namespace quill::platform {
namespace {

using ::testing::ExitedWithCode;

void Say(const char* text) { (void)!write(STDERR_FILENO, text, std::strlen(text)); }

struct SaysWhenDestroyed {
  ~SaysWhenDestroyed() { Say("static destructor ran\n"); }
};

class DisplayLossDeathTest : public ::testing::Test {
 protected:
  // The child starts threads of its own; it must not be a fork of a process that has them.
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(DisplayLossDeathTest, ClosesOnceWithoutTheDisplayThenEndsWithoutTearingDown) {
  EXPECT_EXIT(
      {
        static SaysWhenDestroyed staticObject;
        std::atexit([] { Say("exit handler ran\n"); });
        SetDisplayLostHandler(
            [] { Say(DisplayIsLost() ? "closing without it\n" : "closing with it\n"); });
        ReportDisplayLost(":7", true);
      },
      ExitedWithCode(kDisplayLostExitStatus),
      "^[^\n]*: lost the connection to the display :7; exiting\nclosing without it\n$");
}

TEST_F(DisplayLossDeathTest, AClosingThatMeetsTheDeadConnectionAgainEndsThere) {
  EXPECT_EXIT(
      {
        SetDisplayLostHandler([] {
          Say("closing\n");
          ReportDisplayLost(":7", true);
          Say("went on after the second report\n");
        });
        ReportDisplayLost(":7", true);
      },
      ExitedWithCode(kDisplayLostExitStatus),
      "^[^\n]*: lost the connection to the display :7; exiting\nclosing\n$");
}

// Another thread met the dead connection first: the closing still runs on the display's thread
// when that meets it too, and the line is still said once, before it.
TEST_F(DisplayLossDeathTest, AReportFromAnotherThreadLeavesTheClosingToTheDisplaysThread) {
  EXPECT_EXIT(
      {
        static const std::thread::id displayThread = std::this_thread::get_id();
        SetDisplayLostHandler([] {
          Say(std::this_thread::get_id() == displayThread ? "closing on the display's thread\n"
                                                          : "closing elsewhere\n");
        });
        std::thread([] { ReportDisplayLost(":7", false); }).detach();
        while (!DisplayIsLost()) std::this_thread::yield();
        ReportDisplayLost(":7", true);
      },
      ExitedWithCode(kDisplayLostExitStatus),
      "^[^\n]*: lost the connection to the display :7; exiting\n"
      "closing on the display's thread\n$");
}

TEST_F(DisplayLossDeathTest, WithoutAHandlerOrADisplayNameOnlyTheLineIsSaid) {
  EXPECT_EXIT(ReportDisplayLost(nullptr, true), ExitedWithCode(kDisplayLostExitStatus),
              "^[^\n]*: lost the connection to the display; exiting\n$");
}

}  // namespace
}  // namespace quill::platform
