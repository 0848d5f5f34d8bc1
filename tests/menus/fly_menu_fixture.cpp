#include "menus/fly_menu_fixture.h"

#include "quillui/app/app_palette.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/menus/menu_gadgets.h"

namespace quill::test {

LRESULT HostWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST: return LRESULT(hitCode);
    case WM_COMMAND: {
      const UINT id = LOWORD(wp);
      log_->push_back(GetCaption() + ":command " + std::to_string(id));
      for (Opener& o : openers) {
        if (o.id != id) continue;
        ZFlyMenu* sub = o.menu->CreateSubMenu(ZFlyMenu::eSML_THIS);
        for (size_t i = 0; i < o.labels.size(); ++i)
          sub->Append(0, UINT(9000 + i), o.labels[i].c_str(), nullptr);
        sub->Display(TPoint(ZFlyMenu::kAtParentEntry, ZFlyMenu::kAtParentEntry));
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      log_->push_back(GetCaption() + (msg == WM_LBUTTONDOWN ? ":lbutton " : ":rbutton ") +
                      std::to_string(int16_t(LOWORD(lp))) + "," +
                      std::to_string(int16_t(HIWORD(lp))));
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      log_->push_back(GetCaption() + (msg == WM_NCLBUTTONDOWN ? ":nclbutton " : ":ncrbutton ") +
                      std::to_string(wp) + " " + std::to_string(int16_t(LOWORD(lp))) + "," +
                      std::to_string(int16_t(HIWORD(lp))));
      return 0;
    default: return TWindow::WindowProc(msg, wp, lp);
  }
}

void FlyMenuTest::SetUp() {
  ProfileTest::SetUp();
  ResetMenuColors();
  ResetFlyMenuSettings();
  ResetFlyMenuChains();
  ResetPresentation();
  ResetAppRegistry();
  ResetNotifyLists();
  ResetIniChangedHooks();
  auto c = std::make_unique<platform::ManualClock>();
  clock = c.get();
  spyClock = clock;
  auto b = std::make_unique<SpyBackend>(spyClock);
  spy = b.get();
  TWindowSystemOptions options;
  options.width = screenSize.cx;
  options.height = screenSize.cy;
  options.backend = std::move(b);
  options.clock = std::move(c);
  TWindowSystem::Install(std::move(options));
  const TRect screen(TPoint(0, 0), screenSize);
  frame = std::make_unique<HostWindow>(nullptr, screen, &log);
  frame->SetCaption("frame");
  ASSERT_TRUE(frame->Create());
  host = std::make_unique<HostWindow>(frame.get(), screen, &log);
  ASSERT_TRUE(host->Create());
  Pump();
}

void FlyMenuTest::TearDown() {
  host.reset();
  frame.reset();
  EXPECT_EQ(ZMenuEntries::GetObjCount(), 0u) << "every entry table went with its menu";
  TWindowSystem::Uninstall();
  spyClock = nullptr;
  ResetMenuColors();
  ResetFlyMenuSettings();
  ResetFlyMenuChains();
  ResetPresentation();
  ResetAppRegistry();
  ResetNotifyLists();
  ResetIniChangedHooks();
  ProfileTest::TearDown();
}

void FlyMenuTest::Settings(const std::string& ini) {
  WriteIni(ini);
  ResetMenuColors();
  ResetFlyMenuSettings();
}

void FlyMenuTest::Inject(const platform::InputEvent& e) {
  spy->pending.push_back(e);
  Pump();
  NotifyIdleList(0);
  Pump();
}

void FlyMenuTest::MouseMove(int x, int y) {
  Inject({.kind = platform::InputKind::MouseMove, .x = x, .y = y});
}
void FlyMenuTest::MouseDown(int x, int y, platform::MouseButton b) {
  Inject({.kind = platform::InputKind::ButtonDown, .x = x, .y = y, .button = b});
}
void FlyMenuTest::MouseUp(int x, int y, platform::MouseButton b) {
  Inject({.kind = platform::InputKind::ButtonUp, .x = x, .y = y, .button = b});
}

uint8_t FlyMenuTest::IndexOf(TColor c) {
  TScreenDC dc;
  if (TPalette* palette = GetAppPalette()) {
    dc.SelectPalette(palette);
    dc.RealizePalette();
  }
  return dc.MapColor(c);
}

int FlyMenuTest::FontHeight() {
  TScreenDC dc;
  if (TFont* font = GetAppFont(0)) dc.SelectObject(*font);
  return dc.GetTextExtent("fg").cy;
}

std::unique_ptr<ZFlyMenu> FlyMenuTest::NewMenu(ZFlyMenu::eMENU_TYPE type) {
  auto menu = std::make_unique<ZFlyMenu>(frame.get(), host.get(), type, ZFlyMenu::eDM_KEEP, 1);
  EXPECT_TRUE(menu->Create());
  return menu;
}

TPoint FlyMenuTest::GadgetCentre(ZFlyMenu& menu, int place) {
  TGadget* g = GadgetAt<TGadget>(menu, place);
  if (!g) return {};
  const TRect& b = g->GetBounds();
  TPoint p((b.left + b.right) / 2, (b.top + b.bottom) / 2);
  menu.ClientToScreen(p);
  return p;
}

}  // namespace quill::test
