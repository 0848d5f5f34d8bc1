#include "quillui/platform/screen/screen_backends.h"

#include <cstdlib>

#include "quillui/platform/screen/headless/headless_backend.h"
#include "quillui/platform/screen/sdl/sdl_backend.h"

namespace quill::platform {

BackendChoice OpenScreenBackend(const BackendRequest& request) {
  std::string screen = request.screen;
  if (screen.empty())
    if (const char* env = std::getenv("QUILL_SCREEN")) screen = env;
  bool haveDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  bool wantSdl = screen == "sdl" || (screen.empty() && haveDisplay);

  BackendChoice choice;
  if (wantSdl) {
    std::string error;
    if (auto sdl =
            SdlBackend::Open(request.width, request.height, request.scale, request.title, &error)) {
      choice.backend = std::move(sdl);
      choice.name = "sdl";
      return choice;
    }
    choice.reason = error;
  }
  choice.backend = std::make_unique<HeadlessBackend>();
  choice.name = "headless";
  return choice;
}

}  // namespace quill::platform
