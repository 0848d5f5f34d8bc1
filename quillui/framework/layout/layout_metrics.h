// Layout constraints of a layout window's children: four records (X, Y, Width, Height) per child
// that tie its edges, centre or size to the layout window, to a sibling or to itself.
#pragma once

namespace quill {

class TWindow;

// One enumeration for edges and sizes, so that either slot of an axis may read either dimension
// (a height taken as a percentage of a width, for instance). The values are the classic ones.
// The enumerations have a fixed underlying type so that a record holding garbage is merely
// invalid (the solver reports it), not undefined.
enum TEdge : int {
  lmLeft = 0,
  lmTop = 1,
  lmRight = 2,
  lmBottom = 3,
  lmCenter = 4,
  lmWidth = 5,
  lmHeight = 6,
};

// The slot decides the axis, so "above" and "left of" are one relationship (subtract the
// margin), as are "below" and "right of" (add the margin).
enum TRelationship : int {
  lmAsIs = 0,
  lmPercentOf = 1,
  lmAbove = 2,
  lmLeftOf = lmAbove,
  lmBelow = 3,
  lmRightOf = lmBelow,
  lmSameAs = 4,
  lmAbsolute = 5,
};

enum TMeasurementUnits : int {
  lmPixels = 0,
  lmLayoutUnits = 1,  // an eighth of the layout window's font height
};

// A RelWin of null names the layout window itself.
inline constexpr TWindow* lmParent = nullptr;

struct TLayoutConstraint {
  TWindow* RelWin = lmParent;
  TEdge MyEdge = lmLeft;
  TRelationship Relationship = lmAsIs;
  TEdge OtherEdge = lmLeft;
  TMeasurementUnits Units = lmLayoutUnits;
  // One number whose meaning follows the relationship: a margin for the adjacency
  // relationships, an offset or coordinate for same-as and absolute, a percentage for
  // percent-of. The names are kept because hosts write whichever reads best.
  union {
    int Margin = 0;
    int Value;
    int Percent;
  };

  bool operator==(const TLayoutConstraint& o) const {
    return RelWin == o.RelWin && MyEdge == o.MyEdge && Relationship == o.Relationship &&
           OtherEdge == o.OtherEdge && Units == o.Units && Value == o.Value;
  }
};

// The setters never touch Units, so SetMeasurementUnits may come before or after them.
struct TEdgeConstraint : TLayoutConstraint {
  void Set(TEdge edge, TRelationship rel, TWindow* otherWin, TEdge otherEdge, int value = 0) {
    MyEdge = edge;
    Relationship = rel;
    RelWin = otherWin;
    OtherEdge = otherEdge;
    Value = value;
  }
  // My right edge, margin columns before the sibling's left edge.
  void LeftOf(TWindow* sibling, int margin = 0) { Set(lmRight, lmLeftOf, sibling, lmLeft, margin); }
  // My left edge, margin columns after the sibling's right edge.
  void RightOf(TWindow* sibling, int margin = 0) {
    Set(lmLeft, lmRightOf, sibling, lmRight, margin);
  }
  void Above(TWindow* sibling, int margin = 0) { Set(lmBottom, lmAbove, sibling, lmTop, margin); }
  void Below(TWindow* sibling, int margin = 0) { Set(lmTop, lmBelow, sibling, lmBottom, margin); }
  void SameAs(TWindow* otherWin, TEdge edge) { Set(edge, lmSameAs, otherWin, edge, 0); }
  void PercentOf(TWindow* otherWin, TEdge edge, int percent) {
    Set(edge, lmPercentOf, otherWin, edge, percent);
  }
  // RelWin and OtherEdge are left as they were: neither relationship reads another window.
  void Absolute(TEdge edge, int value) {
    MyEdge = edge;
    Relationship = lmAbsolute;
    Value = value;
  }
  void AsIs(TEdge edge) {
    MyEdge = edge;
    Relationship = lmAsIs;
  }
};

// The Width or Height slot: an edge or centre like the X and Y slots, or a size. SizeEdge is
// the slot's own dimension (lmWidth or lmHeight).
template <TEdge SizeEdge>
struct TEdgeOrSizeConstraint : TEdgeConstraint {
  static_assert(SizeEdge == lmWidth || SizeEdge == lmHeight);

  TEdgeOrSizeConstraint() {
    MyEdge = SizeEdge;
    OtherEdge = SizeEdge;
  }

  using TEdgeConstraint::Absolute;
  using TEdgeConstraint::PercentOf;
  using TEdgeConstraint::SameAs;

  void Absolute(int size) {
    MyEdge = SizeEdge;
    Relationship = lmAbsolute;
    Value = size;
  }
  // A percentage of another window's size; otherSize may name the other dimension.
  void PercentOf(TWindow* otherWin, int percent, TEdge otherSize = SizeEdge) {
    Set(SizeEdge, lmPercentOf, otherWin, otherSize, percent);
  }
  // Another window's size plus value.
  void SameAs(TWindow* otherWin, TEdge otherSize, int value) {
    Set(SizeEdge, lmSameAs, otherWin, otherSize, value);
  }
};

using TEdgeOrWidthConstraint = TEdgeOrSizeConstraint<lmWidth>;
using TEdgeOrHeightConstraint = TEdgeOrSizeConstraint<lmHeight>;

// A fresh record leaves the child where it is and as big as it is.
struct TLayoutMetrics {
  TEdgeConstraint X;
  TEdgeConstraint Y;
  TEdgeOrWidthConstraint Width;
  TEdgeOrHeightConstraint Height;

  TLayoutMetrics();

  // Sets the units of all four slots.
  void SetMeasurementUnits(TMeasurementUnits units);

  bool operator==(const TLayoutMetrics& o) const {
    return X == o.X && Y == o.Y && Width == o.Width && Height == o.Height;
  }
};

}  // namespace quill
