// NotifyIniChanged, the host's call after the settings file changed: the parts of the
// library that cache settings re-read them through hooks they register here (the button
// gadgets first, then the fly menus), and then the frame is told with WmuIniChanged.
#pragma once

#include <functional>

namespace quill {

// Hooks run by stage, and within a stage in order of registration.
enum IniChangedStage : int {
  eINI_STAGE_BUTTONS = 1,   // the animated button gadgets
  eINI_STAGE_FLYMENUS = 2,  // the fly menus
};

// Answers an id for RemoveIniChangedHook (never 0).
int AddIniChangedHook(IniChangedStage stage, std::function<void()> hook);
void RemoveIniChangedHook(int id);

// Runs the hooks, then sends WmuIniChanged (wParam 0, lParam 0) to the frame, if one is set.
void NotifyIniChanged();

}  // namespace quill
