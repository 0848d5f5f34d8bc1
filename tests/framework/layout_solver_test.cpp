// The constraint solver of the layout windows: the arithmetic, the pair table, ordering,
// problems and removal, on opaque window keys.
#include "quillui/framework/layout/layout_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <numeric>
#include <optional>
#include <random>
#include <set>
#include <vector>

namespace quill {
namespace {

// Windows are opaque keys to the solver; distinct addresses are all it needs.
TWindow* Win(int i) {
  static char keys[64];
  return reinterpret_cast<TWindow*>(&keys[i]);
}

TLayoutMetrics Pixels() {
  TLayoutMetrics m;
  m.SetMeasurementUnits(lmPixels);
  return m;
}

std::set<TWindow*> Reported(const LayoutSolution& s) {
  std::set<TWindow*> out;
  for (const LayoutProblem& p : s.problems) out.insert(p.window);
  return out;
}

TLayoutConstraint Record(TWindow* relWin, TEdge myEdge, TRelationship rel, TEdge otherEdge,
                         int value, TMeasurementUnits units) {
  TLayoutConstraint c;
  c.RelWin = relWin;
  c.MyEdge = myEdge;
  c.Relationship = rel;
  c.OtherEdge = otherEdge;
  c.Value = value;
  c.Units = units;
  return c;
}

TEST(LayoutMetricsTest, DefaultsAndSetters) {
  static_assert(lmLeft == 0 && lmTop == 1 && lmRight == 2 && lmBottom == 3 && lmCenter == 4 &&
                lmWidth == 5 && lmHeight == 6);
  static_assert(lmAsIs == 0 && lmPercentOf == 1 && lmAbove == 2 && lmLeftOf == 2 && lmBelow == 3 &&
                lmRightOf == 3 && lmSameAs == 4 && lmAbsolute == 5);
  static_assert(lmPixels == 0 && lmLayoutUnits == 1 && lmParent == nullptr);

  TLayoutMetrics m;
  EXPECT_EQ(m.X, Record(lmParent, lmLeft, lmAsIs, lmLeft, 0, lmLayoutUnits));
  EXPECT_EQ(m.Y, Record(lmParent, lmTop, lmAsIs, lmTop, 0, lmLayoutUnits));
  EXPECT_EQ(m.Width, Record(lmParent, lmWidth, lmAsIs, lmWidth, 0, lmLayoutUnits));
  EXPECT_EQ(m.Height, Record(lmParent, lmHeight, lmAsIs, lmHeight, 0, lmLayoutUnits));

  // Units set before the setters survive them: the setters never touch units.
  m.SetMeasurementUnits(lmPixels);
  m.X.RightOf(Win(1), 5);
  m.Y.Below(Win(2), 6);
  m.Width.LeftOf(Win(3), 7);
  m.Height.Above(Win(4), 8);
  EXPECT_EQ(m.X, Record(Win(1), lmLeft, lmRightOf, lmRight, 5, lmPixels));
  EXPECT_EQ(m.Y, Record(Win(2), lmTop, lmBelow, lmBottom, 6, lmPixels));
  EXPECT_EQ(m.Width, Record(Win(3), lmRight, lmLeftOf, lmLeft, 7, lmPixels));
  EXPECT_EQ(m.Height, Record(Win(4), lmBottom, lmAbove, lmTop, 8, lmPixels));
  EXPECT_EQ(m.Height.Margin, 8);

  // Absolute and as-is keep the window and edge, which they do not read.
  m.X.Absolute(lmCenter, 40);
  EXPECT_EQ(m.X, Record(Win(1), lmCenter, lmAbsolute, lmRight, 40, lmPixels));
  m.Height.AsIs(lmHeight);
  EXPECT_EQ(m.Height, Record(Win(4), lmHeight, lmAsIs, lmTop, 8, lmPixels));

  // The size shorthands of the second slots.
  m.Width.Absolute(120);
  EXPECT_EQ(m.Width, Record(Win(3), lmWidth, lmAbsolute, lmLeft, 120, lmPixels));
  m.Height.PercentOf(Win(5), 50, lmWidth);
  EXPECT_EQ(m.Height, Record(Win(5), lmHeight, lmPercentOf, lmWidth, 50, lmPixels));
  EXPECT_EQ(m.Height.Percent, 50);
  m.Height.PercentOf(Win(5), 25);
  EXPECT_EQ(m.Height, Record(Win(5), lmHeight, lmPercentOf, lmHeight, 25, lmPixels));
  m.Width.SameAs(Win(6), lmHeight, -3);
  EXPECT_EQ(m.Width, Record(Win(6), lmWidth, lmSameAs, lmHeight, -3, lmPixels));
  m.Width.SameAs(Win(6), lmRight);
  EXPECT_EQ(m.Width, Record(Win(6), lmRight, lmSameAs, lmRight, 0, lmPixels));
  m.X.PercentOf(lmParent, lmRight, 50);
  EXPECT_EQ(m.X, Record(lmParent, lmRight, lmPercentOf, lmRight, 50, lmPixels));

  m.SetMeasurementUnits(lmLayoutUnits);
  for (const TLayoutConstraint* s : {&m.X, &m.Y}) EXPECT_EQ(s->Units, lmLayoutUnits);
  EXPECT_EQ(m.Width.Units, lmLayoutUnits);
  EXPECT_EQ(m.Height.Units, lmLayoutUnits);
}

// One child alone in its layout window.
struct SingleCase {
  const char* name;
  std::function<void(TLayoutMetrics&, TWindow* self)> set;
  TRect expected;
  TSize parent = {800, 600};
  TRect current = {0, 0, 50, 40};
  int font = 0;
  TMeasurementUnits units = lmPixels;
};

// X: centre at 50 % of the parent's right edge; Width: an absolute size.
std::function<void(TLayoutMetrics&, TWindow*)> Centred(int width) {
  return [width](TLayoutMetrics& m, TWindow*) {
    m.X.Set(lmCenter, lmPercentOf, lmParent, lmRight, 50);
    m.Width.Absolute(width);
  };
}

TEST(LayoutSolverTest, SingleChildCases) {
  const std::vector<SingleCase> cases = {
      {"parent margins",
       [](TLayoutMetrics& m, auto) {
         m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, 10);
         m.Y.Set(lmTop, lmBelow, lmParent, lmTop, 10);
         m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, 40);
         m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, 40);
       },
       {10, 10, 760, 560}},
      {"absolute",
       [](TLayoutMetrics& m, auto) {
         m.X.Absolute(lmLeft, 10);
         m.Y.Absolute(lmTop, 10);
         m.Width.Absolute(100);
         m.Height.Absolute(100);
       },
       {10, 10, 110, 110}},
      {"fresh metrics leave the child alone",
       [](TLayoutMetrics&, auto) {},
       {7, 8, 57, 48},
       {800, 600},
       {7, 8, 57, 48}},
      {"X holds a right edge",
       [](TLayoutMetrics& m, auto) {
         m.X.Set(lmRight, lmLeftOf, lmParent, lmRight, 10);
         m.Width.Absolute(100);
       },
       {690, 0, 790, 40}},
      {"centre 50% of parent right, width 5", Centred(5), {398, 0, 403, 40}},
      {"centre 50% of parent right, width 4", Centred(4), {398, 0, 402, 40}},
      {"centre 50% of parent right, width 6", Centred(6), {397, 0, 403, 40}},
      {"centre 50% of a 799 parent", Centred(5), {397, 0, 402, 40}, {799, 600}},
      {"centre 50% of an 801 parent", Centred(5), {398, 0, 403, 40}, {801, 600}},
      {"centre same as parent centre",
       [](TLayoutMetrics& m, auto) {
         m.X.SameAs(lmParent, lmCenter);
         m.Width.Absolute(5);
       },
       {397, 0, 402, 40}},
      {"vertical centre same as parent centre",
       [](TLayoutMetrics& m, auto) {
         m.Y.SameAs(lmParent, lmCenter);
         m.Height.Absolute(4);
       },
       {0, 298, 50, 302}},
      {"percentages quantised to 1/256",
       [](TLayoutMetrics& m, auto) {
         m.X.Set(lmLeft, lmPercentOf, lmParent, lmRight, 33);          // 0.328125 * 800 = 262.5
         m.Width.PercentOf(lmParent, 66);                              // 0.65625 * 800 = 525
         m.Y.Set(lmTop, lmPercentOf, lmParent, lmBottom, 10);          // 0.09765625 * 600 = 58.59
         m.Height.Set(lmBottom, lmPercentOf, lmParent, lmBottom, 90);  // 539.06
       },
       {262, 58, 787, 539}},
      {"negative percentage rounds toward minus infinity",
       [](TLayoutMetrics& m, auto) {
         m.X.Set(lmLeft, lmPercentOf, lmParent, lmRight, -33);  // -262.5
         m.Width.Absolute(10);
       },
       {-263, 0, -253, 40}},
      {"percentage of a size is rounded down",
       [](TLayoutMetrics& m, auto) {
         m.X.Absolute(lmLeft, 0);
         m.Width.PercentOf(lmParent, 50);
       },
       {0, 0, 400, 40},
       {801, 600}},
      {"a centred percentage size is whole pixels first",  // 262.5 -> 262 around 399.5
       [](TLayoutMetrics& m, auto) {
         m.X.SameAs(lmParent, lmCenter);
         m.Width.PercentOf(lmParent, 33);
       },
       {269, 0, 531, 40}},
      {"left edge and centre",
       [](TLayoutMetrics& m, auto) {
         m.X.Absolute(lmLeft, 10);
         m.Width.SameAs(lmParent, lmCenter);
       },
       {10, 0, 790, 40}},
      {"right edge and centre",
       [](TLayoutMetrics& m, auto) {
         m.X.Absolute(lmRight, 100);
         m.Width.Absolute(lmCenter, 50);
       },
       {1, 0, 100, 40}},
      {"centre and right edge",
       [](TLayoutMetrics& m, auto) {
         m.X.Absolute(lmCenter, 50);
         m.Width.Absolute(lmRight, 80);
       },
       {21, 0, 80, 40}},
      {"bottom in Y with a centre in Height stays vertical",
       [](TLayoutMetrics& m, auto) {
         m.Y.Absolute(lmBottom, 100);
         m.Height.Absolute(lmCenter, 50);
       },
       {0, 1, 50, 100}},
      {"as-is centre keeps the current centre",
       [](TLayoutMetrics& m, auto) {
         m.X.AsIs(lmCenter);  // current centre 14.5
         m.Width.Absolute(4);
       },
       {13, 0, 17, 40},
       {800, 600},
       {10, 0, 20, 40}},
      {"height a percentage of its own width",
       [](TLayoutMetrics& m, auto self) {
         m.X.Absolute(lmLeft, 0);
         m.Y.Absolute(lmTop, 0);
         m.Width.Absolute(200);
         m.Height.PercentOf(self, 50, lmWidth);
       },
       {0, 0, 200, 100}},
      {"right edge from its own left edge",
       [](TLayoutMetrics& m, auto self) {
         m.X.Absolute(lmLeft, 30);
         m.Width.Set(lmRight, lmSameAs, self, lmLeft, 100);
       },
       {30, 0, 130, 40}},
      {"crossed edges give size 0",
       [](TLayoutMetrics& m, auto) {
         m.X.Absolute(lmLeft, 100);
         m.Width.Absolute(lmRight, 50);
         m.Y.Absolute(lmTop, 10);
         m.Height.Absolute(-5);
       },
       {100, 10, 100, 10}},
      {"layout units at the default font height",
       [](TLayoutMetrics& m, auto) {
         m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, 10);
         m.Y.Set(lmTop, lmBelow, lmParent, lmTop, 5);
       },
       {20, 10, 70, 50},
       {800, 600},
       {0, 0, 50, 40},
       0,
       lmLayoutUnits},
      {"layout units at font height 12, truncating",
       [](TLayoutMetrics& m, auto) {
         m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, 10);  // (120 + 4) / 8 = 15
         m.Y.Set(lmTop, lmBelow, lmParent, lmTop, -2);      // (-24 + 4) / 8 = -2.5 -> -2
         m.Width.Absolute(3);                               // (36 + 4) / 8 = 5
         m.Height.PercentOf(lmParent, 50);                  // percentages are not converted
       },
       {15, -2, 20, 298},
       {800, 600},
       {0, 0, 50, 40},
       12,
       lmLayoutUnits},
  };
  for (const SingleCase& c : cases) {
    SCOPED_TRACE(c.name);
    LayoutChild child{Win(0), {}, c.current};
    c.set(child.metrics, Win(0));
    child.metrics.SetMeasurementUnits(c.units);
    const LayoutSolution s = SolveLayout({&child, 1}, c.parent, c.font);
    EXPECT_TRUE(s.ok);
    ASSERT_TRUE(s.rects[0].has_value());
    EXPECT_EQ(*s.rects[0], c.expected);
  }
}

