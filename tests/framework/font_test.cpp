#include "quillui/framework/gdi/font.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "quillui/framework/gdi/font_engine.h"
#include "quillui/testing/framework.h"

namespace quill {
namespace {

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetFontEngine(); }
  void TearDown() override { ResetFontEngine(); }

  static bool HaveLiberation() {
    return DescribeResolvedFace(TFont("Liberation Sans", -12)).family == "Liberation Sans";
  }
  static bool HaveAnyFont() { return DescribeResolvedFace(TFont("Arial", -12)).found; }
};

// Settings that ask fontconfig nothing, so only the given file (if any) can be found.
FontEngineSettings SystemFontsOff(const std::string& fallbackFile) {
  FontEngineSettings settings;
  settings.useSystemFonts = false;
  settings.fallbackFile = fallbackFile;
  return settings;
}

#define REQUIRE_LIBERATION() \
  if (!HaveLiberation()) GTEST_SKIP() << "fonts-liberation is not installed; skipped"
#define REQUIRE_ANY_FONT() \
  if (!HaveAnyFont()) GTEST_SKIP() << "no scalable font is installed; skipped"

// Pixels drawn with colour 1 on a zero background, one byte per pixel.
struct Canvas {
  int width;
  int height;
  std::vector<uint8_t> pixels;
  Canvas(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h), 0) {}
  uint8_t at(int x, int y) const {
    return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  }
  void Draw(const TFont& font, std::string_view text, int x, int y) {
    DrawTextRun(font, text, x, y, pixels.data(), width, width, height, TRect(0, 0, width, height),
                1);
  }
  int Ink() const {
    int n = 0;
    for (uint8_t p : pixels) n += p != 0;
    return n;
  }
  bool RowFull(int y, int x0, int x1) const {
    for (int x = x0; x < x1; ++x)
      if (!at(x, y)) return false;
    return true;
  }
};

TEST_F(FontTest, ClassicFaceNamesResolveToMetricCompatibleFaces) {
  REQUIRE_LIBERATION();
  struct Case {
    const char* face;
    int weight;
    bool italic;
    const char* family;
    const char* style;
  };
  const Case cases[] = {
      {"Arial", FW_NORMAL, false, "Liberation Sans", "Regular"},
      {"arial", FW_NORMAL, false, "Liberation Sans", "Regular"},
      {"Times New Roman", FW_NORMAL, false, "Liberation Serif", "Regular"},
      {"Courier New", FW_NORMAL, false, "Liberation Mono", "Regular"},
      {"MS Sans Serif", FW_NORMAL, false, "Liberation Sans", "Regular"},
      {"System", FW_NORMAL, false, "Liberation Sans", "Regular"},
      {"", FW_NORMAL, false, "Liberation Sans", "Regular"},
      {"Arial", FW_BOLD, false, "Liberation Sans", "Bold"},
      {"Arial", FW_NORMAL, true, "Liberation Sans", "Italic"},
      {"Times New Roman", FW_BOLD, true, "Liberation Serif", "Bold Italic"},
      {"MS Sans Serif", FW_BOLD, false, "Liberation Sans", "Bold"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.weight) +
                 (c.italic ? " italic" : ""));
    const TResolvedFace face =
        DescribeResolvedFace(TFont(c.face, -13, 0, 0, 0, c.weight, c.italic));
    ASSERT_TRUE(face.found);
    EXPECT_NE(face.family.find(c.family), std::string::npos) << face.family;
    EXPECT_EQ(face.style, c.style);
    EXPECT_FALSE(face.syntheticBold);
    EXPECT_FALSE(face.syntheticItalic);
  }
}

TEST_F(FontTest, UnknownFaceNameGetsBestMatch) {
  REQUIRE_ANY_FONT();
  const TFont font("No Such Face Anywhere", -13);
  EXPECT_TRUE(DescribeResolvedFace(font).found);
  EXPECT_GT(font.GetTextExtent("Quillonary").cx, 0);
  // A fixed-pitch request falls back on a monospaced face: every advance is the same.
  const TFont fixed("No Such Face Anywhere", -13, 0, 0, 0, FW_NORMAL, false, false, false,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    FIXED_PITCH | FF_MODERN);
  EXPECT_EQ(fixed.GetTextExtent("iiii").cx, fixed.GetTextExtent("WWWW").cx);
  EXPECT_NE(font.GetTextExtent("iiii").cx, font.GetTextExtent("WWWW").cx);
}

