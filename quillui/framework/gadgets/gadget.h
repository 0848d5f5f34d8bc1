// Gadgets: the window-less items a gadget window tiles, paints and feeds with mouse input
// (buttons, text fields, separators), with their borders, margins and hooks.
#pragma once

#include "quillui/framework/base/color.h"
#include "quillui/framework/base/geometry.h"
#include "quillui/framework/base/messages.h"

namespace quill {

class TDC;
class TGadgetList;
class TGadgetWindow;

// Margins of a gadget or of a gadget window. Layout units are eighths of the gadget window's
// font height; border units are system border widths.
struct TMargins {
  enum TUnits { Pixels, LayoutUnits, BorderUnits };

  TUnits Units = LayoutUnits;
  int Left = 0;
  int Right = 0;
  int Top = 0;
  int Bottom = 0;

  TMargins() = default;
  TMargins(TUnits units, int left, int right, int top, int bottom)
      : Units(units), Left(left), Right(right), Top(top), Bottom(bottom) {}

  // The margins in pixels; fontHeight is the height layout units are eighths of.
  void GetPixels(int& left, int& right, int& top, int& bottom, int fontHeight) const;
  bool operator==(const TMargins&) const = default;
};

// Pixels of border on each side of a gadget.
struct TBorders {
  int Left = 0;
  int Right = 0;
  int Top = 0;
  int Bottom = 0;
  bool operator==(const TBorders&) const = default;
};

// The button-face scheme gadgets draw with (face, 3-D highlight and shadow, frame, text).
inline constexpr TColor kGadgetFaceColor = TColor::LtGray;
inline constexpr TColor kGadgetHighlightColor = TColor::White;
inline constexpr TColor kGadgetShadowColor = TColor::Gray;
inline constexpr TColor kGadgetFrameColor = TColor::Black;
inline constexpr TColor kGadgetTextColor = TColor::Black;

// Layout units to pixels, rounded to nearest as the classic MulDiv does.
int LayoutUnitsToPixels(int units, int fontHeight);

class TGadget {
 public:
  // Border styles; the widths SetBorderStyle gives are none 0, plain, raised and recessed 1,
  // embossed 2 pixels on every side.
  enum TBorderStyle { None, Plain, Raised, Recessed, Embossed };

  explicit TGadget(int id = 0, TBorderStyle borderStyle = None);
  // A gadget still in a window takes itself out first.
  virtual ~TGadget();
  TGadget(const TGadget&) = delete;
  TGadget& operator=(const TGadget&) = delete;

  int GetId() const { return id_; }
  void SetId(int id) { id_ = id; }
  // The window that holds the gadget, or null.
  TGadgetWindow* GetGadgetWindow() const { return window_; }
  // The next gadget of the list that holds it, or null.
  TGadget* NextGadget() const { return next_; }

  // Bounds in the gadget window's client coordinates.
  const TRect& GetBounds() const { return bounds_; }
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  // Sets the style and the border widths that go with it.
  void SetBorderStyle(TBorderStyle style);
  const TBorders& GetBorders() const { return borders_; }
  void SetBorders(const TBorders& borders);
  const TMargins& GetMargins() const { return margins_; }
  void SetMargins(const TMargins& margins);
  // Border plus margin on each side, in pixels.
  void GetOuterSizes(int& left, int& right, int& top, int& bottom) const;

  // A shrink-wrapped dimension follows the gadget's content; the other keeps the bounds'
  // extent. Plain gadgets start with neither: their desired size is their bounds' size.
  void SetShrinkWrap(bool width, bool height);
  bool GetShrinkWrapWidth() const { return shrinkWrapWidth_; }
  bool GetShrinkWrapHeight() const { return shrinkWrapHeight_; }
  // Wide-as-possible gadgets share the room the others leave along the tiling direction.
  void SetWideAsPossible(bool wide = true);
  bool GetWideAsPossible() const { return wideAsPossible_; }
  bool GetEnabled() const { return enabled_; }
  bool IsVisible() const { return visible_; }
  // Hidden gadgets take no room, are not painted and get no mouse input.
  void SetVisible(bool visible);
  // Whether a left press captures the mouse for this gadget until the release.
  bool GetTrackMouse() const { return trackMouse_; }
  void SetTrackMouse(bool track) { trackMouse_ = track; }

  // --- Hooks ----------------------------------------------------------------------------------
  virtual void SetEnabled(bool enabled);
  // Borders and margins plus, for a dimension that is not shrink-wrapped, the bounds' extent.
  virtual void GetDesiredSize(TSize& size);
  // Moves the gadget; Moved() follows when the bounds change.
  virtual void SetBounds(const TRect& bounds);
  // Idle time from the window; at count 0 the gadget updates its command state. Answers
  // whether it wants more idle time.
  virtual bool IdleAction(long idleCount);
  virtual void CommandEnable();
  virtual void SysColorChange();
  // The window got its handle (or the gadget joined a window that has one).
  virtual void Created();
  // The gadget joined a window / left it (the window link is still set during Removed()).
  virtual void Inserted();
  virtual void Moved();
  virtual void Removed();
  // Gadget coordinates: (0, 0) is the gadget's top-left corner.
  virtual bool PtIn(const TPoint& point);
  // The DC's origin is at the gadget's top-left corner and its clip within the gadget.
  virtual void Paint(TDC& dc);
  virtual void PaintBorder(TDC& dc);
  // Mouse input, points in gadget coordinates. Enter and leave come as the pointer crosses
  // the gadget; moves only while the gadget holds the mouse (a press with TrackMouse).
  virtual void MouseEnter(UINT modKeys, const TPoint& point);
  virtual void MouseMove(UINT modKeys, const TPoint& point);
  virtual void MouseLeave(UINT modKeys, const TPoint& point);
  virtual void LButtonDown(UINT modKeys, const TPoint& point);
  virtual void LButtonUp(UINT modKeys, const TPoint& point);

  // The area inside borders and margins, in gadget coordinates.
  virtual void GetInnerRect(TRect& rect);

  // Invalidation goes through the window (nothing without one). Not virtual on purpose: a
  // derived gadget may give its own Invalidate without changing what the base's calls do.
  void Invalidate(bool erase = true);
  void InvalidateRect(const TRect& rect, bool erase = true);  // gadget coordinates
  // Paints the window's invalid area now.
  void Update();

 protected:
  // Draws a border of the given style over the gadget's edges using the border widths.
  void PaintBorderStyle(TDC& dc, TBorderStyle style);
  // Height of the window's font, for layout-unit margins (0 without a window).
  int WindowFontHeight() const;

 private:
  friend class TGadgetList;
  friend class TGadgetWindow;

  int id_;
  TRect bounds_;
  TBorderStyle borderStyle_ = None;
  TBorders borders_;
  TMargins margins_;
  bool shrinkWrapWidth_ = false;
  bool shrinkWrapHeight_ = false;
  bool wideAsPossible_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool trackMouse_ = false;
  TGadgetList* list_ = nullptr;
  TGadgetWindow* window_ = nullptr;
  TGadget* next_ = nullptr;
};

// Empty room between gadgets: size pixels along the window's tiling direction. It takes no
// input and paints nothing.
class TSeparatorGadget : public TGadget {
 public:
  explicit TSeparatorGadget(int size = 6);

  void GetDesiredSize(TSize& size) override;
  void Paint(TDC& dc) override;

 private:
  int size_;
};

}  // namespace quill