TEST(LayoutSolverTest, AdjacencyToASibling) {
  std::vector<LayoutChild> kids(2);
  kids[0] = {Win(0), Pixels(), {10, 0, 110, 20}};  // A stays as it is
  kids[1] = {Win(1), Pixels(), {}};
  kids[1].metrics.X.RightOf(Win(0), 0);
  kids[1].metrics.Width.Absolute(30);
  EXPECT_EQ(SolveLayout(kids, {800, 600}, 0).rects[1]->left, 110);
  kids[1].metrics.X.RightOf(Win(0), 5);
  EXPECT_EQ(SolveLayout(kids, {800, 600}, 0).rects[1]->left, 115);

  // Edges read from the sibling's same side differ from the opposite-edge cases only by the
  // margin's sign: never a hidden pixel.
  kids[1].metrics.X.Set(lmLeft, lmLeftOf, Win(0), lmRight, 4);
  EXPECT_EQ(SolveLayout(kids, {800, 600}, 0).rects[1]->left, 106);
  kids[1].metrics.X.Set(lmLeft, lmSameAs, Win(0), lmRight, 0);
  EXPECT_EQ(SolveLayout(kids, {800, 600}, 0).rects[1]->left, 110);

  // A window whose edges crossed keeps its computed boundaries for the siblings reading them.
  kids[0].metrics.X.Absolute(lmLeft, 100);
  kids[0].metrics.Width.Absolute(lmRight, 60);
  const LayoutSolution s = SolveLayout(kids, {800, 600}, 0);
  EXPECT_EQ(s.rects[0]->Width(), 0);
  EXPECT_EQ(s.rects[1]->left, 60);
}

