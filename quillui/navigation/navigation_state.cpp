// One reset for everything navigation keeps process-wide.
#include "quillui/testing/navigation.h"

#include "quillui/navigation/backtrack.h"
#include "quillui/navigation/beep.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/navigation/dispatch.h"
#include "quillui/navigation/routing.h"

namespace quill {

void ResetNavigation() {
  ResetBacktrackGrouping();
  ResetBookmarkLists();
  SetKeepBookmarkBackup(false);
  DeleteRouting();
  GetCADS().clear();
  SetDefaultBeepHook({});
  RegisterBookmarkStreamable();
}

}  // namespace quill
