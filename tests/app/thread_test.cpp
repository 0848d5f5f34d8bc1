#include "quillui/app/thread_table.h"
#include "quillui/testing/app.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

namespace quill {
namespace {

// Each thread waits until it is asked to stop; nothing here depends on real time passing.
void WaitForStop(std::stop_token token) {
  std::mutex m;
  std::condition_variable_any cv;
  std::unique_lock lock(m);
  cv.wait(lock, token, [] { return false; });
}

class ThreadTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetThreadTable(); }
  void TearDown() override { ResetThreadTable(); }
};

TEST_F(ThreadTableTest, TenSlotsAndTheEleventhIsNotTracked) {
  std::vector<std::unique_ptr<ZLibraryThread>> threads;
  for (int i = 0; i < 11; ++i) threads.push_back(std::make_unique<ZLibraryThread>(WaitForStop));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(threads[size_t(i)]->Slot(), i);
  EXPECT_EQ(threads[10]->Slot(), -1);
  EXPECT_EQ(TrackedThreadCount(), 10);

  CleanupLooseThreads();
  EXPECT_EQ(TrackedThreadCount(), 0);
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(threads[size_t(i)]->Stopper()->StopRequested());
    threads[size_t(i)]->Join();  // they stopped when asked
  }
  // The untracked one was never asked.
  EXPECT_FALSE(threads[10]->Stopper()->StopRequested());
  EXPECT_FALSE(threads[10]->Stopper()->IsFinished());
}

TEST_F(ThreadTableTest, SlotsAreReusedAfterDetach) {
  auto a = std::make_unique<ZLibraryThread>(WaitForStop);
  auto b = std::make_unique<ZLibraryThread>(WaitForStop);
  EXPECT_EQ(a->Slot(), 0);
  EXPECT_EQ(b->Slot(), 1);
  a.reset();  // asks and joins; the thread detaches on its way out
  EXPECT_EQ(TrackedThreadCount(), 1);
  auto c = std::make_unique<ZLibraryThread>(WaitForStop);
  EXPECT_EQ(c->Slot(), 0);
}

TEST_F(ThreadTableTest, SlotsWithoutAHandleAndTheCallerAreLeftAlone) {
  std::atomic<bool> release{false};
  std::mutex m;
  std::condition_variable cv;
  int slot = -2;
  std::thread bare([&] {
    int s = AttachLibraryThread(nullptr);
    {
      std::lock_guard lock(m);
      slot = s;
    }
    cv.notify_all();
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return release.load(); });
    DetachLibraryThread();
  });
  {
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return slot != -2; });
  }
  EXPECT_EQ(slot, 0);
  // The caller's own slot, with a handle, is not waited for.
  auto self = std::make_shared<ZThreadStopper>();
  EXPECT_EQ(AttachLibraryThread(self), 1);
  EXPECT_EQ(AttachLibraryThread(self), 1);  // attaching again keeps the slot

  CleanupLooseThreads();
  EXPECT_EQ(TrackedThreadCount(), 2);
  EXPECT_FALSE(self->StopRequested());

  DetachLibraryThread();
  EXPECT_TRUE(self->IsFinished());
  {
    std::lock_guard lock(m);
    release = true;
  }
  cv.notify_all();
  bare.join();
  EXPECT_EQ(TrackedThreadCount(), 0);
}

}  // namespace
}  // namespace quill
