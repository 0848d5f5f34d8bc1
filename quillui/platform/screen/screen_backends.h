// The display backends, in one table: each has a name, a line that says what it is, and a way
// to open it. QUILL_SCREEN (or a program's --screen) names the one wanted; without a name SDL
// is chosen when a display is there, and headless when none is or SDL cannot open a window.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "quillui/platform/screen/screen_backend.h"

namespace quill::platform {

struct BackendRequest {
  std::string screen;  // a name of the table, or empty (QUILL_SCREEN, then the display decide)
  int width = 800;
  int height = 600;
  int scale = 1;
  std::string title = "Quill";
};

struct ScreenBackendEntry {
  const char* name;
  const char* description;
  // Null with a reason when the backend cannot be had.
  std::unique_ptr<ScreenBackend> (*open)(const BackendRequest& request, std::string* error);
};

// Every display backend this build has.
std::span<const ScreenBackendEntry> ScreenBackends();

// The environment variable that names the wanted backend, and its value (empty when unset).
inline constexpr const char* kScreenBackendVariable = "QUILL_SCREEN";
std::string ScreenBackendFromEnvironment();

struct BackendChoice {
  std::unique_ptr<ScreenBackend> backend;  // never null: headless is always there
  std::string name;
  std::string reason;  // why headless was chosen when another was wanted, if it was
};

// Opens the backend the request (or QUILL_SCREEN) names, falling back to headless with a
// reason when it cannot be opened or the name is unknown.
BackendChoice OpenScreenBackend(const BackendRequest& request);

}  // namespace quill::platform
