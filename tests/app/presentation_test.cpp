#include "quillui/app/presentation.h"

#include <string>

#include "app_test_support.h"
#include "quillui/app/app_info.h"
#include "quillui/app/app_palette.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/testing/app.h"

namespace quill::test {
namespace {

using PresentationTest = AppTest;

TEST_F(PresentationTest, EmptySettingsGiveTheBuiltInTables) {
  const int metrics[eMETRIC_COUNT] = {4, 5, 5, 5, 5, 5, 5, 3, 3, 3, 3, 3, 3, 2, 4, 4, 4, 4};
  for (int m = 0; m < eMETRIC_COUNT; ++m) EXPECT_EQ(GetAppMetric(m), metrics[m]) << AppMetricKey(m);

  const COLORREF colors[APP_COLOR_COUNT] = {
      0x028080FF, 0x02E3CECD, 0x02FFFFFF, 0x02956C6F, 0x02E3CECD, 0x02614448,
      0x02E3CECD, 0x02DFB5B6, 0x02F4E4E3, 0x02956C6F, 0x024C262C, 0x02E3CECD,
      0x02E3CECD, 0x02F7CAC8, 0x02956C6F, 0x02956C6F, 0x024C262C, 0x02A97C7A,
      0x02C29593, 0x02DFB5B6, 0x02F4E4E3, 0x02000000};
  for (int c = 0; c < APP_COLOR_COUNT; ++c) EXPECT_EQ(GetAppColor(c), TColor(colors[c])) << c;

  struct Font {
    const char* face;
    int height;
    int weight;
    bool italic;
  };
  const Font fonts[APP_FONT_COUNT] = {{"MS Sans Serif", -10, 400, false},
                                      {"Times New Roman", -18, 400, false},
                                      {"Times New Roman", -18, 400, false},
                                      {"MS Sans Serif", -10, 400, false},
                                      {"Arial", 14, 400, false},
                                      {"MS Sans Serif", -10, 400, false},
                                      {"Arial", 10, 400, false},
                                      {"Arial", 18, 400, false},
                                      {"MS Sans Serif", -10, 700, true}};
  for (int f = 0; f < APP_FONT_COUNT; ++f) {
    SCOPED_TRACE(AppFontKey(f));
    TFont* font = GetAppFont(f);
    ASSERT_NE(font, nullptr);
    const TLogFont& lf = font->GetLogFont();
    EXPECT_EQ(lf.lfFaceName, fonts[f].face);
    EXPECT_EQ(lf.lfHeight, fonts[f].height);
    EXPECT_EQ(lf.lfWeight, fonts[f].weight);
    EXPECT_EQ(lf.lfItalic != 0, fonts[f].italic);
    // The fixed parts of every font.
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(lf.lfOutPrecision, 0);
    EXPECT_EQ(lf.lfClipPrecision, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfPitchAndFamily, 0);
  }

  EXPECT_EQ(GetAppStyle(), 0);
  EXPECT_STREQ(GetAppTitle(), "Quillonary");
  EXPECT_STRNE(GetAppCopyright(), "");
  EXPECT_EQ(isPentium(), 0);
  EXPECT_EQ(GetAppMemoryLevel(), 3);
  EXPECT_TRUE(reports.empty());
}

TEST_F(PresentationTest, SettingsOverrideTheDefaults) {
  WriteSettings(
      "[Metrics]\nPANE_BEZEL=9\npicture_border=11\nDEFAULT=6\n"
      "[Colors]\nTABLEAU_BACKGROUND=1 2 3\nTITLE_TEXT=255 0 0\n"
      "[Presentation]\nStyle=TAMBOR\nTitle=font=Arial size=-24 bold italic\n"
      "[View]\nTitle=My Encyclopedia\nCopyright=(c) Us\n"
      "[Global Config]\nUsePentium=1\n");
  EXPECT_EQ(GetAppMetric(eMETRIC_PANE_BEZEL), 9);
  EXPECT_EQ(GetAppMetric(eMETRIC_PICTURE_BORDER), 11);  // keys match in any case
  EXPECT_EQ(GetAppMetric(eMETRIC_PANE_OUTIE_BEZEL), 2);
  EXPECT_EQ(GetAppMetric(eMETRIC_COUNT), 6);  // beyond the table: DEFAULT, as configured
  EXPECT_EQ(GetAppColor(TABLEAU_BACKGROUND), TColor(PALETTERGB(1, 2, 3)));
  EXPECT_EQ(GetAppColor(TITLE_TEXT), TColor(0x020000FF));
  EXPECT_EQ(GetAppColor(STATUSBAR_FACE), TColor(0x02E3CECD));
  EXPECT_EQ(GetAppStyle(), 2);
  const TLogFont& lf = GetAppFont(Title)->GetLogFont();
  EXPECT_EQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, -24);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_STREQ(GetAppTitle(), "My Encyclopedia");
  EXPECT_STREQ(GetAppCopyright(), "(c) Us");
#if defined(__i386__) || defined(__x86_64__)
  EXPECT_EQ(isPentium(), 1);
#else
  EXPECT_EQ(isPentium(), 0);
#endif
}

TEST_F(PresentationTest, AllInGivesTheOutieBezelTheInnieValue) {
  WriteSettings("[Presentation]\nAllIn=1\n");
  EXPECT_EQ(GetAppMetric(eMETRIC_PANE_OUTIE_BEZEL), 4);
  ResetPresentation();
  WriteSettings("[Presentation]\nAllIn=1\n[Metrics]\nPANE_INNIE_BEZEL=7\nPANE_OUTIE_BEZEL=1\n");
  EXPECT_EQ(GetAppMetric(eMETRIC_PANE_OUTIE_BEZEL), 7);
  EXPECT_EQ(GetAppMetric(eMETRIC_PANE_INNIE_BEZEL), 7);
}

TEST_F(PresentationTest, IndicesOutsideTheTablesAnswerSlotZero) {
  WriteSettings("[Presentation]\nDefault=font=Arial size=12\n");
  for (int bad : {int(eMETRIC_COUNT), 1000, -1, -100000}) {
    EXPECT_EQ(GetAppMetric(bad), 4) << bad;
  }
  for (int bad : {int(APP_COLOR_COUNT), 99, -1}) {
    EXPECT_EQ(GetAppColor(bad), TColor(0x028080FF)) << bad;
  }
  for (int bad : {int(APP_FONT_COUNT), 50, -3})
    EXPECT_EQ(GetAppFont(bad), GetAppFont(Default)) << bad;
  EXPECT_EQ(GetAppFont(Default)->GetLogFont().lfFaceName, "Arial");
}

// An empty face in the settings is made with the framework's default face, keeping the other
// items; the slot's own default face is not brought back.
TEST_F(PresentationTest, EmptyFaceMakesTheFontWithTheFrameworkDefaultFace) {
  WriteSettings("[Presentation]\nTitle=size=-20 bold font=\n");
  const TLogFont& lf = GetAppFont(Title)->GetLogFont();
  EXPECT_EQ(lf.lfFaceName, kDefaultFaceName);
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, 700);
}

