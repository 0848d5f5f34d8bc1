// quill-demo: the framework in one window. Headless it writes a screenshot and exits; with a
// display it runs until the window is closed (or Escape), then writes the screenshot too, and
// so it does when the display goes away under it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "demo/demo_frame.h"
#include "demo/fly_menu_mode.h"
#include "demo/tableau_mode.h"
#include "demo/title_bar_mode.h"
#include "quillui/app/art_dir.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/clock.h"
#include "quillui/platform/screen/headless/headless_backend.h"
#include "quillui/platform/screen/input_script.h"
#include "quillui/platform/screen/screen_backends.h"

namespace {

struct Options {
  std::string screen;
  std::string out = "out/demo.png";
  int width = 800;
  int height = 600;
  int scale = 1;
  std::string input;  // headless only: input to replay, see quillui/platform/screen/input_script.h
  bool idleHungry = false;
  bool flyMenu = false;
  bool titleBar = false;
  bool tableau = false;
  std::string art;             // the folder of the library's art, when not the installed one
  unsigned doubleClickMs = 0;  // 0: the framework's default
};

void Usage() {
  std::fprintf(
      stderr,
      "usage: quill-demo [--screen headless|sdl] [--size 640x480|800x600|1024x768]\n"
      "                  [--scale N] [--out FILE.png] [--input \"click 10 10; key F6\"]\n"
      "                  [--idle-hungry] [--flymenu] [--titlebar] [--tableau] [--art DIR]\n"
      "--idle-hungry opens a small window that asks for idle time at every round, as an open\n"
      "menu watching the mouse does; its idle calls are counted at the end.\n"
      "--flymenu: a right click opens a fly menu (headless, time runs on a manual clock that\n"
      "jumps to each timer the input leaves waiting).\n"
      "--titlebar: two panes with title bars (timed like --flymenu); --art names the art "
      "folder.\n"
      "--tableau: the tableau with its four panes over the art's background (timed like\n"
      "--flymenu).\n"
      "--double-click-ms N: two presses up to N ms apart make a double click (1..5000).\n");
}

bool ParseSize(const char* text, Options& o) {
  int w = 0, h = 0;
  if (std::sscanf(text, "%dx%d", &w, &h) != 2) return false;
  if (!((w == 640 && h == 480) || (w == 800 && h == 600) || (w == 1024 && h == 768))) return false;
  o.width = w;
  o.height = h;
  return true;
}

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--screen" && hasValue) {
      o.screen = argv[++i];
      if (o.screen != "headless" && o.screen != "sdl") return false;
    } else if (a == "--size" && hasValue) {
      if (!ParseSize(argv[++i], o)) return false;
    } else if (a == "--scale" && hasValue) {
      o.scale = std::atoi(argv[++i]);
      if (o.scale < 1 || o.scale > 4) return false;
    } else if (a == "--input" && hasValue) {
      o.input = argv[++i];
    } else if (a == "--idle-hungry") {
      o.idleHungry = true;
    } else if (a == "--flymenu") {
      o.flyMenu = true;
    } else if (a == "--titlebar") {
      o.titleBar = true;
    } else if (a == "--tableau") {
      o.tableau = true;
    } else if (a == "--art" && hasValue) {
      o.art = argv[++i];
    } else if (a == "--double-click-ms" && hasValue) {
      const int ms = std::atoi(argv[++i]);
      if (ms < 1 || ms > 5000) return false;
      o.doubleClickMs = unsigned(ms);
    } else if (a == "--out" && hasValue) {
      o.out = argv[++i];
    } else {
      return false;
    }
  }
  return true;
}

// Writes the screen to --out; answers the exit status that makes.
int WriteScreenshot(const Options& options, bool headless) {
  std::filesystem::path out(options.out);
  std::error_code ec;
  if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), ec);
  std::string error;
  if (!quill::TWindowSystem::Get().Screen().SaveScreenshot(options.out, &error)) {
    std::fprintf(stderr, "quill-demo: %s\n", error.c_str());
    return 1;
  }
  std::printf("quill-demo: %s screen %dx%d written to %s\n", headless ? "headless" : "sdl",
              options.width, options.height, options.out.c_str());
  return 0;
}

// A small window in the frame's corner that always wants more idle time.
class IdleHungryWindow final : public quill::TWindow {
 public:
  explicit IdleHungryWindow(quill::TWindow* parent) : TWindow(parent, "idle-hungry") {
    Attr.X = 4;
    Attr.Y = 4;
    Attr.W = Attr.H = 12;
    SetBkgndColor(quill::TColor::LtMagenta);
  }
  bool IdleAction(long) override {
    ++calls;
    return true;
  }
  long calls = 0;
};

class DemoApp final : public quill::TApplication {
 public:
  explicit DemoApp(const Options& options) : TApplication("quill-demo"), options_(options) {}

  quill::demo::FlyMenuMode* flyMenu = nullptr;

