#include "quillui/framework/window/closing_without_display.h"

#include <algorithm>
#include <vector>

#include "quillui/framework/dialogs/message_box.h"
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
    SetAnswerHook(AnswerWithoutDisplay);
    app->ClosingWithoutDisplay();
  } catch (...) {
  }
}

}  // namespace

void CloseWithoutDisplayOnLoss() { platform::SetDisplayLostHandler(&CloseCurrentApplication); }

std::optional<TModalAnswer> AnswerWithoutDisplay(const TModalQuestion& question) {
  if (question.kind != TModalKind::MessageBox) return TModalAnswer{IDCANCEL, {}};
  // The button a box would start with the focus on, as TMessageBox picks it.
  std::vector<int> ids = TMessageBox::ButtonIds(question.type);
  size_t def = std::min<size_t>((question.type & MB_DEFMASK) >> 8, ids.size() - 1);
  return TModalAnswer{ids[def], {}};
}

void TApplication::ClosingWithoutDisplay() {
  TWindow* main = GetMainWindow();
  if (!main || !main->IsWindow()) return;
  // What closing the main window runs, except that nothing may refuse: the display is gone.
  main->CanClose();
  main->Destroy();
}

}  // namespace quill
