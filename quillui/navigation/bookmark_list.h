// ZBookmarkList: an owning list of bookmarks, oldest first, with the file name and modified
// flag the user's list needs. The three library-wide lists are instances of it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "quillui/framework/base/containers.h"
#include "quillui/navigation/bookmark.h"

namespace quill {

class ZBookmarkList {
 public:
  ZBookmarkList() = default;
  ZBookmarkList(const ZBookmarkList&) = delete;
  ZBookmarkList& operator=(const ZBookmarkList&) = delete;

  int GetCount() const { return int(items_.Size()); }
  bool IsEmpty() const { return items_.IsEmpty(); }
  // The bookmark at index (0 = oldest), or null outside 0..count-1; the list keeps it.
  ZBookmark* Get(int index) const;
  ZBookmark* Newest() const { return Get(GetCount() - 1); }
  // Position of that very bookmark object, or -1.
  int Find(const ZBookmark* bookmark) const { return items_.Find(bookmark); }
  // Position of the first bookmark with exactly this text, or -1.
  int FindText(std::string_view text) const;

  // Takes ownership; a null bookmark is ignored.
  void Add(std::unique_ptr<ZBookmark> bookmark);
  // Hands the bookmark at index back to the caller (null outside the list).
  std::unique_ptr<ZBookmark> Detach(int index);
  // Deletes the bookmark at index; nothing outside the list.
  void Destroy(int index) { Detach(index); }
  void Flush() { items_.Flush(); }
  // Keeps the list within maxCount: when it holds more, the oldest killCount bookmarks go
  // (at least one, at most all). Each goes to dispose when one is given, else it is deleted.
  // Answers whether any went.
  bool Trim(unsigned maxCount, int killCount,
            const std::function<void(std::unique_ptr<ZBookmark>)>& dispose = {});

  // The file the user's list was read from or is saved to.
  const std::string& GetFileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

 private:
  TIPtrArray<ZBookmark> items_;
  std::string fileName_;
  bool modified_ = false;
};

}  // namespace quill
