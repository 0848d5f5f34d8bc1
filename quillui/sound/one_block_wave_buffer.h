// ZOneBlockWaveBuffer: a whole WAVE sound, format and samples, held in one wave block, loaded
// from and saved to a ZWaveFile.
#pragma once

#include "quillui/sound/wave_block.h"
#include "quillui/sound/wave_format.h"

namespace quill {

class ZWaveFile;

class ZOneBlockWaveBuffer {
 public:
  static constexpr unsigned kDefaultBlockSize = 8192;
  // Larger "fmt " chunks are refused: a record's own size field cannot describe them.
  static constexpr uint32_t kMaxFormatChunk = 0xFFFF;

  // Takes ownership of format (made with new; null: the default format). A block size below 1
  // becomes kDefaultBlockSize.
  explicit ZOneBlockWaveBuffer(ZWaveFormat* format = nullptr, unsigned blockSize = 0);
  virtual ~ZOneBlockWaveBuffer();
  ZOneBlockWaveBuffer(const ZOneBlockWaveBuffer&) = delete;
  ZOneBlockWaveBuffer& operator=(const ZOneBlockWaveBuffer&) = delete;

  // Reads the "fmt " chunk over the record (growing it when the chunk is longer than the
  // record's allocation) and remembers the chunk's length.
  bool LoadFormat(ZWaveFile* file);
  // Writes the record as the "fmt " chunk: a record read from a file with the length of the
  // chunk it was read from, its bytes unchanged; a record made in code with its size. Never
  // more than the record holds.
  bool SaveFormat(ZWaveFile* file);
  // From a file standing inside its WAVE form: the format (kept as it was when there is no
  // "fmt " chunk) and the whole "data" chunk into a new block.
  bool Load(ZWaveFile* file);
  // Into a file created with MMIO_CREATE standing inside its new WAVE form. False without a
  // block.
  bool Save(ZWaveFile* file);

  const ZWaveFormat& Format() const { return *format_; }
  ZWaveBlock* Block() const { return block_; }
  unsigned BlockSize() const { return blockSize_; }
  long DataSize() const { return dataSize_; }

 private:
  ZWaveFormat* format_;
  // Length of the "fmt " chunk the record was last read from; 0 for a record made in code.
  uint32_t fileChunkSize_ = 0;
  ZWaveBlock* block_ = nullptr;
  unsigned blockSize_;
  long dataSize_ = 0;
};

}  // namespace quill
