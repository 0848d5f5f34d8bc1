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
  // The record grows by what it really holds: its size field came from the last file and may
  // claim more (or less) than was allocated.
  if (ZWaveFormat::Capacity(format_) < chunkSize) {
    ZWaveFormat* bigger = new (int(chunkSize)) ZWaveFormat(int(chunkSize));
    delete format_;
    format_ = bigger;
  }
  const long got = file->read_data(format_->Bytes(), long(chunkSize));
  file->ascend_chunk();
  // Saved again, the record is written with the length of the chunk it came from.
  fileChunkSize_ = got > 0 ? uint32_t(got) : 0;
  return true;
}

bool ZOneBlockWaveBuffer::SaveFormat(ZWaveFile* file) {
  if (!file || !file->create_format()) return false;
  // A record read from a file goes back as the chunk it was (in files the field at offset 16
  // counts the bytes after an 18-byte record, not the record). A record built here is written
  // with its size, never past what it holds.
  const size_t capacity = ZWaveFormat::Capacity(format_);
  const size_t bytes =
      std::min<size_t>(fileChunkSize_ > 0 ? fileChunkSize_ : format_->size(), capacity);
  file->write_data(format_->Bytes(), long(bytes));
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
