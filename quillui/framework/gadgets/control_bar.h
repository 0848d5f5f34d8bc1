// TControlBar: a gadget window for tool bars, tiled horizontally by default, with a border
// and margins of a fixed frame's width.
#pragma once

#include "quillui/framework/gadgets/gadget_window.h"

namespace quill {

class TControlBar : public TGadgetWindow {
 public:
  // The margins a control bar starts with: 3 border units on every side.
  static constexpr int kDefaultMargin = 3;

  explicit TControlBar(TWindow* parent = nullptr, TTileDirection direction = Horizontal,
                       TFont* font = nullptr, TModule* module = nullptr);
};

}  // namespace quill
