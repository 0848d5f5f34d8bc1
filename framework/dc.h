// Device contexts: where drawing goes (the screen or a bitmap's pixels), with an origin and a
// clip region. Window DCs are clipped to what of the window is visible; a paint DC further to
// its update region.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/color.h"
#include "framework/geometry.h"
#include "framework/region.h"

namespace quill {

class TScreen;
class TWindow;

// Pixels a DC draws into: 8-bit indexed rows, top-down.
struct TPixelTarget {
  uint8_t* pixels = nullptr;
  size_t stride = 0;
  int width = 0;
  int height = 0;
  TScreen* screen = nullptr;  // set when the target is the screen (dirty tracking, palette)
};

class TDC {
 public:
  virtual ~TDC() = default;
  TDC(const TDC&) = delete;
  TDC& operator=(const TDC&) = delete;

  // Logical (0, 0) in target pixels.
  TPoint GetOrigin() const { return origin_; }
  // The clip box in logical coordinates.
  TRect GetClipBox() const;
  // The clip region in target pixels.
  const TRegion& GetClipRegion() const { return clip_; }
  void IntersectClipRect(const TRect& logical);
  bool PtVisible(const TPoint& logical) const;

  // The palette index that shows colour c on this DC's target.
  uint8_t MapColor(TColor c) const;

  void FillRect(const TRect& logical, TColor color);
  void FillRectIndex(const TRect& logical, uint8_t index);
  void SetPixel(int x, int y, TColor color);
  // The index at a logical point, or -1 outside the target.
  int GetPixelIndex(int x, int y) const;
  const TPixelTarget& Target() const { return target_; }

 protected:
  TDC() = default;
  void MarkDirty(const TRect& device);

  TPixelTarget target_;
  TPoint origin_;
  TRegion clip_;  // target pixels
};

// The client area of a window, clipped to its visible part.
class TClientDC : public TDC {
 public:
  explicit TClientDC(TWindow& window);
};

// The whole window including its border, clipped to its visible part.
class TWindowDC : public TDC {
 public:
  explicit TWindowDC(TWindow& window);
};

// Made by the WM_PAINT handler: takes the window's update region (validating it), sends
// WM_ERASEBKGND first when an erase is pending, and clips drawing to the update region.
class TPaintDC : public TDC {
 public:
  explicit TPaintDC(TWindow& window);

  bool Erase = false;  // the background still needs erasing (WM_ERASEBKGND answered 0)
  TRect Rect;          // bounds of the area to paint, client coordinates
};

// The whole screen, unclipped.
class TScreenDC : public TDC {
 public:
  TScreenDC();
};

}  // namespace quill
