// The SDL backend without a display (SDL's dummy video driver): input translation,
// presenting only what changed, no window on a driver that shows nothing unless asked for, and
// the conversion of indices to display pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "quillui/platform/screen/pixel_convert.h"
#include "quillui/platform/screen/sdl/sdl_backend.h"
#include "quillui/platform/screen/sdl/sdl_input.h"

namespace quill::platform {
namespace {

SDL_Event KeyEvent(Uint32 type, SDL_Keycode sym, Uint16 mod = 0) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

TEST(SdlInputTest, KeysMapToVirtualKeyCodes) {
  struct Case {
    SDL_Keycode sym;
    uint32_t vk;
  };
  for (const Case& c :
       {Case{SDLK_a, 'A'}, Case{SDLK_z, 'Z'}, Case{SDLK_0, '0'}, Case{SDLK_9, '9'},
        Case{SDLK_F1, 0x70}, Case{SDLK_F6, 0x75}, Case{SDLK_F12, 0x7B}, Case{SDLK_LEFT, 0x25},
        Case{SDLK_DOWN, 0x28}, Case{SDLK_TAB, 0x09}, Case{SDLK_RETURN, 0x0D},
        Case{SDLK_ESCAPE, 0x1B}, Case{SDLK_LSHIFT, 0x10}, Case{SDLK_RCTRL, 0x11},
        Case{SDLK_LALT, 0x12}, Case{SDLK_CAPSLOCK, 0x14}, Case{SDLK_F13, 0}}) {
    EXPECT_EQ(VirtualKeyFromSdl(c.sym), c.vk) << SDL_GetKeyName(c.sym);
  }
}

TEST(SdlInputTest, EventsBecomeRawInput) {
  std::vector<InputEvent> out;
  TranslateSdlEvent(KeyEvent(SDL_KEYDOWN, SDLK_F6, KMOD_LSHIFT), 1, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].kind, InputKind::KeyDown);
  EXPECT_EQ(out[0].virtualKey, 0x75u);
  EXPECT_EQ(out[0].modifiers, kModShift);

  out.clear();
  TranslateSdlEvent(KeyEvent(SDL_KEYDOWN, SDLK_RETURN), 1, out);  // Enter also types a CR
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1].kind, InputKind::Char);
  EXPECT_EQ(out[1].character, 0x0Du);

  out.clear();
  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  click.button.button = SDL_BUTTON_RIGHT;
  click.button.x = 201;
  click.button.y = 99;
  click.button.clicks = 2;  // SDL's own count is ignored: the framework decides double-clicks
  TranslateSdlEvent(click, 2, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].kind, InputKind::ButtonDown);
  EXPECT_EQ(out[0].button, MouseButton::Right);
  EXPECT_EQ(out[0].x, 100);  // scaled back to screen pixels
  EXPECT_EQ(out[0].y, 49);

  out.clear();
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  std::snprintf(text.text.text, sizeof text.text.text, "%s", "a\xC3\xA9\xE2\x82\xAC\xE4\xB8\x80");
  TranslateSdlEvent(text, 1, out);  // a, e-acute, euro; the CJK character has no byte
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].character, uint32_t('a'));
  EXPECT_EQ(out[1].character, 0xE9u);
  EXPECT_EQ(out[2].character, 0x80u);

  out.clear();
  SDL_Event win{};
  win.type = SDL_WINDOWEVENT;
  win.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  TranslateSdlEvent(win, 1, out);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  TranslateSdlEvent(quit, 1, out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].kind, InputKind::FocusLost);
  EXPECT_EQ(out[1].kind, InputKind::Close);
}

TEST(SdlInputTest, MalformedUtf8IsSkipped) {
  EXPECT_EQ(Utf8ToCp1252("\xC3"), std::vector<uint8_t>{});
  EXPECT_EQ(Utf8ToCp1252("\x80x\xE2\x82"), std::vector<uint8_t>{'x'});
}

TEST(SdlBackendTest, PresentUploadsOnlyWhatChanged) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  std::string error;
  auto backend = SdlBackend::Open(320, 200, 1, "test", &error);
  if (!backend) GTEST_SKIP() << "no SDL video: " << error;
  ScreenSurface surface(320, 200);
  backend->Present(surface);  // the first present converts the whole frame
  EXPECT_EQ(backend->LastUploadedPixels(), 320 * 200);
  surface.ClearDirty();
  surface.Row(10)[20] = 5;
  surface.MarkDirty({20, 10, 1, 1});
  backend->Present(surface);
  EXPECT_EQ(backend->LastUploadedPixels(), 1);
  surface.ClearDirty();
  PaletteColor red{255, 0, 0};
  surface.SetPaletteEntries(100, &red, 1);  // a palette change shows everywhere
  backend->Present(surface);
  EXPECT_EQ(backend->LastUploadedPixels(), 320 * 200);
}

