#include "quillui/navigation/pane_type.h"

namespace quill {

namespace {

constexpr const char* kPaneNames[] = {"Media", "Path", "Article", "Maxi", "Env", "Popup"};
constexpr int kPaneCount = int(sizeof kPaneNames / sizeof kPaneNames[0]);

}  // namespace

const char* GetPaneTypeName(int pane) {
  return pane >= 0 && pane < kPaneCount ? kPaneNames[pane] : "UnknownPane";
}

bool PaneTypeFromName(std::string_view name, PANE_TYPE& pane) {
  for (int i = 0; i < kPaneCount; ++i) {
    if (name == kPaneNames[i]) {
      pane = static_cast<PANE_TYPE>(i);
      return true;
    }
  }
  return false;
}

}  // namespace quill
