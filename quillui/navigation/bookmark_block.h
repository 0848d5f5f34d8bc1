// ZBookmarkBlock: the bytes of a bookmark list file held in memory together with the bookmarks
// made from them, so a list of thousands is read with one allocation for its bytes and one per
// few hundred bookmarks instead of three per bookmark. Bookmarks made in a block view their
// name and text in its bytes; the block lives until its last bookmark and its reader are gone,
// so one bookmark kept after the rest of its list was deleted keeps the whole block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class ZBookmarkBlock {
 public:
  // Reading stops here; records past it are left out as if the file ended there.
  static constexpr uint64_t kMaxFileBytes = uint64_t(64) << 20;

  struct Releaser {
    void operator()(ZBookmarkBlock* block) const { block->Release(); }
  };
  using Ref = std::unique_ptr<ZBookmarkBlock, Releaser>;

  // A block holding the file's bytes (the first kMaxFileBytes of them), or null when the file
  // cannot be opened or is not a regular file. A read error or a file that shrinks while read
  // gives the bytes read up to there.
  static Ref ReadFile(const std::string& path);
  // A block holding a copy of bytes.
  static Ref FromBytes(std::span<const uint8_t> bytes);

  ZBookmarkBlock(const ZBookmarkBlock&) = delete;
  ZBookmarkBlock& operator=(const ZBookmarkBlock&) = delete;

  std::span<const uint8_t> Bytes() const { return {bytes_.get(), size_}; }
  // Whether text lies wholly within the block's bytes.
  bool Holds(std::string_view text) const {
    const auto begin = reinterpret_cast<uintptr_t>(bytes_.get());
    const auto at = reinterpret_cast<uintptr_t>(text.data());
    return at >= begin && text.size() <= size_ && at - begin <= size_ - text.size();
  }

  // Storage for one object of slotSize bytes (at most kMaxSlotSize, 16-aligned), which holds a
  // reference to the block until it is given back with Release.
  static constexpr size_t kMaxSlotSize = 256;
  void* NewSlot(size_t slotSize) {
    slotSize = (slotSize + kSlotAlign - 1) & ~(kSlotAlign - 1);
    if (slotSize == 0 || slotSize > kMaxSlotSize || chunkBytes_ - chunkUsed_ < slotSize)
      return NewChunkSlot(slotSize);
    void* slot = chunkBase_ + chunkUsed_;
    chunkUsed_ += slotSize;
    ++refs_;
    return slot;
  }

  // References: the reader's, and one per slot in use. Blocks belong to the thread that reads
  // them, as bookmarks belong to the UI thread; the count is not atomic.
  void Retain() { ++refs_; }
  void Release() {
    if (--refs_ == 0) delete this;
  }

 private:
  static constexpr size_t kSlotsPerChunk = 256;
  static constexpr size_t kSlotAlign = 16;

  void* NewChunkSlot(size_t slotSize);

  ZBookmarkBlock() = default;
  ~ZBookmarkBlock();

  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
  std::vector<void*> chunks_;
  uint8_t* chunkBase_ = nullptr;  // chunks_.back()
  size_t chunkUsed_ = 0;          // bytes used of chunks_.back()
  size_t chunkBytes_ = 0;         // size of chunks_.back()
  size_t refs_ = 1;
};

}  // namespace quill
