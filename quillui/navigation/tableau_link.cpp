#include "quillui/navigation/tableau_link.h"

#include "quillui/app/app_registry.h"
#include "quillui/framework/window/window.h"

namespace quill {

ZTableauNavigation* GetFrameTableauNavigation() {
  TWindow* tableau = GetTableauTWindow();
  return tableau ? dynamic_cast<ZTableauNavigation*>(tableau) : nullptr;
}

}  // namespace quill
