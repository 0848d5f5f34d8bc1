// Owning and non-owning pointer arrays.
#include <gtest/gtest.h>

#include "quillui/framework/base/containers.h"

namespace quill {
namespace {

struct Counted {
  explicit Counted(int* live) : live(live) { ++*live; }
  ~Counted() { --*live; }
  int* live;
};

TEST(ContainersTest, OwningArrayDeletesWhatItStillHolds) {
  int live = 0;
  Counted* kept = nullptr;
  {
    TIPtrArray<Counted> owned;
    for (int i = 0; i < 4; ++i) owned.Add(new Counted(&live));
    kept = owned[1];
    EXPECT_TRUE(owned.Detach(kept));
    EXPECT_TRUE(owned.Destroy(owned[0]));
    EXPECT_FALSE(owned.DestroyAt(9));
    EXPECT_EQ(live, 3);
    EXPECT_EQ(owned.Size(), 2u);
  }
  EXPECT_EQ(live, 1);  // only the detached one survives its array
  delete kept;
}

TEST(ContainersTest, NonOwningArrayKeepsOrderAndLeavesElementsAlone) {
  int a = 1, b = 2, c = 3;
  TPtrArray<int> refs;
  refs.Add(&a);
  refs.Add(&c);
  refs.AddAt(&b, 1);
  refs.AddAt(&c, 99);  // past the end appends
  EXPECT_EQ(refs.Find(&b), 1);
  EXPECT_EQ(*refs[3], 3);
  EXPECT_TRUE(refs.DetachAt(0));
  EXPECT_EQ(refs.Find(&a), -1);
  EXPECT_THROW((void)refs[10], std::out_of_range);
}

TEST(ContainersTest, AllocationFailureBecomesOutOfMemory) {
  try {
    WithOutOfMemoryError([]() -> int { throw std::bad_alloc(); });
    FAIL();
  } catch (const xalloc& e) {
    EXPECT_STREQ(e.what(), "out of memory");
  }
}

}  // namespace
}  // namespace quill
