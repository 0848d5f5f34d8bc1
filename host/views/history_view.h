// HistoryView: the Path pane's view of the places shown so far, newest first, kept up to date as
// the history grows, and cleared on request.
#pragma once

#include "quillui/framework/window/window.h"

namespace quillonary {

class ListView;

class HistoryView : public quill::TWindow {
 public:
  // Registers itself as the history's window, so it hears of every change.
  explicit HistoryView(quill::TWindow* holder);
  ~HistoryView() override;

  ListView& List() { return *list_; }
  // Empties the history.
  void Clear();

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
