// ZHolder: the plain child window of a pane that owns one content window of the host, keeps it
// filling the holder, passes messages down to it and passes its questions up to the pane.
#pragma once

#include "quillui/framework/base/color.h"
#include "quillui/framework/window/window.h"

namespace quill {

class TDC;

class ZHolder : public TWindow {
 public:
  // A child of parent with the given window id; a null title means "Holder". A holder whose
  // content closes by itself closes too, and its object is then deleted by the loop.
  ZHolder(TWindow* parent, int id, const char* title = nullptr, TModule* module = nullptr);

  // The content: the first child window in stacking order, or null.
  HWND GetChild() const;
  // Destroys the content window and deletes its object; the holder stays, empty.
  void KillChild();
  // Sends the message to the content; 0 without content.
  LRESULT ForwardMessageToChild(UINT msg, WPARAM wp, LPARAM lp);
  bool IsKilling() const { return m_bKilling; }
  TColor GetBackgroundColor() const { return m_clrBackground; }

  const TResponseTable& GetResponseTable() const override;

 protected:
  void EvParentNotify(UINT event, UINT childId, HWND child) override;
  void EvSetFocus(HWND lostFocus) override;
  void EvSize(UINT sizeType, const TSize& size) override;
  bool EvEraseBkgnd(TDC& dc) override;
  UINT EvNCCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS& params) override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;

  // Down to the content.
  LRESULT WmuGetHelpKey(WPARAM wp, LPARAM lp);
  LRESULT WmuNotification(WPARAM wp, LPARAM lp);
  // Up to the parent (the holder manager).
  LRESULT WmuGetDisplayMode(WPARAM wp, LPARAM lp);
  LRESULT WmuNewBtnMenu(WPARAM wp, LPARAM lp);
  LRESULT WmuGetPaneButtonBar(WPARAM wp, LPARAM lp);
  LRESULT WmuGetPaneTitleBar(WPARAM wp, LPARAM lp);
  LRESULT WmuGetFlyMenu(WPARAM wp, LPARAM lp);
  LRESULT WmuVexMciNotify(WPARAM wp, LPARAM lp);

 private:
  LRESULT SendToParent(UINT msg, WPARAM wp, LPARAM lp);

  bool m_bKilling = false;
  TColor m_clrBackground;
};

// The background of holders and holder managers: the application palette selected and
// realised, then the rectangle filled with the colour. Answers true (erased).
bool EraseHolderBackground(TDC& dc, const TRect& rect, TColor color);

}  // namespace quill
