#include "host/app/host_setup.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace quillonary {

namespace fs = std::filesystem;

namespace {

std::string ExeDir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

bool HasContent(const fs::path& dir) {
  std::error_code ec;
  return fs::is_regular_file(dir / "articles.set", ec);
}

}  // namespace

std::string FindContentDir(const std::string& given) {
  if (!given.empty()) return given;
#ifdef QUILLONARY_BUILD_CONTENT_DIR
  if (HasContent(QUILLONARY_BUILD_CONTENT_DIR)) return QUILLONARY_BUILD_CONTENT_DIR;
#endif
  return (fs::path(ExeDir()) / ".." / "share" / "quillonary" / "content").lexically_normal();
}

std::string FindBuildArtDir() {
#ifdef QUILLONARY_BUILD_ART_DIR
  std::error_code ec;
  if (fs::is_regular_file(fs::path(QUILLONARY_BUILD_ART_DIR) / "palette.bmp", ec))
    return QUILLONARY_BUILD_ART_DIR;
#endif
  return {};
}

std::string FindHomeDir(const std::string& given) {
  if (!given.empty()) return given;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    return (fs::path(xdg) / "quillonary").string();
  if (const char* home = std::getenv("HOME"); home && *home)
    return (fs::path(home) / ".config" / "quillonary").string();
  return "quillonary-home";
}

bool PrepareHome(HostPaths& paths, std::string* error) {
  std::error_code ec;
  fs::create_directories(paths.home, ec);
  if (!fs::is_directory(paths.home, ec)) {
    if (error) *error = "cannot make the folder " + paths.home;
    return false;
  }
  paths.settings = (fs::path(paths.home) / "quillonary.ini").string();
  if (fs::exists(paths.settings, ec)) return true;
  // Written beside and renamed, so a half-written file never stands as the settings.
  const std::string temp = paths.settings + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << SampleSettings();
    if (!out.flush()) {
      if (error) *error = "cannot write " + temp;
      return false;
    }
  }
  fs::rename(temp, paths.settings, ec);
  if (ec) {
    if (error) *error = "cannot write " + paths.settings + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace quillonary
