// BookmarkListView: the Path pane's view of the user's bookmark list, kept up to date as the
// list changes, with New, Open, Save and Delete of its items.
#pragma once

#include "host/views/bookmark_list_page.h"

namespace quillonary {

class BookmarkListView : public BookmarkListPage {
 public:
  // Registers itself as the user list's window, so it hears of every change.
  explicit BookmarkListView(quill::TWindow* holder);

  // Deletes the selected bookmark from the user's list.
  void DeleteSelected();

 protected:
  quill::LRESULT EvCommand(quill::UINT id, quill::HWND control, quill::UINT notifyCode) override;
};

}  // namespace quillonary