// The tableau's arrangement, built the way the tableau builds it: spacers, then panes.
enum class Position {
  kTopLeft,
  kBottomLeft,
  kTopRight,
  kBottomRight,
  kFullLeft,
  kFullRight,
  kMaximized
};

struct Tableau {
  TWindow* vs = Win(10);
  TWindow* hs = Win(11);
  TWindow* media = Win(12);
  TWindow* path = Win(13);
  TWindow* article = Win(14);
  TWindow* maxi = Win(15);
  std::vector<LayoutChild> children;
};

TLayoutMetrics PaneMetrics(const Tableau& t, Position pos, int margin) {
  TLayoutMetrics m;
  m.SetMeasurementUnits(lmPixels);
  const bool left =
      pos == Position::kTopLeft || pos == Position::kBottomLeft || pos == Position::kFullLeft;
  const bool bottom = pos == Position::kBottomLeft || pos == Position::kBottomRight;
  const bool full = pos == Position::kFullLeft || pos == Position::kFullRight;
  if (pos == Position::kMaximized) {
    m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, margin);
    m.Y.Set(lmTop, lmBelow, lmParent, lmTop, margin);
    m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, margin);
    m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, margin);
    return m;
  }
  if (left) {
    m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, margin);
    m.Width.LeftOf(t.vs, 0);
  } else {
    m.X.RightOf(t.vs, 0);
    m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, margin);
  }
  if (bottom) {
    m.Y.Below(t.hs, 0);
    m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, margin);
  } else {
    m.Y.Set(lmTop, lmBelow, lmParent, lmTop, margin);
    m.Height.Above(t.hs, 0);
  }
  if (full) m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, margin);
  return m;
}

