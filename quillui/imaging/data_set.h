// A bitmap data set: one ".set" file (magic "DSET") that packs many bitmap files, each found by
// its name of up to 16 characters, read in place, built from loose files and written back.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "quillui/framework/stream/file_io.h"

namespace quill {

// One directory entry as the file stores it: a 16-byte name (NUL-padded; a name of 16
// characters has no terminator), the member's offset from the start of the data area (or,
// from find_entry, from the start of the file) and its length.
struct ZDataSetEntry {
  char name[16] = {};
  uint64_t offset = 0;
  uint64_t length = 0;

  // The stored name: the bytes before the first NUL, at most 16.
  std::string_view Name() const;
};

class ZDataSet {
 public:
  // The layout of a set file: "DSET", the directory offset 8, a reserved word and the entry
  // count, then 24 bytes an entry, then the members back to back.
  static constexpr uint64_t kHeaderBytes = 16;
  static constexpr uint64_t kEntryBytes = 24;
  static constexpr size_t kNameBytes = 16;
  // A directory of more entries than this is refused as damaged (the set stays empty).
  static constexpr uint64_t kMaxEntries = uint64_t(1) << 20;

  // The set of that name: its path is [BMPSets] name (default ".\" + name + ".set") passed
  // through smartPath. The directory is read unless create is set; a missing, short or
  // foreign file leaves the set empty and says nothing.
  explicit ZDataSet(const std::string& name, bool create = false);
  // A set at an explicit path, without the settings file (the set tool uses this).
  static ZDataSet AtPath(const std::string& path, bool create = false);

  const std::string& name() const { return name_; }
  const std::string& path() const { return path_; }
  // The set's file held open for reading members, opened at the first call and kept until
  // the set is written anew (copies of the set share it); -1 when it cannot be opened.
  int descriptor() const;
  // Why the directory could not be read (empty when it was, or was not asked for), and how many
  // entries were left out because their bytes would pass the end of the file.
  const std::string& read_error() const { return readError_; }
  int skipped() const { return skipped_; }

  // Absolute file position of the member (names compared without regard to case over the 16
  // stored characters), or -1 when there is none. Files added since the last write are not in
  // the file yet and are not found.
  int64_t find_offset(const std::string& member) const;
  // The member's entry with its offset made absolute; false when there is none.
  bool find_entry(const std::string& member, ZDataSetEntry& out) const;
  // The index-th entry as stored (offset relative to the data area); index is checked.
  const ZDataSetEntry& entry(int index) const;
  int count() const { return int(entries_.size()); }
  // Position of the first member's bytes in the file: 16 + 24 x the file's entry count (entries
  // left out as damaged still take their room); 16 for a set not yet written.
  uint64_t data_offset() const { return dataOffset_; }

  // Adds the file as a member named after the file (its base name, cut to 16 bytes; "\" and
  // "/" both separate). False when its size cannot be read. The file's path is kept beside
  // the entry: write copies the member's bytes from there.
  bool add_file(const std::string& fileName);
  // As add_file, with the member's name given; false also for an empty name.
  bool add_file_as(const std::string& fileName, const std::string& memberName);

  // Writes the whole set to a temporary file beside the path and renames it over the path.
  // Every member is copied with exactly its entry's length from the path it was added from
  // (members read from disk, from this set's own file); a missing or short file fails the
  // write. On failure the old set file is untouched; the reason is in error when given.
  // progress, when given, hears the bytes of members copied so far and in all, after each
  // member.
  using Progress = std::function<void(uint64_t done, uint64_t total)>;
  bool write(std::string* error = nullptr, const Progress& progress = nullptr);

  // Copies the member to a file of its own name inside dir (the current directory when dir
  // is empty), through a temporary file and a rename. A name that is empty, holds a "/" or
  // "\", is "." or "..", or starts with a drive ("c:") is refused: a name read from the set
  // never leads outside dir.
  bool extract(const std::string& member, const std::string& dir = std::string(),
               std::string* error = nullptr) const;

  // Whether a member name may become a file name inside a folder (see extract).
  static bool IsSafeFileName(std::string_view name);

 private:
  struct Member {
    ZDataSetEntry entry;
    std::string source;  // where write copies the bytes from; empty: this set's own file
  };
  ZDataSet() = default;
  void ReadDirectory();
  int Find(const std::string& member) const;

  std::string name_;
  std::string path_;
  std::vector<Member> entries_;
  uint64_t dataOffset_ = kHeaderBytes;
  std::string readError_;
  int skipped_ = 0;
  // Opened by descriptor(); a member load is then a size check and two reads.
  mutable std::shared_ptr<TFileDescriptor> file_;
};

}  // namespace quill
