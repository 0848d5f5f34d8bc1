// The library-wide bookmark lists: the user's list (kept in a .bmk file), the history of
// places shown and the backtrack stack, the windows told when they change, and their limits.
#pragma once

#include <memory>

#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_list.h"

namespace quill {

class TWindow;

// wParam of WmuBookmarkListChanged for a history change.
enum BMLIST_NOTIFICATION : int {
  eBMLIST_ADDED = 1,    // a bookmark was appended
  eBMLIST_TRIMMED = 2,  // a bookmark was appended and the oldest ones removed
};

ZBookmarkList& GetUserBookmarks();
ZBookmarkList& GetHistoryList();
ZBookmarkList& GetBacktrackStack();

// "DevParm"/"SuppressBookmarks", read once.
int GetSuppressBookmarks();
// "DevParm"/"BMListMax" (default 40, taken as unsigned) and "BMKillItems" (default 1), read
// together once: the history and the backtrack stack are trimmed to them.
unsigned GetBookmarkListMax();
int GetBookmarkKillItems();

// Every function below that takes a bookmark takes ownership of it. The reference forms are
// for callers that made the bookmark with new; the list deletes it.

// Appends, marks the list modified, tells the user-list windows and shows "Bookmark created"
// for about a second. The user list has no limit and takes repeats.
void AddUserBookmark(std::unique_ptr<ZBookmark> bookmark);
void AddUserBookmark(ZBookmark& bookmark);
// The same without the message.
void QuietlyAddUserBookmark(std::unique_ptr<ZBookmark> bookmark);
void QuietlyAddUserBookmark(ZBookmark& bookmark);
// The bookmark at index (0 = oldest); null outside the list. The list keeps it.
ZBookmark* GetUserBookmark(int index);
ZBookmark* GetHistoryBookmark(int index);
// Deletes the bookmark at index (nothing outside the list), marks modified, tells the windows.
void DeleteUserBookmark(int index);
// Empties the user list and clears its modified flag; tells the windows.
void ClearUserBookmarks();

// Offers a bookmark to the history: repeats (same text) and bookmarks without a real type
// ("", "xxxx", "SPEC") are deleted; anything else is appended, the history trimmed and the
// history window told with eBMLIST_ADDED or eBMLIST_TRIMMED.
void AddHistoryBookmark(std::unique_ptr<ZBookmark> bookmark);
void AddHistoryBookmark(ZBookmark& bookmark);

// One window of each role is told of changes; a later call replaces it, null removes it.
void RegisterUserBookmarkWindow(TWindow* window);
void RegisterPageantWindow(TWindow* window);
void RegisterHistoryWindow(TWindow* window);
TWindow* GetPageantWindow();

// WmuBookmarkListChanged, wParam 0, to the user-bookmark window and then the Pageant window.
void NotifyUserBMListChanged();
// WmuBookmarkListChanged, wParam code, to the history window.
void NotifyHistoryListChanged(BMLIST_NOTIFICATION code);

}  // namespace quill
