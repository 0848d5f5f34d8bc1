// The encyclopedia's main window: the tableau with its Media, Path, Article and Maxi panes and
// an Env pane, and the handler that shows every fired bookmark where the routing section says,
// records where the reader was for Back and what was read for the history.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/core/bookmark_texts.h"
#include "host/core/content_store.h"
#include "host/core/search.h"
#include "host/views/commands.h"
#include "quillui/app/app_registry.h"
#include "quillui/framework/window/window.h"
#include "quillui/tableau/tableau.h"

namespace quill {
class ZBookmark;
class ZIcon;
class ZTableauPane;
}  // namespace quill

namespace quillonary {

class HostFrame : public quill::TWindow, public quill::ZVexFrame {
 public:
  HostFrame(int width, int height, const ContentStore& store);
  ~HostFrame() override;

  quill::TWindow& GetFrameTWindow() override { return *this; }
  quill::ZTableau& Tableau() { return *tableau_; }
  const ContentStore& Store() const { return store_; }

  // Fills the panes once the frame exists: the first article, its media, the search list.
  void Start();
  // Goes back one step when the backtrack stack holds one; false when it holds none.
  bool Back();
  bool CanGoBack() const;
  // The article the Article pane shows, or null.
  const Article* ShownArticle() const;
  // The hint text the library last asked the frame to show (a button under the mouse).
  const std::string& HintText() const { return hintText_; }

 protected:
  bool PreProcessMsg(quill::MSG& msg) override;
  quill::LRESULT EvCommand(quill::UINT id, quill::HWND control, quill::UINT notifyCode) override;
  void EvCommandEnable(quill::TCommandEnabler& ce) override;
  bool CanClose() override;
  bool IdleAction(long idleCount) override;
  quill::LRESULT WindowProc(quill::UINT msg, quill::WPARAM wp, quill::LPARAM lp) override;

 private:
  quill::LRESULT Show(const quill::ZBookmark& bookmark, bool quiet, int depth);
  // The content window of the place's kind in the pane's holder, made on first use.
  quill::TWindow* ViewFor(const std::string& entry, quill::ZTableauPaneBase& pane, int holderId);
  void ShowPlace(const Place& place, quill::TWindow& view, quill::ZTableauPaneBase& pane);
  void ShowMediaOf(const Article& article, int index);
  void SetPaneTitle(quill::PANE_TYPE type, const std::string& title);
  void ExportHtml();
  void ImportHtml();
  void ToggleAbout();
  // Takes the deepest menu of the open fly menu chain off the screen; false when none is open.
  bool CloseDeepestMenu();

  const ContentStore& store_;
  SearchIndex index_;
  quill::ZTableau* tableau_ = nullptr;
  quill::ZTableauPaneBase* env_ = nullptr;
  std::vector<std::unique_ptr<quill::ZIcon>> icons_;
  std::string hintText_;
};

}  // namespace quillonary
