#include "host/views/search_view.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "host/core/bookmark_texts.h"
#include "host/views/bookmark_types.h"
#include "host/views/commands.h"
#include "host/views/list_view.h"
#include "host/views/pane_menu.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/dialogs/controls.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/dispatch.h"

namespace quillonary {

using namespace quill;

namespace {

constexpr int kEditId = 101;
constexpr int kListId = 102;
constexpr int kMargin = 6;
constexpr size_t kMaxHits = 100;

constexpr UINT kButtons[] = {kCmBack,    kCmSearch,       kCmBookmarks,
                             kCmHistory, kCmBookmarkPath, kCmFullScreenPath};

const TColor kBackground(232, 232, 224);

// The search field: Enter opens, Down moves into the list; other keys edit.
class SearchField : public TEdit {
 public:
  SearchField(TWindow* parent, std::function<void(UINT)> onKey)
      : TEdit(parent, kEditId, "", 0, 0, 0, 0, 256), onKey_(std::move(onKey)) {}

 protected:
  void EvKeyDown(UINT key, UINT repeatCount, UINT flags) override {
    if (key == VK_RETURN || key == VK_DOWN) {
      onKey_(key);
      return;
    }
    TEdit::EvKeyDown(key, repeatCount, flags);
  }

 private:
  std::function<void(UINT)> onKey_;
};

}  // namespace

SearchView::SearchView(TWindow* holder, const SearchIndex& index)
    : TWindow(holder, "Search"), index_(index) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  label_ = new TStatic(this, 0, "Search for:", 0, 0, 0, 0);
  label_->SetBkgndColor(kBackground);
  edit_ = new SearchField(this, [this](UINT key) {
    if (key == VK_RETURN) {
      OpenQuery();
    } else if (!list_->Rows().empty()) {
      list_->SetFocus();
      list_->Select(std::max(list_->Selected(), 0));
    }
  });
  list_ = new ListView(this);
  list_->Attr.Id = kListId;
  if (const TFont* font = GetAppFont(Label)) label_->SetFont(*font, false);
  if (const TFont* font = GetAppFont(Edit)) edit_->SetFont(*font, false);
  list_->SetEmptyText("No articles match");
  Refresh();
}

void SearchView::SetupWindow() {
  TWindow::SetupWindow();
  LayoutChildren();
}

void SearchView::LayoutChildren() {
  const TRect c = GetClientRect();
  const int fieldH = edit_->GetFont().GetHeight() + 10;
  const int labelW = label_->GetFont().GetTextExtent(label_->GetText()).cx + 4;
  const int labelH = label_->GetFont().GetHeight();
  label_->MoveWindow(kMargin, kMargin + (fieldH - labelH) / 2, labelW, labelH, true);
  const int editX = kMargin + labelW + kMargin;
  edit_->MoveWindow(editX, kMargin, std::max(c.Width() - editX - kMargin, 0), fieldH, true);
  const int listY = kMargin + fieldH + kMargin;
  list_->MoveWindow(0, listY, c.Width(), std::max(c.Height() - listY, 0), true);
}

void SearchView::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  LayoutChildren();
}

bool SearchView::EvEraseBkgnd(TDC& dc) {
  dc.FillRect(GetClientRect(), kBackground);
  return true;
}

std::string SearchView::Query() const { return edit_->GetText(); }

void SearchView::SetQuery(const std::string& query) {
  edit_->SetText(query);  // its change notice lists the hits
  Refresh();
}

void SearchView::Refresh() {
  std::vector<ListRow> rows;
  const std::string query = Query();
  // Without a query every article is listed: where it matched says nothing then.
  const bool blank = query.find_first_not_of(" \t") == std::string::npos;
  for (const SearchHit& hit : index_.Find(query, kMaxHits)) {
    if (!hit.article) continue;
    rows.push_back({hit.article->title,
                    blank         ? ""
                    : hit.inTitle ? "in title"
                                  : "in text",
                    ArticleText(hit.article->id)});
  }
  list_->SetRows(std::move(rows));
  list_->Select(-1);
}

void SearchView::OpenQuery() {
  if (const Article* exact = index_.ExactTitle(Query())) {
    const std::string text = ArticleText(exact->id);
    Dispatch(text.c_str());
    return;
  }
  list_->Open(0);
}

LRESULT SearchView::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (id == kEditId) {
    if (notifyCode == EN_CHANGE) Refresh();
    return 0;
  }
  switch (id) {
    case kCmSearch: edit_->SetFocus(); return 0;
    case kCmBookmarks: Dispatch(kBookmarksEntry); return 0;
    case kCmHistory: Dispatch(kHistoryEntry); return 0;
    case kCmListsMenu: OpenPaneFlySubMenu(*this, ListsSubMenu()); return 0;
    default: return ForwardToFrame(id);
  }
}

LRESULT SearchView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WmuBuildFlyMenu: FillPaneFlyMenu(*this, PathFlyEntries(kCmFullScreenPath)); return 0;
    case WmuGetBtnMenu: {
      HMENU menu = CreatePopupMenu();
      for (UINT id : kButtons) AppendMenu(menu, MF_STRING, id, "@");
      *reinterpret_cast<HMENU*>(lp) = menu;
      return 0;
    }
    case WmuCreateBookmark: {
      const std::string query = Query();
      return reinterpret_cast<LRESULT>(
          new ZBookmark(kSearchType, "Search: " + query, SearchText(query)));
    }
    case WmuNotification:
      if (wp == kNotifyHolderActivated && edit_->IsWindow() && IsWindowVisible()) edit_->SetFocus();
      return 0;
    default: return TWindow::WindowProc(msg, wp, lp);
  }
}

}  // namespace quillonary