TEST_F(FontTest, NegativeHeightIsEmSizePositiveIsCellHeight) {
  REQUIRE_ANY_FONT();
  for (const char* face : {"Arial", "Times New Roman", "Courier New", "MS Sans Serif"}) {
    for (int h = 4; h <= 72; ++h) {
      SCOPED_TRACE(std::string(face) + " " + std::to_string(h));
      const TTextMetric em = TFont(face, -h).GetTextMetrics();
      EXPECT_EQ(em.tmHeight - em.tmInternalLeading, h);
      EXPECT_EQ(em.tmHeight, em.tmAscent + em.tmDescent);
      EXPECT_EQ(DescribeResolvedFace(TFont(face, -h)).pixelSize, h);

      const TFont cellFont(face, h);
      const TTextMetric cell = cellFont.GetTextMetrics();
      EXPECT_EQ(cellFont.GetHeight(), h);
      EXPECT_EQ(cell.tmAscent + cell.tmDescent, h);
      // The em chosen is the largest whose own cell fits the height.
      const int chosen = DescribeResolvedFace(cellFont).pixelSize;
      EXPECT_LE(TFont(face, -chosen).GetHeight(), h);
      EXPECT_GT(TFont(face, -(chosen + 1)).GetHeight(), h);
      EXPECT_EQ(cellFont.GetTextExtent("x").cy, h);
    }
  }
}

TEST_F(FontTest, AbsurdSizesAreClampedAndHarmless) {
  REQUIRE_ANY_FONT();
  Canvas canvas(32, 32);
  for (int h : {INT_MIN, -100000, 100000, INT_MAX}) {
    for (int w : {0, INT_MIN, INT_MAX}) {
      const TFont font("Arial", h, w);
      const TTextMetric tm = font.GetTextMetrics();
      EXPECT_GT(tm.tmHeight, 0);
      EXPECT_LE(tm.tmHeight, 8192);
      EXPECT_GE(font.GetTextExtent("Wq").cx, 0);
      canvas.Draw(font, "W", -5, -5);
    }
  }
  EXPECT_EQ(TFont("Arial", 0).GetHeight(), 16);  // height 0 is the default cell
}

TEST_F(FontTest, GadgetWindowFontIsMsSansSerifAtNinetySixDpi) {
  const TGadgetWindowFont eight;
  EXPECT_EQ(eight.GetFaceName(), "MS Sans Serif");
  EXPECT_EQ(eight.GetLogFont().lfHeight, -11);
  EXPECT_EQ(eight.GetWeight(), FW_NORMAL);
  EXPECT_FALSE(eight.IsItalic());
  const TGadgetWindowFont tenBoldItalic(10, true, true);
  EXPECT_EQ(tenBoldItalic.GetLogFont().lfHeight, -13);
  EXPECT_EQ(tenBoldItalic.GetWeight(), FW_BOLD);
  EXPECT_TRUE(tenBoldItalic.IsItalic());
  EXPECT_EQ(tenBoldItalic.GetPointSize(), 10);
}

TEST_F(FontTest, LogFontRoundTripsAndFaceNameIsBounded) {
  TLogFont lf;
  lf.lfHeight = 14;
  lf.lfWidth = 6;
  lf.lfEscapement = 900;
  lf.lfOrientation = 900;
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = 1;
  lf.lfUnderline = 1;
  lf.lfStrikeOut = 1;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfClipPrecision = 2;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  lf.lfFaceName = "Arial";
  EXPECT_EQ(TFont(lf).GetLogFont(), lf);

  lf.lfFaceName = std::string(40, 'a');
  EXPECT_EQ(TFont(lf).GetFaceName(), std::string(LF_FACESIZE - 1, 'a'));
  EXPECT_EQ(TFont(std::string_view("Arial\0Garbage", 13)).GetFaceName(), "Arial");
}

