// The application background: the choice by screen width, tiling, where a window lies over it,
// painting it, 256-colour copies and the key replacement of cel strips.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "imaging/pixels_fixture.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/art_dir.h"
#include "quillui/framework/gadgets/gadget.h"
#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/window/window.h"
#include "quillui/imaging/background.h"
#include "quillui/imaging/dib_blit.h"

namespace quill::test {
namespace {

class BackgroundTest : public PixelsTest {};

// A main frame for the registry: a top-level window of its own.
class Frame : public TWindow, public ZVexFrame {
 public:
  explicit Frame(TRect r) : TWindow(nullptr) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = r.left, Attr.Y = r.top, Attr.W = r.Width(), Attr.H = r.Height();
  }
  TWindow& GetFrameTWindow() override { return *this; }
};

TEST_F(BackgroundTest, TheKeyFollowsTheScreenWidthAndFallsBackToBackground) {
  const struct {
    int width;
    const char* key;
  } cases[] = {{640, "Background"},    {720, "Background"},     {800, "Background800"},
               {900, "Background800"}, {901, "Background1024"}, {1024, "Background1024"}};
  for (const auto& c : cases) EXPECT_STREQ(BackgroundKeyForWidth(c.width), c.key) << c.width;

  // Each key names a picture of its own width; the screen decides which is read.
  const std::string small = WriteBmp(*Pattern(1100, 800, 1), "small.bmp");
  const std::string mid = WriteBmp(*Pattern(1101, 800, 2), "mid.bmp");
  const std::string big = WriteBmp(*Pattern(1102, 800, 3), "big.bmp");
  WriteSettings("[View]\nBackground=" + small + "\nBackground800=" + mid +
                "\nBackground1024=" + big + "\n");
  for (const auto& c : cases) {
    UseScreen(c.width, 600);
    TDib* dib = nullptr;
    ASSERT_TRUE(GetWindowBackgroundDib(dib)) << c.width;
    const int expected = std::string(c.key) == "Background"      ? 1100
                         : std::string(c.key) == "Background800" ? 1101
                                                                 : 1102;
    EXPECT_EQ(dib->Width(), expected) << c.width;
  }

  // Without "Background1024" a 1024-wide screen reads "Background".
  WriteSettings("[View]\nBackground=" + small + "\n");
  ResetBackground();
  UseScreen(1024, 768);
  TDib* dib = nullptr;
  ASSERT_TRUE(GetWindowBackgroundDib(dib));
  EXPECT_EQ(dib->Width(), 1100);
}

TEST_F(BackgroundTest, ASmallPictureIsTiledAndALargeOneKept) {
  const std::string tile = WriteBmp(*Pattern(100, 100), "tile.bmp");
  WriteSettings("[View]\nBackground1024=" + tile + "\n");
  UseScreen(1024, 768);
  TDib* dib = nullptr;
  ASSERT_TRUE(GetWindowBackgroundDib(dib));
  ASSERT_EQ(dib->Width(), 1024);
  ASSERT_EQ(dib->Height(), 768);
  // 11 copies across, the last cut to 24 columns; 8 down, the last cut to 68 rows.
  for (int y : {0, 99, 100, 699, 700, 767})
    for (int x : {0, 99, 100, 999, 1000, 1023})
      EXPECT_EQ(dib->GetPixelIndex(x, y), PatternIndex(x % 100, y % 100)) << x << "," << y;
  EXPECT_EQ(dib->GetColor(200), Pattern(1, 1)->GetColor(200));

  // A picture bigger than the screen is used as it is.
  const std::string large = WriteBmp(*Pattern(1280, 1024), "large.bmp");
  WriteSettings("[View]\nBackground800=" + large + "\n");
  UseScreen(800, 600);
  ASSERT_TRUE(GetWindowBackgroundDib(dib));
  EXPECT_EQ(dib->Width(), 1280);
  EXPECT_EQ(dib->Height(), 1024);
}

TEST_F(BackgroundTest, AMissingFileIsReportedAndGivesNoBackground) {
  WriteSettings("[View]\nBackground=" + (dir / "nothing.bmp").string() + "\n");
  TDib* dib = nullptr;
  EXPECT_FALSE(GetWindowBackgroundDib(dib));
  EXPECT_TRUE(Reported("Cannot access file " + (dir / "nothing.bmp").string(), "Error"));
  // Nothing configured: no background, nothing reported.
  reports.clear();
  WriteSettings("");
  ResetBackground();
  EXPECT_FALSE(GetWindowBackgroundDib(dib));
  EXPECT_TRUE(reports.empty());
}

TEST_F(BackgroundTest, SetAppBackgroundIsHandedOutUntilTheScreenSizeChanges) {
  TDib* dib = nullptr;
  EXPECT_FALSE(GetWindowBackgroundDib(dib));  // remembers 800 x 600
  EXPECT_TRUE(SetAppBackground(Pattern(50, 50).release()));
  ASSERT_TRUE(GetAppBackground(dib));
  ASSERT_TRUE(GetWindowBackgroundDib(dib));
  EXPECT_EQ(dib->Width(), 50);
  UseScreen(1024, 768);
  EXPECT_FALSE(GetWindowBackgroundDib(dib));
  EXPECT_FALSE(GetAppBackground(dib));
}

TEST_F(BackgroundTest, AWindowSeesThePartUnderItAndPaintsItBottomUp) {
  UseScreen(1024, 768);
  TDib* dib = nullptr;
  GetWindowBackgroundDib(dib);
  SetAppBackground(Pattern(1024, 768));
  Frame frame({0, 0, 1024, 768});
  auto* child = new TWindow(&frame);
  child->Attr.X = 100, child->Attr.Y = 50, child->Attr.W = 200, child->Attr.H = 100;
  ASSERT_TRUE(frame.Create());
  SetAppFrame(&frame);
  TRect under;
  ASSERT_TRUE(GetWindowBackground(*child, dib, under));
  EXPECT_EQ(under, TRect(100, 50, 300, 150));
  ASSERT_TRUE(GetWindowBackground(*child, TRect(10, 20, 30, 40), dib, under));
  EXPECT_EQ(under, TRect(110, 70, 130, 90));

  // Painted into a bitmap the size of the window: pixel (x, y) shows background (100 + x,
  // 50 + y), which lies in the bottom-up rows from source y 768 - 150 = 618 up.
  TBitmap bitmap(200, 100);
  TMemoryDC dc(bitmap);
  ASSERT_TRUE(PaintWindowBackground(dc, *child, child->GetClientRect()));
  for (auto [x, y] : {std::pair{0, 0}, {199, 0}, {0, 99}, {199, 99}, {57, 31}}) {
    const uint8_t want =
        dc.MapColor(TColor(dib->GetColor(PatternIndex(100 + x, 50 + y))).PaletteRelative());
    EXPECT_EQ(bitmap.Row(y)[x], want) << x << "," << y;
  }
  SetAppFrame(nullptr);
}

TEST_F(BackgroundTest, CopyBlt256ClipsOnEverySide) {
  const auto src = Pattern(10, 10, 5);
  const struct {
    int x, y;
    TRect covered;  // destination pixels written
  } cases[] = {
      {5, 5, {5, 5, 15, 15}},   {15, 15, {15, 15, 20, 20}}, {-3, -4, {0, 0, 7, 6}},
      {-3, 12, {0, 12, 7, 20}}, {18, -9, {18, 0, 20, 1}},   {-10, 0, {0, 0, 0, 0}},
      {20, 5, {0, 0, 0, 0}},    {5, -10, {0, 0, 0, 0}},     {5, 20, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    TDib dst(20, 20, 8, 256);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) dst.SetPixelIndex(x, y, 255);
    EXPECT_TRUE(CopyBlt256(dst, c.x, c.y, *src)) << c.x << "," << c.y;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool in = c.covered.Contains(TPoint(x, y));
        const int want = in ? PatternIndex(x - c.x, y - c.y, 5) : 255;
        ASSERT_EQ(dst.GetPixelIndex(x, y), want) << c.x << "," << c.y << " at " << x << "," << y;
      }
  }
  // A width and height cut the copy; 0 means the whole source.
  TDib dst(20, 20, 8, 256);
  EXPECT_TRUE(CopyBlt256(dst, 0, 0, *src, 3, 2));
  EXPECT_EQ(dst.GetPixelIndex(2, 1), PatternIndex(2, 1, 5));
  EXPECT_EQ(dst.GetPixelIndex(3, 1), 0);
  EXPECT_EQ(dst.GetPixelIndex(2, 2), 0);

