// The title bar's settings, its heights and its painting, pixel by pixel.
#include "quillui/app/app_palette.h"
#include "quillui/app/presentation.h"
#include "quillui/bars/control_bar.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "titlebar/title_bar_fixture.h"

namespace quill::test {
namespace {

using TitleBarPaintTest = TitleBarTest;

constexpr COLORREF kWhite = PALETTERGB(255, 255, 255);

TEST_F(TitleBarPaintTest, SettingsHaveTheirDefaultsAndLimits) {
  struct Case {
    const char* ini;
    COLORREF active, shadow;
    uint32_t height, shadowWidth, delay;
  };
  const Case cases[] = {
      {"", PALETTERGB(30, 50, 152), PALETTERGB(167, 167, 167), 21, 2, 25},
      {"[View]\nTBarActiveColor=10,20\nTBarShadowColor=1 2 3\n", kWhite, PALETTERGB(1, 2, 3), 21, 2,
       25},
      {"[View]\nTBarActiveColor=266 20 30 40\nTBarHeight=1\nTBarShadowWidth=-4\n",
       PALETTERGB(10, 20, 30), PALETTERGB(167, 167, 167), 2, 0, 25},
      {"[View]\nTBarHeight=-70000\nTBarShadowWidth=99999999\nTBarMenuDelay=-1\n",
       PALETTERGB(30, 50, 152), PALETTERGB(167, 167, 167), 2, 64, 0},
      {"[View]\nTBarHeight=4000000000\nTBarMenuDelay=40\n", PALETTERGB(30, 50, 152),
       PALETTERGB(167, 167, 167), 256, 2, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    Settings(c.ini);
    const ZTitleBarSettings& s = TitleBarSettings();
    EXPECT_EQ(s.m_clrActiveBkgnd, c.active);
    EXPECT_EQ(s.m_clrShadow, c.shadow);
    EXPECT_EQ(s.m_uiHeight, c.height);
    EXPECT_EQ(s.m_uiIniShadowWidth, c.shadowWidth);
    EXPECT_EQ(s.m_uiMenuDelay, c.delay);
    EXPECT_EQ(s.m_clrInActiveTxt, PALETTERGB(242, 242, 242));
  }
}

TEST_F(TitleBarPaintTest, HeightsFollowTheStripAndTheClampedSetting) {
  Pane p = MakePane(TRect(0, 0, 388, 300), ePATH_PANE);
  EXPECT_EQ(p.bar->GetWindowRect().Height(), 23);
  EXPECT_EQ(p.bar->GetBarHeight(), 23);
  EXPECT_EQ(p.bar->GetWindowRect().Width(), 388);
  p.bar->Initialize(icon.get(), nullptr, TBF_MINMAX | TBF_CLOSE, 0);
  EXPECT_EQ(p.bar->GetWindowRect().Height(), 21);
  EXPECT_EQ(p.bar->GetStripHeight(), 0);
  EXPECT_EQ(p.bar->GetTitle(), "Path of the pane");
  p.bar->Initialize(icon.get(), nullptr, TBF_SHADOW, 0);
  EXPECT_EQ(p.bar->GetWindowRect().Height(), 23);

  // A height below two would leave the icon window a negative height.
  Settings("[View]\nTBarHeight=0\n");
  Pane low = MakePane(TRect(0, 300, 388, 400), ePATH_PANE);
  EXPECT_EQ(low.bar->GetWindowRect().Height(), 4);
  EXPECT_EQ(low.bar->GetIconWnd()->GetWindowRect().Height(), 0);
}

TEST_F(TitleBarPaintTest, BarInitialisedBeforeItsWindowIsMadeLaysOutTheSame) {
  PaneStub pane(frame.get(), TRect(0, 0, 388, 300), &log);
  auto* bar = new ZTitleBar(&pane, eARTICLE_PANE);
  bar->Initialize(icon.get(), "Article", TBF_MINMAX | TBF_CLOSE, 0);
  ASSERT_TRUE(pane.Create());
  Pump();
  EXPECT_EQ(bar->GetWindowRect(), TRect(0, 0, 388, 21));
  EXPECT_EQ(bar->GetIconWnd()->GetWindowRect(), TRect(0, 0, 24, 19));
  EXPECT_EQ(bar->GetButtonBar()->GetWindowRect(), TRect(352, 2, 386, 17));
  EXPECT_EQ(bar->CalcTextRect(), TRect(26, 0, 342, 21));
}

// Paints the bar into a bitmap of its size; answers the palette index of every pixel.
std::vector<uint8_t> PaintBar(ZTitleBar& bar, TSize size) {
  TScreenDC screen;
  TBitmap bitmap(size.cx, size.cy);
  TMemoryDC dc(screen);
  dc.SelectObject(bitmap);
  TRect all(0, 0, size.cx, size.cy);
  bar.Paint(dc, true, all);
  std::vector<uint8_t> pixels;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) pixels.push_back(uint8_t(dc.GetPixelIndex(x, y)));
  return pixels;
}

TEST_F(TitleBarPaintTest, PaintsColourStripOutlineAndTitleExactly) {
  Pane p = MakePane(TRect(0, 0, 388, 300), ePATH_PANE);
  ZTitleBar& bar = *p.bar;
  ASSERT_NE(bar.GetIconWnd(), nullptr);
  ASSERT_NE(bar.GetButtonBar(), nullptr);
  EXPECT_EQ(bar.GetIconWnd()->GetWindowRect().Width(), 24);
  EXPECT_EQ(bar.GetButtonBar()->GetWindowRect().Width(), 34);
  EXPECT_EQ(bar.CalcTextRect(), TRect(26, 0, 342, 21));

  const TSize size(388, 23);
  const uint8_t black = IndexOf(TColor(PALETTERGB(0, 0, 0)));
  const uint8_t shadow = IndexOf(TColor(PALETTERGB(167, 167, 167)));
  for (bool active : {false, true}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    bar.SetActive(active, ZFlyMenuTitleBar::eICON_NORMAL, false);
    const std::vector<uint8_t> px = PaintBar(bar, size);

    // What the title alone looks like in its rectangle with the bar's text format.
    TScreenDC screen;
    TBitmap textBitmap(size.cx, size.cy);
    TMemoryDC text(screen);
    text.SelectObject(textBitmap);
    text.SelectPalette(GetAppPalette());
    text.RealizePalette();
    text.FillRect(TRect(0, 0, size.cx, size.cy), TColor(bar.GetBkgndColor()));
    const uint8_t bkgnd = uint8_t(text.GetPixelIndex(0, 0));
    text.SelectObject(*GetAppFont(Title));
    text.SetBkMode(TRANSPARENT);
    text.SetTextColor(TColor(bar.GetTextColor()));
    TRect rect(26, 0, 342, 21);
    text.DrawText(bar.GetTitle(), rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);

    int textPixels = 0;
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x) {
        const uint8_t got = px[size_t(y * size.cx + x)];
        uint8_t want;
        if (y >= 21)
          want = shadow;
        else if (y == 0 || y == 20 || x == 0 || x == 387)
          want = black;
        else
          want = uint8_t(text.GetPixelIndex(x, y));
        if (y < 21 && y > 0 && y < 20 && x > 0 && x < 387 && want != bkgnd) {
          ++textPixels;
          ASSERT_TRUE(x >= 26 && x < 342) << x;
        }
        ASSERT_EQ(got, want) << "(" << x << ", " << y << ")";
      }
    EXPECT_GT(textPixels, 50);
  }

