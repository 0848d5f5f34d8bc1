#include "quillui/framework/layout/layout_solver.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace quill {

namespace {

using i64 = int64_t;

// Every fraction the rules produce is a multiple of 1/512 (percentages are quantised to 1/256,
// centres add a half), so quantities are kept exactly as integers scaled by 512.
constexpr i64 kScale = 512;
constexpr i64 kHalf = kScale / 2;
constexpr i64 kCoordLimit = kLayoutCoordLimit;
constexpr i64 kSizeLimit = 2 * kCoordLimit;
constexpr i64 kScaledLimit = kSizeLimit * kScale;
// Layout units multiply by the font height; a bound on it keeps that product far from overflow.
constexpr i64 kFontHeightLimit = 1 << 16;

i64 FloorDiv(i64 a, i64 b) {
  i64 q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

i64 Clamp(i64 v, i64 limit) { return std::clamp(v, -limit, limit); }

// Each child contributes eight graph nodes: the quantity each of its four slots fixes, and its
// four boundaries. Slots feed the boundaries of their own axis; a slot that reads another window
// (or the child itself) depends on the boundaries it reads. Boundaries are the only thing a slot
// can read, which keeps the dependencies fine-grained: a child may size itself from its own
// other axis, or place one edge from its own other edge, without that being a cycle.
enum Node : int { kSlotX, kSlotWidth, kSlotY, kSlotHeight, kLeft, kRight, kTop, kBottom };
constexpr int kNodesPerChild = 8;
constexpr std::array<const char*, 4> kSlotNames = {"X", "Width", "Y", "Height"};

// What a slot fixes on its own axis.
enum class Fixes { kLow, kHigh, kCenter, kSize, kInvalid };

// How an axis' two slots combine into its two boundaries.
enum class Pair {
  kLowHigh,
  kLowSize,
  kHighSize,
  kCenterSize,
  kCenterHigh,
  kLowCenter,
  kHighCenter,
  kInvalid,
};

bool IsHorizontal(int slot) { return slot == kSlotX || slot == kSlotWidth; }

Fixes SlotFixes(int slot, TEdge edge) {
  const bool horizontal = IsHorizontal(slot);
  const bool first = slot == kSlotX || slot == kSlotY;
  if (edge == lmCenter) return Fixes::kCenter;
  if (edge == (horizontal ? lmRight : lmBottom)) return Fixes::kHigh;
  if (first && edge == (horizontal ? lmLeft : lmTop)) return Fixes::kLow;
  if (!first && edge == (horizontal ? lmWidth : lmHeight)) return Fixes::kSize;
  return Fixes::kInvalid;
}

Pair PairOf(Fixes first, Fixes second) {
  switch (first) {
    case Fixes::kLow:
      if (second == Fixes::kHigh) return Pair::kLowHigh;
      if (second == Fixes::kSize) return Pair::kLowSize;
      if (second == Fixes::kCenter) return Pair::kLowCenter;
      break;
    case Fixes::kHigh:
      if (second == Fixes::kSize) return Pair::kHighSize;
      if (second == Fixes::kCenter) return Pair::kHighCenter;
      break;
    case Fixes::kCenter:
      if (second == Fixes::kSize) return Pair::kCenterSize;
      if (second == Fixes::kHigh) return Pair::kCenterHigh;
      break;
    default: break;
  }
  return Pair::kInvalid;
}

bool ReadsOtherWindow(TRelationship rel) { return rel != lmAsIs && rel != lmAbsolute; }

bool IsKnownRelationship(TRelationship rel) { return rel >= lmAsIs && rel <= lmAbsolute; }

bool IsKnownEdge(TEdge edge) { return edge >= lmLeft && edge <= lmHeight; }

// The boundary nodes a slot reads from its RelWin; a size or centre reads both of one axis.
int BoundariesRead(TEdge otherEdge, int slot, std::array<int, 2>& out) {
  switch (otherEdge) {
    case lmLeft: out = {kLeft, -1}; return 1;
    case lmRight: out = {kRight, -1}; return 1;
    case lmTop: out = {kTop, -1}; return 1;
    case lmBottom: out = {kBottom, -1}; return 1;
    case lmWidth: out = {kLeft, kRight}; return 2;
    case lmHeight: out = {kTop, kBottom}; return 2;
    case lmCenter:
      out = IsHorizontal(slot) ? std::array<int, 2>{kLeft, kRight}
                               : std::array<int, 2>{kTop, kBottom};
      return 2;
  }
  return 0;
}

// q(p) * 256: the percentage quantised to 1/256, rounded toward zero symmetrically.
i64 QuantisedPercent(int percent) {
  const i64 p = percent;
  return p >= 0 ? (256 * p) / 100 : -((256 * -p) / 100);
}

// a * b saturated, so that absurd percentages cannot overflow.
i64 SaturatingMul(i64 a, i64 b) {
  i64 r = 0;
  if (__builtin_mul_overflow(a, b, &r)) {
    return ((a < 0) != (b < 0)) ? -kScaledLimit : kScaledLimit;
  }
  return r;
}

class Solver {
 public:
  Solver(std::span<const LayoutChild> children, TSize parent, int fontHeight)
      : children_(children),
        n_(children.size()),
        parentW_(Clamp(parent.cx, kCoordLimit)),
        parentH_(Clamp(parent.cy, kCoordLimit)),
        font_(fontHeight > 0 ? std::min<i64>(fontHeight, kFontHeightLimit)
                             : kDefaultLayoutFontHeight) {}

  LayoutSolution Run() {
    IndexWindows();
    BuildGraph();
    Evaluate();
    return Collect();
  }

 private:
  size_t NodeId(size_t child, int node) const { return child * kNodesPerChild + size_t(node); }

  void Report(size_t child, std::string message) {
    if (reported_[child]) return;
    reported_[child] = true;
    solution_.problems.push_back({children_[child].window, std::move(message)});
  }

  void Fail(size_t child, int node) { failed_[NodeId(child, node)] = true; }

  void FailAxis(size_t child, bool horizontal) {
    const int nodes[2][4] = {{kSlotY, kSlotHeight, kTop, kBottom},
                             {kSlotX, kSlotWidth, kLeft, kRight}};
    for (int node : nodes[horizontal ? 1 : 0]) Fail(child, node);
  }

  void IndexWindows() {
    const size_t nodes = n_ * kNodesPerChild;
    failed_.assign(nodes, false);
    done_.assign(nodes, false);
    values_.assign(nodes, 0);
    reported_.assign(n_, false);
    plans_.assign(n_ * 2, Pair::kInvalid);
    index_.reserve(n_);
    for (size_t i = 0; i < n_; ++i) {
      TWindow* w = children_[i].window;
      if (w == lmParent) {
        Report(i, "a child record has no window");
        for (int node = 0; node < kNodesPerChild; ++node) Fail(i, node);
        continue;
      }
      if (!index_.emplace(w, i).second) {
        Report(i, "the window has two layout records; the later one is ignored");
        for (int node = 0; node < kNodesPerChild; ++node) Fail(i, node);
      }
    }
  }

  const TLayoutConstraint& SlotOf(size_t child, int slot) const {
    const TLayoutMetrics& m = children_[child].metrics;
    switch (slot) {
      case kSlotX: return m.X;
      case kSlotWidth: return m.Width;
      case kSlotY: return m.Y;
      default: return m.Height;
    }
  }

  // Checks one axis of a child and records its slot pair; false when it cannot be used.
  bool PlanAxis(size_t i, bool horizontal) {
    const int first = horizontal ? kSlotX : kSlotY;
    const int second = horizontal ? kSlotWidth : kSlotHeight;
    for (int slot : {first, second}) {
      const TLayoutConstraint& c = SlotOf(i, slot);
      const bool edgesKnown =
          IsKnownEdge(c.MyEdge) && (!ReadsOtherWindow(c.Relationship) || IsKnownEdge(c.OtherEdge));
      if (!IsKnownRelationship(c.Relationship) || !edgesKnown ||
          (c.Units != lmPixels && c.Units != lmLayoutUnits)) {
        Report(i, std::string("the ") + kSlotNames[slot] + " constraint holds an unknown value");
        return false;
      }
      if (SlotFixes(slot, c.MyEdge) == Fixes::kInvalid) {
        Report(i, std::string("the ") + kSlotNames[slot] +
                      " constraint names an edge that slot cannot fix");
        return false;
      }
    }
    const Pair pair = PairOf(SlotFixes(first, SlotOf(i, first).MyEdge),
                             SlotFixes(second, SlotOf(i, second).MyEdge));
    if (pair == Pair::kInvalid) {
      Report(i, std::string("the ") + kSlotNames[first] + " and " + kSlotNames[second] +
                    " constraints fix the same quantity");
      return false;
    }
    plans_[i * 2 + (horizontal ? 1 : 0)] = pair;
    return true;
  }

  void AddDep(size_t node, size_t dep) {
    auto& d = deps_[node];
    d[depCount_[node]++] = int(dep);
  }

  void BuildGraph() {
    const size_t nodes = n_ * kNodesPerChild;
    deps_.assign(nodes, {-1, -1});
    depCount_.assign(nodes, 0);
    for (size_t i = 0; i < n_; ++i) {
      if (failed_[NodeId(i, kSlotX)] && failed_[NodeId(i, kSlotY)]) continue;  // bad record
      for (bool horizontal : {true, false}) {
        if (!PlanAxis(i, horizontal)) FailAxis(i, horizontal);
      }
      for (int slot = kSlotX; slot <= kSlotHeight; ++slot) {
        if (failed_[NodeId(i, slot)]) continue;
        const TLayoutConstraint& c = SlotOf(i, slot);
        if (!ReadsOtherWindow(c.Relationship) || c.RelWin == lmParent) continue;
        size_t other = i;
        if (c.RelWin != children_[i].window) {
          auto it = index_.find(c.RelWin);
          if (it == index_.end()) {
            Report(i, std::string("the ") + kSlotNames[slot] +
                          " constraint refers to a window without layout metrics");
            Fail(i, slot);
            continue;
          }
          other = it->second;
        }
        std::array<int, 2> read{};
        const int count = BoundariesRead(c.OtherEdge, slot, read);
        for (int k = 0; k < count; ++k) AddDep(NodeId(i, slot), NodeId(other, read[size_t(k)]));
      }
      for (bool horizontal : {true, false}) AddBoundaryDeps(i, horizontal);
    }
  }

  void AddBoundaryDeps(size_t i, bool horizontal) {
    const int first = horizontal ? kSlotX : kSlotY;
    const int second = horizontal ? kSlotWidth : kSlotHeight;
    const size_t low = NodeId(i, horizontal ? kLeft : kTop);
    const size_t high = NodeId(i, horizontal ? kRight : kBottom);
    if (failed_[low]) return;
    const size_t f = NodeId(i, first);
    const size_t s = NodeId(i, second);
    switch (plans_[i * 2 + (horizontal ? 1 : 0)]) {
      case Pair::kLowHigh:
        AddDep(low, f);
        AddDep(high, s);
        break;
      case Pair::kLowSize:
      case Pair::kLowCenter:
        AddDep(low, f);
        AddDep(high, f);
        AddDep(high, s);
        break;
      case Pair::kHighSize:
      case Pair::kHighCenter:
        AddDep(high, f);
        AddDep(low, f);
        AddDep(low, s);
        break;
      case Pair::kCenterSize:
        AddDep(low, f);
        AddDep(low, s);
        AddDep(high, f);
        AddDep(high, s);
        break;
      case Pair::kCenterHigh:
        AddDep(high, s);
        AddDep(low, f);
        AddDep(low, s);
        break;
      case Pair::kInvalid: break;
    }
  }

  // Kahn's algorithm: a node is evaluated once everything it reads is known. Failed nodes are
  // never evaluated, so whatever depends on them (or sits on a cycle) stays unknown.
  void Evaluate() {
    const size_t nodes = n_ * kNodesPerChild;
    std::vector<size_t> start(nodes + 1, 0);
    for (size_t v = 0; v < nodes; ++v) {
      for (int k = 0; k < depCount_[v]; ++k) ++start[size_t(deps_[v][size_t(k)]) + 1];
    }
    for (size_t v = 0; v < nodes; ++v) start[v + 1] += start[v];
    std::vector<size_t> dependents(start[nodes]);
    std::vector<size_t> fill(start.begin(), start.end() - 1);
    for (size_t v = 0; v < nodes; ++v) {
      for (int k = 0; k < depCount_[v]; ++k) dependents[fill[size_t(deps_[v][size_t(k)])]++] = v;
    }
    std::vector<int> waiting(depCount_.begin(), depCount_.end());
    std::vector<size_t> ready;
    ready.reserve(nodes);
    for (size_t v = 0; v < nodes; ++v) {
      if (waiting[v] == 0 && !failed_[v]) ready.push_back(v);
    }
    for (size_t head = 0; head < ready.size(); ++head) {
      const size_t v = ready[head];
      values_[v] = Compute(v / kNodesPerChild, int(v % kNodesPerChild));
      done_[v] = true;
      for (size_t e = start[v]; e < start[v + 1]; ++e) {
        const size_t d = dependents[e];
        if (--waiting[d] == 0 && !failed_[d]) ready.push_back(d);
      }
    }
  }

  i64 Compute(size_t i, int node) {
    return node <= kSlotHeight ? SlotValue(i, node) : Boundary(i, node);
  }

  i64 Value(size_t child, int node) const { return values_[NodeId(child, node)]; }

  i64 ToPixels(const TLayoutConstraint& c, int v) const {
    const i64 value = v;
    return c.Units == lmLayoutUnits ? (value * font_ + 4) / 8 : value;
  }

  // E of the rules, scaled: the quantity OtherEdge names on RelWin, read for `slot`.
  i64 Read(size_t i, int slot, const TLayoutConstraint& c) const {
    const bool horizontal = IsHorizontal(slot);
    if (c.RelWin == lmParent) {
      switch (c.OtherEdge) {
        case lmLeft:
        case lmTop: return 0;
        case lmRight:
        case lmWidth: return parentW_ * kScale;
        case lmBottom:
        case lmHeight: return parentH_ * kScale;
        case lmCenter: return ((horizontal ? parentW_ : parentH_) - 1) * kHalf;
      }
      return 0;
    }
    const size_t j = c.RelWin == children_[i].window ? i : index_.at(c.RelWin);
    switch (c.OtherEdge) {
      case lmLeft: return Value(j, kLeft) * kScale;
      case lmTop: return Value(j, kTop) * kScale;
      case lmRight: return Value(j, kRight) * kScale;
      case lmBottom: return Value(j, kBottom) * kScale;
      case lmWidth: return (Value(j, kRight) - Value(j, kLeft)) * kScale;
      case lmHeight: return (Value(j, kBottom) - Value(j, kTop)) * kScale;
      case lmCenter:
        return horizontal ? (Value(j, kLeft) + Value(j, kRight) - 1) * kHalf
                          : (Value(j, kTop) + Value(j, kBottom) - 1) * kHalf;
    }
    return 0;
  }

  // The current value of what the slot fixes, for as-is.
  i64 Current(size_t i, int slot, Fixes fixes) const {
    const TRect& r = children_[i].current;
    const bool horizontal = IsHorizontal(slot);
    const i64 low = Clamp(horizontal ? r.left : r.top, kCoordLimit);
    const i64 high = Clamp(horizontal ? r.right : r.bottom, kCoordLimit);
    switch (fixes) {
      case Fixes::kLow: return low * kScale;
      case Fixes::kHigh: return high * kScale;
      case Fixes::kCenter: return (low + high - 1) * kHalf;
      default: return (high - low) * kScale;
    }
  }

  i64 SlotValue(size_t i, int slot) const {
    const TLayoutConstraint& c = SlotOf(i, slot);
    const Fixes fixes = SlotFixes(slot, c.MyEdge);
    i64 q = 0;
    switch (c.Relationship) {
      case lmAsIs: q = Current(i, slot, fixes); break;
      case lmAbsolute: q = ToPixels(c, c.Value) * kScale; break;
      case lmSameAs: q = Read(i, slot, c) + ToPixels(c, c.Value) * kScale; break;
      case lmRightOf: q = Read(i, slot, c) + ToPixels(c, c.Margin) * kScale; break;
      case lmLeftOf: q = Read(i, slot, c) - ToPixels(c, c.Margin) * kScale; break;
      case lmPercentOf:
        // E is a multiple of 1/2, so E * 512 / 256 is exact.
        q = SaturatingMul(QuantisedPercent(c.Percent), Read(i, slot, c) / kHalf);
        break;
    }
    // A size is whole pixels, rounded down once; edges and centres stay exact until they
    // become boundaries.
    if (fixes == Fixes::kSize) return Clamp(FloorDiv(q, kScale), kSizeLimit) * kScale;
    return Clamp(q, kScaledLimit);
  }

  i64 Boundary(size_t i, int node) const {
    const bool horizontal = node == kLeft || node == kRight;
    const bool low = node == kLeft || node == kTop;
    const i64 f = Value(i, horizontal ? kSlotX : kSlotY);
    const i64 s = Value(i, horizontal ? kSlotWidth : kSlotHeight);
    const i64 sizeOfS = s / kScale;
    // l = 2c - r + 1 and r = 2c - l + 1 follow from c = (l + r - 1) / 2.
    auto mirror = [](i64 center, i64 edge) {
      return FloorDiv(2 * center - (edge - 1) * kScale, kScale);
    };
    i64 b = 0;
    switch (plans_[i * 2 + (horizontal ? 1 : 0)]) {
      case Pair::kLowHigh: b = FloorDiv(low ? f : s, kScale); break;
      case Pair::kLowSize: b = FloorDiv(f, kScale) + (low ? 0 : sizeOfS); break;
      case Pair::kHighSize: b = FloorDiv(f, kScale) - (low ? sizeOfS : 0); break;
      case Pair::kCenterSize:
        b = FloorDiv(f - (sizeOfS - 1) * kHalf, kScale) + (low ? 0 : sizeOfS);
        break;
      case Pair::kCenterHigh: b = low ? mirror(f, FloorDiv(s, kScale)) : FloorDiv(s, kScale); break;
      case Pair::kLowCenter: b = low ? FloorDiv(f, kScale) : mirror(s, FloorDiv(f, kScale)); break;
      case Pair::kHighCenter: b = low ? mirror(s, FloorDiv(f, kScale)) : FloorDiv(f, kScale); break;
      case Pair::kInvalid: break;
    }
    return Clamp(b, kCoordLimit);
  }

  // Marks the nodes that lie on a cycle among those left unknown (iterative Tarjan), so the
  // report can tell a cycle from a child that merely waits on a broken one.
  std::vector<bool> NodesOnCycles() const {
    const size_t nodes = n_ * kNodesPerChild;
    std::vector<bool> onCycle(nodes, false);
    std::vector<int> order(nodes, -1);
    std::vector<int> low(nodes, 0);
    std::vector<bool> onStack(nodes, false);
    std::vector<size_t> stack;
    std::vector<std::pair<size_t, int>> frames;
    int counter = 0;
    auto open = [&](size_t v) {
      order[v] = low[v] = counter++;
      stack.push_back(v);
      onStack[v] = true;
      frames.push_back({v, 0});
    };
    for (size_t root = 0; root < nodes; ++root) {
      if (done_[root] || failed_[root] || order[root] != -1) continue;
      open(root);
      while (!frames.empty()) {
        auto& [v, next] = frames.back();
        if (next < depCount_[v]) {
          const size_t w = size_t(deps_[v][size_t(next++)]);
          if (done_[w] || failed_[w]) continue;
          if (order[w] == -1) {
            open(w);
          } else if (onStack[w]) {
            low[v] = std::min(low[v], order[w]);
          }
          continue;
        }
        const size_t finished = v;
        frames.pop_back();
        if (!frames.empty()) {
          const size_t parent = frames.back().first;
          low[parent] = std::min(low[parent], low[finished]);
        }
        if (low[finished] != order[finished]) continue;
        size_t members = 0;
        size_t top = 0;
        const size_t base = stack.size();
        do {
          top = stack[stack.size() - 1 - members];
          ++members;
        } while (top != finished);
        for (size_t k = base - members; k < base; ++k) {
          onStack[stack[k]] = false;
          if (members > 1) onCycle[stack[k]] = true;
        }
        stack.resize(base - members);
      }
    }
    return onCycle;
  }

  LayoutSolution Collect() {
    solution_.rects.assign(n_, std::nullopt);
    std::vector<bool> onCycle;
    for (size_t i = 0; i < n_; ++i) {
      bool complete = true;
      bool cyclic = false;
      for (int node = 0; node < kNodesPerChild; ++node) {
        if (done_[NodeId(i, node)]) continue;
        complete = false;
        if (reported_[i]) break;
        if (onCycle.empty()) onCycle = NodesOnCycles();
        cyclic = cyclic || onCycle[NodeId(i, node)];
      }
      if (complete) {
        const i64 l = Value(i, kLeft);
        const i64 t = Value(i, kTop);
        // Crossed edges still count for siblings that refer to them; the window itself gets
        // no size rather than a negative one.
        const i64 r = std::max(l, Value(i, kRight));
        const i64 b = std::max(t, Value(i, kBottom));
        solution_.rects[i] = TRect(int(l), int(t), int(r), int(b));
        continue;
      }
      Report(i, cyclic ? "the layout constraints form a cycle"
                       : "the constraints depend on a window that cannot be placed");
    }
    solution_.ok = solution_.problems.empty();
    return std::move(solution_);
  }

  std::span<const LayoutChild> children_;
  size_t n_;
  i64 parentW_;
  i64 parentH_;
  i64 font_;
  std::unordered_map<TWindow*, size_t> index_;
  std::vector<Pair> plans_;  // per child: vertical, horizontal
  std::vector<std::array<int, 2>> deps_;
  std::vector<int> depCount_;
  std::vector<bool> failed_;
  std::vector<bool> done_;
  std::vector<bool> reported_;
  std::vector<i64> values_;
  LayoutSolution solution_;
};

}  // namespace

LayoutSolution SolveLayout(std::span<const LayoutChild> children, TSize parentClient,
                           int fontHeight) {
  return Solver(children, parentClient, fontHeight).Run();
}

namespace {

// Re-points one slot of a sibling that referred to the removed child. `source` is the removed
// child's slot the sibling is re-attached to.
void Reattach(TLayoutConstraint& slot, const TLayoutConstraint& source, TWindow* removed) {
  slot.RelWin = source.RelWin == removed ? lmParent : source.RelWin;
  if (slot.RelWin == lmParent) slot.OtherEdge = source.OtherEdge;
}

template <TEdge SizeEdge>
void ReattachSecond(TEdgeOrSizeConstraint<SizeEdge>& slot, const TLayoutConstraint& goneFirst,
                    const TLayoutConstraint& goneSecond, TWindow* removed) {
  if (slot.MyEdge == SizeEdge) {
    // A size taken from a window that is gone: keep the size the child has now.
    slot.Relationship = lmAsIs;
    slot.RelWin = lmParent;
    return;
  }
  Reattach(slot, goneSecond.MyEdge == SizeEdge ? goneFirst : goneSecond, removed);
}

}  // namespace

void RemoveLayoutChild(std::vector<LayoutChild>& children, TWindow* removed) {
  auto gone = std::find_if(children.begin(), children.end(),
                           [removed](const LayoutChild& c) { return c.window == removed; });
  if (gone == children.end()) return;
  const TLayoutMetrics was = gone->metrics;
  children.erase(gone);
  for (LayoutChild& child : children) {
    TLayoutMetrics& m = child.metrics;
    // Slots that read no window only lose the stale pointer; their meaning is unchanged.
    for (TLayoutConstraint* slot :
         {static_cast<TLayoutConstraint*>(&m.X), static_cast<TLayoutConstraint*>(&m.Y),
          static_cast<TLayoutConstraint*>(&m.Width), static_cast<TLayoutConstraint*>(&m.Height)}) {
      if (slot->RelWin == removed && !ReadsOtherWindow(slot->Relationship)) {
        slot->RelWin = lmParent;
      }
    }
    if (m.X.RelWin == removed) Reattach(m.X, was.X, removed);
    if (m.Y.RelWin == removed) Reattach(m.Y, was.Y, removed);
    if (m.Width.RelWin == removed) ReattachSecond(m.Width, was.X, was.Width, removed);
    if (m.Height.RelWin == removed) ReattachSecond(m.Height, was.Y, was.Height, removed);
  }
}

}  // namespace quill
