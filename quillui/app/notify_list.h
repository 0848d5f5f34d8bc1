// ZNotifyList: a list of windows that are all sent one message, each with its own data as
// the message's lParam, in order of registration.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quillui/framework/base/messages.h"

namespace quill {

class TWindow;

// One registration: the receiver, the lParam it is sent, and the message.
struct NOTIFY {
  TWindow* window = nullptr;
  long data = 0;
  unsigned message = 0;
};

class ZNotifyList {
 public:
  explicit ZNotifyList(int defaultMessage);
  ZNotifyList(const ZNotifyList&) = delete;
  ZNotifyList& operator=(const ZNotifyList&) = delete;
  ~ZNotifyList() = default;

  // Appends (window, data, message); -1 stands for the list's default message. Duplicates
  // are kept. A failed allocation leaves the list as it was.
  void Register(TWindow* window, long data, int message = -1);
  // Removes the first registration of window with data (the message is not compared).
  void Unregister(TWindow* window, long data);
  // Sends each registration its message with wParam and its data, first to last.
  void NotifyAll(unsigned wParam) const;

  // Calls fn(record) for each registration in order while fn answers true. Registrations
  // removed while the walk runs are skipped if not reached yet; ones added during it wait
  // for the next walk. So a receiver may unregister itself or others from inside its
  // handler without a record being skipped or sent twice.
  template <class Fn>
  void ForEach(Fn&& fn) const;

  int DefaultMessage() const { return defaultMessage_; }
  size_t Count() const { return records_.size(); }
  const NOTIFY& operator[](size_t i) const { return records_[i].notify; }

 private:
  struct Record {
    NOTIFY notify;
    uint64_t serial;  // tells a record from a later one with the same fields
  };
  // The index of the record with serial; -1 once it is gone.
  long Locate(uint64_t serial) const;

  int defaultMessage_;
  std::vector<Record> records_;
  uint64_t nextSerial_ = 1;
};

template <class Fn>
void ZNotifyList::ForEach(Fn&& fn) const {
  if (records_.empty()) return;
  // Walk a snapshot of serials, so changes made by the receivers cannot disturb the walk.
  std::vector<uint64_t> serials;
  serials.reserve(records_.size());
  for (const Record& r : records_) serials.push_back(r.serial);
  for (uint64_t serial : serials) {
    long at = Locate(serial);
    if (at < 0) continue;
    NOTIFY copy = records_[size_t(at)].notify;
    if (!fn(copy)) return;
  }
}

}  // namespace quill