  // With the strip cleared the outline's bottom row is the bar's last row.
  bar.Initialize(icon.get(), nullptr, TBF_MINMAX | TBF_CLOSE, 0);
  const std::vector<uint8_t> px = PaintBar(bar, TSize(388, 21));
  for (int x = 0; x < 388; ++x) EXPECT_EQ(px[size_t(20 * 388 + x)], black) << x;
}

TEST_F(TitleBarPaintTest, IconWindowShowsTheIconThroughItsMaskInTheStateColour) {
  Pane p = MakePane(TRect(0, 0, 388, 300), ePATH_PANE);
  ZTitleBarIconWnd& iconWnd = *p.bar->GetIconWnd();
  p.bar->SendMessage(WmuHandleActivation, 0, 0);
  Pump();
  EXPECT_EQ(iconWnd.GetIconPosition(), TPoint(4, 1));  // (24 - 16) / 2, (19 - 16) / 2
  const TRect r = iconWnd.GetWindowRect();
  const uint8_t active = IndexOf(TColor(TitleBarSettings().m_clrIconActive));
  EXPECT_EQ(ScreenPixel(r.left, r.top), active);
  EXPECT_EQ(ScreenPixel(r.left + 5, r.top + 2), active);  // the mask's rim
  EXPECT_NE(ScreenPixel(r.left + 8, r.top + 8), active);  // the icon itself
}

}  // namespace
}  // namespace quill::test
