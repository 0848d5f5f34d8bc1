// Firing bookmarks: handing them to the application frame to be shown, making them of texts
// first (Dispatch), and reading what the tableau's Article pane shows.
#pragma once

#include <string>

#include "quillui/framework/base/messages.h"
#include "quillui/navigation/bookmark.h"

namespace quill {

class ZDBInfo;  // the host's database record; only passed through

// The frame handles WmuFireOffBookmark at once (wParam 0, lParam &bookmark) and its answer is
// returned; 0 without a frame.
LRESULT FireOffBookmark(const ZBookmark& bookmark);
// The same with the target window's handle as wParam.
LRESULT FireOffBookmark(const ZBookmark& bookmark, HWND target);
// Sends WmuFireOffBookmark to the frame's window with wParam 1, a quiet firing.
void QuietlyFireOffBookmark(const ZBookmark& bookmark);

// Makes a bookmark of the text and fires it; the bookmark is deleted when the frame has
// answered, so the frame copies what it keeps. A text whose first item has a value fires
// nothing and answers 0.
LRESULT Dispatch(const char* text);
// The same at a target window, whose present content (its first child) is destroyed first.
LRESULT SubDispatch(HWND window, const char* text);

// The coded reference of the article the Article pane shows: true when its content answered
// a bookmark with a non-zero "codedref". database is always set to null.
bool GetDisplayedArticle(ZDBInfo*& database, long& codedRef);
// Asks the Article pane's content for its selected text (WmuGetTextSelection, wParam 1) and
// copies the exchange string into text; answers the content's reply, or 0 (text untouched)
// without a tableau, active holder or content.
LRESULT GetArticleTextSelection(std::string& text);
// The library-wide exchange string for the text selection.
std::string& GetCADS();

// The frame handles WmuLogTracking with lParam &text.
void LogTrackingInformation(const std::string& text);

}  // namespace quill
