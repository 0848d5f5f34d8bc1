// The set tool from the outside: built, listed and unpacked again, and its refusals.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/imaging/set_bytes.h"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

class QuillDsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quill-dset-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs the tool with the arguments (no quoting needed: the paths have no spaces) and answers
  // its exit status; output gets what it printed on either stream.
  int Run(const std::string& args) {
    output.clear();
    FILE* p = ::popen((std::string(QUILL_DSET_BIN) + " " + args + " 2>&1").c_str(), "r");
    if (p == nullptr) return -1;
    char buffer[512];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, p)) output.append(buffer, n);
    const int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::vector<uint8_t> Make(const std::string& name, size_t n, int seed) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * 7 + size_t(seed));
    fs::create_directories(fs::path(dir + "/" + name).parent_path());
    WriteBytes(dir + "/" + name, bytes);
    return bytes;
  }

  std::string dir;
  std::string output;
};

TEST_F(QuillDsetTest, BuildListExtractRoundTrip) {
  const auto a = Make("a.bmp", 100, 1);
  const auto b = Make("sub/pbNext.bmp", 50, 2);
  ASSERT_EQ(Run("build " + dir + "/s.set " + dir + "/a.bmp " + dir + "/sub/pbNext.bmp"), 0)
      << output;
  ASSERT_EQ(Run("list " + dir + "/s.set"), 0) << output;
  EXPECT_EQ(output,
            "a.bmp                      64        100\n"
            "pbNext.bmp                164         50\n"
            "2 members, 150 bytes\n");

  ASSERT_EQ(Run("extract " + dir + "/s.set --all --into " + dir + "/out"), 1) << output;
  EXPECT_NE(output.find("out"), std::string::npos) << output;  // the folder must exist
  fs::create_directory(dir + "/out");
  ASSERT_EQ(Run("extract " + dir + "/s.set --all --into " + dir + "/out"), 0) << output;
  EXPECT_EQ(ReadBytes(dir + "/out/a.bmp"), a);
  EXPECT_EQ(ReadBytes(dir + "/out/pbNext.bmp"), b);
  fs::create_directory(dir + "/one");
  ASSERT_EQ(Run("extract " + dir + "/s.set PBNEXT.BMP --into " + dir + "/one"), 0) << output;
  EXPECT_EQ(ReadBytes(dir + "/one/pbNext.bmp"), b);
}

TEST_F(QuillDsetTest, RefusalsNameTheFile) {
  Make("x/a.bmp", 10, 1);
  Make("y/A.BMP", 10, 2);
  Make("averyveryverylongname.bmp", 10, 3);
  Make("notaset.set", 40, 4);
  struct Case {
    std::string args;
    std::string says;
  };
  const Case cases[] = {
      {"build " + dir + "/s.set " + dir + "/x/a.bmp " + dir + "/y/A.BMP",
       dir + "/y/A.BMP: a member named \"A.BMP\" is already in the set (from " + dir + "/x/a.bmp)"},
      {"build " + dir + "/s.set " + dir + "/averyveryverylongname.bmp",
       dir + "/averyveryverylongname.bmp: member name \"averyveryverylongname.bmp\" is longer"},
      {"build " + dir + "/s.set " + dir + "/none.bmp", dir + "/none.bmp: cannot be read"},
      {"list " + dir + "/notaset.set", dir + "/notaset.set: not a data set"},
      {"list " + dir + "/absent.set", dir + "/absent.set: cannot open"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Run(c.args), 1);
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
  }
  EXPECT_FALSE(fs::exists(dir + "/s.set"));  // nothing half-built is left
  EXPECT_EQ(Run("frobnicate " + dir + "/s.set"), 2);
}

TEST_F(QuillDsetTest, ExtractRefusesNamesThatLeaveTheFolder) {
  WriteBytes(dir + "/bad.set",
             SetBytes(3, {{"../x", 0, 2}, {"/etc/x", 2, 2}, {"ok", 4, 2}}, {1, 2, 3, 4, 5, 6}));
  fs::create_directory(dir + "/out");
  for (const char* name : {"../x", "/etc/x"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Run("extract " + dir + "/bad.set " + name + " --into " + dir + "/out"), 1);
    EXPECT_NE(output.find("is not a plain file name"), std::string::npos) << output;
  }
  EXPECT_EQ(Run("extract " + dir + "/bad.set --all --into " + dir + "/out"), 1);
  EXPECT_FALSE(fs::exists(dir + "/x"));
  EXPECT_EQ(ReadBytes(dir + "/out/ok"), (std::vector<uint8_t>{5, 6}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/out"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace quill::test
