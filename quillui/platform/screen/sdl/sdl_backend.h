// The SDL2 display: the indexed screen shown in a real window (integer-scaled, nearest
// neighbour), input from SDL's events, waits that block until input or the next timer. A dead
// connection to the display is reported as a lost display (display_loss.h); from then on the
// backend leaves the display alone, its destructor included.
#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <string>

#include "quillui/platform/screen/pixel_convert.h"
#include "quillui/platform/screen/screen_backend.h"

namespace quill::platform {

class SdlBackend final : public ScreenBackend {
 public:
  // Opens the window; null with a reason when SDL or the display cannot be had.
  static std::unique_ptr<SdlBackend> Open(int width, int height, int scale,
                                          const std::string& title, std::string* error);
  ~SdlBackend() override;

  const char* Name() const override { return "sdl"; }
  void Present(const ScreenSurface& surface) override;
  void PollInput(int timeoutMs, std::vector<InputEvent>& out) override;
  void Wake() override;
  void SetCursor(CursorShape shape) override;

  // Pixels converted and uploaded by the last present, for tests of dirty presenting.
  long LastUploadedPixels() const { return lastUploaded_; }
  int Scale() const { return scale_; }

 private:
  SdlBackend() = default;

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* cursors_[5] = {};
  int width_ = 0;
  int height_ = 0;
  int scale_ = 1;
  XrgbLut lut_{};
  uint32_t lutGeneration_ = UINT32_MAX;
  std::vector<uint32_t> staging_;
  long lastUploaded_ = 0;
  uint32_t wakeEvent_ = 0;
};

}  // namespace quill::platform
