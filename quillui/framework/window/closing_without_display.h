// The framework's part when the display is lost under a running program: the application gets
// one chance to close down (TApplication::ClosingWithoutDisplay), with nobody there to answer a
// question, before the process ends (platform/screen/display_loss.h).
#pragma once

#include <optional>

#include "quillui/framework/dialogs/answer_hook.h"

namespace quill {

// Makes the current application's closing run when the display is lost. TApplication's
// constructor calls it; calling it again changes nothing.
void CloseWithoutDisplayOnLoss();

// The answer to a modal question that nobody can see: a message box answers its default button,
// a dialog or file dialog Cancel.
std::optional<TModalAnswer> AnswerWithoutDisplay(const TModalQuestion& question);

}  // namespace quill
