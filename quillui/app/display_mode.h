// DISPLAY_MODE: how a pane shows its content, as a holder manager answers WmuGetDisplayMode.
#pragma once

namespace quill {

enum DISPLAY_MODE : int {
  eTABLEAU_MODE = 0,      // the pane is tiled among the other panes of the tableau
  eFULL_SCREEN_MODE = 1,  // the pane fills the whole frame
};

}  // namespace quill
