#include "host/app/host_frame.h"

#include "host/core/bookmark_html.h"
#include "host/views/article_view.h"
#include "host/views/bookmark_list_view.h"
#include "host/views/history_view.h"
#include "host/views/media_view.h"
#include "host/views/search_view.h"
#include "quillui/app/art_dir.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/dialogs/controls.h"
#include "quillui/framework/dialogs/file_dialog.h"
#include "quillui/framework/dialogs/message_box.h"
#include "quillui/framework/gadgets/button_gadget.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/response_table.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/navigation/backtrack.h"
#include "quillui/navigation/beep.h"
#include "quillui/navigation/bmk_commands.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/navigation/dispatch.h"
#include "quillui/navigation/routing.h"
#include "quillui/profile/cmd_line.h"
#include "quillui/profile/icons.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/pane_button_bar.h"
#include "quillui/tableau/tableau_pane.h"
#include "quillui/titlebar/title_bar.h"

namespace quillonary {

using namespace quill;

namespace {

// Grouped bookmarks nest; a group deeper than this is not shown.
constexpr int kMaxGroupDepth = 8;

// What the Env pane shows: a page about the program, on the holder colour.
class AboutPage : public TWindow {
 public:
  explicit AboutPage(TWindow* holder) : TWindow(holder, "About Quillonary") {}

 protected:
  void Paint(TDC& dc, bool, TRect&) override {
    dc.FillRect(GetClientRect(), TColor(250, 250, 244));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(TColor(20, 30, 90));
    if (TFont* font = GetAppFont(BigTitle)) dc.SelectObject(*font);
    dc.TextOut(16, 12, "Quillonary");
    if (TFont* font = GetAppFont(Default)) dc.SelectObject(*font);
    dc.SetTextColor(TColor(30, 30, 30));
    int y = 52;
    for (const char* line :
         {"A small encyclopedia built on the Quill UI library.", "",
          "Type in the search field to find an article; links open other articles.",
          "Double-click a title bar to give its pane the whole window.",
          "F6 moves between panes; Backspace or Alt+Left goes back.",
          "The bookmark button keeps a place; the Path pane lists your bookmarks.", "",
          "F1 shows or hides this page."}) {
      dc.TextOut(16, y, line);
      y += 18;
    }
    dc.RestoreFont();
  }
};

bool IsEdit(HWND focus) {
  TWindow* w = GetWindowPtr(focus);
  return w && dynamic_cast<TEdit*>(w) != nullptr;
}

}  // namespace

HostFrame::HostFrame(int width, int height, const ContentStore& store)
    : TWindow(nullptr, "Quillonary"), store_(store), index_(store.Articles()) {
  Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  Attr.W = width, Attr.H = height;
  tableau_ = new ZTableau(this);
  tableau_->Attr.W = width, tableau_->Attr.H = height;
  env_ = new ZTableauPaneBase(eENV_PANE, tableau_, "Env");
  env_->Attr.Style &= ~WS_VISIBLE;
  tableau_->SetEnvPane(env_);
  SetTableau(tableau_);
}

HostFrame::~HostFrame() = default;

void HostFrame::Start() {
  struct {
    PANE_TYPE type;
    const char* icon;
    const char* title;
  } panes[] = {{eMEDIA_PANE, "media", "Media"},
               {ePATH_PANE, "path", "Path"},
               {eARTICLE_PANE, "article", "Article"},
               {eMAXI_PANE, "maxi", "Picture"}};
  const std::string art = GetArtDir();
  for (const auto& p : panes) {
    auto* pane = static_cast<ZTableauPane*>(tableau_->GetTableauPane(p.type));
    auto icon = std::make_unique<ZIcon>();
    const ZIcon* shown = icon->Load(art + "icons/panes/" + p.icon) ? icon.get() : nullptr;
    icons_.push_back(std::move(icon));
    pane->GetTitleBar()->Initialize(shown, p.title, TBF_MINMAX | TBF_SHADOW | TBF_MENU, 0);
  }
  (new AboutPage(env_->GetHolder(1)))->Create();
  env_->ActivateHolder(1);

  // The first screen: the search list and the first article with its media. None of this is
  // a step the reader can go back to.
  m_bSuppressBacktrack = true;
  Dispatch(SearchText("").c_str());
  if (!store_.Articles().empty()) Dispatch(ArticleText(store_.Articles().front().id).c_str());
  m_bSuppressBacktrack = false;
  GetBacktrackStack().Flush();
  tableau_->SetFocusToPane(tableau_->GetTableauPane(ePATH_PANE));
}

bool HostFrame::CanGoBack() const { return GetBacktrackStack().GetCount() > 0; }

bool HostFrame::Back() {
  if (!CanGoBack()) return false;
  m_bSuppressBacktrack = true;
  PopBacktrackStack();
  m_bSuppressBacktrack = false;
  return true;
}

const Article* HostFrame::ShownArticle() const {
  auto* pane = tableau_->GetTableauPane(eARTICLE_PANE);
  ZHolder* holder = pane ? pane->GetActiveHolder() : nullptr;
  auto* view = holder ? dynamic_cast<ArticleView*>(GetWindowPtr(holder->GetChild())) : nullptr;
  return view ? view->Current() : nullptr;
}

bool HostFrame::CloseDeepestMenu() {
  ZFlyMenu* menu = GetActiveFlyMenu();
  if (!menu || !menu->IsWindow()) return false;
  while (menu->GetParentMenu()) menu = menu->GetParentMenu();
  if (!menu->IsWindowVisible()) return false;
  while (ZFlyMenu* sub = menu->GetSubMenu()) {
    if (!sub->IsWindow() || !sub->IsWindowVisible()) break;
    menu = sub;
  }
  menu->RemoveMenuChain(menu->GetParentMenu());
  return true;
}

bool HostFrame::PreProcessMsg(MSG& msg) {
  // With Alt held a key arrives as a system key.
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_LEFT) {
    if (!Back()) DefaultBeep();
    return true;
  }
  if (msg.message == WM_KEYDOWN) {
    const bool alt = GetKeyState(VK_MENU) < 0;
    if ((msg.wParam == VK_LEFT && alt) || (msg.wParam == VK_BACK && !IsEdit(msg.hwnd))) {
      if (!Back()) DefaultBeep();
      return true;
    }
    // Escape takes the deepest open menu off the screen, wherever the focus is.
    if (msg.wParam == VK_ESCAPE && CloseDeepestMenu()) return true;
    if (msg.wParam == VK_F1) {
      ToggleAbout();
      return true;
    }
  }
  return TWindow::PreProcessMsg(msg);
}

