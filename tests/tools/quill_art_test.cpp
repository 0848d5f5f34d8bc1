// The art tool from the outside: every picture and sound the library and the sample settings
// name is made, in the application palette with the key at the lower left, the same bytes on
// every run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "quillui/framework/image/bmp_codec.h"
#include "quillui/imaging/background.h"
#include "quillui/imaging/data_set.h"
#include "quillui/imaging/dib_blit.h"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

// The button table's strips, each in the letter case the table writes it.
const std::vector<std::string> kPaneButtons = {
    "pbFullSc.bmp", "pbNext.bmp",   "pbPrint.bmp",  "pbPrev.bmp",   "pbSlctTr.bmp", "pbCopy.bmp",
    "avplayrv.bmp", "avstprwd.bmp", "avstop.bmp",   "avstpfwd.bmp", "avplay.bmp",   "pbArticl.bmp",
    "pbSize.bmp",   "pbFreeze.bmp", "pbThaw.bmp",   "pbBookMk.bmp", "pbSearch.bmp", "pbStop.bmp",
    "pbGetItm.bmp", "pbQList.bmp",  "pbcopy.bmp",   "pbGoto.bmp",   "pbNewLst.bmp", "pbOpnLst.bmp",
    "pbSvList.bmp", "pbDelItm.bmp", "pbHist.bmp",   "pbGoToYr.bmp", "pbFindEv.bmp", "pbXpnArt.bmp",
    "pbUS.bmp",     "pbWorld.bmp",  "pbOptns.bmp",  "pbTbleau.bmp", "pbZoomIn.bmp", "pbZoomOt.bmp",
    "pbOutlin.bmp", "pbideasr.bmp", "pbLabels.bmp", "pbGrid.bmp",   "pbcntrls.bmp", "erclose.bmp",
    "erclosep.bmp", "avfllrwd.bmp", "avpause.bmp",  "erplyful.bmp", "pbpurple.bmp", "ertutor.bmp",
    "ersamscr.bmp", "ernewscr.bmp", "eropnscr.bmp", "ersavscr.bmp", "save.bmp",     "delete.bmp",
    "pbclose.bmp",  "pbfullsc.bmp"};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class QuillArtTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/quill-art-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root = pattern;
    for (const char* run : {"a", "b"}) {
      const std::string command = std::string(QUILL_ART_BIN) + " all " + root + "/" + run;
      fs::create_directories(root + "/" + run);
      const int status = std::system(command.c_str());
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    }
  }
  static void TearDownTestSuite() { fs::remove_all(root); }

  static fs::path Art(const std::string& name) { return fs::path(root) / "a" / name; }
  static std::unique_ptr<TDib> Read(const std::string& name) {
    DibResult r = ReadBmpFile(Art(name).string());
    EXPECT_TRUE(r.dib) << name << ": " << r.error;
    return std::move(r.dib);
  }

  static std::string root;
};
std::string QuillArtTest::root;

TEST_F(QuillArtTest, EveryNamedStripIsThreeCelsWideKeyedInTheApplicationPalette) {
  const auto palette = Read("palette.bmp");
  ASSERT_TRUE(palette);
  struct Strip {
    std::string name;
    int cels, width, height;
  };
  std::vector<Strip> strips;
  for (const std::string& name : kPaneButtons) strips.push_back({name, 3, 24, 20});
  for (const char* name : {"full.bmp", "small.bmp", "close.bmp"})
    strips.push_back({name, 3, 17, 15});
  for (const char* name : {"select.bmp", "animnext.bmp", "animprev.bmp", "animplay.bmp"})
    strips.push_back({name, 6, 24, 20});
  strips.push_back({"filler.bmp", 1, 6, 20});
  for (const Strip& s : strips) {
    const auto dib = Read(s.name);
    ASSERT_TRUE(dib) << s.name;
    EXPECT_EQ(dib->BitsPerPixel(), 8) << s.name;
    EXPECT_EQ(dib->Width(), s.cels * s.width) << s.name;
    EXPECT_EQ(dib->Height(), s.height) << s.name;
    const int key = StripKeyIndex(*dib);
    ASSERT_GE(key, 0) << s.name << ": the lower-left pixel is no key colour";
    ASSERT_EQ(dib->NumColors(), 256) << s.name;
    for (int i = 0; i < 256; ++i) {
      if (i == key) continue;
      const TRgbQuad a = dib->GetColor(i), b = palette->GetColor(i);
      ASSERT_TRUE(a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue)
          << s.name << " colour " << i;
    }
  }
  // The case twins carry the same picture.
  EXPECT_EQ(ReadAll(Art("pbCopy.bmp")), ReadAll(Art("pbcopy.bmp")));
  EXPECT_EQ(ReadAll(Art("pbFullSc.bmp")), ReadAll(Art("pbfullsc.bmp")));
}

TEST_F(QuillArtTest, SetSoundsIconsAndSampleSettingsNamesExist) {
  ZDataSet set = ZDataSet::AtPath(Art("buttons.set").string());
  EXPECT_TRUE(set.read_error().empty()) << set.read_error();
  for (const std::string& name : kPaneButtons) EXPECT_GE(set.find_offset(name), 0) << name;
  for (const char* name :
       {"palette.bmp", "background640.bmp", "background800.bmp", "background1024.bmp",
        "backtile.bmp", "clkpmenu.wav", "icons/panes/article_16.bmp", "icons/panes/article_16m.bmp",
        "icons/menus/bookmark_16.bmp", "icons/menus/bookmark_16m.bmp"})
    EXPECT_TRUE(fs::is_regular_file(Art(name))) << name;
  // Every sound file the sample settings give a button.
  std::ifstream sample(QUILL_SAMPLE_SETTINGS);
  ASSERT_TRUE(sample) << QUILL_SAMPLE_SETTINGS;
  std::string line, section;
  std::set<std::string> sounds;
  while (std::getline(sample, line)) {
    if (line.starts_with("[")) section = line;
    const size_t eq = line.find('=');
    if ((section == "[ClickSound]" || section == "[Sound]") && eq != std::string::npos) {
      std::string value = line.substr(eq + 1);
      if (value.ends_with("!")) value.pop_back();
      sounds.insert(value);
    }
  }
  EXPECT_FALSE(sounds.empty());
  for (const std::string& sound : sounds) {
    const std::string bytes = ReadAll(Art(sound));
    ASSERT_GT(bytes.size(), 44u) << sound;
    EXPECT_EQ(bytes.substr(0, 4), "RIFF") << sound;
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ") << sound;
  }
}

TEST_F(QuillArtTest, TwoRunsWriteTheSameBytes) {
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(root) / "a")) {
    if (!entry.is_regular_file()) continue;
    const fs::path twin = fs::path(root) / "b" / fs::relative(entry.path(), fs::path(root) / "a");
    EXPECT_EQ(ReadAll(entry.path()), ReadAll(twin)) << twin;
    ++files;
  }
  EXPECT_GT(files, 80u);
}

}  // namespace
}  // namespace quill::test
