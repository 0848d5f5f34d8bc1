#include "quillui/app/global_memory.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "quillui/framework/base/containers.h"

namespace quill {

namespace {

// The block's header sits in front of its bytes; the handle is the header.
struct Block {
  uint64_t magic;
  unsigned long size;
  int locks;
};
constexpr uint64_t kMagic = 0x51474C4F42414C31ull;  // "QGLOBAL1"
std::atomic<int> g_failNext{0};

Block* FromHandle(HGLOBAL h) {
  auto* b = reinterpret_cast<Block*>(h);
  return b && b->magic == kMagic ? b : nullptr;
}

}  // namespace

HGLOBAL GlobalAlloc(unsigned flags, unsigned long size) {
  if (g_failNext.load() > 0 && g_failNext.fetch_sub(1) > 0) return nullptr;
  if (uint64_t(size) > kGlobalAllocLimit) return nullptr;
  void* p = (flags & GMEM_ZEROINIT) ? std::calloc(1, sizeof(Block) + size)
                                    : std::malloc(sizeof(Block) + size);
  if (!p) return nullptr;
  auto* b = static_cast<Block*>(p);
  b->magic = kMagic;
  b->size = size;
  b->locks = 0;
  return reinterpret_cast<HGLOBAL>(b);
}

void* GlobalLock(HGLOBAL h) {
  Block* b = FromHandle(h);
  if (!b) return nullptr;
  ++b->locks;
  return b + 1;
}

bool GlobalUnlock(HGLOBAL h) {
  Block* b = FromHandle(h);
  if (!b || b->locks == 0) return false;
  return --b->locks > 0;
}

unsigned long GlobalSize(HGLOBAL h) {
  Block* b = FromHandle(h);
  return b ? b->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  Block* b = FromHandle(h);
  if (!b) return h;
  b->magic = 0;
  std::free(b);
  return nullptr;
}

HGLOBAL ZGlobalAlloc(unsigned flags, unsigned long size) {
  HGLOBAL h = GlobalAlloc(flags, size);
  if (!h) throw xalloc("GlobalAlloc() failed; out of memory", size);
  return h;
}

void FailNextGlobalAllocs(int count) { g_failNext.store(count); }

}  // namespace quill
