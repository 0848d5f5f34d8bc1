// End to end: the display goes away under the demo running in an SDL window on a private X
// server (Xvfb). The server is killed outright, or the demo and the server are told to end at
// the same moment; each time the demo must end promptly, with a failing status and one line on
// standard error that says what happened, and still write its screenshot on the way out.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/process_support.h"

namespace quill {
namespace {

using e2e::OnPath;
using e2e::Spawn;
using e2e::StartPrivateXServer;

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

// How soon the demo must be gone once the display is.
constexpr auto kPromptly = 3s;

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Waits up to limit for pid to end; answers its wait status, or nothing while it still runs.
std::optional<int> WaitFor(pid_t pid, SteadyClock::duration limit) {
  auto deadline = SteadyClock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    if (SteadyClock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(5ms);
  }
}

bool WaitStopped(pid_t pid, SteadyClock::duration limit) {
  auto deadline = SteadyClock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG | WUNTRACED) == pid && WIFSTOPPED(status)) return true;
    if (SteadyClock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
}

void KillAndReap(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

enum class Loss {
  ServerKilled,        // kill -9 of the server
  TerminatedTogether,  // TERM to both while the demo is held, so it meets both at once
  TerminatedRacing,    // TERM to both, free to run: the demo may finish its close first
};

struct Outcome {
  int waitStatus = 0;
  SteadyClock::duration took{};
  std::string err;
  bool screenshot = false;
};

class DisplayLossE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "xwd"})
      if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
    dir_ = ::testing::TempDir() + "quill-display-loss-" + std::to_string(getpid());
    mkdir(dir_.c_str(), 0700);
  }

  void TearDown() override {
    KillAndReap(demo_);
    StopServer();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(slowest_).count();
    if (ms > 0) std::printf("the slowest end came %lld ms after the display went\n", (long long)ms);
  }

  // A private X server on a display number of its own; answers once it takes connections.
  bool StartServer() { return StartPrivateXServer("800x600x24", xvfb_, number_); }

  // A server killed outright leaves its lock and socket files behind; one that ended on its own
  // took them along.
  void StopServer() {
    if (xvfb_ <= 0) return;
    kill(xvfb_, SIGKILL);
    int status = 0;
    waitpid(xvfb_, &status, 0);
    xvfb_ = -1;
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
      unlink(("/tmp/.X" + std::to_string(number_) + "-lock").c_str());
      unlink(("/tmp/.X11-unix/X" + std::to_string(number_)).c_str());
    }
  }

  std::string Display() const { return ":" + std::to_string(number_); }

  // Whether the window shows anything but black yet, read from an xwd dump of it: the header's
  // size and colour count, then pixels.
  bool WindowPainted(const std::string& window) {
    std::string path = dir_ + "/window.xwd";
    std::string cmd =
        "DISPLAY=" + Display() + " xwd -silent -id " + window + " -out " + path + " 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return false;
    std::string b = ReadFile(path);
    auto be32 = [&](size_t at) {
      return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 |
             uint32_t(uint8_t(b[at + 2])) << 8 | uint8_t(b[at + 3]);
    };
    if (b.size() < 100) return false;
    size_t pixels = size_t(be32(0)) + size_t(be32(76)) * 12;
    for (size_t i = pixels; i < b.size(); ++i)
      if (b[i] != 0) return true;
    return false;
  }

  // The demo in its window on the private server; answers once the window shows the frame, so
  // the demo is in its loop.
  bool StartDemo() {
    // Display libraries keep a few allocations until exit; leaks are checked by the unit tests.
    demo_ = Spawn({QUILL_DEMO_BIN, "--screen", "sdl", "--out", Shot()},
                  {"DISPLAY=" + Display(), "ASAN_OPTIONS=detect_leaks=0"},
                  {dir_ + "/out.txt", ErrPath()});
    if (demo_ <= 0) return false;
    std::string search = "DISPLAY=" + Display() + " xdotool search --name 'Quill demo' 2>/dev/null";
    auto deadline = SteadyClock::now() + 30s;
    while (SteadyClock::now() < deadline) {
      if (FILE* p = popen(search.c_str(), "r")) {
        char buf[64] = {};
        bool found = fgets(buf, sizeof buf, p) != nullptr;
        pclose(p);
        std::string window(buf);
        while (!window.empty() && std::isspace(uint8_t(window.back()))) window.pop_back();
        if (found && WindowPainted(window)) return true;
      }
      if (WaitFor(demo_, 0s)) {  // ended before its window came
        demo_ = -1;
        return false;
      }
      std::this_thread::sleep_for(20ms);
    }
    return false;
  }

  Outcome LoseDisplay(Loss how) {
    Outcome o;
    unlink(Shot().c_str());
    SteadyClock::time_point from;
    switch (how) {
      case Loss::ServerKilled:
        from = SteadyClock::now();
        kill(xvfb_, SIGKILL);
        break;
      case Loss::TerminatedTogether: {
        kill(demo_, SIGSTOP);
        if (!WaitStopped(demo_, 10s)) ADD_FAILURE() << "the demo did not stop";
        kill(demo_, SIGTERM);
        kill(xvfb_, SIGTERM);
        if (WaitFor(xvfb_, 10s))
          xvfb_ = -1;  // reaped; it took its files along
        else
          ADD_FAILURE() << "the server did not end on TERM";
        from = SteadyClock::now();
        kill(demo_, SIGCONT);
        break;
      }
      case Loss::TerminatedRacing:
        from = SteadyClock::now();
        kill(demo_, SIGTERM);
        kill(xvfb_, SIGTERM);
        break;
    }
    std::optional<int> status = WaitFor(demo_, kPromptly);
    o.took = SteadyClock::now() - from;
    slowest_ = std::max(slowest_, o.took);
    if (!status) {
      ADD_FAILURE() << "the demo still runs " << kPromptly.count() << " s after losing its display";
      KillAndReap(demo_);
      return o;
    }
    demo_ = -1;
    o.waitStatus = *status;
    o.err = ReadFile(ErrPath());
    o.screenshot = access(Shot().c_str(), F_OK) == 0;
    return o;
  }

  // One run: a fresh server and demo, the display lost, the outcome.
  Outcome Run(Loss how) {
    if (!StartServer()) {
      ADD_FAILURE() << "no X server";
      return {};
    }
    if (!StartDemo()) {
      ADD_FAILURE() << "the demo's window never appeared: " << ReadFile(ErrPath());
      return {};
    }
    std::string display = Display();
    Outcome o = LoseDisplay(how);
    StopServer();
    lastDisplay_ = display;
    return o;
  }

  std::string LossLine() const {
    return "quill-demo: lost the connection to the display " + lastDisplay_ + "; exiting\n";
  }

  void ExpectLoss(const Outcome& o, int run) {
    EXPECT_TRUE(WIFEXITED(o.waitStatus) && WEXITSTATUS(o.waitStatus) != 0)
        << "run " << run << ": wait status " << o.waitStatus;
    EXPECT_EQ(o.err, LossLine()) << "run " << run;
    EXPECT_TRUE(o.screenshot) << "run " << run << ": the closing wrote no screenshot";
  }

  std::string Shot() const { return dir_ + "/shot.png"; }
  std::string ErrPath() const { return dir_ + "/err.txt"; }

  std::string dir_;
  pid_t xvfb_ = -1;
  pid_t demo_ = -1;
  int number_ = -1;
  std::string lastDisplay_;
  SteadyClock::duration slowest_{};
};

TEST_F(DisplayLossE2E, ServerKilledOutright) {
  for (int run = 0; run < 5 && !HasFailure(); ++run) ExpectLoss(Run(Loss::ServerKilled), run);
}

// The demo is held while both are told, so it meets the quit and the dead connection together.
TEST_F(DisplayLossE2E, TerminatedTogetherWithTheServer) {
  for (int run = 0; run < 5 && !HasFailure(); ++run) ExpectLoss(Run(Loss::TerminatedTogether), run);
}

// Left to race, the demo may close in order before the server goes: then it ends as it does on
// any TERM. Either way it ends promptly, and never says anything else.
TEST_F(DisplayLossE2E, TerminatedRacingTheServer) {
  int lost = 0;
  for (int run = 0; run < 5 && !HasFailure(); ++run) {
    Outcome o = Run(Loss::TerminatedRacing);
    if (WIFEXITED(o.waitStatus) && WEXITSTATUS(o.waitStatus) == 0 && o.err.empty()) {
      EXPECT_TRUE(o.screenshot) << "run " << run;
      continue;
    }
    ExpectLoss(o, run);
    ++lost;
  }
  std::printf("the display was lost in %d of 5 races\n", lost);
}

}  // namespace
}  // namespace quill
