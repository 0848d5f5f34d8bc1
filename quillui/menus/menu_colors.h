// The colours of the fly menus read from the settings file: the colour-text rule and the menu
// background colour, which is also the colour every new menu entry starts with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quillui/framework/base/color.h"

namespace quill {

// The first `most` tokens of a settings value, separated by blanks or commas (empty ones
// skipped).
std::vector<std::string> SettingTokens(std::string_view text, size_t most);

// A colour text of the [View] menu keys: split at spaces and commas; with at least three
// tokens, the palette-relative colour of their decimal values (each reduced to its low 8 bits,
// text that is no number reading 0), red first; with fewer, palette-relative white.
COLORREF ParseMenuColor(std::string_view text);
// The setting's colour text through ParseMenuColor; def is the text used when the key is
// missing.
COLORREF ReadMenuColor(const char* section, const char* key, const char* def);

// [View] MenuBkgndColor ("153 218 255", that is 0x02FFDA99), read once on first use and then
// kept for the life of the process.
COLORREF GetMenuBkgndColor();

}  // namespace quill
