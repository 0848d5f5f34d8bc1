// ZModalMaker: disables the application's enabled top-level windows (the frame and the
// windows it owns) around a modal phase and enables the same ones again afterwards, so
// windows the host had disabled itself stay disabled.
#pragma once

#include <vector>

#include "quillui/framework/base/messages.h"

namespace quill {

class ZModalMaker {
 public:
  ZModalMaker() = default;
  ZModalMaker(const ZModalMaker&) = delete;
  ZModalMaker& operator=(const ZModalMaker&) = delete;
  // Enables the windows again if DisableWindows was called and EnableWindows was not.
  ~ZModalMaker();

  // Lists, in enumeration order, the enabled top-level windows that are the frame or are
  // owned by it; an earlier list is dropped. Answers how many were listed. Without a frame
  // nothing qualifies.
  int CountWindows();
  // Disables every listed window and marks the windows as disabled (also with no list).
  void DisableWindows();
  // When marked: enables every listed window, drops the list and clears the mark.
  void EnableWindows();

  bool IsDisabled() const { return disabled_; }
  // The listed handles, ended by a null handle; null when there is no list.
  const HWND* Windows() const { return windows_.empty() ? nullptr : windows_.data(); }

 private:
  bool disabled_ = false;
  std::vector<HWND> windows_;
};

}  // namespace quill
