#include "quillui/tableau/tableau.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/imaging/background.h"
#include "quillui/imaging/shadow_paint.h"
#include "quillui/navigation/backtrack.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/tableau/holder.h"
#include "quillui/testing/tableau.h"

namespace quill {

namespace {

constexpr const char* kSource = "TABLEAU";
constexpr UINT kKeyF6 = 0x75;

// The very first size change of any tableau in the process runs without the update lock.
bool g_firstSize = true;

void AssertFailed(const char* expression) {
  reporter("Assert Failed", expression, eREPORT_LOG, kSource, __LINE__);
}

// Locks the tableau's updates for a re-layout and releases only a lock it took: a lock held by
// another window stays, and so does one this window already held.
class TUpdateLock {
 public:
  explicit TUpdateLock(TWindow& window) {
    if (GetWindowUpdateLock() == nullptr) taken_ = window.LockWindowUpdate(true);
  }
  ~TUpdateLock() {
    if (taken_) LockWindowUpdate(nullptr);
  }
  TUpdateLock(const TUpdateLock&) = delete;
  TUpdateLock& operator=(const TUpdateLock&) = delete;

 private:
  bool taken_ = false;
};

}  // namespace

void ResetTableauFirstSize() { g_firstSize = true; }

ZTableau::ZTableau(TWindow* parent) : TLayoutWindow(parent, "Tableau") {
  Attr.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  m_bDibShadows = ZProfile(eIniFile).GetBool("View", "DibShadows", false);
  SetBkgndColor(GetAppColor(TABLEAU_BACKGROUND));

  psMediaPane = new ZTableauPane(eMEDIA_PANE, this, "Media", nullptr, ZTableauPane::eFRAMED);
  psPathPane = new ZTableauPane(ePATH_PANE, this, "Path", nullptr, ZTableauPane::eFRAMED);
  psArticlePane = new ZTableauPane(eARTICLE_PANE, this, "Article", nullptr, ZTableauPane::eFRAMED);
  psMaxiPane = new ZTableauPane(eMAXI_PANE, this, "Maxi", nullptr, ZTableauPane::eFRAMED);
  psMaxiPane->Attr.Style &= ~WS_VISIBLE;  // an overlay, shown on demand

  psVSpacer = new TWindow(this, "VSpacer");
  psHSpacer = new TWindow(this, "HSpacer");
  for (TWindow* spacer : {psVSpacer, psHSpacer})
    spacer->Attr.Style = (spacer->Attr.Style & ~WS_VISIBLE) | WS_CHILD | WS_CLIPSIBLINGS;

  // The spacers split the area: a column of the article gap at the middle of the width, and a
  // row of the media-path gap at the middle of the height reaching to the column's right.
  TLayoutMetrics v;
  v.SetMeasurementUnits(lmPixels);
  v.X.Set(lmCenter, lmPercentOf, lmParent, lmRight, 50);
  v.Y.Set(lmTop, lmSameAs, lmParent, lmTop, 0);
  v.Width.Absolute(GetAppMetric(eMETRIC_TABLEAU_ARTICLE_GAP));
  v.Height.Set(lmBottom, lmSameAs, lmParent, lmBottom, 0);
  SetChildLayoutMetrics(*psVSpacer, v);
  TLayoutMetrics h;
  h.SetMeasurementUnits(lmPixels);
  h.X.Set(lmLeft, lmSameAs, lmParent, lmLeft, 0);
  h.Y.Set(lmCenter, lmPercentOf, lmParent, lmBottom, 50);
  h.Width.Set(lmRight, lmLeftOf, psVSpacer, lmRight, 0);
  h.Height.Absolute(GetAppMetric(eMETRIC_TABLEAU_MEDIA_PATH_GAP));
  SetChildLayoutMetrics(*psHSpacer, h);

  TilePanes(m_eLayout);
  SetPosition(*psMaxiPane, eMAXIMIZED);
}

ZTableau::~ZTableau() = default;

void ZTableau::RemoveChild(TWindow* child) {
  for (ZTableauPane** pane : {&psMediaPane, &psPathPane, &psArticlePane, &psMaxiPane})
    if (*pane == child) *pane = nullptr;
  if (psEnvPane == child) psEnvPane = nullptr;
  if (psVSpacer == child) psVSpacer = nullptr;
  if (psHSpacer == child) psHSpacer = nullptr;
  TLayoutWindow::RemoveChild(child);
}

const TResponseTable& ZTableau::GetResponseTable() const {
  return TLayoutWindow::GetResponseTable();
}

// --- Positions ------------------------------------------------------------------------------

void ZTableau::LoadTopLeftMetric(TLayoutMetrics& m) {
  m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, GetAppMetric(eMETRIC_TABLEAU_MARGIN_LEFT));
  m.Y.Set(lmTop, lmBelow, lmParent, lmTop, GetAppMetric(eMETRIC_TABLEAU_MARGIN_TOP));
  m.Width.Set(lmRight, lmLeftOf, psVSpacer, lmLeft, 0);
  m.Height.Set(lmBottom, lmAbove, psHSpacer, lmTop, 0);
}

