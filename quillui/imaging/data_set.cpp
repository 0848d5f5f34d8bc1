#include "quillui/imaging/data_set.h"
#include "quillui/framework/stream/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "quillui/profile/paths.h"
#include "quillui/profile/profile.h"

namespace quill {

namespace {

constexpr size_t kCopyChunk = 64 * 1024;
const ZDataSetEntry kNoEntry{};

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void Put32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// A file being written under a temporary name beside its final path; Commit renames it over the
// final path, and anything short of a commit removes it, so the file that was there before is
// never touched by a failure.
class ReplacingFile {
 public:
  explicit ReplacingFile(std::string path) : path_(std::move(path)) {
    std::string pattern = path_ + ".tmpXXXXXX";
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
      error_ = SystemError("cannot create a temporary file for", path_);
      return;
    }
    tmp_ = pattern;
    struct stat existing {};
    const mode_t mode = ::stat(path_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
    if (::fchmod(fd_, mode) != 0) Fail(SystemError("cannot write", tmp_));
  }
  ~ReplacingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!tmp_.empty()) ::unlink(tmp_.c_str());
  }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  void Fail(std::string why) {
    if (error_.empty()) error_ = std::move(why);
  }

  void Write(const uint8_t* data, size_t n) {
    if (ok() && !WriteAll(fd_, data, n)) Fail(SystemError("cannot write", tmp_));
  }
  // Appends exactly length bytes of the file at source from offset; a missing or short file
  // fails.
  void Copy(const std::string& source, uint64_t offset, uint64_t length) {
    if (!ok()) return;
    TFileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return Fail(SystemError("cannot open", source));
    auto buffer = std::make_unique_for_overwrite<uint8_t[]>(kCopyChunk);
    while (length > 0 && ok()) {
      const size_t n = length < kCopyChunk ? size_t(length) : kCopyChunk;
      if (!ReadAt(in.get(), offset, buffer.get(), n)) {
        return Fail(source + " is shorter than the " + std::to_string(length) +
                    " bytes still to copy from it");
      }
      Write(buffer.get(), n);
      offset += n;
      length -= n;
    }
  }
  bool Commit() {
    if (ok() && ::fsync(fd_) != 0) Fail(SystemError("cannot write", tmp_));
    if (::close(fd_) != 0) Fail(SystemError("cannot write", tmp_));
    fd_ = -1;
    if (ok() && ::rename(tmp_.c_str(), path_.c_str()) != 0) {
      Fail(SystemError("cannot replace", path_));
    }
    if (ok()) tmp_.clear();
    return ok();
  }

 private:
  std::string path_;
  std::string tmp_;
  int fd_ = -1;
  std::string error_;
};

bool Refuse(std::string* error, std::string why) {
  if (error != nullptr) *error = std::move(why);
  return false;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string_view ZDataSetEntry::Name() const {
  size_t n = 0;
  while (n < sizeof name && name[n] != '\0') ++n;
  return std::string_view(name, n);
}

ZDataSet::ZDataSet(const std::string& name, bool create) : name_(name) {
  const std::string fallback = ".\\" + name + ".set";
  path_ = ZProfile().Get("BMPSets", name.c_str(), fallback.c_str());
  smartPath(path_);
  if (!create) ReadDirectory();
}

ZDataSet ZDataSet::AtPath(const std::string& path, bool create) {
  ZDataSet set;
  set.path_ = path;
  set.name_ = path;
  if (!create) set.ReadDirectory();
  return set;
}

int ZDataSet::descriptor() const {
  if (!file_ || file_->get() < 0) {
    auto file = std::make_shared<TFileDescriptor>(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (file->get() < 0) return -1;
    file_ = std::move(file);
  }
  return file_->get();
}

void ZDataSet::ReadDirectory() {
  file_.reset();
  entries_.clear();
  dataOffset_ = kHeaderBytes;
  skipped_ = 0;
  readError_.clear();
  auto fail = [&](std::string why) { readError_ = path_ + ": " + std::move(why); };
  TFileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return fail(std::string("cannot open: ") + std::strerror(errno));
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return fail("not a regular file");
  const uint64_t fileSize = uint64_t(st.st_size);
  uint8_t header[kHeaderBytes];
  if (fileSize < kHeaderBytes || !ReadAt(fd.get(), 0, header, sizeof header)) {
    return fail("shorter than the 16-byte header of a data set");
  }
  if (std::memcmp(header, "DSET", 4) != 0) return fail("not a data set (no \"DSET\")");

  // The count is believed only as far as the file has room for its entries: a count beyond
  // that is a damaged file, which leaves the set empty.
  const uint64_t count = Le32(header + 12);
  if (count > (fileSize - kHeaderBytes) / kEntryBytes) {
    return fail("claims " + std::to_string(count) + " entries; the file has room for " +
                std::to_string((fileSize - kHeaderBytes) / kEntryBytes));
  }
  if (count > kMaxEntries) {
    return fail("claims " + std::to_string(count) + " entries; at most " +
                std::to_string(kMaxEntries) + " are read");
  }
  if (count == 0) return;
  const uint64_t dataOffset = kHeaderBytes + kEntryBytes * count;
  const uint64_t dataBytes = fileSize - dataOffset;
  dataOffset_ = dataOffset;

  // The directory in slices, so that what is held grows with the entries really read.
  constexpr uint64_t kSlice = 512;
  uint8_t raw[kSlice * kEntryBytes];
  for (uint64_t first = 0; first < count; first += kSlice) {
    const uint64_t n = std::min(kSlice, count - first);
    if (!ReadAt(fd.get(), kHeaderBytes + first * kEntryBytes, raw, size_t(n * kEntryBytes))) {
      entries_.clear();
      dataOffset_ = kHeaderBytes;
      return fail("cannot read the directory");
    }
    for (uint64_t i = 0; i < n; ++i) {
      const uint8_t* p = raw + i * kEntryBytes;
      Member m;
      std::memcpy(m.entry.name, p, kNameBytes);
      m.entry.offset = Le32(p + 16);
      m.entry.length = Le32(p + 20);
      // A member whose bytes would pass the end of the file cannot be read: it is left out.
      if (m.entry.offset > dataBytes || m.entry.length > dataBytes - m.entry.offset) {
        ++skipped_;
        continue;
      }
      entries_.push_back(std::move(m));
    }
  }
}

int ZDataSet::Find(const std::string& member) const {
  if (member.empty()) return -1;
  const std::string_view wanted = std::string_view(member).substr(0, kNameBytes);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].source.empty() && EqualNoCase(entries_[i].entry.Name(), wanted)) return int(i);
  }
  return -1;
}

