#include "quillui/app/modal_maker.h"

#include "quillui/app/app_registry.h"
#include "quillui/framework/base/containers.h"
#include "quillui/framework/window/window.h"

namespace quill {

namespace {

struct Enumeration {
  HWND frame = nullptr;
  size_t count = 0;
  std::vector<HWND>* fill = nullptr;  // null on the counting pass
  size_t limit = 0;
};

bool Qualifies(HWND hwnd, HWND frame) {
  return (hwnd == frame || GetWindow(hwnd, GW_OWNER) == frame) && IsWindowEnabled(hwnd);
}

bool Visit(HWND hwnd, LPARAM param) {
  auto* e = reinterpret_cast<Enumeration*>(param);
  if (!Qualifies(hwnd, e->frame)) return true;
  if (!e->fill) {
    ++e->count;
    return true;
  }
  // Windows that appeared between the passes are left out: the array was sized by the
  // first pass.
  if (e->fill->size() >= e->limit) return false;
  e->fill->push_back(hwnd);
  return true;
}

}  // namespace

ZModalMaker::~ZModalMaker() {
  if (disabled_) EnableWindows();
}

int ZModalMaker::CountWindows() {
  windows_.clear();
  TWindow* frame = GetAppFrameTWindow();
  if (!frame || !frame->GetHandle()) return 0;
  Enumeration e;
  e.frame = frame->GetHandle();
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(&e));
  std::vector<HWND> list;
  WithOutOfMemoryError([&] { list.reserve(e.count + 1); });
  e.fill = &list;
  e.limit = e.count;
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(&e));
  list.push_back(nullptr);
  windows_ = std::move(list);
  return int(windows_.size() - 1);
}

void ZModalMaker::DisableWindows() {
  for (HWND h : windows_) {
    if (TWindow* w = GetWindowPtr(h)) w->EnableWindow(false);
  }
  disabled_ = true;
}

void ZModalMaker::EnableWindows() {
  if (!disabled_) return;
  for (HWND h : windows_) {
    // A window destroyed during the modal phase has no object any more and is skipped.
    if (TWindow* w = GetWindowPtr(h)) w->EnableWindow(true);
  }
  windows_.clear();
  disabled_ = false;
}

}  // namespace quill
