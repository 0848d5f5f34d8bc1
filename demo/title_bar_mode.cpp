#include "demo/title_bar_mode.h"

#include <cstdio>

#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/profile/icons.h"
#include "quillui/titlebar/title_bar.h"

namespace quill::demo {

// A pane as the title bar knows one: it answers its display mode, fills the frame on the
// full-screen command and goes back on the back-to-the-tableau command.
class TitleBarPane : public TWindow {
 public:
  TitleBarPane(TWindow& frame, const TRect& r, PANE_TYPE type) : TWindow(&frame, "pane"), home_(r) {
    Attr.Style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    Attr.X = r.left, Attr.Y = r.top, Attr.W = r.Width(), Attr.H = r.Height();
    bar = new ZTitleBar(this, type);
  }
  ZTitleBar* bar;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuGetDisplayMode) return mode_;
    return TWindow::WindowProc(msg, wp, lp);
  }
  LRESULT EvCommand(UINT id, HWND, UINT) override {
    std::printf("quill-demo: title bar command %u\n", id);
    std::fflush(stdout);
    if (id == ZTitleBar::kCmdTableau) {
      mode_ = eTABLEAU_MODE;
      MoveWindow(home_, true);
    } else if (id != ZTitleBar::kCmdClose) {
      mode_ = eFULL_SCREEN_MODE;
      const TRect frame = GetParentO()->GetClientRect();
      SetWindowPos(HWND_TOP, frame, 0);
    }
    return 0;
  }
  void EvSize(UINT sizeType, const TSize& size) override {
    TWindow::EvSize(sizeType, size);
    if (bar && bar->IsWindow()) bar->MoveWindow(0, 0, size.cx, bar->GetBarHeight(), true);
    Invalidate(true);
  }
  bool EvEraseBkgnd(TDC& dc) override {
    dc.FillRect(GetClientRect(), TColor(250, 246, 232));
    return true;
  }

 private:
  TRect home_;
  DISPLAY_MODE mode_ = eTABLEAU_MODE;
};

namespace {

// A 16 x 16 icon made in code: a blue page with a yellow corner, its rim left to the
// background by the mask.
std::unique_ptr<ZIcon> MakeIcon() {
  TDib image(16, 16, 8, 256), mask(16, 16, 8, 256);
  image.SetColor(1, TColor(40, 90, 200));
  image.SetColor(2, TColor(255, 220, 0));
  mask.SetColor(0, TColor(0, 0, 0));
  mask.SetColor(1, TColor(255, 255, 255));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      image.SetPixelIndex(x, y, x + y > 22 ? 2 : 1);
      mask.SetPixelIndex(x, y, (x < 2 || x > 13 || y < 1 || y > 14) ? 0 : 1);
    }
  auto icon = std::make_unique<ZIcon>();
  icon->SetImage(ZIcon::eSMALL, image, &mask);
  return icon;
}

}  // namespace

TitleBarMode::TitleBarMode(TWindow& frame) : icon_(MakeIcon()) {
  const struct {
    TRect r;
    PANE_TYPE type;
    const char* title;
  } plans[] = {{TRect(40, 60, 428, 300), eMEDIA_PANE, "Media: The Solar System"},
               {TRect(440, 60, 780, 300), ePATH_PANE, "Path: Planets"}};
  for (const auto& s : plans) {
    auto* pane = new TitleBarPane(frame, s.r, s.type);
    pane->Create();
    pane->bar->Initialize(icon_.get(), s.title, TBF_MINMAX | TBF_CLOSE | TBF_SHADOW, 0);
    auto menu =
        std::make_unique<ZFlyMenu>(&frame, pane, ZFlyMenu::eMT_HOVER, ZFlyMenu::eDM_KEEP, 1);
    menu->Create();
    for (const char* text : {"Bookmark", "Full screen", "Options"})
      menu->Append(0, 7100, text, nullptr);
    pane->bar->AssociateMenu(menu.get());
    menus_.push_back(std::move(menu));
    panes_.push_back(pane);
  }
  panes_[1]->bar->SendMessage(WmuHandleActivation, 0, 0);
}

TitleBarMode::~TitleBarMode() {
  for (TitleBarPane* pane : panes_) pane->bar->AssociateMenu(nullptr);
  menus_.clear();
}

void TitleBarMode::ReportMenu() const {
  const ZFlyMenu& menu = *menus_.front();
  if (!menu.IsWindow() || !menu.IsWindowVisible()) return;
  const TRect r = menu.GetWindowRect();
  std::printf("quill-demo: title bar menu at %d,%d\n", r.left, r.top);
}

}  // namespace quill::demo
