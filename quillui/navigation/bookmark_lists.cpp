#include "quillui/navigation/bookmark_lists.h"

#include <cstring>
#include <optional>

#include "quillui/app/timed_message.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/window/window.h"
#include "quillui/profile/profile.h"
#include "quillui/resources/library_module.h"

namespace quill {

namespace {

constexpr const char* kDevSection = "DevParm";

struct ListsState {
  ZBookmarkList user;
  ZBookmarkList history;
  ZBookmarkList backtrack;
  TWindow* userWindow = nullptr;
  TWindow* pageantWindow = nullptr;
  TWindow* historyWindow = nullptr;
  std::optional<int> suppress;
  bool limitsRead = false;
  unsigned listMax = 40;
  int killItems = 1;
};

ListsState& State() {
  static ListsState state;
  return state;
}

void ReadLimits() {
  ListsState& s = State();
  if (s.limitsRead) return;
  ZProf& prof = ZProfile();
  s.listMax = static_cast<unsigned>(prof.GetInt(kDevSection, "BMListMax", 40));
  s.killItems = prof.GetInt(kDevSection, "BMKillItems", 1);
  s.limitsRead = true;
}

void Notify(TWindow* window, WPARAM code) {
  if (window) window->SendMessage(WmuBookmarkListChanged, code, 0);
}

bool HasNoRealType(const ZBookmark& b) {
  const char* type = b.GetType();
  return type[0] == '\0' || std::strcmp(type, ZBookmark::kNoType) == 0 ||
         std::strcmp(type, ZBookmark::kSpecialType) == 0;
}

}  // namespace

ZBookmarkList& GetUserBookmarks() { return State().user; }
ZBookmarkList& GetHistoryList() { return State().history; }
ZBookmarkList& GetBacktrackStack() { return State().backtrack; }

int GetSuppressBookmarks() {
  ListsState& s = State();
  if (!s.suppress) s.suppress = ZProfile().GetBool(kDevSection, "SuppressBookmarks", false) ? 1 : 0;
  return *s.suppress;
}

unsigned GetBookmarkListMax() {
  ReadLimits();
  return State().listMax;
}

int GetBookmarkKillItems() {
  ReadLimits();
  return State().killItems;
}

void QuietlyAddUserBookmark(std::unique_ptr<ZBookmark> bookmark) {
  if (!bookmark) return;
  ZBookmarkList& list = State().user;
  list.Add(std::move(bookmark));
  list.SetModified(true);
  NotifyUserBMListChanged();
}

void QuietlyAddUserBookmark(ZBookmark& bookmark) {
  QuietlyAddUserBookmark(std::unique_ptr<ZBookmark>(&bookmark));
}

void AddUserBookmark(std::unique_ptr<ZBookmark> bookmark) {
  if (!bookmark) return;
  QuietlyAddUserBookmark(std::move(bookmark));
  DisplayTimedMessageDlg("BOOKMARK_CREATED", &LibraryModule());
}

void AddUserBookmark(ZBookmark& bookmark) {
  AddUserBookmark(std::unique_ptr<ZBookmark>(&bookmark));
}

ZBookmark* GetUserBookmark(int index) { return State().user.Get(index); }
ZBookmark* GetHistoryBookmark(int index) { return State().history.Get(index); }

void DeleteUserBookmark(int index) {
  ZBookmarkList& list = State().user;
  if (list.Get(index) == nullptr) return;
  list.Destroy(index);
  list.SetModified(true);
  NotifyUserBMListChanged();
}

void ClearUserBookmarks() {
  ZBookmarkList& list = State().user;
  list.Flush();
  list.SetModified(false);
  NotifyUserBMListChanged();
}

void AddHistoryBookmark(std::unique_ptr<ZBookmark> bookmark) {
  if (!bookmark) return;
  ZBookmarkList& history = State().history;
  if (history.FindText(bookmark->GetText()) >= 0) return;
  if (HasNoRealType(*bookmark)) return;
  history.Add(std::move(bookmark));
  const bool trimmed = history.Trim(GetBookmarkListMax(), GetBookmarkKillItems());
  NotifyHistoryListChanged(trimmed ? eBMLIST_TRIMMED : eBMLIST_ADDED);
}

void AddHistoryBookmark(ZBookmark& bookmark) {
  AddHistoryBookmark(std::unique_ptr<ZBookmark>(&bookmark));
}

void RegisterUserBookmarkWindow(TWindow* window) { State().userWindow = window; }
void RegisterPageantWindow(TWindow* window) { State().pageantWindow = window; }
void RegisterHistoryWindow(TWindow* window) { State().historyWindow = window; }
TWindow* GetPageantWindow() { return State().pageantWindow; }

void NotifyUserBMListChanged() {
  // Read each pointer only when it is used: the first window may register another.
  Notify(State().userWindow, 0);
  Notify(State().pageantWindow, 0);
}

void NotifyHistoryListChanged(BMLIST_NOTIFICATION code) {
  Notify(State().historyWindow, WPARAM(code));
}

void ResetBookmarkLists() {
  ListsState& s = State();
  s.user.Flush();
  s.user.SetFileName("");
  s.user.SetModified(false);
  s.history.Flush();
  s.backtrack.Flush();
  s.userWindow = nullptr;
  s.pageantWindow = nullptr;
  s.historyWindow = nullptr;
  s.suppress.reset();
  s.limitsRead = false;
  s.listMax = 40;
  s.killItems = 1;
}

}  // namespace quill
