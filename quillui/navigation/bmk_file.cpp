#include "quillui/navigation/bmk_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "quillui/app/app_registry.h"
#include "quillui/framework/dialogs/message_box.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/profile/entries.h"

namespace quill {

namespace {

constexpr const char* kReadCaption = "Read Bookmark List";
constexpr const char* kSaveCaption = "Save Bookmark List";

bool keepBackup = false;

void Tell(const std::string& text, const char* caption) {
  TWindow* frame = GetAppFrameTWindow();
  MessageBox(frame ? frame->GetHandle() : nullptr, text.c_str(), caption,
             MB_OK | MB_ICONEXCLAMATION);
}

std::string Quoted(const char* what, const std::string& name) {
  return std::string(what) + "\n'" + name + "'";
}

// The file to replace: a symbolic link is followed, so the list lands where the link points
// instead of the link being swapped for a plain file. Anything that exists and is not a
// regular file (a device, a directory) is refused rather than replaced.
bool ResolveTarget(const std::string& name, std::string& target) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path path(name);
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    fs::path resolved = fs::canonical(path, ec);
    if (!ec) path = resolved;
  }
  const fs::file_status status = fs::status(path, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) return false;
  target = path.string();
  return true;
}

// Collects a list's bytes in memory sized once up front: growing a vector of a megabyte by
// doubling costs more than making the records.
class BmkBytes : public opstream {
 public:
  explicit BmkBytes(const ZBookmarkList& list) {
    uint64_t size = sizeof kBmkMagic + 4;
    const uint64_t recordFrame = 1 + 4 + std::strlen(ZBookmark::kClassName) + 3 * 4 + 1;
    for (int i = 0; i < list.GetCount(); ++i) {
      const ZBookmark& b = *list.Get(i);
      size += recordFrame + b.GetName().size() + std::strlen(b.GetType()) + b.GetText().size();
    }
    bytes_.resize(size_t(size));
  }
  std::span<const uint8_t> span() const { return {bytes_.data(), used_}; }

 protected:
  bool put(const uint8_t* data, size_t size) override {
    if (size > bytes_.size() - used_) bytes_.resize(std::max(bytes_.size() * 2, used_ + size));
    std::memcpy(bytes_.data() + used_, data, size);
    used_ += size;
    return true;
  }

 private:
  std::vector<uint8_t> bytes_;
  size_t used_ = 0;
};

}  // namespace

void WriteBmk(opstream& os, const ZBookmarkList& list) {
  os.writeBytes(kBmkMagic, sizeof kBmkMagic);
  os.writeWord32(static_cast<uint32_t>(list.GetCount()));
  for (int i = 0; i < list.GetCount() && os.good(); ++i) os.writeObject(*list.Get(i));
}

// ReadBmk for any sink of bookmarks; ZBookmark records hold no nested records, so each is
// read in parts with its fields' reader called directly.
template <class Add>
ZBmkReadResult ReadBmkInto(ipstream& is, Add&& add, ZBookmarkBlock* block) {
  uint8_t magic[sizeof kBmkMagic] = {};
  if (!is.readBytes(magic, sizeof magic) || std::memcmp(magic, kBmkMagic, sizeof magic) != 0)
    return ZBmkReadResult::NotBmk;
  const uint32_t count = is.readWord32();
  constexpr std::string_view kClass(ZBookmark::kClassName);
  for (uint32_t i = 0; i < count; ++i) {
    if (!is.readRecordHead(kClass)) return ZBmkReadResult::Damaged;
    auto bookmark = block ? ZBookmark::NewIn(*block) : std::make_unique<ZBookmark>();
    bookmark->ZBookmark::Read(is);
    if (!is.readRecordTail()) return ZBmkReadResult::Damaged;
    add(std::move(bookmark));
  }
  return is.good() ? ZBmkReadResult::Complete : ZBmkReadResult::Damaged;
}

void SetKeepBookmarkBackup(bool keep) { keepBackup = keep; }
bool GetKeepBookmarkBackup() { return keepBackup; }
std::string BookmarkBackupName(const std::string& file) { return file + ".bak"; }

ZBmkReadResult ReadBmk(ipstream& is, const std::function<void(std::unique_ptr<ZBookmark>)>& add,
                       ZBookmarkBlock* block) {
  return ReadBmkInto(is, add, block);
}

void ReadUserBookmarks(int append) {
  if (GetSuppressBookmarks()) return;
  if (append == 0) ClearUserBookmarks();
  ZBookmarkList& list = GetUserBookmarks();
  // The whole file is read at once and its bookmarks made in one block (bookmark_block.h).
  const ZBookmarkBlock::Ref block = ZBookmarkBlock::ReadFile(list.GetFileName());
  if (!block) {
    Tell(Quoted("Unable to open file", list.GetFileName()), kReadCaption);
  } else if (imemstream is(block->Bytes());
             ReadBmkInto(
                 is, [&](std::unique_ptr<ZBookmark> b) { list.Add(std::move(b)); }, block.get()) ==
             ZBmkReadResult::NotBmk) {
    Tell(Quoted("Not a valid bookmark list", list.GetFileName()), kReadCaption);
  }
  list.SetModified(false);
  NotifyUserBMListChanged();
}

bool WriteUserBookmarks() {
  ZBookmarkList& list = GetUserBookmarks();
  // The host's rewriting of each text stays in the list.
  if (HasChangeSeqNumToTitleHook()) {
    for (int i = 0; i < list.GetCount(); ++i) {
      ZBookmark& b = *list.Get(i);
      std::string text(b.GetText());
      changeSeqNumToTitle(text);
      if (text != b.GetText()) b.SetText(text);
    }
  }
  BmkBytes os(list);
  WriteBmk(os, list);
  std::string target;
  if (os.good() && ResolveTarget(list.GetFileName(), target) &&
      WriteFileReplacing(target, os.span(), nullptr,
                         keepBackup ? BookmarkBackupName(target) : std::string())) {
    list.SetModified(false);
    return true;
  }
  list.SetModified(true);
  Tell(Quoted("Unable to save bookmark list", list.GetFileName()), kSaveCaption);
  return false;
}

}  // namespace quill
