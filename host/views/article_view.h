// ArticleView: the Article pane's content window. Shows an article's title, headings and
// paragraphs wrapped to the pane, scrolls, follows links, and selects text for copying.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/core/article.h"
#include "host/core/content_store.h"
#include "quillui/framework/window/window.h"

namespace quillonary {

class ArticleView : public quill::TWindow {
 public:
  ArticleView(quill::TWindow* holder, const ContentStore& store);

  // Shows the article (null: an empty page) from its top, with nothing selected.
  void ShowArticle(const Article* article);
  const Article* Current() const { return article_; }
  // The page's text: the title, then each block, separated by "\n".
  const std::string& Text() const { return text_; }
  // The selected text; blocks are separated by "\n".
  std::string SelectedText() const;
  // Selects the characters [start, end) of the page's text; clamped.
  void SetSelection(size_t start, size_t end);

  // Pixels scrolled from the top, and the most that can be.
  int ScrollPos() const { return scroll_; }
  int MaxScroll();
  void ScrollTo(int y);

  // One piece of laid-out text: a part of one word (or of a run of it) on one line.
  struct Piece {
    size_t start = 0;  // offset in the page's text
    size_t length = 0;
    int x = 0;
    int width = 0;
    int font = 0;   // an APP_FONTS slot
    int link = -1;  // index into links_, -1 for plain text
  };
  struct Line {
    int y = 0;  // top, in page coordinates (before scrolling)
    int height = 0;
    std::vector<Piece> pieces;
  };
  // The layout for the present client width (made when needed).
  const std::vector<Line>& Lines();
  // The article id a link at the client point leads to, or "".
  std::string LinkAt(const quill::TPoint& client);

 protected:
  void Paint(quill::TDC& dc, bool erase, quill::TRect& rect) override;
  quill::LRESULT WindowProc(quill::UINT msg, quill::WPARAM wp, quill::LPARAM lp) override;
  quill::LRESULT EvCommand(quill::UINT id, quill::HWND control, quill::UINT notifyCode) override;
  void EvSize(quill::UINT sizeType, const quill::TSize& size) override;
  void EvLButtonDown(quill::UINT modKeys, const quill::TPoint& point) override;
  void EvMouseMove(quill::UINT modKeys, const quill::TPoint& point) override;
  void EvLButtonUp(quill::UINT modKeys, const quill::TPoint& point) override;
  void EvLButtonDblClk(quill::UINT modKeys, const quill::TPoint& point) override;
  void EvKeyDown(quill::UINT key, quill::UINT repeatCount, quill::UINT flags) override;
  void EvCancelMode() override;

 private:
  // A block of the page's text: the title, a heading or a paragraph.
  struct Span {
    size_t start = 0, end = 0;
    int font = 0;
  };
  void Layout();
  void LayoutSpan(const Span& span, int avail, int& y);
  // Adds [start, end) to the line at x as pieces split where links begin and end.
  void Place(size_t start, size_t end, int font, int& x, Line& line);
  // The page-text offset nearest a client point.
  size_t OffsetAt(const quill::TPoint& client);
  const Piece* PieceAt(const quill::TPoint& client);
  int LineStep() const;
  // Dispatches the article before (-1) or after (+1) this one by title.
  void GoToNeighbour(int step);
  // The articles the page links to, first mention first, at most the links menu's size.
  std::vector<std::string> LinkTargets() const;

  const ContentStore& store_;
  const Article* article_ = nullptr;
  std::string text_;                // the page's text
  std::vector<std::string> links_;  // article ids of the link runs, in order
  std::vector<Span> spans_;
  std::vector<int> linkOf_;  // per byte of text_: an index into links_, or -1
  std::vector<Line> lines_;
  int layoutWidth_ = -1;  // the client width lines_ was made for; -1: none
  int height_ = 0;        // the page's height in pixels
  int scroll_ = 0;
  size_t anchor_ = 0, caret_ = 0;  // the selection: [min, max)
  // A press in progress: where it was, the link under it, whether it has moved to select.
  bool pressed_ = false;
  bool dragged_ = false;
  quill::TPoint pressPoint_;
  std::string pressLink_;
};

}  // namespace quillonary
