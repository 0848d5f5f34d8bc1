#include "quillui/framework/base/resource.h"

#include <cctype>

namespace quill {

std::string TResourceTable::Key(const std::string& name) {
  std::string key = name;
  for (char& c : key) c = char(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

void TResourceTable::AddMenu(TMenuTemplate menu) {
  std::string key = Key(menu.name);
  menus_[key] = std::move(menu);
}

void TResourceTable::AddDialog(TDialogTemplate dialog) {
  std::string key = Key(dialog.name);
  dialogs_[key] = std::move(dialog);
}

void TResourceTable::AddString(uint32_t id, std::string text) { strings_[id] = std::move(text); }

void TResourceTable::AddBitmap(TBitmapResource bitmap) {
  std::string key = Key(bitmap.name);
  bitmaps_[key] = std::move(bitmap);
}

const TMenuTemplate* TResourceTable::FindMenu(const std::string& name) const {
  auto it = menus_.find(Key(name));
  return it == menus_.end() ? nullptr : &it->second;
}

const TDialogTemplate* TResourceTable::FindDialog(const std::string& name) const {
  auto it = dialogs_.find(Key(name));
  return it == dialogs_.end() ? nullptr : &it->second;
}

const std::string* TResourceTable::FindString(uint32_t id) const {
  auto it = strings_.find(id);
  return it == strings_.end() ? nullptr : &it->second;
}

const TBitmapResource* TResourceTable::FindBitmap(const std::string& name) const {
  auto it = bitmaps_.find(Key(name));
  return it == bitmaps_.end() ? nullptr : &it->second;
}

}  // namespace quill
