// Saving must never leave a half-written list behind: a child process saves 10,000 bookmarks
// over and over and is killed at random moments; the file must always hold the list from
// before or the new one, whole. Real time is used here on purpose (kills land mid-write).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <thread>

#include "nav_test_support.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/bookmark_lists.h"

namespace quill::test {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kCount = 10000;
constexpr int kRounds = 200;

// The first and the last bookmark carry the round number, so a file that mixed two rounds
// (new bytes at the front, old ones at the back) matches neither.
std::string Stamped(int i, int round) {
  char stamp[8];
  std::snprintf(stamp, sizeof stamp, "%04d", round);
  return "ArticleWin codedref=" + std::to_string(i) + " round=" + stamp + " md=ARTI";
}

void Stamp(int round) {
  GetUserBookmark(0)->SetText(Stamped(0, round));
  GetUserBookmark(kCount - 1)->SetText(Stamped(kCount - 1, round));
}

// Reads the file into bytes, reusing its memory: the parent must not churn megabytes per
// round, or every fork has more memory to copy.
void ReadWhole(const std::string& path, Bytes& bytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  bytes.resize(in ? size_t(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
}

class BmkCrashTest : public NavTest {
 protected:
  // Turns bytes of the list into those of the list stamped with round, in place.
  void StampBytes(Bytes& bytes, int round) const {
    char stamp[8];
    std::snprintf(stamp, sizeof stamp, "%04d", round);
    for (size_t at : stampAt) std::copy(stamp, stamp + 4, bytes.begin() + std::ptrdiff_t(at));
  }
  std::vector<size_t> stampAt;
};

TEST_F(BmkCrashTest, KilledWhileSavingLeavesTheOldOrTheNewList) {
  const std::string path = (dir / "crash.bmk").string();
  GetUserBookmarks().SetFileName(path);
  for (int i = 0; i < kCount; ++i)
    QuietlyAddUserBookmark(
        std::make_unique<ZBookmark>("ARTI", "Article " + std::to_string(i),
                                    i == 0 || i == kCount - 1 ? Stamped(i, 0) : Stamped(i, 9999)));
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(WriteUserBookmarks());
  const auto saveUs = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
  Bytes current;
  {
    omemstream os;
    WriteBmk(os, GetUserBookmarks());
    current = os.bytes();
    const Bytes& base = current;
    const std::string marker = "round=0000";
    for (auto it = base.begin();
         (it = std::search(it, base.end(), marker.begin(), marker.end())) != base.end(); ++it)
      stampAt.push_back(size_t(it - base.begin()) + 6);
    ASSERT_EQ(stampAt.size(), 2u);
  }

  // Kills land anywhere from before the first byte to after a few whole saves: 0-20 ms, or
  // up to one and a half saves where a save takes longer (sanitizer builds).
  std::mt19937 random(20240611u);
  std::uniform_int_distribution<long> delayUs(0, std::max<long>(20000, long(saveUs) * 3 / 2));
  int currentRound = 0;
  Bytes next = current;
  Bytes onDisk;
  int sawOld = 0;
  int sawNew = 0;
  // A loaded machine can push every random kill to one side of the replacement; extra rounds
  // then aim at the missing side (at once, or after ever longer waits) until both are seen.
  long longDelay = 50000 + long(saveUs) * 3;
  for (int round = 1;
       round <= kRounds || ((sawOld == 0 || sawNew == 0) && round <= kRounds + kRounds / 4);
       ++round) {
    Stamp(round);
    const long delay = round <= kRounds ? delayUs(random) : sawNew == 0 ? longDelay : 0;
    if (round > kRounds && sawNew == 0) longDelay = std::min(2 * longDelay, 2000000L);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) WriteUserBookmarks();
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    StampBytes(next, round);
    ReadWhole(path, onDisk);
    const bool isOld = onDisk == current;
    const bool isNew = onDisk == next;
    ASSERT_TRUE(isOld || isNew) << "round " << round << ", killed after " << delay
                                << " us: " << onDisk.size() << " bytes";
    sawOld += isOld;
    sawNew += isNew;
    if (isNew) {
      currentRound = round;
      std::swap(current, next);
    }
  }
  // Both outcomes happened, so kills really landed before and after the replacement.
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);

  // The survivor reads back as the whole list of the round it came from.
  ReadUserBookmarks(0);
  ASSERT_EQ(GetUserBookmarks().GetCount(), kCount);
  EXPECT_EQ(GetUserBookmark(kCount - 1)->GetText(), Stamped(kCount - 1, currentRound));
}

}  // namespace
}  // namespace quill::test
