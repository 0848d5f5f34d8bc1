#include "quillui/imaging/file_lookup.h"

#include <dirent.h>
#include <sys/stat.h>

namespace quill {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace

std::string WithSlashes(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string FindFileNoCase(std::string_view written) {
  std::string path = WithSlashes(written);
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) == 0) return path;

  const size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string_view leaf = slash == std::string::npos
                                    ? std::string_view(path)
                                    : std::string_view(path).substr(slash + 1);
  if (leaf.empty()) return path;

  DIR* d = ::opendir(folder.c_str());
  if (d == nullptr) return path;
  std::string found;
  while (const dirent* e = ::readdir(d)) {
    // Several spellings of one name: the lowest in byte order, so the answer never depends on
    // the order the folder lists them in.
    if (EqualNoCase(e->d_name, leaf) && (found.empty() || found > e->d_name)) found = e->d_name;
  }
  ::closedir(d);
  if (found.empty()) return path;
  return slash == std::string::npos ? found : path.substr(0, slash + 1) + found;
}

bool StaysInsideFolder(std::string_view name) {
  const std::string path = WithSlashes(name);
  if (path.empty() || path.front() == '/') return false;
  if (path.size() >= 2 && path[1] == ':') return false;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string::npos) next = path.size();
    if (std::string_view(path).substr(pos, next - pos) == "..") return false;
    pos = next + 1;
  }
  return true;
}

}  // namespace quill
