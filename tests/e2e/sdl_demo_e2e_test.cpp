// End to end: the demo in a real SDL window on a private X server (Xvfb), driven by real X
// input (xdotool), captured from the X server (xwd) and compared pixel for pixel with the
// headless rendering of the same input.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "e2e/process_support.h"
#include "e2e/x_session.h"

namespace quill {
namespace {

using e2e::CountDifferences;
using e2e::ReadPngRgb;
using e2e::Reap;
using e2e::RgbImage;
using e2e::Spawn;

class SdlDemoE2E : public e2e::XSessionTest {
 protected:
  std::string WaitForWindow() { return XSessionTest::WaitForWindow("Quill demo"); }
};

TEST_F(SdlDemoE2E, WindowShowsExactlyWhatTheHeadlessScreenRenders) {
  // Clicks the Media pane, double-clicks the Article pane (maximised), presses F6, then
  // double-clicks again (the arrangement comes back) and clicks the Path pane.
  const std::string script =
      "move 120 90; click 120 90; dblclick 600 300; key F6; dblclick 600 300; click 100 450";
  std::string headlessPng = dir_ + "/headless.png";
  pid_t headless =
      Spawn({QUILL_DEMO_BIN, "--screen", "headless", "--input", script, "--out", headlessPng}, {});
  ASSERT_EQ(Reap(headless, std::chrono::seconds(60)), 0);
  RgbImage expected;
  std::string error;
  ASSERT_TRUE(ReadPngRgb(headlessPng, expected, error)) << error;

  std::string sdlPng = dir_ + "/sdl.png";
  // Display libraries keep a few allocations until exit; leaks are checked by the unit tests.
  program_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--out", sdlPng},
                   {"DISPLAY=" + display_, "ASAN_OPTIONS=detect_leaks=0"});
  ASSERT_GT(program_, 0);
  std::string window;
  for (int i = 0; i < 300 && window.empty(); ++i) {
    window = X("xdotool search --name 'Quill demo'");
    while (!window.empty() && (window.back() == '\n' || window.back() == ' ')) window.pop_back();
    if (auto nl = window.find('\n'); nl != std::string::npos) window.resize(nl);
    if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_FALSE(window.empty()) << "the demo's window never appeared";

  auto at = [&](int x, int y) {
    return "xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
           std::to_string(y);
  };
  X(at(120, 90));
  X("xdotool click 1");
  X(at(600, 300));
  X("xdotool click --repeat 2 --delay 80 1");
  X("xdotool key F6");
  X("xdotool click --repeat 2 --delay 80 1");
  X(at(100, 450));
  X("xdotool click 1");

  // The demo handles the input asynchronously: capture until the window settles.
  long diff = -1;
  bool same = false;
  for (int attempt = 0; attempt < 100 && !same; ++attempt) {
    same = CaptureMatches(window, expected, diff, error);
    if (!same) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(same) << diff << " pixels differ " << error;

  // Escape closes the frame; what the demo saw last is the headless picture too.
  X("xdotool key --window " + window + " Escape");
  EXPECT_EQ(Reap(program_, std::chrono::seconds(20)), 0);
  program_ = -1;
  RgbImage last;
  ASSERT_TRUE(ReadPngRgb(sdlPng, last, error)) << error;
  EXPECT_EQ(CountDifferences(last, expected), 0);
}

// A fly menu in the real window: a right click opens it, resting on "Options" flies its
// submenu open after the delay, and a click on another pane closes both menus and reaches the
// pane (it becomes the active one). Each stage shows exactly what the headless run shows.
TEST_F(SdlDemoE2E, FlyMenuOpensItsSubmenuAndPassesTheClickOutsideOn) {
  const std::string started = "move 10 590";
  const std::string opened = "move 120 90; rclick 120 90; move 140 135";
  const std::string closed = opened + "; move 100 450; click 100 450";
  RgbImage expectStarted, expectOpened, expectClosed;
  std::string error;
  for (auto [script, image, name] : {std::tuple{&started, &expectStarted, "started"},
                                     std::tuple{&opened, &expectOpened, "opened"},
                                     std::tuple{&closed, &expectClosed, "closed"}}) {
    const std::string png = dir_ + "/headless-" + name + ".png";
    pid_t headless = Spawn(
        {QUILL_DEMO_BIN, "--screen", "headless", "--flymenu", "--input", *script, "--out", png},
        {});
    ASSERT_EQ(Reap(headless, std::chrono::seconds(60)), 0);
    ASSERT_TRUE(ReadPngRgb(png, *image, error)) << error;
  }
  EXPECT_GT(CountDifferences(expectOpened, expectClosed), 0);

  program_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--flymenu", "--out", dir_ + "/sdl.png"},
                   {"DISPLAY=" + display_, "ASAN_OPTIONS=detect_leaks=0"});
  ASSERT_GT(program_, 0);
  const std::string window = WaitForWindow();
  ASSERT_FALSE(window.empty()) << "the demo's window never appeared";
  auto at = [&](int x, int y) {
    return "xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
           std::to_string(y);
  };
  auto settlesTo = [&](const RgbImage& expected) { return SettlesTo(window, expected); };

  // Input only once the window shows its first picture: earlier clicks may find no window.
  X(at(10, 590));
  ASSERT_EQ(settlesTo(expectStarted), "");
  X(at(120, 90));
  X("xdotool click 3");
  X(at(140, 135));
  EXPECT_EQ(settlesTo(expectOpened), "");
  X(at(100, 450));
  X("xdotool click 1");
  EXPECT_EQ(settlesTo(expectClosed), "");

  X("xdotool key --window " + window + " Escape");
  EXPECT_EQ(Reap(program_, std::chrono::seconds(20)), 0);
  program_ = -1;
}

// Title bars in the real window: resting the pointer on a bar's icon flies the pane's menu open
// below the bar (its top at the bar's top + 20, its left at the bar's left), and the
// full-screen button makes the pane fill the frame. Each stage shows exactly what the headless
// run shows.
TEST_F(SdlDemoE2E, TitleBarMenuFliesOpenFromTheIconAndTheFullScreenButtonWorks) {
  const std::string started = "move 10 590";
  const std::string opened = started + "; move 52 70";
  const std::string full = opened + "; move 400 69; click 400 69";
  RgbImage expectStarted, expectOpened, expectFull;
  std::string error;
  auto readText = [](const std::string& path) {
    std::ifstream f(path);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  };
  for (auto [script, image, name] :
       {std::tuple{&started, &expectStarted, "started"},
        std::tuple{&opened, &expectOpened, "opened"}, std::tuple{&full, &expectFull, "full"}}) {
    const std::string png = dir_ + "/headless-" + name + ".png";
    const std::string out = dir_ + "/headless-" + name + ".txt";
    pid_t headless = Spawn({QUILL_DEMO_BIN, "--screen", "headless", "--titlebar", "--art",
                            QUILL_ART_DIR, "--input", *script, "--out", png},
                           {}, {.outPath = out, .errPath = {}, .passFd = -1});
    ASSERT_EQ(Reap(headless, std::chrono::seconds(60)), 0);
    ASSERT_TRUE(ReadPngRgb(png, *image, error)) << error;
    const std::string said = readText(out);
    EXPECT_EQ(said.find("title bar menu at 40,80") != std::string::npos, image == &expectOpened)
        << name << ": " << said;
    EXPECT_EQ(said.find("title bar command 7432") != std::string::npos, image == &expectFull)
        << name << ": " << said;
  }
  EXPECT_GT(CountDifferences(expectStarted, expectOpened), 0);

  const std::string sdlOut = dir_ + "/sdl.txt";
  program_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--titlebar", "--art", QUILL_ART_DIR,
                    "--out", dir_ + "/sdl.png"},
                   {"DISPLAY=" + display_, "ASAN_OPTIONS=detect_leaks=0"},
                   {.outPath = sdlOut, .errPath = {}, .passFd = -1});
  ASSERT_GT(program_, 0);
  const std::string window = WaitForWindow();
  ASSERT_FALSE(window.empty()) << "the demo's window never appeared";
  auto at = [&](int x, int y) {
    return "xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
           std::to_string(y);
  };
  auto settlesTo = [&](const RgbImage& expected) { return SettlesTo(window, expected); };

