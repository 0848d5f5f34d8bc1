// ZControlBar: the library's strip of gadgets (pane button bars, title bars and the bars of
// this folder) with its background, the one timer that paces an animated button's click, the
// check of every animated button put on it, and menus popped up above a gadget.
#pragma once

#include <memory>

#include "quillui/buttons/button_animator.h"
#include "quillui/framework/base/color.h"
#include "quillui/framework/gadgets/control_bar.h"
#include "quillui/profile/attributes.h"

namespace quill {

class TDib;
class TMenu;
class TPopupMenu;

class ZControlBar : public TControlBar, public ZControlBar1, public ZButtonAnimator {
 public:
  // The window timer id of the animation.
  static constexpr UINT kAnimationTimerId = 3;
  // Report of a button that cannot show itself, as the bar names its source.
  static constexpr int kInvalidButtonLine = 139;

  // color is the background: a colour, or TColor::Transparent for the application background
  // (else the bar's tiled picture, else the window's own colour). The bar joins the idle list.
  ZControlBar(TWindow* parent, TTileDirection direction, TColor color, TFont* font = nullptr,
              TModule* module = nullptr);
  ~ZControlBar() override;

  // Takes the picture tiled behind a transparent bar when there is no application background
  // (null removes it).
  void SetBkgndDib(TDib* dib);
  const TDib* GetBkgndDib() const { return dib_.get(); }
  TColor GetBarColor() const { return color_; }

  // One button animates at a time: another one asking is refused (false). Stop (start 0)
  // kills the timer; starting again for the animating button restarts it. False when no
  // timer could be had.
  bool RequestAnimating(ZAnimButtonGadget& button, int start) override;
  ZAnimButtonGadget* GetAnimatingGadget() const { return animating_; }
  UINT GetAnimationTimer() const { return timer_; }
  // [view] "buttoninterval" in milliseconds, read once: a value of 0 or below (or none) is
  // 200, one above 10,000 is 10,000.
  static int GetTimerInterval();

  void SetHintText(const char* text);
  // An animated button takes the bar's colour as its key colour and is asked IsOK; one that
  // cannot show itself is reported ("Invalid button: <file> (<extra>)") and deleted, and the
  // bar goes on without it. Other gadgets go in as they are.
  void Insert(TGadget& gadget, TPlacement placement = After, TGadget* sibling = nullptr) override;
  // The width of the desired size.
  int GetWidth();

  // The height a menu of items entries and separators separators is estimated at, for a font
  // whose "fg" is fontHeight high: (h + 2) n + (h - 9) s + 4.
  static int EstimateMenuHeight(int fontHeight, int items, int separators);
  // Where PopupMenuAt shows menu, in screen coordinates: above the gadget of that id, centred on
  // it, with the menu's estimated bottom on the gadget's top; without such a gadget, above the
  // cursor.
  TPoint PopupMenuPoint(UINT id, const TMenu& menu) const;
  // Tracks the menu there, centred horizontally, owned by owner. Whether tracking succeeded.
  bool PopupMenuAt(UINT id, TPopupMenu& menu, TWindow& owner);

  // Commands go to the parent window unchanged.
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;

 protected:
  // Paints the background; the answer is always that it is erased.
  bool EvEraseBkgnd(TDC& dc) override;
  // A quick second click comes as a double click: the bar swallows it, so a button is not
  // pressed twice by one double click.
  void EvLButtonDblClk(UINT modKeys, const TPoint& point) override;
  // The bar never keeps the focus: it goes on to the application frame.
  void EvSetFocus(HWND lostFocus) override;
  // The tick goes to the animating button.
  void EvTimer(UINT timerId) override;
  // Moving or sizing a transparent bar lets its leading animated buttons take up their new
  // background.
  void EvWindowPosChanging(WINDOWPOS& pos) override;
  // An animating button that leaves the bar stops the animation, so no tick reaches it later.
  void Removed(TGadget& gadget) override;

 private:
  void StopAnimating();

  ZAnimButtonGadget* animating_ = nullptr;
  // The same button as a gadget, taken while it was whole: a button being deleted is only a
  // gadget by the time it leaves the bar.
  const TGadget* animatingGadget_ = nullptr;
  UINT timer_ = 0;
  std::unique_ptr<TDib> dib_;
  TColor color_;
};

}  // namespace quill
