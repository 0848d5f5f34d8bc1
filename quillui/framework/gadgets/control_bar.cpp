#include "quillui/framework/gadgets/control_bar.h"

namespace quill {

TControlBar::TControlBar(TWindow* parent, TTileDirection direction, TFont* font, TModule* module)
    : TGadgetWindow(parent, direction, font, module) {
  Attr.Style |= WS_BORDER;
  SetMargins(TMargins(TMargins::BorderUnits, kDefaultMargin, kDefaultMargin, kDefaultMargin,
                      kDefaultMargin));
}

}  // namespace quill