// Templates: 0 "MP_A", 1 "P_MA", 2 "P_M_OR_A".
Tableau MakeTableau(int layout, int gap = 5, int margin = 5) {
  Tableau t;
  TLayoutMetrics vs = Pixels();
  vs.X.Set(lmCenter, lmPercentOf, lmParent, lmRight, 50);
  vs.Y.SameAs(lmParent, lmTop);
  vs.Width.Absolute(gap);
  vs.Height.SameAs(lmParent, lmBottom);
  TLayoutMetrics hs = Pixels();
  hs.X.SameAs(lmParent, lmLeft);
  hs.Y.Set(lmCenter, lmPercentOf, lmParent, lmBottom, 50);
  hs.Width.Set(lmRight, lmLeftOf, t.vs, lmRight, 0);
  hs.Height.Absolute(gap);
  const Position media[] = {Position::kTopLeft, Position::kTopRight, Position::kFullRight};
  const Position path[] = {Position::kBottomLeft, Position::kFullLeft, Position::kFullLeft};
  const Position article[] = {Position::kFullRight, Position::kBottomRight, Position::kFullRight};
  t.children = {
      {t.vs, vs, {}},
      {t.hs, hs, {}},
      {t.media, PaneMetrics(t, media[layout], margin), {}},
      {t.path, PaneMetrics(t, path[layout], margin), {}},
      {t.article, PaneMetrics(t, article[layout], margin), {}},
      {t.maxi, PaneMetrics(t, Position::kMaximized, margin), {}},
  };
  return t;
}

struct TableauCase {
  int layout;
  TSize size;
  TRect vs, hs, media, path, article, maxi;
};

