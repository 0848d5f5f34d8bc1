// Wave blocks: one header and one sample buffer in locked global memory (ZWaveBlockImp),
// shared by reference-counted handles (ZWaveBlock) so the device and its caller hold the same
// block.
#pragma once

#include "quillui/app/global_memory.h"
#include "quillui/sound/wave_out_api.h"

namespace quill {

class ZWaveFile;

class ZWaveBlockImp {
 public:
  ZWaveBlockImp() = default;
  ~ZWaveBlockImp();
  ZWaveBlockImp(const ZWaveBlockImp&) = delete;
  ZWaveBlockImp& operator=(const ZWaveBlockImp&) = delete;

  // Gives the block a zero-filled buffer of size bytes (replacing any earlier one). False
  // when the memory cannot be had or size is negative; the block then holds no buffer.
  bool Init(long size);
  // Reads count bytes from the file's current position into the buffer; true when exactly
  // that many came. The data length is what was read.
  bool Load(ZWaveFile* file, long count);
  // Writes the data held; true when all of it was written.
  bool Save(ZWaveFile* file);

  WAVEHDR* Header() const { return header_; }
  uint8_t* Data() const { return header_ ? header_->lpData : nullptr; }
  unsigned long BufferSize() const { return header_ ? header_->dwBufferLength : 0; }
  long DataLength() const { return dataLength_; }
  int RefCount() const { return refCount_; }

  // Kept for the block's owner, read by nothing here: bQueued is set while the block is in a
  // device's queue or playing, bDone while it is not (both kept up by ZBlockWaveOutDevice).
  bool bQueued = false;
  bool bDone = true;

 private:
  friend class ZWaveBlock;
  void FreeBuffer();

  HGLOBAL headerMem_ = nullptr;
  HGLOBAL bufferMem_ = nullptr;
  WAVEHDR* header_ = nullptr;
  int refCount_ = 0;
  long dataLength_ = 0;
};

class ZWaveBlock {
 public:
  // A block with a fresh body.
  ZWaveBlock();
  ZWaveBlock(const ZWaveBlock& other);
  ZWaveBlock& operator=(const ZWaveBlock& other);
  ~ZWaveBlock();

  ZWaveBlockImp* operator->() const { return imp_; }
  ZWaveBlockImp& Imp() const { return *imp_; }
  WAVEHDR* Header() const { return imp_->Header(); }
  bool SharesBodyWith(const ZWaveBlock& other) const { return imp_ == other.imp_; }

 private:
  void Release();
  ZWaveBlockImp* imp_;
};

}  // namespace quill
