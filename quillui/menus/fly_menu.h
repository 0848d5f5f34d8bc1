// ZFlyMenu: the library's pop-up menu. A borderless pop-up gadget window of stacked entry
// gadgets that flies open strip by strip on each display, opens submenus after a delay, forms
// chains that close together, holds the mouse and passes clicks outside it on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/window/cursor.h"
#include "quillui/menus/menu_entries.h"

namespace quill {

class TMenu;
class ZAlternateFocusWnd;
class ZFlyMenuTitleBar;
class ZMenuEntryGadget;
class ZMenuSeparatorGadget;

class ZFlyMenu : public TGadgetWindow {
 public:
  enum eMENU_TYPE { eMT_HOVER = 0, eMT_CAPTURE = 1 };
  enum eDELETE_METHOD { eDM_KEEP = 0, eDM_CLOSE = 1 };
  enum eSUB_MENU_LEVEL { eSML_DEEPEST = 0, eSML_THIS = 1 };

  // The window timer of delayed submenu firing.
  static constexpr UINT SUBMENU_TIMER_ID = 778;
  // Display at this point puts a submenu exactly at its parent entry's top-right corner.
  static constexpr int kAtParentEntry = -9999;

  // msgWnd receives the menu's commands. It is kept by its handle, so a message window that
  // dies leaves the menu with none; a window without a handle yet is taken by its handle when
  // the menu first needs it.
  ZFlyMenu(TWindow* parent, TWindow* msgWnd, eMENU_TYPE type, eDELETE_METHOD method,
           int ownedByMenu);
  ~ZFlyMenu() override;

  // --- Entries: forwarded to the table in use; without one each answers its failure value.
  int InsertEntry(uint32_t item, uint32_t flags, ZMenuEntry* entry);
  int InsertEntry(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon);
  int InsertEntry(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
                  COLORREF color);
  int Append(ZMenuEntry* entry);
  int Append(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon);
  int Append(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon, COLORREF color);
  int Delete(uint32_t item, uint32_t flags);
  int Replace(uint32_t item, uint32_t flags, ZMenuEntry* entry);
  int Replace(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon);
  int Replace(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
              COLORREF color);
  int Change(uint32_t item, uint32_t flags, uint32_t newIdCmd, const char* text);
  int SetColor(uint32_t first, uint32_t last, uint32_t flags, COLORREF color);
  uint32_t GetPosition(uint32_t idCmd);
  uint32_t GetIdCmd(uint32_t position);
  uint32_t SetCheckMark(uint32_t item, uint32_t flags);
  uint32_t GetCount();
  int GetCheckMarkSpacing();
  int GetIconSpacing();
  ZMenuEntry* GetEntry(uint32_t item, uint32_t flags);
  void SetCheckMarkSpacing(int on);
  void SetIconSpacing(int on);
  void SetOwnEntries(bool owned);

  // Fills the own table from a menu (a checked item opens a submenu, an id of 0 is a
  // separator) and answers it; with addGadgets each entry's gadget is added too.
  ZMenuEntries* InitEntries(TMenu& menu, int addGadgets, int purgeFirst);
  // The table in use, or null.
  ZMenuEntries* GetEntries() const { return entries_ ? *entries_ : nullptr; }
  // Uses the table held in the caller's slot. The table in use is deleted first when the menu
  // owns it, unless it is the very table (or slot) given, which leaves everything as it is.
  void SetEntries(ZMenuEntries** slot);
  // The gadgets from the table, then the table's changed flag cleared.
  void Build();
  // Removes and deletes every gadget; with deleteEntries the table in use goes too (when the
  // menu owns it) and a fresh own table takes its place.
  void Purge(int deleteEntries);
  // One gadget for the entry, after the others. The building forms make an entry no table
  // holds; the gadget keeps it.
  int AddMenuGadget(ZMenuEntry* entry);
  int AddMenuGadget(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon);
  int AddMenuGadget(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon, COLORREF color);
  // The width of every gadget: the widest caption in application font 0, plus 18 for the
  // arrow column and the side lines, 19 for an icon column and 16 for a check-mark column.
  int CalcWidth();
  // A separator is 9 pixels; any other entry the font's cell height + 3, one more for the
  // first entry and one more for the last.
  int CalcHeight(ZMenuEntry* entry);

  // Shows the menu at a screen point (a submenu: relative to its parent entry's top-right
  // corner) and flies it open; true when it was placed.
  bool Display(TPoint point);
  // Keeps a menu about to show at p on the screen (hover) or inside its parent (capture).
  void CheckPlacement(TPoint& p);
  // The fly animation: source holds the whole picture, target is the window.
  void FlyAction(TDC& source, TDC& target);
  // Takes this one menu off the screen.
  void RemoveFromScreen();
  void RestorePrevFocus();
  // The title bar the menu is shown from; null detaches it.
  void SetTitleBar(ZFlyMenuTitleBar* titleBar) { titleBar_ = titleBar; }
  ZFlyMenuTitleBar* GetTitleBar() const { return titleBar_; }
  // Reads [Prefs] ButtonSounds again; the other settings keep their first values.
  static void NotifyIniChanged();