TEST(ParseAppColor, ReadsThreeNumbersOfAnyText) {
  struct Case {
    const char* text;
    COLORREF expected;
  } cases[] = {
      {"255 0 0", PALETTERGB(255, 0, 0)},
      {"0 255 0", PALETTERGB(0, 255, 0)},
      {"300 0 0", PALETTERGB(44, 0, 0)},      // low 8 bits
      {"256 257 -1", PALETTERGB(0, 1, 255)},  // negative numbers keep their low bits too
      {"  12\t34   56  ", PALETTERGB(12, 34, 56)},
      {"1 2", PALETTERGB(1, 2, 0)},  // missing items read as 0
      {"7", PALETTERGB(7, 0, 0)},
      {"red green blue", PALETTERGB(0, 0, 0)},  // not numbers
      {"12abc 3x 9", PALETTERGB(12, 3, 9)},     // leading digits count, as atol reads
      {"1 2 3 4 5", PALETTERGB(1, 2, 3)},
      {"99999999999999999999999999 0 0", PALETTERGB(255, 0, 0)},  // 10^26 - 1
      {"<1 2 3> 4 5", PALETTERGB(1, 4, 5)},  // a bracketed item reads as its text
      {"=5 6 7", PALETTERGB(0, 6, 7)},
      {"<<<", PALETTERGB(0, 0, 0)},
      {"", PALETTERGB(0, 0, 0)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseAppColor(c.text), TColor(c.expected)) << '"' << c.text << '"';
}

TEST(ParseAppColor, HugeNumbersKeepTheirExactLowBits) {
  // 10^26 mod 256 = 0 and (10^26 + 300) mod 256 = 44: the low bits are the number's own,
  // not those of a saturated or wrapped-to-garbage value.
  EXPECT_EQ(ParseAppColor("100000000000000000000000000 100000000000000000000000300 3"),
            TColor(PALETTERGB(0, 44, 3)));
  std::string longText(100000, '9');
  EXPECT_TRUE(ParseAppColor(longText + " 1 2").IsPaletteRelative());
}

TEST_F(PresentationTest, EmptyColourTextKeepsTheDefault) {
  WriteSettings("[Colors]\nSTATUSBAR_FACE=\nPANE_GLINT=   \n");
  EXPECT_EQ(GetAppColor(STATUSBAR_FACE), TColor(0x02E3CECD));
  EXPECT_EQ(GetAppColor(PANE_GLINT).IsPaletteRelative(), true);
}

TEST(ParseAppFont, ItemsChangeOnlyWhatTheyName) {
  struct Case {
    int font;
    const char* text;
    const char* face;
    int height;
    int weight;
    bool italic;
  } cases[] = {
      {Title, "bold", "Times New Roman", -18, 700, false},
      {Title, "BOLD", "Times New Roman", -18, 700, false},
      {Title, "Italic", "Times New Roman", -18, 400, true},
      {Title, "size=0", "Times New Roman", -18, 400, false},
      {Title, "size=abc", "Times New Roman", -18, 400, false},
      {Title, "size=12", "Times New Roman", 12, 400, false},
      {Title, "SIZE=-30", "Times New Roman", -30, 400, false},
      {Title, "size=12 size=-14", "Times New Roman", -14, 400, false},  // the later one wins
      {Title, "font=<Courier New> size=11", "Courier New", 11, 400, false},
      {Title, "font=", "", -18, 400, false},  // the face is the value, even an empty one
      {ListBox, "colour=red weight=900 bold", "Arial", 14, 700, false},
      {ScriptDescr, "", "MS Sans Serif", -10, 700, true},
      {Title, "size=100000", "Times New Roman", -18, 400, false},  // refused, reported
      {Title, "size=-99999999999999", "Times New Roman", -18, 400, false},
      {Title, "size=512", "Times New Roman", 512, 400, false},
      {Title, "<<<size=5", "Times New Roman", -18, 400, false},
  };
  SetReporterEcho(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TLogFont lf = ParseAppFont(c.font, c.text);
    EXPECT_EQ(lf.lfFaceName, c.face);
    EXPECT_EQ(lf.lfHeight, c.height);
    EXPECT_EQ(lf.lfWeight, c.weight);
    EXPECT_EQ(lf.lfItalic != 0, c.italic);
  }
  SetReporterEcho(true);
}

TEST_F(PresentationTest, AbsurdFontSizeIsReported) {
  WriteSettings("[Presentation]\nEdit=size=40000\n");
  EXPECT_EQ(GetAppFont(Edit)->GetLogFont().lfHeight, -10);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].message.find("Edit"), std::string::npos);
}

