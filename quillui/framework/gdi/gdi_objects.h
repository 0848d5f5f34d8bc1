// Pens and brushes of the drawing layer: plain values (style, colour, width) that a device
// context copies when they are selected, so nothing dangles when the caller's object goes.
#pragma once

#include "quillui/framework/base/color.h"

namespace quill {

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

inline constexpr int BS_SOLID = 0;
inline constexpr int BS_NULL = 1;
inline constexpr int BS_HOLLOW = BS_NULL;

// Lines are one pixel wide and solid whatever width and style say, except PS_NULL, which
// draws nothing: the library draws nothing else.
class TPen {
 public:
  explicit TPen(TColor color, int width = 1, int style = PS_SOLID)
      : color_(color), width_(width), style_(style) {}
  static TPen NullPen() { return TPen(TColor::Black, 1, PS_NULL); }

  TColor GetColor() const { return color_; }
  int GetWidth() const { return width_; }
  int GetStyle() const { return style_; }
  bool IsNull() const { return style_ == PS_NULL; }
  bool operator==(const TPen&) const = default;

 private:
  TColor color_;
  int width_;
  int style_;
};

class TBrush {
 public:
  explicit TBrush(TColor color) : color_(color), style_(BS_SOLID) {}
  static TBrush NullBrush() {
    TBrush b(TColor::White);
    b.style_ = BS_NULL;
    return b;
  }

  TColor GetColor() const { return color_; }
  int GetStyle() const { return style_; }
  bool IsNull() const { return style_ == BS_NULL; }
  bool operator==(const TBrush&) const = default;

 private:
  TColor color_;
  int style_;
};

}  // namespace quill
