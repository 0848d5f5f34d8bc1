#include "quillui/platform/screen/sdl/sdl_input.h"

#include <algorithm>

namespace quill::platform {

uint32_t VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return uint32_t('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return uint32_t('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70u + uint32_t(key - SDLK_F1);
  switch (key) {
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return 0x09;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 0x0D;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 0x11;
    case SDLK_LALT:
    case SDLK_RALT: return 0x12;
    case SDLK_PAUSE: return 0x13;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_ESCAPE: return 0x1B;
    case SDLK_SPACE: return 0x20;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    case SDLK_INSERT: return 0x2D;
    case SDLK_DELETE: return 0x2E;
    default: return 0;
  }
}

uint32_t ModifiersFromSdl(uint16_t mod) {
  uint32_t m = 0;
  if (mod & KMOD_SHIFT) m |= kModShift;
  if (mod & KMOD_CTRL) m |= kModCtrl;
  if (mod & KMOD_ALT) m |= kModAlt;
  return m;
}

std::vector<uint8_t> Utf8ToCp1252(const char* text) {
  // Code page 1252's characters in 0x80-0x9F; zero where the byte is unassigned.
  static constexpr char32_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::vector<uint8_t> out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (p && *p) {
    char32_t c;
    int extra;
    if (*p < 0x80) {
      c = *p;
      extra = 0;
    } else if ((*p & 0xE0) == 0xC0) {
      c = *p & 0x1F;
      extra = 1;
    } else if ((*p & 0xF0) == 0xE0) {
      c = *p & 0x0F;
      extra = 2;
    } else if ((*p & 0xF8) == 0xF0) {
      c = *p & 0x07;
      extra = 3;
    } else {
      ++p;
      continue;
    }
    ++p;
    bool ok = true;
    for (int i = 0; i < extra; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (*p & 0x3F);
    }
    if (!ok) continue;
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(uint8_t(c));
    } else {
      for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c) {
          out.push_back(uint8_t(0x80 + i));
          break;
        }
    }
  }
  return out;
}

void TranslateSdlEvent(const SDL_Event& e, int scale, std::vector<InputEvent>& out) {
  scale = std::max(scale, 1);
  InputEvent ev;
  switch (e.type) {
    case SDL_MOUSEMOTION:
      ev.kind = InputKind::MouseMove;
      ev.x = e.motion.x / scale;
      ev.y = e.motion.y / scale;
      ev.modifiers = ModifiersFromSdl(uint16_t(SDL_GetModState()));
      out.push_back(ev);
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      ev.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputKind::ButtonDown : InputKind::ButtonUp;
      ev.x = e.button.x / scale;
      ev.y = e.button.y / scale;
      ev.button = e.button.button == SDL_BUTTON_LEFT     ? MouseButton::Left
                  : e.button.button == SDL_BUTTON_RIGHT  ? MouseButton::Right
                  : e.button.button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                                         : MouseButton::None;
      ev.modifiers = ModifiersFromSdl(uint16_t(SDL_GetModState()));
      // The framework decides double-clicks by its own rule; SDL's click count is ignored.
      if (ev.button != MouseButton::None) out.push_back(ev);
      return;
    case SDL_MOUSEWHEEL:
      ev.kind = InputKind::Wheel;
      ev.wheelDelta = e.wheel.y * 120;
      SDL_GetMouseState(&ev.x, &ev.y);
      ev.x /= scale;
      ev.y /= scale;
      if (ev.wheelDelta) out.push_back(ev);
      return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      ev.kind = e.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
      ev.virtualKey = VirtualKeyFromSdl(e.key.keysym.sym);
      ev.modifiers = ModifiersFromSdl(e.key.keysym.mod);
      ev.repeat = e.key.repeat != 0;
      if (ev.virtualKey) out.push_back(ev);
      if (e.type == SDL_KEYDOWN && ControlCharacterOf(ev.virtualKey)) {
        InputEvent ch;
        ch.kind = InputKind::Char;
        ch.character = ControlCharacterOf(ev.virtualKey);
        out.push_back(ch);
      }
      return;
    case SDL_TEXTINPUT:
      for (uint8_t c : Utf8ToCp1252(e.text.text)) {
        InputEvent ch;
        ch.kind = InputKind::Char;
        ch.character = c;
        out.push_back(ch);
      }
      return;
    case SDL_QUIT:  // closing the one window ends up here
      ev.kind = InputKind::Close;
      out.push_back(ev);
      return;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
          ev.kind = InputKind::FocusLost;
          out.push_back(ev);
          return;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          ev.kind = InputKind::Expose;
          out.push_back(ev);
          return;
        default: return;
      }
    default: return;
  }
}

}  // namespace quill::platform
