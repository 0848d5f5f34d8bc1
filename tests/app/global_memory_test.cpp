#include "quillui/app/global_memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "quillui/framework/base/containers.h"

namespace quill {
namespace {

TEST(ZGlobalAlloc, RaisesWithTheTextAndSizeWhenNoBlockCanBeHad) {
  FailNextGlobalAllocs(1);
  try {
    ZGlobalAlloc(GHND, 4096);
    FAIL() << "no exception";
  } catch (const xalloc& e) {
    EXPECT_STREQ(e.what(), "GlobalAlloc() failed; out of memory");
    EXPECT_EQ(e.requested(), 4096u);
  }
  // Beyond the limit is a failure too, never an attempt.
  EXPECT_THROW(ZGlobalAlloc(GMEM_FIXED, (unsigned long)(kGlobalAllocLimit + 1)), xalloc);

  HGLOBAL h = ZGlobalAlloc(GHND, 64);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 64u);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(h));
  ASSERT_NE(bytes, nullptr);
  unsigned char zero[64] = {};
  EXPECT_EQ(std::memcmp(bytes, zero, 64), 0);  // GHND zero-fills
  GlobalUnlock(h);
  EXPECT_EQ(GlobalFree(h), nullptr);
}

}  // namespace
}  // namespace quill
