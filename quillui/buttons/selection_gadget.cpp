#include "quillui/buttons/selection_gadget.h"

#include "quillui/framework/image/cel_array.h"

namespace quill {

ZSelectionGadget::ZSelectionGadget(const char* fileName, int id, const char* extraName)
    : ZSelectionGadget(fileName, id, NonExclusive, Down, extraName) {}

ZSelectionGadget::ZSelectionGadget(const char* fileName, int id, TType type, TState state,
                                   const char* extraName)
    : ZAnimButtonGadget(fileName, id, extraName, 6, false, false) {
  SetButtonType(type);
  SetButtonState(state);
}

int ZSelectionGadget::SelectionCel(bool selected, bool pressed, bool hover) {
  const int base = selected ? 3 : 0;
  return base + (pressed ? 2 : hover ? 1 : 0);
}

void ZSelectionGadget::Paint(TDC& dc) {
  if (needsBackground_) BuildCelArray();
  if (!GetCelArray() || !bitmap_) return;
  PaintCel(dc, SelectionCel(GetButtonState() == Down, IsPressed(), GetHover()));
}

void ZSelectionGadget::Activate(const TPoint& point) {
  PlayMouseUpSound();
  TButtonGadget::Activate(point);
}

}  // namespace quill
