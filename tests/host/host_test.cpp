// The whole program driven as a reader drives it: places shown where the routing says, Back
// through steps and arrangements, the keys, search as you type, the bookmark list with its
// files, and the tour.
#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "host/app/tour.h"
#include "host/core/bookmark_texts.h"
#include "host/views/article_view.h"
#include "host/views/bookmark_types.h"
#include "host/views/list_view.h"
#include "host/views/media_view.h"
#include "host/views/search_view.h"
#include "host_fixture.h"
#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/dialogs/controls.h"
#include "quillui/framework/gadgets/gadget.h"
#include "quillui/framework/stream/pstream.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/navigation/bmk_commands.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/navigation/dispatch.h"
#include "quillui/platform/screen/input_event.h"
#include "quillui/platform/screen/input_script.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/pane_base.h"
#include "quillui/tableau/pane_button_bar.h"
#include "quillui/tableau/tableau_pane.h"
#include "quillui/titlebar/title_bar.h"

namespace quillonary {
namespace {

using namespace quill;

class HostFrameTest : public HostTest {
 protected:
  HostFrame& Frame() { return host->Frame(); }

  ZTableauPane& Pane(PANE_TYPE type) {
    return *static_cast<ZTableauPane*>(Frame().Tableau().GetTableauPane(type));
  }
  std::string Title(PANE_TYPE type) { return Pane(type).GetTitleBar()->GetTitle(); }
  std::string ShownId() {
    const Article* shown = Frame().ShownArticle();
    return shown ? shown->id : "";
  }
  template <class View>
  View* ViewIn(PANE_TYPE type) {
    ZHolder* holder = Pane(type).GetActiveHolder();
    return holder ? dynamic_cast<View*>(GetWindowPtr(holder->GetChild())) : nullptr;
  }
  LRESULT Show(const std::string& text) {
    const LRESULT shown = Dispatch(text.c_str());
    host->Settle();
    return shown;
  }
  std::vector<std::string> Texts(const ZBookmarkList& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); ++i) texts.emplace_back(list.Get(i)->GetText());
    return texts;
  }
  int VisibleMenus(const TWindow& w) {
    int n = 0;
    for (const TWindow* child : w.GetChildren()) {
      if (dynamic_cast<const ZFlyMenu*>(child) && child->IsWindow() && child->IsWindowVisible())
        ++n;
      n += VisibleMenus(*child);
    }
    return n;
  }
  void ClickGadget(const TWindow& bar, const TGadget& gadget) {
    TRect bounds = gadget.GetBounds();
    bar.ClientToScreen(bounds);
    Click((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
  }
  TGadget* BackButton() {
    ZPaneButtonBar* bar = Pane(ePATH_PANE).GetButtonBar();
    return bar && bar->IsWindow() ? bar->GadgetWithId(int(kCmBack)) : nullptr;
  }
};

TEST_F(HostFrameTest, ShowsArticleWithItsMediaAndRecordsWhatWasRead) {
  StartHost();
  const int read = GetHistoryList().GetCount();
  ASSERT_NE(Show(ArticleText("lighthouse")), 0);
  EXPECT_EQ(ShownId(), "lighthouse");
  EXPECT_EQ(Title(eARTICLE_PANE), "Lighthouses");
  auto* media = ViewIn<MediaView>(eMEDIA_PANE);
  ASSERT_NE(media, nullptr);
  ASSERT_NE(media->Current(), nullptr);
  EXPECT_EQ(media->Current()->id, "lighthouse");
  EXPECT_EQ(media->Index(), 0);
  EXPECT_NE(media->Picture(), nullptr);
  EXPECT_EQ(Title(eMEDIA_PANE), "Media: Lighthouses");
  // One history entry per article read, as an article; a search list is not reading.
  ASSERT_EQ(GetHistoryList().GetCount(), read + 1);
  EXPECT_EQ(std::string(GetHistoryList().Newest()->GetType()), kArticleType);
  EXPECT_EQ(GetHistoryList().Newest()->GetText(), ArticleText("lighthouse"));
  ASSERT_NE(Show(SearchText("light")), 0);
  EXPECT_EQ(GetHistoryList().GetCount(), read + 1);

  // Places that do not exist show nothing and change nothing.
  for (const std::string& text :
       {ArticleText("no-such-article"), std::string("Nowhere id=lighthouse"), std::string("")}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Show(text), 0);
    EXPECT_EQ(ShownId(), "lighthouse");
    EXPECT_EQ(GetHistoryList().GetCount(), read + 1);
  }
}

TEST_F(HostFrameTest, BackRetracesStepsWithoutRecordingNewOnes) {
  StartHost();
  const std::string first = ShownId();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(GetBacktrackStack().GetCount(), 0);
  EXPECT_FALSE(Frame().Back());

  ASSERT_NE(Show(ArticleText("lighthouse")), 0);
  // A click on the article's first link.
  auto* article = ViewIn<ArticleView>(eARTICLE_PANE);
  ASSERT_NE(article, nullptr);
  TPoint link(-1, -1);
  std::string target;
  const TRect client = article->GetClientRect();
  for (int y = 0; y < client.bottom && target.empty(); y += 2)
    for (int x = 0; x < client.right && target.empty(); x += 4)
      if (!(target = article->LinkAt(TPoint(x, y))).empty()) link = TPoint(x, y);
  ASSERT_FALSE(target.empty());
  article->ClientToScreen(link);
  Click(link.x, link.y);
  host->Wait(100);
  ASSERT_EQ(ShownId(), target);
  EXPECT_EQ(GetBacktrackStack().GetCount(), 2);
  // The Path pane's Back button.
  TGadget* back = BackButton();
  ASSERT_NE(back, nullptr);
  ClickGadget(*Pane(ePATH_PANE).GetButtonBar(), *back);
  host->Wait(100);
  EXPECT_EQ(ShownId(), "lighthouse");
  EXPECT_EQ(Title(eARTICLE_PANE), "Lighthouses");
  EXPECT_EQ(ViewIn<MediaView>(eMEDIA_PANE)->Current()->id, "lighthouse");
  EXPECT_EQ(GetBacktrackStack().GetCount(), 1);
  EXPECT_TRUE(Frame().Back());
  host->Settle();
  EXPECT_EQ(ShownId(), first);
  EXPECT_EQ(GetBacktrackStack().GetCount(), 0);
  EXPECT_FALSE(Frame().Back());
}

TEST_F(HostFrameTest, BackRestoresTheArrangementAPaneLeft) {
  // The Article pane takes the whole window by a double click on its title bar, or by its
  // full-screen button.
  for (bool button : {false, true}) {
    SCOPED_TRACE(button ? "full-screen button" : "title bar double click");
    StartHost();
    ZTableau& tableau = Frame().Tableau();
    const std::string arranged = tableau.GetState();
    if (button) {
      ZPaneButtonBar* bar = Pane(eARTICLE_PANE).GetButtonBar();
      TGadget* full = bar ? bar->GadgetWithId(int(kCmFullScreenArticle)) : nullptr;
      ASSERT_NE(full, nullptr);
      ClickGadget(*bar, *full);
    } else {
      Click(600, 20);
      Click(600, 20);
    }
    host->Wait(100);
    ASSERT_TRUE(tableau.IsMaximized());
    EXPECT_NE(tableau.GetState(), arranged);
    EXPECT_TRUE(Frame().Back());
    host->Settle();
    EXPECT_FALSE(tableau.IsMaximized());
    EXPECT_EQ(tableau.GetState(), arranged);
    EXPECT_EQ(GetBacktrackStack().GetCount(), 0);
    StopHost();
  }
}

TEST_F(HostFrameTest, BackButtonIsGreyedWhenThereIsNothingToGoBackTo) {
  StartHost();
  TGadget* back = BackButton();
  ASSERT_NE(back, nullptr);
  EXPECT_FALSE(back->GetEnabled());
  Show(ArticleText("lighthouse"));
  EXPECT_TRUE(back->GetEnabled());
  Frame().Back();
  host->Settle();
  EXPECT_FALSE(back->GetEnabled());
}

TEST_F(HostFrameTest, BackKeysGoBackUnlessTypingInTheSearchField) {
  struct Case {
    const char* name;
    unsigned key;
    unsigned modifiers;
  } cases[] = {{"Backspace", VK_BACK, 0}, {"Alt+Left", VK_LEFT, platform::kModAlt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartHost();
    const std::string first = ShownId();
    Show(ArticleText("lighthouse"));
    Frame().Tableau().SetFocusToPane(&Pane(eARTICLE_PANE));
    host->Settle();
    Key(c.key, c.modifiers);
    EXPECT_EQ(ShownId(), first);
    EXPECT_EQ(GetBacktrackStack().GetCount(), 0);
    StopHost();
  }
  // In the search field Backspace edits the query.
  StartHost();
  Show(ArticleText("lighthouse"));
  Click(230, 348);
  Type("ab");
  Key(VK_BACK);
  Type("\b");  // the character the keyboard types with it
  EXPECT_EQ(ShownId(), "lighthouse");
  ASSERT_NE(ViewIn<SearchView>(ePATH_PANE), nullptr);
  EXPECT_EQ(ViewIn<SearchView>(ePATH_PANE)->Query(), "a");
}

TEST_F(HostFrameTest, EscapeClosesTheDeepestMenuALevelAtATime) {
  StartHost();
  Show(ArticleText("lighthouse"));
  Click(420, 20);  // the Article pane's title-bar icon
  host->Wait(400);
  ASSERT_EQ(VisibleMenus(Frame()), 1);
  platform::InputEvent hover;
  hover.kind = platform::InputKind::MouseMove;
  hover.x = 440, hover.y = 80;  // its "Links" entry
  host->Inject(hover);
  host->Wait(400);
  ASSERT_EQ(VisibleMenus(Frame()), 2);
  Key(VK_ESCAPE);
  EXPECT_EQ(VisibleMenus(Frame()), 1);
  Key(VK_ESCAPE);
  EXPECT_EQ(VisibleMenus(Frame()), 0);
  EXPECT_EQ(ShownId(), "lighthouse");
}

TEST_F(HostFrameTest, SearchListsHitsAsYouTypeAndReturnOpensAnExactTitle) {
  StartHost();
  Click(230, 348);
  Type("light");
  auto* search = ViewIn<SearchView>(ePATH_PANE);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(search->Query(), "light");
  std::vector<std::string> hits;
  for (const ListRow& row : search->List().Rows()) hits.push_back(row.text);
  EXPECT_NE(std::find(hits.begin(), hits.end(), ArticleText("lighthouse")), hits.end());
  EXPECT_NE(std::find(hits.begin(), hits.end(), ArticleText("lightning")), hits.end());

  Type("houses");
  Key(VK_RETURN);
  EXPECT_EQ(ShownId(), "lighthouse");
}

TEST_F(HostFrameTest, BookmarkListSavesWithBackupAndRoundTripsThroughHtml) {
  StartHost();
  Show(ArticleText("lighthouse"));
  ZBookmarkList& list = GetUserBookmarks();
  const int had = list.GetCount();
  Pane(eARTICLE_PANE).SendMessage(WM_COMMAND, kCmBookmarkArticle, 0);
  host->Wait(1500);
  ASSERT_EQ(list.GetCount(), had + 1);
  EXPECT_EQ(list.Newest()->GetText(), ArticleText("lighthouse"));

  // The second save keeps the first list beside it.
  const std::filesystem::path file = home / "places.bmk";
  list.SetFileName(file.string());
  ASSERT_TRUE(WriteUserBookmarks());
  const std::vector<std::string> first = Texts(list);
  Show(ArticleText("nile"));
  Pane(eARTICLE_PANE).SendMessage(WM_COMMAND, kCmBookmarkArticle, 0);
  host->Wait(1500);
  ASSERT_TRUE(WriteUserBookmarks());
  std::vector<std::string> backup;
  ifpstream in((file.string() + ".bak").c_str());
  EXPECT_EQ(ReadBmk(in, [&](std::unique_ptr<ZBookmark> b) { backup.emplace_back(b->GetText()); }),
            ZBmkReadResult::Complete);
  EXPECT_EQ(backup, first);

  // Exported and imported again, the list comes back appended to itself.
  const std::vector<std::string> saved = Texts(list);
  const std::string html = (home / "places.html").string();
  SetAnswerHook(ScriptedAnswers({{IDOK, html}, {IDOK, html}, {IDOK, ""}}));
  ClearRecordedQuestions();
  Frame().SendMessage(WM_COMMAND, kCmExportHtml, 0);
  ASSERT_TRUE(std::filesystem::exists(html));
  Frame().SendMessage(WM_COMMAND, kCmImportHtml, 0);
  host->Settle();
  std::vector<std::string> twice = saved;
  twice.insert(twice.end(), saved.begin(), saved.end());
  EXPECT_EQ(Texts(list), twice);
  const auto& asked = RecordedQuestions();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[2].kind, TModalKind::MessageBox);
  EXPECT_EQ(asked[2].caption, "Import Bookmarks");
}

TEST_F(HostFrameTest, SavedListIsThereAgainInTheNextSession) {
  StartHost();
  Show(ArticleText("lighthouse"));
  Pane(eARTICLE_PANE).SendMessage(WM_COMMAND, kCmBookmarkArticle, 0);
  host->Wait(1500);
  const std::vector<std::string> saved = Texts(GetUserBookmarks());
  ASSERT_FALSE(saved.empty());
  SetAnswerHook(ScriptedAnswers({{IDOK, (home / "kept.bmk").string()}}));
  ASSERT_EQ(SaveUserBookmarkList(), 1);
  StopHost();
  SetAnswerHook(AnswerWithoutDisplay);

  StartHost();
  EXPECT_EQ(Texts(GetUserBookmarks()), saved);
  EXPECT_EQ(GetUserBookmarks().GetFileName(), (home / "kept.bmk").string());
}

TEST_F(HostFrameTest, ClosingAsksToSaveAModifiedList) {
  StartHost();
  Show(ArticleText("lighthouse"));
  Pane(eARTICLE_PANE).SendMessage(WM_COMMAND, kCmBookmarkArticle, 0);
  host->Wait(1500);
  const std::vector<std::string> made = Texts(GetUserBookmarks());
  platform::InputEvent close;
  close.kind = platform::InputKind::Close;
  // Cancel keeps the program open; Yes asks for a file, saves there and closes.
  const std::string file = (home / "at-exit.bmk").string();
  SetAnswerHook(ScriptedAnswers({{IDCANCEL, ""}, {IDYES, ""}, {IDOK, file}}));
  ClearRecordedQuestions();
  host->Inject(close);
  EXPECT_TRUE(host->FrameOpen());
  host->Inject(close);
  EXPECT_FALSE(host->FrameOpen());
  ASSERT_EQ(RecordedQuestions().size(), 3u);
  EXPECT_EQ(RecordedQuestions()[0].text, "Save modified bookmark list?");
  EXPECT_EQ(RecordedQuestions()[2].kind, TModalKind::FileSave);
  std::vector<std::string> saved;
  ifpstream in(file.c_str());
  EXPECT_EQ(ReadBmk(in, [&](std::unique_ptr<ZBookmark> b) { saved.emplace_back(b->GetText()); }),
            ZBmkReadResult::Complete);
  EXPECT_EQ(saved, made);
}

TEST_F(HostFrameTest, EveryScreenSizeShowsAPlaceAndGoesBack) {
  const std::pair<int, int> sizes[] = {{640, 480}, {800, 600}, {1024, 768}};
  for (const auto& [width, height] : sizes) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    StartHost(width, height);
    const std::string first = ShownId();
    const std::string arranged = Frame().Tableau().GetState();
    ASSERT_NE(Show(ArticleText("lighthouse")), 0);
    EXPECT_EQ(ShownId(), "lighthouse");
    // Full screen, the pane takes the window but for the tableau's rim.
    Pane(eARTICLE_PANE).SendMessage(WM_COMMAND, kCmFullScreenArticle, 0);
    host->Settle();
    EXPECT_TRUE(Frame().Tableau().IsMaximized());
    const TRect full = Pane(eARTICLE_PANE).GetClientRect();
    EXPECT_GE(full.Width(), width - 20);
    EXPECT_LE(full.Width(), width);
    EXPECT_GE(full.Height(), height - 20);
    EXPECT_LE(full.Height(), height);
    while (Frame().Back()) host->Settle();
    EXPECT_EQ(ShownId(), first);
    EXPECT_EQ(Frame().Tableau().GetState(), arranged);
    StopHost();
  }
}

TEST_F(HostFrameTest, TourRunsAndWritesItsPictures) {
  StartHost();
  std::vector<platform::ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(platform::ParseInputScript(TourScript(), steps, &error)) << error;
  const std::filesystem::path out = home / "tour";
  ASSERT_TRUE(host->Replay(steps, out.string()));
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out))
    pictures += entry.path().extension() == ".png" && entry.file_size() > 0;
  EXPECT_EQ(pictures, 6);
  EXPECT_FALSE(Frame().Tableau().IsMaximized());
}

}  // namespace
}  // namespace quillonary
