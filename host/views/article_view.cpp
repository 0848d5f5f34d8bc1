#include "host/views/article_view.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "host/core/bookmark_texts.h"
#include "host/views/bookmark_types.h"
#include "host/views/commands.h"
#include "host/views/pane_menu.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/dispatch.h"

namespace quillonary {

using namespace quill;

namespace {

constexpr int kMargin = 14;     // left and right of the text
constexpr int kTop = 10;        // above the title
constexpr int kLeading = 3;     // between lines of a block
constexpr int kBlockGap = 8;    // between blocks
constexpr int kHeadingGap = 8;  // more above a heading
constexpr int kDragSlop = 3;    // pixels a press moves before it selects
constexpr int kWheelLines = 3;  // lines one wheel notch scrolls

constexpr UINT kCmPreviousArticle = 7305;
constexpr UINT kCmNextArticle = 7306;
constexpr UINT kCmCopy = 7307;
constexpr UINT kButtons[] = {kCmPreviousArticle, kCmNextArticle,       kCmCopy,
                             kCmBookmarkArticle, kCmFullScreenArticle, kCmPaneOptions};

const TColor kPage(252, 251, 244);
const TColor kTitleColor(24, 40, 96);
const TColor kTextColor(30, 30, 30);
const TColor kLinkColor(0, 64, 176);
const TColor kSelectionColor(184, 206, 240);

const TFont& FontOf(int slot) {
  static const TFont fallback;
  const TFont* font = GetAppFont(slot);
  return font ? *font : fallback;
}

// The length of the UTF-8 character starting at text[i] (1 for a stray byte), within text.
size_t CharLength(std::string_view text, size_t i) {
  size_t n = 1;
  while (i + n < text.size() && (uint8_t(text[i + n]) & 0xC0) == 0x80 && n < 4) ++n;
  return n;
}

bool IsWordChar(char c) { return c != ' ' && c != '\n'; }

int CompareTitles(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = (a[i] >= 'A' && a[i] <= 'Z') ? a[i] + 32 : uint8_t(a[i]);
    int cb = (b[i] >= 'A' && b[i] <= 'Z') ? b[i] + 32 : uint8_t(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

ArticleView::ArticleView(TWindow* holder, const ContentStore& store)
    : TWindow(holder, "Article"), store_(store) {
  Attr.Style = WS_CHILD | WS_VISIBLE;
}

void ArticleView::ShowArticle(const Article* article) {
  article_ = article;
  text_.clear();
  links_.clear();
  spans_.clear();
  linkOf_.clear();
  if (article_) {
    spans_.push_back({0, article_->title.size(), BigTitle});
    text_ = article_->title;
    linkOf_.assign(text_.size(), -1);
    for (const Block& block : article_->blocks) {
      text_ += '\n';
      linkOf_.push_back(-1);
      Span span{text_.size(), text_.size(), block.kind == Block::kHeading ? Title : Default};
      for (const TextRun& run : block.runs) {
        // Line breaks inside a run are shown as spaces: the page's "\n" separates blocks.
        std::string text = run.text;
        std::replace(text.begin(), text.end(), '\n', ' ');
        int link = -1;
        if (!run.link.empty()) {
          link = int(links_.size());
          links_.push_back(run.link);
        }
        text_ += text;
        linkOf_.insert(linkOf_.end(), text.size(), link);
      }
      span.end = text_.size();
      spans_.push_back(span);
    }
  }
  lines_.clear();
  layoutWidth_ = -1;
  height_ = 0;
  scroll_ = 0;
  anchor_ = caret_ = 0;
  pressed_ = dragged_ = false;
  if (IsWindow()) Invalidate();
}

std::string ArticleView::SelectedText() const {
  size_t s = std::min(anchor_, caret_), e = std::max(anchor_, caret_);
  e = std::min(e, text_.size());
  return s < e ? text_.substr(s, e - s) : std::string();
}

void ArticleView::SetSelection(size_t start, size_t end) {
  anchor_ = std::min(start, text_.size());
  caret_ = std::min(end, text_.size());
  if (IsWindow()) Invalidate();
}

int ArticleView::LineStep() const { return FontOf(Default).GetHeight() + kLeading; }

// --- Layout ---------------------------------------------------------------------------------

const std::vector<ArticleView::Line>& ArticleView::Lines() {
  if (layoutWidth_ != GetClientRect().Width()) Layout();
  return lines_;
}

void ArticleView::Layout() {
  layoutWidth_ = GetClientRect().Width();
  lines_.clear();
  int y = kTop;
  const int avail = std::max(layoutWidth_ - 2 * kMargin, 1);
  for (size_t i = 0; i < spans_.size(); ++i) {
    if (i > 0) y += kBlockGap + (spans_[i].font == Title ? kHeadingGap : 0);
    LayoutSpan(spans_[i], avail, y);
  }
  height_ = lines_.empty() ? 0 : y + kTop;
  scroll_ = std::clamp(scroll_, 0, std::max(height_ - GetClientRect().Height(), 0));
}

void ArticleView::LayoutSpan(const Span& span, int avail, int& y) {
  const TFont& font = FontOf(span.font);
  const int lineH = font.GetHeight() + kLeading;
  const std::string_view text(text_);
  auto width = [&](size_t a, size_t b) { return font.GetTextExtent(text.substr(a, b - a)).cx; };
  Line line{y, lineH, {}};
  int x = 0;
  auto newLine = [&] {
    lines_.push_back(std::move(line));
    y += lineH;
    line = Line{y, lineH, {}};
    x = 0;
  };
  size_t i = span.start;
  while (i < span.end) {
    size_t wordEnd = i;
    while (wordEnd < span.end && text[wordEnd] != ' ') ++wordEnd;
    size_t tokenEnd = wordEnd;
    while (tokenEnd < span.end && text[tokenEnd] == ' ') ++tokenEnd;
    const int wordW = width(i, wordEnd);
    if (x > 0 && x + wordW > avail) newLine();
    if (wordW <= avail) {
      Place(i, tokenEnd, span.font, x, line);
      i = tokenEnd;
      continue;
    }
    // A word wider than the page: as many characters as fit on each line (at least one).
    size_t k = i;
    while (k < wordEnd) {
      size_t m = k;
      int w = x;
      while (m < wordEnd) {
        size_t n = CharLength(text, m);
        int cw = width(m, m + n);
        if (m > k && w + cw > avail) break;
        w += cw;
        m += n;
      }
      Place(k, m, span.font, x, line);
      k = m;
      if (k < wordEnd) newLine();
    }
    if (wordEnd < tokenEnd) Place(wordEnd, tokenEnd, span.font, x, line);
    i = tokenEnd;
  }
  if (!line.pieces.empty()) {
    lines_.push_back(std::move(line));
    y += lineH;
  }
}

void ArticleView::Place(size_t start, size_t end, int font, int& x, Line& line) {
  const TFont& f = FontOf(font);
  while (start < end) {
    size_t stop = start + 1;
    while (stop < end && linkOf_[stop] == linkOf_[start]) ++stop;
    Piece piece;
    piece.start = start;
    piece.length = stop - start;
    piece.x = x;
    piece.width = f.GetTextExtent(std::string_view(text_).substr(start, stop - start)).cx;
    piece.font = font;
    piece.link = linkOf_[start];
    x += piece.width;
    line.pieces.push_back(piece);
    start = stop;
  }
}

// --- Hit-testing ----------------------------------------------------------------------------

size_t ArticleView::OffsetAt(const TPoint& client) {
  const std::vector<Line>& lines = Lines();
  if (lines.empty()) return 0;
  const int y = client.y + scroll_;
  const Line* line = &lines.back();
  if (y < lines.front().y) {
    line = &lines.front();
  } else {
    for (const Line& l : lines) {
      if (y < l.y + l.height) {
        line = &l;
        break;
      }
    }
  }
  const int x = client.x - kMargin;
  if (x <= line->pieces.front().x) return line->pieces.front().start;
  for (const Piece& piece : line->pieces) {
    if (x >= piece.x + piece.width) continue;
    const TFont& font = FontOf(piece.font);
    const std::string_view text = std::string_view(text_).substr(piece.start, piece.length);
    int cx = piece.x;
    for (size_t i = 0; i < text.size();) {
      size_t n = CharLength(text, i);
      int cw = font.GetTextExtent(text.substr(i, n)).cx;
      if (x < cx + (cw + 1) / 2) return piece.start + i;
      cx += cw;
      i += n;
    }
    return piece.start + piece.length;
  }
  const Piece& last = line->pieces.back();
  return last.start + last.length;
}

const ArticleView::Piece* ArticleView::PieceAt(const TPoint& client) {
  const int y = client.y + scroll_;
  const int x = client.x - kMargin;
  for (const Line& line : Lines()) {
    if (y < line.y || y >= line.y + line.height) continue;
    for (const Piece& piece : line.pieces)
      if (x >= piece.x && x < piece.x + piece.width) return &piece;
    return nullptr;
  }
  return nullptr;
}

std::string ArticleView::LinkAt(const TPoint& client) {
  const Piece* piece = PieceAt(client);
  if (!piece || piece->link < 0) return {};
  return links_[size_t(piece->link)];
}

// --- Scrolling ------------------------------------------------------------------------------

int ArticleView::MaxScroll() {
  Lines();
  return std::max(height_ - GetClientRect().Height(), 0);
}

void ArticleView::ScrollTo(int y) {
  int next = std::clamp(y, 0, MaxScroll());
  if (next == scroll_) return;
  scroll_ = next;
  if (IsWindow()) Invalidate();
}

// --- Painting -------------------------------------------------------------------------------

void ArticleView::Paint(TDC& dc, bool, TRect&) {
  const TRect client = GetClientRect();
  dc.FillRect(client, kPage);
  const std::vector<Line>& lines = Lines();
  dc.SetBkMode(TRANSPARENT);
  const size_t selStart = std::min(anchor_, caret_), selEnd = std::max(anchor_, caret_);
  const std::string_view text(text_);
  int selected = -1;
  for (const Line& line : lines) {
    const int y = line.y - scroll_;
    if (y + line.height <= client.top) continue;
    if (y >= client.bottom) break;
    for (const Piece& piece : line.pieces) {
      const TFont& font = FontOf(piece.font);
      if (piece.font != selected) {
        dc.SelectObject(font);
        selected = piece.font;
      }
      const int x = kMargin + piece.x;
      const size_t end = piece.start + piece.length;
      if (selStart < end && selEnd > piece.start) {
        size_t a = std::max(selStart, piece.start) - piece.start;
        size_t b = std::min(selEnd, end) - piece.start;
        const std::string_view t = text.substr(piece.start, piece.length);
        int xa = x + font.GetTextExtent(t.substr(0, a)).cx;
        int xb = x + font.GetTextExtent(t.substr(0, b)).cx;
        dc.FillRect(TRect(xa, y, xb, y + line.height), kSelectionColor);
      }
      TColor color = piece.link >= 0         ? kLinkColor
                     : piece.font == Default ? kTextColor
                                             : kTitleColor;
      dc.SetTextColor(color);
      dc.TextOut(x, y, text.substr(piece.start, piece.length));
      if (piece.link >= 0) {
        // Underlined under the spaces between the words of a link, not under those after it.
        size_t len = piece.length;
        const size_t next = piece.start + piece.length;
        if (next >= linkOf_.size() || linkOf_[next] != piece.link)
          while (len > 0 && text[piece.start + len - 1] == ' ') --len;
        int w = font.GetTextExtent(text.substr(piece.start, len)).cx;
        int uy = y + font.GetTextMetrics().tmAscent + 1;
        dc.FillRect(TRect(x, uy, x + w, uy + 1), kLinkColor);
      }
    }
  }
  dc.RestoreFont();
}

// --- Input ----------------------------------------------------------------------------------

void ArticleView::EvSize(UINT sizeType, const TSize& size) {
  TWindow::EvSize(sizeType, size);
  layoutWidth_ = -1;
  Invalidate();
}

void ArticleView::EvLButtonDown(UINT, const TPoint& point) {
  SetFocus();
  pressed_ = true;
  dragged_ = false;
  pressPoint_ = point;
  pressLink_ = LinkAt(point);
  anchor_ = caret_ = OffsetAt(point);
  SetCapture();
  Invalidate();
}

void ArticleView::EvMouseMove(UINT, const TPoint& point) {
  if (!pressed_) return;
  if (!dragged_ &&
      std::abs(point.x - pressPoint_.x) + std::abs(point.y - pressPoint_.y) <= kDragSlop)
    return;
  dragged_ = true;
  // Dragging past the top or bottom edge scrolls the page along.
  if (point.y < 0) ScrollTo(scroll_ - LineStep());
  if (point.y >= GetClientRect().Height()) ScrollTo(scroll_ + LineStep());
  size_t caret = OffsetAt(point);
  if (caret != caret_) {
    caret_ = caret;
    Invalidate();
  }
}

void ArticleView::EvLButtonUp(UINT, const TPoint& point) {
  if (!pressed_) return;
  pressed_ = false;
  ReleaseCapture();
  if (dragged_ || pressLink_.empty() || LinkAt(point) != pressLink_) return;
  // The frame may replace this window while it shows the link: nothing of it is touched after.
  const std::string text = ArticleText(pressLink_);
  Dispatch(text.c_str());
}

void ArticleView::EvLButtonDblClk(UINT, const TPoint& point) {
  size_t at = OffsetAt(point);
  size_t s = at, e = at;
  while (s > 0 && IsWordChar(text_[s - 1])) --s;
  while (e < text_.size() && IsWordChar(text_[e])) ++e;
  SetSelection(s, e);
}

void ArticleView::EvCancelMode() {
  pressed_ = dragged_ = false;
  TWindow::EvCancelMode();
}

void ArticleView::EvKeyDown(UINT key, UINT, UINT) {
  const int page = std::max(GetClientRect().Height() - LineStep(), LineStep());
  switch (key) {
    case VK_UP: ScrollTo(scroll_ - LineStep()); break;
    case VK_DOWN: ScrollTo(scroll_ + LineStep()); break;
    case VK_PRIOR: ScrollTo(scroll_ - page); break;
    case VK_NEXT: ScrollTo(scroll_ + page); break;
    case VK_HOME: ScrollTo(0); break;
    case VK_END: ScrollTo(MaxScroll()); break;
    default: break;
  }
}

void ArticleView::GoToNeighbour(int step) {
  if (!article_) return;
  std::vector<const Article*> sorted;
  for (const Article& a : store_.Articles()) sorted.push_back(&a);
  std::stable_sort(sorted.begin(), sorted.end(), [](const Article* a, const Article* b) {
    return CompareTitles(a->title, b->title) < 0;
  });
  auto it = std::find_if(sorted.begin(), sorted.end(),
                         [&](const Article* a) { return a->id == article_->id; });
  if (it == sorted.end()) return;
  const ptrdiff_t at = (it - sorted.begin()) + step;
  if (at < 0 || at >= ptrdiff_t(sorted.size())) return;
  const std::string text = ArticleText(sorted[size_t(at)]->id);
  Dispatch(text.c_str());
}

std::vector<std::string> ArticleView::LinkTargets() const {
  std::vector<std::string> links;
  if (!article_) return links;
  for (const Block& block : article_->blocks)
    for (const TextRun& run : block.runs)
      if (!run.link.empty() && links.size() < size_t(kMaxLinkEntries) &&
          std::find(links.begin(), links.end(), run.link) == links.end())
        links.push_back(run.link);
  return links;
}

LRESULT ArticleView::EvCommand(UINT id, HWND control, UINT notifyCode) {
  switch (id) {
    case kCmPreviousArticle: GoToNeighbour(-1); return 0;
    case kCmNextArticle: GoToNeighbour(+1); return 0;
    case kCmCopy:
      if (anchor_ != caret_) GetCADS() = SelectedText();
      return 0;
    case kCmLinksMenu: {
      std::vector<FlyEntry> entries;
      const std::vector<std::string> links = LinkTargets();
      for (size_t i = 0; i < links.size(); ++i) {
        const Article* target = store_.Find(links[i]);
        entries.push_back({UINT(kCmFirstLink + i), target ? target->title : links[i]});
      }
      OpenPaneFlySubMenu(*this, entries);
      return 0;
    }
    default:
      if (id >= kCmFirstLink && id < kCmFirstLink + kMaxLinkEntries) {
        const std::vector<std::string> links = LinkTargets();
        if (id - kCmFirstLink < links.size()) {
          const std::string text = ArticleText(links[id - kCmFirstLink]);
          Dispatch(text.c_str());
        }
        return 0;
      }
      return ForwardToFrame(id);
  }
}

LRESULT ArticleView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WmuBuildFlyMenu: {
      std::vector<FlyEntry> entries{{kCmCopy, "Copy"},
                                    {kCmPreviousArticle, "Previous article"},
                                    {kCmNextArticle, "Next article"}};
      if (!LinkTargets().empty()) entries.push_back({kCmLinksMenu, "Links", true});
      entries.insert(
          entries.end(),
          {{0}, {kCmBookmarkArticle, "Bookmark"}, {kCmBack, "Back"}, {kCmFullScreenArticle}});
      FillPaneFlyMenu(*this, entries);
      return 0;
    }
    case WmuGetBtnMenu: {
      HMENU menu = CreatePopupMenu();
      for (UINT id : kButtons) AppendMenu(menu, MF_STRING, id, "@");
      // The options button pops these up.
      HMENU options = CreatePopupMenu();
      AppendMenu(options, MF_STRING, kCmCopy, "Copy");
      AppendMenu(options, MF_STRING, kCmPreviousArticle, "Previous article");
      AppendMenu(options, MF_STRING, kCmNextArticle, "Next article");
      AppendMenu(menu, MF_POPUP, reinterpret_cast<uintptr_t>(options), "Options");
      *reinterpret_cast<HMENU*>(lp) = menu;
      return 0;
    }
    case WmuCreateBookmark: {
      if (!article_) return 0;
      const std::string& name = article_->title.empty() ? article_->id : article_->title;
      return reinterpret_cast<LRESULT>(
          new ZBookmark(kArticleType, name, ArticleText(article_->id)));
    }
    case WmuGetTextSelection:
      if (anchor_ == caret_) return 0;
      GetCADS() = SelectedText();
      return 1;
    case WmuNotification: return 0;
    case WM_MOUSEWHEEL: {
      int notches = int(int16_t(HIWORD(wp))) / 120;
      ScrollTo(scroll_ - notches * kWheelLines * LineStep());
      return 0;
    }
    default: return TWindow::WindowProc(msg, wp, lp);
  }
}

}  // namespace quillonary
