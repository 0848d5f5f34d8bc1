// Shared pieces of the imaging pixel tests: a scratch folder with a settings file, the reports
// caught, every imaging and presentation static reset around each test, a screen of any size,
// and 8-bit pictures whose pixels say where they come from.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "quillui/app/presentation.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/app.h"
#include "quillui/testing/imaging.h"
#include "quillui/testing/profile.h"
#include "support/headless_fixture.h"

namespace quill::test {

class PixelsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    static int counter = 0;
    dir = std::filesystem::temp_directory_path() /
          ("quill_pixels_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    SetReporterEcho(false);
    previousHook = SetReporterHook([this](const ZReport& r) { reports.push_back(r); });
    WriteSettings("");
    ResetAll();
  }
  void TearDown() override {
    ResetAll();
    ResetProfile();
    SetReporterHook(previousHook);
    SetReporterEcho(true);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    HeadlessTest::TearDown();
  }

  static void ResetAll() {
    ResetPresentation();
    ResetAppRegistry();
    ResetBackground();
    ResetFrameSettings();
    ResetArtDir();
    ResetBitmapManager();
  }

  // Replaces the settings file; what was read of the old one is dropped.
  void WriteSettings(const std::string& text) {
    std::ofstream(dir / "quillonary.ini", std::ios::binary | std::ios::trunc) << text;
    ResetProfile();
    SetProfilePath((dir / "quillonary.ini").string());
    ResetPresentation();
    ResetFrameSettings();
  }

  // A fresh headless screen of that size (the windows of the old one are gone).
  void UseScreen(int width, int height) {
    auto c = std::make_unique<platform::ManualClock>();
    auto b = std::make_unique<platform::HeadlessBackend>();
    clock = c.get();
    backend = b.get();
    TWindowSystemOptions options;
    options.width = width;
    options.height = height;
    options.backend = std::move(b);
    options.clock = std::move(c);
    TWindowSystem::Install(std::move(options));
  }

  // An 8-bit, 256-colour picture whose pixel (x, y) is (x * 7 + y * 13 + seed) % 256 and whose
  // colours are distinct greys and tints.
  static std::unique_ptr<TDib> Pattern(int width, int height, int seed = 0) {
    auto dib = std::make_unique<TDib>(width, height, 8, 256);
    for (int i = 0; i < 256; ++i)
      dib->SetColor(i, TColor(uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) dib->SetPixelIndex(x, y, (x * 7 + y * 13 + seed) % 256);
    return dib;
  }
  static int PatternIndex(int x, int y, int seed = 0) { return (x * 7 + y * 13 + seed) % 256; }

  std::string WriteBmp(const TDib& dib, const std::string& name) {
    const std::string path = (dir / name).string();
    std::string error;
    EXPECT_TRUE(WriteBmpFile(dib, path, &error)) << error;
    return path;
  }

  bool Reported(const std::string& message, const std::string& caption) const {
    for (const ZReport& r : reports)
      if (r.message == message && r.caption == caption) return true;
    return false;
  }

  std::filesystem::path dir;
  std::vector<ZReport> reports;
  ZReporterHook previousHook;
};

}  // namespace quill::test
