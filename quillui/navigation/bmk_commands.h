// The host's commands on the user's bookmark list file: New, Open, Save, the save question,
// and the loading of the last saved list at start-up ("Bookmarks"/"LastSavedList").
#pragma once

#include <string>

namespace quill {

// The file dialogs' filter: description and pattern pairs, each part ended by a bar.
inline constexpr const char* kBookmarkFilter = "Bookmark Lists (*.bmk)|*.bmk|All Files (*.*)|*.*|";
// The file name of a list that was never saved.
inline constexpr const char* kUntitledBookmarkList = "untitled.bmk";

// Offers to save a modified list, then empties it (unless the answer was Cancel). The file
// name stays.
void NewUserBookmarkList();
// Offers to save, asks for a file and reads it: 1 opened, 2 cancelled.
int OpenUserBookmarkList();
// Asks for a file name and writes the list there, remembering the file in the settings: 1
// saved, 2 cancelled. A write that failed also answers 2 and leaves the list's file name and
// the remembered file as they were.
int SaveUserBookmarkList();
// Start-up: reads the last saved list, or names the list "untitled.bmk".
void LoadupUserBookmarks();
// Asks "Save modified bookmark list?" (with Cancel when allowCancel is not 0) when the list is
// modified and saves on Yes. Answers IDYES without asking when the list is not modified, else
// the answer; with Cancel offered, a Yes whose save did not happen answers IDCANCEL so the
// caller does not throw the list away.
int SaveUserBookmarksIfModified(int allowCancel);

// The path SaveUserBookmarkList remembers for a saved path: "" for a diskette ("a:" or "b:").
std::string PathToRemember(const std::string& path);

}  // namespace quill