TEST_F(FontTest, BoldIsWiderThanRegular) {
  REQUIRE_ANY_FONT();
  for (int h : {-11, -13, 14, -24}) {
    const TFont regular("Arial", h);
    const TFont bold("Arial", h, 0, 0, 0, FW_BOLD);
    EXPECT_GT(bold.GetTextExtent("Quillonary").cx, regular.GetTextExtent("Quillonary").cx) << h;
  }
}

TEST_F(FontTest, SyntheticBoldAndItalicWhenTheFaceHasNone) {
  REQUIRE_ANY_FONT();
  const std::string regularFile = DescribeResolvedFace(TFont("Arial", -13)).file;
  ResetFontEngine(SystemFontsOff(regularFile));
  const TFont regular("Arial", -13);
  const TFont bold("Arial", -13, 0, 0, 0, FW_BOLD);
  const TFont italic("Arial", -13, 0, 0, 0, FW_NORMAL, true);
  EXPECT_TRUE(DescribeResolvedFace(bold).syntheticBold);
  EXPECT_TRUE(DescribeResolvedFace(italic).syntheticItalic);
  // The fake bold adds one pixel to every advance, as the classic rasteriser did.
  const std::string text = "Quillonary";
  EXPECT_EQ(bold.GetTextExtent(text).cx, regular.GetTextExtent(text).cx + int(text.size()));
  EXPECT_EQ(bold.GetTextMetrics().tmAveCharWidth, regular.GetTextMetrics().tmAveCharWidth + 1);
  EXPECT_EQ(italic.GetTextExtent(text), regular.GetTextExtent(text));

  Canvas plain(120, 20), thick(120, 20), slanted(120, 20);
  plain.Draw(regular, text, 2, 2);
  thick.Draw(bold, text, 2, 2);
  slanted.Draw(italic, text, 2, 2);
  EXPECT_GT(thick.Ink(), plain.Ink());
  EXPECT_NE(slanted.pixels, plain.pixels);
}

TEST_F(FontTest, ExtentsAddUpWithoutKerning) {
  REQUIRE_ANY_FONT();
  const TFont font("Arial", -13);
  EXPECT_EQ(font.GetTextExtent(""), TSize(0, font.GetHeight()));
  EXPECT_EQ(GetTextExtent(font, std::u32string_view()), TSize(0, font.GetHeight()));
  for (const char* pair : {"AV", "To", "Wa", "ff", "LT"}) {
    const std::string s = pair;
    EXPECT_EQ(font.GetTextExtent(s).cx,
              font.GetTextExtent(s.substr(0, 1)).cx + font.GetTextExtent(s.substr(1)).cx)
        << s;
  }
  const std::string longText(100000, 'W');
  EXPECT_EQ(font.GetTextExtent(longText).cx, 100000 * font.GetTextExtent("W").cx);
  EXPECT_EQ(GetTextExtent(font, U"Quillonary"), font.GetTextExtent("Quillonary"));
}

TEST_F(FontTest, Cp1252BytesMeasureLikeTheirUnicodeCharacters) {
  const std::pair<uint8_t, char32_t> table[] = {
      {0x41, U'A'},   {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160}, {0x93, 0x201C},
      {0x99, 0x2122}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF}};
  for (auto [byte, cp] : table) EXPECT_EQ(Cp1252ToUnicode(byte), cp) << int(byte);

  REQUIRE_ANY_FONT();
  const TFont font("Arial", -13);
  for (int b = 0x20; b <= 0xFF; ++b) {
    const std::string bytes(1, char(b));
    const std::u32string wide(1, Cp1252ToUnicode(uint8_t(b)));
    EXPECT_EQ(font.GetTextExtent(bytes), GetTextExtent(font, wide)) << b;
  }
  // The euro is a real glyph, not the missing-glyph box of the unassigned 0x81.
  Canvas euro(30, 20), unassigned(30, 20);
  euro.Draw(font, "\x80", 2, 2);
  unassigned.Draw(font, "\x81", 2, 2);
  EXPECT_NE(euro.pixels, unassigned.pixels);
}

// A small target buffer inside a canary border: the engine is given only the inner part.
class ClipTest : public FontTest {
 protected:
  static constexpr int kW = 16, kH = 12, kM = 96;
  static constexpr int kCanvasW = kW + 2 * kM, kCanvasH = kH + 2 * kM;
  static constexpr uint8_t kCanary = 0xCC;

