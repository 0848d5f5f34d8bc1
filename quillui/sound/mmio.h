// Multimedia file I/O for RIFF files: open (with temporary names and deletion), read, write,
// seek, and the chunk walk (descend, ascend, create) that RIFF readers build on. Writes go
// straight to the file; a read-only handle reads small pieces ahead, so walking headers is cheap.
#pragma once

#include <cstdint>

namespace quill {

struct HMMIO__;
using HMMIO = HMMIO__*;
using FOURCC = uint32_t;

constexpr FOURCC mmioFOURCC(char a, char b, char c, char d) {
  return FOURCC(uint8_t(a)) | (FOURCC(uint8_t(b)) << 8) | (FOURCC(uint8_t(c)) << 16) |
         (FOURCC(uint8_t(d)) << 24);
}
inline constexpr FOURCC FOURCC_RIFF = mmioFOURCC('R', 'I', 'F', 'F');
inline constexpr FOURCC FOURCC_LIST = mmioFOURCC('L', 'I', 'S', 'T');

// Open flags.
inline constexpr uint32_t MMIO_READ = 0x00000000;
inline constexpr uint32_t MMIO_WRITE = 0x00000001;
inline constexpr uint32_t MMIO_READWRITE = 0x00000002;
inline constexpr uint32_t MMIO_CREATE = 0x00001000;
inline constexpr uint32_t MMIO_DELETE = 0x00000200;
inline constexpr uint32_t MMIO_EXIST = 0x00004000;
inline constexpr uint32_t MMIO_GETTEMP = 0x00020000;
// Descend and create flags.
inline constexpr uint32_t MMIO_FINDCHUNK = 0x0010;
inline constexpr uint32_t MMIO_FINDRIFF = 0x0020;
inline constexpr uint32_t MMIO_FINDLIST = 0x0040;
inline constexpr uint32_t MMIO_CREATERIFF = 0x0020;
inline constexpr uint32_t MMIO_CREATELIST = 0x0040;
// Chunk record flag: the chunk was created here and its size must be written on ascent.
inline constexpr uint32_t MMIO_DIRTY = 0x10000000;

// Names are limited to this many bytes including the terminating zero.
inline constexpr int kMmioMaxName = 256;

// One chunk as the walk sees it (20 bytes, the classic layout). For RIFF and LIST chunks the
// data offset is that of the form type.
struct MMCKINFO {
  FOURCC ckid = 0;
  uint32_t cksize = 0;
  FOURCC fccType = 0;
  uint32_t dwDataOffset = 0;
  uint32_t dwFlags = 0;
};
static_assert(sizeof(MMCKINFO) == 20);

// Opens (MMIO_READ, MMIO_WRITE, MMIO_READWRITE; MMIO_CREATE makes or truncates the file and
// allows writing). Null when the name is null, too long or the file cannot be opened.
HMMIO mmioOpen(const char* name, uint32_t flags);
// Fills name (kMmioMaxName bytes) with the name of a new, empty temporary file.
bool mmioGetTempName(char* name);
bool mmioDeleteFile(const char* name);
// Whether the file exists (MMIO_EXIST).
bool mmioExists(const char* name);
bool mmioClose(HMMIO h);

// Bytes moved, or -1 on error (a negative count is an error).
long mmioRead(HMMIO h, void* buffer, long count);
long mmioWrite(HMMIO h, const void* buffer, long count);
// origin 0, 1, 2 as SEEK_SET, SEEK_CUR, SEEK_END; the new position, or -1 (also for a
// position before the start).
long mmioSeek(HMMIO h, long offset, int origin);
// The file's size in bytes as this handle knows it (read at open, grown by its writes), or -1.
long long mmioFileSize(HMMIO h);

// Result codes of the chunk walk.
inline constexpr unsigned MMIOERR_NONE = 0;
inline constexpr unsigned MMIOERR_CHUNKNOTFOUND = 265;
inline constexpr unsigned MMIOERR_CANNOTSEEK = 262;
inline constexpr unsigned MMIOERR_CANNOTREAD = 259;
inline constexpr unsigned MMIOERR_CANNOTWRITE = 260;
inline constexpr unsigned MMIOERR_INVALIDPARAM = 268;

// Enters the next chunk at the current position, or searches for one: MMIO_FINDCHUNK (by
// ckid), MMIO_FINDRIFF / MMIO_FINDLIST (by fccType). With a parent the search stays inside
// it. A chunk whose data would run past the end of the file is treated as not there.
unsigned mmioDescend(HMMIO h, MMCKINFO* ck, const MMCKINFO* parent, uint32_t flags);
// Leaves a chunk: one created here gets its size (from the current position) written into its
// header and is padded to even length; the position moves past the chunk and its pad byte.
unsigned mmioAscend(HMMIO h, MMCKINFO* ck, uint32_t flags);
// Writes a chunk header (and form type for MMIO_CREATERIFF / MMIO_CREATELIST) at the current
// position with ck->cksize, and marks the record MMIO_DIRTY.
unsigned mmioCreateChunk(HMMIO h, MMCKINFO* ck, uint32_t flags);

}  // namespace quill
