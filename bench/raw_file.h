// The physical floor that file-reading benchmarks compare against: a whole file read with plain
// reads into fresh memory that is not cleared first.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quill::bench {

struct RawFile {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

// The file's bytes; shorter (or empty) when it cannot be read whole.
inline RawFile ReadFileRaw(const std::string& path) {
  RawFile file;
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return file;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  ::lseek(fd, 0, SEEK_SET);
  if (size > 0) {
    file.data = std::make_unique_for_overwrite<uint8_t[]>(size_t(size));
    while (file.size < size_t(size)) {
      const ssize_t n = ::read(fd, file.data.get() + file.size, size_t(size) - file.size);
      if (n <= 0) break;
      file.size += size_t(n);
    }
  }
  ::close(fd);
  return file;
}

}  // namespace quill::bench
