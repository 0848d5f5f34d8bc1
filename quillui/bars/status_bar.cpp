#include "quillui/bars/status_bar.h"

#include "quillui/app/app_palette.h"
#include "quillui/app/presentation.h"
#include "quillui/buttons/colored_text_gadget.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/font.h"

namespace quill {

ZStatusBar::ZStatusBar(TWindow* parent, TColor color, TFont* font, TModule* module)
    : ZControlBar(parent, Horizontal, color, font, module) {
  SetCaption("ZStatusBar");
  Attr.Id = kWindowId;
  const int side = LayoutUnitsToPixels(3);
  SetMargins(TMargins(TMargins::Pixels, side, side, 2, 2));
  SetAppColors();
  auto* text =
      new ZColoredTextGadget(0, TGadget::Recessed, TTextGadget::Left, 10, nullptr, nullptr);
  text->SetWideAsPossible(true);
  Insert(*text, After);
}

void ZStatusBar::SetText(const char* text) {
  if (auto* field = dynamic_cast<ZColoredTextGadget*>(FirstGadget())) field->setText(text);
}

void ZStatusBar::SetAppColors() { SetBkgndColor(GetAppColor(STATUSBAR_FACE)); }

void ZStatusBar::Paint(TDC& dc, bool erase, TRect& rect) {
  TPalette* previous = dc.SelectPalette(GetAppPalette(), false);
  dc.RealizePalette();
  ZControlBar::Paint(dc, erase, rect);
  dc.SelectPalette(previous, false);
}

void ZStatusBar::EvSysColorChange(WPARAM wp, LPARAM lp) {
  SetAppColors();
  TGadgetWindow::EvSysColorChange(wp, lp);
}

const TResponseTable& ZStatusBar::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnMessage<&ZStatusBar::EvSysColorChange>(WM_SYSCOLORCHANGE),
  };
  static const TResponseTable table{&ZControlBar::GetResponseTable(), entries};
  return table;
}

ZMultipleSelectBar::ZMultipleSelectBar(TWindow* parent, TColor color)
    : ZControlBar(parent, Horizontal, color, new TGadgetWindowFont(10, false, false), nullptr) {
  SetCaption("ZMultipleSelectBar");
  Attr.Style &= ~uint32_t(WS_BORDER);
  SetMargins(TMargins(TMargins::LayoutUnits, 0, 0, 0, 0));
  SetShrinkWrap(true, true);
  SetBkgndColor(TColor::Transparent);
}

}  // namespace quill
