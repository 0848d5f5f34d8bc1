// ZSelectionGadget: a two-state bitmap button of six cels, three looks (normal, under the
// mouse, pressed) for each of not selected and selected.
#pragma once

#include "quillui/buttons/anim_button_gadget.h"

namespace quill {

class ZSelectionGadget : public ZAnimButtonGadget {
 public:
  // Non-exclusive and selected (down).
  ZSelectionGadget(const char* fileName, int id, const char* extraName = nullptr);
  ZSelectionGadget(const char* fileName, int id, TType type, TState state,
                   const char* extraName = nullptr);

  // Selected: 5 pressed, 4 under the mouse, else 3; not selected: 2, 1, else 0 (never past
  // the strip's last cel).
  static int SelectionCel(bool selected, bool pressed, bool hover);
  void Paint(TDC& dc) override;
  // The release sound, then the framework's activation: no animation; a non-exclusive
  // button toggles.
  void Activate(const TPoint& point) override;
};

}  // namespace quill
