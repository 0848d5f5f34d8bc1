// Bookmark list files (.bmk): the magic "BMKL", a 32-bit count and one ZBookmark object record
// per bookmark (docs/formats.md), and the reading and writing of the user's list.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "quillui/framework/stream/pstream.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_block.h"
#include "quillui/navigation/bookmark_list.h"

namespace quill {

inline constexpr uint8_t kBmkMagic[4] = {'B', 'M', 'K', 'L'};

enum class ZBmkReadResult {
  Complete,  // every bookmark the count announced
  Damaged,   // the file ended or went wrong before the count was reached; what came first was read
  NotBmk,    // the first four bytes are not the magic; nothing was read
};

// Writes the magic, the count and a record for each bookmark of the list, oldest first.
void WriteBmk(opstream& os, const ZBookmarkList& list);
// Reads from the stream's first byte. Each bookmark read whole goes to add, in file order; a
// damaged record and everything after it are left out. Nothing is sized by the count. Given a
// block, the bookmarks are made in it; reading the block's bytes they then view them.
ZBmkReadResult ReadBmk(ipstream& is, const std::function<void(std::unique_ptr<ZBookmark>)>& add,
                       ZBookmarkBlock* block = nullptr);

// Reads the user list's file into the user list; append 0 empties the list first. Does
// nothing at all while bookmarks are suppressed. A file that cannot be opened or is not a
// bookmark list is reported in a message box; a damaged one keeps what came before the damage,
// and so does one longer than ZBookmarkBlock::kMaxFileBytes.
// The list ends up not modified and its windows are told.
void ReadUserBookmarks(int append);

// Writes the user list to its file through a temporary file in the same directory that
// replaces the file only once it is complete, so a failure at any step leaves the old file as
// it was. On success the list is no longer modified. On failure the user is told, the list
// stays modified and false is returned. Each text goes through changeSeqNumToTitle first.
bool WriteUserBookmarks();

// Whether WriteUserBookmarks keeps the file it replaces as BookmarkBackupName of it, made
// before the new list takes the file's name (see WriteFileReplacing); a backup that cannot be
// made fails the save. Off until a host turns it on, and again after a navigation reset.
void SetKeepBookmarkBackup(bool keep);
bool GetKeepBookmarkBackup();
// The backup of a list file: its name with ".bak" after it ("list.bmk" -> "list.bmk.bak").
std::string BookmarkBackupName(const std::string& file);

}  // namespace quill
