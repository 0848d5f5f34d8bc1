// Chooses and opens the display backend: SDL when a display is there and nothing says
// otherwise, headless when asked (QUILL_SCREEN=headless, or --screen headless) or when no
// display can be opened.
#pragma once

#include <memory>
#include <string>

#include "quillui/platform/screen/screen_backend.h"

namespace quill::platform {

struct BackendRequest {
  std::string screen;  // "headless", "sdl" or empty (decide from QUILL_SCREEN and the display)
  int width = 800;
  int height = 600;
  int scale = 1;
  std::string title = "Quill";
};

struct BackendChoice {
  std::unique_ptr<ScreenBackend> backend;
  std::string name;    // "sdl" or "headless"
  std::string reason;  // why headless was chosen when SDL was wanted, if it was
};

BackendChoice OpenScreenBackend(const BackendRequest& request);

}  // namespace quill::platform
