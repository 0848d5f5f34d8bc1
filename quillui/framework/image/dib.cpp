#include "quillui/framework/image/dib.h"
#include "quillui/framework/stream/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quill {

namespace {

bool IsSupportedDepth(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

}  // namespace

uint64_t TDib::VersionNumber::Next() {
  static std::atomic<uint64_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

const char* TDib::CheckDimensions(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return "width and height must be positive";
  if (width > kDibMaxSide || height > kDibMaxSide) return "width or height exceeds 16384 pixels";
  // Both factors are at most kDibMaxSide here, so the product cannot overflow.
  if (width * height > kDibMaxPixels) return "image has more than 64 Mi pixels";
  return nullptr;
}

size_t TDib::StrideFor(int width, int bitCount) {
  if (width <= 0 || width > kDibMaxSide || !IsSupportedDepth(bitCount)) return 0;
  uint64_t bitsPerRow = 0;
  if (__builtin_mul_overflow(uint64_t(width), uint64_t(bitCount), &bitsPerRow)) return 0;
  return size_t((bitsPerRow + 31) / 32 * 4);
}

TDib::TDib(int width, int height, int bitCount, int numColors)
    : TDib(width, height, bitCount, numColors, true) {}

TDib::TDib(int width, int height, int bitCount, int numColors, ForOverwrite)
    : TDib(width, height, bitCount, numColors, false) {}

TDib::TDib(int width, int height, int bitCount, int numColors, bool clear) {
  if (CheckDimensions(width, height) != nullptr || !IsSupportedDepth(bitCount)) return;
  const int maxColors = bitCount <= 8 ? 1 << bitCount : 0;
  if (numColors < 0 || numColors > maxColors) return;
  if (bitCount <= 8 && numColors == 0) numColors = maxColors;

  const size_t stride = StrideFor(width, bitCount);
  uint64_t total = 0;
  if (stride == 0 || __builtin_mul_overflow(uint64_t(stride), uint64_t(height), &total) ||
      total > UINT32_MAX) {
    return;
  }
  colors_.assign(size_t(numColors), TRgbQuad{});
  if (clear) {
    bits_.assign(size_t(total), 0);
  } else {
    bits_.resize(size_t(total));
  }
  stride_ = stride;
  header_.biWidth = width;
  header_.biHeight = height;
  header_.biBitCount = uint16_t(bitCount);
  header_.biSizeImage = uint32_t(total);
  header_.biClrUsed = uint32_t(numColors);
}

void TDib::SetPelsPerMeter(int32_t x, int32_t y) {
  Touch();
  header_.biXPelsPerMeter = x;
  header_.biYPelsPerMeter = y;
}

TRgbQuad TDib::GetColor(int index) const {
  if (index < 0 || index >= NumColors()) return TRgbQuad{};
  return colors_[size_t(index)];
}

bool TDib::SetColor(int index, const TRgbQuad& quad) {
  if (index < 0 || index >= NumColors()) return false;
  Touch();
  colors_[size_t(index)] = quad;
  return true;
}

bool TDib::SetColor(int index, TColor color) {
  return SetColor(index, TRgbQuad{color.Blue(), color.Green(), color.Red(), 0});
}

uint8_t* TDib::ScanLine(int y) {
  if (!IsOK() || y < 0 || y >= Height()) return nullptr;
  Touch();
  return bits_.data() + size_t(Height() - 1 - y) * stride_;
}

const uint8_t* TDib::ScanLine(int y) const {
  if (!IsOK() || y < 0 || y >= Height()) return nullptr;
  return bits_.data() + size_t(Height() - 1 - y) * stride_;
}

int TDib::GetPixelIndex(int x, int y) const {
  const uint8_t* row = ScanLine(y);
  if (row == nullptr || x < 0 || x >= Width()) return -1;
  switch (BitsPerPixel()) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8: return row[x];
    default: return -1;
  }
}

bool TDib::SetPixelIndex(int x, int y, int index) {
  uint8_t* row = ScanLine(y);
  if (row == nullptr || x < 0 || x >= Width() || BitsPerPixel() > 8) return false;
  if (index < 0 || index >= (1 << BitsPerPixel())) return false;
  switch (BitsPerPixel()) {
    case 1: {
      const uint8_t bit = uint8_t(0x80 >> (x & 7));
      row[x >> 3] = uint8_t(index ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      break;
    }
    case 4: {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? uint8_t((b & 0xF0) | index) : uint8_t((b & 0x0F) | (index << 4));
      break;
    }
    default: row[x] = uint8_t(index); break;
  }
  return true;
}

TColor TDib::GetPixelColor(int x, int y) const {
  const uint8_t* row = ScanLine(y);
  if (row == nullptr || x < 0 || x >= Width()) return TColor::None;
  if (BitsPerPixel() <= 8) {
    const int index = GetPixelIndex(x, y);
    if (index >= NumColors()) return TColor::None;
    return TColor(colors_[size_t(index)]);
  }
  const uint8_t* p = row + size_t(x) * (BitsPerPixel() / 8);
  return TColor(p[2], p[1], p[0]);
}

bool TDib::SetPixelColor(int x, int y, TColor color) {
  uint8_t* row = ScanLine(y);
  if (row == nullptr || x < 0 || x >= Width() || BitsPerPixel() <= 8) return false;
  uint8_t* p = row + size_t(x) * (BitsPerPixel() / 8);
  p[0] = color.Blue();
  p[1] = color.Green();
  p[2] = color.Red();
  return true;
}

uint8_t* LocateTopRow(std::span<uint8_t> buffer, ptrdiff_t stride, int64_t rowBytes, int64_t height,
                      std::string* why) {
  auto refuse = [&](std::string reason) -> uint8_t* {
    if (why != nullptr) *why = std::move(reason);
    return nullptr;
  };
  if (rowBytes <= 0 || height <= 0) return refuse("row length and height must be positive");
  // The magnitude taken in unsigned arithmetic, where the most negative stride has one too.
  const uint64_t step = stride < 0 ? uint64_t(0) - uint64_t(stride) : uint64_t(stride);
  if (step < uint64_t(rowBytes)) {
    return refuse("stride " + std::to_string(stride) + " is shorter than a row of " +
                  std::to_string(rowBytes) + " bytes");
  }
  uint64_t needed = 0;
  if (__builtin_mul_overflow(step, uint64_t(height - 1), &needed) ||
      __builtin_add_overflow(needed, uint64_t(rowBytes), &needed) || needed > buffer.size()) {
    return refuse("buffer of " + std::to_string(buffer.size()) + " bytes cannot hold " +
                  std::to_string(height) + " rows of " + std::to_string(rowBytes) +
                  " bytes at stride " + std::to_string(stride));
  }
  if (buffer.data() == nullptr) return refuse("buffer is null");
  return stride < 0 ? buffer.data() + (needed - uint64_t(rowBytes)) : buffer.data();
}

namespace {

std::string SystemError(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

// A temporary file name beside path: path + ".tmpXXXXXX", made by mkstemp. Answers the open
// descriptor (or -1) and sets name.
int MakeTemporaryBeside(const std::string& path, std::string& name) {
  std::vector<char> tmpName(path.begin(), path.end());
  const char suffix[] = ".tmpXXXXXX";
  tmpName.insert(tmpName.end(), suffix, suffix + sizeof suffix);
  const int fd = ::mkstemp(tmpName.data());
  name = tmpName.data();
  return fd;
}

// Copies the file open on from into to, whole and synced.
bool CopyFile(int from, int to) {
  uint8_t buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return ::fsync(to) == 0;
    if (!WriteAll(to, buffer, size_t(got))) return false;
  }
}

// Keeps the regular file at path as backup (see WriteFileReplacing); no file there is nothing
// to keep.
bool KeepBackup(const std::string& path, const std::string& backup, std::string& message) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return true;
    message = SystemError("cannot look at", path);
    return false;
  }
  if (!S_ISREG(st.st_mode)) return true;
  std::string tmpPath;
  const int fd = MakeTemporaryBeside(backup, tmpPath);
  if (fd < 0) {
    message = SystemError("cannot create a temporary file for", backup);
    return false;
  }
  ::close(fd);
  // The name mkstemp reserved is taken over by a link to the old file; a file system without
  // links gets a copy under that name instead.
  bool ok = ::unlink(tmpPath.c_str()) == 0 && ::link(path.c_str(), tmpPath.c_str()) == 0;
  int why = ok ? 0 : errno;
  if (!ok) {
    TFileDescriptor to(
        ::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, st.st_mode & 07777));
    TFileDescriptor from(::open(path.c_str(), O_RDONLY));
    ok = to.get() >= 0 && from.get() >= 0 && CopyFile(from.get(), to.get()) &&
         ::close(to.release()) == 0;
    why = ok ? 0 : errno;
  }
  if (ok && ::rename(tmpPath.c_str(), backup.c_str()) != 0) {
    ok = false;
    why = errno;
  }
  if (!ok) {
    ::unlink(tmpPath.c_str());
    errno = why;
    message = SystemError("cannot keep a backup in", backup);
  }
  return ok;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes, std::string* error,
                        const std::string& backupPath) {
  auto fail = [&](std::string message) {
    if (error != nullptr) *error = std::move(message);
    return false;
  };
  if (path.empty()) return fail("no file name given");

  // The temporary name extends the target's own name, which keeps it in the same directory
  // and therefore on the same file system, where rename replaces the target in one step.
  std::string tmpPath;
  const int fd = MakeTemporaryBeside(path, tmpPath);
  if (fd < 0) return fail(SystemError("cannot create a temporary file for", path));

  // mkstemp makes the file private; give it the target's mode, or an ordinary one.
  struct stat existing {};
  const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  std::string message;
  if (!ok) message = SystemError("cannot write", tmpPath);
  if (::close(fd) != 0 && ok) {
    ok = false;
    message = SystemError("cannot write", tmpPath);
  }
  if (ok && !backupPath.empty()) ok = KeepBackup(path, backupPath, message);
  if (ok && ::rename(tmpPath.c_str(), path.c_str()) != 0) {
    ok = false;
    message = SystemError("cannot replace", path);
  }
  if (!ok) {
    ::unlink(tmpPath.c_str());
    return fail(std::move(message));
  }
  return true;
}

}  // namespace quill
