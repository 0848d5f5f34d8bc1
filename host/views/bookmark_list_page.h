// BookmarkListPage: what the Path pane's views of a bookmark list (the user's bookmarks, the
// history) share: the list's rows kept up to date, the view's buttons and fly menu, the
// commands that move between the Path pane's lists, and the bookmark of the view itself.
#pragma once

#include <vector>

#include "host/views/pane_menu.h"
#include "quillui/framework/window/window.h"

namespace quill {
class ZBookmarkList;
}

namespace quillonary {

class ListView;

class BookmarkListPage : public quill::TWindow {
 public:
  // What tells one such view from another.
  struct Kind {
    const char* caption;
    const char* emptyText;
    quill::ZBookmarkList& (*list)();
    void (*registerWindow)(quill::TWindow*);  // the list's window, told of every change
    bool newestFirst;
    const char* type;   // of the view's own bookmark
    const char* entry;  // its text: the entry that shows the view
    std::vector<quill::UINT> buttons;
    FlyEntry action;  // the fly menu's first entry, before the Path pane's own
  };

  ~BookmarkListPage() override;
  ListView& List() { return *list_; }

 protected:
  BookmarkListPage(quill::TWindow* holder, Kind kind);

  void Refresh();
  void SetupWindow() override;
  void EvSize(quill::UINT sizeType, const quill::TSize& size) override;
  // The Path pane's lists, the lists submenu; other commands go to the frame.
  quill::LRESULT EvCommand(quill::UINT id, quill::HWND control, quill::UINT notifyCode) override;
  quill::LRESULT WindowProc(quill::UINT msg, quill::WPARAM wp, quill::LPARAM lp) override;

  ListView* list_;

 private:
  Kind kind_;
};

}  // namespace quillonary
