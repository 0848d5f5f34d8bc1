#include "quillui/profile/paths.h"

#include <unistd.h>

#include <climits>
#include <string_view>
#include <vector>

#include "quillui/profile/ini_file.h"
#include "quillui/profile/profile.h"

namespace quill {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

void Slashes(std::string& path) {
  for (char& c : path)
    if (c == '\\') c = '/';
}

// Joins the segments of rest after base, dropping empty and "." segments; ".." removes the
// previous segment of rest and is dropped when there is none, so base is never left.
std::string JoinBelow(std::string base, std::string_view rest) {
  std::vector<std::string_view> parts;
  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t slash = rest.find('/', pos);
    if (slash == std::string_view::npos) slash = rest.size();
    const std::string_view part = rest.substr(pos, slash - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = slash + 1;
  }
  if (!base.empty() && base.back() != '/') base += '/';
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) base += '/';
    base.append(parts[i]);
  }
  if (!parts.empty() && !rest.empty() && rest.back() == '/') base += '/';
  return base;
}

std::string CurrentDir() {
  char buffer[PATH_MAX + 1];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return std::string();
  return buffer;
}

}  // namespace

void replaceCDPath(std::string& path) {
  Slashes(path);
  size_t n = 0;
  while (n < path.size() && IsLetter(path[n])) ++n;
  if (n == 0 || n >= path.size() || path[n] != ':') return;

  const std::string marker = path.substr(0, n);
  ZProf& profile = ZProfile();
  std::string base =
      profile.Get("Directories", EqualsNoCase(marker, "cd") ? "Media" : marker.c_str(), "");
  if (base.empty()) base = profile.GetInstallDir();
  Slashes(base);
  path = JoinBelow(std::move(base), std::string_view(path).substr(n + 1));
}

void smartPath(std::string& path) {
  if (path.empty()) return;
  replaceCDPath(path);
  std::string base = "/";
  std::string_view rest = path;
  if (path.front() != '/') {
    const std::string cwd = CurrentDir();
    if (cwd.empty()) return;  // nothing to anchor to: leave it relative
    base = "/";
    path = cwd + "/" + path;
    rest = path;
  }
  path = JoinBelow(base, rest);
}

}  // namespace quill
