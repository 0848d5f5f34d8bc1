#include "quillui/profile/hour_glass.h"

#include "support/headless_fixture.h"

namespace quill::test {
namespace {

class HourGlassTest : public HeadlessTest {};

TEST_F(HourGlassTest, ShowsTheWaitCursorWhileItLivesAndNestsBack) {
  SetCursor(TCursorShape::Hand);
  {
    ZHourGlass outer;
    EXPECT_EQ(GetCursor(), TCursorShape::Wait);
    {
      ZHourGlass inner;
      EXPECT_EQ(GetCursor(), TCursorShape::Wait);
    }
    EXPECT_EQ(GetCursor(), TCursorShape::Wait);  // the outer one still lives
  }
  EXPECT_EQ(GetCursor(), TCursorShape::Hand);
}

}  // namespace
}  // namespace quill::test
