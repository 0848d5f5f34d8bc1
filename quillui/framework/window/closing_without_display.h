// The framework's part when the display is lost under a running program: the application gets
// one chance to close down (TApplication::ClosingWithoutDisplay), with nobody there to answer a
// question (the dialogs answer for themselves once the display is lost), before the process
// ends (platform/screen/display_loss.h).
#pragma once

namespace quill {

// Makes the current application's closing run when the display is lost. TApplication's
// constructor calls it; calling it again changes nothing.
void CloseWithoutDisplayOnLoss();

}  // namespace quill
