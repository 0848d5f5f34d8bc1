// Shared pieces of the button and bar tests: a scratch folder holding the settings file, the
// media folder's "buttons" strips and an art folder with the palette; reports caught; every
// static the buttons and bars keep put back around each test; a sink window with a bar on it.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/gadget_test_support.h"
#include "quillui/app/art_dir.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/profile/attributes.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/app.h"
#include "quillui/testing/bars.h"
#include "quillui/testing/buttons.h"
#include "quillui/testing/imaging.h"
#include "quillui/testing/profile.h"
#include "quillui/testing/sound.h"

namespace quill::test {

class ButtonsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    static int counter = 0;
    dir = std::filesystem::temp_directory_path() /
          ("quill_buttons_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(dir / "buttons");
    std::filesystem::create_directories(dir / "art");
    std::filesystem::copy_file(std::filesystem::path(QUILL_ART_DIR) / "palette.bmp",
                               dir / "art" / "palette.bmp");
    SetReporterEcho(false);
    previousHook = SetReporterHook([this](const ZReport& r) { reports.push_back(r); });
    WriteSettings("");
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
    ResetButtonStatics();
    ResetControlBarStatics();
    ResetAppInfo();
    ResetPresentation();
    ResetAppRegistry();
    ResetIniChangedHooks();
    ResetNotifyLists();
    ResetBackground();
    ResetArtDir();
    ResetBitmapManager();
    ResetPlaySound();
    atom_table::reset();
  }

  // Replaces the settings file ([Directories] "Media" is the scratch folder unless the text
  // names its own [Directories]) and forgets every value read from the old one.
  void WriteSettings(const std::string& text) {
    std::string all = text;
    if (all.find("[Directories]") == std::string::npos)
      all += "\n[Directories]\nMedia=" + dir.string() + "\n";
    std::ofstream(dir / "quillonary.ini", std::ios::binary | std::ios::trunc) << all;
    ResetAll();
    SetProfilePath((dir / "quillonary.ini").string());
    SetArtDir((dir / "art").string());
  }

  // A strip of cels cels of w x h in the media folder's "buttons": cel i is filled with colour
  // index CelIndex(i).
  static int CelIndex(int cel) { return 40 + cel * 10; }
  std::string WriteStrip(const std::string& name, int cels, int w = 24, int h = 20) {
    TDib dib(w * cels, h, 8, 256);
    for (int i = 0; i < 256; ++i) dib.SetColor(i, TColor(uint8_t(i), uint8_t(255 - i), 90));
    for (int c = 0; c < cels; ++c)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) dib.SetPixelIndex(c * w + x, y, CelIndex(c));
    const std::string path = (dir / "buttons" / name).string();
    std::string error;
    EXPECT_TRUE(WriteBmpFile(dib, path, &error)) << error;
    return path;
  }

  bool Reported(const std::string& message, const std::string& caption) const {
    for (const ZReport& r : reports)
      if (r.message == message && r.caption == caption) return true;
    return false;
  }

  // The screen point of a gadget's (dx, dy) on its window.
  static TPoint OnScreen(const TGadget& g, int dx = 5, int dy = 5) {
    TPoint p = g.GetBounds().TopLeft() + TPoint(dx, dy);
    g.GetGadgetWindow()->ClientToScreen(p);
    return p;
  }
  void ClickOn(const TGadget& g) {
    const TPoint p = OnScreen(g);
    Click(p.x, p.y);
  }

  std::filesystem::path dir;
  std::vector<ZReport> reports;
  ZReporterHook previousHook;
  Sink sink;
};

}  // namespace quill::test
