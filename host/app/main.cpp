// quillonary: the sample encyclopedia. With a display it opens a window; headless (no display,
// --screen headless or --script) it replays a script -- by default a short tour -- on a manual
// clock, writes the screenshots the script asks for into the output folder and exits.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/app/host_session.h"
#include "host/app/host_setup.h"
#include "host/app/tour.h"
#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/clock.h"
#include "quillui/platform/screen/input_script.h"
#include "quillui/platform/screen/screen_backends.h"

namespace {

namespace fs = std::filesystem;
using namespace quill;

struct Options {
  std::string screen;
  std::string out = "out";
  std::string script;
  std::string content;
  std::string art;
  std::string home;
  int width = 800;
  int height = 600;
  int scale = 1;
  bool report = false;  // start-up time and memory on standard output
};

void Usage() {
  std::fputs(
      "usage: quillonary [--screen headless|sdl] [--size 640x480|800x600|1024x768] [--scale N]\n"
      "                  [--script FILE] [--out DIR] [--content DIR] [--art DIR] [--home DIR]\n"
      "                  [--report]\n"
      "Headless (no display, --screen headless, or a --script) the program replays the script\n"
      "(by default a short tour), writes the screenshots it asks for into --out (default out/)\n"
      "and exits. --home is the reader's folder for settings and bookmark lists (default\n"
      "~/.config/quillonary; headless: OUT/home). --report prints when the first frame was\n"
      "presented (milliseconds since the epoch) and, at the end, the memory in use.\n",
      stderr);
}

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--screen" && hasValue) {
      o.screen = argv[++i];
      if (o.screen != "headless" && o.screen != "sdl") return false;
    } else if (a == "--size" && hasValue) {
      int w = 0, h = 0;
      if (std::sscanf(argv[++i], "%dx%d", &w, &h) != 2) return false;
      if (!((w == 640 && h == 480) || (w == 800 && h == 600) || (w == 1024 && h == 768)))
        return false;
      o.width = w, o.height = h;
    } else if (a == "--scale" && hasValue) {
      o.scale = std::atoi(argv[++i]);
      if (o.scale < 1 || o.scale > 4) return false;
    } else if (a == "--script" && hasValue) {
      o.script = argv[++i];
    } else if (a == "--out" && hasValue) {
      o.out = argv[++i];
    } else if (a == "--content" && hasValue) {
      o.content = argv[++i];
    } else if (a == "--art" && hasValue) {
      o.art = argv[++i];
    } else if (a == "--home" && hasValue) {
      o.home = argv[++i];
    } else if (a == "--report") {
      o.report = true;
    } else {
      return false;
    }
  }
  return true;
}

bool ReadScript(const std::string& path, std::string& text, std::string& error) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec) {
    error = "cannot read " + path + ": " + ec.message();
    return false;
  }
  if (size > (uint64_t(4) << 20)) {
    error = path + " is larger than 4 MiB";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  text = all.str();
  return true;
}

// The memory the process holds now and at most, as the kernel counts it.
void ReportMemory() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0 || line.rfind("VmHWM:", 0) == 0)
      std::printf("quillonary: %s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillonary;
  Options options;
  if (!Parse(argc, argv, options)) {
    Usage();
    return 2;
  }
  std::string scriptText;
  if (!options.script.empty()) {
    std::string error;
    if (!ReadScript(options.script, scriptText, error)) {
      std::fprintf(stderr, "quillonary: %s\n", error.c_str());
      return 2;
    }
    options.screen = "headless";
  }

  platform::BackendRequest request;
  request.screen = options.screen;
  request.width = options.width;
  request.height = options.height;
  request.scale = options.scale;
  request.title = "Quillonary";
  platform::BackendChoice choice = platform::OpenScreenBackend(request);
  if (!choice.reason.empty())
    std::fprintf(stderr, "quillonary: no display window (%s); running headless\n",
                 choice.reason.c_str());
  const bool headless = choice.name == "headless";
  if (headless && scriptText.empty()) {
    // The tour clicks where things are at 800 x 600; at other sizes it takes one picture.
    scriptText = options.width == 800 && options.height == 600 ? TourScript()
                                                               : "shot quillonary-tableau.png";
  }
  std::vector<platform::ScriptStep> steps;
  {
    std::string error;
    if (!platform::ParseInputScript(scriptText, steps, &error)) {
      std::fprintf(stderr, "quillonary: %s: %s\n",
                   options.script.empty() ? "the tour" : options.script.c_str(), error.c_str());
      return 2;
    }
  }

  HostPaths paths;
  paths.content = FindContentDir(options.content);
  paths.home = FindHomeDir(
      options.home.empty() && headless ? (fs::path(options.out) / "home").string() : options.home);
  std::string error;
  if (!PrepareHome(paths, &error)) {
    std::fprintf(stderr, "quillonary: %s\n", error.c_str());
    return 1;
  }
  ContentStore store;
  if (!store.Load(paths.content, &error)) {
    std::fprintf(stderr, "quillonary: %s\n", error.c_str());
    return 1;
  }
  if (store.Skipped() > 0)
    std::fprintf(stderr, "quillonary: %d articles could not be read and are left out\n",
                 store.Skipped());

  TWindowSystemOptions system;
  system.width = options.width;
  system.height = options.height;
  system.backend = std::move(choice.backend);
  if (headless) {
    system.clock = std::make_unique<platform::ManualClock>();
    // Nobody can answer a question headless: each gets the answer it would without a display.
    SetAnswerHook(AnswerWithoutDisplay);
  }
  TWindowSystem::Install(std::move(system));

  int status = 0;
  {
    SessionOptions session;
    session.width = options.width;
    session.height = options.height;
    session.art = options.art;
    session.settings = paths.settings;
    HostSession host(session, store);
    if (!host.Start(&error)) {
      std::fprintf(stderr, "quillonary: %s\n", error.c_str());
      status = 1;
    } else if (host.Settle(); options.report) {
      // The first frame has been painted and presented.
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      std::printf("quillonary: first frame presented at %lld ms\n",
                  (long long)std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
      std::fflush(stdout);
    }
    if (status != 0) {
      // nothing more to do
    } else if (headless) {
      if (!host.Replay(steps, options.out)) status = 1;
      if (options.report) ReportMemory();
      if (host.FrameOpen()) host.Frame().CloseWindow();
      host.Settle();
    } else {
      status = host.App().Run();
    }
  }
  TWindowSystem::Uninstall();
  return status;
}
