#include "host/views/history_view.h"

#include <string>
#include <vector>

#include "host/core/bookmark_texts.h"
#include "host/views/bookmark_types.h"
#include "host/views/commands.h"
#include "host/views/list_view.h"
#include "host/views/pane_menu.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/navigation/dispatch.h"

namespace quillonary {

using namespace quill;

namespace {

constexpr UINT kCmClear = 7222;
constexpr UINT kCmSearch = 7201;
constexpr UINT kCmBookmarks = 7204;
constexpr UINT kButtons[] = {kCmBack, kCmClear, kCmSearch, kCmBookmarks, 7533, 7532};

}  // namespace

HistoryView::HistoryView(TWindow* holder) : TWindow(holder, "History") {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  list_ = new ListView(this);
  list_->SetEmptyText("Nothing shown yet");
  Refresh();
  RegisterHistoryWindow(this);
}

HistoryView::~HistoryView() { RegisterHistoryWindow(nullptr); }

void HistoryView::Refresh() {
  const ZBookmarkList& history = GetHistoryList();
  std::vector<ListRow> rows;
  rows.reserve(size_t(history.GetCount()));
  for (int i = history.GetCount() - 1; i >= 0; --i) {
    const ZBookmark* b = history.Get(i);
    rows.push_back({std::string(b->GetName()), "", std::string(b->GetText())});
  }
  list_->SetRows(std::move(rows));
}

void HistoryView::Clear() {
  GetHistoryList().Flush();
  Refresh();
}

void HistoryView::SetupWindow() {
  TWindow::SetupWindow();
  list_->MoveWindow(GetClientRect(), true);
}

void HistoryView::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  list_->MoveWindow(GetClientRect(), true);
}

LRESULT HistoryView::EvCommand(UINT id, HWND control, UINT notifyCode) {
  switch (id) {
    case kCmClear: Clear(); return 0;
    case kCmSearch: Dispatch(SearchText("").c_str()); return 0;
    case kCmBookmarks: Dispatch(kBookmarksEntry); return 0;
    case kCmListsMenu: OpenPaneFlySubMenu(*this, ListsSubMenu()); return 0;
    default: return ForwardToFrame(id);
  }
}

LRESULT HistoryView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WmuBuildFlyMenu: {
      std::vector<FlyEntry> entries{{kCmClear, "Clear the history"}, {0}};
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
      return reinterpret_cast<LRESULT>(new ZBookmark(kHistoryType, kHistoryEntry, kHistoryEntry));
    case WmuNotification: return 0;
    default: return TWindow::WindowProc(msg, wp, lp);
  }
}

}  // namespace quillonary
