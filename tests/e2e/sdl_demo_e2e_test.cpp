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

#include "quillui/framework/image/dib.h"
#include "quillui/framework/image/png_codec.h"

#include "e2e/process_support.h"

namespace quill {
namespace {

using e2e::OnPath;
using e2e::Spawn;
using e2e::StartPrivateXServer;

// Runs a shell command; answers its standard output.
std::string RunShell(const std::string& cmd, int* status = nullptr) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[256];
  while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  int s = pclose(p);
  if (status) *status = s;
  return out;
}

// Waits for pid to end, up to a deadline; kills it after that. Answers its exit status.
int Reap(pid_t pid, std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB
};

uint32_t Be32(const std::vector<uint8_t>& b, size_t off) {
  return (uint32_t(b[off]) << 24) | (uint32_t(b[off + 1]) << 16) | (uint32_t(b[off + 2]) << 8) |
         b[off + 3];
}

int Shift(uint32_t mask) {
  int s = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++s;
  }
  return s;
}

// Reads a 24/32-bit TrueColor ZPixmap dump written by xwd.
bool ReadXwd(const std::string& path, RgbImage& img, std::string& error) {
  std::ifstream f(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (b.size() < 100) return error = "xwd file too short", false;
  uint32_t headerSize = Be32(b, 0), format = Be32(b, 8), width = Be32(b, 16), height = Be32(b, 20);
  uint32_t byteOrder = Be32(b, 28), bpp = Be32(b, 44), bytesPerLine = Be32(b, 48);
  uint32_t redMask = Be32(b, 56), greenMask = Be32(b, 60), blueMask = Be32(b, 64),
           ncolors = Be32(b, 76);
  if (format != 2 || (bpp != 32 && bpp != 24) || width == 0 || height == 0 || width > 8192 ||
      height > 8192)
    return error = "unexpected xwd layout", false;
  uint64_t offset = uint64_t(headerSize) + uint64_t(ncolors) * 12;
  if (offset + uint64_t(bytesPerLine) * height > b.size())
    return error = "xwd pixels truncated", false;
  img.width = int(width);
  img.height = int(height);
  img.rgb.resize(size_t(width) * height);
  int bytes = int(bpp / 8);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = b.data() + offset + uint64_t(y) * bytesPerLine;
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + x * uint32_t(bytes);
      uint32_t v = 0;
      for (int i = 0; i < bytes; ++i)
        v |= uint32_t(p[byteOrder == 0 ? i : bytes - 1 - i]) << (8 * i);
      uint32_t r = (v & redMask) >> Shift(redMask), g = (v & greenMask) >> Shift(greenMask),
               bl = (v & blueMask) >> Shift(blueMask);
      img.rgb[size_t(y) * width + x] = (r << 16) | (g << 8) | bl;
    }
  }
  return true;
}

bool ReadPngRgb(const std::string& path, RgbImage& img, std::string& error) {
  DibResult r = ReadPngFile(path);
  if (!r.dib) return error = r.error, false;
  img.width = r.dib->Width();
  img.height = r.dib->Height();
  img.rgb.resize(size_t(img.width) * size_t(img.height));
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      TColor c = r.dib->GetPixelColor(x, y);
      img.rgb[size_t(y) * size_t(img.width) + size_t(x)] =
          (uint32_t(c.Red()) << 16) | (uint32_t(c.Green()) << 8) | c.Blue();
    }
  return true;
}

long CountDifferences(const RgbImage& a, const RgbImage& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  long diff = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) diff += a.rgb[i] != b.rgb[i];
  return diff;
}

class SdlDemoE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "xwd"})
      if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
    dir_ = ::testing::TempDir() + "quill-e2e-" + std::to_string(getpid());
    mkdir(dir_.c_str(), 0700);
    int number = 0;
    ASSERT_TRUE(StartPrivateXServer("1024x768x24", xvfb_, number)) << "no X server would start";
    display_ = ":" + std::to_string(number);
  }

  void TearDown() override {
    if (demo_ > 0) {
      kill(demo_, SIGKILL);
      waitpid(demo_, nullptr, 0);
    }
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      Reap(xvfb_, std::chrono::seconds(5));
    }
  }

  std::string X(const std::string& args, int* status = nullptr) {
    return RunShell("DISPLAY=" + display_ + " " + args + " 2>/dev/null", status);
  }

  bool CaptureMatches(const std::string& window, const RgbImage& expected, long& diff,
                      std::string& error) {
    std::string path = dir_ + "/window.xwd";
    X("xwd -silent -id " + window + " -out " + path);
    RgbImage shot;
    if (!ReadXwd(path, shot, error)) return false;
    diff = CountDifferences(shot, expected);
    return diff == 0;
  }

  // The demo's window once it shows, or empty after 15 s.
  std::string WaitForWindow() {
    std::string window;
    for (int i = 0; i < 300 && window.empty(); ++i) {
      window = X("xdotool search --name 'Quill demo'");
      while (!window.empty() && (window.back() == '\n' || window.back() == ' ')) window.pop_back();
      if (auto nl = window.find('\n'); nl != std::string::npos) window.resize(nl);
      if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return window;
  }

  // Captures the window until it shows expected, for up to 10 s: empty when it did, else how
  // far off it stayed.
  std::string SettlesTo(const std::string& window, const RgbImage& expected) {
    long diff = -1;
    std::string error;
    for (int attempt = 0; attempt < 100; ++attempt) {
      if (CaptureMatches(window, expected, diff, error)) return {};
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::to_string(diff) + " pixels differ " + error;
  }

  std::string dir_;
  std::string display_;
  pid_t xvfb_ = -1;
  pid_t demo_ = -1;
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
  demo_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--out", sdlPng},
                {"DISPLAY=" + display_, "ASAN_OPTIONS=detect_leaks=0"});
  ASSERT_GT(demo_, 0);
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
  EXPECT_EQ(Reap(demo_, std::chrono::seconds(20)), 0);
  demo_ = -1;
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

  demo_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--flymenu", "--out", dir_ + "/sdl.png"},
                {"DISPLAY=" + display_, "ASAN_OPTIONS=detect_leaks=0"});
  ASSERT_GT(demo_, 0);
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
  EXPECT_EQ(Reap(demo_, std::chrono::seconds(20)), 0);
  demo_ = -1;
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
  demo_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--titlebar", "--art", QUILL_ART_DIR, "--out",
                 dir_ + "/sdl.png"},
                {"DISPLAY=" + display_, "ASAN_OPTIONS=detect_leaks=0"},
                {.outPath = sdlOut, .errPath = {}, .passFd = -1});
  ASSERT_GT(demo_, 0);
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
  EXPECT_EQ(Reap(demo_, std::chrono::seconds(20)), 0);
  demo_ = -1;
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
  demo_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--tableau", "--art", QUILL_ART_DIR,
                 "--double-click-ms", "3000", "--out", dir_ + "/sdl.png"},
                {"DISPLAY=" + display_, "ASAN_OPTIONS=detect_leaks=0"});
  ASSERT_GT(demo_, 0);
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
  EXPECT_EQ(Reap(demo_, std::chrono::seconds(20)), 0);
  demo_ = -1;
}

}  // namespace
}  // namespace quill
