// Persistent streams: little-endian words, length-prefixed strings and object records of
// streamable classes, written to and read from files or memory (layout: docs/formats.md).
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace quill {

class opstream;
class ipstream;

// A class whose objects travel through streams. Write puts the fields, Read takes them back
// in the same order; the stream adds the record around them. Read need not check the stream
// after each field: once the stream has failed, every further read is a no-op returning zero
// or leaving its destination alone. Read calls is.setError(PStreamError::BadObjectData) for
// fields that arrived intact but make no sense.
class TStreamableBase {
 public:
  virtual ~TStreamableBase() = default;
  // The name written in the record and looked up when reading it back.
  virtual const char* streamableName() const = 0;
  virtual void Write(opstream& os) const = 0;
  virtual void Read(ipstream& is) = 0;
};

// Why a stream stopped. The first failure is kept; later ones only add state bits.
enum class PStreamError : uint8_t {
  None,
  EndOfData,        // a read wanted more bytes than the stream has left
  LengthPastEnd,    // a string or class-name length larger than the bytes left
  StringTooLong,    // writer: a string too long for the length field
  BadVersion,       // a version header with a version this reader does not know
  BadRecordPrefix,  // neither an object record nor a null pointer where one was expected
  BadClassName,     // a class name that is null, empty or longer than kMaxClassNameLength
  UnknownClass,     // a class name nobody registered
  WrongClass,       // a record of another class than the object being read into
  MissingEndMark,   // an object record whose fields are not followed by the end mark
  TooDeep,          // objects nested deeper than kMaxObjectDepth
  BadObjectData,    // an object's own Read refused its fields
  OpenFailed,
  NotOpen,
  ReadFailed,  // the file gave fewer bytes than it claimed to have
  WriteFailed,
  NotInMemory,  // a read that hands out views of the source on a stream not held in memory
};

const char* PStreamErrorName(PStreamError error);

// A little-endian 32-bit word at p: the layout's word, read by the streams' in-line paths.
inline uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// State shared by both directions. The state bits follow the iostream convention: fail() is
// true for any failure, bad() for damaged data and I/O errors, eof() for running out of bytes.
// Once fail() is true every read and write is refused without touching its destination or the
// underlying bytes, until clear().
class pstream {
 public:
  enum : int { goodbit = 0, eofbit = 1, failbit = 2, badbit = 4 };

  // Layout constants; docs/formats.md explains each.
  static constexpr uint32_t kVersion = 1;
  static constexpr uint8_t kVersionMarker[4] = {'Q', 'P', 'S', 'V'};
  static constexpr uint32_t kNullStringLength = 0xFFFFFFFFu;
  static constexpr uint64_t kMaxStringLength = 0xFFFFFFFEu;
  static constexpr uint8_t kObjectBegin = '[';
  static constexpr uint8_t kObjectEnd = ']';
  static constexpr uint8_t kNullPointer = 0x00;
  static constexpr size_t kMaxClassNameLength = 255;
  // Bounds the recursion of Read/Write through nested objects, which also stops a cyclic
  // object graph from being written forever.
  static constexpr int kMaxObjectDepth = 32;

  pstream(const pstream&) = delete;
  pstream& operator=(const pstream&) = delete;
  virtual ~pstream() = default;

  int rdstate() const { return state_; }
  bool good() const { return state_ == goodbit; }
  bool eof() const { return (state_ & eofbit) != 0; }
  bool fail() const { return (state_ & (failbit | badbit)) != 0; }
  bool bad() const { return (state_ & badbit) != 0; }
  explicit operator bool() const { return !fail(); }
  bool operator!() const { return fail(); }

  // Sets the state bits to exactly state; back to goodbit also forgets the error.
  void clear(int state = goodbit);

  // Marks the stream failed. Objects call it from Read with BadObjectData when fields that
  // arrived intact make no sense together.
  void setError(PStreamError error);
  PStreamError error() const { return error_; }
  // Byte offset at which the first failure happened: where the read or write that failed
  // began (for a length past the end, the length field itself).
  uint64_t errorOffset() const { return errorOffset_; }

  // The version of the stream's header: 0 until readVersion finds one or writeVersion writes
  // one.
  uint32_t getVersion() const { return version_; }

  // Current nesting of object records being read or written.
  int objectDepth() const { return depth_; }

 protected:
  pstream() = default;
  virtual uint64_t streamOffset() const = 0;
  void setErrorAt(PStreamError error, uint64_t offset);
  void resetState();

  uint32_t version_ = 0;
  int depth_ = 0;

 private:
  int state_ = goodbit;
  PStreamError error_ = PStreamError::None;
  uint64_t errorOffset_ = 0;
};

// Writes to a sink given by a derived class.
class opstream : public pstream {
 public:
  void writeByte(uint8_t value);
  void writeWord16(uint16_t value);
  void writeWord32(uint32_t value);
  void writeWord64(uint64_t value);
  // A word is 32 bits in this layout, whatever the platform's int or long.
  void writeWord(uint32_t value) { writeWord32(value); }
  void writeBytes(const void* data, size_t size);
  // A null pointer writes the null string, which reads back as empty.
  void writeString(const char* text);
  void writeString(std::string_view text);
  // Writes the version header for kVersion.
  void writeVersion();

  // An object record: begin mark, class name, the object's fields, end mark.
  void writeObject(const TStreamableBase& object);
  // A null pointer record, or the same record as writeObject. The same object written twice
  // gives two full records; there are no back references.
  void writeObjectPtr(const TStreamableBase* object);

  uint64_t tellp() const { return written_; }

 protected:
  // Appends size bytes to the sink; false on an I/O error.
  virtual bool put(const uint8_t* data, size_t size) = 0;
  virtual bool hasSink() const { return true; }
  uint64_t streamOffset() const override { return written_; }
  // For derived classes that (re)open: back to a fresh, good stream at offset 0.
  void restart();

 private:
  bool ready();

  uint64_t written_ = 0;
};

// Reads from a source of known size given by a derived class. Every length is checked
// against the bytes left before anything is allocated or copied.
class ipstream : public pstream {
 public:
  // A failed read returns 0.
  uint8_t readByte() {
    uint8_t b = 0;
    return take(&b, 1, PStreamError::EndOfData) ? b : 0;
  }
  uint16_t readWord16();
  uint32_t readWord32() {
    uint8_t b[4];
    if (!take(b, sizeof b, PStreamError::EndOfData)) return 0;
    return LoadLE32(b);
  }
  uint64_t readWord64();
  uint32_t readWord() { return readWord32(); }
  // Exactly size bytes or none: on failure data is not written to (unless the file itself
  // failed mid-read, ReadFailed).
  bool readBytes(void* data, size_t size);
  // out is replaced only on success; a null string gives "" and *wasNull = true.
  bool readString(std::string& out, bool* wasNull = nullptr);
  // Keeps the first capacity - 1 characters, skips the rest, always terminates. capacity 0
  // reads and drops the string.
  bool readString(char* buffer, size_t capacity);
  // A string without copying it: out views the source bytes and stays valid as long as they
  // do. Only streams held in memory (inMemory()) can do this; others fail with NotInMemory.
  // out is replaced only on success; a null string gives an empty view and *wasNull = true.
  bool readStringView(std::string_view& out, bool* wasNull = nullptr) {
    // In line for a string that is there; null strings, failures and errors go the long way.
    if (memory_ != nullptr && good() && memorySize_ - pos_ >= 4) {
      const uint8_t* at = memory_ + pos_;
      const uint32_t length = LoadLE32(at);
      if (length != kNullStringLength && length <= memorySize_ - pos_ - 4) {
        out = std::string_view(reinterpret_cast<const char*>(at + 4), length);
        pos_ += 4 + uint64_t(length);
        if (wasNull) *wasNull = false;
        return true;
      }
    }
    return readStringViewSlow(out, wasNull);
  }
  // Whether the whole source is in memory, so readStringView works.
  bool inMemory() const { return memory_ != nullptr; }
  // Looks for a version header at the current position and consumes it if there is one.
  // Returns its version, or 0 with nothing consumed when the bytes do not start with the
  // header, so data without a header is read from its first byte.
  uint32_t readVersion();

  // Reads a record of object's class into object. On failure the object holds whatever its
  // Read managed to take before the damage.
  bool readObject(TStreamableBase& object);
  // readObject in parts, for a reader of many records of one class without records nested in
  // them, which calls the fields' reader itself: the begin mark and the class name (a record of
  // another class fails as in readObject), then, after the fields, the end mark.
  bool readRecordHead(std::string_view className) {
    // In line for the record that is there; anything else goes the long way.
    if (memory_ != nullptr && good() && depth_ < kMaxObjectDepth && !className.empty() &&
        className.size() <= kMaxClassNameLength &&
        memorySize_ - pos_ >= 5 + uint64_t(className.size())) {
      const uint8_t* at = memory_ + pos_;
      const uint32_t length = LoadLE32(at + 1);
      if (at[0] == kObjectBegin && length == className.size() &&
          std::memcmp(at + 5, className.data(), className.size()) == 0) {
        pos_ += 5 + uint64_t(length);
        return true;
      }
    }
    return readRecordHeadSlow(className);
  }
  bool readRecordTail() {
    if (memory_ != nullptr && good() && pos_ < memorySize_ && memory_[pos_] == kObjectEnd) {
      ++pos_;
      return true;
    }
    return readRecordTailSlow();
  }
  // Reads a pointer record: the null record gives null with the stream still good; an object
  // record gives a new object of the registered class named in it. A failure gives null and
  // nothing half-read escapes.
  std::unique_ptr<TStreamableBase> readObjectPtr();

  uint64_t tellg() const { return pos_; }
  uint64_t remaining() const;

 protected:
  virtual uint64_t sourceSize() const = 0;
  // Copies size bytes at pos (pos + size <= sourceSize()); false on an I/O error.
  virtual bool fetch(uint64_t pos, uint8_t* data, size_t size) = 0;
  virtual bool hasSource() const { return true; }
  uint64_t streamOffset() const override { return pos_; }
  // For derived classes that (re)open: back to a fresh, good stream at offset 0.
  void restart();
  // For derived classes whose whole source is in memory for the stream's lifetime: reads then
  // copy from it directly instead of going through fetch.
  void setMemory(std::span<const uint8_t> bytes) {
    memory_ = bytes.data() ? bytes.data() : kEmpty;
    memorySize_ = bytes.size();
  }

 private:
  static constexpr uint8_t kEmpty[1] = {0};

  // Reads from memory in line; everything else (failures included) goes through takeSlow.
  bool take(void* data, size_t size, PStreamError shortError) {
    if (memory_ != nullptr && good() && size <= memorySize_ - pos_) {
      std::memcpy(data, memory_ + pos_, size);
      pos_ += size;
      return true;
    }
    return takeSlow(data, size, shortError);
  }
  bool takeSlow(void* data, size_t size, PStreamError shortError);
  bool readStringViewSlow(std::string_view& out, bool* wasNull);
  bool readRecordHeadSlow(std::string_view className);
  bool readRecordTailSlow();
  bool readClassName(char (&buffer)[kMaxClassNameLength], std::string_view& name);
  bool readFields(TStreamableBase& object);

  uint64_t pos_ = 0;
  const uint8_t* memory_ = nullptr;
  uint64_t memorySize_ = 0;
};

// Collects the bytes in memory.
class omemstream : public opstream {
 public:
  omemstream() = default;
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::span<const uint8_t> span() const { return bytes_; }

 protected:
  bool put(const uint8_t* data, size_t size) override;

 private:
  std::vector<uint8_t> bytes_;
};

// Reads bytes the caller keeps alive for the stream's lifetime.
class imemstream : public ipstream {
 public:
  explicit imemstream(std::span<const uint8_t> bytes) : bytes_(bytes) { setMemory(bytes); }

 protected:
  uint64_t sourceSize() const override { return bytes_.size(); }
  bool fetch(uint64_t pos, uint8_t* data, size_t size) override;

 private:
  std::span<const uint8_t> bytes_;
};

// Writes a file, created or truncated on open. Write errors, including those that only show
// when the buffer is flushed by close(), make the stream bad, so check the state after close().
class ofpstream : public opstream {
 public:
  ofpstream() = default;
  explicit ofpstream(const std::string& path) { open(path); }
  ~ofpstream() override;

  bool open(const std::string& path);
  // Flushes and closes; false (and a bad stream) when the bytes did not all reach the file.
  bool close();
  bool is_open() const { return file_ != nullptr; }

 protected:
  bool put(const uint8_t* data, size_t size) override;
  bool hasSink() const override { return file_ != nullptr; }

 private:
  std::FILE* file_ = nullptr;
};

// Reads a regular file. Its size is taken once at open; the file is read through a small
// buffer, so readVersion's look ahead costs nothing.
class ifpstream : public ipstream {
 public:
  ifpstream() = default;
  explicit ifpstream(const std::string& path) { open(path); }
  ~ifpstream() override;

  bool open(const std::string& path);
  void close();
  bool is_open() const { return fd_ >= 0; }

 protected:
  uint64_t sourceSize() const override { return size_; }
  bool fetch(uint64_t pos, uint8_t* data, size_t size) override;
  bool hasSource() const override { return fd_ >= 0; }

 private:
  static constexpr size_t kBufferSize = 4096;

  bool readAt(uint64_t pos, uint8_t* data, size_t size);

  int fd_ = -1;
  uint64_t size_ = 0;
  std::vector<uint8_t> buffer_;
  uint64_t bufferPos_ = 0;  // file offset of buffer_[0]
  size_t bufferLen_ = 0;
};

// Strings: a length word, then the bytes (docs/formats.md).
inline opstream& operator<<(opstream& os, const char* text) {
  os.writeString(text);
  return os;
}
inline opstream& operator<<(opstream& os, std::string_view text) {
  os.writeString(text);
  return os;
}
inline opstream& operator<<(opstream& os, const std::string& text) {
  os.writeString(std::string_view(text));
  return os;
}
inline ipstream& operator>>(ipstream& is, std::string& text) {
  is.readString(text);
  return is;
}
// Only bounded buffers: a string longer than the array is cut to fit.
template <size_t N>
ipstream& operator>>(ipstream& is, char (&buffer)[N]) {
  is.readString(buffer, N);
  return is;
}

// Integers: sizeof(T) bytes, little-endian, two's complement; bool is one byte 0 or 1 (any
// non-zero byte reads as true). Prefer the fixed-width types in anything written to files:
// long is 8 bytes here.
template <std::integral T>
opstream& operator<<(opstream& os, T value) {
  uint8_t bytes[sizeof(T)];
  using U = std::make_unsigned_t<std::conditional_t<std::is_same_v<T, bool>, uint8_t, T>>;
  U bits = static_cast<U>(value);
  for (size_t i = 0; i < sizeof(T); ++i) {
    bytes[i] = static_cast<uint8_t>(bits & 0xFF);
    if constexpr (sizeof(T) > 1) bits = static_cast<U>(bits >> 8);
  }
  os.writeBytes(bytes, sizeof(T));
  return os;
}

template <std::integral T>
ipstream& operator>>(ipstream& is, T& value) {
  uint8_t bytes[sizeof(T)];
  if (!is.readBytes(bytes, sizeof(T))) return is;
  if constexpr (std::is_same_v<T, bool>) {
    value = bytes[0] != 0;
  } else {
    std::make_unsigned_t<T> bits = 0;
    for (size_t i = sizeof(T); i-- > 0;) {
      if constexpr (sizeof(T) > 1) bits = static_cast<std::make_unsigned_t<T>>(bits << 8);
      bits = static_cast<std::make_unsigned_t<T>>(bits | bytes[i]);
    }
    value = static_cast<T>(bits);
  }
  return is;
}

// Objects: references give object records, pointers give pointer records.
inline opstream& operator<<(opstream& os, const TStreamableBase& object) {
  os.writeObject(object);
  return os;
}
inline opstream& operator<<(opstream& os, const TStreamableBase* object) {
  os.writeObjectPtr(object);
  return os;
}
inline ipstream& operator>>(ipstream& is, TStreamableBase& object) {
  is.readObject(object);
  return is;
}

// Reads a pointer record into a typed owner. A record of a class that is not a T fails the
// stream with WrongClass; the null record leaves object null.
template <class T>
requires std::is_base_of_v<TStreamableBase, T> ipstream& operator>>(ipstream& is,
                                                                    std::unique_ptr<T>& object) {
  std::unique_ptr<TStreamableBase> read = is.readObjectPtr();
  if (!read) {
    if (is.good()) object.reset();
    return is;
  }
  T* typed = dynamic_cast<T*>(read.get());
  if (!typed) {
    is.setError(PStreamError::WrongClass);
    return is;
  }
  read.release();
  object.reset(typed);
  return is;
}

}  // namespace quill
