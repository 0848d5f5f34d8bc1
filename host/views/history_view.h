// HistoryView: the Path pane's view of the places shown so far, newest first, kept up to date as
// the history grows, and cleared on request.
#pragma once

#include "host/views/bookmark_list_page.h"

namespace quillonary {

class HistoryView : public BookmarkListPage {
 public:
  // Registers itself as the history's window, so it hears of every change.
  explicit HistoryView(quill::TWindow* holder);

  // Empties the history.
  void Clear();

 protected:
  quill::LRESULT EvCommand(quill::UINT id, quill::HWND control, quill::UINT notifyCode) override;
};

}  // namespace quillonary
