// The views' scene: the tableau over the application background with an article in the
// Article pane, a picture in the Media pane and search results in the Path pane, read from a
// small content folder written for the test. With QUILL_VIEWS_SCREENSHOTS set to a folder the
// scene is saved there as "views.png".
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "buttons/buttons_fixture.h"
#include "host/core/bookmark_texts.h"
#include "host/core/content_store.h"
#include "host/core/search.h"
#include "host/views/article_view.h"
#include "host/views/list_view.h"
#include "host/views/media_view.h"
#include "host/views/search_view.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/dialogs/controls.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/imaging/data_set.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/dispatch.h"
#include "quillui/profile/icons.h"
#include "quillui/sound/play_sound.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/tableau.h"
#include "quillui/testing/navigation.h"
#include "quillui/testing/tableau.h"
#include "quillui/titlebar/title_bar.h"
#include "support/scene_frame.h"

namespace quillonary {
namespace {

using namespace quill;

const char* const kArticles[] = {
    "title: Aurora\nid: aurora\npicture: aurora.bmp | Green curtains over snowy hills\n"
    "sound: crackle.wav | The faint crackle some hear under an aurora\n\n"
    "An aurora is a display of coloured light in the night sky, seen most often near the "
    "Arctic and Antarctic. It can look like glowing curtains, arcs or rays that ripple and "
    "change for hours.\n\n# How it forms\n[[sun|The Sun]] blows out a constant stream of "
    "charged particles, the solar wind. Earth's magnetic field steers some of them toward the "
    "poles, where they strike the thin upper air and make it glow. The same field turns the "
    "needle of a [[compass]].\n",
    "title: Sun\nid: sun\n\nThe star at the centre of the solar system; its light reaches us "
    "in about eight minutes.\n",
    "title: Compass\nid: compass\n\nA needle that points north, turned by the magnetic "
    "field of the Earth; sailors steered by its light-weight needle.\n",
    "title: Lighthouse\nid: lighthouse\n\nA tower with a bright light that guides ships.\n",
    "title: Moon\nid: moon\n\nIt shines by reflected sunlight.\n",
};

using ViewsSceneTest = test::ButtonsTest;

// The scene's frame, recording the texts of the bookmarks fired at it.
class Frame : public test::SceneFrame {
 public:
  Frame() : SceneFrame("Quillonary") {}
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuFireOffBookmark) {
      fired.emplace_back(reinterpret_cast<const ZBookmark*>(lp)->GetText());
      return 1;
    }
    return SceneFrame::WindowProc(msg, wp, lp);
  }
  std::vector<std::string> fired;
};

// A content folder: the articles and one picture (a night sky with green bands), in sets.
void WriteContent(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "src");
  ZDataSet articles = ZDataSet::AtPath((folder / "articles.set").string(), true);
  int n = 0;
  for (const char* text : kArticles) {
    const auto path = folder / "src" / ("a" + std::to_string(n++) + ".txt");
    std::ofstream(path, std::ios::binary) << text;
    ASSERT_TRUE(articles.add_file(path.string()));
  }
  std::string error;
  ASSERT_TRUE(articles.write(&error)) << error;
  TDib dib(160, 100, 24);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 160; ++x) {
      const double band = std::sin(x / 14.0) * 12 + 40 - y;
      const int glow = std::max(0, 200 - int(std::abs(band) * 9));
      const bool hill = y > 78 + int(std::sin(x / 23.0) * 6);
      dib.SetPixelColor(
          x, y,
          hill ? TColor(230, 236, 244)
               : TColor(uint8_t(10 + glow / 8), uint8_t(20 + glow), uint8_t(50 + glow / 3)));
    }
  }
  ASSERT_TRUE(WriteBmpFile(dib, (folder / "src" / "aurora.bmp").string(), &error)) << error;
  ZDataSet media = ZDataSet::AtPath((folder / "media.set").string(), true);
  ASSERT_TRUE(media.add_file((folder / "src" / "aurora.bmp").string()));
  ASSERT_TRUE(media.write(&error)) << error;
  // A tenth of a second of 8-bit mono sound at 8 kHz.
  std::filesystem::create_directories(folder / "sounds");
  std::string samples(800, '\x80');
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = char(128 + (i % 16 < 8 ? 40 : -40));
  auto le = [](uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
    return out;
  };
  std::ofstream(folder / "sounds" / "crackle.wav", std::ios::binary)
      << "RIFF" << le(36 + uint32_t(samples.size()), 4) << "WAVEfmt " << le(16, 4) << le(1, 2)
      << le(1, 2) << le(8000, 4) << le(8000, 4) << le(1, 2) << le(8, 2) << "data"
      << le(uint32_t(samples.size()), 4) << samples;
}

