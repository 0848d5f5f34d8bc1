// ZTableauPane: the decorated pane the tableau builds for Media, Path, Article and Maxi: a
// plain pane with a bevelled frame, the full-screen and small-screen commands, and its
// holders placed inside the frame's margins.
#pragma once

#include "quillui/framework/menus/menu.h"
#include "quillui/menus/fly_menu_links.h"
#include "quillui/tableau/pane_base.h"

namespace quill {

class ZFlyMenu;
class ZPaneButtonBar;
class ZTitleBar;

class ZTableauPane : public ZTableauPaneBase, public ZFlyMenuPane {
 public:
  enum DECORATION_STYLE : int {
    eFRAMED = 0,       // background fill and the bevelled frame
    eUNDECORATED = 1,  // nothing; the erase only realises the palette
  };

  ZTableauPane(PANE_TYPE type, TWindow* parent, const char* title = nullptr,
               TModule* module = nullptr, DECORATION_STYLE style = eFRAMED);
  // Deletes the pane's fly menu (it lives under the frame, not under the pane).
  ~ZTableauPane() override;

  DECORATION_STYLE GetDecorationStyle() const { return m_eDecorationStyle; }
  ZPaneButtonBar* GetButtonBar() const { return m_pButtonBar; }
  ZTitleBar* GetTitleBar() const { return m_pTitleBar; }

  // Inside the bezel and the pane margins (an inset whose sum is below 1 is none), above the
  // button bar when button bars are shown.
  void SetHolderMetrics(ZHolder* holder) override;
  // The title bar along the top inside the bezel and margins (the left margin on both sides),
  // as high as it makes itself.
  void SetTitleBarMetrics();
  // The button bar at the bottom right inside the bezel and margins, at its desired size.
  void SetBtnBarMetrics();
  // The bar takes the content's buttons from menu; the pane is laid out again.
  void MergeButtons(TMenu& menu);
  // Follows the tableau's maximised position: the bar swaps its full-screen and small-screen
  // buttons (no re-layout).
  virtual void MaximizeButtonBar(bool maximized);
  // Deletes the pane's fly menu, if any.
  virtual void FlushMenu();
  // The pane's fly menu, made at the first holder activation; null before, after FlushMenu,
  // and once the frame that holds it has deleted it.
  ZFlyMenu* GetFlyMenu() const;

  // Makes the fly menu at the first activation and gives it to the title bar; shows the title
  // bar and has it take the activation; then has the content build the menu, sets the
  // display-mode entry, merges the content's buttons and names the bar after the content.
  void OnHolderActivated() override;
  // The title bar lets go of the menu and hides before the holders go.
  void FlushHolders() override;
  // A press on the pane outside its title bar activates the title bar.
  bool PreProcessMsg(MSG& msg) override;
  // The fly menu's full-screen or small-screen entry follows the maximised flag: 7701 in full
  // screen, the pane's own full-screen command in the tableau.
  void SetMenuDisplayModeEntry();
  HWND GetFlyMenuHolderChild() const override;

  // To full screen (7432, 7532, 7632) and back (7701) with an hour-glass, each recording the
  // arrangement it leaves as a backtrack bookmark; nothing when the parent is no tableau.
  void CmFullScreen();
  void CmTableau();

  // The bezel with the fill, or only the palette (see DECORATION_STYLE). The rings are
  // PANE_BEZEL many, at most half the pane's smaller side, none for a negative setting.
  // The pane's own commands go to its handlers; 7209 pops up the menu the bar kept from the
  // content (when there is content), then goes to the content like every other id.
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;
  void RemoveChild(TWindow* child) override;
  bool EvEraseBkgnd(TDC& dc) override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  // The tableau repaints the shadow a pane casts when the pane moves or changes size.
  void EvWindowPosChanging(WINDOWPOS& pos) override;
  void EvWindowPosChanged(const WINDOWPOS& pos) override;
  void EvSize(UINT sizeType, const TSize& size) override;

  const TResponseTable& GetResponseTable() const override;

 protected:
  LRESULT WmuGetDisplayMode(WPARAM wp, LPARAM lp);
  // The content's buttons or menu changed: the fly menu is built again.
  LRESULT WmuNewBtnMenu(WPARAM wp, LPARAM lp);
  LRESULT WmuGetFlyMenu(WPARAM wp, LPARAM lp);
  LRESULT WmuGetPaneTitleBar(WPARAM wp, LPARAM lp);
  LRESULT WmuGetPaneButtonBar(WPARAM wp, LPARAM lp);
  // The flush stops at the bars, made before any holder.
  bool IsFlushBoundary(TWindow& child) override;

  DECORATION_STYLE m_eDecorationStyle;
  // The fly menu by its window: the frame deletes it with itself, which may come first.
  HWND m_hFlyMenu = nullptr;
  ZPaneButtonBar* m_pButtonBar = nullptr;  // a child window
  ZTitleBar* m_pTitleBar = nullptr;        // a child window

 private:
  void NotifyParent(WPARAM wp);
  // Asks the content for its buttons' menu (starting from start) and merges what it stored;
  // destroys that menu unless it is start. A dead handle merges as an empty menu.
  void MergeContentMenu(HMENU start);
};

// The pane's own full-screen command: 7532 for the Path pane, 7632 for the Article pane, 7432
// for every other.
UINT FullScreenCommandOf(PANE_TYPE type);

}  // namespace quill
