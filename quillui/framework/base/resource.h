// Resources a module carries: menus, dialogs, strings and bitmaps, as the resource compiler
// leaves them (see resources/ and tools/). Looked up by name (strings by id).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "quillui/framework/base/geometry.h"

namespace quill {

// Menu item flags, the classic bit values.
inline constexpr uint32_t MF_STRING = 0x0000;
inline constexpr uint32_t MF_BYCOMMAND = 0x0000;
inline constexpr uint32_t MF_ENABLED = 0x0000;
inline constexpr uint32_t MF_UNCHECKED = 0x0000;
inline constexpr uint32_t MF_GRAYED = 0x0001;
inline constexpr uint32_t MF_DISABLED = 0x0002;
inline constexpr uint32_t MF_BITMAP = 0x0004;
inline constexpr uint32_t MF_CHECKED = 0x0008;
inline constexpr uint32_t MF_POPUP = 0x0010;
inline constexpr uint32_t MF_MENUBARBREAK = 0x0020;
inline constexpr uint32_t MF_MENUBREAK = 0x0040;
inline constexpr uint32_t MF_HILITE = 0x0080;
inline constexpr uint32_t MF_OWNERDRAW = 0x0100;
inline constexpr uint32_t MF_BYPOSITION = 0x0400;
inline constexpr uint32_t MF_SEPARATOR = 0x0800;
inline constexpr uint32_t MF_HELP = 0x4000;

struct TMenuItemTemplate {
  std::string text;
  uint32_t id = 0;
  uint32_t flags = 0;                    // MF_* (MF_POPUP for a submenu)
  std::vector<TMenuItemTemplate> items;  // the submenu's items
};

struct TMenuTemplate {
  std::string name;
  std::vector<TMenuItemTemplate> items;
};

struct TDialogItemTemplate {
  std::string className;  // "STATIC", "BUTTON", "EDIT"
  std::string text;
  int id = -1;
  TRect units;  // x, y, x + cx, y + cy in dialog units
  uint32_t style = 0;
};

struct TDialogTemplate {
  std::string name;
  std::string caption;
  TRect units;  // dialog units
  uint32_t style = 0;
  std::string fontFace = "MS Sans Serif";
  int fontPointSize = 8;
  std::vector<TDialogItemTemplate> items;
};

struct TBitmapResource {
  std::string name;
  std::vector<uint8_t> bmp;  // a whole .bmp file
};

// The resources of one module. Names compare case-insensitively, as resource names do.
class TResourceTable {
 public:
  void AddMenu(TMenuTemplate menu);
  void AddDialog(TDialogTemplate dialog);
  void AddString(uint32_t id, std::string text);
  void AddBitmap(TBitmapResource bitmap);

  const TMenuTemplate* FindMenu(const std::string& name) const;
  const TDialogTemplate* FindDialog(const std::string& name) const;
  // Null when there is no string with that id.
  const std::string* FindString(uint32_t id) const;
  const TBitmapResource* FindBitmap(const std::string& name) const;

 private:
  static std::string Key(const std::string& name);
  std::map<std::string, TMenuTemplate> menus_;
  std::map<std::string, TDialogTemplate> dialogs_;
  std::map<uint32_t, std::string> strings_;
  std::map<std::string, TBitmapResource> bitmaps_;
};

}  // namespace quill
