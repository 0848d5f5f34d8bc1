#include "quillui/sound/wave_format.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace quill {

namespace {

// Heap records carry their allocation size in front, aligned so the record itself is.
constexpr size_t kPrefix = alignof(std::max_align_t);

void* AllocateRecord(size_t bytes) {
  auto* p = static_cast<uint8_t*>(::operator new(kPrefix + bytes));
  std::memset(p + kPrefix, 0, bytes);
  *reinterpret_cast<size_t*>(p) = bytes;
  return p + kPrefix;
}

}  // namespace

ZWaveFormat::ZWaveFormat() : raw_{} {
  SetPcm(1, 11025, 8);
  SetSize(kBaseSize);
}

// The fields are left as they are: the caller reads them from a file over this record.
ZWaveFormat::ZWaveFormat(int size) : raw_{} { SetSize(uint16_t(size)); }

void* ZWaveFormat::operator new(size_t size) { return AllocateRecord(size); }

void* ZWaveFormat::operator new(size_t size, int extra) {
  return AllocateRecord(std::max(size, size_t(std::max(extra, 0))));
}

void ZWaveFormat::operator delete(void* p) {
  if (p) ::operator delete(static_cast<uint8_t*>(p) - kPrefix);
}

void ZWaveFormat::operator delete(void* p, int) { operator delete(p); }

size_t ZWaveFormat::Capacity(const ZWaveFormat* heapRecord) {
  if (!heapRecord) return 0;
  return *reinterpret_cast<const size_t*>(reinterpret_cast<const uint8_t*>(heapRecord) - kPrefix);
}

void ZWaveFormat::SetPcm(uint16_t channels, uint32_t samplesPerSec, uint16_t bitsPerSample) {
  SetFormatTag(WAVE_FORMAT_PCM);
  SetChannels(channels);
  SetSamplesPerSec(samplesPerSec);
  const uint16_t align = uint16_t(channels * ((bitsPerSample + 7) / 8));
  SetBlockAlign(align);
  SetAvgBytesPerSec(uint32_t(uint64_t(samplesPerSec) * align));
  SetBitsPerSample(bitsPerSample);
}

std::ostream& operator<<(std::ostream& os, const ZWaveFormat& f) {
  os << "wave format=" << f.FormatTag() << '\n'
     << "channels= " << f.Channels() << '\n'
     << "samples_persec=" << f.SamplesPerSec() << '\n'
     << "avgbytes_persec=" << f.AvgBytesPerSec() << '\n'
     << "block_align=" << f.BlockAlign() << '\n'
     << "bits_persample=" << f.BitsPerSample() << '\n';
  return os;
}

}  // namespace quill
