// ZMenuEntry: one item of a fly menu's entry table: menu flags, command id, caption, background
// colour and a borrowed icon.
#pragma once

#include <cstdint>

#include "quillui/framework/base/color.h"

namespace quill {

class ZIcon;

class ZMenuEntry {
 public:
  // Flags 0, id 0, no text, no icon, the menu background colour (GetMenuBkgndColor).
  ZMenuEntry();
  // The text is copied (null stays null); the icon is borrowed. The first form takes the menu
  // background colour.
  ZMenuEntry(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon);
  ZMenuEntry(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon, COLORREF color);
  // Copies every field: the text is duplicated, the icon shared.
  ZMenuEntry(const ZMenuEntry& other);
  ZMenuEntry& operator=(const ZMenuEntry&) = delete;
  // Frees the text only.
  ~ZMenuEntry();

  // Frees the text and keeps a copy of the new one (null stays null).
  void SetText(const char* newText);

  uint32_t flags = 0;     // MF_BITMAP, MF_CHECKED, MF_POPUP, MF_SEPARATOR
  uint32_t idCmd = 0;     // command sent when chosen; 0 for separators made from a menu
  char* text = nullptr;   // owned zero-terminated copy, or null
  COLORREF color = 0;     // palette-relative background colour (0x02BBGGRR)
  ZIcon* icon = nullptr;  // borrowed: never deleted by the entry
};

}  // namespace quill
