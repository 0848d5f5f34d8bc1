#include "quillui/platform/screen/sdl/sdl_backend.h"

#include <algorithm>
#include <cstring>

#include "quillui/platform/screen/display_loss.h"
#include "quillui/platform/screen/sdl/sdl_input.h"
#include "quillui/platform/screen/sdl/x11_connection.h"

namespace quill::platform {

std::unique_ptr<SdlBackend> SdlBackend::Open(int width, int height, int scale,
                                             const std::string& title, std::string* error) {
  auto fail = [&](const char* what) -> std::unique_ptr<SdlBackend> {
    if (error) *error = std::string(what) + ": " + SDL_GetError();
    return nullptr;
  };
  // Before SDL first talks to the server: one that dies during start-up is a lost display too.
  WatchX11Connection();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    StopWatchingX11Connection();
    return fail("SDL video");
  }
  std::unique_ptr<SdlBackend> b(new SdlBackend());
  // When the server goes away while SDL connects, SDL quietly settles for a driver that shows
  // nothing, and the program would run on unseen.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (driver && (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy")) &&
      !(asked && std::strstr(asked, driver))) {
    SDL_SetError("no display to show a window on (SDL fell back to its %s driver)", driver);
    return fail("SDL video");
  }
  b->width_ = width;
  b->height_ = height;
  b->scale_ = std::clamp(scale, 1, 8);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  b->window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                width * b->scale_, height * b->scale_, SDL_WINDOW_SHOWN);
  if (!b->window_) return fail("SDL window");
  // The software renderer copies the frame exactly (no filtering, no colour management) and a
  // palette screen of this size costs it next to nothing.
  b->renderer_ = SDL_CreateRenderer(b->window_, -1, SDL_RENDERER_SOFTWARE);
  if (!b->renderer_) b->renderer_ = SDL_CreateRenderer(b->window_, -1, 0);
  if (!b->renderer_) return fail("SDL renderer");
  b->texture_ = SDL_CreateTexture(b->renderer_, SDL_PIXELFORMAT_ARGB8888,
                                  SDL_TEXTUREACCESS_STREAMING, width, height);
  if (!b->texture_) return fail("SDL texture");
  b->wakeEvent_ = SDL_RegisterEvents(1);
  SDL_StartTextInput();
  return b;
}

SdlBackend::~SdlBackend() {
  // Closing over a dead connection is what never ends.
  if (DisplayIsLost()) return;
  for (SDL_Cursor* c : cursors_)
    if (c) SDL_FreeCursor(c);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();  // releases SDL's D-Bus connection too
  StopWatchingX11Connection();
}

void SdlBackend::Present(const ScreenSurface& surface) {
  if (DisplayIsLost()) return;
  bool whole = surface.PaletteDirty() || lutGeneration_ != surface.PaletteGeneration();
  if (whole) {
    lut_ = BuildXrgbLut(surface.Palette());
    lutGeneration_ = surface.PaletteGeneration();
  }
  std::vector<PixelRect> rects;
  if (whole)
    rects.push_back({0, 0, std::min(width_, surface.Width()), std::min(height_, surface.Height())});
  else
    rects = surface.Dirty();
  lastUploaded_ = 0;
  for (const PixelRect& r : rects) {
    int w = std::min(r.w, width_ - r.x), h = std::min(r.h, height_ - r.y);
    if (w <= 0 || h <= 0) continue;
    staging_.resize(size_t(w) * size_t(h));
    ConvertIndexedToXrgb(surface.Row(r.y) + r.x, surface.Stride(), staging_.data(), size_t(w), w, h,
                         lut_);
    SDL_Rect dst{r.x, r.y, w, h};
    SDL_UpdateTexture(texture_, &dst, staging_.data(), w * 4);
    lastUploaded_ += long(w) * h;
  }
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

void SdlBackend::PollInput(int timeoutMs, std::vector<InputEvent>& out) {
  if (DisplayIsLost()) return;
  SDL_Event e;
  bool got = timeoutMs < 0    ? SDL_WaitEvent(&e) == 1
             : timeoutMs == 0 ? SDL_PollEvent(&e) == 1
                              : SDL_WaitEventTimeout(&e, timeoutMs) == 1;
  while (got) {
    if (e.type != wakeEvent_) TranslateSdlEvent(e, scale_, out);
    got = SDL_PollEvent(&e) == 1;
  }
}

void SdlBackend::Wake() {
  if (DisplayIsLost()) return;  // SDL's wake-up is a message through the server
  SDL_Event e{};
  e.type = wakeEvent_;
  SDL_PushEvent(&e);  // SDL's event queue is safe to push to from any thread
}

void SdlBackend::SetCursor(CursorShape shape) {
  if (DisplayIsLost()) return;
  static constexpr SDL_SystemCursor kSystem[5] = {SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_HAND,
                                                  SDL_SYSTEM_CURSOR_WAIT, SDL_SYSTEM_CURSOR_IBEAM,
                                                  SDL_SYSTEM_CURSOR_SIZEALL};
  size_t i = std::min<size_t>(size_t(shape), 4);
  if (!cursors_[i]) cursors_[i] = SDL_CreateSystemCursor(kSystem[i]);
  if (cursors_[i]) SDL_SetCursor(cursors_[i]);
}

}  // namespace quill::platform
