#include "navigation/navigation_state.h"

#include "navigation/backtrack.h"
#include "navigation/beep.h"
#include "navigation/bookmark.h"
#include "navigation/bookmark_lists.h"
#include "navigation/dispatch.h"
#include "navigation/routing.h"

namespace quill {

void ResetNavigation() {
  ResetBacktrackGrouping();
  ResetBookmarkLists();
  DeleteRouting();
  GetCADS().clear();
  SetDefaultBeepHook({});
  RegisterBookmarkStreamable();
}

}  // namespace quill