  // Anything but 256 colours is refused and said.
  TDib sixteen(10, 10, 4);
  TDib small(10, 10, 8, 16);
  EXPECT_FALSE(CopyBlt256(dst, 0, 0, sixteen));
  EXPECT_TRUE(Reported("CopyBlt256(): Source DIB not 256 colors.", "Error"));
  EXPECT_FALSE(CopyBlt256(small, 0, 0, *src));
  EXPECT_TRUE(Reported("CopyBlt256(): Destination DIB not 256 colors.", "Error"));
}

TEST_F(BackgroundTest, TilingRefusesAPictureWithoutPixels) {
  TDib dst(30, 30, 8, 256);
  EXPECT_FALSE(TileDib(dst, TDib()));
  EXPECT_FALSE(TileDib(dst, TDib(0, 5, 8, 256)));
  EXPECT_TRUE(TileDib(dst, *Pattern(7, 9)));
  EXPECT_EQ(dst.GetPixelIndex(29, 29), PatternIndex(29 % 7, 29 % 9));
}

// A strip of cels with the key colour at its lower-left pixel (index 9).
std::unique_ptr<TDib> KeyedStrip(int width, int height, TColor key = kBackgroundKeyColors[1]) {
  auto strip = std::make_unique<TDib>(width, height, 8, 256);
  strip->SetColor(9, key);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) strip->SetPixelIndex(x, y, (x + y) % 3 == 0 ? 9 : 40);
  strip->SetPixelIndex(0, height - 1, 9);
  return strip;
}

