// ZButtonAnimator: what an animated button asks of the gadget window that holds it, the one
// timer that paces its click animation. The control bars answer it.
#pragma once

namespace quill {

class ZAnimButtonGadget;

class ZButtonAnimator {
 public:
  virtual ~ZButtonAnimator() = default;
  // start non-zero: animate this button (its EvTimer is called on each tick); zero: its
  // animation is over. False when another button is animating or no timer could be had.
  virtual bool RequestAnimating(ZAnimButtonGadget& button, int start) = 0;
};

}  // namespace quill
