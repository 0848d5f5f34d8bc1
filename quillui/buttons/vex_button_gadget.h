// ZVexButtonGadget: the library's button with hint text and a tool tip, both taken from the
// button's "HintText" attribute when the mouse enters it.
#pragma once

#include <memory>
#include <string>

#include "quillui/profile/button_gadget.h"

namespace quill {

struct TToolInfo;

class ZVexButtonGadget : public ZButtonGadget {
 public:
  // The hint key (the button's token) is the glyph's name; a numeric glyph gives none.
  ZVexButtonGadget(TResId glyph, int id, TType type = Command, bool enabled = true,
                   TState state = Up);
  // Removes the tool tip from the frame's list and deletes it.
  ~ZVexButtonGadget() override;

  // The framework's entry, then (when the window shows hints on entry) the hint line and, for
  // a button with a real id, the tool tip. [DevParm] "HintTextLevel" above 1 is the authors'
  // mode: the tool tip is made again each time, Shift shows the attribute key instead of the
  // text, and a missing text shows "CAN'T FIND: " and the key.
  void MouseEnter(UINT modKeys, const TPoint& point) override;
  // Builds the glyph again for the new colours (animated buttons keep their keyed cels).
  void SysColorChange() override;
  std::string get_token() const override { return hintKey_; }

  // The registered tool tip, or null.
  const TToolInfo* GetToolTip() const { return toolTip_.get(); }

 private:
  void DropToolTip();

  std::string hintKey_;
  std::unique_ptr<TToolInfo> toolTip_;
};

}  // namespace quill