LRESULT HostFrame::EvCommand(UINT id, HWND control, UINT notifyCode) {
  switch (id) {
    case kCmBack:
      if (!Back()) DefaultBeep();
      return 0;
    case kCmExportHtml: ExportHtml(); return 0;
    case kCmImportHtml: ImportHtml(); return 0;
    case kCmAbout: ToggleAbout(); return 0;
    case kCmNewList: NewUserBookmarkList(); return 0;
    case kCmOpenList: OpenUserBookmarkList(); return 0;
    case kCmSaveList: SaveUserBookmarkList(); return 0;
    default: return TWindow::EvCommand(id, control, notifyCode);
  }
}

void HostFrame::EvCommandEnable(TCommandEnabler& ce) {
  if (ce.GetId() == kCmBack) {
    ce.Enable(CanGoBack());
    return;
  }
  TWindow::EvCommandEnable(ce);
}

bool HostFrame::IdleAction(long idleCount) {
  const bool more = TWindow::IdleAction(idleCount);
  if (idleCount != 0) return more;
  // The pane bars' animated buttons leave command enabling to their host: the Back buttons are
  // asked here, once each idle time begins.
  for (PANE_TYPE type : {eMEDIA_PANE, ePATH_PANE, eARTICLE_PANE, eMAXI_PANE}) {
    auto* pane = dynamic_cast<ZTableauPane*>(tableau_->GetTableauPane(type));
    ZPaneButtonBar* bar = pane ? pane->GetButtonBar() : nullptr;
    TGadget* back = bar && bar->IsWindow() ? bar->GadgetWithId(int(kCmBack)) : nullptr;
    if (!back) continue;
    TGadgetEnabler ce(*back, bar->GetHandle());
    pane->RouteCommandEnable(ce);
  }
  return more;
}

