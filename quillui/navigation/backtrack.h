// The backtrack stack's rules: appending (with the grouping of several backtrack bookmarks
// into one while a group is open) and popping, which fires the newest bookmark.
#pragma once

#include <memory>

#include "quillui/navigation/bookmark.h"

namespace quill {

// Takes ownership. With no group open the bookmark is appended to the stack, which is then
// trimmed to the list limits. While a group is open the first "!State" bookmark is kept for
// the group, later ones are deleted, and any other bookmark's text is gathered into the group.
void AddBacktrackBookmark(std::unique_ptr<ZBookmark> bookmark);
void AddBacktrackBookmark(ZBookmark& bookmark);

// Fires the newest backtrack bookmark (it stays on the stack while the frame shows it), then
// removes and deletes it. An empty stack beeps.
void PopBacktrackStack();

// Groups nest; only the outer Start and Finish do work. The outer Start has the tableau make
// a backtrack bookmark of its arrangement (captured for the group) and notes its state. The
// outer Finish answers a "SPEC" bookmark named "grouped" of everything gathered, newest
// first, or null when nothing was gathered and the tableau did not change; the caller owns
// it. Both do nothing while bookmarks are suppressed.
void StartGroupedBacktrackBookmark();
std::unique_ptr<ZBookmark> FinishGroupedBacktrackBookmark();

// Nesting depth of open groups.
int GetBacktrackGroupDepth();

}  // namespace quill
