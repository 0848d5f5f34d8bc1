#include "quillui/tableau/pane_base.h"

#include "quillui/app/app_registry.h"
#include "quillui/app/user_messages.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/profile/profile.h"
#include "quillui/tableau/holder.h"
#include "quillui/tableau/tableau.h"

namespace quill {

ZTableauPaneBase::ZTableauPaneBase(PANE_TYPE type, TWindow* parent, const char* title,
                                   TModule* module)
    : ZHolderManager(parent, title, module), m_ePaneType(type) {
  Attr.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  m_clrBackground = TColor::None;
}

const TResponseTable& ZTableauPaneBase::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnCommand<&ZTableauPaneBase::CmBookmark>(kCmBookmarkMedia),
      OnCommand<&ZTableauPaneBase::CmBookmark>(kCmBookmarkPath),
      OnCommand<&ZTableauPaneBase::CmBookmark>(kCmBookmarkArticle),
  };
  static const TResponseTable table{&ZHolderManager::GetResponseTable(), entries};
  return table;
}

std::unique_ptr<ZBookmark> ZTableauPaneBase::CreateCurrentBookmark(BOOKMARK_USAGE usage) {
  if (!m_pActiveHolder || !m_pActiveHolder->IsWindow()) return nullptr;
  TWindow* content = GetWindowPtr(m_pActiveHolder->GetChild());
  if (!content) return nullptr;
  // The content hands over a bookmark it made for us, or nothing.
  auto* made = reinterpret_cast<ZBookmark*>(content->SendMessage(WmuCreateBookmark, usage, 0));
  return std::unique_ptr<ZBookmark>(made);
}

void ZTableauPaneBase::CmBookmark() {
  if (auto bookmark = CreateCurrentBookmark(eBOOKMARK_FOR_USER))
    AddUserBookmark(std::move(bookmark));
}

bool IsPaneCommand(UINT id) {
  switch (id) {
    case kCmFullScreenMedia:
    case kCmBookmarkMedia:
    case kCmFullScreenPath:
    case kCmBookmarkPath:
    case kCmFullScreenArticle:
    case kCmBookmarkArticle:
    case kCmTableau: return true;
    default: return false;
  }
}

LRESULT ZTableauPaneBase::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (id == kCmPaneReserved || IsPaneCommand(id))
    return TWindow::EvCommand(id, control, notifyCode);
  PassInward(id);
  return 0;
}

void ZTableauPaneBase::EvParentNotify(UINT event, UINT childId, HWND child) {
  ZHolderManager::EvParentNotify(event, childId, child);
  if (event != WM_DESTROY || IsBeingDestroyed()) return;
  TWindow* gone = GetWindowPtr(child);
  auto* holder = dynamic_cast<ZHolder*>(gone);
  if (!holder || holder->GetParentO() != this) return;
  // Only the active holder's going away needs a successor; a hidden one leaves what is
  // shown as it is.
  if (holder != m_pActiveHolder) return;
  m_pActiveHolder = nullptr;
  // The holder is still in the stacking order while it is told of: the one below it first,
  // else any other holder still alive.
  ZHolder* next = dynamic_cast<ZHolder*>(GetWindowPtr(holder->GetWindow(GW_HWNDNEXT)));
  if (!next || !next->IsWindow()) {
    next = nullptr;
    for (TWindow* w : GetZOrder()) {
      auto* h = dynamic_cast<ZHolder*>(w);
      if (h && h != holder && h->IsWindow()) {
        next = h;
        break;
      }
    }
  }
  if (next) {
    ActivateHolder(next->GetId());
    return;
  }
  ZTableau* tableau = GetAppFrame() ? GetAppFrame()->GetTableau() : nullptr;
  if (!tableau) return;
  if (m_ePaneType == eMAXI_PANE) tableau->ShowMaxiPane(false);
  if (m_ePaneType == eENV_PANE) tableau->ShowEnvPane(false);
}

void ZTableauPaneBase::EvSetFocus(HWND) {
  if (m_pActiveHolder && m_pActiveHolder->IsWindow()) m_pActiveHolder->SetFocus();
}

void ZTableauPaneBase::EvSize(UINT sizeType, const TSize& size) {
  ZHolderManager::EvSize(sizeType, size);
  if (ZProfile(eIniFile).GetBool("DevParm", "RedrawWindow", true)) Invalidate();
}

UINT ZTableauPaneBase::EvNCCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS& params) {
  ZHolderManager::EvNCCalcSize(calcValidRects, params);
  return calcValidRects ? WVR_REDRAW : 0;
}

}  // namespace quill
