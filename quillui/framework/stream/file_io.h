// Whole reads and writes on POSIX file descriptors, and a descriptor closed at end of scope.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quill {

// A file descriptor closed when it goes out of scope.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd = -1) : fd_(fd) {}
  ~TFileDescriptor();
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int get() const { return fd_; }
  // Hands the descriptor over; this object no longer closes it.
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Reads exactly n bytes at offset; false when the file has fewer or cannot be read.
bool ReadAt(int fd, uint64_t offset, uint8_t* out, size_t n);

// Writes all size bytes at the current position; false on any error.
bool WriteAll(int fd, const uint8_t* data, size_t size);

}  // namespace quill