  X(at(10, 590));
  ASSERT_EQ(settlesTo(expectStarted), "");
  X(at(52, 70));
  EXPECT_EQ(settlesTo(expectOpened), "");
  X(at(400, 69));
  X("xdotool click 1");
  EXPECT_EQ(settlesTo(expectFull), "");

  X("xdotool key --window " + window + " Escape");
  EXPECT_EQ(Reap(program_, std::chrono::seconds(20)), 0);
  program_ = -1;
  EXPECT_NE(readText(sdlOut).find("title bar command 7432"), std::string::npos);
}

}  // namespace
}  // namespace quill

namespace quill {
namespace {

// The tableau in the real window: a double click on the Media pane's title maximises the pane,
// the small-screen button that took the full-screen button's place brings the tableau back, and
// F6 moves the focus (the active title bar's colour) from Media to Path to Article. Each stage
// shows exactly what the headless run of the same input shows.
TEST_F(SdlDemoE2E, TableauMaximisesRestoresAndWalksTheFocus) {
  const std::string started = "move 10 590";
  const std::string maximised = started + "; move 200 20; dblclick 200 20";
  const std::string restored = maximised + "; move 761 20; click 761 20";
  const std::string path = restored + "; key F6";
  const std::string article = path + "; key F6";
  const std::string* scripts[] = {&started, &maximised, &restored, &path, &article};
  std::vector<RgbImage> expected(std::size(scripts));
  std::string error;
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string png = dir_ + "/headless-" + std::to_string(i) + ".png";
    pid_t headless = Spawn({QUILL_DEMO_BIN, "--screen", "headless", "--tableau", "--art",
                            QUILL_ART_DIR, "--input", *scripts[i], "--out", png},
                           {});
    ASSERT_EQ(Reap(headless, std::chrono::seconds(60)), 0) << *scripts[i];
    ASSERT_TRUE(ReadPngRgb(png, expected[i], error)) << error;
  }
  // Every stage changes the picture; the restored tableau is the one the demo started with.
  for (size_t i = 1; i < expected.size(); ++i)
    EXPECT_GT(CountDifferences(expected[i - 1], expected[i]), 0) << *scripts[i];
  EXPECT_EQ(CountDifferences(expected[0], expected[2]), 0);