TEST(LayoutSolverTest, TableauTemplatesAndSizes) {
  const TableauCase cases[] = {
      {0,
       {800, 600},
       {398, 0, 403, 600},
       {0, 298, 403, 303},
       {5, 5, 398, 298},
       {5, 303, 398, 595},
       {403, 5, 795, 595},
       {5, 5, 795, 595}},
      {1,
       {800, 600},
       {398, 0, 403, 600},
       {0, 298, 403, 303},
       {403, 5, 795, 298},
       {5, 5, 398, 595},
       {403, 303, 795, 595},
       {5, 5, 795, 595}},
      {2,
       {800, 600},
       {398, 0, 403, 600},
       {0, 298, 403, 303},
       {403, 5, 795, 595},
       {5, 5, 398, 595},
       {403, 5, 795, 595},
       {5, 5, 795, 595}},
      {0,
       {801, 601},
       {398, 0, 403, 601},
       {0, 298, 403, 303},
       {5, 5, 398, 298},
       {5, 303, 398, 596},
       {403, 5, 796, 596},
       {5, 5, 796, 596}},
      {0,
       {799, 599},
       {397, 0, 402, 599},
       {0, 297, 402, 302},
       {5, 5, 397, 297},
       {5, 302, 397, 594},
       {402, 5, 794, 594},
       {5, 5, 794, 594}},
      {0,
       {1024, 768},
       {510, 0, 515, 768},
       {0, 382, 515, 387},
       {5, 5, 510, 382},
       {5, 387, 510, 763},
       {515, 5, 1019, 763},
       {5, 5, 1019, 763}},
  };
  for (const TableauCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "template " << c.layout << " at " << c.size);
    const Tableau t = MakeTableau(c.layout);
    const LayoutSolution s = SolveLayout(t.children, c.size, 0);
    ASSERT_TRUE(s.ok);
    const TRect expected[] = {c.vs, c.hs, c.media, c.path, c.article, c.maxi};
    for (size_t i = 0; i < t.children.size(); ++i) EXPECT_EQ(s.rects[i], expected[i]) << i;
  }
}

TEST(LayoutSolverTest, ResultsDoNotDependOnRecordOrder) {
  // Every ordering of the tableau's records, the spacers last included, gives the same layout.
  const Tableau t = MakeTableau(0);
  const LayoutSolution reference = SolveLayout(t.children, {800, 600}, 0);
  ASSERT_TRUE(reference.ok);
  std::vector<size_t> order(t.children.size());
  std::iota(order.begin(), order.end(), 0);
  int permutations = 0;
  do {
    std::vector<LayoutChild> shuffled;
    for (size_t i : order) shuffled.push_back(t.children[i]);
    const LayoutSolution s = SolveLayout(shuffled, {800, 600}, 0);
    ASSERT_TRUE(s.ok);
    for (size_t k = 0; k < order.size(); ++k) ASSERT_EQ(s.rects[k], reference.rects[order[k]]);
    ++permutations;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(permutations, 720);
}

// The 400 x 300 pane: title bar, holder and optional button bar, insets of 6.
TEST(LayoutSolverTest, PaneInsides) {
  TWindow* title = Win(0);
  TWindow* holder = Win(1);
  TWindow* bar = Win(2);
  std::vector<LayoutChild> kids(2);
  kids[0] = {title, Pixels(), {0, 0, 150, 23}};
  kids[0].metrics.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, 6);
  kids[0].metrics.Y.Set(lmTop, lmBelow, lmParent, lmTop, 6);
  kids[0].metrics.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, 6);
  kids[0].metrics.Height.AsIs(lmHeight);
  kids[1] = {holder, Pixels(), {}};
  kids[1].metrics.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, 6);
  kids[1].metrics.Y.Below(title, 0);
  kids[1].metrics.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, 6);
  kids[1].metrics.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, 6);

  LayoutSolution s = SolveLayout(kids, {400, 300}, 0);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.rects[0], TRect(6, 6, 394, 29));
  EXPECT_EQ(s.rects[1], TRect(6, 29, 394, 294));

  // As-is is read at every layout: a title bar that shrank keeps its new height.
  kids[0].current = TRect(6, 6, 394, 26);
  s = SolveLayout(kids, {400, 300}, 0);
  EXPECT_EQ(s.rects[0], TRect(6, 6, 394, 26));
  EXPECT_EQ(s.rects[1], TRect(6, 26, 394, 294));
  kids[0].current = TRect(6, 6, 394, 29);

  LayoutChild barChild{bar, Pixels(), {}};
  barChild.metrics.X.Set(lmRight, lmLeftOf, lmParent, lmRight, 6);
  barChild.metrics.Width.Absolute(120);
  barChild.metrics.Y.Set(lmBottom, lmAbove, lmParent, lmBottom, 6);
  barChild.metrics.Height.Absolute(24);
  kids.push_back(barChild);
  kids[1].metrics.Height.Above(bar, 3);
  s = SolveLayout(kids, {400, 300}, 0);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.rects[2], TRect(274, 270, 394, 294));
  EXPECT_EQ(s.rects[1], TRect(6, 29, 394, 267));

  // No bezel and no left margin: flush with the pane's sides.
  kids.resize(1);
  kids[0].metrics.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, 0);
  kids[0].metrics.Y.Set(lmTop, lmBelow, lmParent, lmTop, 3);
  kids[0].metrics.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, 0);
  EXPECT_EQ(SolveLayout(kids, {400, 300}, 0).rects[0], TRect(0, 3, 400, 26));
}

