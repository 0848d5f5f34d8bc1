// The table of threads that entered the library (10 slots) and CleanupLooseThreads, which
// asks the ones still recorded to stop. Threads are asked, never killed: ending a thread by
// force can leave locks held and data half-written.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace quill {

inline constexpr int kMaxTrackedThreads = 10;
// How long CleanupLooseThreads waits for each thread to stop.
inline constexpr std::chrono::milliseconds kLooseThreadWait{500};

// A tracked thread's handle: how to ask it to stop, and how to learn that it has.
class ZThreadStopper {
 public:
  void RequestStop() { source_.request_stop(); }
  bool StopRequested() const { return source_.stop_requested(); }
  std::stop_token Token() const { return source_.get_token(); }

  void MarkFinished();
  bool IsFinished() const;
  // Real time: this is about other threads, not the framework's clock.
  bool WaitFinished(std::chrono::milliseconds timeout);

 private:
  std::stop_source source_;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  bool finished_ = false;
};

// The calling thread takes the first free slot, with stopper as its handle (null: a thread
// that cannot be asked to stop). Answers the slot, or -1 when all are taken (the thread is
// then not tracked). A thread already tracked keeps its slot.
int AttachLibraryThread(std::shared_ptr<ZThreadStopper> stopper);
// Frees the calling thread's slot, if it has one, and marks its stopper finished.
void DetachLibraryThread();
// How many slots are taken.
int TrackedThreadCount();

// For every slot holding a thread and a handle, in slot order: ask it to stop, wait up to
// kLooseThreadWait for it to finish, and free the slot. Slots without a handle stay, and so
// does the caller's own slot (it would only wait for itself). Call it from the host, never
// from inside the library.
void CleanupLooseThreads();

// A thread that runs inside the library: tracked while it runs, asked to stop through its
// token. The constructor returns once the thread has taken (or failed to take) its slot.
class ZLibraryThread {
 public:
  explicit ZLibraryThread(std::function<void(std::stop_token)> body);
  ZLibraryThread(const ZLibraryThread&) = delete;
  ZLibraryThread& operator=(const ZLibraryThread&) = delete;
  // Asks the thread to stop and waits for it.
  ~ZLibraryThread();

  // The slot it took, or -1 when it is not tracked (or could not be started).
  int Slot() const { return slot_; }
  bool Started() const { return thread_.joinable(); }
  const std::shared_ptr<ZThreadStopper>& Stopper() const { return stopper_; }
  void Join();

 private:
  std::shared_ptr<ZThreadStopper> stopper_;
  int slot_ = -1;
  std::thread thread_;
};

}  // namespace quill
