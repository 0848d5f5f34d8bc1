// A fly menu as a person sees it: icons, a check mark, a separator between two colours, a
// highlighted entry and an open submenu, with the application palette. With
// QUILL_FLYMENU_SCREENSHOT set it writes the screen there (docs/flymenu.png).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "menus/fly_menu_fixture.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/art_dir.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/image/dib.h"
#include "quillui/menus/menu_gadgets.h"
#include "quillui/profile/icons.h"

namespace quill {
namespace {

// A 16 x 16 icon: inside(x, y) says which pixels are the icon's, colour(x, y) their colour.
template <class Inside, class Colour>
std::unique_ptr<ZIcon> DrawIcon(Inside inside, Colour colour) {
  TDib image(16, 16, 24), mask(16, 16, 24);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool in = inside(x, y);
      image.SetPixelColor(x, y, in ? colour(x, y) : TColor::Black);
      mask.SetPixelColor(x, y, in ? TColor::White : TColor::Black);
    }
  auto icon = std::make_unique<ZIcon>();
  EXPECT_TRUE(icon->SetImage(ZIcon::eSMALL, image, &mask));
  return icon;
}

class FlyMenuSceneTest : public test::FlyMenuTest {
 protected:
  void SetUp() override {
    screenSize = TSize(360, 220);
#ifdef QUILL_ART_DIR
    SetArtDir(QUILL_ART_DIR);
#endif
    ResetAppPalette();
    FlyMenuTest::SetUp();
  }
  void TearDown() override {
    FlyMenuTest::TearDown();
    ResetAppPalette();
    SetArtDir("");
  }
};

TEST_F(FlyMenuSceneTest, MenuWithIconsCheckSeparatorAndAnOpenSubmenu) {
  host->SetBkgndColor(TColor(58, 92, 128));
  host->Invalidate();
  // A magnifier, a picture frame and a pair of pages.
  auto magnifier = DrawIcon(
      [](int x, int y) {
        const int d = (x - 6) * (x - 6) + (y - 6) * (y - 6);
        return (d <= 25 && d >= 9) || (x >= 9 && y >= 9 && x - y >= -1 && x - y <= 1 && x < 15);
      },
      [](int x, int y) { return x >= 9 && y >= 9 ? TColor(120, 70, 20) : TColor(30, 30, 160); });
  auto frameIcon = DrawIcon([](int x, int y) { return x >= 1 && x <= 14 && y >= 2 && y <= 13; },
                            [](int x, int y) {
                              const bool edge = x <= 2 || x >= 13 || y <= 3 || y >= 12;
                              return edge ? TColor(150, 100, 30)
                                          : (y > 8 ? TColor(40, 140, 40) : TColor(120, 190, 255));
                            });
  auto pages = DrawIcon(
      [](int x, int y) {
        return (x >= 2 && x <= 10 && y >= 1 && y <= 12) || (x >= 5 && x <= 13 && y >= 4 && y <= 15);
      },
      [](int x, int y) {
        const bool line = y % 3 == 0 && x >= 7 && x <= 11 && y >= 6;
        return line ? TColor(90, 90, 90) : TColor(250, 250, 250);
      });

  const COLORREF warm = PALETTERGB(255, 224, 160);
  auto menu = NewMenu();
  menu->Append(MF_CHECKED, 7109, "@", frameIcon.get());
  menu->Append(0, 7110, "@", magnifier.get());
  menu->Append(0, 7104, "@", pages.get());
  menu->Append(MF_SEPARATOR, 0, nullptr, nullptr);
  menu->Append(MF_POPUP, 7209, "@", nullptr, warm);
  menu->Append(0, 7103, "@", nullptr, warm);
  host->openers.push_back({7209, menu.get(), {"Labels", "Grid", "Controls"}});
  ASSERT_TRUE(menu->Display(TPoint(24, 20)));

  const TPoint options = GadgetCentre(*menu, 4);
  MouseMove(options.x, options.y);
  Advance(250);
  Pump();
  ZFlyMenu* sub = menu->GetSubMenu();
  ASSERT_TRUE(sub && sub->IsWindowVisible());
  sub->SetCheckMark(0, MF_BYPOSITION | MF_CHECKED);
  sub->Invalidate();
  const TPoint grid = GadgetCentre(*sub, 1);
  MouseMove(grid.x, grid.y);
  Pump();
  EXPECT_TRUE(FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*sub, 1)->IsHighlighted());
  EXPECT_TRUE(FlyMenuTest::GadgetAt<ZMenuEntryGadget>(*menu, 4)->IsHighlighted());

  if (const char* out = std::getenv("QUILL_FLYMENU_SCREENSHOT")) {
    std::string error;
    ASSERT_TRUE(TWindowSystem::Get().Screen().SaveScreenshot(out, &error)) << error;
  }
}

}  // namespace
}  // namespace quill
