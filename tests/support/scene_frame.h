// The host's frame of the scene tests: an 800 x 600 pop-up that is the application frame and
// shows the application background, for scenes saved as pictures.
#pragma once

#include "quillui/app/app_registry.h"
#include "quillui/framework/window/window.h"
#include "quillui/imaging/background.h"

namespace quill::test {

class SceneFrame : public TWindow, public ZVexFrame {
 public:
  explicit SceneFrame(const char* title = "frame") : TWindow(nullptr, title) {
    Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    Attr.W = 800, Attr.H = 600;
  }
  TWindow& GetFrameTWindow() override { return *this; }
  bool EvEraseBkgnd(TDC& dc) override {
    PaintWindowBackground(dc, *this, GetClientRect());
    return true;
  }
};

}  // namespace quill::test
