#include "quillui/framework/menus/menu.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "quillui/framework/base/module.h"

namespace quill {

namespace {

struct MenuItem {
  UINT flags = 0;  // MF_ bits as the item keeps them (never MF_BYPOSITION)
  UINT id = 0;
  std::string text;
  HMENU popup = nullptr;  // owned submenu
};

struct MenuData {
  std::vector<MenuItem> items;
  HMENU parent = nullptr;  // the menu whose item opens this one
};

// The process-wide handle table. Handles count up and are never reused.
struct MenuTable {
  std::unordered_map<uintptr_t, std::unique_ptr<MenuData>> menus;
  uintptr_t next = 0x10000;
};

MenuTable& Table() {
  static MenuTable table;
  return table;
}

MenuData* Data(HMENU h) {
  auto& menus = Table().menus;
  auto it = menus.find(reinterpret_cast<uintptr_t>(h));
  return it == menus.end() ? nullptr : it->second.get();
}

HMENU NewMenu() {
  MenuTable& t = Table();
  uintptr_t key = t.next++;
  t.menus.emplace(key, std::make_unique<MenuData>());
  return reinterpret_cast<HMENU>(key);
}

// Where an item lives: the menu that holds it and its index there.
struct Found {
  MenuData* owner = nullptr;
  HMENU ownerHandle = nullptr;
  size_t index = 0;
};

bool FindByCommand(HMENU h, UINT id, Found& found, int depth) {
  MenuData* d = Data(h);
  if (!d || depth > kMaxMenuDepth) return false;
  for (size_t i = 0; i < d->items.size(); ++i) {
    const MenuItem& it = d->items[i];
    if (it.popup) {
      if (FindByCommand(it.popup, id, found, depth + 1)) return true;
    } else if (it.id == id && !(it.flags & MF_SEPARATOR)) {
      found = {d, h, i};
      return true;
    }
  }
  return false;
}

bool Find(HMENU h, UINT item, UINT flags, Found& found) {
  if (flags & MF_BYPOSITION) {
    MenuData* d = Data(h);
    if (!d || item >= d->items.size()) return false;
    found = {d, h, item};
    return true;
  }
  return FindByCommand(h, item, found, 0);
}

// Levels above h, counting h itself as 1.
int DepthOf(HMENU h) {
  int depth = 0;
  for (MenuData* d = Data(h); d && depth <= kMaxMenuDepth + 1; d = Data(d->parent)) ++depth;
  return depth;
}

// Levels of submenus below and including h.
int HeightOf(HMENU h, int depth) {
  MenuData* d = Data(h);
  if (!d || depth > kMaxMenuDepth) return kMaxMenuDepth + 1;
  int most = 0;
  for (const MenuItem& it : d->items)
    if (it.popup) most = std::max(most, HeightOf(it.popup, depth + 1));
  return most + 1;
}

bool IsAncestorOrSelf(HMENU candidate, HMENU h) {
  int steps = 0;
  for (HMENU cur = h; cur && steps <= kMaxMenuDepth + 1; ++steps) {
    if (cur == candidate) return true;
    MenuData* d = Data(cur);
    cur = d ? d->parent : nullptr;
  }
  return false;
}

// Builds the item newItem and flags describe; false when a submenu cannot be taken.
bool MakeItem(HMENU menu, UINT flags, uintptr_t newItem, const char* text, MenuItem& item) {
  item.flags = flags & ~MF_BYPOSITION;
  if (flags & MF_SEPARATOR) {
    item.flags = MF_SEPARATOR | (flags & (MF_MENUBREAK | MF_MENUBARBREAK));
    return true;
  }
  if (text && !(flags & (MF_BITMAP | MF_OWNERDRAW))) item.text = text;
  if (flags & MF_POPUP) {
    HMENU sub = reinterpret_cast<HMENU>(newItem);
    MenuData* sd = Data(sub);
    if (!sd || sd->parent || IsAncestorOrSelf(sub, menu)) return false;
    if (DepthOf(menu) + HeightOf(sub, 0) > kMaxMenuDepth) return false;
    item.popup = sub;
    return true;
  }
  item.id = UINT(newItem);
  return true;
}

void Adopt(HMENU parent, MenuItem& item) {
  if (MenuData* sd = Data(item.popup)) sd->parent = parent;
}

void DestroyTree(HMENU h, int depth) {
  auto& menus = Table().menus;
  auto it = menus.find(reinterpret_cast<uintptr_t>(h));
  if (it == menus.end()) return;
  std::unique_ptr<MenuData> data = std::move(it->second);
  menus.erase(it);
  if (depth > kMaxMenuDepth) return;  // cannot happen: nesting is bounded when it is made
  for (MenuItem& item : data->items)
    if (item.popup) DestroyTree(item.popup, depth + 1);
}

HMENU Build(const std::vector<TMenuItemTemplate>& items, int depth) {
  if (depth > kMaxMenuDepth) return nullptr;
  HMENU h = NewMenu();
  for (const TMenuItemTemplate& t : items) {
    MenuItem item;
    item.flags = t.flags & ~MF_BYPOSITION;
    item.text = t.text;
    if (t.flags & MF_POPUP) {
      item.popup = Build(t.items, depth + 1);
      if (!item.popup) {
        DestroyTree(h, 0);
        return nullptr;
      }
      Data(item.popup)->parent = h;
    } else if (t.flags & MF_SEPARATOR) {
      item.text.clear();
    } else {
      item.id = t.id;
    }
    Data(h)->items.push_back(std::move(item));
  }
  return h;
}

HMENU Copy(HMENU h, int depth) {
  MenuData* d = Data(h);
  if (!d || depth > kMaxMenuDepth) return nullptr;
  HMENU copy = NewMenu();
  for (const MenuItem& src : d->items) {
    MenuItem item = src;
    if (src.popup) {
      item.popup = Copy(src.popup, depth + 1);
      if (!item.popup) {
        DestroyTree(copy, 0);
        return nullptr;
      }
      Data(item.popup)->parent = copy;
    }
    Data(copy)->items.push_back(std::move(item));
  }
  return copy;
}

// Takes the found item out; with destroy its submenu goes too, else it is set free.
bool Take(HMENU menu, UINT item, UINT flags, bool destroy) {
  Found f;
  if (!Find(menu, item, flags, f)) return false;
  HMENU popup = f.owner->items[f.index].popup;
  f.owner->items.erase(f.owner->items.begin() + std::ptrdiff_t(f.index));
  if (popup) {
    if (destroy)
      DestroyTree(popup, 0);
    else if (MenuData* sd = Data(popup))
      sd->parent = nullptr;
  }
  return true;
}

}  // namespace

HMENU CreateMenu() { return NewMenu(); }
HMENU CreatePopupMenu() { return NewMenu(); }

bool DestroyMenu(HMENU menu) {
  MenuData* d = Data(menu);
  if (!d) return false;
  if (MenuData* parent = Data(d->parent)) {
    auto& items = parent->items;
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].popup == menu) {
        items.erase(items.begin() + std::ptrdiff_t(i));
        break;
      }
  }
  DestroyTree(menu, 0);
  return true;
}

