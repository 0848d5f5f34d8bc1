#include "quillui/app/thread_table.h"

#include <array>
#include <future>
#include <system_error>
#include <vector>

namespace quill {

namespace {

struct Slot {
  std::thread::id id;  // default: free
  std::shared_ptr<ZThreadStopper> handle;
};

struct Table {
  std::mutex mutex;
  std::array<Slot, kMaxTrackedThreads> slots;
};

Table& T() {
  static Table table;
  return table;
}

}  // namespace

void ZThreadStopper::MarkFinished() {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  cv_.notify_all();
}

bool ZThreadStopper::IsFinished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

bool ZThreadStopper::WaitFinished(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return cv_.wait_for(lock, timeout, [this] { return finished_; });
}

int AttachLibraryThread(std::shared_ptr<ZThreadStopper> stopper) {
  Table& t = T();
  std::lock_guard lock(t.mutex);
  const std::thread::id self = std::this_thread::get_id();
  for (size_t i = 0; i < t.slots.size(); ++i) {
    if (t.slots[i].id == self) return int(i);
  }
  for (size_t i = 0; i < t.slots.size(); ++i) {
    if (t.slots[i].id == std::thread::id()) {
      t.slots[i].id = self;
      t.slots[i].handle = std::move(stopper);
      return int(i);
    }
  }
  return -1;
}

void DetachLibraryThread() {
  std::shared_ptr<ZThreadStopper> handle;
  {
    Table& t = T();
    std::lock_guard lock(t.mutex);
    const std::thread::id self = std::this_thread::get_id();
    for (Slot& s : t.slots) {
      if (s.id == self) {
        handle = std::move(s.handle);
        s = Slot{};
        break;
      }
    }
  }
  if (handle) handle->MarkFinished();
}

int TrackedThreadCount() {
  Table& t = T();
  std::lock_guard lock(t.mutex);
  int n = 0;
  for (const Slot& s : t.slots) n += s.id != std::thread::id() ? 1 : 0;
  return n;
}

void CleanupLooseThreads() {
  struct Loose {
    size_t index;
    std::thread::id id;
    std::shared_ptr<ZThreadStopper> handle;
  };
  std::vector<Loose> loose;
  Table& t = T();
  {
    std::lock_guard lock(t.mutex);
    const std::thread::id self = std::this_thread::get_id();
    for (size_t i = 0; i < t.slots.size(); ++i) {
      const Slot& s = t.slots[i];
      if (s.id != std::thread::id() && s.handle && s.id != self)
        loose.push_back({i, s.id, s.handle});
    }
  }
  // The lock is not held while waiting: a stopping thread detaches, which needs it.
  for (const Loose& l : loose) {
    l.handle->RequestStop();
    l.handle->WaitFinished(kLooseThreadWait);
    std::lock_guard lock(t.mutex);
    Slot& s = t.slots[l.index];
    if (s.id == l.id && s.handle == l.handle) s = Slot{};
  }
}

ZLibraryThread::ZLibraryThread(std::function<void(std::stop_token)> body)
    : stopper_(std::make_shared<ZThreadStopper>()) {
  // The promise's shared state outlives whichever side lets go of it first.
  std::promise<int> attached;
  std::future<int> slot = attached.get_future();
  try {
    thread_ = std::thread(
        [body = std::move(body), stopper = stopper_, attached = std::move(attached)]() mutable {
          attached.set_value(AttachLibraryThread(stopper));
          body(stopper->Token());
          DetachLibraryThread();
          stopper->MarkFinished();
        });
  } catch (const std::system_error&) {
    // No thread could be started: nothing runs and nothing is tracked.
    stopper_->MarkFinished();
    return;
  }
  slot_ = slot.get();
}

ZLibraryThread::~ZLibraryThread() {
  stopper_->RequestStop();
  Join();
}

void ZLibraryThread::Join() {
  if (thread_.joinable()) thread_.join();
}

void ResetThreadTable() {
  Table& t = T();
  std::lock_guard lock(t.mutex);
  for (Slot& s : t.slots) s = Slot{};
}

}  // namespace quill
