// ZWaveFormat: the wave format record as it sits in a WAVE file's "fmt " chunk, 18 bytes whose
// last field is the record's own size; longer records are allocated to their size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>

namespace quill {

inline constexpr uint16_t WAVE_FORMAT_PCM = 1;

class ZWaveFormat {
 public:
  static constexpr int kBaseSize = 18;

  // 1 channel of 8-bit PCM at 11025 samples per second; size 18.
  ZWaveFormat();
  // Stores size as the record's size and leaves the other fields to be read from a file.
  explicit ZWaveFormat(int size);

  // Allocates the larger of the class size and extra bytes (extra is the full record size,
  // not a count beyond it). Both forms remember what they allocated, see Capacity().
  static void* operator new(size_t size);
  static void* operator new(size_t size, int extra);
  static void operator delete(void* p);
  static void operator delete(void* p, int extra);
  static void* operator new[](size_t) = delete;

  uint16_t FormatTag() const { return Get16(0); }
  uint16_t Channels() const { return Get16(2); }
  uint32_t SamplesPerSec() const { return Get32(4); }
  uint32_t AvgBytesPerSec() const { return Get32(8); }
  uint16_t BlockAlign() const { return Get16(12); }
  uint16_t BitsPerSample() const { return Get16(14); }
  // The field at offset 16, the record's size for a record made here. In a record read from a
  // file it is whatever the file held there (writers put the count of extension bytes after
  // the 18-byte record), so a loaded record is saved by its chunk's length, not by this.
  uint16_t size() const { return Get16(16); }

  void SetFormatTag(uint16_t v) { Put16(0, v); }
  void SetChannels(uint16_t v) { Put16(2, v); }
  void SetSamplesPerSec(uint32_t v) { Put32(4, v); }
  void SetAvgBytesPerSec(uint32_t v) { Put32(8, v); }
  void SetBlockAlign(uint16_t v) { Put16(12, v); }
  void SetBitsPerSample(uint16_t v) { Put16(14, v); }
  void SetSize(uint16_t v) { Put16(16, v); }
  // PCM of the given shape, with block alignment and byte rate derived.
  void SetPcm(uint16_t channels, uint32_t samplesPerSec, uint16_t bitsPerSample);

  // The record's bytes, as written to and read from a "fmt " chunk.
  uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(this); }
  const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }

  // Bytes really allocated behind Bytes() for a record made with new; a record's size field
  // comes from a file and may claim more than this.
  static size_t Capacity(const ZWaveFormat* heapRecord);

 private:
  uint16_t Get16(int at) const { return uint16_t(raw_[at] | (raw_[at + 1] << 8)); }
  uint32_t Get32(int at) const {
    return uint32_t(raw_[at]) | (uint32_t(raw_[at + 1]) << 8) | (uint32_t(raw_[at + 2]) << 16) |
           (uint32_t(raw_[at + 3]) << 24);
  }
  void Put16(int at, uint16_t v) {
    raw_[at] = uint8_t(v);
    raw_[at + 1] = uint8_t(v >> 8);
  }
  void Put32(int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) raw_[at + i] = uint8_t(v >> (8 * i));
  }

  uint8_t raw_[kBaseSize];
};
static_assert(sizeof(ZWaveFormat) == ZWaveFormat::kBaseSize);

// Six lines: "wave format=", "channels= ", "samples_persec=", "avgbytes_persec=",
// "block_align=", "bits_persample=", each followed by its value in decimal.
std::ostream& operator<<(std::ostream& os, const ZWaveFormat& format);

}  // namespace quill
