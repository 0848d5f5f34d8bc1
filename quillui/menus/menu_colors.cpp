#include "quillui/menus/menu_colors.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "quillui/profile/profile.h"
#include "quillui/testing/menus.h"

namespace quill {

namespace {

constexpr COLORREF kPaletteWhite = 0x02FFFFFFu;

std::optional<COLORREF>& BkgndColor() {
  static std::optional<COLORREF> color;
  return color;
}

// The decimal value of a token as atol reads it (leading sign and digits, 0 for none), held
// in a long without overflow: only its low 8 bits matter.
uint8_t LowByteOf(const std::string& token) {
  const long value = std::strtol(token.c_str(), nullptr, 10);
  return uint8_t(static_cast<unsigned long>(value) & 0xFFu);
}

}  // namespace

std::vector<std::string> SettingTokens(std::string_view text, size_t most) {
  std::vector<std::string> tokens;
  std::string current;
  for (char c : text) {
    if (c == ' ' || c == ',') {
      if (!current.empty()) tokens.push_back(std::move(current));
      current.clear();
      if (tokens.size() == most) break;
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty() && tokens.size() < most) tokens.push_back(std::move(current));
  return tokens;
}

COLORREF ParseMenuColor(std::string_view text) {
  const std::vector<std::string> tokens = SettingTokens(text, 3);
  if (tokens.size() < 3) return kPaletteWhite;
  return PALETTERGB(LowByteOf(tokens[0]), LowByteOf(tokens[1]), LowByteOf(tokens[2]));
}

COLORREF ReadMenuColor(const char* section, const char* key, const char* def) {
  return ParseMenuColor(ZProfile().Get(section, key, def));
}

COLORREF GetMenuBkgndColor() {
  auto& color = BkgndColor();
  if (!color) color = ReadMenuColor("View", "MenuBkgndColor", "153 218 255");
  return *color;
}

void ResetMenuColors() { BkgndColor().reset(); }

}  // namespace quill
