// ZHolderManager: a layout window that keeps holders by id and shows one of them, the active
// holder; every pane is one. Messages for the content go down through the active holder, and
// the content's questions come up through the holder to here.
#pragma once

#include "quillui/app/display_mode.h"
#include "quillui/framework/base/color.h"
#include "quillui/framework/layout/layout_window.h"

namespace quill {

class ZHolder;

class ZHolderManager : public TLayoutWindow {
 public:
  explicit ZHolderManager(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);

  // A new holder with that id, its window created at once; null when it could not be made.
  ZHolder* CreateHolder(int id);
  // The live holder with that id, made if there is none; null when it cannot be made or the
  // child with that id is no holder. The active holder stays as it is.
  ZHolder* GetHolder(int id);
  // Makes the holder with that id (created if need be) the active one: the old one hears
  // code 5 and is disabled and hidden, the new one is shown and hears code 10, then
  // OnHolderActivated and a new layout. Activating the active holder does nothing else.
  // Null when the holder cannot be made or the child with that id is no holder.
  ZHolder* ActivateHolder(int id);
  ZHolder* GetActiveHolder() const { return m_pActiveHolder; }

  // Places the holder: by default it fills the manager.
  virtual void SetHolderMetrics(ZHolder* holder);
  // Called after a holder became active. Nothing here.
  virtual void OnHolderActivated();
  // Deletes the children from the latest added back, pumping the waiting messages three times
  // after each, until the next one is a flush boundary or none is left. The children present
  // at the start go, and those that appear while these are deleted; children that appear
  // while the latter are deleted stay, so handlers that make holders cannot keep it going.
  virtual void FlushHolders();

  // Sends WM_COMMAND with the id (no control) to the active holder's content, if any.
  void PassInward(UINT commandId);
  // Sends the message to the active holder; 0 without one.
  LRESULT ForwardMessageToActiveHolder(UINT msg, WPARAM wp, LPARAM lp);
  DISPLAY_MODE GetDisplayMode() const { return m_eDisplayMode; }

  void RemoveChild(TWindow* child) override;
  const TResponseTable& GetResponseTable() const override;

 protected:
  // Whether the flush stops at this child, leaving it and every child added before it. None
  // does here; a pane stops at its bars (and may change them on the way).
  virtual bool IsFlushBoundary(TWindow& child);

  bool EvEraseBkgnd(TDC& dc) override;

  LRESULT WmuGetDisplayMode(WPARAM wp, LPARAM lp);
  LRESULT WmuNotification(WPARAM wp, LPARAM lp);
  LRESULT WmuVexMciNotify(WPARAM wp, LPARAM lp);

  ZHolder* m_pActiveHolder = nullptr;
  DISPLAY_MODE m_eDisplayMode = eFULL_SCREEN_MODE;
  TColor m_clrBackground;

 private:
  // The live child with that id, made as a holder if there is none.
  TWindow* FindOrCreate(int id);
};

}  // namespace quill
