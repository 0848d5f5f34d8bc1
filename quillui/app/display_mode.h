// DISPLAY_MODE: how a pane is shown, as a holder manager answers WmuGetDisplayMode.
#pragma once

namespace quill {

enum DISPLAY_MODE {
  eTABLEAU_MODE = 0,      // the pane is tiled in the tableau
  eFULL_SCREEN_MODE = 1,  // the pane is maximised
};

}  // namespace quill