TEST_F(BackgroundTest, KeyPixelsTakeTheBackgroundUnderTheGadget) {
  const auto background = Pattern(300, 200);
  // 3 cels of width 20; the key pixel at column 45 of row 7 is x = 5 of cel 2.
  auto strip = KeyedStrip(60, 16);
  strip->SetPixelIndex(45, 7, 9);
  const int key = StripKeyIndex(*strip);
  ASSERT_EQ(key, 9);
  const TRect under(30, 40, 50, 56);
  KeyStripWithBackground(*strip, uint8_t(key), 3, 20, *background, under);
  EXPECT_EQ(strip->GetPixelIndex(45, 7), PatternIndex(30 + 5, 40 + 7));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 60; ++x) {
      const int was = (x + y) % 3 == 0 || (x == 0 && y == 15) || (x == 45 && y == 7) ? 9 : 40;
      const int want = was == 9 ? PatternIndex(30 + x % 20, 40 + y) : 40;
      ASSERT_EQ(strip->GetPixelIndex(x, y), want) << x << "," << y;
    }
}

TEST_F(BackgroundTest, KeyingStaysInsideTheStripAndTheBackground) {
  // The strip holds 2.5 cels of the 3 asked for and the gadget reaches past the background's
  // right and bottom edges: only pixels with both strip and background are touched.
  const auto background = Pattern(40, 30);
  auto strip = KeyedStrip(50, 16);
  KeyStripWithBackground(*strip, 9, 3, 20, *background, TRect(30, 20, 50, 36));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 50; ++x) {
      const bool key = (x + y) % 3 == 0 || (x == 0 && y == 15);
      const bool under = x % 20 < 10 && y < 10;  // background columns 30..39, rows 20..29
      const int want = !key ? 40 : under ? PatternIndex(30 + x % 20, 20 + y) : 9;
      ASSERT_EQ(strip->GetPixelIndex(x, y), want) << x << "," << y;
    }
  // A gadget wider than its whole one-cel strip: the strip's own columns only.
  strip = KeyedStrip(6, 16);
  KeyStripWithBackground(*strip, 9, 1, 30, *background, TRect(0, 0, 30, 16));
  EXPECT_EQ(strip->GetPixelIndex(0, 15), PatternIndex(0, 15));
  // A fixed colour replaces every key pixel of the cels, and no column past the strip.
  strip = KeyedStrip(50, 4);
  KeyStripWithIndex(*strip, 9, 3, 20, 77);
  EXPECT_EQ(strip->GetPixelIndex(0, 3), 77);
  EXPECT_EQ(strip->GetPixelIndex(49, 2), 77);
  EXPECT_EQ(strip->GetPixelIndex(49, 1), 40);
}

