// Test fixture for the fly menus: a settings file, a window system on a screen whose every
// present is recorded with the manual clock's time (the fly's strips), input injection, a
// frame window, a message window that logs the commands it gets, and the library's tables
// reset around each test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "profile/profile_fixture.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/notify_lists.h"
#include "quillui/app/presentation.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/menus/fly_menu_links.h"
#include "quillui/platform/clock.h"
#include "quillui/testing/app.h"
#include "quillui/testing/menus.h"

namespace quill::test {

// A screen that shows nothing and remembers, for each present, when it came and the bounds
// of what changed.
class SpyBackend final : public platform::ScreenBackend {
 public:
  struct Shot {
    uint64_t timeMs;
    platform::PixelRect bounds;
  };
  explicit SpyBackend(const platform::Clock*& clock) : clock_(clock) {}
  const char* Name() const override { return "spy"; }
  void Present(const platform::ScreenSurface& surface) override {
    int l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (const platform::PixelRect& d : surface.Dirty()) {
      l = std::min(l, d.x);
      t = std::min(t, d.y);
      r = std::max(r, d.x + d.w);
      b = std::max(b, d.y + d.h);
    }
    if (l > r) l = t = r = b = 0;
    shots.push_back({clock_ ? clock_->NowMs() : 0, {l, t, r - l, b - t}});
  }
  void PollInput(int, std::vector<platform::InputEvent>& out) override {
    while (!pending.empty()) {
      out.push_back(pending.front());
      pending.pop_front();
    }
  }
  void Wake() override {}

  std::vector<Shot> shots;
  std::deque<platform::InputEvent> pending;

 private:
  const platform::Clock*& clock_;
};

// A window that logs the commands and clicks it gets, answers a chosen hit-test code, and
// opens a submenu when a popup entry's command comes (as a host does).
class HostWindow : public TWindow {
 public:
  HostWindow(TWindow* parent, const TRect& bounds, std::vector<std::string>* log)
      : TWindow(parent, "host"), log_(log) {
    Attr.Style = parent ? (WS_CHILD | WS_VISIBLE) : (WS_POPUP | WS_VISIBLE);
    Attr.X = bounds.left;
    Attr.Y = bounds.top;
    Attr.W = bounds.Width();
    Attr.H = bounds.Height();
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

  UINT hitCode = HTCLIENT;
  // Command id -> the menu whose submenu it opens (a submenu of one entry per label).
  struct Opener {
    UINT id;
    ZFlyMenu* menu;
    std::vector<std::string> labels;
  };
  std::vector<Opener> openers;

 private:
  std::vector<std::string>* log_;
};

// A title bar as the menu sees it.
class TitleBarStub : public ZFlyMenuTitleBar {
 public:
  HWND GetTitleBarHandle() const override { return bar; }
  HWND GetIconWindowHandle() const override { return icon; }
  eICONSTATE GetIconState() const override { return state; }
  void setBMenuWasCapturing(int was) override { menuWasCapturing = was; }
  void FlyMenuGone(ZFlyMenu* menu) override { gone = menu; }

  HWND bar = nullptr;
  HWND icon = nullptr;
  eICONSTATE state = eICON_NORMAL;
  int menuWasCapturing = 0;
  ZFlyMenu* gone = nullptr;
};

class FlyMenuTest : public ProfileTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Rereads the settings from this text (the menus read them on first use).
  void Settings(const std::string& ini);

  int Pump(int maxRounds = 100) {
    int rounds = 0;
    while (rounds < maxRounds && PumpWaitingMessages()) ++rounds;
    return rounds;
  }
  void Advance(uint64_t ms) { clock->Advance(ms); }
  // Input as a person gives it, then the loop until it is handled, then one idle round of the
  // application's idle list (which closes hover menus the mouse left).
  void MouseMove(int x, int y);
  void MouseDown(int x, int y, platform::MouseButton b = platform::MouseButton::Left);
  void MouseUp(int x, int y, platform::MouseButton b = platform::MouseButton::Left);
  void Click(int x, int y) {
    MouseDown(x, y);
    MouseUp(x, y);
  }
  uint8_t ScreenPixel(int x, int y) { return TWindowSystem::Get().Screen().GetPixel(x, y); }
  uint8_t IndexOf(TColor c);
  // The cell height of application font 0.
  int FontHeight();
  // A top-level menu of the frame, commands to the host, its own tables.
  std::unique_ptr<ZFlyMenu> NewMenu(ZFlyMenu::eMENU_TYPE type = ZFlyMenu::eMT_HOVER);
  // The menu's gadget at a 0-based place.
  template <class G>
  static G* GadgetAt(ZFlyMenu& menu, int place) {
    TGadget* g = menu.FirstGadget();
    for (int i = 0; g && i < place; ++i) g = g->NextGadget();
    return dynamic_cast<G*>(g);
  }
  // The screen centre of the menu's gadget at a place.
  static TPoint GadgetCentre(ZFlyMenu& menu, int place);

  // The screen's size, for a fixture that sets it before SetUp.
  TSize screenSize{800, 600};
  platform::ManualClock* clock = nullptr;
  const platform::Clock* spyClock = nullptr;
  SpyBackend* spy = nullptr;
  std::vector<std::string> log;
  std::unique_ptr<HostWindow> frame;  // the whole screen
  std::unique_ptr<HostWindow> host;   // the message window, a child of the frame

 private:
  void Inject(const platform::InputEvent& e);
};

}  // namespace quill::test
