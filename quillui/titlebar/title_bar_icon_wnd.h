// ZTitleBarIconWnd: the icon at the left of a pane's title bar. Resting the mouse on it opens
// the pane's menu after a short delay (the hover state); clicking it opens the menu to stay
// (the pressed state); leaving it and the menu's chain closes a menu the hover opened.
#pragma once

#include <memory>

#include "quillui/framework/base/color.h"
#include "quillui/framework/window/window.h"
#include "quillui/menus/fly_menu_links.h"

namespace quill {

class TBitmap;
class TPalette;
class ZIcon;
class ZTitleBar;

class ZTitleBarIconWnd : public TWindow {
 public:
  using eICONSTATE = ZFlyMenuTitleBar::eICONSTATE;
  static constexpr eICONSTATE eICON_NORMAL = ZFlyMenuTitleBar::eICON_NORMAL;
  static constexpr eICONSTATE eICON_HOVER = ZFlyMenuTitleBar::eICON_HOVER;
  static constexpr eICONSTATE eICON_PRESSED = ZFlyMenuTitleBar::eICON_PRESSED;

  // The window timer that runs while the mouse rests on the icon.
  static constexpr UINT ICON_HOVER_TIMER_ID = 777;
  static constexpr int kDefaultWidth = 24;
  // What the title bar's activation message carries when the icon was clicked.
  static constexpr LPARAM kClickActivation = 0x10001;

  // The window is kDefaultWidth wide unless a width is given (then the larger of it and the
  // icon's width), and as high as the larger of the given height and the icon's.
  ZTitleBarIconWnd(ZTitleBar* parent, const ZIcon* icon, int width = 0, int height = 0);
  ~ZTitleBarIconWnd() override;

  // Stores the active flag and the state and takes the colour they call for; repaints when
  // redraw is asked.
  void SetState(bool active, eICONSTATE state, bool redraw);
  // The three colours every icon window paints with.
  static void SetIconColors(COLORREF active, COLORREF inactive, COLORREF hilight);

  // On the first idle call, ends a hover the mouse left too quickly for a move to tell; more
  // idle calls are wanted while the menu is open from the icon.
  bool IdleAction(long idleCount) override;

  eICONSTATE GetState() const { return state_; }
  bool IsActive() const { return active_; }
  COLORREF GetColor() const { return color_; }
  bool IsArmed() const { return armed_; }
  const TPoint& GetIconPosition() const { return iconPos_; }
  const ZIcon* GetIcon() const { return icon_; }
  // Whether a failed drawing of the icon has been shown to the user.
  bool FailureShown() const { return failureShown_; }

  // The whole paint: the colour, the icon through its mask centred on it.
  void Paint(TDC& dc, bool erase, TRect& rect) override;

 protected:
  bool EvEraseBkgnd(TDC& dc) override;
  void EvMouseMove(UINT modKeys, const TPoint& point) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
  void EvLButtonUp(UINT modKeys, const TPoint& point) override;
  void EvTimer(UINT timerId) override;

 private:
  // The icon's image over the current colour through its mask, at the icon position. False
  // when a transfer failed (the icon has no image of the small size, for one).
  bool DrawMaskedIcon(TDC& dc);
  COLORREF RestingColor() const;

  ZTitleBar* bar_;
  const ZIcon* icon_;
  eICONSTATE state_ = eICON_NORMAL;
  TPoint iconPos_;
  bool active_ = false;
  COLORREF color_ = 0;
  bool armed_ = true;
  bool failureShown_ = false;
  // The icon's image and mask in the screen's format, made on the first paint.
  std::unique_ptr<TBitmap> imageBits_;
  std::unique_ptr<TBitmap> maskBits_;
  const TPalette* bitsPalette_ = nullptr;
  bool bitsMade_ = false;
};

}  // namespace quill