  // The message window, or null when it is gone.
  TWindow* GetMsgWnd() const;
  ZMenuEntryGadget* GetCurEntryGadget() const { return curEntryGadget_; }
  void SetCurEntryGadget(ZMenuEntryGadget* gadget) { curEntryGadget_ = gadget; }
  ZMenuEntryGadget* GetAssocParentEntryGadget() const { return assocParentEntry_; }
  void SetAssocParentEntryGadget(ZMenuEntryGadget* gadget) { assocParentEntry_ = gadget; }
  ZFlyMenu* GetParentMenu() const { return parentMenu_; }
  void SetParentMenu(ZFlyMenu* menu) { parentMenu_ = menu; }
  ZFlyMenu* GetSubMenu() const { return subMenu_; }
  eMENU_TYPE GetMenuType() const { return type_; }
  int GetEntryWidth() const { return entryWidth_; }
  bool IsFlown() const { return flown_ != 0; }
  bool IsCapturing() const { return capturing_; }
  // The window rectangle grown by the fudge size, as of the last paint (screen coordinates).
  const TRect& GetHitRect() const { return hitRect_; }
  ZAlternateFocusWnd* GetFocusWnd() const { return focusWnd_; }
  // The focus window was deleted by the parent both live under.
  void FocusWndGone(ZAlternateFocusWnd* wnd) {
    if (focusWnd_ == wnd) focusWnd_ = nullptr;
  }

  // --- Chains --------------------------------------------------------------------------------
  // Deletes the submenu and makes a new one under this menu, for the current entry.
  ZFlyMenu* MakeSubMenu();
  // A submenu of the deepest visible menu of the chain, or of this menu.
  ZFlyMenu* CreateSubMenu(eSUB_MENU_LEVEL level);
  void DeleteSubMenu();
  // Takes menus off the screen from the deepest visible one upward; stop stays.
  void RemoveMenuChain(ZFlyMenu* stop);
  void RemoveChainOfParentMenus();
  void RemoveChainOfSubMenus();
  // The submenu below this one whose window is hwnd or whose hit rectangle (while visible)
  // holds the screen point, or null.
  ZFlyMenu* CheckChainOfSubMenus(HWND hwnd, const TPoint& screenPoint);
  // Whether a visible submenu of the chain has a gadget under the screen point.
  bool GadgetsOverlap(const TPoint& screenPoint);
  // Fires the entry's command after the submenu delay (timer 778).
  void SetupSubmenuFiring(uint32_t idCmd);
  void CaptureMouse(bool on);
  static HWND GetLastCapturingMenu();
  // For the test hook that puts the menus' state back as at start-up.
  static void ResetLastCapturingMenu() { m_hLastCapturingMenu = nullptr; }

  bool IdleAction(long idleCount) override;
  // True when a click on hwnd (outside the menu) closes the menu and must be passed on.
  bool PreProcessButtonDown(HWND hwnd);
  // Posts the click to hwnd: as a client click at the client point when it answers HTCLIENT,
  // else as the non-client button press with its hit-test code.
  void ProcessButtonDown(UINT msg, HWND hwnd, UINT keys, const TPoint& screenPoint);

 protected:
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  bool EvEraseBkgnd(TDC& dc) override;
  void EvMouseMove(UINT modKeys, const TPoint& point) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
  void EvLButtonUp(UINT modKeys, const TPoint& point) override;
  void EvRButtonDown(UINT modKeys, const TPoint& point) override;
  void EvRButtonUp(UINT modKeys, const TPoint& point) override;
  int EvMouseActivate(HWND topLevel, UINT hitTest, UINT msg) override;
  void EvSetFocus(HWND lostFocus) override;
  void EvTimer(UINT timerId) override;
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;

 private:
  friend class ZMenuEntryGadget;

  // Points the slot in use at the own table, creating that when there is none.
  ZMenuEntries& OwnTable();
  // Deletes the table in use and the own table, each when the menu owns it.
  void DeleteOwnedTables();
  // Removes and deletes every gadget.
  void DeleteGadgets();
  // The gadget for an entry; owned is the entry when no table holds it.
  int AddGadgetFor(ZMenuEntry* entry, std::unique_ptr<ZMenuEntry> owned);
  // Cursor position on the screen and the window under it.
  static TPoint CursorPos();
  // The title bar's icon window when the menu has a title bar with one, else null.
  HWND TitleIcon() const;

  COLORREF hilight_;
  ZFlyMenuTitleBar* titleBar_ = nullptr;
  bool capturing_ = false;
  mutable TWindow* msgWndPending_ = nullptr;  // a message window that had no handle yet
  mutable HWND msgWnd_ = nullptr;
  int ownedFlag_;
  ZMenuEntries* ownEntries_ = nullptr;
  ZMenuEntries** entries_ = nullptr;
  bool separatorPending_ = false;
  ZMenuSeparatorGadget* pendingSeparator_ = nullptr;
  COLORREF lastEntryColor_;
  int entryWidth_ = 0;
  ZMenuEntryGadget* curEntryGadget_ = nullptr;
  ZFlyMenu* parentMenu_ = nullptr;
  ZMenuEntryGadget* assocParentEntry_ = nullptr;
  ZFlyMenu* subMenu_ = nullptr;
  uint32_t pendingSubmenuCmd_ = 0;
  eMENU_TYPE type_;
  eDELETE_METHOD deleteMethod_;
  std::optional<TCursorShape> savedCursor_;
  int flown_ = 0;
  int addIndex_ = 1;
  ZAlternateFocusWnd* focusWnd_ = nullptr;
  TRect hitRect_;

  // The window of the menu that last took the mouse; the title bar gives it back after a drag.
  static HWND m_hLastCapturingMenu;
};

}  // namespace quill
