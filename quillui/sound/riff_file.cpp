#include "quillui/sound/riff_file.h"

#include <cstring>

namespace quill {

ZRiffFile::ZRiffFile() = default;

ZRiffFile::ZRiffFile(const char* fileName, long flags) { open(fileName, flags); }

ZRiffFile::~ZRiffFile() {
  close();
  if ((openFlags_ & MMIO_GETTEMP) && fileName_[0]) mmioDeleteFile(fileName_);
}

bool ZRiffFile::open(const char* fileName, long flags) {
  if (handle_) close();
  if (fileName) {
    // A name that does not fit is refused outright rather than cut to another file's name.
    if (strnlen(fileName, kMmioMaxName) >= size_t(kMmioMaxName)) return false;
    std::strcpy(fileName_, fileName);
  }
  const uint32_t f = uint32_t(flags);
  if (f & MMIO_GETTEMP) {
    if (!mmioGetTempName(fileName_)) return false;
  }
  openFlags_ = f;
  handle_ = mmioOpen(fileName_, f & ~MMIO_GETTEMP);
  return handle_ != nullptr;
}

bool ZRiffFile::close() {
  if (handle_) {
    while (depth_ >= 0)
      if (!Leave()) break;
    mmioClose(handle_);
    handle_ = nullptr;
  }
  depth_ = -1;
  return true;
}

bool ZRiffFile::Enter(MMCKINFO ck, bool create, uint32_t flags, bool withParent) {
  if (!handle_ || depth_ + 1 >= kMaxDepth) return false;
  const MMCKINFO* parent = withParent && depth_ >= 0 ? &stack_[depth_] : nullptr;
  unsigned r =
      create ? mmioCreateChunk(handle_, &ck, flags) : mmioDescend(handle_, &ck, parent, flags);
  if (r != MMIOERR_NONE) return false;
  stack_[++depth_] = ck;
  return true;
}

bool ZRiffFile::Leave() {
  if (!handle_ || depth_ < 0) return false;
  if (mmioAscend(handle_, &stack_[depth_], 0) != MMIOERR_NONE) return false;
  --depth_;
  return true;
}

bool ZRiffFile::open_section(unsigned long formType) {
  MMCKINFO ck;
  ck.fccType = FOURCC(formType);
  return Enter(ck, false, MMIO_FINDRIFF, false);
}

bool ZRiffFile::create_section(unsigned long formType) {
  MMCKINFO ck;
  ck.fccType = FOURCC(formType);
  return Enter(ck, true, MMIO_CREATERIFF, false);
}

bool ZRiffFile::close_section(unsigned long) { return Leave(); }

bool ZRiffFile::create_chunk(unsigned long chunkId) {
  MMCKINFO ck;
  ck.ckid = FOURCC(chunkId);
  return Enter(ck, true, 0, true);
}

bool ZRiffFile::descend_chunk(unsigned long chunkId) {
  MMCKINFO ck;
  ck.ckid = FOURCC(chunkId);
  return Enter(ck, false, MMIO_FINDCHUNK, true);
}

bool ZRiffFile::ascend_chunk() { return Leave(); }

}  // namespace quill