  // The framework times a double click from when it takes each press, so a first press whose
  // repaint runs slow on a busy machine must not split the pair: a wide double-click time.
  program_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--tableau", "--art", QUILL_ART_DIR,
                    "--double-click-ms", "3000", "--out", dir_ + "/sdl.png"},
                   {"DISPLAY=" + display_, "ASAN_OPTIONS=detect_leaks=0"});
  ASSERT_GT(program_, 0);
  const std::string window = WaitForWindow();
  ASSERT_FALSE(window.empty()) << "the demo's window never appeared";
  auto at = [&](int x, int y) {
    return "xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
           std::to_string(y);
  };

  X(at(10, 590));
  ASSERT_EQ(SettlesTo(window, expected[0]), "");
  X(at(200, 20));
  X("xdotool click --repeat 2 --delay 80 1");
  ASSERT_EQ(SettlesTo(window, expected[1]), "");
  X(at(761, 20));
  X("xdotool click 1");
  ASSERT_EQ(SettlesTo(window, expected[2]), "");
  X("xdotool key F6");
  EXPECT_EQ(SettlesTo(window, expected[3]), "");
  X("xdotool key F6");
  EXPECT_EQ(SettlesTo(window, expected[4]), "");

  X("xdotool key --window " + window + " Escape");
  EXPECT_EQ(Reap(program_, std::chrono::seconds(20)), 0);
  program_ = -1;
}

}  // namespace
}  // namespace quill
