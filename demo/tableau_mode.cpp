#include "demo/tableau_mode.h"

#include <unistd.h>

#include <fstream>
#include <string>
#include <utility>

#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/art_dir.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/framework/window/window.h"
#include "quillui/profile/icons.h"
#include "quillui/profile/profile.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/tableau.h"
#include "quillui/titlebar/title_bar.h"

namespace quill::demo {

// The frame the tableau fills. Escape closes it.
class TableauFrame : public TWindow, public ZVexFrame {
 public:
  TableauFrame(int width, int height) : TWindow(nullptr, "Quill demo") {
    Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    Attr.W = width, Attr.H = height;
    tableau = new ZTableau(this);
    tableau->Attr.W = width, tableau->Attr.H = height;
    SetTableau(tableau);
  }
  TWindow& GetFrameTWindow() override { return *this; }

  // Posted once the panes are filled: it comes after the activations their title bars posted,
  // so the Media pane ends up the active one.
  static constexpr UINT kCmFocusMedia = 1001;

  bool PreProcessMsg(MSG& msg) override {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      PostMessage(WM_CLOSE);
      return true;
    }
    return TWindow::PreProcessMsg(msg);
  }

  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override {
    if (id != kCmFocusMedia) return TWindow::EvCommand(id, control, notifyCode);
    tableau->SetFocusToPane(tableau->GetTableauPane(eMEDIA_PANE));
    return 0;
  }

  ZTableau* tableau;
};

namespace {

// A page of content: a heading and a few lines on the holder colour; it offers its pane's bar
// the buttons it names.
class Page : public TWindow {
 public:
  Page(TWindow* holder, const char* heading, std::vector<const char*> lines,
       std::vector<UINT> buttons)
      : TWindow(holder, heading), lines_(std::move(lines)), buttons_(std::move(buttons)) {}

 protected:
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
    dc.FillRect(GetClientRect(), TColor(250, 250, 244));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(TColor(20, 30, 90));
    if (TFont* font = GetAppFont(BigTitle)) dc.SelectObject(*font);
    dc.TextOut(10, 8, GetCaption());
    if (TFont* font = GetAppFont(Default)) dc.SelectObject(*font);
    dc.SetTextColor(TColor(30, 30, 30));
    int y = 40;
    for (const char* line : lines_) {
      dc.TextOut(10, y, line);
      y += 18;
    }
    dc.RestoreFont();
  }

 private:
  std::vector<const char*> lines_;
  std::vector<UINT> buttons_;
};

}  // namespace

TableauMode::TableauMode(int width, int height) {
  folder_ =
      std::filesystem::temp_directory_path() / ("quill-demo-tableau-" + std::to_string(::getpid()));
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  const std::string art = GetArtDir();
  std::ofstream(folder_ / "quillonary.ini", std::ios::binary | std::ios::trunc)
      << "[View]\nBackground=" << art << "background" << width << ".bmp\nDibShadows=1\n"
      << "[BMPSets]\nbuttons=" << art << "buttons.set\n"
      << "[DevParm]\nForceButtonBar=1\n"
      << "[Directories]\nMedia=" << folder_.string() << "\nArt=" << art << "\n";
  SetProfilePath((folder_ / "quillonary.ini").string());
  frame_ = std::make_unique<TableauFrame>(width, height);
  SetAppFrame(frame_.get());
}

TableauMode::~TableauMode() {
  SetAppFrame(nullptr);
  frame_.reset();
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

TWindow& TableauMode::Frame() { return *frame_; }

void TableauMode::Fill() {
  if (TPalette* palette = GetAppPalette()) {
    TScreenDC screenDC;
    screenDC.SelectPalette(palette, false);
    screenDC.RealizePalette();
  }
  ZTableau& tableau = *frame_->tableau;
  const struct {
    PANE_TYPE type;
    const char* icon;
    const char* title;
    const char* heading;
    std::vector<const char*> lines;
    std::vector<UINT> buttons;
  } pages[] = {
      {eMEDIA_PANE,
       "media",
       "Media: Aurora borealis",
       "Aurora borealis",
       {"Picture: curtains of green light", "over a frozen lake."},
       {7106, 7107, 7120, 7127, 7433, 7432}},
      {ePATH_PANE,
       "path",
       "Path: Search results",
       "Search: light",
       {"Aurora borealis", "Bioluminescence", "Lighthouse", "Speed of light", "Sunlight"},
       {7201, 7202, 7210, 7533, 7532}},
      {eARTICLE_PANE,
       "article",
       "Article: Aurora borealis",
       "Aurora borealis",
       {"An aurora is a natural display of light in the sky,",
        "seen mostly near the polar regions.", "It is caused by charged particles from the Sun",
        "meeting the upper atmosphere.", "", "See also: Magnetosphere, Solar wind."},
       {7305, 7306, 7301, 7307, 7308, 7633, 7632, 7209}},
      {eMAXI_PANE,
       "maxi",
       "Atlas",
       "Atlas",
       {"A map fills the whole tableau."},
       {7560, 7561, 7432}},
  };
  const std::string art = GetArtDir();
  for (const auto& p : pages) {
    auto* pane = static_cast<ZTableauPane*>(tableau.GetTableauPane(p.type));
    (new Page(pane->GetHolder(1), p.heading, p.lines, p.buttons))->Create();
    pane->ActivateHolder(1);
    auto icon = std::make_unique<ZIcon>();
    const ZIcon* shown = icon->Load(art + "icons/panes/" + p.icon) ? icon.get() : nullptr;
    icons_.push_back(std::move(icon));
    pane->GetTitleBar()->Initialize(shown, p.title, TBF_MINMAX | TBF_CLOSE | TBF_SHADOW | TBF_MENU,
                                    0);
  }
  frame_->PostMessage(WM_COMMAND, TableauFrame::kCmFocusMedia, 0);
}

}  // namespace quill::demo
