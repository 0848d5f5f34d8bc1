// SearchView: the Path pane's search. A field at the top lists the matching articles below as
// you type (titles first, then text); Enter opens the article titled exactly so, else the first.
#pragma once

#include <string>

#include "host/core/search.h"
#include "quillui/framework/window/window.h"

namespace quill {
class TEdit;
class TStatic;
}  // namespace quill

namespace quillonary {

class ListView;

class SearchView : public quill::TWindow {
 public:
  SearchView(quill::TWindow* holder, const SearchIndex& index);

  // Puts the query in the field and lists its hits.
  void SetQuery(const std::string& query);
  std::string Query() const;
  // What Enter in the field does: the article titled exactly as the query, else the first hit.
  void OpenQuery();
  ListView& List() { return *list_; }
  quill::TEdit& Field() { return *edit_; }

 protected:
  void SetupWindow() override;
  void EvSize(quill::UINT sizeType, const quill::TSize& size) override;
  bool EvEraseBkgnd(quill::TDC& dc) override;
  quill::LRESULT EvCommand(quill::UINT id, quill::HWND control, quill::UINT notifyCode) override;
  quill::LRESULT WindowProc(quill::UINT msg, quill::WPARAM wp, quill::LPARAM lp) override;

 private:
  void Refresh();
  void LayoutChildren();

  const SearchIndex& index_;
  quill::TStatic* label_;
  quill::TEdit* edit_;
  ListView* list_;
};

}  // namespace quillonary
