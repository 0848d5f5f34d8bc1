// ZPaneButtonBar: the small bar of bitmap buttons at a decorated pane's bottom right: the pane
// type's constant buttons, then the buttons of the menu the pane's content hands over.
#pragma once

#include <memory>
#include <span>

#include "quillui/bars/control_bar.h"
#include "quillui/navigation/pane_type.h"

namespace quill {

class TGadget;
class TMenu;
class TPopupMenu;

class ZPaneButtonBar : public ZControlBar {
 public:
  // One entry of the button table: kind 0 makes an animated button from the bitmap, kind 1 a
  // black horizontal filler.
  struct TButtonEntry {
    UINT id;
    const char* bitmap;
    int kind;
  };
  // The strip of a button whose id is not in the table.
  static constexpr const char* kUnknownBitmap = "pbcopy.bmp";
  // Menu items that never become buttons.
  static constexpr UINT kSkippedIds[] = {9499, 7104};

  // The bar of a pane (its parent): horizontal, transparent, a 10-point gadget-window font, no
  // border, no margins, shrink-wrapped both ways, holding the pane type's constant buttons.
  ZPaneButtonBar(PANE_TYPE type, TWindow* parent);
  // Deletes the pop-up menu, if any.
  ~ZPaneButtonBar() override;

  // The 72 entries, searched first to last: the first entry with an id wins.
  static std::span<const TButtonEntry> ButtonTable();
  // The entry of an id, or null.
  static const TButtonEntry* FindButton(UINT id);
  // The menu resource of the pane type's constant buttons: "MEDIA_CONSTANTS" (Media and Maxi),
  // "PATH_CONSTANTS", "ARTICLE_CONSTANTS"; null for other panes.
  static const char* ConstantMenuName(PANE_TYPE type);
  // A new gadget for a command id, from the table (an id not in it gets the copy strip); the
  // caller owns it until it is inserted.
  static TGadget* MakeButton(UINT id);
  // [DevParm] "ForceButtonBar", default false: without it a pane keeps its bar empty and hidden
  // and merges nothing.
  static bool IsForced();

  PANE_TYPE GetPaneType() const { return m_ePaneType; }
  // The pop-up item's menu of the last merge, or null; the pane pops it up on 7209.
  TPopupMenu* GetPopupMenu() const { return m_pPopupMenu.get(); }
  // Pops the kept menu up above the 7209 button (or the cursor) with owner receiving the
  // chosen command. False when no menu is kept or tracking fails.
  bool PopupOptions(TWindow& owner);

  // Appends a button for each item of menu, first to last.
  void LoadConstantButtons(TMenu& menu);
  void Insert(TGadget& gadget, TPlacement placement = After, TGadget* sibling = nullptr) override;
  // Removes and deletes every gadget, constant buttons included, first to last.
  void RemoveVariableButtons();
  // Empties the bar and fills it with the buttons of menu, in the menu's order: 9499 and 7104
  // are left out, a full-screen id becomes 7701 while the pane shows full screen, and the
  // topmost pop-up item's submenu is taken out of menu and kept as the pop-up menu. A menu
  // without a handle leaves the bar empty.
  void MergeButtons(TMenu& menu);
  // Maximised: the first full-screen button (7432, 7532, 7632) becomes 7701; restored: the 7701
  // button becomes the pane's full-screen button, at the same place. Nothing to swap, nothing
  // swapped; the bar is laid out again either way.
  void MaximizeButtonBar(bool maximized);

 protected:
  // The buttons paint the whole bar: nothing is erased.
  bool EvEraseBkgnd(TDC& dc) override;
  UINT EvNCCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS& params) override;
  // Plain window sizing: the bar lays itself out when its gadgets change.
  void EvSize(UINT sizeType, const TSize& size) override;

 private:
  // Removes the gadget through the bar (stopping an animation it runs) and deletes it.
  void RemoveAndDelete(TGadget& gadget);

  PANE_TYPE m_ePaneType;
  std::unique_ptr<TPopupMenu> m_pPopupMenu;
};

}  // namespace quill