TEST_F(ViewsSceneTest, AnArticleItsPictureAndSearchResultsInTheTableau) {
  const std::string art = QUILL_ART_DIR;
  WriteSettings("[View]\nBackground=" + art + "/background800.bmp\nDibShadows=1\n[BMPSets]\n" +
                "buttons=" + art + "/buttons.set\n[DevParm]\nForceButtonBar=1\n[Directories]\n" +
                "Media=" + dir.string() + "\n");
  SetArtDir(art);
  ResetNavigation();
  ResetTableauFirstSize();
  ASSERT_NE(GetAppPalette(), nullptr);
  TScreenDC screenDC;
  screenDC.SelectPalette(GetAppPalette(), false);
  screenDC.RealizePalette();

  WriteContent(dir / "content");
  ContentStore store;
  std::string error;
  ASSERT_TRUE(store.Load((dir / "content").string(), &error)) << error;
  const Article* aurora = store.Find("aurora");
  ASSERT_NE(aurora, nullptr);
  const SearchIndex index(store.Articles());

  Frame frame;
  SetAppFrame(&frame);
  auto* tableau = new ZTableau(&frame);
  tableau->Attr.W = 800, tableau->Attr.H = 600;
  frame.SetTableau(tableau, tableau);
  ASSERT_TRUE(frame.Create());
  const auto holder = [&](PANE_TYPE type) { return tableau->GetTableauPane(type)->GetHolder(1); };
  auto* article = new ArticleView(holder(eARTICLE_PANE), store);
  article->Create();
  article->ShowArticle(aurora);
  auto* media = new MediaView(holder(eMEDIA_PANE), store);
  media->Create();
  media->ShowMedia(aurora, 0);
  auto* search = new SearchView(holder(ePATH_PANE), index);
  search->Create();
  search->SetQuery("light");
  for (PANE_TYPE type : {eARTICLE_PANE, eMEDIA_PANE, ePATH_PANE})
    tableau->GetTableauPane(type)->ActivateHolder(1);
  std::vector<std::unique_ptr<ZIcon>> icons;
  const struct {
    PANE_TYPE type;
    const char* icon;
    const char* title;
  } titles[] = {{eMEDIA_PANE, "media", "Media: Aurora"},
                {ePATH_PANE, "path", "Path: Search results"},
                {eARTICLE_PANE, "article", "Article: Aurora"}};
  for (const auto& t : titles) {
    icons.push_back(std::make_unique<ZIcon>());
    EXPECT_TRUE(icons.back()->Load(art + "/icons/panes/" + t.icon)) << t.icon;
    auto* pane = static_cast<ZTableauPane*>(tableau->GetTableauPane(t.type));
    pane->GetTitleBar()->Initialize(icons.back().get(), t.title,
                                    TBF_MINMAX | TBF_CLOSE | TBF_SHADOW | TBF_MENU, 0);
  }
  Pump();
  // A few words selected, as a reader marks them.
  article->SetSelection(article->Text().find("glowing"), article->Text().find(" that ripple"));
  Pump();
  EXPECT_NE(media->Picture(), nullptr) << media->Message();
  EXPECT_EQ(search->List().Rows().size(), 4u);  // every article but the one about the Moon
  EXPECT_TRUE(reports.empty()) << reports.front().message;
  const char* out = std::getenv("QUILL_VIEWS_SCREENSHOTS");
  const auto shot = [&](const char* name) {
    if (!out) return;
    const std::string path = (std::filesystem::path(out) / name).string();
    ASSERT_TRUE(TWindowSystem::Get().Screen().SaveScreenshot(path, &error)) << error;
  };
  shot("views.png");
  // The sound: a speaker, its state and caption; Play goes to the sound player (silent here).
  media->ShowMedia(aurora, 1);
  media->SendMessage(WM_COMMAND, 7120);
  Pump();
  EXPECT_TRUE(media->IsPlaying()) << media->Message();
  EXPECT_EQ(PlaySoundCachedCount(), 1u);
  shot("views-sound.png");
  Advance(50);
  Pump();
  EXPECT_TRUE(media->IsPlaying());
  Advance(60);  // the sound lasts 100 ms
  Pump();
  EXPECT_FALSE(media->IsPlaying());
  EXPECT_EQ(media->Message(), "");
  media->SendMessage(WM_COMMAND, 7120);
  media->SendMessage(WM_COMMAND, 7127);
  EXPECT_FALSE(media->IsPlaying());
  // Copy, and the articles before and after this one by title (none before the first).
  article->SendMessage(WM_COMMAND, 7307);
  EXPECT_EQ(GetCADS(), "glowing curtains, arcs or rays");
  article->SendMessage(WM_COMMAND, 7305);
  article->SendMessage(WM_COMMAND, 7306);
  EXPECT_EQ(frame.fired, std::vector<std::string>{ArticleText("compass")});
  frame.Destroy();
  SetAppFrame(nullptr);
}

}  // namespace
}  // namespace quillonary
