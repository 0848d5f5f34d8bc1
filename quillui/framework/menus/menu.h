// Menus: a table of menu handles (opaque HMENU values, never reused, so a destroyed menu's
// handle looks up as dead) with the classic handle-level calls, and TMenu, the object that
// owns a menu handle or only refers to one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "quillui/framework/base/messages.h"
#include "quillui/framework/base/resource.h"

namespace quill {

class TModule;

struct HMENU__;
using HMENU = HMENU__*;  // opaque menu handle; never dereferenced

// What GetMenuItemID, GetMenuState, CheckMenuItem and EnableMenuItem answer for a missing
// item (and GetMenuItemID for an item that opens a submenu).
inline constexpr UINT kMenuNoItem = 0xFFFFFFFFu;
// Submenus nest no deeper than this; calls that would nest deeper fail.
inline constexpr int kMaxMenuDepth = 16;

// --- Handle-level calls ------------------------------------------------------------------------
// Items are found by a 0-based position when flags hold MF_BYPOSITION, else by command id: the
// first item, depth first through submenus, whose id matches.
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its submenus. A submenu still held by a parent leaves that parent.
bool DestroyMenu(HMENU menu);
bool IsMenu(HMENU menu);
// A new menu built from a template, or null when it nests too deeply.
HMENU LoadMenuIndirect(const TMenuTemplate& menuTemplate);
// A new menu from the module's menu resource; null when the module has no such menu.
HMENU LoadMenu(const TModule& module, std::string_view name);
// A deep copy (submenus copied too), or null for a dead handle.
HMENU CopyMenu(HMENU menu);

// -1 for a dead handle.
int GetMenuItemCount(HMENU menu);
// The item's command id; 0 for a separator, kMenuNoItem for a submenu or no such item.
UINT GetMenuItemID(HMENU menu, int pos);
// Copies at most maxCount - 1 bytes of the item's text and a terminator; answers the bytes
// copied. With a null buffer or maxCount 0 it answers the text's length. 0 for no item.
int GetMenuString(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags);
// The item's MF_ flags; for an item that opens a submenu, the low byte holds its flags and
// the next byte the submenu's item count. kMenuNoItem for no item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Sets or clears MF_CHECKED (from check); answers the previous MF_CHECKED bit or kMenuNoItem.
UINT CheckMenuItem(HMENU menu, UINT item, UINT check);
// Sets MF_GRAYED / MF_DISABLED from enable; answers the previous bits or kMenuNoItem.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
// newItem is the command id, or with MF_POPUP the submenu's handle, which the menu then owns.
// A submenu must be alive, not already in a menu, and must not contain this menu.
bool AppendMenu(HMENU menu, UINT flags, uintptr_t newItem, const char* text = nullptr);
// Inserts before the item found; by position, -1 or a position past the end appends.
bool InsertMenu(HMENU menu, UINT item, UINT flags, uintptr_t newItem, const char* text = nullptr);
// Replaces the item found; a submenu it opened is destroyed unless it is the new one.
bool ModifyMenu(HMENU menu, UINT item, UINT flags, uintptr_t newItem, const char* text = nullptr);
// Takes the item out; a submenu it opened survives (and belongs to whoever has its handle).
bool RemoveMenu(HMENU menu, UINT item, UINT flags);
// Takes the item out and destroys the submenu it opened.
bool DeleteMenu(HMENU menu, UINT item, UINT flags);
// The submenu an item opens, or null.
HMENU GetSubMenu(HMENU menu, int pos);

// Menus alive, and destroying them all: for tests, which must not leak menus into each other.
size_t LiveMenuCount();
void DestroyAllMenus();

// --- TMenu
// ---------------------------------------------------------------------------------------- Owns its
// handle (AutoDelete: destroyed with the object) or only refers to it. Copying makes a deep copy
// that the copy owns; moving hands the handle and its ownership over.
class TMenu {
 public:
  enum TAutoDelete { NoAutoDelete, AutoDelete };

  // A new empty menu.
  explicit TMenu(TAutoDelete autoDelete = AutoDelete);
  explicit TMenu(HMENU handle, TAutoDelete autoDelete = NoAutoDelete);
  // The module's menu resource, owned; IsOK() is false when the module has none of that name.
  TMenu(const TModule& module, std::string_view resourceName);
  TMenu(const TMenu& original, TAutoDelete autoDelete = AutoDelete);
  TMenu(TMenu&& other) noexcept;
  TMenu& operator=(const TMenu& other);
  TMenu& operator=(TMenu&& other) noexcept;
  virtual ~TMenu();

  HMENU GetHandle() const { return handle_; }
  operator HMENU() const { return handle_; }
  // Whether the handle is a live menu.
  bool IsOK() const { return IsMenu(handle_); }
  bool OwnsHandle() const { return autoDelete_ == AutoDelete; }
  // Gives up ownership and the handle, which the caller now holds.
  HMENU Detach();

  int GetMenuItemCount() const { return quill::GetMenuItemCount(handle_); }
  UINT GetMenuItemID(int pos) const { return quill::GetMenuItemID(handle_, pos); }
  UINT GetMenuState(UINT item, UINT flags) const {
    return quill::GetMenuState(handle_, item, flags);
  }
  int GetMenuString(UINT item, char* buffer, int maxCount, UINT flags) const {
    return quill::GetMenuString(handle_, item, buffer, maxCount, flags);
  }
  // The whole text; empty for no item.
  std::string GetMenuString(UINT item, UINT flags) const;
  bool GetMenuString(UINT item, std::string& text, UINT flags) const;
  UINT CheckMenuItem(UINT item, UINT check) { return quill::CheckMenuItem(handle_, item, check); }
  UINT EnableMenuItem(UINT item, UINT enable) {
    return quill::EnableMenuItem(handle_, item, enable);
  }
  bool AppendMenu(UINT flags, uintptr_t newItem = 0, const char* text = nullptr) {
    return quill::AppendMenu(handle_, flags, newItem, text);
  }
  bool InsertMenu(UINT item, UINT flags, uintptr_t newItem = 0, const char* text = nullptr) {
    return quill::InsertMenu(handle_, item, flags, newItem, text);
  }
  bool ModifyMenu(UINT item, UINT flags, uintptr_t newItem = 0, const char* text = nullptr) {
    return quill::ModifyMenu(handle_, item, flags, newItem, text);
  }
  bool RemoveMenu(UINT item, UINT flags) { return quill::RemoveMenu(handle_, item, flags); }
  bool DeleteMenu(UINT item, UINT flags) { return quill::DeleteMenu(handle_, item, flags); }
  // A menu that refers to the submenu at pos without owning it (invalid when there is none).
  TMenu GetSubMenu(int pos) const;

 private:
  HMENU handle_ = nullptr;
  TAutoDelete autoDelete_ = NoAutoDelete;
};

}  // namespace quill
