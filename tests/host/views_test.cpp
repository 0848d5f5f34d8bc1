// The host's content windows in a headless tableau: the article page's layout, links,
// selection and scrolling; the lists of the Path pane; search as you type.
#include <memory>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "host/core/bookmark_texts.h"
#include "host/core/search.h"
#include "host/views/article_view.h"
#include "host/views/bookmark_list_view.h"
#include "host/views/history_view.h"
#include "host/views/list_view.h"
#include "host/views/media_view.h"
#include "host/views/search_view.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/dialogs/controls.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/navigation/dispatch.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/tableau.h"
#include "quillui/testing/navigation.h"
#include "quillui/testing/tableau.h"

namespace quillonary {
namespace {

using namespace quill;

// The application frame: records the texts of the bookmarks fired at it.
class Frame : public TWindow, public ZVexFrame {
 public:
  Frame() : TWindow(nullptr, "Frame") {
    Attr.W = 800;
    Attr.H = 600;
  }
  TWindow& GetFrameTWindow() override { return *this; }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuFireOffBookmark) {
      fired.emplace_back(reinterpret_cast<const ZBookmark*>(lp)->GetText());
      return 1;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  std::vector<std::string> fired;
};

Article MakeArticle(std::string id, std::string title, std::vector<Block> blocks) {
  Article a;
  a.id = std::move(id);
  a.title = std::move(title);
  a.blocks = std::move(blocks);
  return a;
}

Block Para(std::vector<TextRun> runs) { return Block{Block::kParagraph, std::move(runs)}; }

class ViewsTest : public test::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ResetNavigation();
    ResetTableauFirstSize();
    frame = std::make_unique<Frame>();
    tableau = new ZTableau(frame.get());
    tableau->Attr.W = 800;
    tableau->Attr.H = 600;
    frame->SetTableau(tableau, tableau);
    SetAppFrame(frame.get());
    ASSERT_TRUE(frame->Create());
  }
  void TearDown() override {
    SetAppFrame(nullptr);
    frame->Destroy();
    frame.reset();
    ResetNavigation();
    AppTest::TearDown();
  }
  // A content window made in the pane's holder 1, which becomes the active holder.
  template <class View, class... Args>
  View* Put(PANE_TYPE type, Args&&... args) {
    ZTableauPaneBase* pane = tableau->GetTableauPane(type);
    auto* view = new View(pane->GetHolder(1), std::forward<Args>(args)...);
    view->Create();
    pane->ActivateHolder(1);
    Pump();
    return view;
  }
  void ClickAt(TWindow& w, TPoint p) {
    w.ClientToScreen(p);
    Click(p.x, p.y);
  }
  void Drag(TWindow& w, TPoint from, TPoint to) {
    w.ClientToScreen(from);
    w.ClientToScreen(to);
    MouseDown(from.x, from.y);
    MouseMove((from.x + to.x) / 2, (from.y + to.y) / 2);
    MouseMove(to.x, to.y);
    MouseUp(to.x, to.y);
  }

  std::unique_ptr<Frame> frame;
  ZTableau* tableau = nullptr;
  ContentStore store;
};

// The client point of the middle of the first piece that shows a link.
TPoint LinkPoint(ArticleView& view) {
  for (const ArticleView::Line& line : view.Lines())
    for (const ArticleView::Piece& piece : line.pieces)
      if (piece.link >= 0) return TPoint(14 + piece.x + piece.width / 2, line.y + line.height / 2);
  ADD_FAILURE() << "no link laid out";
  return TPoint();
}

TEST_F(ViewsTest, ArticleLinesStayWithinTheWidthAtEverySize) {
  const Article article = MakeArticle(
      "light", "Speed of light",
      {Para({{"Light travels at about three hundred thousand kilometres a second; ", ""},
             {"sunlight", "sun"},
             {" takes eight minutes to reach us. ", ""},
             {std::string(300, 'w'), ""},
             {" and a word of \xC3\xA9t\xC3\xA9 in UTF-8.", ""}})});
  auto* view = Put<ArticleView>(eARTICLE_PANE, store);
  view->ShowArticle(&article);
  for (int width : {0, 1, 30, 120, 390}) {
    SCOPED_TRACE(width);
    view->MoveWindow(0, 0, width, 300);
    const auto& lines = view->Lines();
    ASSERT_FALSE(lines.empty());
    size_t covered = 0;
    for (const auto& line : lines) {
      for (const auto& piece : line.pieces) {
        EXPECT_GE(piece.start, covered) << "pieces follow the text in order";
        covered = piece.start + piece.length;
      }
      // Where a character fits, the words of every line end within the margins.
      const auto& last = line.pieces.back();
      std::string_view words = std::string_view(view->Text()).substr(last.start, last.length);
      while (!words.empty() && words.back() == ' ') words.remove_suffix(1);
      const int right = last.x + GetAppFont(last.font)->GetTextExtent(words).cx;
      if (width >= 120) {
        EXPECT_LE(right, width - 28);
      }
    }
    EXPECT_EQ(covered, view->Text().size());
    view->UpdateWindow();
  }
  view->MoveWindow(0, 0, 390, 300);
  EXPECT_GT(view->Lines().size(), 5u) << "the long word is broken over lines";
}

