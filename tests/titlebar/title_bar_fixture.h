// Test fixture for the title bars: the buttons' scratch folder and art, a pane stub that
// answers its display mode and logs what the title bar sends it, a frame over the whole
// screen, an icon of the small size, and the title bars' statics put back around each test.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "buttons/buttons_fixture.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/notify_lists.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/image/dib.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/profile/icons.h"
#include "quillui/testing/menus.h"
#include "quillui/testing/titlebar.h"
#include "quillui/titlebar/title_bar.h"
#include "quillui/titlebar/title_bar_icon_wnd.h"
#include "quillui/titlebar/title_bar_settings.h"

namespace quill::test {

// A pane as its title bar sees it: it answers its display mode and logs commands, closes and
// focus messages. A pop-up pane is a top-level window.
class PaneStub : public TWindow {
 public:
  PaneStub(TWindow* parent, TRect r, std::vector<std::string>* log)
      : TWindow(parent, "pane"), log_(log) {
    if (!parent) Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.Style |= WS_CLIPCHILDREN;
    Attr.X = r.left, Attr.Y = r.top, Attr.W = r.Width(), Attr.H = r.Height();
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WmuGetDisplayMode: return mode;
      case WM_COMMAND: log_->push_back("command " + std::to_string(LOWORD(wp))); return 0;
      case WM_CLOSE: log_->push_back("close"); return 0;
      case WM_SETFOCUS: log_->push_back("setfocus"); return 0;
      default: return TWindow::WindowProc(msg, wp, lp);
    }
  }
  // Tells the title bar of a mode change as the pane does: by sizing it.
  void SetMode(ZTitleBar& bar, DISPLAY_MODE m) {
    mode = m;
    const TRect r = bar.GetClientRect();
    bar.SetWindowPos(nullptr, 0, 0, r.Width() - 1, r.Height(), SWP_NOMOVE | SWP_NOZORDER);
    bar.SetWindowPos(nullptr, 0, 0, r.Width(), r.Height(), SWP_NOMOVE | SWP_NOZORDER);
  }
  DISPLAY_MODE mode = eTABLEAU_MODE;

 private:
  std::vector<std::string>* log_;
};

class TitleBarTest : public ButtonsTest {
 protected:
  void SetUp() override {
    ButtonsTest::SetUp();
    Reset();
    Settings("");
    frame = std::make_unique<TWindow>(nullptr, "frame");
    frame->Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    frame->Attr.W = 800, frame->Attr.H = 600;
    ASSERT_TRUE(frame->Create());
    icon = MakeIcon(true);
  }
  void TearDown() override {
    menus.clear();
    frame.reset();
    Reset();
    ButtonsTest::TearDown();
  }
  static void Reset() {
    ResetTitleBarSettings();
    ResetTitleBarStatics();
    ResetMenuColors();
    ResetFlyMenuSettings();
    ResetFlyMenuChains();
  }
  // Replaces the settings; the buttons' strips come from the library's art.
  void Settings(const std::string& ini) {
    WriteSettings(ini);
    SetArtDir(QUILL_ART_DIR);
    Reset();
  }

  // A 16 x 16 icon of colour index 200 with a mask that leaves its 2-pixel rim to the
  // background; without the small size only a large one.
  static std::unique_ptr<ZIcon> MakeIcon(bool small) {
    TDib image(16, 16, 8, 256), mask(16, 16, 8, 256);
    for (int i = 0; i < 256; ++i) {
      image.SetColor(i, TColor(uint8_t(i), 0, uint8_t(255 - i)));
      mask.SetColor(i, TColor(uint8_t(i), uint8_t(i), uint8_t(i)));
    }
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        image.SetPixelIndex(x, y, 200);
        const bool rim = x < 2 || y < 2 || x >= 14 || y >= 14;
        mask.SetPixelIndex(x, y, rim ? 0 : 255);
      }
    auto icon = std::make_unique<ZIcon>();
    EXPECT_TRUE(icon->SetImage(small ? ZIcon::eSMALL : ZIcon::eLARGE, image, &mask));
    return icon;
  }

  // A pane at r (a pop-up pane on the screen), with a title bar initialised with the icon.
  struct Pane {
    std::unique_ptr<PaneStub> stub;
    ZTitleBar* bar = nullptr;
  };
  Pane MakePane(TRect r, PANE_TYPE type, uint16_t flags = TBF_MINMAX | TBF_CLOSE | TBF_SHADOW,
                const ZIcon* withIcon = nullptr, bool popup = false) {
    Pane p;
    p.stub = std::make_unique<PaneStub>(popup ? nullptr : frame.get(), r, &log);
    p.bar = new ZTitleBar(p.stub.get(), type);
    EXPECT_TRUE(p.stub->Create());
    p.bar->Initialize(withIcon ? withIcon : icon.get(), "Path of the pane", flags, 0);
    Pump();
    return p;
  }
  // A hover menu of three entries, commands to the pane, attached to the bar.
  ZFlyMenu* AttachMenu(Pane& p) {
    auto menu = std::make_unique<ZFlyMenu>(frame.get(), p.stub.get(), ZFlyMenu::eMT_HOVER,
                                           ZFlyMenu::eDM_KEEP, 1);
    EXPECT_TRUE(menu->Create());
    for (const char* text : {"Bookmark", "Options", "Print"}) menu->Append(0, 7100, text, nullptr);
    p.bar->AssociateMenu(menu.get());
    menus.push_back(std::move(menu));
    return menus.back().get();
  }
  static TPoint Centre(TWindow& w) {
    const TRect r = w.GetWindowRect();
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  // Input, then the loop, then one idle round of the application's idle list.
  void Move(TPoint p) {
    MouseMove(p.x, p.y);
    NotifyIdleList(0);
    Pump();
  }
  bool Shows(ZFlyMenu* menu) { return menu->IsWindow() && menu->IsWindowVisible(); }

  std::unique_ptr<TWindow> frame;
  std::unique_ptr<ZIcon> icon;
  std::vector<std::unique_ptr<ZFlyMenu>> menus;
  std::vector<std::string> log;
};

}  // namespace quill::test
