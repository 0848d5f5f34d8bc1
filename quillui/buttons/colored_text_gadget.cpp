#include "quillui/buttons/colored_text_gadget.h"

#include <cstring>

#include "quillui/app/presentation.h"
#include "quillui/buttons/button_settings.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/dc_state_saver.h"
#include "quillui/framework/window/window.h"

namespace quill {

void ZColoredTextGadget::setText(const char* text) {
  const char* now = GetText();
  if (text && now && std::strcmp(now, text) == 0) return;
  SetText(text);
}

void ZColoredTextGadget::Paint(TDC& dc) {
  PaintBorder(dc);
  TRect inner;
  GetInnerRect(inner);
  const TPoint at = TextOrigin(inner);
  if (PresentationHintText() <= 0) return;
  const TBorders& borders = GetBorders();
  TRect opaque = inner;
  opaque.left -= borders.Left;
  opaque.right += borders.Right;
  TDCStateSaver saved(dc);
  if (const TFont* font = GetFont()) dc.SelectObject(*font);
  dc.SetBkColor(GetAppColor(HINTTEXT_BACKGROUND));
  dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
  const char* text = GetText();
  dc.ExtTextOut(at.x, at.y, ETO_OPAQUE | ETO_CLIPPED, &opaque, text ? text : "");
}

void ZColoredTextGadget::PaintBorder(TDC& dc) {
  const int bx = GetSystemMetrics(SM_CXBORDER), by = GetSystemMetrics(SM_CYBORDER);
  const int w = GetBounds().Width(), h = GetBounds().Height();
  const TColor shadow = GetAppColor(STATUSBAR_SHADOW), light = GetAppColor(STATUSBAR_HIGHLIGHT);
  dc.FillRect(TRect(0, 0, w, by), shadow);
  dc.FillRect(TRect(0, 0, bx, h), shadow);
  dc.FillRect(TRect(0, h - 1, w, h - 1 + by), light);
  dc.FillRect(TRect(w - 1, 0, w - 1 + bx, h), light);
}

}  // namespace quill
