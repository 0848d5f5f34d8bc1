// libFuzzer target for data-set files: any bytes give a set whose every entry lies inside the
// file, whose lookups find what the directory holds, and whose members read as bitmaps (or are
// refused) with exactly their own bytes; extracting never writes outside the chosen folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "quillui/imaging/bitmap_manager.h"
#include "quillui/imaging/data_set.h"

namespace {

using namespace quill;

// A private folder for the input file and the extracted members, removed at exit.
struct ScratchDir {
  std::string path;
  ScratchDir() {
    char pattern[] = "/tmp/fuzz_dset-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) __builtin_trap();
    path = pattern;
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

const std::string& Scratch() {
  static const ScratchDir dir;
  return dir.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = Scratch() + "/in.set";
  const std::string out = Scratch() + "/out";
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) __builtin_trap();
    if (size != 0 && std::fwrite(data, 1, size, f) != size) __builtin_trap();
    std::fclose(f);
  }
  const ZDataSet set = ZDataSet::AtPath(path);
  if (uint64_t(set.count()) > (size < 16 ? 0 : (size - 16) / 24)) __builtin_trap();
  if (set.count() > 0 && set.data_offset() > size) __builtin_trap();

  ZBitmapManager manager;
  std::filesystem::create_directory(out);
  const int reads = set.count() < 8 ? set.count() : 8;
  for (int i = 0; i < set.count(); ++i) {
    const ZDataSetEntry& e = set.entry(i);
    if (set.data_offset() + e.offset + e.length > size) __builtin_trap();
    const std::string name(e.Name());
    const int64_t at = set.find_offset(name);
    // An earlier entry of the same name may answer first, but a name present is never absent.
    if (!name.empty() && (at < 0 || uint64_t(at) > size)) __builtin_trap();
    if (i < reads) {
      (void)manager.load_bitmap_from_set(name.c_str(), set);
      const bool extracted = set.extract(name, out);
      if (extracted && !ZDataSet::IsSafeFileName(name)) __builtin_trap();
    }
  }
  // Nothing but plain files directly inside the folder.
  for (const auto& e : std::filesystem::directory_iterator(out)) {
    if (!e.is_regular_file() || e.path().parent_path() != out) __builtin_trap();
  }
  std::filesystem::remove_all(out);
  return 0;
}
