#include "quillui/navigation/bookmark_block.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace quill {

namespace {

struct Fd {
  explicit Fd(int fd) : fd(fd) {}
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int fd;
};

}  // namespace

ZBookmarkBlock::Ref ZBookmarkBlock::ReadFile(const std::string& path) {
  Fd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0)
    return nullptr;
  // The size from fstat bounds the buffer; a file that grows while read is cut there.
  const size_t size = size_t(std::min<uint64_t>(uint64_t(st.st_size), kMaxFileBytes));
  Ref block(new ZBookmarkBlock);
  if (size > 0) block->bytes_ = std::make_unique_for_overwrite<uint8_t[]>(size);
  size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(file.fd, block->bytes_.get() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += size_t(n);
  }
  block->size_ = got;
  return block;
}

ZBookmarkBlock::Ref ZBookmarkBlock::FromBytes(std::span<const uint8_t> bytes) {
  Ref block(new ZBookmarkBlock);
  if (!bytes.empty()) {
    block->bytes_ = std::make_unique_for_overwrite<uint8_t[]>(bytes.size());
    std::memcpy(block->bytes_.get(), bytes.data(), bytes.size());
  }
  block->size_ = bytes.size();
  return block;
}

ZBookmarkBlock::~ZBookmarkBlock() {
  for (void* chunk : chunks_) ::operator delete(chunk, std::align_val_t(kSlotAlign));
}

void* ZBookmarkBlock::NewChunkSlot(size_t slotSize) {
  if (slotSize == 0 || slotSize > kMaxSlotSize) throw std::bad_alloc();
  const size_t bytes = slotSize * kSlotsPerChunk;
  chunks_.reserve(chunks_.size() + 1);
  chunks_.push_back(::operator new(bytes, std::align_val_t(kSlotAlign)));
  chunkBase_ = static_cast<uint8_t*>(chunks_.back());
  chunkBytes_ = bytes;
  chunkUsed_ = slotSize;
  ++refs_;
  return chunkBase_;
}

}  // namespace quill