TEST_F(PresentationTest, StyleWordsAreCaseSensitive) {
  struct Case {
    const char* value;
    int style;
  } cases[] = {{"KORU", 1}, {"TAMBOR", 2}, {"koru", 0}, {"Tambor", 0}, {"KORUX", 0}, {"", 0}};
  for (const Case& c : cases) {
    WriteSettings(std::string("[Presentation]\nStyle=") + c.value + "\n");
    ResetPresentation();
    EXPECT_EQ(GetAppStyle(), c.style) << c.value;
  }
}

TEST_F(PresentationTest, BrushesAreMadeOnceFromTheTableAsItStood) {
  WriteSettings("[Colors]\nTITLE_BACKGROUND=1 1 1\nHOLDER_BACKGROUND=2 2 2\n");
  const TBrush& title = GetAppBrush(TITLE_BACKGROUND);
  EXPECT_EQ(title.GetColor(), TColor(PALETTERGB(1, 1, 1)));
  EXPECT_EQ(GetAppBrush(HOLDER_BACKGROUND).GetColor(), TColor(PALETTERGB(2, 2, 2)));
  EXPECT_EQ(&GetAppBrush(TABLEAU_BACKGROUND), &GetAppBrush(HOLDER_BACKGROUND));
  EXPECT_EQ(&GetAppBrush(999), &GetAppBrush(HOLDER_BACKGROUND));
  // DeleteStatics re-reads the colours but leaves the brushes alone.
  WriteSettings("[Colors]\nTITLE_BACKGROUND=9 9 9\n");
  DeleteStatics();
  EXPECT_EQ(GetAppColor(TITLE_BACKGROUND), TColor(PALETTERGB(9, 9, 9)));
  EXPECT_EQ(&GetAppBrush(TITLE_BACKGROUND), &title);
  EXPECT_EQ(title.GetColor(), TColor(PALETTERGB(1, 1, 1)));
}

