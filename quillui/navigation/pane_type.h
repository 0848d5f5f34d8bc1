// The panes of the tableau by type, with the names the routing section uses for them.
#pragma once

#include <string_view>

namespace quill {

enum PANE_TYPE : int {
  eMEDIA_PANE = 0,
  ePATH_PANE = 1,
  eARTICLE_PANE = 2,
  eMAXI_PANE = 3,
  eENV_PANE = 4,
  ePOPUP_PANE = 5,  // a routing target only: the tableau has no pane of this type
};

// "Media", "Path", "Article", "Maxi", "Env", "Popup"; "UnknownPane" for any other value.
const char* GetPaneTypeName(int pane);
// The pane of a name, compared exactly; false (pane untouched) for any other text.
bool PaneTypeFromName(std::string_view name, PANE_TYPE& pane);

}  // namespace quill