TEST_F(ViewsTest, ArticleLinksDispatchOnAClickButNotOnADrag) {
  const Article article = MakeArticle(
      "aurora", "Aurora",
      {Para({{"Caused by the ", ""}, {"solar wind", "solar-wind"}, {" meeting the air.", ""}})});
  auto* view = Put<ArticleView>(eARTICLE_PANE, store);
  view->ShowArticle(&article);
  Pump();
  const TPoint link = LinkPoint(*view);
  EXPECT_EQ(view->LinkAt(link), "solar-wind");
  Drag(*view, link, link + TPoint(40, 0));
  EXPECT_TRUE(frame->fired.empty());
  Advance(2000);  // not a double click
  ClickAt(*view, link);
  EXPECT_EQ(frame->fired, std::vector<std::string>{ArticleText("solar-wind")});
}

TEST_F(ViewsTest, ADragSelectsTextForTheArticleSelection) {
  const Article article =
      MakeArticle("aurora", "Aurora", {Para({{"Green light over the pole.", ""}})});
  auto* view = Put<ArticleView>(eARTICLE_PANE, store);
  view->ShowArticle(&article);
  Pump();
  std::string text;
  EXPECT_EQ(GetArticleTextSelection(text), 0);
  const auto& line = view->Lines().at(1);  // the paragraph's only line
  const auto& piece = line.pieces.at(1);   // "light "
  ASSERT_EQ(article.title.size() + 1 + 6, piece.start);
  const int y = line.y + line.height / 2;
  // From the left edge of "light" to the right edge of "over".
  const auto& over = line.pieces.at(2);
  const int overW = GetAppFont(Default)->GetTextExtent("over").cx;
  Drag(*view, TPoint(14 + piece.x + 1, y), TPoint(14 + over.x + overW - 1, y));
  EXPECT_NE(GetArticleTextSelection(text), 0);
  EXPECT_EQ(text, "light over");
  // Across the title into the paragraph gives both, a line break between.
  Advance(2000);
  Drag(*view, TPoint(14 + 1, view->Lines()[0].y + 4), TPoint(14 + piece.x + 1, y));
  EXPECT_EQ(view->SelectedText(), "Aurora\nGreen ");
  // A double click selects the word under it.
  Advance(2000);
  ClickAt(*view, TPoint(14 + over.x + 2, y));
  ClickAt(*view, TPoint(14 + over.x + 2, y));
  EXPECT_EQ(view->SelectedText(), "over");
  // A click clears it.
  Advance(2000);
  ClickAt(*view, TPoint(200, 200));
  EXPECT_EQ(GetArticleTextSelection(text), 0);
}

TEST_F(ViewsTest, ArticleScrollingIsClamped) {
  std::vector<Block> blocks;
  for (int i = 0; i < 40; ++i) blocks.push_back(Para({{"Paragraph " + std::to_string(i), ""}}));
  const Article article = MakeArticle("long", "Long", blocks);
  auto* view = Put<ArticleView>(eARTICLE_PANE, store);
  view->ShowArticle(&article);
  Pump();
  ClickAt(*view, TPoint(300, 5));  // the focus
  const int max = view->MaxScroll();
  ASSERT_GT(max, 0);
  Key(VK_UP);
  EXPECT_EQ(view->ScrollPos(), 0);
  Key(VK_DOWN);
  EXPECT_GT(view->ScrollPos(), 0);
  Key(VK_END);
  EXPECT_EQ(view->ScrollPos(), max);
  Key(VK_NEXT);
  EXPECT_EQ(view->ScrollPos(), max);
  Key(VK_HOME);
  EXPECT_EQ(view->ScrollPos(), 0);
  // A narrower pane has more lines; showing another article starts at the top.
  Key(VK_END);
  view->ShowArticle(nullptr);
  EXPECT_EQ(view->ScrollPos(), 0);
  EXPECT_EQ(view->MaxScroll(), 0);
  EXPECT_EQ(view->SendMessage(WmuCreateBookmark, eBOOKMARK_FOR_USER), 0);
  // A page with no text at all takes clicks, drags and keys, and bookmarks under its id.
  const Article empty = MakeArticle("blank", "", {Para({}), Para({{"", ""}})});
  view->ShowArticle(&empty);
  Advance(2000);
  Drag(*view, TPoint(20, 20), TPoint(200, 200));
  Key(VK_END);
  EXPECT_EQ(view->ScrollPos(), 0);
  std::string text;
  EXPECT_EQ(GetArticleTextSelection(text), 0);
  std::unique_ptr<ZBookmark> mark(
      reinterpret_cast<ZBookmark*>(view->SendMessage(WmuCreateBookmark, eBOOKMARK_FOR_USER)));
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->GetName(), "blank");
  EXPECT_EQ(mark->GetText(), ArticleText("blank"));
}

