// How a pane shows its content: among the other panes of the tableau, or over the whole frame.
#pragma once

namespace quill {

enum DISPLAY_MODE : int { eTABLEAU_MODE = 0, eFULL_SCREEN_MODE = 1 };

}  // namespace quill
