// ZTableauPaneBase: the plain pane of the tableau, a holder manager that knows its pane type
// and whether it is maximised, makes bookmarks of its content, passes commands it does not
// handle to the content, and follows on when the active holder goes away. The host's Env pane
// is of this kind; the tableau's own panes add decorations (tableau_pane.h).
#pragma once

#include <memory>

#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/pane_type.h"
#include "quillui/tableau/holder_manager.h"

namespace quill {

// The commands a pane answers itself.
inline constexpr UINT kCmPaneReserved = 953;  // kept for the pane's own response table
inline constexpr UINT kCmFullScreenMedia = 7432;
inline constexpr UINT kCmBookmarkMedia = 7433;
inline constexpr UINT kCmFullScreenPath = 7532;
inline constexpr UINT kCmBookmarkPath = 7533;
inline constexpr UINT kCmFullScreenArticle = 7632;
inline constexpr UINT kCmBookmarkArticle = 7633;
inline constexpr UINT kCmTableau = 7701;  // back to the tableau (small screen)
inline constexpr UINT kCmPaneOptions = 7209;

// The full-screen, bookmark and small-screen commands, which panes answer themselves.
bool IsPaneCommand(UINT id);

class ZTableauPaneBase : public ZHolderManager {
 public:
  ZTableauPaneBase(PANE_TYPE type, TWindow* parent, const char* title = nullptr,
                   TModule* module = nullptr);

  PANE_TYPE GetPaneType() const { return m_ePaneType; }
  // Whether the pane holds the maximised position; the tableau sets it.
  bool IsMaximized() const { return m_bMaximized; }
  void SetMaximized(bool maximized) { m_bMaximized = maximized; }

  // The content's bookmark of what it shows (WmuCreateBookmark with the usage); null without
  // an active holder, without content, or when the content makes none.
  std::unique_ptr<ZBookmark> CreateCurrentBookmark(BOOKMARK_USAGE usage);
  // A user bookmark of the content, when it makes one.
  void CmBookmark();

  // 953 and the full-screen, bookmark and small-screen commands go to the pane's response
  // table; every other command to the content. Answers 0.
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;
  // When the active holder is destroyed the next holder in stacking order becomes active (or
  // else any holder left); an overlay pane with no holder left is hidden. An inactive holder
  // going away changes nothing.
  void EvParentNotify(UINT event, UINT childId, HWND child) override;
  void EvSetFocus(HWND lostFocus) override;
  void EvSize(UINT sizeType, const TSize& size) override;
  UINT EvNCCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS& params) override;

  const TResponseTable& GetResponseTable() const override;

 protected:
  PANE_TYPE m_ePaneType;
  bool m_bMaximized = false;
};

}  // namespace quill
