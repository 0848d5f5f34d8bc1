// ZStatusBar: a horizontal bar in the status-bar colour holding one coloured text field that
// takes its whole width; and ZMultipleSelectBar, a borderless transparent horizontal bar.
#pragma once

#include "quillui/bars/control_bar.h"

namespace quill {

class ZStatusBar : public ZControlBar {
 public:
  static constexpr int kWindowId = 32040;
  // Margins of 3 layout units at the sides and 2 pixels above and below; the text field has
  // id 0, a recessed border, left-aligned text and room for 10 characters.
  ZStatusBar(TWindow* parent, TColor color, TFont* font = nullptr, TModule* module = nullptr);

  // The text of the first gadget when it is the text field; otherwise nothing.
  void SetText(const char* text);
  // The window's colour becomes STATUSBAR_FACE.
  void SetAppColors();

 protected:
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  void EvSysColorChange(WPARAM, LPARAM);
  const TResponseTable& GetResponseTable() const override;
};

class ZMultipleSelectBar : public ZControlBar {
 public:
  // Without border or margins, shrink-wrapped both ways, with a 10-point font.
  ZMultipleSelectBar(TWindow* parent, TColor color);
};

}  // namespace quill
