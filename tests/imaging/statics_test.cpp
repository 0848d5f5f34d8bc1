// The static text controls: colours, fonts, the text's place beside a tiled picture, the
// raised shadow, the title line's bitmaps and its caption from the settings.
#include <gtest/gtest.h>

#include "imaging/pixels_fixture.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/imaging/statics.h"

namespace quill::test {
namespace {

class StaticsTest : public PixelsTest {
 protected:
  // A top-level window to hold the controls, at the screen's top-left corner.
  std::unique_ptr<TWindow> Host() {
    auto host = std::make_unique<TWindow>(nullptr);
    host->Attr.Style = WS_POPUP | WS_VISIBLE;
    host->Attr.W = 400, host->Attr.H = 200;
    return host;
  }
  // The leftmost column in rows y0..y1 of the screen between x0 and x1 showing colour c.
  int LeftmostOf(TColor c, int x0, int x1, int y0, int y1) {
    const uint8_t index = IndexOf(c);
    for (int x = x0; x < x1; ++x)
      for (int y = y0; y < y1; ++y)
        if (ScreenPixel(x, y) == index) return x;
    return -1;
  }
  // A flat picture of one light colour.
  static TDib* Flat(int w, int h, TColor c) {
    auto* dib = new TDib(w, h, 8, 256);
    dib->SetColor(0, c);
    return dib;
  }
};

TEST_F(StaticsTest, ShadowColourIsThreeQuartersOfEachComponent) {
  EXPECT_EQ(ZStatic::ShadowColor(TColor(205, 206, 227)), TColor(153, 153, 168).PaletteRelative());
  EXPECT_EQ(ZStatic::ShadowColor(TColor(3, 255, 0)), TColor(0, 189, 0).PaletteRelative());
}

TEST_F(StaticsTest, EachKindHasItsColourFontAndHeight) {
  auto host = Host();
  auto* plain = new ZStatic(host.get(), 1, "Plain", 0, 0, 0, 100, 18);
  auto* title = new ZTitleStatic(host.get(), 2, "Title", 0, 0, 30, 100, 0);
  auto* label = new ZLabelStatic(host.get(), 3, "Label", 0, 0, 60, 100, 0);
  // A plain static starts on the default font rather than on no font at all.
  EXPECT_EQ(plain->GetAppFontSlot(), Default);
  EXPECT_EQ(plain->GetAppBackgroundSlot(), HOLDER_BACKGROUND);
  EXPECT_EQ(title->GetAppFontSlot(), Title);
  EXPECT_EQ(title->GetAppBackgroundSlot(), TITLE_BACKGROUND);
  EXPECT_EQ(title->Attr.H, 20);
  EXPECT_EQ(label->GetAppFontSlot(), Label);
  EXPECT_EQ(label->Attr.H, 16);
  EXPECT_EQ(plain->GetBkgndColor(), GetAppColor(HOLDER_BACKGROUND));
  ASSERT_TRUE(host->Create());
  EXPECT_FALSE(plain->IsWindowEnabled());
  EXPECT_EQ(plain->GetFont().GetHeight(), GetAppFont(Default)->GetHeight());
  plain->ShrinkToText();
  EXPECT_GT(plain->Attr.W, 0);
  EXPECT_GT(plain->Attr.H, 0);
}

TEST_F(StaticsTest, TextMovesFourPixelsInBesideAPicture) {
  const TColor light(250, 250, 200);
  auto host = Host();
  new ZStatic(host.get(), 1, "IIII", 0, 0, 0, 200, 24);  // no picture
  auto* with = new ZStatic(host.get(), 2, "IIII", 0, 0, 40, 200, 24);
  with->SetBkgndDib(Flat(8, 8, light));
  auto* centred = new ZStatic(host.get(), 3, "IIII", SS_CENTER, 0, 80, 200, 24);
  centred->SetBkgndDib(Flat(8, 8, light));
  ASSERT_TRUE(host->Create());
  Pump();
  const int a = LeftmostOf(TColor::Black, 0, 200, 0, 24);
  const int b = LeftmostOf(TColor::Black, 0, 200, 40, 64);
  const int c = LeftmostOf(TColor::Black, 0, 200, 80, 104);
  ASSERT_GE(a, 0);
  EXPECT_EQ(b - a, 4);
  EXPECT_GT(c, 50);
  EXPECT_EQ(ScreenPixel(150, 45), IndexOf(light));
}

TEST_F(StaticsTest, ARaisedPictureCastsATwoPixelShadow) {
  WriteSettings("[Colors]\nHOLDER_BACKGROUND=205 206 227\n");
  const TColor light(250, 250, 200);
  auto host = Host();
  auto* raised = new ZStatic(host.get(), 1, "", 0, 10, 10, 100, 30);
  raised->SetBkgndDib(Flat(8, 8, light));
  raised->SetRaised(true);
  ASSERT_TRUE(host->Create());
  Pump();
  const uint8_t shadow = IndexOf(TColor(153, 153, 168));
  EXPECT_EQ(ScreenPixel(10 + 97, 10 + 27), IndexOf(light));
  EXPECT_EQ(ScreenPixel(10 + 98, 10 + 28), shadow);
  EXPECT_EQ(ScreenPixel(10 + 99, 10 + 15), shadow);
  EXPECT_EQ(ScreenPixel(10 + 50, 10 + 29), shadow);
  EXPECT_EQ(ScreenPixel(10 + 99, 10 + 0), IndexOf(TColor(205, 206, 227)));
}

// A bitmap of one colour.
std::unique_ptr<TBitmap> Solid(int w, int h, TColor c) {
  auto bitmap = std::make_unique<TBitmap>(w, h);
  TMemoryDC dc(*bitmap);
  dc.FillRect(TRect(0, 0, w, h), c);
  dc.RestoreBitmap();
  return bitmap;
}

TEST_F(StaticsTest, TitleBitmapIsRightAlignedAndFollowsTheDisplayMode) {
  auto host = Host();
  auto* title = new ZTitleStatic(host.get(), 1, "Words", 0, 0, 0, 300, 0);
  title->SetNormalBitmap(Solid(100, 20, TColor::LtRed));
  ASSERT_TRUE(host->Create());
  Pump();
  EXPECT_EQ(ScreenPixel(200, 10), IndexOf(TColor::LtRed));
  EXPECT_EQ(ScreenPixel(299, 19), IndexOf(TColor::LtRed));
  EXPECT_NE(ScreenPixel(199, 10), IndexOf(TColor::LtRed));

  // Full screen without a full-screen bitmap keeps the normal one, with the big title font.
  title->setDisplayMode(eFULL_SCREEN_MODE);
  EXPECT_EQ(title->GetAppFontSlot(), BigTitle);
  EXPECT_NE(title->GetCurrentBitmap(), nullptr);
  title->SetFullScreenBitmap(Solid(150, 20, TColor::LtBlue));
  title->setDisplayMode(eFULL_SCREEN_MODE);
  title->Invalidate();
  Pump();
  EXPECT_EQ(ScreenPixel(150, 10), IndexOf(TColor::LtBlue));
  title->setDisplayMode(eTABLEAU_MODE);
  EXPECT_EQ(title->GetAppFontSlot(), Title);
  EXPECT_EQ(title->GetCurrentBitmap()->Width(), 100);

  // Without bitmaps the caption is drawn again.
  title->killBitmap();
  EXPECT_EQ(title->GetCurrentBitmap(), nullptr);
  title->Invalidate();
  Pump();
  EXPECT_NE(ScreenPixel(250, 10), IndexOf(TColor::LtRed));
}

TEST_F(StaticsTest, TitleTextComesFromItsSectionWhenThereIsOne) {
  WriteSettings("[Atlas]\ntitletext=World Atlas\n[Empty]\nother=1\n");
  auto host = Host();
  auto* title = new ZTitleStatic(host.get(), 1, "Start", 0, 0, 0, 300, 0);
  title->setSection("Empty");
  EXPECT_EQ(title->GetCaption(), "Start");
  title->setSection("Atlas");
  EXPECT_EQ(title->GetCaption(), "World Atlas");
}

TEST_F(StaticsTest, APictureByNameComesFromTheBitmapManagersButtonsFolder) {
  std::vector<std::string> asked;
  SetBitmapReaderHook([&](const std::string& path, int64_t, int64_t, const TPalette*) {
    asked.push_back(path);
    return path.find("buttons") != std::string::npos && path.find("stone.bmp") != std::string::npos
               ? std::unique_ptr<TDib>(Flat(4, 4, TColor::LtGray))
               : nullptr;
  });
  auto host = Host();
  auto* s = new ZStatic(host.get(), 1, "x", 0, 0, 0, 50, 20);
  s->SetBkgndDib("stone.bmp");
  ASSERT_NE(s->GetBkgndDib(), nullptr);
  EXPECT_EQ(s->GetBkgndDib()->Width(), 4);
  EXPECT_FALSE(asked.empty());
  SetBitmapReaderHook({});
}

TEST_F(StaticsTest, APictureByNameThatIsMissingChangesNothing) {
  auto host = Host();
  auto* s = new ZStatic(host.get(), 1, "x", 0, 0, 0, 50, 20);
  TDib* first = Flat(4, 4, TColor::White);
  s->SetBkgndDib(first);
  s->SetBkgndDib("no such picture.bmp");
  EXPECT_EQ(s->GetBkgndDib(), first);
}

}  // namespace
}  // namespace quill::test
