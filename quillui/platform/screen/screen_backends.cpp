#include "quillui/platform/screen/screen_backends.h"

#include <cstdlib>

#include "quillui/platform/screen/headless/headless_backend.h"
#include "quillui/platform/screen/sdl/sdl_backend.h"

namespace quill::platform {

namespace {

std::unique_ptr<ScreenBackend> OpenHeadless(const BackendRequest&, std::string*) {
  return std::make_unique<HeadlessBackend>();
}

std::unique_ptr<ScreenBackend> OpenSdl(const BackendRequest& r, std::string* error) {
  return SdlBackend::Open(r.width, r.height, r.scale, r.title, error);
}

constexpr ScreenBackendEntry kBackends[] = {
    {"sdl", "a real window through SDL2: the screen shown, input from the keyboard and mouse",
     &OpenSdl},
    {"headless", "no window: presents are counted, input is injected, screenshots are written",
     &OpenHeadless},
};

const ScreenBackendEntry* Find(const std::string& name) {
  for (const ScreenBackendEntry& b : kBackends)
    if (name == b.name) return &b;
  return nullptr;
}

}  // namespace

std::span<const ScreenBackendEntry> ScreenBackends() { return kBackends; }

std::string ScreenBackendFromEnvironment() {
  const char* value = std::getenv(kScreenBackendVariable);
  return value ? value : "";
}

BackendChoice OpenScreenBackend(const BackendRequest& request) {
  std::string wanted = request.screen.empty() ? ScreenBackendFromEnvironment() : request.screen;
  if (wanted.empty()) {
    const bool haveDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    wanted = haveDisplay ? "sdl" : "headless";
  }
  BackendChoice choice;
  if (const ScreenBackendEntry* entry = Find(wanted)) {
    std::string error;
    if (auto backend = entry->open(request, &error)) {
      choice.backend = std::move(backend);
      choice.name = entry->name;
      return choice;
    }
    choice.reason = error.empty() ? wanted + " could not be opened" : error;
  } else {
    choice.reason = "no display backend is called \"" + wanted + "\"";
  }
  choice.backend = std::make_unique<HeadlessBackend>();
  choice.name = "headless";
  return choice;
}

}  // namespace quill::platform
