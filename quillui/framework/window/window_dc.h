// The device contexts of windows: drawing on the screen clipped to what of a window is
// visible, and for WM_PAINT further to its update region.
#pragma once

#include "quillui/framework/gdi/dc.h"

namespace quill {

class TWindow;

// The client area of a window, clipped to its visible part.
class TClientDC : public TDC {
 public:
  explicit TClientDC(TWindow& window);
};

// The whole window including its border, clipped to its visible part.
class TWindowDC : public TDC {
 public:
  explicit TWindowDC(TWindow& window);
};

// Made by the WM_PAINT handler: takes the window's update region (validating it), sends
// WM_ERASEBKGND first when an erase is pending, and clips drawing to the update region.
class TPaintDC : public TDC {
 public:
  explicit TPaintDC(TWindow& window);

  bool Erase = false;  // the background still needs erasing (WM_ERASEBKGND answered 0)
  TRect Rect;          // bounds of the area to paint, client coordinates
};

// Hands everything drawn so far to the display at once, as the message loop does after its
// paints: drawing that animates inside one handler calls it between frames.
bool GdiFlush();

}  // namespace quill
