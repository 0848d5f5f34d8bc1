#include "quillui/tableau/holder.h"

#include "quillui/app/app_palette.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/dc.h"

namespace quill {

bool EraseHolderBackground(TDC& dc, const TRect& rect, TColor color) {
  TPalette* palette = GetAppPalette();
  TPalette* previous = nullptr;
  if (palette) {
    previous = dc.SelectPalette(palette, false);
    dc.RealizePalette();
  }
  dc.FillRect(rect, TBrush(color));
  if (palette) dc.SelectPalette(previous, false);
  return true;
}

ZHolder::ZHolder(TWindow* parent, int id, const char* title, TModule* module)
    : TWindow(parent, title ? title : "Holder", module),
      m_clrBackground(GetAppColor(HOLDER_BACKGROUND)) {
  Attr.Id = id;
  Attr.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  // Nobody else deletes a holder that closed itself with its content.
  SetDeleteWhenClosed(true);
}

const TResponseTable& ZHolder::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnMessage<&ZHolder::WmuGetHelpKey>(quill::WmuGetHelpKey),
      OnMessage<&ZHolder::WmuNotification>(quill::WmuNotification),
      OnMessage<&ZHolder::WmuGetDisplayMode>(quill::WmuGetDisplayMode),
      OnMessage<&ZHolder::WmuNewBtnMenu>(quill::WmuNewBtnMenu),
      OnMessage<&ZHolder::WmuGetPaneButtonBar>(quill::WmuGetPaneButtonBar),
      OnMessage<&ZHolder::WmuGetPaneTitleBar>(quill::WmuGetPaneTitleBar),
      OnMessage<&ZHolder::WmuGetFlyMenu>(quill::WmuGetFlyMenu),
      OnMessage<&ZHolder::WmuVexMciNotify>(quill::WmuVexMciNotify),
  };
  static const TResponseTable table{&TWindow::GetResponseTable(), entries};
  return table;
}

HWND ZHolder::GetChild() const { return GetTopWindow(); }

void ZHolder::KillChild() {
  m_bKilling = true;
  if (TWindow* child = GetWindowPtr(GetChild())) {
    child->Destroy();
    delete child;
  }
  m_bKilling = false;
}

LRESULT ZHolder::ForwardMessageToChild(UINT msg, WPARAM wp, LPARAM lp) {
  HWND child = GetChild();
  return child ? quill::SendMessage(child, msg, wp, lp) : 0;
}

LRESULT ZHolder::SendToParent(UINT msg, WPARAM wp, LPARAM lp) {
  return quill::SendMessage(GetParent(), msg, wp, lp);
}

void ZHolder::EvParentNotify(UINT event, UINT childId, HWND child) {
  // The notice climbs every ancestor, so a control dying deep inside the content reaches the
  // holder too: only the content itself going takes the holder with it.
  if (event == WM_DESTROY && !m_bKilling && child && quill::GetParent(child) == GetHandle())
    PostMessage(WM_CLOSE, 0, 0);
  TWindow::EvParentNotify(event, childId, child);
}

void ZHolder::EvSetFocus(HWND lostFocus) {
  TWindow::EvSetFocus(lostFocus);
  if (HWND child = GetChild()) quill::SetFocus(child);
}

void ZHolder::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  if (TWindow* child = GetWindowPtr(GetChild())) {
    TRect client = GetClientRect();
    child->MoveWindow(0, 0, client.Width(), client.Height(), true);
  }
}

bool ZHolder::EvEraseBkgnd(TDC& dc) {
  return EraseHolderBackground(dc, GetClientRect(), m_clrBackground);
}

UINT ZHolder::EvNCCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS&) {
  return calcValidRects ? WVR_REDRAW : 0;
}

void ZHolder::Paint(TDC&, bool, TRect&) {}

LRESULT ZHolder::WmuGetHelpKey(WPARAM wp, LPARAM lp) {
  return ForwardMessageToChild(quill::WmuGetHelpKey, wp, lp);
}

LRESULT ZHolder::WmuNotification(WPARAM wp, LPARAM lp) {
  return ForwardMessageToChild(quill::WmuNotification, wp, lp);
}

LRESULT ZHolder::WmuGetDisplayMode(WPARAM, LPARAM) {
  return SendToParent(quill::WmuGetDisplayMode, 0, 0);
}

LRESULT ZHolder::WmuNewBtnMenu(WPARAM wp, LPARAM lp) {
  return SendToParent(quill::WmuNewBtnMenu, wp, lp);
}

LRESULT ZHolder::WmuGetPaneButtonBar(WPARAM wp, LPARAM lp) {
  return SendToParent(quill::WmuGetPaneButtonBar, wp, lp);
}

LRESULT ZHolder::WmuGetPaneTitleBar(WPARAM wp, LPARAM lp) {
  return SendToParent(quill::WmuGetPaneTitleBar, wp, lp);
}

LRESULT ZHolder::WmuGetFlyMenu(WPARAM wp, LPARAM lp) {
  return SendToParent(quill::WmuGetFlyMenu, wp, lp);
}

LRESULT ZHolder::WmuVexMciNotify(WPARAM wp, LPARAM lp) {
  return SendToParent(quill::WmuVexMciNotify, wp, lp);
}

}  // namespace quill