void ZTableau::LoadBottomLeftMetric(TLayoutMetrics& m) {
  m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, GetAppMetric(eMETRIC_TABLEAU_MARGIN_LEFT));
  m.Y.Set(lmTop, lmBelow, psHSpacer, lmBottom, 0);
  m.Width.Set(lmRight, lmLeftOf, psVSpacer, lmLeft, 0);
  m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, GetAppMetric(eMETRIC_TABLEAU_MARGIN_BOTTOM));
}

void ZTableau::LoadTopRightMetric(TLayoutMetrics& m) {
  m.X.Set(lmLeft, lmRightOf, psVSpacer, lmRight, 0);
  m.Y.Set(lmTop, lmBelow, lmParent, lmTop, GetAppMetric(eMETRIC_TABLEAU_MARGIN_TOP));
  m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, GetAppMetric(eMETRIC_TABLEAU_MARGIN_RIGHT));
  m.Height.Set(lmBottom, lmAbove, psHSpacer, lmTop, 0);
}

void ZTableau::LoadBottomRightMetric(TLayoutMetrics& m) {
  m.X.Set(lmLeft, lmRightOf, psVSpacer, lmRight, 0);
  m.Y.Set(lmTop, lmBelow, psHSpacer, lmBottom, 0);
  m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, GetAppMetric(eMETRIC_TABLEAU_MARGIN_RIGHT));
  m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, GetAppMetric(eMETRIC_TABLEAU_MARGIN_BOTTOM));
}

void ZTableau::LoadFullLeftMetric(TLayoutMetrics& m) {
  LoadTopLeftMetric(m);
  m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, GetAppMetric(eMETRIC_TABLEAU_MARGIN_BOTTOM));
}

void ZTableau::LoadFullRightMetric(TLayoutMetrics& m) {
  LoadTopRightMetric(m);
  m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, GetAppMetric(eMETRIC_TABLEAU_MARGIN_BOTTOM));
}

void ZTableau::LoadMaximizedMetric(TLayoutMetrics& m) {
  m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, GetAppMetric(eMETRIC_TABLEAU_MARGIN_LEFT));
  m.Y.Set(lmTop, lmBelow, lmParent, lmTop, GetAppMetric(eMETRIC_TABLEAU_MARGIN_TOP));
  m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, GetAppMetric(eMETRIC_TABLEAU_MARGIN_RIGHT));
  m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, GetAppMetric(eMETRIC_TABLEAU_MARGIN_BOTTOM));
}

TLayoutMetrics& ZTableau::LoadPositionMetric(TLayoutMetrics& m, PANE_POSITIONS position) {
  m.SetMeasurementUnits(lmPixels);
  switch (position) {
    case eTOP_LEFT: LoadTopLeftMetric(m); break;
    case eBOTTOM_LEFT: LoadBottomLeftMetric(m); break;
    case eTOP_RIGHT: LoadTopRightMetric(m); break;
    case eBOTTOM_RIGHT: LoadBottomRightMetric(m); break;
    case eFULL_LEFT: LoadFullLeftMetric(m); break;
    case eFULL_RIGHT: LoadFullRightMetric(m); break;
    case eMAXIMIZED: LoadMaximizedMetric(m); break;
    default: AssertFailed("FALSE"); break;
  }
  return m;
}

