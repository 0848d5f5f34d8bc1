// The wave-out device interface: a backend plays blocks of PCM in the order written and tells
// when each block is finished. The backends are listed in audio_backends.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quill::platform {

// Uncompressed PCM: 8-bit unsigned or 16-bit signed little-endian, 1 or 2 channels.
struct PcmFormat {
  uint16_t channels = 1;
  uint32_t samplesPerSec = 11025;
  uint16_t bitsPerSample = 8;

  uint32_t FrameBytes() const { return uint32_t(channels) * (bitsPerSample / 8u); }
  uint64_t BytesPerSec() const { return uint64_t(samplesPerSec) * FrameBytes(); }
};

// Formats every backend plays; anything else is refused before a device is asked.
bool IsPlayablePcm(const PcmFormat& format);

class WaveOut {
 public:
  // Called once for every written block when it has been played or discarded by Reset, with
  // the cookie given to Write. Real backends call it on their audio thread.
  using DoneFn = std::function<void(uint64_t cookie)>;

  virtual ~WaveOut() = default;
  virtual const char* Name() const = 0;
  // Plays size bytes after whatever was written before. The bytes are not copied: they must
  // stay put until the block is reported done. A trailing partial frame is not played.
  virtual bool Write(const uint8_t* data, size_t size, uint64_t cookie) = 0;
  // Stops at once; every block not yet finished is reported done.
  virtual void Reset() = 0;
  // For backends that play in virtual time: reports the blocks finished by now and answers
  // the milliseconds until the next one will be, or -1 when none is playing.
  virtual int64_t Poll() { return -1; }
};

}  // namespace quill::platform
