// TLayoutWindow: a window that places its children from layout constraints (TLayoutMetrics),
// solved again at every Layout() and whenever its own size changes.
#pragma once

#include <unordered_map>
#include <vector>

#include "quillui/framework/layout/layout_metrics.h"
#include "quillui/framework/layout/layout_solver.h"
#include "quillui/framework/window/window.h"

namespace quill {

class TLayoutWindow : public TWindow {
 public:
  explicit TLayoutWindow(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);

  // Stores a copy of the child's constraints, replacing any earlier record. Moves nothing:
  // callers that change positions call Layout() when they are done. A window that is not a
  // child of this one is refused with a diagnostic.
  void SetChildLayoutMetrics(TWindow& child, const TLayoutMetrics& metrics);
  // Copies the child's record back; false when it has none.
  bool GetChildLayoutMetrics(const TWindow& child, TLayoutMetrics& metrics) const;
  // Drops the child's record, re-attaching siblings that referred to it to what it was
  // attached to. False when it had none.
  bool RemoveChildLayoutMetrics(TWindow& child);

  // Solves every child's rectangle for the current client size and moves each child that has
  // a record. Problems (cycles, references to windows without a record, invalid pairs) go to
  // the diagnostics hook; the children they affect stay where they are and the answer is false.
  bool Layout();

  void RemoveChild(TWindow* child) override;
  const TResponseTable& GetResponseTable() const override;

 protected:
  void EvSize(UINT sizeType, const TSize& size) override;
  // Height in pixels of the font that layout units are eighths of; 0 means the default.
  virtual int GetLayoutFontHeight() const { return 0; }

 private:
  bool LayoutOnce();
  // Drops the records of windows that left the child list without RemoveChild (deleted
  // children), so no record outlives its window.
  void DropDepartedChildren();
  void Reindex();

  std::vector<LayoutChild> records_;  // in the order the records were first set
  std::unordered_map<const TWindow*, size_t> index_;
  bool laying_ = false;
  bool layoutAgain_ = false;
};

}  // namespace quill
