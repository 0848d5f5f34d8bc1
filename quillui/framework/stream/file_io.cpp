#include "quillui/framework/stream/file_io.h"

#include <cerrno>

#include <unistd.h>

namespace quill {

TFileDescriptor::~TFileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReadAt(int fd, uint64_t offset, uint8_t* out, size_t n) {
  size_t done = 0;
  while (done < n) {
    const ssize_t r = ::pread(fd, out + done, n - done, off_t(offset + done));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    done += size_t(r);
  }
  return true;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= size_t(n);
  }
  return true;
}

}  // namespace quill
