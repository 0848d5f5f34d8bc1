#include "host/views/history_view.h"

#include "host/core/bookmark_texts.h"
#include "host/views/bookmark_types.h"
#include "host/views/commands.h"
#include "quillui/navigation/bookmark_list.h"
#include "quillui/navigation/bookmark_lists.h"

namespace quillonary {

using namespace quill;

namespace {

constexpr UINT kCmClear = 7222;

}  // namespace

HistoryView::HistoryView(TWindow* holder)
    : BookmarkListPage(
          holder, {"History",
                   "Nothing shown yet",
                   &GetHistoryList,
                   &RegisterHistoryWindow,
                   true,
                   kHistoryType,
                   kHistoryEntry,
                   {kCmBack, kCmClear, kCmSearch, kCmBookmarks, kCmBookmarkPath, kCmFullScreenPath},
                   {kCmClear, "Clear the history"}}) {}

void HistoryView::Clear() {
  GetHistoryList().Flush();
  Refresh();
}

LRESULT HistoryView::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (id == kCmClear) {
    Clear();
    return 0;
  }
  return BookmarkListPage::EvCommand(id, control, notifyCode);
}

}  // namespace quillonary
