// The host's own command ids, beside the library's pane commands: what the views' buttons and
// menus send and the frame answers.
#pragma once

#include "quillui/framework/base/messages.h"
#include "quillui/tableau/pane_base.h"

namespace quillonary {

inline constexpr quill::UINT kCmSearch = 7201;      // the search view in the Path pane
inline constexpr quill::UINT kCmBookmarks = 7204;   // the bookmark list in the Path pane
inline constexpr quill::UINT kCmHistory = 7210;     // the history in the Path pane
inline constexpr quill::UINT kCmBack = 7218;        // back through the backtrack stack
inline constexpr quill::UINT kCmNewList = 7219;     // a new, empty bookmark list
inline constexpr quill::UINT kCmOpenList = 7220;    // a bookmark list from a .bmk file
inline constexpr quill::UINT kCmSaveList = 7221;    // the bookmark list into a .bmk file
inline constexpr quill::UINT kCmExportHtml = 7801;  // the bookmark list as browser HTML
inline constexpr quill::UINT kCmImportHtml = 7802;  // browser HTML into the bookmark list
inline constexpr quill::UINT kCmAbout = 7803;       // the Env pane with the about page
inline constexpr quill::UINT kCmListsMenu = 7810;   // the fly menu entry of the lists submenu
inline constexpr quill::UINT kCmLinksMenu = 7811;   // the fly menu entry of an article's links
inline constexpr quill::UINT kCmFirstLink = 7900;   // the links submenu: kCmFirstLink + n
inline constexpr int kMaxLinkEntries = 16;

}  // namespace quillonary
