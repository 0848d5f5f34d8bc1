// The bookmark list as browsers' bookmark HTML (the NETSCAPE-Bookmark-file-1 format), written
// for export and read back tolerantly, so a user's places move to and from a browser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/bookmark_list.h"

namespace quillonary {

// A bookmark of ours is a link "quillonary:" + its text percent-encoded, with its type in
// the attribute QUILL_TYPE and its name as the link's title.
inline constexpr std::string_view kHtmlScheme = "quillonary:";
inline constexpr const char* kHtmlTypeAttribute = "QUILL_TYPE";
// A link of any other scheme comes in as the text "Web url=<ADDRESS>" of type "LINK" and goes
// out again as that very address. An address whose angle brackets do not pair up is kept as
// "Web href=<ADDRESS>" with "%", "<" and ">" percent-encoded, so it too comes back unchanged.
inline constexpr const char* kWebEntry = "Web";
inline constexpr const char* kWebType = "LINK";

// Limits on what an import takes from a file.
inline constexpr uint64_t kMaxHtmlBytes = uint64_t(64) << 20;  // larger files are refused
inline constexpr int kMaxHtmlBookmarks = 100000;               // links past this many are skipped
inline constexpr int kMaxHtmlFolderDepth = 256;  // deeper folders merge into their ancestor
// Names, texts and addresses are taken up to this many bytes once decoded: a link with a
// longer address or text is skipped, a longer title is shortened.
inline constexpr size_t kMaxHtmlField = size_t(64) << 10;
inline constexpr size_t kMaxHtmlFolderPath = 512;  // the "Folder / Sub / " prefix of a name

struct HtmlImportResult {
  bool refused = false;  // nothing was taken: unreadable, too large or holding no bookmarks
  int imported = 0;
  int skipped = 0;      // links left out (see the counts below), all in message
  int overLimit = 0;    // links past kMaxHtmlBookmarks
  int tooLong = 0;      // links whose address or text was longer than kMaxHtmlField
  int noAddress = 0;    // links without an address
  int flattened = 0;    // folders deeper than kMaxHtmlFolderDepth
  int shortened = 0;    // titles cut to kMaxHtmlField
  std::string message;  // for the user: what was imported, skipped or refused, and why
};

// The whole file's text; names are HTML-escaped, UTF-8 is kept as it is.
std::string BookmarksToHtml(const quill::ZBookmarkList& list);
// Writes BookmarksToHtml to path through a temporary file that replaces it only once complete.
bool ExportBookmarksHtml(const quill::ZBookmarkList& list, const std::string& path,
                         std::string* error);

// Reads bookmark HTML in one linear pass, handing each bookmark to add in file order. Links
// in folders get the folder path before their title ("Travel / Maps / Title") and a link
// without a title is named by its address, except links of ours (our scheme or a QUILL_TYPE),
// which come back exactly as they were exported. Entities are decoded; unclosed tags
// and quotes end at the next tag or at the end of the text.
HtmlImportResult ParseBookmarksHtml(
    std::string_view html, const std::function<void(std::unique_ptr<quill::ZBookmark>)>& add);
// Appends the bookmarks of the file at path to into and marks it modified when any came; a
// refused file leaves into untouched. The caller tells the list's windows.
HtmlImportResult ImportBookmarksHtml(const std::string& path, quill::ZBookmarkList& into);

// The bookmark text of a foreign address and the address back from such a text ("" when the
// text is none of those).
std::string WebText(std::string_view address);
std::string WebAddress(std::string_view text);

}  // namespace quillonary
