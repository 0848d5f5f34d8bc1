#include "quillui/app/timed_message.h"

#include "quillui/app/app_registry.h"

namespace quill {

TimedMessageDlg::TimedMessageDlg(TWindow* parent, const char* resourceName, TModule* module)
    : TDialog(parent, resourceName, module) {}

TimedMessageDlg::~TimedMessageDlg() {
  if (m_uiTimerId && IsWindow()) KillTimer(m_uiTimerId);
  m_uiTimerId = 0;
}

void TimedMessageDlg::SetupWindow() {
  CenterPopupWindowOverParent(*this);
  TDialog::SetupWindow();
  m_uiTimerId = SetTimer(kTimerId, kShowMs);
}

void TimedMessageDlg::EvTimer(UINT timerId) {
  if (timerId != kTimerId || m_uiTimerId == 0) {
    TDialog::EvTimer(timerId);
    return;
  }
  // Once is enough: a second tick while the dialog is going away must not close it twice.
  if (closing_) return;
  closing_ = true;
  KillTimer(m_uiTimerId);
  m_uiTimerId = 0;
  CloseWindow(IDCANCEL);
}

int DisplayTimedMessageDlg(const char* resourceName, TModule* module) {
  TWindow* parent = GetTableauTWindow();
  if (!parent) parent = GetAppFrameTWindow();
  TimedMessageDlg dialog(parent, resourceName, module);
  return dialog.Execute();
}

}  // namespace quill
