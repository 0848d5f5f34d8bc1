#include "quillui/profile/paths.h"

#include <unistd.h>

#include <climits>
#include <string>

#include "tests/profile/profile_fixture.h"

namespace quill::test {
namespace {

class PathsTest : public ProfileTest {
 protected:
  void SetUp() override {
    ProfileTest::SetUp();
    WriteIni("[Directories]\nMedia=/media/disc\ned=\\srv\\db\\\n");
    SetInstallDir("/opt/quill");
  }
};

TEST_F(PathsTest, ReplaceCDPathRewritesMarkersAndSeparators) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {".\\buttons\\x.bmp", "./buttons/x.bmp"},
      {"cd:\\art\\x.bmp", "/media/disc/art/x.bmp"},
      {"CD:art/x.bmp", "/media/disc/art/x.bmp"},
      {"cd:", "/media/disc/"},
      {"cd:\\sub\\", "/media/disc/sub/"},
      // ".." after a marker stops at the marker's directory.
      {"cd:\\..\\..\\etc\\passwd", "/media/disc/etc/passwd"},
      {"cd:\\a\\..\\b\\.\\\\c", "/media/disc/b/c"},
      {"ed:\\vex96art.sdf", "/srv/db/vex96art.sdf"},
      {"zz:\\x", "/opt/quill/x"},  // no such setting: the installation directory
      {"C:\\art\\pbnext.bmp", "/opt/quill/art/pbnext.bmp"},
      // Without a marker the path keeps its "..": it is the user's own.
      {"a\\..\\b", "a/../b"},
      {"/abs/path", "/abs/path"},
      {"1:\\x", "1:/x"},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string path = c.in;
    replaceCDPath(path);
    EXPECT_EQ(path, c.out) << "in: " << c.in;
  }

  WriteIni("");
  std::string path = "cd:\\x.bmp";
  replaceCDPath(path);
  EXPECT_EQ(path, "/opt/quill/x.bmp");
}

TEST_F(PathsTest, SmartPathAnchorsAtTheCurrentDirectory) {
  char saved[PATH_MAX];
  ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
  const std::string sub = dir + "/here";
  std::filesystem::create_directory(sub);
  ASSERT_EQ(::chdir(sub.c_str()), 0);
  char cwdBuffer[PATH_MAX];
  ASSERT_NE(::getcwd(cwdBuffer, sizeof cwdBuffer), nullptr);
  const std::string cwd = cwdBuffer;
  const std::string parent = cwd.substr(0, cwd.rfind('/'));

  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"x.set", cwd + "/x.set"},
      {".\\buttons.set", cwd + "/buttons.set"},
      {"..\\up.set", parent + "/up.set"},
      {"/a//b/./c/../d", "/a/b/d"},
      {"/..", "/"},
      {"cd:\\art", "/media/disc/art"},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string path = c.in;
    smartPath(path);
    EXPECT_EQ(path, c.out) << "in: " << c.in;
  }
  ASSERT_EQ(::chdir(saved), 0);

  // GetPath reads and rewrites in one call.
  WriteIni("[Help]\nPath=cd:\\vex.hlp\n[Directories]\nMedia=/m\n");
  EXPECT_EQ(ZProfile().GetPath("Help", "Path", ""), "/m/vex.hlp");
  EXPECT_EQ(ZProfile().GetPath("Help", "Missing", ""), "");
}

}  // namespace
}  // namespace quill::test