TEST_F(PresentationTest, TablesAreReadOnceUntilDeleteStatics) {
  WriteSettings(
      "[Metrics]\nPANE_BEZEL=6\n[Colors]\nPANE_GLINT=10 20 "
      "30\n[Presentation]\nLabel=size=20\nStyle=KORU\n"
      "[View]\nTitle=First\n");
  EXPECT_EQ(GetAppMetric(eMETRIC_PANE_BEZEL), 6);
  EXPECT_EQ(GetAppColor(PANE_GLINT), TColor(PALETTERGB(10, 20, 30)));
  TFont* label = GetAppFont(Label);
  EXPECT_EQ(label->GetLogFont().lfHeight, 20);
  EXPECT_EQ(GetAppStyle(), 1);
  EXPECT_STREQ(GetAppTitle(), "First");
  TPalette* palette = GetAppPalette();  // whatever the executable's directory holds

  WriteSettings(
      "[Metrics]\nPANE_BEZEL=8\n[Colors]\nPANE_GLINT=1 2 "
      "3\n[Presentation]\nLabel=size=30\nStyle=TAMBOR\n"
      "[View]\nTitle=Second\n");
  EXPECT_EQ(GetAppMetric(eMETRIC_PANE_BEZEL), 6);  // still the table of the first read
  EXPECT_EQ(GetAppColor(PANE_GLINT), TColor(PALETTERGB(10, 20, 30)));
  EXPECT_EQ(GetAppFont(Label), label);

  DeleteStatics();
  EXPECT_EQ(GetAppMetric(eMETRIC_PANE_BEZEL), 8);
  EXPECT_EQ(GetAppColor(PANE_GLINT), TColor(PALETTERGB(1, 2, 3)));
  EXPECT_EQ(GetAppFont(Label)->GetLogFont().lfHeight, 30);
  // Not part of DeleteStatics: the style and the title; the palette is loaded once only.
  EXPECT_EQ(GetAppStyle(), 1);
  EXPECT_STREQ(GetAppTitle(), "First");
  EXPECT_EQ(GetAppPalette(), nullptr);
  (void)palette;
}

TEST_F(PresentationTest, LongTitleIsCutTo255Characters) {
  std::string title(300, 'T');
  title[254] = 'x';
  title[255] = 'y';
  WriteSettings("[View]\nTitle=" + title + "\nCopyright=" + std::string(1000, 'c') + "\n");
  EXPECT_EQ(std::string(GetAppTitle()), title.substr(0, 255));
  EXPECT_EQ(std::string(GetAppCopyright()).size(), 255u);
}

TEST(PaletteMode, PaletteScreenForcesZero) {
  struct Case {
    int caps;
    int setting;
    int mode;
  } cases[] = {
      {RC_PALETTE, -1, 0}, {RC_PALETTE, 1, 0}, {RC_PALETTE | RC_BITBLT, 0, 0},
      {RC_BITBLT, -1, 1},  {RC_BITBLT, 0, 0},  {RC_BITBLT, 1, 1},
      {0, 2, 1},           {0, -7, 1},         {0, 1000000, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChoosePaletteMode(c.caps, c.setting), c.mode) << c.caps << " " << c.setting;
}

TEST_F(PresentationTest, PaletteModeOnThePaletteScreenIsZero) {
  WriteSettings("[Global Config]\nPaletteMode=1\n");
  EXPECT_EQ(GetAppPaletteMode(), 0);
}

}  // namespace
}  // namespace quill::test
