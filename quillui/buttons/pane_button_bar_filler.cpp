#include "quillui/buttons/pane_button_bar_filler.h"

#include "quillui/framework/image/cel_array.h"

namespace quill {

ZPaneButtonBarFiller::ZPaneButtonBarFiller(const char* fileName, int id, const char* extraName,
                                           int numCels)
    : ZAnimButtonGadget(fileName, id, extraName, numCels, false, false) {}

std::vector<int> ZPaneButtonBarFiller::TileRows(int celWidth, int celHeight, int height) {
  std::vector<int> rows;
  if (celWidth <= 0 || celHeight <= 0) return rows;
  for (int y = 0; y < height; y += celHeight) rows.push_back(y);
  return rows;
}

void ZPaneButtonBarFiller::Paint(TDC& dc) {
  if (needsBackground_) BuildCelArray();
  const TCelArray* cels = GetCelArray();
  if (!cels || !bitmap_) return;
  const TSize cel = cels->CelSize();
  for (int y : TileRows(cel.cx, cel.cy, GetBounds().Height())) PaintCel(dc, 0, TPoint(0, y));
}

}  // namespace quill
