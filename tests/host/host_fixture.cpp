#include "host_fixture.h"

#include <unistd.h>

#include <utility>

#include "quillui/app/app_registry.h"
#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/clock.h"
#include "quillui/testing/app.h"
#include "quillui/testing/bars.h"
#include "quillui/testing/buttons.h"
#include "quillui/testing/imaging.h"
#include "quillui/testing/menus.h"
#include "quillui/testing/navigation.h"
#include "quillui/testing/profile.h"
#include "quillui/testing/tableau.h"
#include "quillui/testing/titlebar.h"

namespace quillonary {

using namespace quill;

void HostTest::SetUp() {
  home = std::filesystem::temp_directory_path() /
         ("quillonary-test-" + std::to_string(::getpid()) + "-" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(home);
  std::string error;
  ASSERT_TRUE(store.Load(QUILLONARY_CONTENT_DIR, &error)) << error;
  SetAnswerHook(AnswerWithoutDisplay);
}

void HostTest::StartHost(int width, int height) {
  TWindowSystemOptions options;
  options.width = width;
  options.height = height;
  options.clock = std::make_unique<platform::ManualClock>();
  TWindowSystem::Install(std::move(options));
  ResetNavigation();
  ResetTableauFirstSize();
  HostPaths paths;
  paths.home = home.string();
  std::string error;
  ASSERT_TRUE(PrepareHome(paths, &error)) << error;
  SessionOptions session;
  session.width = width;
  session.height = height;
  session.art = QUILL_ART_DIR;
  session.settings = paths.settings;
  host = std::make_unique<HostSession>(session, store);
  ASSERT_TRUE(host->Start(&error)) << error;
  host->Settle();
}

void HostTest::TearDown() {
  StopHost();
  SetAnswerHook(nullptr);
  std::error_code ec;
  std::filesystem::remove_all(home, ec);
}

void HostTest::StopHost() {
  host.reset();
  if (TWindowSystem::IsInstalled()) TWindowSystem::Uninstall();
  // Everything the library keeps, as at start-up, so tests leak nothing into each other.
  ResetNavigation();
  ResetButtonStatics();
  ResetControlBarStatics();
  ResetTitleBarStatics();
  ResetTitleBarSettings();
  ResetFlyMenuChains();
  ResetFlyMenuSettings();
  ResetBitmapManager();
  ResetBackground();
  ResetPresentation();
  ResetAppRegistry();
  ResetAppPalette();
  ResetNotifyLists();
  ResetArtDir();
  ResetHolderIds();
  ResetHostLookups();
  ResetProfile();
}

void HostTest::Click(int x, int y, bool right) {
  platform::InputEvent e;
  e.x = x, e.y = y;
  host->Inject(e);
  e.button = right ? platform::MouseButton::Right : platform::MouseButton::Left;
  e.kind = platform::InputKind::ButtonDown;
  host->Inject(e);
  e.kind = platform::InputKind::ButtonUp;
  host->Inject(e);
}

void HostTest::Key(unsigned virtualKey, unsigned modifiers) {
  // The modifiers are held around the key, as on a keyboard: each is a key of its own.
  const std::pair<uint32_t, unsigned> held[] = {
      {platform::kModShift, 0x10}, {platform::kModCtrl, 0x11}, {platform::kModAlt, 0x12}};
  platform::InputEvent e;
  e.modifiers = modifiers;
  e.kind = platform::InputKind::KeyDown;
  for (const auto& [mod, key] : held)
    if (modifiers & mod) e.virtualKey = key, host->Inject(e);
  e.virtualKey = virtualKey;
  host->Inject(e);
  e.kind = platform::InputKind::KeyUp;
  host->Inject(e);
  e.modifiers = 0;
  for (const auto& [mod, key] : held)
    if (modifiers & mod) e.virtualKey = key, host->Inject(e);
}

void HostTest::Type(const std::string& text) {
  for (char c : text) {
    platform::InputEvent e;
    e.kind = platform::InputKind::Char;
    e.character = uint8_t(c);
    host->Inject(e);
  }
}

}  // namespace quillonary
