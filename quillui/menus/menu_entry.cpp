#include "quillui/menus/menu_entry.h"

#include <cstring>

#include "quillui/menus/menu_colors.h"

namespace quill {

namespace {

char* CopyText(const char* text) {
  if (!text) return nullptr;
  const size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

}  // namespace

ZMenuEntry::ZMenuEntry() : color(GetMenuBkgndColor()) {}

ZMenuEntry::ZMenuEntry(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon)
    : ZMenuEntry(flags, idCmd, text, icon, GetMenuBkgndColor()) {}

ZMenuEntry::ZMenuEntry(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
                       COLORREF color)
    : flags(flags), idCmd(idCmd), text(CopyText(text)), color(color), icon(icon) {}

ZMenuEntry::ZMenuEntry(const ZMenuEntry& other)
    : flags(other.flags),
      idCmd(other.idCmd),
      text(CopyText(other.text)),
      color(other.color),
      icon(other.icon) {}

ZMenuEntry::~ZMenuEntry() { delete[] text; }

void ZMenuEntry::SetText(const char* newText) {
  char* copy = CopyText(newText);
  delete[] text;
  text = copy;
}

}  // namespace quill