  std::vector<uint8_t> canvas = std::vector<uint8_t>(std::size_t(kCanvasW) * kCanvasH, kCanary);

  uint8_t* Inner() { return canvas.data() + kM * kCanvasW + kM; }
  void ClearInner() {
    for (int r = 0; r < kH; ++r) std::fill_n(Inner() + r * kCanvasW, kW, 0);
  }
  void ExpectCanaryIntact() {
    for (int y = 0; y < kCanvasH; ++y)
      for (int x = 0; x < kCanvasW; ++x) {
        const bool inner = x >= kM && x < kM + kW && y >= kM && y < kM + kH;
        if (!inner && canvas[std::size_t(y) * kCanvasW + std::size_t(x)] != kCanary) {
          ADD_FAILURE() << "write outside the buffer at " << x - kM << "," << y - kM;
          return;
        }
      }
  }
};

TEST_F(ClipTest, GlyphsAreClippedToClipAndBuffer) {
  REQUIRE_ANY_FONT();
  const TFont font("Arial", -24, 0, 0, 0, FW_NORMAL, false, true, true);
  const std::string text = "W@gj";
  const TRect clips[] = {TRect(0, 0, kW, kH), TRect(3, 2, 11, 9), TRect(-50, -50, 500, 500),
                         TRect(10, 10, 2, 2), TRect(5, 5, 5, 9)};
  const TPoint origins[] = {{0, 0}, {-10, -12}, {6, -4}, {-3, 5}, {12, 8}, {-40, 0}, {15, 11}};
  int totalInk = 0;
  for (const TRect& clip : clips) {
    for (const TPoint& at : origins) {
      SCOPED_TRACE(::testing::Message() << "clip " << clip << " at " << at);
      // Reference: the same run drawn unclipped into the whole canvas.
      std::vector<uint8_t> reference(canvas.size(), 0);
      DrawTextRun(font, text, at.x + kM, at.y + kM, reference.data(), kCanvasW, kCanvasW, kCanvasH,
                  TRect(0, 0, kCanvasW, kCanvasH), 1);
      std::fill(canvas.begin(), canvas.end(), kCanary);
      ClearInner();
      DrawTextRun(font, text, at.x, at.y, Inner(), kCanvasW, kW, kH, clip, 1);
      ExpectCanaryIntact();
      const TRect visible = clip & TRect(0, 0, kW, kH);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          const uint8_t got = Inner()[y * kCanvasW + x];
          const uint8_t want = visible.Contains(TPoint(x, y))
                                   ? reference[std::size_t(y + kM) * kCanvasW + std::size_t(x + kM)]
                                   : 0;
          ASSERT_EQ(got, want) << "pixel " << x << "," << y;
          totalInk += got != 0;
        }
    }
  }
  EXPECT_GT(totalInk, 0);
}

TEST_F(ClipTest, ExtremeOriginsAndBadBuffersWriteNothing) {
  REQUIRE_ANY_FONT();
  const TFont font("Arial", -24, 0, 0, 0, FW_NORMAL, false, true, true);
  const std::string text(1000, 'W');
  const TPoint origins[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, 0},
                            {INT_MAX - 5, 0},   {0, INT_MAX - 5},   {-100000, 0}};
  ClearInner();
  for (const TPoint& at : origins)
    DrawTextRun(font, text, at.x, at.y, Inner(), kCanvasW, kW, kH, TRect(0, 0, kW, kH), 1);
  DrawTextRun(font, "W", 0, 0, Inner(), kW - 1, kW, kH, TRect(0, 0, kW, kH),
              1);  // stride too small
  DrawTextRun(font, "W", 0, 0, Inner(), kCanvasW, 0, kH, TRect(0, 0, kW, kH), 1);
  DrawTextRun(font, "W", 0, 0, Inner(), kCanvasW, kW, -3, TRect(0, 0, kW, kH), 1);
  DrawTextRun(font, "W", 0, 0, nullptr, kCanvasW, kW, kH, TRect(0, 0, kW, kH), 1);
  ExpectCanaryIntact();
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) ASSERT_EQ(Inner()[y * kCanvasW + x], 0) << x << "," << y;
}

