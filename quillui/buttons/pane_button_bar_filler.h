// ZPaneButtonBarFiller: fills the rest of a pane button bar with the first cel of its strip,
// repeated down the gadget's height.
#pragma once

#include <vector>

#include "quillui/buttons/anim_button_gadget.h"

namespace quill {

class ZPaneButtonBarFiller : public ZAnimButtonGadget {
 public:
  ZPaneButtonBarFiller(const char* fileName, int id, const char* extraName = nullptr,
                       int numCels = 1);

  // The rows at which copies of a cel ch high start, down a gadget height high: 0, ch, 2ch...
  // while below height. None for a cel without width or height, which would never advance.
  static std::vector<int> TileRows(int celWidth, int celHeight, int height);
  // Copies cel 0 at each of those rows; the last copy is clipped at the bottom.
  void Paint(TDC& dc) override;
};

}  // namespace quill