TEST_F(BackgroundTest, KeyingFollowsThePlainRuleForStripsOfEveryShape) {
  // Strip widths around the 32- and 64-column steps of the vector path, cels narrower and wider
  // than the strip holds, cels too wide for it, and gadgets cut by the background's edges.
  struct Shape {
    int stripWidth, height, cels, celWidth;
    TRect under;
  };
  const Shape shapes[] = {
      {72, 20, 3, 24, TRect(100, 40, 124, 60)}, {24, 5, 1, 24, TRect(0, 0, 24, 5)},
      {31, 3, 2, 16, TRect(5, 5, 21, 8)},       {33, 3, 2, 17, TRect(5, 5, 22, 8)},
      {64, 4, 1, 64, TRect(10, 10, 74, 14)},    {65, 4, 2, 40, TRect(290, 10, 330, 14)},
      {144, 6, 6, 24, TRect(0, 195, 24, 201)},  {100, 4, 3, 50, TRect(270, 100, 320, 104)},
      {260, 3, 2, 130, TRect(20, 20, 150, 23)}, {1100, 2, 11, 100, TRect(0, 0, 100, 2)},
      {50, 4, 9, 7, TRect(-3, -2, 4, 2)},       {17, 2, 1, 17, TRect(299, 0, 316, 2)},
      {64, 3, 2, 32, TRect(280, 0, 312, 3)},    {96, 3, 3, 32, TRect(268, 0, 300, 3)},
  };
  const auto background = Pattern(300, 200);
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(testing::Message()
                 << shape.stripWidth << " wide, " << shape.cels << " cels of " << shape.celWidth);
    auto strip = KeyedStrip(shape.stripWidth, shape.height);
    const auto before = std::make_unique<TDib>(*strip);
    KeyStripWithBackground(*strip, 9, shape.cels, shape.celWidth, *background, shape.under);
    const TRect& u = shape.under;
    const int left = std::max(u.left, 0), top = std::max(u.top, 0);
    const int width = std::min({shape.celWidth, u.right - left, background->Width() - left});
    for (int y = 0; y < shape.height; ++y)
      for (int x = 0; x < shape.stripWidth; ++x) {
        const int was = before->GetPixelIndex(x, y);
        const int inCel = x % shape.celWidth;
        const bool keyed = was == 9 && x < shape.cels * shape.celWidth && inCel < width &&
                           top + y < background->Height();
        const int want = keyed ? PatternIndex(left + inCel, top + y) : was;
        ASSERT_EQ(strip->GetPixelIndex(x, y), want) << x << "," << y;
      }
  }
}

TEST_F(BackgroundTest, OnlyAKeyColourAtTheLowerLeftMakesAStripKeyed) {
  for (TColor key : kBackgroundKeyColors) EXPECT_EQ(StripKeyIndex(*KeyedStrip(8, 8, key)), 9);
  EXPECT_EQ(StripKeyIndex(*KeyedStrip(8, 8, TColor(225, 116, 117))), -1);
  // An index past a short colour table has no colour, so it is no key.
  TDib shortTable(8, 8, 8, 4);
  shortTable.SetPixelIndex(0, 7, 9);
  EXPECT_EQ(StripKeyIndex(shortTable), -1);
  EXPECT_EQ(StripKeyIndex(TDib(8, 8, 24)), -1);
}

// A gadget of a fixed size.
class Block : public TGadget {
 public:
  Block() : TGadget(1) { SetShrinkWrap(false, false); }
  void GetDesiredSize(TSize& size) override { size = TSize(24, 20); }
};

class Gadgets : public TGadgetWindow {
 public:
  explicit Gadgets(TWindow* parent) : TGadgetWindow(parent) {}
};

