// Translation of SDL events into the framework's raw input: keys to classic virtual-key codes,
// text to single-byte characters, window coordinates scaled back to screen pixels.
#pragma once

#include <SDL2/SDL.h>

#include <optional>
#include <vector>

#include "quillui/platform/screen/input_event.h"

namespace quill::platform {

// The virtual-key code of an SDL key, or 0 for keys the framework does not know.
uint32_t VirtualKeyFromSdl(SDL_Keycode key);
uint32_t ModifiersFromSdl(uint16_t mod);
// Appends what one SDL event means to out (text input may give several characters).
void TranslateSdlEvent(const SDL_Event& e, int scale, std::vector<InputEvent>& out);
// A UTF-8 text as bytes of the Western code page 1252; characters it lacks are dropped.
std::vector<uint8_t> Utf8ToCp1252(const char* text);

}  // namespace quill::platform