bool HostFrame::CanClose() {
  return SaveUserBookmarksIfModified(1) != IDCANCEL && TWindow::CanClose();
}

LRESULT HostFrame::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WmuFireOffBookmark:
      return lp ? Show(*reinterpret_cast<const ZBookmark*>(lp), wp == 1, 0) : 0;
    case WmuSetHintText:
      // Kept for whoever shows it; the tableau fills the window, so no status line does.
      hintText_ = lp ? reinterpret_cast<const char*>(lp) : "";
      return 0;
    case WmuIniChanged:
      // The settings file changed: its routing section is read again and the screen redrawn
      // with whatever else the library re-read.
      DeleteRouting();
      LoadupRouting();
      if (IsWindow()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return 0;
    case WmuEnvPaneShown:
    case WmuLogTracking: return 0;
    default: return TWindow::WindowProc(msg, wp, lp);
  }
}

LRESULT HostFrame::Show(const ZBookmark& bookmark, bool quiet, int depth) {
  const std::string text(bookmark.GetText());
  // An arrangement of the tableau, recorded before the tableau changed.
  if (text.rfind("!State=<", 0) == 0 && text.back() == '>') {
    tableau_->SetState(text.substr(8, text.size() - 9));
    return 1;
  }
  // A group of places recorded as one step, newest first: shown oldest first.
  if (std::string(bookmark.GetType()) == ZBookmark::kSpecialType &&
      std::string(bookmark.GetName()) == "grouped") {
    if (depth >= kMaxGroupDepth) return 0;
    std::vector<std::string> texts;
    ZCmdLine line(text);
    std::string name, value;
    for (bool more = line.FindFirst(name, value); more; more = line.FindNext(name, value))
      if (value.empty()) texts.push_back(name);
    LRESULT shown = 0;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
      ZBookmark part(*it);
      shown |= Show(part, quiet, depth + 1);
    }
    return shown;
  }
  const Place place = ReadPlace(text);
  const ZRouteInfo* route = GetRouteInfo(bookmark);
  if (place.entry.empty() || !route) return 0;
  ZTableauPaneBase* pane = tableau_->GetTableauPane(route->m_ePane);
  if (!pane) return 0;
  if (place.entry == kArticleEntry && !store_.Find(place.id)) return 0;

  // Where the reader was, for Back: what the pane showed before it changes.
  if (!m_bSuppressBacktrack && !quiet) {
    std::unique_ptr<ZBookmark> was = pane->CreateCurrentBookmark(eBOOKMARK_FOR_USER);
    if (was && std::string(was->GetText()) != text) AddBacktrackBookmark(std::move(was));
  }
  TWindow* view = ViewFor(place.entry, *pane, route->m_iHolderId);
  if (!view) return 0;
  ShowPlace(place, *view, *pane);
  if (route->m_bFullScreen)
    tableau_->MaximizePane(route->m_ePane);
  else
    tableau_->EnsureOnTop(route->m_ePane);
  pane->ActivateHolder(route->m_iHolderId);
  // What was read enters the history as its content describes it (name and type included).
  if (place.entry == kArticleEntry || place.entry == kMediaEntry)
    if (std::unique_ptr<ZBookmark> read = pane->CreateCurrentBookmark(eBOOKMARK_FOR_USER))
      AddHistoryBookmark(std::move(read));
  return 1;
}