void ZTableau::SetPosition(ZTableauPane& pane, PANE_POSITIONS position) {
  TLayoutMetrics m;
  SetChildLayoutMetrics(pane, LoadPositionMetric(m, position));
  const bool maximized = position == eMAXIMIZED;
  pane.SetMaximized(maximized);
  pane.MaximizeButtonBar(maximized);
}

void ZTableau::TilePanes(LAYOUT_TEMPLATES layout) {
  if (!psMediaPane || !psPathPane || !psArticlePane) {
    AssertFailed("psMediaPane && psPathPane && psArticlePane");
    return;
  }
  switch (layout) {
    case eMP_A:
    case eP_MA:
      if (layout == eMP_A) {
        SetPosition(*psMediaPane, eTOP_LEFT);
        SetPosition(*psPathPane, eBOTTOM_LEFT);
        SetPosition(*psArticlePane, eFULL_RIGHT);
      } else {
        SetPosition(*psPathPane, eFULL_LEFT);
        SetPosition(*psMediaPane, eTOP_RIGHT);
        SetPosition(*psArticlePane, eBOTTOM_RIGHT);
      }
      if (psPathPane->IsWindow()) {
        Notify(psPathPane, kNotifyPaneUncovered);
        Notify(psMediaPane, kNotifyPaneUncovered);
        Notify(psArticlePane, kNotifyPaneUncovered);
      }
      return;
    case eP_M_OR_A:
      SetPosition(*psPathPane, eFULL_LEFT);
      SetPosition(*psMediaPane, eFULL_RIGHT);
      SetPosition(*psArticlePane, eFULL_RIGHT);
      if (psPathPane->IsWindow()) {
        Notify(psPathPane, kNotifyPaneUncovered);
        ShowOverlappedPane(m_eOverlappedPane);
      }
      return;
  }
  AssertFailed("FALSE");
}

// --- Arrangement ----------------------------------------------------------------------------

void ZTableau::Notify(ZTableauPaneBase* pane, WPARAM code) {
  if (pane && pane->IsWindow()) pane->SendMessage(WmuNotification, code, 0);
}

bool ZTableau::IsEnvShown() const { return psEnvPane && psEnvPane->IsWindowVisible(); }

void ZTableau::MaximizePane(ZTableauPane* pane) {
  if (!pane) return;
  TUpdateLock lock(*this);
  MovePaneToTop(pane);
  if (!pane->IsMaximized()) {
    SetPosition(*pane, eMAXIMIZED);
    Layout();
    m_bMaximized = true;
  }
}

void ZTableau::MaximizePane(PANE_TYPE type) {
  switch (type) {
    case eMEDIA_PANE: MaximizePane(psMediaPane); return;
    case ePATH_PANE: MaximizePane(psPathPane); return;
    case eARTICLE_PANE: MaximizePane(psArticlePane); return;
    case eMAXI_PANE: MaximizePane(psMaxiPane); return;
    case eENV_PANE: ShowEnvPane(true); return;
    default: return;
  }
}

void ZTableau::RestoreTableau() {
  {
    TUpdateLock lock(*this);
    ShowMaxiPane(false);
    ShowEnvPane(false);
    TilePanes(m_eLayout);
    Layout();
  }
  m_bMaximized = false;
}

void ZTableau::ShowMaxiPane(bool show) {
  if (!psMaxiPane) return;
  if (show) {
    psMaxiPane->ShowWindow(SW_SHOW);
    MovePaneToTop(psMaxiPane);
    return;
  }
  HideOverlay(psMaxiPane);
}

