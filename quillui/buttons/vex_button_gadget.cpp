#include "quillui/buttons/vex_button_gadget.h"

#include <utility>

#include "quillui/app/app_registry.h"
#include "quillui/buttons/button_settings.h"
#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/image/cel_array.h"
#include "quillui/framework/window/window.h"
#include "quillui/profile/attributes.h"

namespace quill {

ZVexButtonGadget::ZVexButtonGadget(TResId glyph, int id, TType type, bool enabled, TState state)
    : ZButtonGadget(glyph, id, type, enabled, state),
      hintKey_(glyph.IsString() ? glyph.GetString() : "") {}

ZVexButtonGadget::~ZVexButtonGadget() { DropToolTip(); }

void ZVexButtonGadget::DropToolTip() {
  if (!toolTip_) return;
  RemoveToolTip(toolTip_.get());
  toolTip_.reset();
}

void ZVexButtonGadget::MouseEnter(UINT modKeys, const TPoint& point) {
  ZButtonGadget::MouseEnter(modKeys, point);
  TGadgetWindow* window = GetGadgetWindow();
  if (!window || window->GetHintMode() != TGadgetWindow::EnterHints) return;
  const int level = ButtonHintTextLevel();
  if (level > 1) DropToolTip();

  std::string text = attribute("HintText");
  if (level > 1) {
    if (GetKeyState(VK_SHIFT) < 0)
      text = build_key();
    else if (text.empty())
      text = "CAN'T FIND: " + build_key();
  }
  if (text.empty()) return;
  SetHintText(text.c_str());
  const unsigned id = unsigned(GetId());
  if (!toolTip_ && id != 0 && id != 0xFFFFFFFFu) {
    toolTip_ = std::make_unique<TToolInfo>();
    toolTip_->window = window->GetHandle();
    toolTip_->id = id;
    toolTip_->rect = GetBounds();
    toolTip_->text = text;
    SetToolTip(toolTip_.get());
  }
}

void ZVexButtonGadget::SysColorChange() {
  if (!GetCelArray()) return;
  SetCelArray(nullptr);
  BuildCelArray();
}

}  // namespace quill
