// BookmarkListView: the Path pane's view of the user's bookmark list, kept up to date as the
// list changes, with New, Open, Save and Delete of its items.
#pragma once

#include "quillui/framework/window/window.h"

namespace quillonary {

class ListView;

class BookmarkListView : public quill::TWindow {
 public:
  // Registers itself as the user list's window, so it hears of every change.
  explicit BookmarkListView(quill::TWindow* holder);
  ~BookmarkListView() override;

  ListView& List() { return *list_; }
  // Deletes the selected bookmark from the user's list.
  void DeleteSelected();

 protected:
  void SetupWindow() override;
  void EvSize(quill::UINT sizeType, const quill::TSize& size) override;
  quill::LRESULT EvCommand(quill::UINT id, quill::HWND control, quill::UINT notifyCode) override;
  quill::LRESULT WindowProc(quill::UINT msg, quill::WPARAM wp, quill::LPARAM lp) override;

 private:
  void Refresh();

  ListView* list_;
};

}  // namespace quillonary
