#include "host/views/pane_menu.h"

#include "host/views/commands.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/menus/fly_menu.h"

namespace quillonary {

using namespace quill;

ZFlyMenu* PaneFlyMenu(TWindow& content) {
  TWindow* holder = content.GetParentO();
  if (!holder || !holder->IsWindow()) return nullptr;
  return reinterpret_cast<ZFlyMenu*>(holder->SendMessage(WmuGetFlyMenu, 0, 0));
}

void FillPaneFlyMenu(TWindow& content, const std::vector<FlyEntry>& entries) {
  ZFlyMenu* menu = PaneFlyMenu(content);
  if (!menu || menu->IsWindowVisible()) return;  // an open menu keeps its entries
  while (menu->GetCount() > 0) menu->Delete(0, MF_BYPOSITION);
  for (const FlyEntry& e : entries) {
    if (e.id == 0)
      menu->Append(MF_SEPARATOR, 0, nullptr, nullptr);
    else
      menu->Append(e.popup ? MF_POPUP : MF_STRING, e.id, e.text.c_str(), nullptr);
  }
}

void OpenPaneFlySubMenu(TWindow& content, const std::vector<FlyEntry>& entries) {
  ZFlyMenu* menu = PaneFlyMenu(content);
  if (!menu || !menu->IsWindowVisible() || entries.empty()) return;
  ZFlyMenu* sub = menu->CreateSubMenu(ZFlyMenu::eSML_THIS);
  if (!sub) return;
  for (const FlyEntry& e : entries) {
    if (e.id == 0)
      sub->Append(MF_SEPARATOR, 0, nullptr, nullptr);
    else
      sub->Append(MF_STRING, e.id, e.text.c_str(), nullptr);
  }
  sub->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
}

std::vector<FlyEntry> PathFlyEntries(UINT fullScreenId) {
  return {{kCmSearch, "Search"},
          {kCmBookmarks, "Bookmarks"},
          {kCmHistory, "History"},
          {0},
          {kCmListsMenu, "Bookmark lists", true},
          {0},
          {kCmBack, "Back"},
          {kCmAbout, "About"},
          {fullScreenId}};
}

std::vector<FlyEntry> ListsSubMenu() {
  return {{kCmNewList, "New list"},
          {kCmOpenList, "Open list..."},
          {kCmSaveList, "Save list as..."},
          {0},
          {kCmExportHtml, "Export as HTML..."},
          {kCmImportHtml, "Import HTML..."}};
}

LRESULT ForwardToFrame(UINT id) {
  TWindow* frame = GetAppFrameTWindow();
  return frame && frame->IsWindow() ? frame->SendMessage(WM_COMMAND, id, 0) : 0;
}

}  // namespace quillonary