TEST_F(ViewsTest, AListOpensTheRowClickedOrChosenByKeys) {
  auto* list = Put<ListView>(ePATH_PANE);
  std::vector<std::string> opened;
  list->onOpen = [&](const ListRow& row) { opened.push_back(row.text); };
  std::vector<ListRow> rows;
  for (int i = 0; i < 50; ++i)
    rows.push_back({"Row " + std::to_string(i), "", "T" + std::to_string(i)});
  list->SetRows(rows);
  Pump();
  const int h = list->RowHeight();
  ClickAt(*list, TPoint(20, h * 2 + h / 2));
  EXPECT_EQ(opened, std::vector<std::string>{"T2"});
  EXPECT_EQ(list->Selected(), 2);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(opened.back(), "T3");
  Key(VK_END);
  EXPECT_EQ(list->Selected(), 49);
  EXPECT_GT(list->TopRow(), 0) << "the selection is scrolled into view";
  list->SetRows({});
  EXPECT_EQ(list->Selected(), -1);
  Key(VK_RETURN);
  EXPECT_EQ(opened.size(), 2u);
  // Without a handler of its own, a row is dispatched.
  auto* plain = Put<ListView>(eMEDIA_PANE);
  plain->SetRows({{"Aurora", "in title", ArticleText("aurora")}});
  Pump();
  ClickAt(*plain, TPoint(20, h / 2));
  EXPECT_EQ(frame->fired, std::vector<std::string>{ArticleText("aurora")});
}

// The labels and details of a list's rows, "label/detail" each.
std::vector<std::string> Shown(const ListView& list) {
  std::vector<std::string> shown;
  for (const ListRow& row : list.Rows()) shown.push_back(row.label + "/" + row.detail);
  return shown;
}

TEST_F(ViewsTest, SearchListsTitleHitsFirstAndEnterOpensAnExactTitle) {
  const std::vector<Article> articles = {
      MakeArticle("aurora", "Aurora", {Para({{"Curtains of light in the polar sky.", ""}})}),
      MakeArticle("light", "Light", {Para({{"What we see by.", ""}})}),
      MakeArticle("lighthouse", "Lighthouse", {Para({{"A tower with a lamp.", ""}})}),
      MakeArticle("moon", "Moon", {Para({{"It shines by reflected sunlight.", ""}})}),
  };
  const SearchIndex index(articles);
  auto* view = Put<SearchView>(ePATH_PANE, index);
  EXPECT_EQ(view->List().Rows().size(), articles.size()) << "an empty query lists every article";
  // Typed into the field, one character at a time.
  TPoint field(5, 5);
  view->Field().ClientToScreen(field);
  Click(field.x, field.y);
  for (char c : std::string("ligh")) SendMessage(GetFocus(), WM_CHAR, WPARAM(uint8_t(c)), 0);
  EXPECT_EQ(view->Query(), "ligh");
  EXPECT_EQ(Shown(view->List()),
            (std::vector<std::string>{"Light/in title", "Lighthouse/in title", "Aurora/in text"}));
  SendMessage(GetFocus(), WM_CHAR, WPARAM('t'), 0);
  Key(VK_RETURN);
  EXPECT_EQ(frame->fired, std::vector<std::string>{ArticleText("light")});
  // Without an exact title Enter opens the first hit; a query that matches nothing, nothing.
  view->SetQuery("lighth");
  Key(VK_RETURN);
  EXPECT_EQ(frame->fired.back(), ArticleText("lighthouse"));
  view->SetQuery("zebra");
  EXPECT_TRUE(view->List().Rows().empty());
  Key(VK_RETURN);
  EXPECT_EQ(frame->fired.size(), 2u);
  std::unique_ptr<ZBookmark> mark(
      reinterpret_cast<ZBookmark*>(view->SendMessage(WmuCreateBookmark, eBOOKMARK_FOR_USER)));
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->GetName(), "Search: zebra");
  EXPECT_EQ(mark->GetText(), SearchText("zebra"));
}

