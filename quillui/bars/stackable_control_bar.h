// ZStackableControlBar: a vertical bar that wraps its gadgets into rows, left to right, and
// sizes itself to them; with ZPathBar and ZMenuBar, its two ready-made kinds.
#pragma once

#include "quillui/bars/control_bar.h"

namespace quill {

class ZStackableControlBar : public ZControlBar {
 public:
  // Vertical, with a 10-point gadget-window font.
  ZStackableControlBar(TWindow* parent, TColor color, TModule* module = nullptr);

  // Only Vertical is accepted (another direction is reported and taken as Vertical).
  void SetDirection(TTileDirection direction) override;
  // Places the gadgets in rows of rect's width (0: the widest gadget's), wrapping a gadget
  // that would pass the row's edge unless it starts the row. Answers (left, top, left +
  // width - 1, bottom): the right edge is one less than the row's, and hosts lay out against
  // that. Empty (left, top, left, top) when there is no width.
  TRect ArrangeGadgets(const TRect& rect);
  // The arrangement at the widest gadget's width, plus the side margins (and the border).
  void GetDesiredSize(TSize& size) override;
  TRect TileGadgets() override;
  // Lays out, then takes the desired size at (0, 0) of the parent.
  void LayoutSession() override;
};

// The path bar: transparent, shrink-wrapped both ways. A click gives it the keyboard focus
// unless it went to the gadget kKeepFocusId.
class ZPathBar : public ZStackableControlBar {
 public:
  static constexpr int kKeepFocusId = 9001;
  explicit ZPathBar(TWindow* parent);

 protected:
  // Plain window sizing: the bar lays itself out in LayoutSession.
  void EvSize(UINT sizeType, const TSize& size) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
};

// The menu bar: transparent; it keeps the focus it is given and, losing it, tells the frame
// with command kLostFocusCommand.
class ZMenuBar : public ZStackableControlBar {
 public:
  static constexpr UINT kLostFocusCommand = 9811;
  explicit ZMenuBar(TWindow* parent);

 protected:
  void EvKillFocus(HWND getFocus) override;
  void EvSetFocus(HWND lostFocus) override;
};

}  // namespace quill
