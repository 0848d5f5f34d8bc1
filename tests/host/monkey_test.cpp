// The monkey: random input on the whole program, headless, with a fixed seed. Every thousand
// events the program's invariants must hold. QUILL_MONKEY_EVENTS sets the count (the full run
// is 100000; the suite runs fewer to fit its time).
#include <cstdlib>
#include <random>

#include "host_fixture.h"
#include "quillui/app/app_registry.h"
#include "quillui/framework/stream/pstream.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/tableau/tableau_pane.h"
#include "quillui/titlebar/title_bar.h"
#include "quillui/titlebar/title_bar_settings.h"

namespace quillonary {
namespace {

using namespace quill;

int CountVisibleMenus(const TWindow& w, std::string* about = nullptr) {
  int n = 0;
  for (const TWindow* child : w.GetChildren()) {
    if (auto* menu = dynamic_cast<const ZFlyMenu*>(child);
        menu && child->IsWindow() && child->IsWindowVisible()) {
      ++n;
      if (about) {
        *about += "menu type " + std::to_string(int(menu->GetMenuType())) + ", " +
                  std::to_string(const_cast<ZFlyMenu*>(menu)->GetCount()) +
                  " entries, parent menu " + (menu->GetParentMenu() ? "yes" : "no") + ", capture " +
                  (GetCapture() == child->GetHandle() ? "yes" : "no") + ", focus " +
                  (GetFocus() == child->GetHandle() ? "yes" : "no") + "; ";
      }
    }
    n += CountVisibleMenus(*child, about);
  }
  return n;
}

int CountActiveTitleBars(HostFrame& frame) {
  int n = 0;
  for (PANE_TYPE type : {eMEDIA_PANE, ePATH_PANE, eARTICLE_PANE, eMAXI_PANE}) {
    auto* pane = dynamic_cast<ZTableauPane*>(frame.Tableau().GetTableauPane(type));
    ZTitleBar* bar = pane ? pane->GetTitleBar() : nullptr;
    if (bar && bar->IsWindow() && bar->IsWindowVisible() &&
        bar->GetBkgndColor() == TitleBarSettings().m_clrActiveBkgnd)
      ++n;
  }
  return n;
}

class MonkeyTest : public HostTest {
 protected:
  // The invariants: one active title bar at most, no menu left open after Escape, the backtrack
  // stack within its bound, and the bookmark list written to a file that reads back whole.
  void CheckInvariants(long events) {
    SCOPED_TRACE("after " + std::to_string(events) + " events");
    HostFrame& frame = host->Frame();
    EXPECT_LE(CountActiveTitleBars(frame), 1);
    for (int i = 0; i < 3; ++i) Key(0x1B);  // Escape closes a menu chain a level at a time
    host->Wait(500);
    std::string about;
    EXPECT_EQ(CountVisibleMenus(frame, &about), 0)
        << about << " active fly menu " << (GetActiveFlyMenu() ? "yes" : "no");
    EXPECT_LE(unsigned(GetBacktrackStack().GetCount()), GetBookmarkListMax());
    const std::string file = (home / "monkey.bmk").string();
    ZBookmarkList& list = GetUserBookmarks();
    const std::string was = list.GetFileName();
    list.SetFileName(file);
    ASSERT_TRUE(WriteUserBookmarks());
    list.SetFileName(was);
    ifpstream in(file.c_str());
    int read = 0;
    EXPECT_EQ(ReadBmk(in, [&](std::unique_ptr<ZBookmark>) { ++read; }), ZBmkReadResult::Complete);
    EXPECT_EQ(read, list.GetCount());
  }
};

TEST_F(MonkeyTest, RandomInputKeepsTheProgramWhole) {
  long count = 20000;
  if (const char* env = std::getenv("QUILL_MONKEY_EVENTS")) count = std::atol(env);
  StartHost(800, 600);
  std::mt19937 rng(20261211);
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  // Keys a reader uses: F6, Escape, Back, arrows, page keys, Return, Tab, Delete, F1.
  const unsigned keys[] = {0x75, 0x1B, 0x08, 0x25, 0x26, 0x27, 0x28, 0x21,
                           0x22, 0x0D, 0x09, 0x2E, 0x70, 0x24, 0x23};
  for (long n = 1; n <= count && host->FrameOpen(); ++n) {
    platform::InputEvent e;
    e.x = pick(800), e.y = pick(600);
    switch (pick(12)) {
      case 0:
      case 1:
      case 2: Click(e.x, e.y); break;
      case 3: Click(e.x, e.y, true); break;
      case 4:  // a double click, most often on a title bar's height
        e.y = pick(3) == 0 ? e.y : pick(40) + (pick(2) ? 300 : 0);
        Click(e.x, e.y);
        Click(e.x, e.y);
        break;
      case 5: {  // a drag
        e.kind = platform::InputKind::MouseMove;
        host->Inject(e);
        e.button = platform::MouseButton::Left;
        e.kind = platform::InputKind::ButtonDown;
        host->Inject(e);
        e.kind = platform::InputKind::MouseMove;
        e.x = pick(800), e.y = pick(600);
        host->Inject(e);
        e.kind = platform::InputKind::ButtonUp;
        host->Inject(e);
        break;
      }
      case 6:
      case 7: Key(keys[pick(int(std::size(keys)))]); break;
      case 8: Key(0x25, platform::kModAlt); break;  // Back
      case 9: Type(std::string(1, char('a' + pick(26)))); break;
      case 10:  // a hover, as over a menu, with time to open a submenu
        e.kind = platform::InputKind::MouseMove;
        host->Inject(e);
        host->Wait(pick(400));
        break;
      default:
        e.kind = platform::InputKind::Wheel;
        e.wheelDelta = (pick(2) ? 1 : -1) * 120;
        host->Inject(e);
        break;
    }
    if (n % 1000 == 0) CheckInvariants(n);
    if (HasFatalFailure() || (n % 1000 == 0 && HasFailure())) return;
  }
  ASSERT_TRUE(host->FrameOpen()) << "the program closed under random input";
  CheckInvariants(count);
}

}  // namespace
}  // namespace quillonary
