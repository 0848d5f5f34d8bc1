// ZAlternateFocusWnd: the hidden window that holds the keyboard focus while a fly menu is up,
// swallowing every key, and remembers which window to give the focus back to.
#pragma once

#include "quillui/framework/window/window.h"

namespace quill {

class ZFlyMenu;

class ZAlternateFocusWnd : public TWindow {
 public:
  // A hidden child of parent titled "Alternate Focus", created at once when parent has a
  // window (else with parent).
  ZAlternateFocusWnd(TWindow* parent, ZFlyMenu* menu);
  // The window lives under the menu's parent, which may delete it before the menu goes: the
  // menu then forgets it.
  ~ZAlternateFocusWnd() override;
  // The menu is going and deletes this window itself.
  void DetachMenu() { menu_ = nullptr; }

  ZFlyMenu* GetMenu() const { return menu_; }
  // The window that last lost the focus to this one, or null.
  HWND GetLastFocus() const { return lastFocus_; }

 protected:
  UINT EvGetDlgCode(const MSG* msg) override;
  void EvSetFocus(HWND lostFocus) override;
  void EvKeyDown(UINT, UINT, UINT) override {}
  void EvKeyUp(UINT, UINT, UINT) override {}
  void EvChar(UINT, UINT, UINT) override {}

 private:
  ZFlyMenu* menu_;
  HWND lastFocus_ = nullptr;
};

}  // namespace quill
