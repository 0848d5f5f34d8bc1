// ListView: a scrolling list of rows (a label, an optional grey detail) that opens a row's place
// on a click or Enter; the Path pane's search results, bookmark list and history show in it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "quillui/framework/window/window.h"

namespace quillonary {

struct ListRow {
  std::string label;
  std::string detail;  // shown in grey after the label; may be empty
  std::string text;    // the bookmark text the row opens
};

class ListView : public quill::TWindow {
 public:
  explicit ListView(quill::TWindow* parent);

  // Replaces the rows; the selection stays at its index when that still names a row, the
  // scroll position is kept within the new rows.
  void SetRows(std::vector<ListRow> rows);
  const std::vector<ListRow>& Rows() const { return rows_; }
  // The selected row's index, -1 for none.
  int Selected() const { return selected_; }
  // Selects a row (clamped to the rows; -1 or no rows: none) and scrolls it into view.
  void Select(int index);
  // The text shown while there are no rows.
  void SetEmptyText(const std::string& text);
  // The first row shown at the top.
  int TopRow() const { return top_; }
  int RowHeight() const;
  // Opens the row at index as a click does (nothing outside the rows).
  void Open(int index);

  // Called with a copy of the row to open; the default dispatches its text. It may destroy
  // this window (a dispatch can replace the pane's content).
  std::function<void(const ListRow&)> onOpen;
  // Called with the selected index when the Delete key is pressed; unset: the key does nothing.
  std::function<void(int)> onDelete;

 protected:
  void Paint(quill::TDC& dc, bool erase, quill::TRect& rect) override;
  quill::LRESULT WindowProc(quill::UINT msg, quill::WPARAM wp, quill::LPARAM lp) override;
  void EvLButtonDown(quill::UINT modKeys, const quill::TPoint& point) override;
  void EvKeyDown(quill::UINT key, quill::UINT repeatCount, quill::UINT flags) override;
  void EvSize(quill::UINT sizeType, const quill::TSize& size) override;
  quill::UINT EvGetDlgCode(const quill::MSG* msg) override;

 private:
  int VisibleRows() const;
  void ScrollTo(int top);
  void EnsureVisible(int index);

  std::vector<ListRow> rows_;
  std::string emptyText_ = "No entries";
  int selected_ = -1;
  int top_ = 0;
};

}  // namespace quillonary
