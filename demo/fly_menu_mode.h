// quill-demo --flymenu: a right click opens a fly menu at the cursor. Its "Options" entry
// opens a submenu after the delay; a click outside closes both and reaches the pane under it.
#pragma once

#include <memory>

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/base/messages.h"

namespace quill {
class TWindow;
class ZFlyMenu;
}  // namespace quill

namespace quill::demo {

class FlyMenuCommands;

class FlyMenuMode {
 public:
  explicit FlyMenuMode(TWindow& frame);
  ~FlyMenuMode();

  // Opens the menu at the screen point when no menu is up; true when the click was used.
  bool RightClick(const TPoint& screenPoint);

 private:
  std::unique_ptr<FlyMenuCommands> commands_;
  std::unique_ptr<ZFlyMenu> menu_;
};

}  // namespace quill::demo
