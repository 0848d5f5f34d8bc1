// ZColoredHFillerGadget: a horizontal spacer that takes the room its bar leaves over. It keeps
// a colour for its owner but draws nothing: the bar's background shows through it.
#pragma once

#include "quillui/framework/base/color.h"
#include "quillui/framework/gadgets/gadget.h"

namespace quill {

class ZColoredHFillerGadget : public TGadget {
 public:
  // No border, wide as possible, bounds (0, 0, 10, 10).
  ZColoredHFillerGadget(int id, TColor color);

  TColor GetColor() const { return color_; }
  void Paint(TDC& dc) override;

 private:
  TColor color_;
};

}  // namespace quill
