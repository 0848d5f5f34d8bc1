// Test fixture for the settings service: a private directory with a settings file in it,
// the process-wide profile pointed at that file, and the reports collected instead of echoed.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/profile.h"

namespace quill::test {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quill-profile-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
    iniPath = dir + "/test.ini";
    ResetProfile();
    SetProfilePath(iniPath);
    SetReporterEcho(false);
    SetReporterHook([this](const ZReport& r) { reports.push_back(r.message); });
  }
  void TearDown() override {
    SetReporterHook({});
    SetReporterEcho(true);
    ResetProfile();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
  }
  void WriteIni(const std::string& text) { WriteFile(iniPath, text); }
  std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string ReadIni() { return ReadFile(iniPath); }

  std::string dir;
  std::string iniPath;
  std::vector<std::string> reports;
};

}  // namespace quill::test
