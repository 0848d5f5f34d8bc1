#include "navigation/tableau_link.h"

#include "app/app_registry.h"
#include "framework/window.h"

namespace quill {

ZTableauNavigation* GetFrameTableauNavigation() {
  TWindow* tableau = GetTableauTWindow();
  return tableau ? dynamic_cast<ZTableauNavigation*>(tableau) : nullptr;
}

}  // namespace quill
