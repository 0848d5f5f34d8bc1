// What the frame does with the library's messages to it beyond fired bookmarks.
#include "host_fixture.h"
#include "quillui/app/ini_changed.h"
#include "quillui/navigation/routing.h"

namespace quillonary {
namespace {

using namespace quill;

TEST_F(HostTest, TheFrameKeepsHintTextsAndReadsItsRoutingAgainWhenTheSettingsChange) {
  StartHost();
  // The Article pane's bookmark button under the mouse.
  platform::InputEvent move;
  move.x = 728, move.y = 578;
  host->Inject(move);
  host->Wait(100);
  EXPECT_EQ(host->Frame().HintText(), "Saves a bookmark for this place");

  const int routes = GetRouting().GetCount();
  ASSERT_GT(routes, 0);
  NotifyIniChanged();
  host->Settle();
  EXPECT_EQ(GetRouting().GetCount(), routes);  // read again, not appended
}

}  // namespace
}  // namespace quillonary
