// TimedMessageDlg: a small confirmation dialog ("Bookmark created") centred over the
// tableau that closes itself one second after it is shown, with IDCANCEL.
#pragma once

#include "quillui/framework/dialogs/dialog.h"

namespace quill {

class TModule;

class TimedMessageDlg : public TDialog {
 public:
  static constexpr UINT kTimerId = 3;
  static constexpr UINT kShowMs = 1000;

  TimedMessageDlg(TWindow* parent, const char* resourceName, TModule* module = nullptr);
  ~TimedMessageDlg() override;

  // The running timer's id, 0 when none.
  UINT TimerId() const { return m_uiTimerId; }

 protected:
  void SetupWindow() override;
  void EvTimer(UINT timerId) override;

 private:
  UINT m_uiTimerId = 0;
  bool closing_ = false;
};

// Shows the dialog modally over the tableau (the frame when there is no tableau) and returns
// once it has closed itself; answers the dialog's result (IDCANCEL), or -1 when it could not
// be made.
int DisplayTimedMessageDlg(const char* resourceName, TModule* module);

}  // namespace quill
