#include "quillui/framework/stream/pstream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quill {

namespace {

int BitsFor(PStreamError error) {
  switch (error) {
    case PStreamError::None: return pstream::goodbit;
    // Running out of bytes is what a truncated file looks like; everything else means the
    // bytes that are there cannot be trusted.
    case PStreamError::EndOfData:
    case PStreamError::LengthPastEnd: return pstream::eofbit | pstream::failbit;
    default: return pstream::failbit | pstream::badbit;
  }
}

}  // namespace

const char* PStreamErrorName(PStreamError error) {
  switch (error) {
    case PStreamError::None: return "no error";
    case PStreamError::EndOfData: return "unexpected end of data";
    case PStreamError::LengthPastEnd: return "length past the end of the data";
    case PStreamError::StringTooLong: return "string too long to write";
    case PStreamError::BadVersion: return "unsupported stream version";
    case PStreamError::BadRecordPrefix: return "not an object record";
    case PStreamError::BadClassName: return "invalid class name";
    case PStreamError::UnknownClass: return "unregistered class";
    case PStreamError::WrongClass: return "record of another class";
    case PStreamError::MissingEndMark: return "object record without end mark";
    case PStreamError::TooDeep: return "objects nested too deeply";
    case PStreamError::BadObjectData: return "invalid object data";
    case PStreamError::OpenFailed: return "cannot open file";
    case PStreamError::NotOpen: return "stream not open";
    case PStreamError::ReadFailed: return "read error";
    case PStreamError::WriteFailed: return "write error";
    case PStreamError::NotInMemory: return "stream not held in memory";
  }
  return "unknown error";
}

// ---- pstream -------------------------------------------------------------------------------

void pstream::clear(int state) {
  state_ = state & (eofbit | failbit | badbit);
  if (state_ == goodbit) {
    error_ = PStreamError::None;
    errorOffset_ = 0;
  }
}

void pstream::setError(PStreamError error) { setErrorAt(error, streamOffset()); }

void pstream::setErrorAt(PStreamError error, uint64_t offset) {
  if (error == PStreamError::None) return;
  if (error_ == PStreamError::None) {
    error_ = error;
    errorOffset_ = offset;
  }
  state_ |= BitsFor(error);
}

void pstream::resetState() {
  clear();
  version_ = 0;
  depth_ = 0;
}

// ---- opstream ------------------------------------------------------------------------------

void opstream::restart() {
  resetState();
  written_ = 0;
}

bool opstream::ready() {
  if (!good()) return false;
  if (!hasSink()) {
    setError(PStreamError::NotOpen);
    return false;
  }
  return true;
}

void opstream::writeBytes(const void* data, size_t size) {
  if (!ready() || size == 0) return;
  if (!put(static_cast<const uint8_t*>(data), size)) {
    setError(PStreamError::WriteFailed);
    return;
  }
  written_ += size;
}

void opstream::writeByte(uint8_t value) { writeBytes(&value, 1); }

void opstream::writeWord16(uint16_t value) {
  const uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)};
  writeBytes(b, sizeof b);
}

void opstream::writeWord32(uint32_t value) {
  const uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                        uint8_t(value >> 24)};
  writeBytes(b, sizeof b);
}

void opstream::writeWord64(uint64_t value) {
  writeWord32(uint32_t(value));
  writeWord32(uint32_t(value >> 32));
}

void opstream::writeString(const char* text) {
  if (text == nullptr) {
    writeWord32(kNullStringLength);
    return;
  }
  writeString(std::string_view(text));
}

void opstream::writeString(std::string_view text) {
  if (!ready()) return;
  if (text.size() > kMaxStringLength) {
    setError(PStreamError::StringTooLong);
    return;
  }
  writeWord32(static_cast<uint32_t>(text.size()));
  writeBytes(text.data(), text.size());
}

void opstream::writeVersion() {
  writeBytes(kVersionMarker, sizeof kVersionMarker);
  writeWord32(kVersion);
  if (good()) version_ = kVersion;
}

// ---- ipstream ------------------------------------------------------------------------------

void ipstream::restart() {
  resetState();
  pos_ = 0;
}

uint64_t ipstream::remaining() const {
  const uint64_t size = memory_ != nullptr ? memorySize_ : hasSource() ? sourceSize() : 0;
  return pos_ < size ? size - pos_ : 0;
}

bool ipstream::takeSlow(void* data, size_t size, PStreamError shortError) {
  if (!good()) return false;
  if (memory_ != nullptr) {
    if (size > memorySize_ - pos_) {
      setError(shortError);
      return false;
    }
    if (size != 0) std::memcpy(data, memory_ + pos_, size);
    pos_ += size;
    return true;
  }
  if (!hasSource()) {
    setError(PStreamError::NotOpen);
    return false;
  }
  if (size > remaining()) {
    setError(shortError);
    return false;
  }
  if (size == 0) return true;
  if (!fetch(pos_, static_cast<uint8_t*>(data), size)) {
    setError(PStreamError::ReadFailed);
    return false;
  }
  pos_ += size;
  return true;
}

bool ipstream::readBytes(void* data, size_t size) {
  return take(data, size, PStreamError::EndOfData);
}

