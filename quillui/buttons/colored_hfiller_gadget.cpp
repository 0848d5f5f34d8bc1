#include "quillui/buttons/colored_hfiller_gadget.h"

namespace quill {

ZColoredHFillerGadget::ZColoredHFillerGadget(int id, TColor color)
    : TGadget(id, None), color_(color) {
  SetWideAsPossible(true);
  SetBounds(TRect(0, 0, 10, 10));
}

void ZColoredHFillerGadget::Paint(TDC&) {}

}  // namespace quill
