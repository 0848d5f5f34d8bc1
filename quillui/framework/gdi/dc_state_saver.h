// Puts a DC back as it was when the saver was made, on leaving the scope: for code that draws
// on a DC it was handed (a gadget, a part of a window) and may change anything on the way.
#pragma once

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/gdi/dc.h"

namespace quill {

// Keeps what SaveDC keeps (objects, colours, modes, the current position, the clip region)
// and the viewport origin, which SaveDC leaves alone. Savers nest like SaveDC levels: each
// restores its own level, dropping any newer one a drawing left behind.
class TDCStateSaver {
 public:
  explicit TDCStateSaver(TDC& dc) : dc_(dc), viewport_(dc.GetViewportOrg()), level_(dc.SaveDC()) {}
  ~TDCStateSaver() {
    dc_.RestoreDC(level_);
    dc_.SetViewportOrg(viewport_);
  }
  TDCStateSaver(const TDCStateSaver&) = delete;
  TDCStateSaver& operator=(const TDCStateSaver&) = delete;

 private:
  TDC& dc_;
  TPoint viewport_;
  int level_;
};

}  // namespace quill
