#include "quillui/framework/window/closing_without_display.h"

#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "quillui/platform/screen/display_loss.h"

namespace quill {

namespace {

// Called from inside the display library's error path, so nothing may be thrown back into it;
// the process ends right after either way.
void CloseCurrentApplication() {
  TApplication* app = TApplication::Current();
  if (!app) return;
  try {
    app->ClosingWithoutDisplay();
  } catch (...) {
  }
}

}  // namespace

void CloseWithoutDisplayOnLoss() { platform::SetDisplayLostHandler(&CloseCurrentApplication); }

void TApplication::ClosingWithoutDisplay() {
  TWindow* main = GetMainWindow();
  if (!main || !main->IsWindow()) return;
  // What closing the main window runs, except that nothing may refuse: the display is gone.
  main->CanClose();
  main->Destroy();
}

}  // namespace quill
