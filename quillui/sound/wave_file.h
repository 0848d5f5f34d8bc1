// ZWaveFile: a RIFF WAVE file; knows the form and chunk ids and reads, writes and seeks inside
// the "data" chunk.
#pragma once

#include "quillui/sound/riff_file.h"

namespace quill {

inline constexpr FOURCC kWaveFormType = mmioFOURCC('W', 'A', 'V', 'E');  // 0x45564157
inline constexpr FOURCC kFmtChunkId = mmioFOURCC('f', 'm', 't', ' ');    // 0x20746D66
inline constexpr FOURCC kDataChunkId = mmioFOURCC('d', 'a', 't', 'a');   // 0x61746164

class ZWaveFile : public ZRiffFile {
 public:
  ZWaveFile() = default;
  ZWaveFile(const char* fileName, long flags);

  // Opens, then creates the WAVE form (MMIO_CREATE) or enters it; the result is the last step's.
  bool open(const char* fileName, long flags);
  void close();

  bool open_format() { return descend_chunk(kFmtChunkId); }
  bool create_format() { return create_chunk(kFmtChunkId); }
  bool open_data() { return descend_chunk(kDataChunkId); }
  bool create_data() { return create_chunk(kDataChunkId); }

  // Bytes moved at the current position, or -1.
  long read_data(void* buffer, long count);
  long write_data(const void* buffer, long count);
  // Only inside a "data" chunk: origin 0 from its start, 1 from here, 2 from the end of the file
  // (which first sets the chunk's recorded size to what the file holds). The new position
  // relative to the chunk's start, or -1.
  long seek_data(long offset, int origin);
};

}  // namespace quill
