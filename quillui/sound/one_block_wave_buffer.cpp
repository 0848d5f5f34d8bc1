#include "quillui/sound/one_block_wave_buffer.h"

#include <algorithm>

#include "quillui/sound/wave_file.h"

namespace quill {

ZOneBlockWaveBuffer::ZOneBlockWaveBuffer(ZWaveFormat* format, unsigned blockSize)
    : format_(format ? format : new ZWaveFormat()),
      blockSize_(int(blockSize) < 1 ? kDefaultBlockSize : blockSize) {}

ZOneBlockWaveBuffer::~ZOneBlockWaveBuffer() {
  delete block_;
  delete format_;
}

bool ZOneBlockWaveBuffer::LoadFormat(ZWaveFile* file) {
  if (!file || !file->open_format()) return false;
  const uint32_t chunkSize = file->CurrentChunk()->cksize;
  if (chunkSize > kMaxFormatChunk) {
    file->ascend_chunk();
    return false;
  }
  if (format_->size() < chunkSize) {
    ZWaveFormat* bigger = new (int(chunkSize)) ZWaveFormat(int(chunkSize));
    delete format_;
    format_ = bigger;
  }
  // The chunk fits the record now (or the record is longer than the chunk).
  const long want = long(std::min<size_t>(chunkSize, ZWaveFormat::Capacity(format_)));
  file->read_data(format_->Bytes(), want);
  file->ascend_chunk();
  return true;
}

bool ZOneBlockWaveBuffer::SaveFormat(ZWaveFile* file) {
  if (!file || !file->create_format()) return false;
  // The size field may have come from a file and claim more than the record holds.
  const long bytes = long(std::min<size_t>(format_->size(), ZWaveFormat::Capacity(format_)));
  file->write_data(format_->Bytes(), bytes);
  file->ascend_chunk();
  return true;
}

bool ZOneBlockWaveBuffer::Load(ZWaveFile* file) {
  delete block_;
  block_ = nullptr;
  if (!file) return false;
  LoadFormat(file);
  if (!file->open_data()) return false;
  // The chunk lies within the file (the walk checks that), so the block is at most as large
  // as the bytes really there.
  dataSize_ = long(file->CurrentChunk()->cksize);
  blockSize_ = unsigned(dataSize_);
  block_ = new ZWaveBlock();
  if (!block_->Imp().Init(std::max<long>(dataSize_, format_->BlockAlign()))) {
    file->ascend_chunk();
    return false;
  }
  const bool ok = block_->Imp().Load(file, std::min<long>(long(blockSize_), dataSize_));
  file->ascend_chunk();
  return ok;
}

bool ZOneBlockWaveBuffer::Save(ZWaveFile* file) {
  if (!block_ || !file) return false;  // "psBlock": nothing to save
  SaveFormat(file);
  if (!file->create_data()) return false;
  if (block_->Imp().DataLength() > 0) block_->Imp().Save(file);
  file->ascend_chunk();
  return true;
}

}  // namespace quill
