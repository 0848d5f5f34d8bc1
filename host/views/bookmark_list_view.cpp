#include "host/views/bookmark_list_view.h"

#include <string>
#include <vector>

#include "host/core/bookmark_texts.h"
#include "host/views/bookmark_types.h"
#include "host/views/commands.h"
#include "host/views/list_view.h"
#include "host/views/pane_menu.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/navigation/bmk_commands.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/navigation/dispatch.h"

namespace quillonary {

using namespace quill;

namespace {

constexpr UINT kCmDeleteItem = 7222;
constexpr UINT kCmSearch = 7201;
constexpr UINT kCmHistory = 7210;
constexpr UINT kButtons[] = {kCmBack,   kCmNewList, kCmOpenList, kCmSaveList, kCmDeleteItem,
                             kCmSearch, kCmHistory, 7533,        7532};

}  // namespace

BookmarkListView::BookmarkListView(TWindow* holder) : TWindow(holder, "Bookmarks") {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  list_ = new ListView(this);
  list_->SetEmptyText("No bookmarks yet");
  list_->onDelete = [this](int) { DeleteSelected(); };
  Refresh();
  RegisterUserBookmarkWindow(this);
}

BookmarkListView::~BookmarkListView() { RegisterUserBookmarkWindow(nullptr); }

void BookmarkListView::Refresh() {
  const ZBookmarkList& bookmarks = GetUserBookmarks();
  std::vector<ListRow> rows;
  rows.reserve(size_t(bookmarks.GetCount()));
  for (int i = 0; i < bookmarks.GetCount(); ++i) {
    const ZBookmark* b = bookmarks.Get(i);
    rows.push_back({std::string(b->GetName()), "", std::string(b->GetText())});
  }
  list_->SetRows(std::move(rows));
}

void BookmarkListView::DeleteSelected() {
  const int index = list_->Selected();
  if (index < 0) return;
  DeleteUserBookmark(index);
  Refresh();  // also when another window is the one the list tells
  list_->Select(index);
}

void BookmarkListView::SetupWindow() {
  TWindow::SetupWindow();
  list_->MoveWindow(GetClientRect(), true);
}

void BookmarkListView::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  list_->MoveWindow(GetClientRect(), true);
}

LRESULT BookmarkListView::EvCommand(UINT id, HWND control, UINT notifyCode) {
  switch (id) {
    case kCmNewList: NewUserBookmarkList(); return 0;
    case kCmOpenList: OpenUserBookmarkList(); return 0;
    case kCmSaveList: SaveUserBookmarkList(); return 0;
    case kCmDeleteItem: DeleteSelected(); return 0;
    case kCmSearch: Dispatch(SearchText("").c_str()); return 0;
    case kCmHistory: Dispatch(kHistoryEntry); return 0;
    case kCmListsMenu: OpenPaneFlySubMenu(*this, ListsSubMenu()); return 0;
    default: return ForwardToFrame(id);
  }
}

LRESULT BookmarkListView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WmuBuildFlyMenu: {
      std::vector<FlyEntry> entries{{kCmDeleteItem, "Delete the bookmark"}, {0}};
      for (const FlyEntry& e : PathFlyEntries(7532)) entries.push_back(e);
      FillPaneFlyMenu(*this, entries);
      return 0;
    }
    case WmuGetBtnMenu: {
      HMENU menu = CreatePopupMenu();
      for (UINT id : kButtons) AppendMenu(menu, MF_STRING, id, "@");
      *reinterpret_cast<HMENU*>(lp) = menu;
      return 0;
    }
    case WmuBookmarkListChanged: Refresh(); return 0;
    case WmuCreateBookmark:
      return reinterpret_cast<LRESULT>(
          new ZBookmark(kBookmarksType, kBookmarksEntry, kBookmarksEntry));
    case WmuNotification: return 0;
    default: return TWindow::WindowProc(msg, wp, lp);
  }
}

}  // namespace quillonary
