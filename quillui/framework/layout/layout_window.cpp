#include "quillui/framework/layout/layout_window.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "quillui/framework/base/diagnostics.h"

namespace quill {

namespace {

constexpr const char* kCaption = "Layout";

// Where the child is now, for as-is constraints. A child not yet created lives in its
// attributes, which SetWindowPos also updates, so a layout before creation places it too.
TRect CurrentRect(const TWindow& w) {
  if (w.IsWindow()) return w.GetBounds();
  return TRect(w.Attr.X, w.Attr.Y, w.Attr.X + std::max(w.Attr.W, 0),
               w.Attr.Y + std::max(w.Attr.H, 0));
}

std::string Describe(const TWindow& child, const std::string& problem) {
  std::string who =
      child.GetCaption().empty() ? std::string("child") : "child \"" + child.GetCaption() + "\"";
  return who + " (id " + std::to_string(child.GetId()) + "): " + problem;
}

}  // namespace

TLayoutWindow::TLayoutWindow(TWindow* parent, const char* title, TModule* module)
    : TWindow(parent, title, module) {}

void TLayoutWindow::SetChildLayoutMetrics(TWindow& child, const TLayoutMetrics& metrics) {
  if (child.GetParentO() != this) {
    ReportDiagnostic(Describe(child, "layout metrics set for a window that is not a child"),
                     kCaption, __FILE__, __LINE__);
    return;
  }
  auto it = index_.find(&child);
  if (it != index_.end()) {
    records_[it->second].metrics = metrics;
    return;
  }
  index_.emplace(&child, records_.size());
  records_.push_back({&child, metrics, {}});
}

bool TLayoutWindow::GetChildLayoutMetrics(const TWindow& child, TLayoutMetrics& metrics) const {
  auto it = index_.find(&child);
  if (it == index_.end()) return false;
  metrics = records_[it->second].metrics;
  return true;
}

bool TLayoutWindow::RemoveChildLayoutMetrics(TWindow& child) {
  if (!index_.count(&child)) return false;
  RemoveLayoutChild(records_, &child);
  Reindex();
  return true;
}

void TLayoutWindow::RemoveChild(TWindow* child) {
  if (child) RemoveChildLayoutMetrics(*child);
  TWindow::RemoveChild(child);
}

void TLayoutWindow::Reindex() {
  index_.clear();
  for (size_t i = 0; i < records_.size(); ++i) index_.emplace(records_[i].window, i);
}

void TLayoutWindow::DropDepartedChildren() {
  const std::vector<TWindow*>& children = GetChildren();
  const std::unordered_set<const TWindow*> present(children.begin(), children.end());
  std::vector<TWindow*> departed;
  for (const LayoutChild& r : records_) {
    if (!present.count(r.window)) departed.push_back(r.window);
  }
  if (departed.empty()) return;
  // The pointers are only compared, never followed: their windows may be gone.
  for (TWindow* w : departed) RemoveLayoutChild(records_, w);
  Reindex();
}

bool TLayoutWindow::Layout() {
  // A child's handler that asks for a layout while one runs gets it once the running one has
  // moved everybody, instead of a nested pass working from half-moved children.
  if (laying_) {
    layoutAgain_ = true;
    return true;
  }
  laying_ = true;
  bool ok = true;
  constexpr int kMaxPasses = 4;
  int passes = 0;
  do {
    layoutAgain_ = false;
    ok = LayoutOnce();
  } while (layoutAgain_ && ++passes < kMaxPasses);
  laying_ = false;
  return ok;
}

bool TLayoutWindow::LayoutOnce() {
  DropDepartedChildren();
  std::vector<LayoutChild> snapshot = records_;
  for (LayoutChild& c : snapshot) c.current = CurrentRect(*c.window);

  TSize client;
  if (IsWindow()) {
    client = GetClientRect().Size();
  } else {
    const int border = (Attr.Style & WS_BORDER) ? 2 : 0;
    client = TSize(std::max(Attr.W - border, 0), std::max(Attr.H - border, 0));
  }
  const LayoutSolution solution = SolveLayout(snapshot, client, GetLayoutFontHeight());
  for (const LayoutProblem& p : solution.problems) {
    ReportDiagnostic(Describe(*p.window, p.message), kCaption, __FILE__, __LINE__);
  }

  // Most recently added first, the order hosts have always seen. Moving a child sends it
  // messages, and its handlers may drop records: a window whose record went is left alone.
  // A created child is checked through its handle, which dies with the object.
  std::vector<HWND> handles(snapshot.size());
  for (size_t k = 0; k < snapshot.size(); ++k) handles[k] = snapshot[k].window->GetHandle();
  for (size_t k = snapshot.size(); k-- > 0;) {
    if (!solution.rects[k]) continue;
    TWindow* w = snapshot[k].window;
    if ((handles[k] && GetWindowPtr(handles[k]) != w) || !index_.count(w)) continue;
    w->SetWindowPos(nullptr, *solution.rects[k], SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return solution.ok;
}

void TLayoutWindow::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  // A minimised window's client area is empty; laying out into it would only crush the
  // children, and the restore brings a real size.
  if (sizeType != SIZE_MINIMIZED) Layout();
}

const TResponseTable& TLayoutWindow::GetResponseTable() const {
  static const TResponseTable table{&TWindow::GetResponseTable(), {}};
  return table;
}

}  // namespace quill
