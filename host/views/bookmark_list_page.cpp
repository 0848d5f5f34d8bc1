#include "host/views/bookmark_list_page.h"

#include <string>
#include <utility>

#include "host/core/bookmark_texts.h"
#include "host/views/commands.h"
#include "host/views/list_view.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_list.h"
#include "quillui/navigation/dispatch.h"

namespace quillonary {

using namespace quill;

BookmarkListPage::BookmarkListPage(TWindow* holder, Kind kind)
    : TWindow(holder, kind.caption), kind_(std::move(kind)) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  list_ = new ListView(this);
  list_->SetEmptyText(kind_.emptyText);
  Refresh();
  kind_.registerWindow(this);
}

BookmarkListPage::~BookmarkListPage() { kind_.registerWindow(nullptr); }

void BookmarkListPage::Refresh() {
  const ZBookmarkList& bookmarks = kind_.list();
  const int count = bookmarks.GetCount();
  std::vector<ListRow> rows;
  rows.reserve(size_t(count));
  for (int n = 0; n < count; ++n) {
    const ZBookmark* b = bookmarks.Get(kind_.newestFirst ? count - 1 - n : n);
    rows.push_back({std::string(b->GetName()), "", std::string(b->GetText())});
  }
  list_->SetRows(std::move(rows));
}

void BookmarkListPage::SetupWindow() {
  TWindow::SetupWindow();
  list_->MoveWindow(GetClientRect(), true);
}

void BookmarkListPage::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  list_->MoveWindow(GetClientRect(), true);
}

LRESULT BookmarkListPage::EvCommand(UINT id, HWND, UINT) {
  switch (id) {
    case kCmSearch: Dispatch(SearchText("").c_str()); return 0;
    case kCmBookmarks: Dispatch(kBookmarksEntry); return 0;
    case kCmHistory: Dispatch(kHistoryEntry); return 0;
    case kCmListsMenu: OpenPaneFlySubMenu(*this, ListsSubMenu()); return 0;
    default: return ForwardToFrame(id);
  }
}

LRESULT BookmarkListPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WmuBuildFlyMenu: {
      std::vector<FlyEntry> entries{kind_.action, {0}};
      for (const FlyEntry& e : PathFlyEntries(kCmFullScreenPath)) entries.push_back(e);
      FillPaneFlyMenu(*this, entries);
      return 0;
    }
    case WmuGetBtnMenu: {
      HMENU menu = CreatePopupMenu();
      for (UINT id : kind_.buttons) AppendMenu(menu, MF_STRING, id, "@");
      *reinterpret_cast<HMENU*>(lp) = menu;
      return 0;
    }
    case WmuBookmarkListChanged: Refresh(); return 0;
    case WmuCreateBookmark:
      return reinterpret_cast<LRESULT>(new ZBookmark(kind_.type, kind_.entry, kind_.entry));
    case WmuNotification: return 0;
    default: return TWindow::WindowProc(msg, wp, lp);
  }
}

}  // namespace quillonary