  bool ProcessAppMsg(quill::MSG& msg) override {
    if (flyMenu && msg.message == quill::WM_RBUTTONDOWN &&
        flyMenu->RightClick(quill::TPoint(msg.ptX, msg.ptY)))
      return true;
    return TApplication::ProcessAppMsg(msg);
  }

  // The window is gone with the display, but what it showed last is still written.
  void ClosingWithoutDisplay() override {
    WriteScreenshot(options_, false);
    TApplication::ClosingWithoutDisplay();
  }

 private:
  const Options& options_;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace quill;
  Options options;
  if (!Parse(argc, argv, options)) {
    Usage();
    return 2;
  }

  platform::BackendRequest request;
  request.screen = options.screen;
  request.width = options.width;
  request.height = options.height;
  request.scale = options.scale;
  request.title = "Quill demo";
  std::vector<platform::ScriptStep> script;
  std::string scriptError;
  if (!platform::ParseInputScript(options.input, script, &scriptError)) {
    std::fprintf(stderr, "quill-demo: --input: %s\n", scriptError.c_str());
    return 2;
  }
  platform::BackendChoice choice = platform::OpenScreenBackend(request);
  if (!choice.reason.empty())
    std::fprintf(stderr, "quill-demo: no display window (%s); running headless\n",
                 choice.reason.c_str());
  bool headless = choice.name == "headless";

  TWindowSystemOptions system;
  system.width = options.width;
  system.height = options.height;
  system.backend = std::move(choice.backend);
  platform::ManualClock* manualClock = nullptr;
  if (headless && (options.flyMenu || options.titleBar || options.tableau)) {
    auto clock = std::make_unique<platform::ManualClock>();
    manualClock = clock.get();
    system.clock = std::move(clock);
  }
  TWindowSystem::Install(std::move(system));
  if (!options.art.empty()) SetArtDir(options.art);
  if (options.doubleClickMs != 0) SetDoubleClickTime(options.doubleClickMs);

  int status = 0;
  {
    DemoApp app(options);
    std::unique_ptr<demo::TableauMode> tableau;
    std::unique_ptr<demo::DemoFrame> demoFrame;
    if (options.tableau)
      tableau = std::make_unique<demo::TableauMode>(options.width, options.height);
    else
      demoFrame = std::make_unique<demo::DemoFrame>(options.width, options.height);
    TWindow& frame = tableau ? tableau->Frame() : *demoFrame;
    if (!frame.Create()) {
      std::fprintf(stderr, "quill-demo: cannot create the frame\n");
      return 1;
    }
    app.SetMainWindow(&frame);
    IdleHungryWindow* hungry = nullptr;
    if (options.idleHungry) {
      hungry = new IdleHungryWindow(&frame);  // the frame owns it
      hungry->Create();
    }
    std::unique_ptr<demo::FlyMenuMode> flyMenu;
    if (options.flyMenu) {
      flyMenu = std::make_unique<demo::FlyMenuMode>(frame);
      app.flyMenu = flyMenu.get();
    }
    std::unique_ptr<demo::TitleBarMode> titleBar;
    if (options.titleBar) titleBar = std::make_unique<demo::TitleBarMode>(frame);
    frame.SetFocus();
    if (tableau) tableau->Fill();
    if (headless) {
      auto settle = [&] {
        for (int round = 0; round < 1000 && app.PumpWaitingMessages(); ++round) {
        }
        // Time the input left waiting (a submenu's delay) passes at once.
        for (int timers = 0; manualClock && timers < 100; ++timers) {
          const uint64_t due = TWindowSystem::Get().NextTimerDue();
          if (due == UINT64_MAX || due > manualClock->NowMs() + 10000) break;
          manualClock->Set(due);
          for (int round = 0; round < 1000 && app.PumpWaitingMessages(); ++round) {
          }
        }
      };
      settle();
      auto& headlessBackend =
          static_cast<platform::HeadlessBackend&>(TWindowSystem::Get().Backend());
      for (const platform::ScriptStep& step : script) {
        if (step.kind == platform::ScriptStep::kInput) {
          headlessBackend.Inject(step.event);
        } else if (step.kind == platform::ScriptStep::kWait && manualClock) {
          manualClock->Set(manualClock->NowMs() + step.waitMs);
        } else if (step.kind == platform::ScriptStep::kShot) {
          Options shot = options;
          shot.out = (std::filesystem::path(options.out).parent_path() / step.shot).string();
          WriteScreenshot(shot, headless);
        }
        settle();
      }
    } else {
      status = app.Run();
    }
    if (WriteScreenshot(options, headless) != 0) status = 1;
    if (titleBar) titleBar->ReportMenu();
    if (hungry)
      std::printf("quill-demo: %ld idle calls to the idle-hungry window\n", hungry->calls);
    app.flyMenu = nullptr;
  }
  TWindowSystem::Uninstall();
  return status;
}