TEST_F(BackgroundTest, BluescreenBackgroundKeysAGadgetsStrip) {
  UseScreen(640, 480);
  TDib* dib = nullptr;
  GetWindowBackgroundDib(dib);
  SetAppBackground(Pattern(640, 480));
  Frame frame({0, 0, 640, 480});
  auto* bar = new Gadgets(&frame);
  bar->Attr.X = 10, bar->Attr.Y = 20, bar->Attr.W = 300, bar->Attr.H = 40;
  auto* gadget = new Block;
  bar->Insert(*gadget);
  ASSERT_TRUE(frame.Create());
  SetAppFrame(&frame);
  const TRect bounds = gadget->GetBounds();
  ASSERT_GT(bounds.Width(), 0);

  TRect under;
  ASSERT_TRUE(GetGadgetBackground(*bar, *gadget, dib, under));
  EXPECT_EQ(under.Size(), bounds.Size());
  TPoint origin = bar->ClientOriginOnScreen();
  EXPECT_EQ(under.TopLeft(), TPoint(origin.x + bounds.left, origin.y + bounds.top));

  auto strip = KeyedStrip(bounds.Width() * 3, 8);
  ASSERT_TRUE(BluescreenBackground(*bar, *gadget, *strip, 3, "x.bmp", TColor::Transparent));
  EXPECT_EQ(strip->GetPixelIndex(0, 0), PatternIndex(under.left, under.top));
  EXPECT_EQ(strip->GetPixelIndex(bounds.Width(), 0), PatternIndex(under.left, under.top));
  EXPECT_EQ(strip->GetPixelIndex(1, 0), 40);

  // Not keyed: untouched and false. Not 8-bit: reported.
  auto plain = KeyedStrip(bounds.Width(), 8, TColor(1, 2, 3));
  EXPECT_FALSE(BluescreenBackground(*bar, *gadget, *plain, 1, "p.bmp", TColor::Transparent));
  EXPECT_EQ(plain->GetPixelIndex(0, 0), 9);
  TDib deep(bounds.Width(), 8, 24);
  EXPECT_FALSE(BluescreenBackground(*bar, *gadget, deep, 1, "deep.bmp", TColor::Transparent));
  EXPECT_TRUE(Reported("deep.bmp has wrong bits/pixel", "BluescreenBackground"));
  SetAppFrame(nullptr);
}

TEST_F(BackgroundTest, ArtIsFoundInTheArtDirectoryTheHostNames) {
  // The host's directory first; then [Directories] "Art"; a missing file names the art path.
  SetArtDir(dir.string());
  EXPECT_EQ(GetArtDir(), dir.string() + "/");
  EXPECT_EQ(FindArtFile("palette.bmp"), dir.string() + "/palette.bmp");
  SetArtDir("");
  WriteSettings("[Directories]\nArt=" + std::string(QUILL_ART_DIR) + "\n");
  EXPECT_EQ(FindArtFile("backtile.bmp"), std::string(QUILL_ART_DIR) + "/backtile.bmp");
  ResetAppPalette();
  ASSERT_NE(GetAppPalette(), nullptr);  // read from the art directory, not beside the program
  ResetAppPalette();
}

TEST_F(BackgroundTest, TheShippedBackgroundsAreScreenSizedInTheApplicationPalette) {
  const auto palette = LoadAppPaletteFile(std::string(QUILL_ART_DIR) + "/palette.bmp");
  ASSERT_NE(palette, nullptr);
  const struct {
    const char* name;
    int width, height;
  } art[] = {{"background640.bmp", 640, 480},
             {"background800.bmp", 800, 600},
             {"background1024.bmp", 1024, 768},
             {"backtile.bmp", 100, 100},
             {"title.bmp", 64, 24},
             {"label.bmp", 32, 16}};
  for (const auto& a : art) {
    DibResult read = ReadBmpFile(std::string(QUILL_ART_DIR) + "/" + a.name);
    ASSERT_NE(read.dib, nullptr) << a.name << ": " << read.error;
    EXPECT_EQ(read.dib->Width(), a.width) << a.name;
    EXPECT_EQ(read.dib->Height(), a.height) << a.name;
    EXPECT_EQ(read.dib->BitsPerPixel(), 8) << a.name;
    ASSERT_EQ(read.dib->NumColors(), 256) << a.name;
    for (int i = 0; i < 256; ++i) {
      const TPaletteEntry e = palette->GetPaletteEntry(i);
      ASSERT_EQ(TColor(read.dib->GetColor(i)), TColor(e.peRed, e.peGreen, e.peBlue)) << a.name;
    }
  }
  // The tile becomes a whole background on a screen of any size.
  WriteSettings("[View]\nBackground=" + std::string(QUILL_ART_DIR) + "/backtile.bmp\n");
  UseScreen(1024, 768);
  TDib* dib = nullptr;
  ASSERT_TRUE(GetWindowBackgroundDib(dib));
  EXPECT_EQ(dib->Width(), 1024);
  EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace quill::test