TEST_F(FontTest, NegativeStrideDrawsABottomUpBuffer) {
  REQUIRE_ANY_FONT();
  const TFont font("Arial", -13, 0, 0, 0, FW_NORMAL, false, true, false);
  Canvas topDown(80, 20);
  topDown.Draw(font, "Quill gj", 1, 2);
  std::vector<uint8_t> bottomUp(topDown.pixels.size(), 0);
  uint8_t* topRow = bottomUp.data() + std::size_t(19) * 80;
  DrawTextRun(font, "Quill gj", 1, 2, topRow, -80, 80, 20, TRect(0, 0, 80, 20), 1);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x)
      ASSERT_EQ(bottomUp[std::size_t(19 - y) * 80 + std::size_t(x)], topDown.at(x, y));
  EXPECT_GT(topDown.Ink(), 0);
}

TEST_F(FontTest, UnderlineBelowAndStrikeOutAboveTheBaseline) {
  REQUIRE_ANY_FONT();
  const std::string text = "Quillonary";
  for (int h : {-11, -13, 20}) {
    SCOPED_TRACE(h);
    const TFont plainFont("Arial", h);
    const int width = plainFont.GetTextExtent(text).cx;
    const TTextMetric tm = plainFont.GetTextMetrics();
    const int x = 3, y = 4;
    auto fullRows = [&](const TFont& font) {
      Canvas c(width + 10, tm.tmHeight + 10);
      c.Draw(font, text, x, y);
      std::vector<int> rows;
      for (int r = 0; r < c.height; ++r)
        if (c.RowFull(r, x, x + width)) rows.push_back(r);
      return rows;
    };
    EXPECT_TRUE(fullRows(plainFont).empty());
    const auto under = fullRows(TFont("Arial", h, 0, 0, 0, FW_NORMAL, false, true, false));
    ASSERT_FALSE(under.empty());
    for (int r : under) {
      EXPECT_GE(r, y + tm.tmAscent);
      EXPECT_LT(r, y + tm.tmHeight);
    }
    const auto strike = fullRows(TFont("Arial", h, 0, 0, 0, FW_NORMAL, false, false, true));
    ASSERT_FALSE(strike.empty());
    for (int r : strike) {
      EXPECT_GT(r, y + tm.tmInternalLeading);
      EXPECT_LT(r, y + tm.tmAscent);
    }
  }
}

TEST_F(FontTest, WithoutAnyFontTextStillMeasuresAndDrawsNothing) {
  const std::string junkFile = ::testing::TempDir() + "quill_font_junk.ttf";
  if (FILE* f = std::fopen(junkFile.c_str(), "wb")) {
    const char junk[] = "\0\1\0\0 this is not a font at all";
    std::fwrite(junk, 1, sizeof junk, f);
    std::fclose(f);
  }
  for (const std::string& fallback : {std::string(), junkFile, std::string("/nonexistent/x.ttf")}) {
    SCOPED_TRACE(fallback);
    ResetFontEngine(SystemFontsOff(fallback));
    const TFont em("Arial", -13, 0, 0, 0, FW_BOLD, true, true, true);
    const TFont cell("Times New Roman", 20);
    EXPECT_FALSE(DescribeResolvedFace(em).found);
    EXPECT_EQ(cell.GetHeight(), 20);
    EXPECT_EQ(cell.GetTextExtent("Quillonary"), TSize(0, 20));
    const TTextMetric tm = em.GetTextMetrics();
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13);
    EXPECT_EQ(em.GetTextExtent("Quillonary").cx, 0);
    EXPECT_GT(tm.tmAveCharWidth, 0);  // dialog-unit arithmetic divides by it
    Canvas canvas(40, 20);
    canvas.Draw(em, "Quillonary", 0, 0);
    EXPECT_EQ(canvas.Ink(), 0);
  }
  std::remove(junkFile.c_str());
}

