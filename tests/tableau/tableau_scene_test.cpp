// The tableau scene: a frame of 800 x 600 with the tableau, its panes holding pages of text,
// over the application background from the generated art. With QUILL_TABLEAU_SCREENSHOTS set to
// a folder it saves each arrangement there (the tableau pictures in docs/ are made so).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "buttons/buttons_fixture.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/imaging/background.h"
#include "quillui/profile/icons.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/tableau.h"
#include "quillui/testing/navigation.h"
#include "quillui/testing/tableau.h"
#include "quillui/titlebar/title_bar.h"
#include "support/scene_frame.h"

namespace quill::test {
namespace {

// A content page: a heading and a few lines of text on the holder colour, and the buttons it
// offers its pane's bar.
class Page : public TWindow {
 public:
  Page(TWindow* holder, std::string heading, std::vector<std::string> lines,
       std::vector<UINT> buttons)
      : TWindow(holder, heading.c_str()),
        heading_(std::move(heading)),
        lines_(std::move(lines)),
        buttons_(std::move(buttons)) {}
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuGetBtnMenu) {
      HMENU menu = CreatePopupMenu();
      for (UINT id : buttons_) AppendMenu(menu, MF_STRING, id, "@");
      *reinterpret_cast<HMENU*>(lp) = menu;
      return 0;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }
  void Paint(TDC& dc, bool, TRect&) override {
    const TRect c = GetClientRect();
    dc.FillRect(c, TColor(250, 250, 244));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(TColor(20, 30, 90));
    if (TFont* font = GetAppFont(BigTitle)) dc.SelectObject(*font);
    dc.TextOut(10, 8, heading_);
    if (TFont* font = GetAppFont(Default)) dc.SelectObject(*font);
    dc.SetTextColor(TColor(30, 30, 30));
    int y = 40;
    for (const std::string& line : lines_) {
      dc.TextOut(10, y, line);
      y += 18;
    }
    dc.RestoreFont();
  }

 private:
  std::string heading_;
  std::vector<std::string> lines_;
  std::vector<UINT> buttons_;
};

using TableauSceneTest = ButtonsTest;

TEST_F(TableauSceneTest, TheArrangementsOverTheApplicationBackground) {
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

  SceneFrame frame("Quillonary");
  SetAppFrame(&frame);
  auto* tableau = new ZTableau(&frame);
  tableau->Attr.W = 800, tableau->Attr.H = 600;
  frame.SetTableau(tableau, tableau);
  ASSERT_TRUE(frame.Create());
  const auto fill = [&](PANE_TYPE type, const std::string& heading, std::vector<std::string> lines,
                        std::vector<UINT> buttons) {
    ZTableauPaneBase* pane = tableau->GetTableauPane(type);
    (new Page(pane->GetHolder(1), heading, std::move(lines), std::move(buttons)))->Create();
    pane->ActivateHolder(1);
  };
  fill(eMEDIA_PANE, "Aurora borealis", {"Picture: curtains of green light", "over a frozen lake."},
       {7106, 7107, 7120, 7127, 7433, 7432});
  fill(ePATH_PANE, "Search: light",
       {"Aurora borealis", "Bioluminescence", "Lighthouse", "Speed of light", "Sunlight"},
       {7201, 7202, 7210, 7533, 7532});
  fill(eARTICLE_PANE, "Aurora borealis",
       {"An aurora is a natural display of light in the sky,",
        "seen mostly near the polar regions.", "It is caused by charged particles from the Sun",
        "meeting the upper atmosphere.", "", "See also: Magnetosphere, Solar wind."},
       {7305, 7306, 7301, 7307, 7308, 7633, 7632, 7209});
  fill(eMAXI_PANE, "Atlas", {"A map fills the whole tableau."}, {7560, 7561, 7432});
  // The host names each pane's title bar and gives it its icon.
  struct Title {
    PANE_TYPE type;
    const char* icon;
    const char* title;
  };
  std::vector<std::unique_ptr<ZIcon>> icons;
  for (const Title& t : {Title{eMEDIA_PANE, "media", "Media: Aurora borealis"},
                         Title{ePATH_PANE, "path", "Path: Search results"},
                         Title{eARTICLE_PANE, "article", "Article: Aurora borealis"},
                         Title{eMAXI_PANE, "maxi", "Atlas"}}) {
    icons.push_back(std::make_unique<ZIcon>());
    EXPECT_TRUE(icons.back()->Load(art + "/icons/panes/" + t.icon)) << t.icon;
    auto* pane = static_cast<ZTableauPane*>(tableau->GetTableauPane(t.type));
    pane->GetTitleBar()->Initialize(icons.back().get(), t.title,
                                    TBF_MINMAX | TBF_CLOSE | TBF_SHADOW | TBF_MENU, 0);
  }
  Pump();
  tableau->SetFocusToPane(tableau->GetTableauPane(eARTICLE_PANE));

  const char* out = std::getenv("QUILL_TABLEAU_SCREENSHOTS");
  const auto shot = [&](const char* name) {
    Pump();
    EXPECT_TRUE(reports.empty()) << reports.front().message;
    if (!out) return;
    std::string error;
    const std::string path = (std::filesystem::path(out) / name).string();
    ASSERT_TRUE(TWindowSystem::Get().Screen().SaveScreenshot(path, &error)) << error;
  };
  shot("tableau-mp_a.png");
  tableau->ChangeLayout(std::string("P_MA"));
  shot("tableau-p_ma.png");
  tableau->ChangeLayout(std::string("P_M_OR_A"));
  shot("tableau-p_m_or_a.png");
  tableau->ChangeLayout(std::string("MP_A"));
  tableau->MaximizePane(eARTICLE_PANE);
  shot("tableau-maximised.png");
  tableau->RestoreTableau();
  tableau->ShowMaxiPane(true);
  shot("tableau-maxi.png");
  EXPECT_EQ(tableau->GetState(), " 0 1 0 0");
}

}  // namespace
}  // namespace quill::test
