#include "quillui/sound/mmio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace quill {

// The position is kept here and every transfer names its offset (pread / pwrite), so seeks
// and the chunk walk's position questions cost no system call. The size is read once at open
// and then kept up to date by this handle's own writes. A read-only handle serves small reads
// (chunk headers, format records) from a read-ahead window, so walking a wave file's headers
// takes one read.
struct HMMIO__ {
  int fd = -1;
  bool writable = false;
  int64_t pos = 0;
  int64_t size = 0;
  std::unique_ptr<uint8_t[]> window;  // read-only handles: bytes [windowStart, + windowLength)
  int64_t windowStart = 0;
  int64_t windowLength = 0;
};

namespace {

constexpr uint64_t kMaxOffset = 0xFFFFFFFFull;  // what a chunk record can describe
// Reads shorter than this go through the read-ahead window of a read-only handle.
constexpr int64_t kReadAhead = 4096;

// Whole transfers at an offset, retried after interruptions and short counts; the bytes
// moved, or -1 on an error before any.
long PRead(int fd, uint8_t* p, long count, int64_t at) {
  long done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd, p + done, size_t(count - done), off_t(at + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return done > 0 ? done : -1;
    if (n == 0) break;
    done += long(n);
  }
  return done;
}

bool NameOk(const char* name) {
  return name && name[0] && strnlen(name, kMmioMaxName) < size_t(kMmioMaxName);
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void PutLe32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

bool ReadExact(HMMIO h, void* buffer, long count) { return mmioRead(h, buffer, count) == count; }
bool WriteExact(HMMIO h, const void* buffer, long count) {
  return mmioWrite(h, buffer, count) == count;
}

}  // namespace

HMMIO mmioOpen(const char* name, uint32_t flags) {
  if (!NameOk(name)) return nullptr;
  int mode = O_RDONLY;
  if (flags & MMIO_CREATE)
    mode = O_RDWR | O_CREAT | O_TRUNC;
  else if (flags & MMIO_READWRITE)
    mode = O_RDWR;
  else if (flags & MMIO_WRITE)
    mode = O_WRONLY;
  int fd = ::open(name, mode | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {  // a directory or a device is no sound file
    ::close(fd);
    return nullptr;
  }
  auto* h = new HMMIO__;
  h->fd = fd;
  h->writable = mode != O_RDONLY;
  h->size = int64_t(st.st_size);
  return h;
}

bool mmioGetTempName(char* name) {
  if (!name) return false;
  const char* dir = std::getenv("TMPDIR");
  std::string pattern = std::string(dir && dir[0] ? dir : "/tmp") + "/quill-sound-XXXXXX";
  if (pattern.size() >= size_t(kMmioMaxName)) pattern = "/tmp/quill-sound-XXXXXX";
  char buffer[kMmioMaxName];
  std::memcpy(buffer, pattern.c_str(), pattern.size() + 1);
  int fd = mkstemp(buffer);
  if (fd < 0) return false;
  ::close(fd);
  std::memcpy(name, buffer, pattern.size() + 1);
  return true;
}

bool mmioDeleteFile(const char* name) { return NameOk(name) && ::unlink(name) == 0; }

bool mmioExists(const char* name) {
  struct stat st;
  return NameOk(name) && ::stat(name, &st) == 0;
}

bool mmioClose(HMMIO h) {
  if (!h) return false;
  bool ok = ::close(h->fd) == 0;
  delete h;
  return ok;
}

long mmioRead(HMMIO h, void* buffer, long count) {
  if (!h || count < 0 || (count > 0 && !buffer)) return -1;
  auto* p = static_cast<uint8_t*>(buffer);
  long done = 0;
  while (done < count) {
    const long want = count - done;
    if (!h->writable && h->pos >= h->windowStart && h->pos < h->windowStart + h->windowLength) {
      const long n = long(std::min<int64_t>(want, h->windowStart + h->windowLength - h->pos));
      std::memcpy(p + done, h->window.get() + (h->pos - h->windowStart), size_t(n));
      done += n;
      h->pos += n;
      continue;
    }
    if (!h->writable && want < kReadAhead) {
      if (!h->window) h->window = std::make_unique_for_overwrite<uint8_t[]>(size_t(kReadAhead));
      const long n = PRead(h->fd, h->window.get(), long(kReadAhead), h->pos);
      h->windowStart = h->pos;
      h->windowLength = n > 0 ? n : 0;
      if (n < 0) return done > 0 ? done : -1;
      if (n == 0) break;
      continue;
    }
    const long n = PRead(h->fd, p + done, want, h->pos);
    if (n < 0) return done > 0 ? done : -1;
    done += n;
    h->pos += n;
    if (n < want) break;
  }
  return done;
}

long mmioWrite(HMMIO h, const void* buffer, long count) {
  if (!h || count < 0 || (count > 0 && !buffer)) return -1;
  auto* p = static_cast<const uint8_t*>(buffer);
  long done = 0;
  while (done < count) {
    ssize_t n = ::pwrite(h->fd, p + done, size_t(count - done), off_t(h->pos + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -1;
    done += long(n);
  }
  h->pos += done;
  h->size = std::max(h->size, h->pos);
  return done;
}

long mmioSeek(HMMIO h, long offset, int origin) {
  if (!h) return -1;
  int64_t base = 0;
  switch (origin) {
    case 0: base = 0; break;
    case 1: base = h->pos; break;
    case 2: base = h->size; break;
    default: return -1;
  }
  // Offsets beyond what a file offset can hold are refused like positions before the start.
  if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0) return -1;
  h->pos = base + offset;
  return long(h->pos);
}

long long mmioFileSize(HMMIO h) { return h ? (long long)h->size : -1; }

unsigned mmioDescend(HMMIO h, MMCKINFO* ck, const MMCKINFO* parent, uint32_t flags) {
  if (!h || !ck) return MMIOERR_INVALIDPARAM;
  const long long fileSize = mmioFileSize(h);
  long start = mmioSeek(h, 0, 1);
  if (fileSize < 0 || start < 0) return MMIOERR_CANNOTSEEK;
  // Everything below is in 64 bits: a chunk's end is offset + size + pad, each up to 2^32.
  uint64_t limit = uint64_t(fileSize);
  if (parent) {
    uint64_t parentEnd = uint64_t(parent->dwDataOffset) + parent->cksize;
    if (parentEnd < limit) limit = parentEnd;
  }
  const uint32_t kind = flags & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST);
  const FOURCC wantId = ck->ckid, wantType = ck->fccType;
  uint64_t pos = uint64_t(start);
  // Every step moves at least 8 bytes forward within a finite file, so the walk ends.
  while (pos + 8 <= limit) {
    if (mmioSeek(h, long(pos), 0) < 0) return MMIOERR_CANNOTSEEK;
    uint8_t head[12];
    if (!ReadExact(h, head, 8)) return MMIOERR_CHUNKNOTFOUND;
    const FOURCC id = Le32(head);
    const uint32_t size = Le32(head + 4);
    const uint64_t dataOffset = pos + 8;
    const uint64_t end = dataOffset + size;
    if (dataOffset > kMaxOffset || end > uint64_t(fileSize)) return MMIOERR_CHUNKNOTFOUND;
    const bool isList = id == FOURCC_RIFF || id == FOURCC_LIST;
    FOURCC type = 0;
    if (isList && size >= 4) {
      if (!ReadExact(h, head + 8, 4)) return MMIOERR_CHUNKNOTFOUND;
      type = Le32(head + 8);
    }
    bool match = false;
    switch (kind) {
      case MMIO_FINDCHUNK: match = id == wantId; break;
      case MMIO_FINDRIFF: match = id == FOURCC_RIFF && size >= 4 && type == wantType; break;
      case MMIO_FINDLIST: match = id == FOURCC_LIST && size >= 4 && type == wantType; break;
      default: match = true; break;
    }
    if (match) {
      ck->ckid = id;
      ck->cksize = size;
      ck->fccType = isList ? type : 0;
      ck->dwDataOffset = uint32_t(dataOffset);
      ck->dwFlags = 0;
      uint64_t inside = dataOffset + (isList && size >= 4 ? 4 : 0);
      return mmioSeek(h, long(inside), 0) < 0 ? MMIOERR_CANNOTSEEK : MMIOERR_NONE;
    }
    if (kind == 0) break;
    pos = end + (size & 1);
  }
  mmioSeek(h, start, 0);
  return MMIOERR_CHUNKNOTFOUND;
}

unsigned mmioAscend(HMMIO h, MMCKINFO* ck, uint32_t flags) {
  if (!h || !ck) return MMIOERR_INVALIDPARAM;
  if (ck->dwFlags & MMIO_DIRTY) {
    long here = mmioSeek(h, 0, 1);
    if (here < 0) return MMIOERR_CANNOTSEEK;
    if (uint64_t(here) < ck->dwDataOffset || uint64_t(here) - ck->dwDataOffset > kMaxOffset)
      return MMIOERR_CANNOTWRITE;
    const uint32_t size = uint32_t(uint64_t(here) - ck->dwDataOffset);
    if (size & 1) {
      const uint8_t pad = 0;
      if (!WriteExact(h, &pad, 1)) return MMIOERR_CANNOTWRITE;
    }
    uint8_t field[4];
    PutLe32(field, size);
    if (mmioSeek(h, long(ck->dwDataOffset) - 4, 0) < 0) return MMIOERR_CANNOTSEEK;
    if (!WriteExact(h, field, 4)) return MMIOERR_CANNOTWRITE;
    ck->cksize = size;
    ck->dwFlags &= ~MMIO_DIRTY;
  }
  const uint64_t next = uint64_t(ck->dwDataOffset) + ck->cksize + (ck->cksize & 1);
  return mmioSeek(h, long(next), 0) < 0 ? MMIOERR_CANNOTSEEK : MMIOERR_NONE;
}

unsigned mmioCreateChunk(HMMIO h, MMCKINFO* ck, uint32_t flags) {
  if (!h || !ck) return MMIOERR_INVALIDPARAM;
  long here = mmioSeek(h, 0, 1);
  if (here < 0) return MMIOERR_CANNOTSEEK;
  if (uint64_t(here) + 8 > kMaxOffset) return MMIOERR_CANNOTWRITE;
  const bool list = flags & (MMIO_CREATERIFF | MMIO_CREATELIST);
  if (flags & MMIO_CREATERIFF) ck->ckid = FOURCC_RIFF;
  if (flags & MMIO_CREATELIST) ck->ckid = FOURCC_LIST;
  uint8_t head[12];
  PutLe32(head, ck->ckid);
  PutLe32(head + 4, ck->cksize);
  PutLe32(head + 8, ck->fccType);
  const long headSize = list ? 12 : 8;
  if (!WriteExact(h, head, headSize)) return MMIOERR_CANNOTWRITE;
  ck->dwDataOffset = uint32_t(here + 8);
  ck->dwFlags = MMIO_DIRTY;
  return MMIOERR_NONE;
}

}  // namespace quill
