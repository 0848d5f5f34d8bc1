// Pop-up menus: TPopupMenu and TrackPopupMenu, which shows a menu in framework-drawn windows
// on the screen and runs its own modal loop until an item is chosen or the menu is cancelled.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/framework/window/window.h"
#include "quillui/platform/screen/input_event.h"

namespace quill {

// TrackPopupMenu flags.
inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

class TPopupMenuTracker;

// Shows menu with its top-left corner (or the point the alignment flags say) at screen
// point (x, y), keeping it on the screen. Returns when an item is chosen or the menu is
// cancelled (Escape, a click outside, the loop's quit, nothing left to happen on a manual
// clock). With TPM_RETURNCMD it answers the chosen id, 0 when cancelled; otherwise it posts
// WM_COMMAND with the id to owner (unless cancelled) and answers true. 0 when the menu or the
// owner is not alive, the menu is empty, or another menu is being tracked.
int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                   const TRect* rect = nullptr);

// Called each time the tracking loop has nothing to do. Tests and scripted sessions inject
// input from it (the tracker tells where the items are); when it queues nothing on a manual
// clock the menu is cancelled. Answers the previous hook.
using TPopupMenuIdleHook = std::function<void(TPopupMenuTracker&)>;
TPopupMenuIdleHook SetPopupMenuIdleHook(TPopupMenuIdleHook hook);

class TPopupMenu : public TMenu {
 public:
  // A new empty pop-up menu.
  explicit TPopupMenu(TAutoDelete autoDelete = AutoDelete);
  explicit TPopupMenu(HMENU handle, TAutoDelete autoDelete = NoAutoDelete);

  int TrackPopupMenu(UINT flags, int x, int y, int reserved, HWND owner,
                     const TRect* rect = nullptr) {
    return quill::TrackPopupMenu(GetHandle(), flags, x, y, reserved, owner, rect);
  }
  int TrackPopupMenu(UINT flags, const TPoint& point, int reserved, HWND owner,
                     const TRect* rect = nullptr) {
    return TrackPopupMenu(flags, point.x, point.y, reserved, owner, rect);
  }
};

// One window of a tracked menu: the menu and its submenus each get one.
class TPopupMenuWindow : public TWindow {
 public:
  explicit TPopupMenuWindow(HMENU menu);

  HMENU Menu() const { return menu_; }
  // Measures the items; answers the window's size.
  TSize Layout();
  int ItemCount() const { return int(items_.size()); }
  // The item's rectangle in client coordinates (empty for a bad index).
  TRect ItemRect(int index) const;
  // The item under a client point, or -1.
  int ItemAt(const TPoint& client) const;
  int Hilite() const { return hilite_; }
  void SetHilite(int index);

 protected:
  void Paint(TDC& dc, bool erase, TRect& rect) override;

 private:
  HMENU menu_;
  std::vector<TRect> items_;
  int hilite_ = -1;
  int textColumn_ = 0;
};

// The state of one TrackPopupMenu call: the open menu windows, outermost first.
class TPopupMenuTracker {
 public:
  TPopupMenuTracker(UINT flags, HWND owner);
  ~TPopupMenuTracker();

  int Depth() const { return int(levels_.size()); }
  TPopupMenuWindow* Level(int depth) const;
  TPopupMenuWindow* Deepest() const { return Level(Depth() - 1); }
  // An item's rectangle in screen coordinates; empty for a bad level or index.
  TRect ItemScreenRect(int depth, int index) const;
  bool Done() const { return done_; }
  UINT Chosen() const { return chosen_; }

  // Opens the outermost menu at a screen position; false when it cannot be shown.
  bool Open(HMENU menu, int x, int y);
  void HandleInput(const platform::InputEvent& e);
  void Cancel() {
    done_ = true;
    chosen_ = 0;
  }

 private:
  // Opens the submenu of level depth's highlighted item beside it.
  void OpenSubmenu(int depth, bool hiliteFirst);
  void CloseBelow(int depth);
  void Choose(int depth, int index);
  void MouseAt(const TPoint& screen, bool pressed);
  bool MouseRelease(const TPoint& screen);
  void Step(int direction);
  // The level and item under a screen point; -1 level when outside every window.
  void HitTest(const TPoint& screen, int& depth, int& index) const;
  TPoint Place(const TSize& size, TPoint at, const TRect* beside) const;

  std::vector<std::unique_ptr<TPopupMenuWindow>> levels_;
  UINT flags_;
  HWND owner_;
  bool done_ = false;
  UINT chosen_ = 0;
  bool armed_ = false;  // a press or a move happened since the menu opened
};

}  // namespace quill