uint16_t ipstream::readWord16() {
  uint8_t b[2];
  if (!take(b, sizeof b, PStreamError::EndOfData)) return 0;
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint64_t ipstream::readWord64() {
  uint8_t b[8];
  if (!take(b, sizeof b, PStreamError::EndOfData)) return 0;
  return uint64_t(LoadLE32(b)) | uint64_t(LoadLE32(b + 4)) << 32;
}

bool ipstream::readString(std::string& out, bool* wasNull) {
  const uint64_t at = pos_;
  const uint32_t length = readWord32();
  if (!good()) return false;
  if (length == kNullStringLength) {
    out.clear();
    if (wasNull) *wasNull = true;
    return true;
  }
  // Checked here, before the string is sized, so a hostile length costs nothing.
  if (length > remaining()) {
    setErrorAt(PStreamError::LengthPastEnd, at);
    return false;
  }
  std::string text(length, '\0');
  if (!take(text.data(), length, PStreamError::LengthPastEnd)) return false;
  out = std::move(text);
  if (wasNull) *wasNull = false;
  return true;
}

bool ipstream::readString(char* buffer, size_t capacity) {
  const uint64_t at = pos_;
  const uint32_t length = readWord32();
  if (!good()) return false;
  if (length == kNullStringLength) {
    if (capacity > 0) buffer[0] = '\0';
    return true;
  }
  if (length > remaining()) {
    setErrorAt(PStreamError::LengthPastEnd, at);
    return false;
  }
  const size_t keep = capacity > 0 ? std::min<size_t>(length, capacity - 1) : 0;
  if (!take(buffer, keep, PStreamError::LengthPastEnd)) return false;
  pos_ += length - keep;  // within the bytes checked above
  if (capacity > 0) buffer[keep] = '\0';
  return true;
}

bool ipstream::readStringViewSlow(std::string_view& out, bool* wasNull) {
  if (!good()) return false;
  if (memory_ == nullptr) {
    setError(PStreamError::NotInMemory);
    return false;
  }
  const uint64_t at = pos_;
  const uint32_t length = readWord32();
  if (!good()) return false;
  if (length == kNullStringLength) {
    out = {};
    if (wasNull) *wasNull = true;
    return true;
  }
  if (length > memorySize_ - pos_) {
    setErrorAt(PStreamError::LengthPastEnd, at);
    return false;
  }
  out = std::string_view(reinterpret_cast<const char*>(memory_ + pos_), length);
  pos_ += length;
  if (wasNull) *wasNull = false;
  return true;
}

uint32_t ipstream::readVersion() {
  if (!good()) return 0;
  if (!hasSource()) {
    setError(PStreamError::NotOpen);
    return 0;
  }
  uint8_t header[8];
  if (remaining() < sizeof kVersionMarker) return 0;
  if (!fetch(pos_, header, sizeof kVersionMarker)) {
    setError(PStreamError::ReadFailed);
    return 0;
  }
  if (std::memcmp(header, kVersionMarker, sizeof kVersionMarker) != 0) return 0;
  if (remaining() < sizeof header) {
    setError(PStreamError::EndOfData);
    return 0;
  }
  if (!fetch(pos_, header, sizeof header)) {
    setError(PStreamError::ReadFailed);
    return 0;
  }
  const uint32_t version = LoadLE32(header + 4);
  if (version == 0 || version > kVersion) {
    setError(PStreamError::BadVersion);
    return 0;
  }
  pos_ += sizeof header;
  version_ = version;
  return version;
}

// ---- memory --------------------------------------------------------------------------------

bool omemstream::put(const uint8_t* data, size_t size) {
  bytes_.insert(bytes_.end(), data, data + size);
  return true;
}

bool imemstream::fetch(uint64_t pos, uint8_t* data, size_t size) {
  std::memcpy(data, bytes_.data() + pos, size);
  return true;
}

// ---- files ---------------------------------------------------------------------------------

ofpstream::~ofpstream() {
  if (file_) std::fclose(file_);
}

bool ofpstream::open(const std::string& path) {
  if (file_) close();
  restart();
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    setError(PStreamError::OpenFailed);
    return false;
  }
  return true;
}

bool ofpstream::put(const uint8_t* data, size_t size) {
  return std::fwrite(data, 1, size, file_) == size;
}

bool ofpstream::close() {
  if (!file_) return !fail();
  // A full disk often shows only when the buffer is flushed.
  const bool flushed = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) setError(PStreamError::WriteFailed);
  return !fail();
}

ifpstream::~ifpstream() { close(); }

bool ifpstream::open(const std::string& path) {
  close();
  restart();
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  // Only regular files have a size to check lengths against.
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
    close();
    setError(PStreamError::OpenFailed);
    return false;
  }
  size_ = static_cast<uint64_t>(st.st_size);
  buffer_.resize(kBufferSize);
  return true;
}

void ifpstream::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
  bufferPos_ = 0;
  bufferLen_ = 0;
}

bool ifpstream::readAt(uint64_t pos, uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::pread(fd_, data, size, static_cast<off_t>(pos));
    if (n < 0 && errno == EINTR) continue;
    // 0 means the file shrank after it was opened.
    if (n <= 0) return false;
    data += n;
    pos += static_cast<uint64_t>(n);
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ifpstream::fetch(uint64_t pos, uint8_t* data, size_t size) {
  if (pos >= bufferPos_ && pos - bufferPos_ <= bufferLen_ &&
      size <= bufferLen_ - (pos - bufferPos_)) {
    std::memcpy(data, buffer_.data() + (pos - bufferPos_), size);
    return true;
  }
  if (size >= kBufferSize) return readAt(pos, data, size);
  const size_t fill = static_cast<size_t>(std::min<uint64_t>(kBufferSize, size_ - pos));
  if (!readAt(pos, buffer_.data(), fill)) {
    bufferLen_ = 0;
    return false;
  }
  bufferPos_ = pos;
  bufferLen_ = fill;
  std::memcpy(data, buffer_.data(), size);
  return true;
}

}  // namespace quill
