#include "quillui/sound/wave_block.h"

#include "quillui/framework/base/containers.h"
#include "quillui/sound/wave_file.h"

namespace quill {

namespace {
// Movable, zero-initialised and shared, so a driver may read the block while the program runs.
constexpr unsigned kBlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE;
}  // namespace

ZWaveBlockImp::~ZWaveBlockImp() {
  FreeBuffer();
  if (headerMem_) {
    GlobalUnlock(headerMem_);
    GlobalFree(headerMem_);
  }
}

void ZWaveBlockImp::FreeBuffer() {
  if (bufferMem_) {
    GlobalUnlock(bufferMem_);
    GlobalFree(bufferMem_);
    bufferMem_ = nullptr;
  }
  if (header_) {
    header_->lpData = nullptr;
    header_->dwBufferLength = 0;
  }
  dataLength_ = 0;
}

bool ZWaveBlockImp::Init(long size) {
  if (size < 0 || uint64_t(size) > 0xFFFFFFFFull) return false;
  // ZGlobalAlloc raises on failure; a block that cannot be had is a plain false here, since
  // its size usually comes from a file.
  try {
    if (!headerMem_) {
      headerMem_ = ZGlobalAlloc(kBlockFlags, sizeof(WAVEHDR));
      header_ = static_cast<WAVEHDR*>(GlobalLock(headerMem_));
      if (!header_) {
        GlobalFree(headerMem_);
        headerMem_ = nullptr;
        return false;
      }
    }
    FreeBuffer();
    bufferMem_ = ZGlobalAlloc(kBlockFlags, static_cast<unsigned long>(size));
  } catch (const xalloc&) {
    return false;
  }
  auto* data = static_cast<uint8_t*>(GlobalLock(bufferMem_));
  if (!data) {
    GlobalFree(bufferMem_);
    bufferMem_ = nullptr;
    return false;
  }
  header_->lpData = data;
  header_->dwBufferLength = uint32_t(size);
  return true;
}

bool ZWaveBlockImp::Load(ZWaveFile* file, long count) {
  if (!file || count < 0 || uint64_t(count) > BufferSize()) return false;
  dataLength_ = file->read_data(Data(), count);
  if (dataLength_ < 0) dataLength_ = 0;
  return dataLength_ == count;
}

bool ZWaveBlockImp::Save(ZWaveFile* file) {
  if (!file) return false;
  return file->write_data(Data(), dataLength_) == dataLength_;
}

ZWaveBlock::ZWaveBlock() : imp_(new ZWaveBlockImp) { imp_->refCount_ = 1; }

ZWaveBlock::ZWaveBlock(const ZWaveBlock& other) : imp_(other.imp_) { ++imp_->refCount_; }

ZWaveBlock& ZWaveBlock::operator=(const ZWaveBlock& other) {
  if (imp_ != other.imp_) {
    ++other.imp_->refCount_;
    Release();
    imp_ = other.imp_;
  }
  return *this;
}

ZWaveBlock::~ZWaveBlock() { Release(); }

void ZWaveBlock::Release() {
  if (--imp_->refCount_ == 0) delete imp_;
  imp_ = nullptr;
}

}  // namespace quill
