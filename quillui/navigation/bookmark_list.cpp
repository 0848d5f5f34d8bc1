#include "quillui/navigation/bookmark_list.h"

#include <algorithm>

namespace quill {

ZBookmark* ZBookmarkList::Get(int index) const {
  if (index < 0 || size_t(index) >= items_.Size()) return nullptr;
  return items_[size_t(index)];
}

int ZBookmarkList::FindText(std::string_view text) const {
  int index = 0;
  for (const ZBookmark* b : items_) {
    if (b->GetText() == text) return index;
    ++index;
  }
  return -1;
}

void ZBookmarkList::Add(std::unique_ptr<ZBookmark> bookmark) {
  if (!bookmark) return;
  items_.Add(bookmark.get());
  bookmark.release();
}

std::unique_ptr<ZBookmark> ZBookmarkList::Detach(int index) {
  ZBookmark* b = Get(index);
  if (b == nullptr) return nullptr;
  items_.DetachAt(size_t(index));
  return std::unique_ptr<ZBookmark>(b);
}

bool ZBookmarkList::Trim(unsigned maxCount, int killCount,
                         const std::function<void(std::unique_ptr<ZBookmark>)>& dispose) {
  if (items_.Size() <= maxCount) return false;
  // A kill count below one would let a bounded list grow for ever.
  const size_t kill = std::min<size_t>(size_t(std::max(killCount, 1)), items_.Size());
  for (size_t i = 0; i < kill; ++i) {
    std::unique_ptr<ZBookmark> oldest = Detach(0);
    if (dispose) dispose(std::move(oldest));
  }
  return true;
}

}  // namespace quill
