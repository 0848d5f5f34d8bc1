#include <climits>
#include <filesystem>
#include <string>

#include "quillui/profile/ini_file.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/profile.h"
#include "tests/profile/profile_fixture.h"

namespace quill::test {
namespace {

const char kSample[] =
    "; settings of the test\n"
    "[Colors]\n"
    "TitleBackground = 10 20 30   \n"
    "  ; an indented comment\n"
    "Text=\"quoted\" ; not a comment\n"
    "\n"
    "[metrics]\n"
    "PaneGap=7\n"
    "pane gap=8\n"
    "Empty=\n";

TEST_F(ProfileTest, LookupsIgnoreCaseAndKeepValuesAsWritten) {
  WriteIni(kSample);
  ZProf& p = ZProfile();
  EXPECT_EQ(p.Get("colors", "TITLEBACKGROUND", "x"), "10 20 30");
  EXPECT_EQ(p.Get("Colors", "Text", "x"), "\"quoted\" ; not a comment");
  EXPECT_EQ(p.Get("METRICS", "panegap", "x"), "7");
  EXPECT_EQ(p.Get("Metrics", "Pane Gap", "x"), "8");
  EXPECT_EQ(p.Get("Metrics", "Empty", "x"), "");
  EXPECT_EQ(p.Get("Metrics", "Missing", "fallback"), "fallback");
  EXPECT_EQ(p.Get("Nowhere", "PaneGap", nullptr), "");
  // A comment line is not an entry, whatever it looks like.
  EXPECT_EQ(p.Get("Colors", "; an indented comment", "none"), "none");
  EXPECT_TRUE(reports.empty());
}

TEST_F(ProfileTest, NumbersAndSwitchesReadTheClassicWay) {
  WriteIni(
      "[N]\na=12\nb=-7\nc=+3\nd= 42abc\ne=abc\nf=\ng=99999999999\nh=-99999999999\n"
      "[B]\nt1=1\nt2=TRUE\nt3=yes\nt4=On\nt5=7\nf1=0\nf2=false\nf3=No\nf4=off\nbad=maybe\n");
  ZProf& p = ZProfile();
  const struct {
    const char* key;
    int expected;
  } ints[] = {{"a", 12}, {"b", -7},      {"c", 3},       {"d", 42},   {"e", -1},
              {"f", -1}, {"g", INT_MAX}, {"h", INT_MIN}, {"none", -1}};
  for (const auto& c : ints) EXPECT_EQ(p.GetInt("N", c.key, -1), c.expected) << c.key;
  for (const char* key : {"t1", "t2", "t3", "t4", "t5"})
    EXPECT_TRUE(p.GetBool("B", key, false)) << key;
  for (const char* key : {"f1", "f2", "f3", "f4"}) EXPECT_FALSE(p.GetBool("B", key, true)) << key;
  EXPECT_TRUE(p.GetBool("B", "bad", true));
  EXPECT_FALSE(p.GetBool("B", "bad", false));
  EXPECT_TRUE(p.GetBool("B", "none", true));
}

TEST_F(ProfileTest, NullKeyListsTheSectionsKeysZeroSeparated) {
  WriteIni(
      "[Routing]\nArticle=Pane=Article\nGallery=Pane=Media\nARTICLE=second\n\n[Other]\nx=1\n[Empty]"
      "\n");
  ZProf& p = ZProfile();
  EXPECT_EQ(p.Get("routing", nullptr, ""), std::string("Article\0Gallery\0\0", 17));
  EXPECT_EQ(p.Get("Empty", nullptr, ""), std::string("\0", 1));
  EXPECT_EQ(p.Get("Missing", nullptr, ""), std::string("\0", 1));

  // Long lists are not cut short: the caller decides how much it takes.
  std::string big = "[Big]\n";
  for (int i = 0; i < 500; ++i) big += "key" + std::to_string(i) + "=v\n";
  WriteIni(big);
  const std::string list = ZProfile().Get("Big", nullptr, "");
  EXPECT_GT(list.size(), 1024u);
  EXPECT_EQ(list.substr(list.size() - 8), std::string("key499\0\0", 8));
}

TEST_F(ProfileTest, EntriesEnumerateInFileOrder) {
  WriteIni(
      "[BMPSets]\nbuttons=.\\buttons.set\n; comment\nicons = "
      "icons.set\nbuttons=again\n[Next]\nz=1\n");
  ZProf& p = ZProfile();
  std::string key, value;
  std::vector<std::string> seen;
  for (bool ok = p.GetFirstEntry("bmpsets", key, value); ok; ok = p.GetNextEntry(key, value))
    seen.push_back(key + "|" + value);
  EXPECT_EQ(seen, (std::vector<std::string>{"buttons|.\\buttons.set", "icons|icons.set",
                                            "buttons|again"}));
  EXPECT_FALSE(p.GetNextEntry(key, value));
  EXPECT_FALSE(p.GetFirstEntry("Missing", key, value));
}

TEST_F(ProfileTest, SetRewritesInPlaceAndKeepsEverythingElse) {
  WriteIni(
      "; head comment\n"
      "[View]\n"
      "  ButtonInterval = 200\n"
      "; trailing comment of View\n"
      "\n"
      "[Prefs]\n"
      "ButtonSounds=0\n");
  ZProf& p = ZProfile();
  ASSERT_TRUE(p.Set("view", "buttoninterval", "150"));      // existing key, other case
  ASSERT_TRUE(p.Set("View", "Speed", "fast"));              // new key after the last entry
  ASSERT_TRUE(p.Set("Bookmarks", "LastSavedList", "a b"));  // new section at the end
  EXPECT_EQ(ReadIni(),
            "; head comment\n"
            "[View]\n"
            "  ButtonInterval = 150\n"
            "Speed=fast\n"
            "; trailing comment of View\n"
            "\n"
            "[Prefs]\n"
            "ButtonSounds=0\n"
            "\n"
            "[Bookmarks]\n"
            "LastSavedList=a b\n");
  EXPECT_EQ(p.GetInt("VIEW", "ButtonInterval", 0), 150);
  EXPECT_EQ(p.Get("bookmarks", "lastsavedlist", ""), "a b");

  // A null value removes the key, a null key the section.
  ASSERT_TRUE(p.Set("View", "Speed", nullptr));
  ASSERT_TRUE(p.Set("Prefs", nullptr, nullptr));
  EXPECT_EQ(ReadIni(),
            "; head comment\n"
            "[View]\n"
            "  ButtonInterval = 150\n"
            "; trailing comment of View\n"
            "\n"
            "[Bookmarks]\n"
            "LastSavedList=a b\n");
}

TEST_F(ProfileTest, SetKeepsCrLfAndAMissingLastLineBreak) {
  WriteIni("[A]\r\nx=1\r\n[B]\r\ny=2");
  ZProf& p = ZProfile();
  ASSERT_TRUE(p.Set("B", "z", "3"));
  ASSERT_TRUE(p.Set("A", "x", "9"));
  EXPECT_EQ(ReadIni(), "[A]\r\nx=9\r\n[B]\r\ny=2\r\nz=3\r\n");
}

TEST_F(ProfileTest, SetCreatesTheFileAndRefusesUnwritableNames) {
  ZProf& p = ZProfile();
  EXPECT_EQ(p.Get("A", "b", "def"), "def");  // no file: defaults
  ASSERT_TRUE(p.Set("A", "b", "c"));
  EXPECT_EQ(ReadIni(), "[A]\nb=c\n");
  const char* bad[][3] = {{"A]", "k", "v"}, {"A", "k=1", "v"},  {"A", "k", "two\nlines"},
                          {"A", "", "v"},   {"", "k", "v"},     {"A", " k", "v"},
                          {"A", ";k", "v"}, {nullptr, "k", "v"}};
  for (const auto& b : bad)
    EXPECT_FALSE(p.Set(b[0], b[1], b[2])) << (b[0] ? b[0] : "null") << "/" << b[1];
  EXPECT_EQ(ReadIni(), "[A]\nb=c\n");
}

TEST_F(ProfileTest, FailedSetLeavesTheOldFileAndTheOldValues) {
  // A file name so long that the temporary beside it cannot be created: the write fails
  // even for a user whom permissions do not stop.
  const std::string longPath = dir + "/" + std::string(250, 'n') + ".ini";
  const std::string original = "; keep me\n[A]\nx=1\n";
  WriteFile(longPath, original);
  SetProfilePath(longPath);
  ZProf& p = ZProfile();
  EXPECT_EQ(p.Get("A", "x", ""), "1");
  EXPECT_FALSE(p.Set("A", "x", "2"));
  EXPECT_EQ(ReadFile(longPath), original);
  EXPECT_EQ(p.Get("A", "x", ""), "1");
  EXPECT_FALSE(reports.empty());
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    EXPECT_EQ(entry.path().string(), longPath) << "a temporary was left behind";

  // A directory that does not exist.
  SetProfilePath(dir + "/missing/settings.ini");
  EXPECT_FALSE(ZProfile().Set("A", "x", "2"));
}

TEST_F(ProfileTest, ChangesOnDiskAreSeen) {
  WriteIni("[A]\nx=1\n");
  EXPECT_EQ(ZProfile().Get("A", "x", ""), "1");
  WriteIni("[A]\nx=22\n");
  EXPECT_EQ(ZProfile().Get("A", "x", ""), "22");
  std::filesystem::remove(iniPath);
  EXPECT_EQ(ZProfile().Get("A", "x", "gone"), "gone");
}

TEST_F(ProfileTest, DamagedFileIsReadAroundAndReported) {
  std::string text = "[A]\nbefore=1\n";
  text += "long=" + std::string(IniDocument::kMaxLineBytes, 'x') + "\n";
  text += std::string("nul=a\0b\n", 8);
  text += "[Broken\nhidden=1\n[B]\nafter=2\n";
  WriteIni(text);
  ZProf& p = ZProfile();
  EXPECT_EQ(p.Get("A", "before", ""), "1");
  EXPECT_EQ(p.Get("A", "long", "skipped"), "skipped");
  EXPECT_EQ(p.Get("A", "nul", "skipped"), "skipped");
  EXPECT_EQ(p.Get("A", "hidden", "skipped"), "skipped");
  EXPECT_EQ(p.Get("B", "after", ""), "2");
  EXPECT_EQ(reports.size(), 3u);
  // Rewriting keeps even the lines it could not read.
  ASSERT_TRUE(p.Set("B", "after", "3"));
  const std::string rewritten = ReadIni();
  EXPECT_EQ(rewritten.substr(0, rewritten.size() - 2), text.substr(0, text.size() - 2));
}

// Sections and entries share one cap; whichever kind crosses it, the rest of the file is left
// out of the index with a single problem, and the document refuses to be rewritten.
TEST(IniDocumentTest, WhatLiesPastTheEntryCapIsLeftOutAndToldOnce) {
  for (const char* crossing : {"over=1\n", "[Over]\n"}) {
    SCOPED_TRACE(crossing);
    std::string text = "[A]\n";
    for (size_t i = 1; i < IniDocument::kMaxEntries; ++i) text += "k" + std::to_string(i) + "=1\n";
    text += crossing;
    text += "[B]\nb=1\nlate=1\n";
    const IniDocument doc(std::move(text));
    EXPECT_NE(doc.Find("A", "k" + std::to_string(IniDocument::kMaxEntries - 1)), nullptr);
    EXPECT_EQ(doc.Find("A", "over"), nullptr);
    EXPECT_EQ(doc.Find("A", "late"), nullptr);
    EXPECT_FALSE(doc.HasSection("Over"));
    EXPECT_FALSE(doc.HasSection("B"));
    ASSERT_EQ(doc.ProblemCount(), 1u);
    EXPECT_EQ(doc.Problems()[0].line, IniDocument::kMaxEntries + 1);
    std::string out;
    EXPECT_FALSE(doc.BuildSet("A", "k1", "2", out));
  }
}

TEST_F(ProfileTest, OversizedFileIsNeitherReadNorRewritten) {
  WriteIni("[A]\nx=1\n");
  std::filesystem::resize_file(iniPath, IniDocument::kMaxFileBytes + 1);
  ZProf& p = ZProfile();
  EXPECT_EQ(p.Get("A", "x", "default"), "default");
  EXPECT_FALSE(reports.empty());
  EXPECT_FALSE(p.Set("A", "x", "2"));
  EXPECT_EQ(std::filesystem::file_size(iniPath), IniDocument::kMaxFileBytes + 1);
}

TEST_F(ProfileTest, DirectoriesEndInASeparator) {
  ZProf& p = ZProfile();
  const std::string exe = p.GetExeDir();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.back(), '/');
  EXPECT_EQ(p.GetInstallDir(), exe);
  SetInstallDir("/opt/quill");
  EXPECT_EQ(p.GetInstallDir(), "/opt/quill/");
  ResetProfile();
  EXPECT_EQ(GetProfilePath(), exe + "quillonary.ini");
}

}  // namespace
}  // namespace quill::test