TWindow* HostFrame::ViewFor(const std::string& entry, ZTableauPaneBase& pane, int holderId) {
  ZHolder* holder = pane.GetHolder(holderId);
  if (!holder) return nullptr;
  if (TWindow* shown = GetWindowPtr(holder->GetChild())) return shown;
  TWindow* view = nullptr;
  if (entry == kArticleEntry)
    view = new ArticleView(holder, store_);
  else if (entry == kMediaEntry)
    view = new MediaView(holder, store_);
  else if (entry == kSearchEntry)
    view = new SearchView(holder, index_);
  else if (entry == kBookmarksEntry)
    view = new BookmarkListView(holder);
  else if (entry == kHistoryEntry)
    view = new HistoryView(holder);
  if (view && !view->Create()) {
    delete view;
    view = nullptr;
  }
  return view;
}

void HostFrame::ShowPlace(const Place& place, TWindow& view, ZTableauPaneBase& pane) {
  if (auto* article = dynamic_cast<ArticleView*>(&view)) {
    const Article* shown = store_.Find(place.id);
    article->ShowArticle(shown);
    SetPaneTitle(pane.GetPaneType(), shown ? shown->title : "Article");
    if (shown) ShowMediaOf(*shown, 0);
  } else if (auto* media = dynamic_cast<MediaView*>(&view)) {
    const Article* of = store_.Find(place.id);
    media->ShowMedia(of, place.index);
    SetPaneTitle(pane.GetPaneType(), of ? "Media: " + of->title : "Media");
  } else if (auto* search = dynamic_cast<SearchView*>(&view)) {
    search->SetQuery(place.query);
    SetPaneTitle(pane.GetPaneType(), "Search");
  } else if (dynamic_cast<BookmarkListView*>(&view)) {
    SetPaneTitle(pane.GetPaneType(), "Bookmarks");
  } else if (dynamic_cast<HistoryView*>(&view)) {
    SetPaneTitle(pane.GetPaneType(), "History");
  }
}

// The Media pane follows the article: its first item, without a step of its own for Back.
void HostFrame::ShowMediaOf(const Article& article, int index) {
  const std::string text = MediaText(article.id, index);
  ZBookmark bookmark(text);
  const ZRouteInfo* route = GetRouteInfo(bookmark);
  ZTableauPaneBase* pane = route ? tableau_->GetTableauPane(route->m_ePane) : nullptr;
  if (!pane) return;
  TWindow* view = ViewFor(kMediaEntry, *pane, route->m_iHolderId);
  if (!view) return;
  ShowPlace(ReadPlace(text), *view, *pane);
  pane->ActivateHolder(route->m_iHolderId);
}

void HostFrame::SetPaneTitle(PANE_TYPE type, const std::string& title) {
  auto* pane = dynamic_cast<ZTableauPane*>(tableau_->GetTableauPane(type));
  ZTitleBar* bar = pane ? pane->GetTitleBar() : nullptr;
  if (!bar || bar->GetTitle() == title) return;
  bar->setTitle(title.c_str());
  if (bar->IsWindow()) bar->Invalidate();
}

void HostFrame::ExportHtml() {
  TOpenSaveDialog::TData data(OFN_OVERWRITEPROMPT,
                              "Bookmark HTML (*.html)|*.html|All Files (*.*)|*.*|");
  data.FileName = "bookmarks.html";
  if (TFileSaveDialog(this, data, "Export Bookmarks").Execute() != IDOK) return;
  std::string error;
  if (!ExportBookmarksHtml(GetUserBookmarks(), data.FileName, &error))
    quill::MessageBox(GetHandle(), error.c_str(), "Export Bookmarks", MB_OK | MB_ICONEXCLAMATION);
}

void HostFrame::ImportHtml() {
  TOpenSaveDialog::TData data(OFN_FILEMUSTEXIST,
                              "Bookmark HTML (*.html;*.htm)|*.html;*.htm|All Files (*.*)|*.*|");
  if (TFileOpenDialog(this, data, "Import Bookmarks").Execute() != IDOK) return;
  HtmlImportResult result = ImportBookmarksHtml(data.FileName, GetUserBookmarks());
  NotifyUserBMListChanged();
  quill::MessageBox(GetHandle(), result.message.c_str(), "Import Bookmarks",
                    MB_OK | (result.refused ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

void HostFrame::ToggleAbout() { tableau_->ShowEnvPane(!env_->IsWindowVisible()); }

}  // namespace quillonary
