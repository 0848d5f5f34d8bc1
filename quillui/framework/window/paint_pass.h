// The paint pass of the message loop: sends WM_PAINT to every visible window with an update
// region, parents before children and lower windows before higher ones, skipping what lies
// under a window locked by LockWindowUpdate.
#pragma once

namespace quill {

class TWindow;

class TPaintPass {
 public:
  // Paints every window that needs it; answers whether any was painted.
  static bool PaintPending();
  static bool HasPendingPaint();
  // Paints one window (its border first) if it has an update region.
  static bool PaintOne(TWindow& window);
  // Paints a window and then its descendants.
  static bool PaintTree(TWindow& root);
};

}  // namespace quill
