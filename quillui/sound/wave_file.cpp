#include "quillui/sound/wave_file.h"

#include <limits>

namespace quill {

ZWaveFile::ZWaveFile(const char* fileName, long flags) { open(fileName, flags); }

bool ZWaveFile::open(const char* fileName, long flags) {
  if (!ZRiffFile::open(fileName, flags)) return false;
  if (uint32_t(flags) & MMIO_CREATE) return create_section(kWaveFormType);
  return open_section(kWaveFormType);
}

void ZWaveFile::close() { ZRiffFile::close(); }

long ZWaveFile::read_data(void* buffer, long count) { return mmioRead(Handle(), buffer, count); }

long ZWaveFile::write_data(const void* buffer, long count) {
  return mmioWrite(Handle(), buffer, count);
}

long ZWaveFile::seek_data(long offset, int origin) {
  MMCKINFO* ck = CurrentChunkRecord();
  if (!ck || ck->ckid != kDataChunkId || origin < 0 || origin > 2) return -1;
  const long start = long(ck->dwDataOffset);
  long pos = -1;
  switch (origin) {
    case 0:
      if (offset > 0 && start > std::numeric_limits<long>::max() - offset) return -1;
      pos = mmioSeek(Handle(), start + offset, 0);
      break;
    case 1: pos = mmioSeek(Handle(), offset, 1); break;
    case 2: {
      long end = mmioSeek(Handle(), 0, 2);
      if (end < start || uint64_t(end - start) > 0xFFFFFFFFull) return -1;
      ck->cksize = uint32_t(end - start);
      pos = mmioSeek(Handle(), offset, 2);
      break;
    }
  }
  return pos < 0 ? -1 : pos - start;
}

}  // namespace quill