// Inside a 388 x 23 title bar.
TEST(LayoutSolverTest, TitleBarInsides) {
  std::vector<LayoutChild> kids(3);
  kids[0] = {Win(0), Pixels(), {0, 0, 24, 24}};  // icon
  kids[0].metrics.X.SameAs(lmParent, lmLeft);
  kids[0].metrics.Y.SameAs(lmParent, lmTop);
  kids[0].metrics.Width.AsIs(lmWidth);
  kids[0].metrics.Height.Absolute(21 - 2);
  kids[1] = {Win(1), Pixels(), {}};  // button bar, right edge as same-as with an offset
  kids[1].metrics.X.Set(lmRight, lmSameAs, lmParent, lmRight, -2);
  kids[1].metrics.Width.Absolute(34);
  kids[1].metrics.Y.Absolute(lmTop, std::max(0, (21 - 15) / 2 - 1));
  kids[1].metrics.Height.Absolute(15);
  kids[2] = kids[1];  // the same bar written as left-of with a margin
  kids[2].window = Win(2);
  kids[2].metrics.X.Set(lmRight, lmLeftOf, lmParent, lmRight, 2);
  const LayoutSolution s = SolveLayout(kids, {388, 23}, 0);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.rects[0], TRect(0, 0, 24, 19));
  EXPECT_EQ(s.rects[1], TRect(352, 2, 386, 17));
  EXPECT_EQ(s.rects[2], TRect(352, 2, 386, 17));
}

TEST(LayoutSolverTest, CyclesAreReportedAndTheRestIsPlaced) {
  std::vector<LayoutChild> kids(5);
  for (int i = 0; i < 5; ++i) {
    kids[size_t(i)] = {Win(i), Pixels(), {i, i, i + 10, i + 10}};
    kids[size_t(i)].metrics.Width.Absolute(10);
  }
  kids[0].metrics.X.RightOf(Win(1), 0);      // A from B
  kids[1].metrics.X.RightOf(Win(0), 0);      // B from A
  kids[2].metrics.X.Absolute(lmLeft, 50);    // independent
  kids[3].metrics.X.RightOf(Win(0), 3);      // waits on the cycle
  kids[4].metrics.X.SameAs(Win(4), lmLeft);  // its own left from its own left
  const LayoutSolution s = SolveLayout(kids, {800, 600}, 0);
  EXPECT_FALSE(s.ok);
  EXPECT_FALSE(s.rects[0]);
  EXPECT_FALSE(s.rects[1]);
  EXPECT_EQ(s.rects[2], TRect(50, 2, 60, 12));
  EXPECT_FALSE(s.rects[3]);
  EXPECT_FALSE(s.rects[4]);
  EXPECT_EQ(Reported(s), (std::set<TWindow*>{Win(0), Win(1), Win(3), Win(4)}));
  for (const LayoutProblem& p : s.problems) {
    const bool onCycle = p.window != Win(3);
    EXPECT_EQ(p.message.find("cycle") != std::string::npos, onCycle) << p.message;
  }
}

TEST(LayoutSolverTest, MissingAndInvalidConstraintsAreReported) {
  std::vector<LayoutChild> kids(6);
  for (int i = 0; i < 6; ++i) kids[size_t(i)] = {Win(i), Pixels(), {0, 0, 10, 10}};
  kids[0].metrics.X.RightOf(Win(40), 0);    // no record for that window
  kids[1].metrics.X.Absolute(lmWidth, 10);  // a size in X
  kids[2].metrics.X.Absolute(lmRight, 10);  // two right edges
  kids[2].metrics.Width.Absolute(lmRight, 20);
  kids[3].metrics.Y.Absolute(lmCenter, 10);  // two centres
  kids[3].metrics.Height.Absolute(lmCenter, 20);
  kids[4].metrics.X.Relationship = static_cast<TRelationship>(9);  // garbage
  kids[5].metrics.X.RightOf(Win(41), 0);  // a stale window that is never read
  kids[5].metrics.X.Absolute(lmLeft, 7);
  const LayoutSolution s = SolveLayout(kids, {800, 600}, 0);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(Reported(s), (std::set<TWindow*>{Win(0), Win(1), Win(2), Win(3), Win(4)}));
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(s.rects[size_t(i)]) << i;
  EXPECT_EQ(s.rects[5], TRect(7, 0, 17, 10));
  EXPECT_NE(s.problems[0].message.find("without layout metrics"), std::string::npos);
}

