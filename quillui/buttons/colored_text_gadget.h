// ZColoredTextGadget: a status text field in the application's hint colours with a sunken
// frame in the status bar's highlight and shadow colours.
#pragma once

#include "quillui/framework/gadgets/text_gadget.h"

namespace quill {

class ZColoredTextGadget : public TTextGadget {
 public:
  using TTextGadget::TTextGadget;

  // Sets the text only when it differs from the one shown, so repeating a text repaints
  // nothing; null always clears.
  void setText(const char* text);

  // The frame, then (with [Presentation] "HintText" above 0) the text opaque over the inner
  // area widened by the side borders.
  void Paint(TDC& dc) override;
  // Shadow along the top and left edges, highlight along the bottom and right.
  void PaintBorder(TDC& dc) override;
};

}  // namespace quill
