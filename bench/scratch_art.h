// A scratch folder a benchmark draws its art and settings into: pictures in the screen's default
// palette (palette.bmp is written at once), a settings file the library reads, and every
// library-wide table those fed put back, and the folder removed, when it goes.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "quillui/app/art_dir.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/platform/screen/screen_surface.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/app.h"
#include "quillui/testing/bars.h"
#include "quillui/testing/buttons.h"
#include "quillui/testing/imaging.h"
#include "quillui/testing/profile.h"
#include "quillui/testing/titlebar.h"

namespace quill::bench {

class ScratchArt {
 public:
  // /tmp/quill_bench_<name>_<pid>, with palette.bmp; the art folder and, until WriteSettings,
  // a settings file that only names the folder as [Directories] Media.
  explicit ScratchArt(const std::string& name)
      : dir(std::filesystem::temp_directory_path() /
            ("quill_bench_" + name + "_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir);
    WriteBmpFile(PaletteDib(16, 16), (dir / "palette.bmp").string(), nullptr);
    SetReporterEcho(false);
    WriteSettings("");
    SetArtDir(dir.string());
  }
  ~ScratchArt() {
    ResetTitleBarSettings();
    ResetTitleBarStatics();
    ResetButtonStatics();
    ResetControlBarStatics();
    ResetBackground();
    ResetBitmapManager();
    ResetPresentation();
    ResetAppRegistry();
    ResetArtDir();
    ResetProfile();
    SetReporterEcho(true);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  ScratchArt(const ScratchArt&) = delete;
  ScratchArt& operator=(const ScratchArt&) = delete;

  // An 8-bit picture of w x h whose colour table is the default palette, all index 0.
  static TDib PaletteDib(int w, int h) {
    const auto colours = platform::ScreenSurface::DefaultPalette();
    TDib dib(w, h, 8, 256);
    for (int i = 0; i < 256; ++i)
      dib.SetColor(i, TColor(colours[size_t(i)].r, colours[size_t(i)].g, colours[size_t(i)].b));
    return dib;
  }
  // The folder's bench.ini becomes [Directories] Media (the folder) and then text.
  void WriteSettings(const std::string& text) {
    std::ofstream(dir / "bench.ini", std::ios::trunc)
        << "[Directories]\nMedia=" << dir.string() << "\n"
        << text;
    ResetProfile();
    SetProfilePath((dir / "bench.ini").string());
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }

  const std::filesystem::path dir;
};

}  // namespace quill::bench