// Sets an environment variable (null: removes it) until the end of the scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// With no server to connect to (it went away while the program started), SDL settles for a
// driver that shows nothing, and the program would run on unseen; the backend refuses it.
TEST(SdlBackendTest, RefusesADriverThatShowsNothingUnlessAskedFor) {
  ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
  ScopedEnv display("DISPLAY", ":9999");
  ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
  // Without a session bus named, SDL's D-Bus start-up launches one and keeps a buffer of its
  // answer for good; none is needed here.
  ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
  std::string error;
  auto backend = SdlBackend::Open(320, 200, 1, "test", &error);
  if (backend) {
    const char* chosen = SDL_GetCurrentVideoDriver();
    std::string name = chosen ? chosen : "";
    ASSERT_NE(name, "offscreen");
    ASSERT_NE(name, "dummy");
    GTEST_SKIP() << "this machine has a display of another kind: " << name;
  }
  EXPECT_NE(error.find("SDL video"), std::string::npos) << error;
}

TEST(PixelConvertTest, IndicesBecomeXrgbThroughThePalette) {
  auto palette = ScreenSurface::DefaultPalette();
  XrgbLut lut = BuildXrgbLut(palette);
  EXPECT_EQ(lut[249], 0xFFFF0000u);  // the static bright red
  uint8_t src[2][5] = {{0, 249, 255, 7, 0}, {1, 2, 3, 4, 5}};
  uint32_t dst[2][6] = {};
  ConvertIndexedToXrgb(&src[0][0], 5, &dst[0][0], 6, 5, 2, lut);
  EXPECT_EQ(dst[0][1], 0xFFFF0000u);
  EXPECT_EQ(dst[0][2], 0xFFFFFFFFu);
  EXPECT_EQ(dst[1][4], lut[5]);
  EXPECT_EQ(dst[0][5], 0u);  // past the width: untouched
}

// Every path against pixels worked out here: random indices and colours, widths around the
// vector path's 64-pixel step, padded rows whose padding must stay untouched, and sources
// whose rows run top-down or bottom-up (first row in memory the bottom one, stride negative).
TEST(PixelConvertTest, EveryPathConvertsTopDownAndBottomUpSources) {
  std::mt19937 random(7);
  XrgbLut lut;
  for (uint32_t& entry : lut) entry = 0xFF000000u | (random() & 0xFFFFFFu);
  constexpr uint32_t kUntouched = 0x12345678u;
  for (bool bottomUp : {false, true}) {
    for (int width : {1, 63, 64, 65, 127, 128, 200, 1024}) {
      SCOPED_TRACE(::testing::Message() << (bottomUp ? "bottom-up " : "top-down ") << width);
      const int height = 3;
      const size_t srcStep = size_t(width) + 5;
      const size_t dstStride = size_t(width) + 3;
      std::vector<uint8_t> src(srcStep * height);
      for (uint8_t& b : src) b = uint8_t(random());
      const ptrdiff_t srcStride = bottomUp ? -ptrdiff_t(srcStep) : ptrdiff_t(srcStep);
      std::vector<uint32_t> want(dstStride * height, kUntouched);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          want[size_t(y) * dstStride + size_t(x)] =
              lut[src[size_t(bottomUp ? height - 1 - y : y) * srcStep + size_t(x)]];

      std::vector<uint32_t> plain(want.size(), kUntouched);
      ConvertIndexedToXrgbScalar(src.data(), srcStride, plain.data(), dstStride, width, height,
                                 lut);
      EXPECT_EQ(plain, want);
      std::vector<uint32_t> chosen(want.size(), kUntouched);
      ConvertIndexedToXrgb(src.data(), srcStride, chosen.data(), dstStride, width, height, lut);
      EXPECT_EQ(chosen, want);
      std::vector<uint32_t> vector(want.size(), kUntouched);
      if (ConvertIndexedToXrgbVector(src.data(), srcStride, vector.data(), dstStride, width, height,
                                     lut)) {
        EXPECT_EQ(vector, want);
      }
    }
  }
}

}  // namespace
}  // namespace quill::platform
