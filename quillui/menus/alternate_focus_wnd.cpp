#include "quillui/menus/alternate_focus_wnd.h"

#include "quillui/menus/fly_menu.h"

namespace quill {

ZAlternateFocusWnd::ZAlternateFocusWnd(TWindow* parent, ZFlyMenu* menu)
    : TWindow(parent, "Alternate Focus"), menu_(menu) {
  Attr.Style &= ~WS_VISIBLE;
  if (!parent || parent->IsWindow()) Create();
}

ZAlternateFocusWnd::~ZAlternateFocusWnd() {
  if (menu_) menu_->FocusWndGone(this);
}

UINT ZAlternateFocusWnd::EvGetDlgCode(const MSG*) { return DLGC_WANTALLKEYS; }

void ZAlternateFocusWnd::EvSetFocus(HWND lostFocus) {
  if (lostFocus != GetHandle()) lastFocus_ = lostFocus;
  TWindow::EvSetFocus(lostFocus);
}

}  // namespace quill
