#include "quillui/navigation/bmk_commands.h"

#include "quillui/app/app_registry.h"
#include "quillui/framework/dialogs/file_dialog.h"
#include "quillui/framework/dialogs/message_box.h"
#include "quillui/framework/window/window.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/profile/profile.h"

namespace quill {

namespace {

constexpr const char* kSettingsSection = "Bookmarks";
constexpr const char* kLastSavedKey = "LastSavedList";
constexpr uint32_t kOpenFlags =
    OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;  // 0x180C
constexpr uint32_t kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                                OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;  // 0x880E
static_assert(kOpenFlags == 0x180C && kSaveFlags == 0x880E);

TOpenSaveDialog::TData DialogData(uint32_t flags, const std::string& fileName) {
  const std::string installDir = ZProfile().GetInstallDir();
  TOpenSaveDialog::TData data(flags, kBookmarkFilter, installDir.c_str(), "bmk");
  data.FileName = fileName;
  return data;
}

HWND FrameHandle() {
  TWindow* frame = GetAppFrameTWindow();
  return frame ? frame->GetHandle() : nullptr;
}

}  // namespace

std::string PathToRemember(const std::string& path) {
  if (path.size() > 2 && path[1] == ':') {
    const char drive = path[0];
    if (drive == 'a' || drive == 'A' || drive == 'b' || drive == 'B') return std::string();
  }
  return path;
}

int SaveUserBookmarksIfModified(int allowCancel) {
  if (!GetUserBookmarks().IsModified()) return IDYES;
  const int answer = MessageBox(FrameHandle(), "Save modified bookmark list?", "Bookmark List",
                                allowCancel ? MB_YESNOCANCEL : MB_YESNO);
  if (answer != IDYES) return answer;
  const int saved = SaveUserBookmarkList();
  return saved != 1 && allowCancel ? IDCANCEL : answer;
}

void NewUserBookmarkList() {
  if (SaveUserBookmarksIfModified(1) != IDCANCEL) ClearUserBookmarks();
}

int OpenUserBookmarkList() {
  if (SaveUserBookmarksIfModified(1) == IDCANCEL) return 2;
  TOpenSaveDialog::TData data = DialogData(kOpenFlags, "*.bmk");
  if (TFileOpenDialog(GetAppFrameTWindow(), data).Execute() != IDOK) return 2;
  GetUserBookmarks().SetFileName(data.FileName);
  ReadUserBookmarks(0);
  return 1;
}

int SaveUserBookmarkList() {
  ZBookmarkList& list = GetUserBookmarks();
  TOpenSaveDialog::TData data = DialogData(kSaveFlags, list.GetFileName());
  if (TFileSaveDialog(GetAppFrameTWindow(), data).Execute() != IDOK) return 2;
  const std::string previous = list.GetFileName();
  list.SetFileName(data.FileName);
  if (!WriteUserBookmarks()) {
    list.SetFileName(previous);
    return 2;
  }
  ZProfile().Set(kSettingsSection, kLastSavedKey, PathToRemember(data.FileName).c_str());
  return 1;
}

void LoadupUserBookmarks() {
  const std::string last = ZProfile().Get(kSettingsSection, kLastSavedKey, "");
  ZBookmarkList& list = GetUserBookmarks();
  if (last.empty()) {
    list.SetFileName(kUntitledBookmarkList);
    return;
  }
  list.SetFileName(last);
  ReadUserBookmarks(0);
}

}  // namespace quill
