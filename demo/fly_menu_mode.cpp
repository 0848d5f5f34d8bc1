#include "demo/fly_menu_mode.h"

#include "quillui/framework/base/resource.h"
#include "quillui/framework/window/window.h"
#include "quillui/menus/fly_menu.h"

namespace quill::demo {

namespace {
constexpr UINT kOptions = 7209;
}  // namespace

// The menu's message window: hidden; it opens the submenu when the "Options" command comes.
class FlyMenuCommands : public TWindow {
 public:
  explicit FlyMenuCommands(TWindow& frame) : TWindow(&frame, "fly menu commands") {
    Attr.Style &= ~WS_VISIBLE;
  }
  ZFlyMenu* menu = nullptr;

 protected:
  LRESULT EvCommand(UINT id, HWND, UINT) override {
    if (id == kOptions && menu) {
      ZFlyMenu* sub = menu->CreateSubMenu(ZFlyMenu::eSML_THIS);
      sub->Append(MF_CHECKED, 7225, "@", nullptr);
      sub->Append(0, 7226, "@", nullptr);
      sub->Append(0, 7227, "@", nullptr);
      sub->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
    }
    return 0;
  }
};

FlyMenuMode::FlyMenuMode(TWindow& frame) : commands_(std::make_unique<FlyMenuCommands>(frame)) {
  commands_->Create();
  menu_ = std::make_unique<ZFlyMenu>(&frame, commands_.get(), ZFlyMenu::eMT_CAPTURE,
                                     ZFlyMenu::eDM_KEEP, 1);
  menu_->Create();
  commands_->menu = menu_.get();
  menu_->Append(MF_CHECKED, 7109, "@", nullptr);
  menu_->Append(0, 7110, "@", nullptr);
  menu_->Append(MF_SEPARATOR, 0, nullptr, nullptr);
  menu_->Append(MF_POPUP, kOptions, "@", nullptr);
  menu_->Append(0, 7103, "@", nullptr);
}

FlyMenuMode::~FlyMenuMode() {
  menu_.reset();
  commands_.reset();
}

bool FlyMenuMode::RightClick(const TPoint& screenPoint) {
  if (menu_->IsWindowVisible()) return false;
  menu_->Display(screenPoint);
  return true;
}

}  // namespace quill::demo
