// The physical floor that file-reading benchmarks compare against: a whole file read into
// freshly allocated memory with plain reads.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quill::bench {

// The file's bytes; shorter (or empty) when it cannot be read whole.
inline std::vector<uint8_t> ReadFileRaw(const std::string& path) {
  std::vector<uint8_t> data;
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return data;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  ::lseek(fd, 0, SEEK_SET);
  if (size > 0) {
    data.resize(static_cast<size_t>(size));
    size_t got = 0;
    while (got < data.size()) {
      const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
      if (n <= 0) break;
      got += size_t(n);
    }
    data.resize(got);
  }
  ::close(fd);
  return data;
}

}  // namespace quill::bench
