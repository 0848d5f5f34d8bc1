#include "quillui/framework/gadgets/text_gadget.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/gdi/dc.h"

namespace quill {

TTextGadget::TTextGadget(int id, TBorderStyle borderStyle, TAlign align, unsigned numChars,
                         const char* text, TFont* font)
    : TGadget(id, borderStyle), align_(align), numChars_(numChars), font_(font) {
  SetMargins(TMargins(TMargins::Pixels, 2, 2, 1, 1));
  SetShrinkWrap(false, true);
  if (text) {
    text_ = text;
    hasText_ = true;
  }
}

TTextGadget::~TTextGadget() = default;

const TFont* TTextGadget::GetFont() const {
  if (font_) return font_.get();
  if (TGadgetWindow* w = GetGadgetWindow()) return &w->GetFont();
  return nullptr;
}

void TTextGadget::SetText(const char* text) {
  bool changed = hasText_ != (text != nullptr) || (text && text_ != text);
  hasText_ = text != nullptr;
  text_ = text ? text : "";
  if (changed && GetShrinkWrapWidth() && GetGadgetWindow())
    GetGadgetWindow()->GadgetChangedSize(*this);
  Invalidate();
}

void TTextGadget::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  Invalidate();
}

void TTextGadget::SetNumChars(unsigned numChars) {
  if (numChars == numChars_) return;
  numChars_ = numChars;
  if (GetGadgetWindow()) GetGadgetWindow()->GadgetChangedSize(*this);
}

void TTextGadget::GetDesiredSize(TSize& size) {
  TGadget::GetDesiredSize(size);
  const TFont* font = GetFont();
  if (!font) return;
  int left, right, top, bottom;
  GetOuterSizes(left, right, top, bottom);
  // The width comes from the text or the character count, never from the bounds.
  int64_t content = GetShrinkWrapWidth()
                        ? font->GetTextExtent(text_).cx
                        : int64_t(numChars_) * font->GetTextMetrics().tmAveCharWidth;
  size.cx = int(std::min<int64_t>(content + left + right, INT_MAX));
  if (GetShrinkWrapHeight()) size.cy += font->GetHeight();
}

TPoint TTextGadget::TextOrigin(const TRect& inner) const {
  TPoint at = inner.TopLeft();
  const TFont* font = GetFont();
  if (align_ == Left || !font || text_.empty()) return at;
  int width = font->GetTextExtent(text_).cx;
  int room = inner.Width() - width;
  if (room > 0) at.x += align_ == Center ? room / 2 : room;
  return at;
}

void TTextGadget::Paint(TDC& dc) {
  PaintBorder(dc);
  const TBorders& b = GetBorders();
  dc.FillRect({b.Left, b.Top, GetBounds().Width() - b.Right, GetBounds().Height() - b.Bottom},
              kGadgetFaceColor);
  TRect inner;
  GetInnerRect(inner);
  const TFont* font = GetFont();
  if (!font || text_.empty()) return;
  int saved = dc.SaveDC();
  dc.SelectObject(*font);
  dc.SetTextColor(kGadgetTextColor);
  dc.SetBkMode(TRANSPARENT);
  TPoint at = TextOrigin(inner);
  dc.ExtTextOut(at.x, at.y, ETO_CLIPPED, &inner, text_);
  dc.RestoreDC(saved);
}

}  // namespace quill