TEST_F(ViewsTest, MediaItemsAreClampedAndUnreadableOnesSaySo) {
  Article article = MakeArticle("aurora", "Aurora", {});
  article.media = {{MediaItem::kPicture, "missing.bmp", "Over a lake"},
                   {MediaItem::kSound, "../outside.wav", "Crackle"}};
  const Article bare = MakeArticle("moon", "Moon", {});
  auto* view = Put<MediaView>(eMEDIA_PANE, store);
  view->ShowMedia(&article, 7);
  EXPECT_EQ(view->Index(), 1);
  view->Play();  // a name that is no safe file name is not played
  EXPECT_FALSE(view->IsPlaying());
  EXPECT_EQ(view->Message(), "The sound cannot be played");
  view->ShowMedia(&article, -3);
  EXPECT_EQ(view->Index(), 0);
  EXPECT_EQ(view->Picture(), nullptr);
  EXPECT_FALSE(view->Message().empty());
  std::unique_ptr<ZBookmark> mark(
      reinterpret_cast<ZBookmark*>(view->SendMessage(WmuCreateBookmark, eBOOKMARK_FOR_USER)));
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->GetName(), "Aurora: Over a lake");
  EXPECT_EQ(mark->GetText(), MediaText("aurora", 0));
  view->SendMessage(WM_COMMAND, 7107);
  EXPECT_EQ(frame->fired, std::vector<std::string>{MediaText("aurora", 1)});
  view->SendMessage(WM_COMMAND, 7106);  // nothing before the first item
  EXPECT_EQ(frame->fired.size(), 1u);
  view->ShowMedia(&bare, 2);
  EXPECT_EQ(view->Item(), nullptr);
  EXPECT_EQ(view->Message(), "No media");
  view->UpdateWindow();
}

TEST_F(ViewsTest, TheBookmarkListFollowsTheUserList) {
  auto* view = Put<BookmarkListView>(ePATH_PANE);
  EXPECT_TRUE(view->List().Rows().empty());
  QuietlyAddUserBookmark(std::make_unique<ZBookmark>("Aurora", ArticleText("aurora")));
  QuietlyAddUserBookmark(std::make_unique<ZBookmark>("Moon", ArticleText("moon")));
  QuietlyAddUserBookmark(std::make_unique<ZBookmark>("Light", ArticleText("light")));
  NotifyUserBMListChanged();
  EXPECT_EQ(Shown(view->List()), (std::vector<std::string>{"Aurora/", "Moon/", "Light/"}));
  DeleteUserBookmark(0);
  EXPECT_EQ(Shown(view->List()), (std::vector<std::string>{"Moon/", "Light/"}));
  // A click opens; Delete removes the selected bookmark and the selection stays in place.
  const int h = view->List().RowHeight();
  ClickAt(view->List(), TPoint(10, h / 2));
  EXPECT_EQ(frame->fired, std::vector<std::string>{ArticleText("moon")});
  Key(VK_DELETE);
  EXPECT_EQ(Shown(view->List()), std::vector<std::string>{"Light/"});
  EXPECT_EQ(view->List().Selected(), 0);
  view->SendMessage(WM_COMMAND, 7222);
  EXPECT_EQ(GetUserBookmarks().GetCount(), 0);
  EXPECT_TRUE(view->List().Rows().empty());
  view->SendMessage(WM_COMMAND, 7222);  // nothing selected, nothing left
}

TEST_F(ViewsTest, TheHistoryShowsNewestFirstAndClears) {
  auto* view = Put<HistoryView>(ePATH_PANE);
  AddHistoryBookmark(std::make_unique<ZBookmark>("ARTI", "Aurora", ArticleText("aurora")));
  AddHistoryBookmark(std::make_unique<ZBookmark>("ARTI", "Moon", ArticleText("moon")));
  EXPECT_EQ(Shown(view->List()), (std::vector<std::string>{"Moon/", "Aurora/"}));
  view->SendMessage(WM_COMMAND, 7222);
  EXPECT_EQ(GetHistoryList().GetCount(), 0);
  EXPECT_TRUE(view->List().Rows().empty());
  view->SendMessage(WM_COMMAND, 7204);
  EXPECT_EQ(frame->fired, std::vector<std::string>{"Bookmarks"});
}

}  // namespace
}  // namespace quillonary