void ZTableau::HideOverlay(ZTableauPaneBase* overlay) {
  overlay->ShowWindow(SW_HIDE);
  Notify(overlay, kNotifyPaneCovered);
  // What the overlay covered shows again: the tiles, or the maximised pane.
  if (!m_bMaximized) {
    Notify(psMediaPane, kNotifyPaneUncovered);
    Notify(psPathPane, kNotifyPaneUncovered);
    Notify(psArticlePane, kNotifyPaneUncovered);
  } else {
    Notify(GetTopMostTableauPane(), kNotifyPaneUncovered);
  }
}

void ZTableau::ShowEnvPane(bool show) {
  // A host without an Env pane: it stays "hidden", and the frame hears nothing.
  if (!psEnvPane) return;
  if (show) {
    psEnvPane->ShowWindow(SW_SHOW);
    MovePaneToTop(psEnvPane);
  } else {
    HideOverlay(psEnvPane);
  }
  if (TWindow* frame = GetAppFrameTWindow(); frame && frame->IsWindow())
    frame->SendMessage(WmuEnvPaneShown, show ? 1 : 0, 0);
}

void ZTableau::MovePaneToTop(ZTableauPaneBase* pane) {
  for (ZTableauPaneBase* p :
       {static_cast<ZTableauPaneBase*>(psMaxiPane), static_cast<ZTableauPaneBase*>(psMediaPane),
        static_cast<ZTableauPaneBase*>(psPathPane), static_cast<ZTableauPaneBase*>(psArticlePane),
        psEnvPane})
    Notify(p, p == pane ? kNotifyPaneUncovered : kNotifyPaneCovered);
  if (pane && pane->IsWindow()) pane->BringWindowToTop();
}

void ZTableau::ShowOverlappedPane(PANE_TYPE type) {
  if (type != eMEDIA_PANE && type != eARTICLE_PANE) {
    AssertFailed("(ePaneType == eMEDIA_PANE) || (ePaneType == eARTICLE_PANE)");
    return;
  }
  ZTableauPane* top = type == eMEDIA_PANE ? psMediaPane : psArticlePane;
  ZTableauPane* other = type == eMEDIA_PANE ? psArticlePane : psMediaPane;
  Notify(top, kNotifyPaneUncovered);
  if (top && top->IsWindow()) top->BringWindowToTop();
  Notify(other, kNotifyPaneCovered);
  m_eOverlappedPane = type;
}

void ZTableau::EnsureOnTop(PANE_TYPE type) {
  ShowMaxiPane(type == eMAXI_PANE);
  ShowEnvPane(type == eENV_PANE);
  if (!m_bMaximized) {
    if (m_eLayout == eP_M_OR_A && (type == eMEDIA_PANE || type == eARTICLE_PANE))
      ShowOverlappedPane(type);
    return;
  }
  ZTableauPaneBase* pane = GetTableauPane(type);
  if (!pane) return;
  if (!pane->IsMaximized()) MaximizePane(type);
  MovePaneToTop(pane);
}

bool ZTableau::IsPaneOverlapped(const ZTableauPaneBase& pane) {
  if (m_bMaximized) return &pane != GetTopMostTableauPane();
  if (m_eLayout != eP_M_OR_A) return false;
  return pane.GetPaneType() != m_eOverlappedPane && pane.GetPaneType() != ePATH_PANE;
}

ZTableauPaneBase* ZTableau::GetTableauPane(PANE_TYPE type) {
  switch (type) {
    case eMEDIA_PANE: return psMediaPane;
    case ePATH_PANE: return psPathPane;
    case eMAXI_PANE: return psMaxiPane;
    case eENV_PANE: return psEnvPane;
    default: return psArticlePane;
  }
}

ZTableauPane* ZTableau::GetTopMostTableauPane() {
  auto* top = dynamic_cast<ZTableauPane*>(GetWindowPtr(GetTopWindow()));
  return top ? top : psArticlePane;
}

ZTableauPaneBase* ZTableau::GetTopPane() {
  if (IsEnvShown()) return psEnvPane;
  return GetTopMostTableauPane();
}

