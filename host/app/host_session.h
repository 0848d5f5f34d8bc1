// The program around its frame: the reader's settings, the art, the routing and the bookmark
// list brought up, the frame made and filled; headless, input delivered and time moved on a
// manual clock. main() runs one session; the tests run many.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/app/host_frame.h"
#include "quillui/framework/window/application.h"
#include "quillui/platform/screen/input_script.h"

namespace quill::platform {
class ManualClock;
}

namespace quillonary {

struct SessionOptions {
  int width = 800;
  int height = 600;
  std::string art;       // the library's art; empty: the build tree's or the installed one
  std::string settings;  // the reader's settings file (see host_setup.h)
};

class HostSession {
 public:
  // Needs the window system installed at the options' size. False, with the reason, when the
  // frame cannot be made.
  HostSession(const SessionOptions& options, const ContentStore& store);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  bool Start(std::string* error);
  HostFrame& Frame() { return *frame_; }
  quill::TApplication& App() { return app_; }
  bool FrameOpen() const;

  // Headless driving (the window system's clock must be a manual one for Wait).
  void Settle();
  void Wait(uint64_t ms);
  void Inject(const quill::platform::InputEvent& event);
  // Replays steps, writing screenshots into outDir; false when one could not be written.
  // Stops early when the script closes the program.
  bool Replay(const std::vector<quill::platform::ScriptStep>& steps, const std::string& outDir);

 private:
  SessionOptions options_;
  const ContentStore& store_;
  quill::TApplication app_{"quillonary"};
  std::unique_ptr<HostFrame> frame_;
};

}  // namespace quillonary