bool IsMenu(HMENU menu) { return Data(menu) != nullptr; }

HMENU LoadMenuIndirect(const TMenuTemplate& menuTemplate) { return Build(menuTemplate.items, 1); }

HMENU LoadMenu(const TModule& module, std::string_view name) {
  const TMenuTemplate* t = module.Resources().FindMenu(std::string(name));
  return t ? LoadMenuIndirect(*t) : nullptr;
}

HMENU CopyMenu(HMENU menu) { return Copy(menu, 1); }

int GetMenuItemCount(HMENU menu) {
  MenuData* d = Data(menu);
  return d ? int(d->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  MenuData* d = Data(menu);
  if (!d || pos < 0 || size_t(pos) >= d->items.size()) return kMenuNoItem;
  const MenuItem& it = d->items[size_t(pos)];
  if (it.popup) return kMenuNoItem;
  return (it.flags & MF_SEPARATOR) ? 0 : it.id;
}

int GetMenuString(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags) {
  Found f;
  if (!Find(menu, item, flags, f)) {
    if (buffer && maxCount > 0) buffer[0] = '\0';
    return 0;
  }
  const std::string& text = f.owner->items[f.index].text;
  if (!buffer || maxCount <= 0) return int(std::min<size_t>(text.size(), INT32_MAX));
  size_t n = std::min(text.size(), size_t(maxCount) - 1);
  text.copy(buffer, n);
  buffer[n] = '\0';
  return int(n);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  Found f;
  if (!Find(menu, item, flags, f)) return kMenuNoItem;
  const MenuItem& it = f.owner->items[f.index];
  if (it.popup) {
    MenuData* sd = Data(it.popup);
    UINT count = sd ? UINT(std::min<size_t>(sd->items.size(), 0xFF)) : 0;
    return (count << 8) | ((it.flags | MF_POPUP) & 0xFF);
  }
  return it.flags;
}

UINT CheckMenuItem(HMENU menu, UINT item, UINT check) {
  Found f;
  if (!Find(menu, item, check, f)) return kMenuNoItem;
  UINT& flags = f.owner->items[f.index].flags;
  UINT previous = flags & MF_CHECKED;
  flags = (flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  Found f;
  if (!Find(menu, item, enable, f)) return kMenuNoItem;
  constexpr UINT kBits = MF_GRAYED | MF_DISABLED;
  UINT& flags = f.owner->items[f.index].flags;
  UINT previous = flags & kBits;
  flags = (flags & ~kBits) | (enable & kBits);
  return previous;
}

bool AppendMenu(HMENU menu, UINT flags, uintptr_t newItem, const char* text) {
  MenuItem item;
  if (!Data(menu) || !MakeItem(menu, flags, newItem, text, item)) return false;
  Adopt(menu, item);
  Data(menu)->items.push_back(std::move(item));
  return true;
}

bool InsertMenu(HMENU menu, UINT where, UINT flags, uintptr_t newItem, const char* text) {
  MenuData* d = Data(menu);
  if (!d) return false;
  Found f{d, menu, d->items.size()};
  if (!(flags & MF_BYPOSITION)) {
    if (!FindByCommand(menu, where, f, 0)) return false;
  } else if (where < d->items.size()) {
    f.index = where;
  }
  MenuItem item;
  if (!MakeItem(f.ownerHandle, flags, newItem, text, item)) return false;
  Adopt(f.ownerHandle, item);
  f.owner->items.insert(f.owner->items.begin() + std::ptrdiff_t(f.index), std::move(item));
  return true;
}

bool ModifyMenu(HMENU menu, UINT where, UINT flags, uintptr_t newItem, const char* text) {
  Found f;
  if (!Find(menu, where, flags, f)) return false;
  HMENU old = f.owner->items[f.index].popup;
  MenuItem item;
  // The old submenu may come back as the new one: free it first so it can be taken.
  if (old) Data(old)->parent = nullptr;
  if (!MakeItem(f.ownerHandle, flags, newItem, text, item)) {
    if (old) Data(old)->parent = f.ownerHandle;
    return false;
  }
  Adopt(f.ownerHandle, item);
  f.owner->items[f.index] = std::move(item);
  if (old && old != f.owner->items[f.index].popup) DestroyTree(old, 0);
  return true;
}

bool RemoveMenu(HMENU menu, UINT item, UINT flags) { return Take(menu, item, flags, false); }
bool DeleteMenu(HMENU menu, UINT item, UINT flags) { return Take(menu, item, flags, true); }

HMENU GetSubMenu(HMENU menu, int pos) {
  MenuData* d = Data(menu);
  if (!d || pos < 0 || size_t(pos) >= d->items.size()) return nullptr;
  return d->items[size_t(pos)].popup;
}

size_t LiveMenuCount() { return Table().menus.size(); }
void DestroyAllMenus() { Table().menus.clear(); }

// --- TMenu ------------------------------------------------------------------------------------

TMenu::TMenu(TAutoDelete autoDelete) : handle_(CreateMenu()), autoDelete_(autoDelete) {}

TMenu::TMenu(HMENU handle, TAutoDelete autoDelete) : handle_(handle), autoDelete_(autoDelete) {}

TMenu::TMenu(const TModule& module, std::string_view resourceName)
    : handle_(LoadMenu(module, resourceName)), autoDelete_(AutoDelete) {}

TMenu::TMenu(const TMenu& original, TAutoDelete autoDelete)
    : handle_(CopyMenu(original.handle_)), autoDelete_(autoDelete) {}

TMenu::TMenu(TMenu&& other) noexcept : handle_(other.handle_), autoDelete_(other.autoDelete_) {
  other.handle_ = nullptr;
  other.autoDelete_ = NoAutoDelete;
}

TMenu& TMenu::operator=(const TMenu& other) {
  if (this == &other) return *this;
  HMENU copy = CopyMenu(other.handle_);
  if (autoDelete_ == AutoDelete) DestroyMenu(handle_);
  handle_ = copy;
  autoDelete_ = AutoDelete;
  return *this;
}

TMenu& TMenu::operator=(TMenu&& other) noexcept {
  if (this == &other) return *this;
  if (autoDelete_ == AutoDelete) DestroyMenu(handle_);
  handle_ = other.handle_;
  autoDelete_ = other.autoDelete_;
  other.handle_ = nullptr;
  other.autoDelete_ = NoAutoDelete;
  return *this;
}

TMenu::~TMenu() {
  // A dead handle (destroyed with a parent menu, or by hand) is simply not found.
  if (autoDelete_ == AutoDelete) DestroyMenu(handle_);
}

HMENU TMenu::Detach() {
  HMENU h = handle_;
  handle_ = nullptr;
  autoDelete_ = NoAutoDelete;
  return h;
}

std::string TMenu::GetMenuString(UINT item, UINT flags) const {
  std::string text;
  GetMenuString(item, text, flags);
  return text;
}

bool TMenu::GetMenuString(UINT item, std::string& text, UINT flags) const {
  text.clear();
  Found f;
  if (!Find(handle_, item, flags, f)) return false;
  text = f.owner->items[f.index].text;
  return true;
}

TMenu TMenu::GetSubMenu(int pos) const {
  return TMenu(quill::GetSubMenu(handle_, pos), NoAutoDelete);
}

}  // namespace quill
