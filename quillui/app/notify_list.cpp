#include "quillui/app/notify_list.h"

#include <algorithm>
#include <new>

#include "quillui/framework/window/window.h"

namespace quill {

ZNotifyList::ZNotifyList(int defaultMessage) : defaultMessage_(defaultMessage) {
  records_.reserve(1);
}

void ZNotifyList::Register(TWindow* window, long data, int message) {
  if (message == -1) message = defaultMessage_;
  try {
    if (records_.size() == records_.capacity()) records_.reserve(records_.size() + 4);
    records_.push_back(Record{NOTIFY{window, data, unsigned(message)}, nextSerial_++});
  } catch (const std::bad_alloc&) {
    // The registration is lost; what was registered stays.
  }
}

void ZNotifyList::Unregister(TWindow* window, long data) {
  for (auto it = records_.begin(); it != records_.end(); ++it) {
    if (it->notify.window == window && it->notify.data == data) {
      records_.erase(it);
      return;
    }
  }
}

void ZNotifyList::NotifyAll(unsigned wParam) const {
  ForEach([wParam](const NOTIFY& n) {
    n.window->SendMessage(n.message, wParam, LPARAM(n.data));
    return true;
  });
}

long ZNotifyList::Locate(uint64_t serial) const {
  // Records are appended with rising serials and removals keep the order, so the array is
  // sorted by serial.
  auto it = std::lower_bound(records_.begin(), records_.end(), serial,
                             [](const Record& r, uint64_t s) { return r.serial < s; });
  return it != records_.end() && it->serial == serial ? long(it - records_.begin()) : -1;
}

}  // namespace quill
