// The application's closing when the display is lost: the host's closing runs, questions get the
// answer their default button gives, the main window closes even though it refuses, and nothing
// runs once the application is gone.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>

#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/dialogs/message_box.h"
#include "quillui/framework/window/closing_without_display.h"
#include "quillui/platform/screen/display_loss.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

using ::testing::ExitedWithCode;

void Say(const std::string& text) { (void)!write(STDERR_FILENO, text.data(), text.size()); }

TEST(AnswerWithoutDisplayTest, BoxesAnswerTheirDefaultButtonAndDialogsCancel) {
  struct Case {
    TModalKind kind;
    UINT type;
    int answer;
  };
  for (const Case& c : {
           Case{TModalKind::MessageBox, MB_OK, IDOK},
           Case{TModalKind::MessageBox, MB_YESNOCANCEL | MB_ICONQUESTION, IDYES},
           Case{TModalKind::MessageBox, MB_YESNO | MB_DEFBUTTON2, IDNO},
           Case{TModalKind::MessageBox, MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
           Case{TModalKind::MessageBox, MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
           Case{TModalKind::MessageBox, MB_YESNO | MB_DEFBUTTON3, IDNO},  // past the last: last
           Case{TModalKind::FileSave, 0, IDCANCEL},
           Case{TModalKind::FileOpen, 0, IDCANCEL},
           Case{TModalKind::Dialog, 0, IDCANCEL},
       }) {
    TModalQuestion q;
    q.kind = c.kind;
    q.type = c.type;
    std::optional<TModalAnswer> a = AnswerWithoutDisplay(q);
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->result, c.answer) << "kind " << int(c.kind) << " type 0x" << std::hex << c.type;
  }
}

// A main window whose closing asks whether to save and then refuses to close.
class TAsksOnClose : public TWindow {
 public:
  TAsksOnClose() : TWindow(nullptr, "main") { Attr.W = Attr.H = 100; }

  bool CanClose() override {
    int answer = MessageBox("Save the changes?", "Closing", MB_YESNOCANCEL);
    Say("asked, answered " + std::to_string(answer) + "\n");
    return false;
  }
  void EvDestroy() override {
    Say("main window destroyed\n");
    TWindow::EvDestroy();
  }
};

class THost : public TApplication {
 public:
  void ClosingWithoutDisplay() override {
    Say("host closing\n");
    TApplication::ClosingWithoutDisplay();
  }
};

class ClosingWithoutDisplayDeathTest : public HeadlessTest {
 protected:
  // The child starts a thread; the test process may have threads it must not be forked with.
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    HeadlessTest::SetUp();
  }
};

TEST_F(ClosingWithoutDisplayDeathTest, TheHostClosesAndTheMainWindowGoesThoughItRefuses) {
  THost app;
  TAsksOnClose main;
  ASSERT_TRUE(main.Create());
  app.SetMainWindow(&main);
  EXPECT_EXIT(platform::ReportDisplayLost(":7", true),
              ExitedWithCode(platform::kDisplayLostExitStatus),
              "^[^\n]*: lost the connection to the display :7; exiting\n"
              "host closing\n"
              "asked, answered " +
                  std::to_string(IDYES) +
                  "\n"
                  "main window destroyed\n$");
}

// The loss met while the program was already closing in order, after its application ended.
TEST_F(ClosingWithoutDisplayDeathTest, AfterTheApplicationEndedOnlyTheLineIsSaid) {
  TAsksOnClose main;
  ASSERT_TRUE(main.Create());
  {
    THost app;
    app.SetMainWindow(&main);
  }
  EXPECT_EXIT(platform::ReportDisplayLost(":7", true),
              ExitedWithCode(platform::kDisplayLostExitStatus),
              "^[^\n]*: lost the connection to the display :7; exiting\n$");
}

}  // namespace
}  // namespace quill::test
