// What the content windows share for their pane's fly menu: its entries filled when the pane
// asks (WmuBuildFlyMenu), a submenu opened at its entry, and commands the content does not
// answer handed to the frame.
#pragma once

#include <string>
#include <vector>

#include "quillui/framework/window/window.h"

namespace quill {
class ZFlyMenu;
}

namespace quillonary {

struct FlyEntry {
  quill::UINT id = 0;      // 0: a separator
  std::string text = "@";  // "@": the library's text for the id
  bool popup = false;      // opens a submenu: the id comes to the content as a command
};

// The fly menu of the pane the content is shown in (asked through its holder), or null.
quill::ZFlyMenu* PaneFlyMenu(quill::TWindow& content);
// Replaces the pane's fly menu entries with these.
void FillPaneFlyMenu(quill::TWindow& content, const std::vector<FlyEntry>& entries);
// Opens a submenu of the pane's fly menu at the entry that asked for it.
void OpenPaneFlySubMenu(quill::TWindow& content, const std::vector<FlyEntry>& entries);
// The entries every Path view offers: its lists, the bookmark lists' submenu and Back.
std::vector<FlyEntry> PathFlyEntries(quill::UINT fullScreenId);
// The bookmark lists' submenu: new, open, save, export and import.
std::vector<FlyEntry> ListsSubMenu();
// Passes a command the content does not answer to the application frame.
quill::LRESULT ForwardToFrame(quill::UINT id);

}  // namespace quillonary