// Random records, valid or not, referring to siblings, themselves, the parent or windows
// without records: the solver always finishes, every child is either placed or reported, and
// the outcome does not depend on the order of the records.
TEST(LayoutSolverTest, RandomConstraintsAreOrderIndependent) {
  std::mt19937 rng(20240611);
  auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
  constexpr int kChildren = 8;
  for (int round = 0; round < 300; ++round) {
    std::vector<LayoutChild> kids(kChildren);
    for (int i = 0; i < kChildren; ++i) {
      LayoutChild& k = kids[size_t(i)];
      k.window = Win(i);
      k.current = TRect(pick(50), pick(50), 50 + pick(50), 50 + pick(50));
      const TEdge firstEdges[2][3] = {{lmLeft, lmCenter, lmRight}, {lmTop, lmCenter, lmBottom}};
      const TEdge secondEdges[2][3] = {{lmWidth, lmCenter, lmRight},
                                       {lmHeight, lmCenter, lmBottom}};
      TLayoutConstraint* slots[4] = {&k.metrics.X, &k.metrics.Width, &k.metrics.Y,
                                     &k.metrics.Height};
      for (int slot = 0; slot < 4; ++slot) {
        TLayoutConstraint& c = *slots[slot];
        const int axis = slot / 2;
        c.MyEdge =
            pick(20) == 0 ? TEdge(pick(7)) : (slot % 2 ? secondEdges : firstEdges)[axis][pick(3)];
        c.Relationship = TRelationship(pick(6));
        c.OtherEdge = TEdge(pick(7));
        c.Units = TMeasurementUnits(pick(2));
        c.Value = pick(200) - 100;
        // Mostly earlier siblings and the parent, so that most children can be placed; now and
        // then any sibling (cycles) or a window without a record.
        const int r = pick(100);
        c.RelWin = r < 40   ? lmParent
                   : r < 85 ? (i > 0 ? Win(pick(i)) : lmParent)
                   : r < 95 ? Win(pick(kChildren))
                            : Win(40);
      }
    }
    const LayoutSolution s = SolveLayout(kids, {640, 480}, 13);
    const std::set<TWindow*> reported = Reported(s);
    EXPECT_EQ(s.ok, reported.empty());
    for (int i = 0; i < kChildren; ++i) {
      EXPECT_NE(s.rects[size_t(i)].has_value(), reported.count(Win(i)) == 1) << round;
    }
    std::vector<size_t> order(kChildren);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    std::vector<LayoutChild> shuffled;
    for (size_t i : order) shuffled.push_back(kids[i]);
    const LayoutSolution t = SolveLayout(shuffled, {640, 480}, 13);
    EXPECT_EQ(Reported(t), reported);
    for (size_t k = 0; k < order.size(); ++k) EXPECT_EQ(t.rects[k], s.rects[order[k]]) << round;
  }
}

TEST(LayoutSolverTest, AbsurdValuesSaturateInsteadOfOverflowing) {
  std::vector<LayoutChild> kids(3);
  kids[0] = {Win(0), {}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}};  // layout units
  kids[0].metrics.X.RightOf(lmParent, INT_MAX);
  kids[0].metrics.X.OtherEdge = lmRight;
  kids[0].metrics.Width.PercentOf(lmParent, INT_MIN);
  kids[0].metrics.Y.AsIs(lmCenter);
  kids[1] = {Win(1), Pixels(), {}};
  kids[1].metrics.X.PercentOf(Win(0), lmCenter, INT_MAX);
  kids[1].metrics.Width.SameAs(Win(0), lmWidth, INT_MAX);
  kids[1].metrics.Y.Set(lmTop, lmAbove, Win(0), lmBottom, INT_MIN);
  kids[1].metrics.Height.PercentOf(Win(0), INT_MAX, lmWidth);
  kids[2] = {nullptr, Pixels(), {}};  // a record without a window
  const LayoutSolution s = SolveLayout(kids, {INT_MAX, INT_MIN}, INT_MAX);
  for (size_t i = 0; i < 2; ++i) {
    ASSERT_TRUE(s.rects[i]) << i;
    const TRect& r = *s.rects[i];
    for (int v : {r.left, r.top, r.right, r.bottom}) {
      EXPECT_LE(std::abs(int64_t(v)), kLayoutCoordLimit);
    }
    EXPECT_GE(r.Width(), 0);
    EXPECT_GE(r.Height(), 0);
  }
  EXPECT_EQ(Reported(s), std::set<TWindow*>{nullptr});
}