int64_t ZDataSet::find_offset(const std::string& member) const {
  const int i = Find(member);
  if (i < 0) return -1;
  return int64_t(data_offset() + entries_[size_t(i)].entry.offset);
}

bool ZDataSet::find_entry(const std::string& member, ZDataSetEntry& out) const {
  const int i = Find(member);
  if (i < 0) return false;
  out = entries_[size_t(i)].entry;
  out.offset += data_offset();
  return true;
}

const ZDataSetEntry& ZDataSet::entry(int index) const {
  if (index < 0 || size_t(index) >= entries_.size()) return kNoEntry;
  return entries_[size_t(index)].entry;
}

bool ZDataSet::add_file(const std::string& fileName) {
  return add_file_as(fileName, BaseName(fileName));
}

bool ZDataSet::add_file_as(const std::string& fileName, const std::string& memberName) {
  if (memberName.empty()) return false;
  struct stat st {};
  if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  Member m;
  std::memcpy(m.entry.name, memberName.data(), std::min(memberName.size(), kNameBytes));
  m.entry.length = uint64_t(st.st_size);
  m.source = fileName;
  entries_.push_back(std::move(m));
  return true;
}

bool ZDataSet::write(std::string* error, const Progress& progress) {
  if (path_.empty()) return Refuse(error, "the set has no file name");
  // Offsets and lengths are 32-bit fields: the whole data area must fit in them.
  uint64_t total = 0;
  for (const Member& m : entries_) {
    if (m.entry.length > UINT32_MAX || total + m.entry.length > UINT32_MAX) {
      return Refuse(error, "the members of " + path_ + " do not fit in a set file (4 GiB)");
    }
    total += m.entry.length;
  }
  if (entries_.size() > kMaxEntries) {
    return Refuse(error, "too many members for " + path_);
  }

  std::vector<uint8_t> head(size_t(kHeaderBytes + kEntryBytes * entries_.size()), 0);
  std::memcpy(head.data(), "DSET", 4);
  Put32(head.data() + 4, 8);
  Put32(head.data() + 8, 0xFFFFFFFFu);
  Put32(head.data() + 12, uint32_t(entries_.size()));
  std::vector<uint64_t> offsets(entries_.size());
  uint64_t offset = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    uint8_t* p = head.data() + kHeaderBytes + i * kEntryBytes;
    std::memcpy(p, entries_[i].entry.name, kNameBytes);
    offsets[i] = offset;
    Put32(p + 16, uint32_t(offset));
    Put32(p + 20, uint32_t(entries_[i].entry.length));
    offset += entries_[i].entry.length;
  }

  ReplacingFile out(path_);
  out.Write(head.data(), head.size());
  const uint64_t oldData = data_offset();
  uint64_t done = 0;
  for (const Member& m : entries_) {
    if (m.source.empty()) {
      out.Copy(path_, oldData + m.entry.offset, m.entry.length);
    } else {
      out.Copy(m.source, 0, m.entry.length);
    }
    if (!out.ok()) break;
    done += m.entry.length;
    if (progress) progress(done, total);
  }
  if (!out.Commit()) return Refuse(error, out.error());

  // The members now live in the new file.
  file_.reset();
  dataOffset_ = head.size();
  for (size_t i = 0; i < entries_.size(); ++i) {
    entries_[i].entry.offset = offsets[i];
    entries_[i].source.clear();
  }
  return true;
}

bool ZDataSet::IsSafeFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find_first_of("/\\") != std::string_view::npos) return false;
  if (name.find('\0') != std::string_view::npos) return false;
  const bool drive = name.size() >= 2 && name[1] == ':' &&
                     ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
  return !drive;
}

bool ZDataSet::extract(const std::string& member, const std::string& dir,
                       std::string* error) const {
  ZDataSetEntry e;
  if (!find_entry(member, e)) return Refuse(error, path_ + " has no member " + member);
  const std::string_view name = e.Name();
  if (!IsSafeFileName(name)) {
    return Refuse(error, "member name \"" + std::string(name) + "\" of " + path_ +
                             " is not a plain file name");
  }
  std::string target = dir.empty() ? std::string(".") : dir;
  if (target.back() != '/') target += '/';
  target.append(name);
  ReplacingFile out(target);
  out.Copy(path_, e.offset, e.length);
  if (!out.Commit()) return Refuse(error, out.error());
  return true;
}

}  // namespace quill
