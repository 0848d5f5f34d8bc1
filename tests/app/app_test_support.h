// Shared pieces of the app tests: a scratch directory, a settings file the test writes, and
// every library-wide table of the app services reset around each test.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "quillui/app/app_registry.h"
#include "quillui/app/ini_changed.h"
#include "quillui/app/notify_lists.h"
#include "quillui/app/presentation.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/app.h"
#include "quillui/testing/profile.h"
#include "support/headless_fixture.h"

namespace quill::test {

class AppTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    static int counter = 0;
    dir = std::filesystem::temp_directory_path() /
          ("quill_app_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    SetReporterEcho(false);
    previousHook = SetReporterHook([this](const ZReport& r) { reports.push_back(r); });
    WriteSettings("");
    ResetPresentation();
    ResetAppRegistry();
    ResetNotifyLists();
    ResetIniChangedHooks();
  }
  void TearDown() override {
    ResetPresentation();
    ResetAppRegistry();
    ResetNotifyLists();
    ResetIniChangedHooks();
    ResetProfile();
    SetReporterHook(previousHook);
    SetReporterEcho(true);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    HeadlessTest::TearDown();
  }

  // Replaces the settings file; what was read of the old one is dropped.
  void WriteSettings(const std::string& text) {
    std::ofstream(dir / "quillonary.ini", std::ios::binary | std::ios::trunc) << text;
    ResetProfile();
    SetProfilePath((dir / "quillonary.ini").string());
  }

  std::filesystem::path dir;
  std::vector<ZReport> reports;
  ZReporterHook previousHook;
};

}  // namespace quill::test