TEST(LayoutSolverTest, RemovalReattachesSiblings) {
  TWindow* a = Win(0);
  TWindow* b = Win(1);
  TWindow* status = Win(2);
  TWindow* c = Win(3);
  std::vector<LayoutChild> kids(4);
  kids[0] = {a, Pixels(), {}};
  kids[0].metrics.Y.Set(lmTop, lmBelow, lmParent, lmTop, 10);
  kids[0].metrics.Height.Absolute(20);
  kids[1] = {b, Pixels(), {0, 0, 30, 30}};
  kids[1].metrics.Y.Below(a, 4);
  kids[1].metrics.Width.SameAs(a, lmWidth, 0);  // a size from the window that goes
  kids[1].metrics.Height.Above(status, 3);
  kids[2] = {status, Pixels(), {}};  // a bar along the bottom: Y holds the bottom edge
  kids[2].metrics.Y.Set(lmBottom, lmAbove, lmParent, lmBottom, 0);
  kids[2].metrics.Height.Absolute(20);
  kids[3] = {c, Pixels(), {}};
  kids[3].metrics.X.RightOf(b, 2);
  kids[3].metrics.Width.Absolute(lmRight, 300);
  kids[3].metrics.Width.RelWin = status;  // stale: absolute reads no window

  RemoveLayoutChild(kids, a);
  ASSERT_EQ(kids.size(), 3u);
  EXPECT_EQ(kids[0].metrics.Y.RelWin, lmParent);
  EXPECT_EQ(kids[0].metrics.Y.OtherEdge, lmTop);
  EXPECT_EQ(kids[0].metrics.Y.Relationship, lmBelow);
  EXPECT_EQ(kids[0].metrics.Width.Relationship, lmAsIs);

  RemoveLayoutChild(kids, status);
  ASSERT_EQ(kids.size(), 2u);
  // The bar's height was a size, so b's bottom follows the bar's Y: the parent's bottom.
  EXPECT_EQ(kids[0].metrics.Height.RelWin, lmParent);
  EXPECT_EQ(kids[0].metrics.Height.OtherEdge, lmBottom);
  EXPECT_EQ(kids[0].metrics.Height.Margin, 3);
  EXPECT_EQ(kids[1].metrics.Width.RelWin, lmParent);
  EXPECT_EQ(kids[1].metrics.Width.Relationship, lmAbsolute);

  const LayoutSolution s = SolveLayout(kids, {400, 300}, 0);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.rects[0], TRect(0, 4, 30, 297));
  EXPECT_EQ(s.rects[1], TRect(32, 0, 300, 0));

  RemoveLayoutChild(kids, Win(50));  // no record: nothing changes
  EXPECT_EQ(kids.size(), 2u);
}

TEST(LayoutSolverTest, RemovalOfAChildAttachedToASibling) {
  // C sits right of B, B right of A: when B goes, C follows A's right edge instead.
  std::vector<LayoutChild> kids(3);
  kids[0] = {Win(0), Pixels(), {10, 0, 60, 10}};
  kids[1] = {Win(1), Pixels(), {}};
  kids[1].metrics.X.RightOf(Win(0), 5);
  kids[1].metrics.Width.Absolute(20);
  kids[2] = {Win(2), Pixels(), {}};
  kids[2].metrics.X.RightOf(Win(1), 7);
  kids[2].metrics.Width.LeftOf(Win(1), -100);  // right edge 100 past B's left
  EXPECT_EQ(SolveLayout(kids, {400, 300}, 0).rects[2], TRect(92, 0, 165, 0));
  RemoveLayoutChild(kids, Win(1));
  const LayoutSolution s = SolveLayout(kids, {400, 300}, 0);
  ASSERT_TRUE(s.ok);
  // B's width was a size, so C's right edge is re-attached to B's X window, still reading
  // a left edge.
  EXPECT_EQ(s.rects[1], TRect(67, 0, 110, 0));
}

}  // namespace
}  // namespace quill