HWND ZTableau::HolderHandleOf(ZTableauPaneBase* pane) {
  if (!pane) return nullptr;
  ZHolder* holder = pane->GetActiveHolder();
  return holder && holder->IsWindow() ? holder->GetHandle() : nullptr;
}

void ZTableau::DestroyChild(PANE_TYPE type) {
  ZTableauPaneBase* pane = GetTableauPane(type);
  if (!pane) return;
  if (ZHolder* holder = pane->GetActiveHolder(); holder && holder->IsWindow()) holder->KillChild();
}

HWND ZTableau::GetArticleContent() {
  ZHolder* holder = psArticlePane ? psArticlePane->GetActiveHolder() : nullptr;
  return holder && holder->IsWindow() ? holder->GetChild() : nullptr;
}

// --- State ----------------------------------------------------------------------------------

std::string ZTableau::GetState() {
  std::ostringstream out;
  out << ' ' << (m_bMaximized ? 1 : 0);
  if (m_bMaximized) {
    ZTableauPane* top = GetTopMostTableauPane();
    out << ' ' << int(top ? top->GetPaneType() : eARTICLE_PANE);
  }
  out << ' ' << (psMaxiPane && psMaxiPane->IsWindowVisible() ? 1 : 0);
  out << ' ' << (IsEnvShown() ? 1 : 0);
  out << ' ' << int(m_eLayout);
  if (m_eLayout == eP_M_OR_A) out << ' ' << int(m_eOverlappedPane);
  return out.str();
}

void ZTableau::SetState(const std::string& state) {
  bool maximized = false, maxiVisible = false, envVisible = false;
  int top = ePATH_PANE, layout = eMP_A, overlapped = eMEDIA_PANE;
  std::istringstream in(state);
  // A token that is missing or not a number leaves its starting value; "1" alone is a set flag.
  const auto next = [&in](int& value) {
    long long v;
    if (in >> v) value = int(std::clamp<long long>(v, -(1LL << 30), 1LL << 30));
  };
  const auto flag = [&next](bool& value) {
    int v = value ? 1 : 0;
    next(v);
    value = v == 1;
  };
  flag(maximized);
  if (maximized) next(top);
  flag(maxiVisible);
  flag(envVisible);
  int readLayout = eMP_A;
  next(readLayout);
  if (readLayout >= eMP_A && readLayout <= eP_M_OR_A) layout = readLayout;
  if (layout == eP_M_OR_A) {
    next(overlapped);
    if (overlapped != eMEDIA_PANE && overlapped != eARTICLE_PANE) overlapped = eARTICLE_PANE;
  }
  m_eLayout = LAYOUT_TEMPLATES(layout);
  if (layout == eP_M_OR_A) m_eOverlappedPane = PANE_TYPE(overlapped);

  if (envVisible)
    ShowEnvPane(true);
  else if (maxiVisible)
    ShowMaxiPane(true);
  else if (maximized)
    MaximizePane(PANE_TYPE(top));
  else
    RestoreTableau();
  if (!envVisible) ShowEnvPane(false);
  if (!maxiVisible) ShowMaxiPane(false);
}

bool ZTableau::ChangeLayout(LAYOUT_TEMPLATES layout) {
  CreateTableauBacktrackBookmark();
  m_eLayout = layout;
  RestoreTableau();
  return true;
}

bool ZTableau::ChangeLayout(const std::string& name) {
  static const char* const kNames[] = {"MP_A", "P_MA", "P_M_OR_A"};
  for (int i = 0; i < 3; ++i)
    if (name == kNames[i]) return ChangeLayout(LAYOUT_TEMPLATES(i));
  return false;
}

void ZTableau::CreateTableauBacktrackBookmark() {
  if (ZVexFrame* frame = GetAppFrame(); frame && frame->m_bSuppressBacktrack) return;
  if (GetSuppressBookmarks()) return;
  const std::string text = "!State=<" + GetState() + ">";
  AddBacktrackBookmark(std::make_unique<ZBookmark>(ZBookmark::kSpecialType, text, text));
}

