// ZRiffFile: a RIFF file with the stack of chunks its caller has entered, so a reader can step
// into a form, into a chunk and out again without keeping chunk records itself.
#pragma once

#include "quillui/sound/mmio.h"

namespace quill {

class ZRiffFile {
 public:
  static constexpr int kMaxDepth = 10;

  ZRiffFile();
  ZRiffFile(const char* fileName, long flags);
  // Closes an open file; a temporary file (MMIO_GETTEMP) is then deleted.
  virtual ~ZRiffFile();
  ZRiffFile(const ZRiffFile&) = delete;
  ZRiffFile& operator=(const ZRiffFile&) = delete;

  // True when a handle was obtained. With MMIO_GETTEMP the name is replaced by that of a new
  // temporary file; a name of kMmioMaxName characters or more is refused.
  bool open(const char* fileName, long flags);
  // Leaves every entered chunk (completing the headers of chunks being written), then closes.
  bool close();

  bool open_section(unsigned long formType);
  bool create_section(unsigned long formType);
  bool close_section(unsigned long unused = 0);
  bool create_chunk(unsigned long chunkId);
  bool descend_chunk(unsigned long chunkId);
  bool ascend_chunk();

  bool IsOpen() const { return handle_ != nullptr; }
  int Depth() const { return depth_; }
  const char* FileName() const { return fileName_; }
  long Flags() const { return long(openFlags_); }
  // The record of the current chunk, or null at depth -1.
  const MMCKINFO* CurrentChunk() const { return depth_ >= 0 ? &stack_[depth_] : nullptr; }

 protected:
  HMMIO Handle() const { return handle_; }
  MMCKINFO* CurrentChunkRecord() { return depth_ >= 0 ? &stack_[depth_] : nullptr; }

 private:
  bool Enter(MMCKINFO ck, bool create, uint32_t flags, bool withParent);
  bool Leave();

  uint32_t openFlags_ = 0;
  HMMIO handle_ = nullptr;
  char fileName_[kMmioMaxName] = {};
  MMCKINFO stack_[kMaxDepth] = {};
  int depth_ = -1;
};

}  // namespace quill
