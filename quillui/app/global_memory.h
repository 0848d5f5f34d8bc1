// Global memory blocks: the movable, lockable blocks that wave buffers live in, and
// ZGlobalAlloc, which raises the out-of-memory error instead of answering null.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quill {

struct HGLOBAL__;
using HGLOBAL = HGLOBAL__*;

inline constexpr unsigned GMEM_FIXED = 0x0000;
inline constexpr unsigned GMEM_MOVEABLE = 0x0002;
inline constexpr unsigned GMEM_ZEROINIT = 0x0040;
inline constexpr unsigned GMEM_SHARE = 0x2000;
inline constexpr unsigned GMEM_DDESHARE = GMEM_SHARE;
inline constexpr unsigned GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// Blocks larger than this are refused as a failed allocation.
inline constexpr uint64_t kGlobalAllocLimit = uint64_t(1) << 31;

// Null when the block cannot be had.
HGLOBAL GlobalAlloc(unsigned flags, unsigned long size);
void* GlobalLock(HGLOBAL block);
bool GlobalUnlock(HGLOBAL block);
unsigned long GlobalSize(HGLOBAL block);
// Frees the block; answers null on success, as the classic call does.
HGLOBAL GlobalFree(HGLOBAL block);

// GlobalAlloc that raises xalloc("GlobalAlloc() failed; out of memory", size) on failure.
HGLOBAL ZGlobalAlloc(unsigned flags, unsigned long size);

// Tests: make the next count allocations fail.
void FailNextGlobalAllocs(int count);

}  // namespace quill
