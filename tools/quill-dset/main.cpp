// quill-dset: builds, lists and unpacks bitmap data sets.
//
//   quill-dset build SET FILE...            each file becomes a member named by its base name
//   quill-dset list SET                     one line a member: name, file position, length
//   quill-dset extract SET NAME|--all [--into DIR]
//
// Errors print as "quill-dset: FILE: message" and exit with status 1; a wrong command line
// exits with status 2. Large sets show a progress line on the standard error.
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "quillui/imaging/data_set.h"

namespace {

using quill::ZDataSet;
using quill::ZDataSetEntry;

// A set this large (in members or bytes) is worth a progress line.
constexpr int kProgressMembers = 256;
constexpr uint64_t kProgressBytes = uint64_t(64) << 20;

int Usage() {
  std::fputs(
      "usage: quill-dset build SET FILE...\n"
      "       quill-dset list SET\n"
      "       quill-dset extract SET NAME|--all [--into DIR]\n",
      stderr);
  return 2;
}

int Fail(const std::string& file, const std::string& message) {
  std::fprintf(stderr, "quill-dset: %s: %s\n", file.c_str(), message.c_str());
  return 1;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One line, rewritten in place, on a terminal; nothing otherwise.
void Progress(const char* what, uint64_t done, uint64_t total) {
  if (!::isatty(STDERR_FILENO) || total == 0) return;
  std::fprintf(stderr, "\r%s %3d%%", what, int(done * 100 / total));
  if (done == total) std::fputc('\n', stderr);
}

int Build(const std::string& setPath, const std::vector<std::string>& files) {
  ZDataSet set = ZDataSet::AtPath(setPath, true);
  std::map<std::string, std::string> taken;  // lower-case member name -> the file it came from
  for (const std::string& file : files) {
    const std::string name = BaseName(file);
    if (!ZDataSet::IsSafeFileName(name)) return Fail(file, "is not a file name a set can hold");
    if (name.size() > ZDataSet::kNameBytes) {
      return Fail(file, "member name \"" + name + "\" is longer than 16 bytes");
    }
    const auto [it, fresh] = taken.emplace(Lower(name), file);
    if (!fresh) {
      return Fail(
          file, "a member named \"" + name + "\" is already in the set (from " + it->second + ")");
    }
    if (!set.add_file_as(file, name)) return Fail(file, "cannot be read as a regular file");
  }
  uint64_t total = 0;
  for (int i = 0; i < set.count(); ++i) total += set.entry(i).length;
  const bool large = set.count() >= kProgressMembers || total >= kProgressBytes;
  std::string error;
  const bool ok = set.write(&error, [&](uint64_t done, uint64_t all) {
    if (large) Progress("writing", done, all);
  });
  if (!ok) return Fail(setPath, error);
  return 0;
}

// The set as read, or an error naming the file.
bool Open(const std::string& setPath, ZDataSet& set) {
  set = ZDataSet::AtPath(setPath);
  if (!set.read_error().empty()) {
    std::fprintf(stderr, "quill-dset: %s\n", set.read_error().c_str());
    return false;
  }
  if (set.skipped() > 0) {
    std::fprintf(stderr, "quill-dset: %s: %d entries pass the end of the file and are left out\n",
                 setPath.c_str(), set.skipped());
  }
  return true;
}

int List(const std::string& setPath) {
  ZDataSet set = ZDataSet::AtPath(setPath, true);
  if (!Open(setPath, set)) return 1;
  uint64_t total = 0;
  for (int i = 0; i < set.count(); ++i) {
    const ZDataSetEntry& e = set.entry(i);
    std::printf("%-16.*s %12llu %10llu\n", int(e.Name().size()), e.Name().data(),
                static_cast<unsigned long long>(set.data_offset() + e.offset),
                static_cast<unsigned long long>(e.length));
    total += e.length;
  }
  std::printf("%d members, %llu bytes\n", set.count(), static_cast<unsigned long long>(total));
  return 0;
}

int Extract(const std::string& setPath, const std::string& name, bool all,
            const std::string& into) {
  ZDataSet set = ZDataSet::AtPath(setPath, true);
  if (!Open(setPath, set)) return 1;
  std::string error;
  if (!all) {
    if (!set.extract(name, into, &error)) return Fail(setPath, error);
    return 0;
  }
  const bool large = set.count() >= kProgressMembers;
  int status = 0;
  for (int i = 0; i < set.count(); ++i) {
    const std::string member(set.entry(i).Name());
    if (!set.extract(member, into, &error)) status = Fail(setPath, error);
    if (large) Progress("extracting", uint64_t(i + 1), uint64_t(set.count()));
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return Usage();
  const std::string& command = args[0];
  const std::string& setPath = args[1];
  if (command == "build") {
    if (args.size() < 3) return Usage();
    return Build(setPath, std::vector<std::string>(args.begin() + 2, args.end()));
  }
  if (command == "list") return args.size() == 2 ? List(setPath) : Usage();
  if (command == "extract") {
    std::string name, into;
    bool all = false;
    for (size_t i = 2; i < args.size(); ++i) {
      if (args[i] == "--all") {
        all = true;
      } else if (args[i] == "--into" && i + 1 < args.size()) {
        into = args[++i];
      } else if (name.empty() && !args[i].starts_with("--")) {
        name = args[i];
      } else {
        return Usage();
      }
    }
    if (all == !name.empty()) return Usage();
    return Extract(setPath, name, all, into);
  }
  return Usage();
}
