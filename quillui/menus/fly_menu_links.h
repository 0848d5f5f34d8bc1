// What a fly menu asks of the windows above it in the library: the title bar it is shown from
// (its icon window and the icon's state), and the pane whose holder content hears that the
// pane's menu opens. Those classes implement these; the menu knows nothing else of them.
#pragma once

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/base/messages.h"

namespace quill {

class ZFlyMenu;

// The title bar a menu is associated with. The title bar detaches itself (SetTitleBar with
// null) before it goes; a menu that goes first tells it through FlyMenuGone.
class ZFlyMenuTitleBar {
 public:
  // States of the title bar's icon window.
  enum eICONSTATE : int { eICON_NORMAL = 0, eICON_HOVER = 1, eICON_PRESSED = 2 };

  virtual ~ZFlyMenuTitleBar() = default;
  // The title bar's own window.
  virtual HWND GetTitleBarHandle() const = 0;
  // The icon window, or null when the title bar has none.
  virtual HWND GetIconWindowHandle() const = 0;
  virtual eICONSTATE GetIconState() const = 0;
  // Set when a click on the title bar took the mouse from the menu.
  virtual void setBMenuWasCapturing(int was) = 0;
  // The menu is being deleted: forget it.
  virtual void FlyMenuGone(ZFlyMenu* menu) = 0;
};

// A message window that is a pane: its active holder's content window, or null.
class ZFlyMenuPane {
 public:
  virtual ~ZFlyMenuPane() = default;
  virtual HWND GetFlyMenuHolderChild() const = 0;
};

}  // namespace quill
