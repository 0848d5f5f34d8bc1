#include "quillui/app/art_dir.h"

#include <sys/stat.h>

#include "quillui/profile/paths.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/app.h"

#ifndef QUILL_INSTALLED_ART_DIR
#define QUILL_INSTALLED_ART_DIR "/usr/local/share/quillui/art"
#endif

namespace quill {

namespace {

std::string& HostArtDir() {
  static std::string dir;
  return dir;
}

std::string WithSeparator(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

void SetArtDir(const std::string& dir) { HostArtDir() = dir; }

std::string GetArtDir() {
  if (!HostArtDir().empty()) return WithSeparator(HostArtDir());
  std::string configured = ZProfile(eIniFile).Get("Directories", "Art", "");
  if (!configured.empty()) {
    replaceCDPath(configured);
    return WithSeparator(configured);
  }
  return WithSeparator(QUILL_INSTALLED_ART_DIR);
}

std::string FindArtFile(const std::string& name) {
  const std::string inArt = GetArtDir() + name;
  if (IsFile(inArt)) return inArt;
  const std::string besideExe = ZProfile(eIniFile).GetExeDir() + name;
  if (IsFile(besideExe)) return besideExe;
  return inArt;
}

void ResetArtDir() { HostArtDir().clear(); }

}  // namespace quill
