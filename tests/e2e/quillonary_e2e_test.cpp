// End to end: the sample encyclopedia in a real SDL window under a private X server, driven by
// real X input, each step's window compared pixel for pixel with the headless replay of the
// same steps.
#include <fstream>
#include <string>
#include <vector>

#include "e2e/process_support.h"
#include "e2e/x_session.h"

namespace quill {
namespace {

using e2e::ReadPngRgb;
using e2e::Reap;
using e2e::RgbImage;
using e2e::Spawn;

// One step of the session: the script's commands for the headless replay and the X input that
// does the same to the window, at 800 x 600.
struct Step {
  const char* name;
  const char* script;
  std::vector<std::string> input;  // xdotool arguments; "@x y" moves within the window
};

const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {"start", "", {}},  // the first frame, before any input
      {"search", "click 230 348; type light; wait 100", {"@230 348", "click 1", "type light"}},
      {"article", "click 60 376; wait 100", {"@60 376", "click 1"}},
      {"link", "click 537 123; wait 100", {"@537 123", "click 1"}},
      // The "Bookmark created" box shows for a second in the window (headless, nobody can see
      // it, so it is answered at once); the mouse then leaves the button.
      {"bookmark",
       "click 728 578; wait 1500; move 600 450; wait 100",
       {"@728 578", "click 1", "sleep 1.5", "@600 450"}},
      {"back", "click 260 578; wait 100", {"@260 578", "click 1"}},
      {"menu", "click 420 20; wait 400", {"@420 20", "click 1"}},
      {"submenu", "move 440 80; wait 400", {"@440 80"}},
      {"closed", "key Escape; key Escape; wait 100", {"key Escape", "key Escape"}},
      {"maximised", "dblclick 600 20; wait 100", {"@600 20", "click --repeat 2 --delay 80 1"}},
      {"restored", "click 778 20; wait 100", {"@778 20", "click 1"}},
  };
  return steps;
}

class QuillonaryE2E : public e2e::XSessionTest {};

TEST_F(QuillonaryE2E, EachStepShowsWhatTheHeadlessReplayShows) {
  // The headless replay: a picture after each step.
  std::ofstream script(dir_ + "/session.txt");
  for (const Step& step : Steps()) script << step.script << "\nshot " << step.name << ".png\n";
  script.close();
  pid_t headless = Spawn({QUILLONARY_BIN, "--script", dir_ + "/session.txt", "--out", dir_, "--art",
                          QUILL_ART_DIR, "--home", dir_ + "/home-headless"},
                         {"QUILL_AUDIO=null"});
  ASSERT_EQ(Reap(headless, std::chrono::seconds(120)), 0);
  std::vector<RgbImage> expected(Steps().size());
  std::string error;
  for (size_t i = 0; i < Steps().size(); ++i)
    ASSERT_TRUE(ReadPngRgb(dir_ + "/" + Steps()[i].name + ".png", expected[i], error)) << error;

  // The same steps in the real window. Display libraries keep a few allocations until exit;
  // leaks are checked by the unit tests.
  program_ = Spawn({QUILLONARY_BIN, "--screen", "sdl", "--out", dir_ + "/sdl", "--art",
                    QUILL_ART_DIR, "--home", dir_ + "/home-sdl"},
                   {"DISPLAY=" + display_, "QUILL_AUDIO=null", "ASAN_OPTIONS=detect_leaks=0"});
  ASSERT_GT(program_, 0);
  const std::string window = WaitForWindow("Quillonary");
  ASSERT_FALSE(window.empty()) << "the window never appeared";
  for (size_t i = 0; i < Steps().size(); ++i) {
    for (const std::string& input : Steps()[i].input) {
      if (input[0] == '@')
        X("xdotool mousemove --window " + window + " " + input.substr(1));
      else
        X("xdotool " + input);
    }
    ASSERT_EQ(SettlesTo(window, expected[i]), "") << "after the step " << Steps()[i].name;
  }
}

}  // namespace
}  // namespace quill