TEST_F(FontTest, DamagedFontFilesAreHarmless) {
  REQUIRE_ANY_FONT();
  std::vector<char> original;
  if (FILE* f = std::fopen(DescribeResolvedFace(TFont("Arial", -13)).file.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
      original.insert(original.end(), buffer, buffer + n);
    std::fclose(f);
  }
  ASSERT_GT(original.size(), 4096u);
  const std::string damagedFile = ::testing::TempDir() + "quill_font_damaged.ttf";
  // Truncated at several points, and with a stretch of the tables overwritten.
  for (int variant = 0; variant < 6; ++variant) {
    std::vector<char> bytes = original;
    if (variant < 5) {
      bytes.resize(bytes.size() * std::size_t(variant + 1) / 7);
    } else {
      for (std::size_t i = 12; i < bytes.size() / 2; i += 7) bytes[i] = char(0xFF);
    }
    if (FILE* f = std::fopen(damagedFile.c_str(), "wb")) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    ResetFontEngine(SystemFontsOff(damagedFile));
    for (int h : {-13, 20, -200}) {
      const TFont font("Arial", h, 0, 0, 0, FW_BOLD, true, true, true);
      EXPECT_GT(font.GetHeight(), 0);
      std::string all;
      for (int b = 1; b <= 0xFF; ++b) all += char(b);
      EXPECT_GE(font.GetTextExtent(all).cx, 0);
      Canvas canvas(64, 64);
      canvas.Draw(font, all, -3, -3);
    }
  }
  std::remove(damagedFile.c_str());
}

TEST_F(FontTest, GlyphCacheStaysWithinItsBounds) {
  REQUIRE_ANY_FONT();
  FontEngineSettings small;
  small.glyphCacheMaxEntries = 40;
  small.glyphCacheMaxBytes = 16 * 1024;
  ResetFontEngine(small);
  const TFont probe("Arial", -13);
  Canvas before(120, 20);
  before.Draw(probe, "Quillonary", 2, 2);

  std::string all;
  for (int b = 0x20; b <= 0xFF; ++b) all += char(b);
  Canvas scratch(64, 64);
  for (int h = 6; h <= 60; h += 3) {
    for (int weight : {FW_NORMAL, FW_BOLD}) {
      scratch.Draw(TFont("Times New Roman", -h, 0, 0, 0, weight), all, 0, 0);
      const FontEngineStats s = GetFontEngineStats();
      ASSERT_LE(s.glyphEntries, small.glyphCacheMaxEntries);
      ASSERT_TRUE(s.glyphBytes <= small.glyphCacheMaxBytes || s.glyphEntries == 1) << s.glyphBytes;
    }
  }
  // A glyph bigger than the whole budget is still drawn, alone in the cache.
  scratch.Draw(TFont("Arial", -1000), "W", -100, -100);
  EXPECT_EQ(GetFontEngineStats().glyphEntries, 1u);
  EXPECT_GT(GetFontEngineStats().glyphMisses, small.glyphCacheMaxEntries);

  Canvas after(120, 20);
  after.Draw(probe, "Quillonary", 2, 2);
  EXPECT_EQ(after.pixels, before.pixels);

  // Realised fonts are bounded too.
  for (int h = 1; h <= 600; ++h) (void)TFont("Arial", h).GetHeight();
  EXPECT_LE(GetFontEngineStats().fontInstances, 256u);
}

// A font remembers what it realised to; that memory must not outlive the engine's records: the
// same font object draws the same pixels after the engine is reset, after its realised fonts
// were dropped for others and while its glyphs are being dropped from a tiny cache.
TEST_F(FontTest, AFontDrawsTheSameAfterTheEngineDroppedWhatItRealised) {
  REQUIRE_ANY_FONT();
  const TFont font("Arial", -13);
  Canvas first(160, 20);
  first.Draw(font, "Quillonary fly menus", 2, 2);
  ASSERT_GT(first.Ink(), 0);

  auto drawsTheSame = [&](const char* when) {
    Canvas again(160, 20);
    again.Draw(font, "Quillonary fly menus", 2, 2);
    EXPECT_EQ(again.pixels, first.pixels) << when;
  };
  ResetFontEngine();
  drawsTheSame("after a reset");
  for (int h = 1; h <= 300; ++h) (void)TFont("Arial", h).GetHeight();
  drawsTheSame("after its realised font was dropped");
  FontEngineSettings tiny;
  tiny.glyphCacheMaxEntries = 3;
  ResetFontEngine(tiny);
  drawsTheSame("with a cache smaller than the text");
}

}  // namespace
}  // namespace quill