// --- Holders and focus ----------------------------------------------------------------------

void ZTableau::FlushHolders() {
  for (ZTableauPane* pane : {psMediaPane, psPathPane, psArticlePane, psMaxiPane}) {
    if (!pane) continue;
    pane->FlushHolders();
    pane->FlushMenu();
  }
  if (psEnvPane) psEnvPane->FlushHolders();
}

bool ZTableau::PreProcessMsg(MSG& msg) {
  if (TLayoutWindow::PreProcessMsg(msg)) return true;
  if (msg.message == WM_KEYUP && msg.wParam == kKeyF6) {
    CycleFocusWindow();
    return true;
  }
  return false;
}

void ZTableau::CycleFocusWindow() {
  const HWND focus = GetFocus();
  if (!focus) return;
  const auto inside = [focus](ZTableauPane* pane) {
    return pane && pane->IsWindow() && (pane->GetHandle() == focus || pane->IsChild(focus));
  };
  if (inside(psMediaPane))
    SetFocusToPane(psPathPane);
  else if (inside(psPathPane))
    SetFocusToPane(psArticlePane);
  else if (inside(psArticlePane))
    SetFocusToPane(psMediaPane);
}

void ZTableau::SetFocusToPane(ZTableauPaneBase* pane) {
  if (!pane) return;
  if (IsPaneOverlapped(*pane)) CreateTableauBacktrackBookmark();
  EnsureOnTop(pane->GetPaneType());
  auto* titleBar = reinterpret_cast<TWindow*>(pane->SendMessage(WmuGetPaneTitleBar, 0, 0));
  if (titleBar && titleBar->IsWindow()) titleBar->SendMessage(WmuHandleActivation, 0, 1);
  if (pane->IsWindow()) pane->SetFocus();
}

// --- Size and painting ----------------------------------------------------------------------

void ZTableau::EvSize(UINT sizeType, const TSize& size) {
  std::optional<TUpdateLock> lock;
  if (g_firstSize)
    g_firstSize = false;
  else
    lock.emplace(*this);
  TLayoutWindow::EvSize(sizeType, size);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

std::vector<TRect> ZTableau::ShadowCasters() const {
  std::vector<TRect> rects;
  for (TWindow* w : GetZOrder()) {
    if (!dynamic_cast<ZTableauPaneBase*>(w) || !(w->Attr.Style & WS_VISIBLE)) continue;
    rects.push_back(w->GetBounds());
  }
  return rects;
}

bool ZTableau::EvEraseBkgnd(TDC& dc) {
  TDib* background = nullptr;
  TRect under;
  if (GetWindowBackground(*this, background, under)) return true;  // Paint draws the picture
  TPalette* palette = GetAppPalette();
  if (palette) {
    dc.SelectPalette(palette, false);
    dc.RealizePalette();
  }
  dc.FillRect(GetClientRect(), TBrush(GetBkgndColor()));
  if (palette) dc.RestorePalette();
  return true;
}

void ZTableau::Paint(TDC& dc, bool, TRect& rect) {
  if (m_bDibShadows) {
    static const ZShadowSpec spec;
    PaintDropShadows(dc, *this, ShadowCasters(), rect, GetBkgndColor(), spec, &m_shadowLayer);
    return;
  }
  PaintWindowBackground(dc, *this, rect);
}

void ZTableau::EvParentNotify(UINT event, UINT childId, HWND child) {
  TLayoutWindow::EvParentNotify(event, childId, child);
  // A pane moving or changing size: its old and new shadows are repainted.
  if (!m_bDibShadows || event != WM_SIZE) return;
  TWindow* w = GetWindowPtr(child);
  if (!w || w->GetParentO() != this) return;
  TRect r = w->GetBounds();
  const TPoint offset = ZShadowSpec().offset;
  r.right += offset.x * 2;
  r.bottom += offset.y * 2;
  InvalidateRect(r, true);
}

}  // namespace quill
