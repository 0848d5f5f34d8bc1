// ZTableau: the window in the frame's client area that lays out the Media, Path and Article
// panes by template, maximises one of them, shows the Maxi and Env overlay panes, keeps the
// stacking order, writes the arrangement as a state string for backtrack bookmarks and walks
// the focus from pane to pane with F6.
#pragma once

#include <string>

#include "quillui/framework/layout/layout_window.h"
#include "quillui/imaging/shadow_layer.h"
#include "quillui/navigation/pane_type.h"
#include "quillui/navigation/tableau_link.h"
#include "quillui/tableau/tableau_pane.h"

namespace quill {

class ZTableau : public TLayoutWindow, public ZTableauNavigation {
 public:
  enum LAYOUT_TEMPLATES : int {
    eMP_A = 0,      // Media top left, Path bottom left, Article full right
    eP_MA = 1,      // Path full left, Media top right, Article bottom right
    eP_M_OR_A = 2,  // Path full left, Media or Article full right
  };
  enum PANE_POSITIONS : int {
    eTOP_LEFT = 0,
    eBOTTOM_LEFT = 1,
    eTOP_RIGHT = 2,
    eBOTTOM_RIGHT = 3,
    eFULL_LEFT = 4,
    eFULL_RIGHT = 5,
    eMAXIMIZED = 6,
  };

  explicit ZTableau(TWindow* parent);
  ~ZTableau() override;

  // The host's Env pane; the tableau never creates or deletes it. Null means none: it counts
  // as hidden everywhere.
  void SetEnvPane(ZTableauPaneBase* env) { psEnvPane = env; }

  // Positions the three main panes (no re-layout).
  void TilePanes(LAYOUT_TEMPLATES layout);
  void SetPosition(ZTableauPane& pane, PANE_POSITIONS position);
  TLayoutMetrics& LoadPositionMetric(TLayoutMetrics& metrics, PANE_POSITIONS position);
  void LoadTopLeftMetric(TLayoutMetrics& metrics);
  void LoadBottomLeftMetric(TLayoutMetrics& metrics);
  void LoadTopRightMetric(TLayoutMetrics& metrics);
  void LoadBottomRightMetric(TLayoutMetrics& metrics);
  void LoadFullLeftMetric(TLayoutMetrics& metrics);
  void LoadFullRightMetric(TLayoutMetrics& metrics);
  void LoadMaximizedMetric(TLayoutMetrics& metrics);

  void MaximizePane(ZTableauPane* pane);
  void MaximizePane(PANE_TYPE type);
  void RestoreTableau();
  void ShowMaxiPane(bool show);
  void ShowEnvPane(bool show);
  void MovePaneToTop(ZTableauPaneBase* pane);
  void ShowOverlappedPane(PANE_TYPE type);
  void EnsureOnTop(PANE_TYPE type);
  bool IsPaneOverlapped(const ZTableauPaneBase& pane);

  // 0, 1, 3 and 4 name their panes (4 may be null); every other value the Article pane.
  ZTableauPaneBase* GetTableauPane(PANE_TYPE type);
  // The pane whose window is the uppermost child, or the Article pane when that is none.
  ZTableauPane* GetTopMostTableauPane();
  // The Env pane when it is shown, else GetTopMostTableauPane.
  ZTableauPaneBase* GetTopPane();
  HWND GetMediaHolderHandle() { return HolderHandleOf(psMediaPane); }
  HWND GetPathHolderHandle() { return HolderHandleOf(psPathPane); }
  HWND GetArticleHolderHandle() { return HolderHandleOf(psArticlePane); }
  HWND GetMaxiHolderHandle() { return HolderHandleOf(psMaxiPane); }
  HWND GetEnvHolderHandle() { return HolderHandleOf(psEnvPane); }
  void DestroyChild(PANE_TYPE type);

  std::string GetState() override;
  // Restores an arrangement; never records a backtrack bookmark.
  void SetState(const std::string& state);
  // Records the old arrangement, then tiles with the template. Always true.
  bool ChangeLayout(LAYOUT_TEMPLATES layout);
  // By name ("MP_A", "P_MA", "P_M_OR_A", exactly); false and nothing changed for any other.
  bool ChangeLayout(const std::string& name);
  void CreateTableauBacktrackBookmark() override;
  HWND GetArticleContent() override;

  virtual void FlushHolders();
  bool PreProcessMsg(MSG& msg) override;
  void CycleFocusWindow();
  void SetFocusToPane(ZTableauPaneBase* pane);

  bool IsMaximized() const { return m_bMaximized; }
  LAYOUT_TEMPLATES GetLayout() const { return m_eLayout; }
  PANE_TYPE GetOverlappedPane() const { return m_eOverlappedPane; }
  bool HasDibShadows() const { return m_bDibShadows; }
  TWindow* GetVSpacer() const { return psVSpacer; }
  TWindow* GetHSpacer() const { return psHSpacer; }

  // A pane deleted by someone else is forgotten.
  void RemoveChild(TWindow* child) override;
  void EvSize(UINT sizeType, const TSize& size) override;
  bool EvEraseBkgnd(TDC& dc) override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  void EvParentNotify(UINT event, UINT childId, HWND child) override;
  const TResponseTable& GetResponseTable() const override;

 protected:
  ZTableauPane* psMediaPane = nullptr;
  ZTableauPane* psPathPane = nullptr;
  ZTableauPane* psArticlePane = nullptr;
  ZTableauPane* psMaxiPane = nullptr;
  ZTableauPaneBase* psEnvPane = nullptr;
  TWindow* psVSpacer = nullptr;
  TWindow* psHSpacer = nullptr;
  bool m_bMaximized = false;
  LAYOUT_TEMPLATES m_eLayout = eMP_A;
  PANE_TYPE m_eOverlappedPane = eARTICLE_PANE;
  bool m_bDibShadows = false;
  // The background with the panes' shadows, kept between repaints.
  ZShadowLayer m_shadowLayer;

 private:
  static HWND HolderHandleOf(ZTableauPaneBase* pane);
  void Notify(ZTableauPaneBase* pane, WPARAM code);
  // Hides an overlay pane and tells it, then tells what it covered.
  void HideOverlay(ZTableauPaneBase* overlay);
  bool IsEnvShown() const;
  // The panes' rectangles that cast shadows: the visible panes.
  std::vector<TRect> ShadowCasters() const;
};

}  // namespace quill
