#include "host/views/list_view.h"

#include <algorithm>
#include <utility>

#include "quillui/app/presentation.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/navigation/dispatch.h"

namespace quillonary {

using namespace quill;

namespace {

constexpr int kMarginX = 8;
constexpr int kRowPadding = 4;  // pixels above and below a row's text
constexpr int kDetailGap = 12;  // between a label and its detail
constexpr int kWheelRows = 3;   // rows one wheel notch scrolls

const TFont& ListFont() {
  static const TFont fallback;
  const TFont* font = GetAppFont(ListBox);
  return font ? *font : fallback;
}

const TColor kBackground(252, 252, 248);
const TColor kText(20, 20, 30);
const TColor kDetail(120, 120, 120);
const TColor kSelection(200, 214, 240);

}  // namespace

ListView::ListView(TWindow* parent) : TWindow(parent, "List") {
  Attr.Style = WS_CHILD | WS_VISIBLE;
  onOpen = [](const ListRow& row) { Dispatch(row.text.c_str()); };
}

int ListView::RowHeight() const { return std::max(ListFont().GetHeight(), 1) + 2 * kRowPadding; }

int ListView::VisibleRows() const { return std::max(GetClientRect().Height() / RowHeight(), 1); }

void ListView::SetRows(std::vector<ListRow> rows) {
  rows_ = std::move(rows);
  if (selected_ >= int(rows_.size())) selected_ = rows_.empty() ? -1 : int(rows_.size()) - 1;
  ScrollTo(top_);
  if (IsWindow()) Invalidate();
}

void ListView::SetEmptyText(const std::string& text) {
  emptyText_ = text;
  if (IsWindow() && rows_.empty()) Invalidate();
}

void ListView::Select(int index) {
  int next = rows_.empty() || index < 0 ? -1 : std::min(index, int(rows_.size()) - 1);
  if (next == selected_) return;
  selected_ = next;
  if (selected_ >= 0) EnsureVisible(selected_);
  if (IsWindow()) Invalidate();
}

void ListView::ScrollTo(int top) {
  int maxTop = std::max(int(rows_.size()) - VisibleRows(), 0);
  int next = std::clamp(top, 0, maxTop);
  if (next == top_) return;
  top_ = next;
  if (IsWindow()) Invalidate();
}

void ListView::EnsureVisible(int index) {
  if (index < top_)
    ScrollTo(index);
  else if (index >= top_ + VisibleRows())
    ScrollTo(index - VisibleRows() + 1);
}

void ListView::Open(int index) {
  if (index < 0 || index >= int(rows_.size()) || !onOpen) return;
  // A copy: opening may replace the rows, or destroy this window.
  const ListRow row = rows_[size_t(index)];
  auto open = onOpen;
  open(row);
}

void ListView::Paint(TDC& dc, bool, TRect&) {
  const TRect client = GetClientRect();
  dc.FillRect(client, kBackground);
  dc.SetBkMode(TRANSPARENT);
  const TFont& font = ListFont();
  dc.SelectObject(font);
  const int rowH = RowHeight();
  if (rows_.empty()) {
    dc.SetTextColor(kDetail);
    dc.TextOut(kMarginX, kRowPadding, emptyText_);
    dc.RestoreFont();
    return;
  }
  for (int i = top_, y = 0; i < int(rows_.size()) && y < client.bottom; ++i, y += rowH) {
    const ListRow& row = rows_[size_t(i)];
    if (i == selected_) dc.FillRect(TRect(0, y, client.right, y + rowH), kSelection);
    dc.SetTextColor(kText);
    dc.TextOut(kMarginX, y + kRowPadding, row.label);
    if (!row.detail.empty()) {
      int x = kMarginX + font.GetTextExtent(row.label).cx + kDetailGap;
      if (x < client.right) {
        dc.SetTextColor(kDetail);
        dc.TextOut(x, y + kRowPadding, row.detail);
      }
    }
  }
  dc.RestoreFont();
}

LRESULT ListView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEWHEEL) {
    int notches = int(int16_t(HIWORD(wp))) / 120;
    ScrollTo(top_ - notches * kWheelRows);
    return 0;
  }
  return TWindow::WindowProc(msg, wp, lp);
}

void ListView::EvLButtonDown(UINT, const TPoint& point) {
  SetFocus();
  int index = top_ + point.y / RowHeight();
  if (point.y < 0 || index >= int(rows_.size())) return;
  Select(index);
  UpdateWindow();
  Open(index);
}

void ListView::EvKeyDown(UINT key, UINT, UINT) {
  const int n = int(rows_.size());
  if (n == 0) return;
  const int page = std::max(VisibleRows() - 1, 1);
  switch (key) {
    case VK_UP: Select(selected_ < 0 ? 0 : std::max(selected_ - 1, 0)); break;
    case VK_DOWN: Select(selected_ + 1); break;
    case VK_PRIOR: Select(std::max(selected_ - page, 0)); break;
    case VK_NEXT: Select(selected_ + page); break;
    case VK_HOME: Select(0); break;
    case VK_END: Select(n - 1); break;
    case VK_RETURN: Open(selected_); break;
    case VK_DELETE:
      if (onDelete && selected_ >= 0) onDelete(selected_);
      break;
    default: break;
  }
}

void ListView::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  ScrollTo(top_);
  if (selected_ >= 0) EnsureVisible(selected_);
}

UINT ListView::EvGetDlgCode(const MSG*) { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }

}  // namespace quillonary
