#include "host/views/bookmark_list_view.h"

#include "host/core/bookmark_texts.h"
#include "host/views/bookmark_types.h"
#include "host/views/commands.h"
#include "host/views/list_view.h"
#include "quillui/navigation/bmk_commands.h"
#include "quillui/navigation/bookmark_lists.h"

namespace quillonary {

using namespace quill;

namespace {

constexpr UINT kCmDeleteItem = 7222;

}  // namespace

BookmarkListView::BookmarkListView(TWindow* holder)
    : BookmarkListPage(holder, {"Bookmarks",
                                "No bookmarks yet",
                                &GetUserBookmarks,
                                &RegisterUserBookmarkWindow,
                                false,
                                kBookmarksType,
                                kBookmarksEntry,
                                {kCmBack, kCmNewList, kCmOpenList, kCmSaveList, kCmDeleteItem,
                                 kCmSearch, kCmHistory, kCmBookmarkPath, kCmFullScreenPath},
                                {kCmDeleteItem, "Delete the bookmark"}}) {
  list_->onDelete = [this](int) { DeleteSelected(); };
}

void BookmarkListView::DeleteSelected() {
  const int index = list_->Selected();
  if (index < 0) return;
  DeleteUserBookmark(index);
  Refresh();  // also when another window is the one the list tells
  list_->Select(index);
}

LRESULT BookmarkListView::EvCommand(UINT id, HWND control, UINT notifyCode) {
  switch (id) {
    case kCmNewList: NewUserBookmarkList(); return 0;
    case kCmOpenList: OpenUserBookmarkList(); return 0;
    case kCmSaveList: SaveUserBookmarkList(); return 0;
    case kCmDeleteItem: DeleteSelected(); return 0;
    default: return BookmarkListPage::EvCommand(id, control, notifyCode);
  }
}

}  // namespace quillonary
