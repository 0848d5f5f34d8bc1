// The layout windows' constraint solver: turns the children's layout metrics into rectangles in
// the layout window's client coordinates. Pure: it never touches a window.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/layout/layout_metrics.h"

namespace quill {

// One child as the solver sees it. The window pointer is only a key: RelWin values are matched
// against it and nothing is ever dereferenced. `current` is where the child is now, read for
// as-is constraints.
struct LayoutChild {
  TWindow* window = nullptr;
  TLayoutMetrics metrics;
  TRect current;
};

struct LayoutProblem {
  TWindow* window = nullptr;  // the child whose constraints could not be used
  std::string message;
};

struct LayoutSolution {
  // One entry per child, in the order given; nullopt when the child cannot be placed and must
  // stay where it is.
  std::vector<std::optional<TRect>> rects;
  std::vector<LayoutProblem> problems;
  bool ok = true;  // no problems
};

// Font height used for layout units when the layout window has none.
inline constexpr int kDefaultLayoutFontHeight = 16;

// Coordinates saturate at +-kLayoutCoordLimit, so absurd constraints cannot overflow and the
// width of any rectangle the solver produces still fits in an int.
inline constexpr int kLayoutCoordLimit = (1 << 30) - 1;

// Solves every child's rectangle against a client area of parentClient. fontHeight is the
// layout window's font height in pixels (layout units are an eighth of it); 0 or less means
// the default. Runs in time linear in the number of children, whatever the order of the
// records, and always terminates: cycles, references to windows without a record and invalid
// constraint pairs are reported, and every child that does not depend on them is still placed.
LayoutSolution SolveLayout(std::span<const LayoutChild> children, TSize parentClient,
                           int fontHeight);

// Drops the record of `removed`, first re-attaching every sibling that referred to it to what
// the removed child was attached to, so that no record keeps a pointer to a window that is gone.
void RemoveLayoutChild(std::vector<LayoutChild>& children, TWindow* removed);

}  // namespace quill
