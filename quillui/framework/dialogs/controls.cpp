#include "quillui/framework/dialogs/controls.h"

#include <algorithm>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

void DrawBevel(TDC& dc, const TRect& r, TColor topLeft, TColor bottomRight) {
  if (r.IsEmpty()) return;
  dc.FillRect(TRect(r.left, r.top, r.right, r.top + 1), topLeft);
  dc.FillRect(TRect(r.left, r.top, r.left + 1, r.bottom), topLeft);
  dc.FillRect(TRect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
  dc.FillRect(TRect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
}

void DrawFocusRect(TDC& dc, const TRect& r) {
  if (r.IsEmpty()) return;
  // Every other pixel, counted round the rectangle so the dots stay even at the corners.
  TColor c = TControlColors::Text();
  for (int x = r.left; x < r.right; x += 2) {
    dc.SetPixel(x, r.top, c);
    dc.SetPixel(x, r.bottom - 1, c);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    dc.SetPixel(r.left, y, c);
    dc.SetPixel(r.right - 1, y, c);
  }
}

// --- TControl -----------------------------------------------------------------------------------

TControl::TControl(TWindow* parent, int id, const char* text, int x, int y, int w, int h)
    : TWindow(parent, text) {
  Attr.Style = WS_CHILD | WS_VISIBLE;
  Attr.Id = id;
  Attr.X = x;
  Attr.Y = y;
  Attr.W = w;
  Attr.H = h;
}

void TControl::SetFont(const TFont& font, bool redraw) {
  font_ = font;
  if (redraw && IsWindow()) Invalidate();
}

const TFont& TControl::GetFont() const { return font_ ? *font_ : SystemFont(); }

void TControl::SetText(const std::string& text) {
  SetCaption(text.c_str());
  if (IsWindow()) Invalidate();
}

void TControl::Notify(UINT code) {
  TWindow* parent = GetParentO();
  if (!parent) return;
  parent->SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(GetId()), uint16_t(code)),
                      reinterpret_cast<LPARAM>(GetHandle()));
}

LRESULT TControl::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETTEXT: SetText(lp ? reinterpret_cast<const char*>(lp) : ""); return 1;
    case WM_SETFONT:
      if (wp) SetFont(*reinterpret_cast<const TFont*>(wp), lp != 0);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(&GetFont());
    case WM_ENABLE: Invalidate(); return 0;
    default: return TWindow::DefWindowProc(msg, wp, lp);
  }
}

// --- TStatic ------------------------------------------------------------------------------------

TStatic::TStatic(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
                 uint32_t style)
    : TControl(parent, id, text, x, y, w, h) {
  Attr.Style |= style;
  SetBkgndColor(TControlColors::Face());
}

void TStatic::Paint(TDC& dc, bool, TRect&) {
  TRect r = GetClientRect();
  unsigned format = DT_WORDBREAK;
  switch (Attr.Style & 0x3) {
    case SS_CENTER: format |= DT_CENTER; break;
    case SS_RIGHT: format |= DT_RIGHT; break;
    default: break;
  }
  if (Attr.Style & SS_NOPREFIX) format |= DT_NOPREFIX;
  dc.SelectObject(GetFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(IsWindowEnabled() ? TControlColors::Text() : TControlColors::GrayText());
  dc.DrawText(GetCaption(), r, format);
}

UINT TStatic::EvGetDlgCode(const MSG*) { return DLGC_STATIC; }

// Clicks on a label go to what lies beneath it, as they do on classic dialogs.
UINT TStatic::EvNCHitTest(const TPoint&) { return UINT(HTTRANSPARENT); }

// --- TButton ------------------------------------------------------------------------------------

TButton::TButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
                 bool isDefault)
    : TControl(parent, id, text, x, y, w, h) {
  Attr.Style |= WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  SetBkgndColor(TControlColors::Face());
}

void TButton::SetDefault(bool isDefault) {
  uint32_t style = (Attr.Style & ~uint32_t(0xF)) | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  if (style == Attr.Style) return;
  Attr.Style = style;
  if (IsWindow()) Invalidate();
}

void TButton::Paint(TDC& dc, bool, TRect&) {
  TRect r = GetClientRect();
  if (r.IsEmpty()) return;
  dc.FillRect(r, TControlColors::Face());
  if (IsDefault()) {
    DrawBevel(dc, r, TControlColors::DarkShadow(), TControlColors::DarkShadow());
    r.Inflate(-1, -1);
  }
  if (pressed_) {
    DrawBevel(dc, r, TControlColors::Shadow(), TControlColors::Shadow());
  } else {
    DrawBevel(dc, r, TControlColors::Highlight(), TControlColors::DarkShadow());
    DrawBevel(dc, r.InflatedBy(-1, -1), TControlColors::Face(), TControlColors::Shadow());
  }
  TRect text = r.InflatedBy(-2, -2);
  if (pressed_) text.Offset(1, 1);
  dc.SelectObject(GetFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(IsWindowEnabled() ? TControlColors::Text() : TControlColors::GrayText());
  dc.DrawText(GetCaption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (GetFocus() == GetHandle()) DrawFocusRect(dc, r.InflatedBy(-3, -3));
}

UINT TButton::EvGetDlgCode(const MSG*) {
  return DLGC_BUTTON | (IsDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TButton::SetPressed(bool pressed) {
  if (pressed_ == pressed) return;
  pressed_ = pressed;
  Invalidate();
}

void TButton::EvLButtonDown(UINT, const TPoint&) {
  if (!IsWindowEnabled()) return;
  SetFocus();
  SetCapture();
  tracking_ = true;
  SetPressed(true);
}

// A quick second click is a click of its own.
void TButton::EvLButtonDblClk(UINT modKeys, const TPoint& point) { EvLButtonDown(modKeys, point); }

void TButton::EvMouseMove(UINT, const TPoint& point) {
  if (tracking_) SetPressed(GetClientRect().Contains(point));
}

void TButton::EvLButtonUp(UINT, const TPoint& point) {
  if (!tracking_) return;
  tracking_ = false;
  bool inside = GetClientRect().Contains(point);
  SetPressed(false);
  ReleaseCapture();
  if (inside) Click();
}

void TButton::EvCaptureChanged(HWND newCapture) {
  if (tracking_ && newCapture != GetHandle()) {
    tracking_ = false;
    SetPressed(false);
  }
}

void TButton::EvKeyDown(UINT key, UINT, UINT flags) {
  if (key == VK_SPACE && !(flags & 0x4000)) {
    spaceDown_ = true;
    SetPressed(true);
  }
}

void TButton::EvKeyUp(UINT key, UINT, UINT) {
  if (key != VK_SPACE || !spaceDown_) return;
  spaceDown_ = false;
  SetPressed(false);
  Click();
}

void TButton::EvSetFocus(HWND) { Invalidate(); }

void TButton::EvKillFocus(HWND) {
  spaceDown_ = false;
  if (!tracking_) SetPressed(false);
  Invalidate();
}

// --- TEdit --------------------------------------------------------------------------------------

namespace {
constexpr int kEditMargin = 3;  // bevel (2) and one pixel of air
}  // namespace

TEdit::TEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
             size_t textLimit)
    : TControl(parent, id, nullptr, x, y, w, h), limit_(std::max<size_t>(textLimit, 1)) {
  Attr.Style |= WS_TABSTOP | ES_AUTOHSCROLL;
  SetBkgndColor(TControlColors::Window());
  std::string initial = text ? text : "";
  if (initial.size() > limit_) initial.resize(limit_);
  SetCaption(initial.c_str());
  caret_ = anchor_ = initial.size();
}

void TEdit::SetText(const std::string& text) {
  std::string t = text.size() > limit_ ? text.substr(0, limit_) : text;
  SetCaption(t.c_str());
  caret_ = anchor_ = t.size();
  scroll_ = 0;
  if (IsWindow()) Invalidate();
  Notify(EN_CHANGE);
}

void TEdit::SetSelection(size_t start, size_t end) {
  size_t n = GetCaption().size();
  anchor_ = std::min(start, n);
  caret_ = std::min(end, n);
  if (IsWindow()) Invalidate();
}

void TEdit::GetSelection(size_t& start, size_t& end) const {
  start = std::min(anchor_, caret_);
  end = std::max(anchor_, caret_);
}

TRect TEdit::TextRect() const { return GetClientRect().InflatedBy(-kEditMargin, -kEditMargin); }

void TEdit::Paint(TDC& dc, bool, TRect&) {
  TRect r = GetClientRect();
  if (r.IsEmpty()) return;
  dc.FillRect(r, IsWindowEnabled() ? TControlColors::Window() : TControlColors::Face());
  DrawBevel(dc, r, TControlColors::Shadow(), TControlColors::Highlight());
  DrawBevel(dc, r.InflatedBy(-1, -1), TControlColors::DarkShadow(), TControlColors::Face());

  const std::string& text = GetCaption();
  const TFont& font = GetFont();
  TRect tr = TextRect();
  dc.SelectObject(font);
  dc.IntersectClipRect(tr);
  dc.SetBkMode(TRANSPARENT);
  int lineH = font.GetHeight();
  int y = tr.top + (tr.Height() - lineH) / 2;
  int x0 = tr.left - scroll_;
  bool focused = GetFocus() == GetHandle();
  size_t s = 0, e = 0;
  GetSelection(s, e);
  if (!focused) s = e = 0;  // the selection only shows while the field has the focus
  auto width = [&](size_t n) { return font.GetTextExtent(std::string_view(text).substr(0, n)).cx; };
  dc.SetTextColor(IsWindowEnabled() ? TControlColors::Text() : TControlColors::GrayText());
  dc.TextOut(x0, y, text);
  if (s < e) {
    TRect sel(x0 + width(s), y, x0 + width(e), y + lineH);
    dc.FillRect(sel, TControlColors::Selection());
    dc.SetTextColor(TControlColors::SelectionText());
    dc.TextOut(sel.left, y, std::string_view(text).substr(s, e - s));
  }
  if (focused) {
    int cx = x0 + width(caret_);
    dc.FillRect(TRect(cx, y, cx + 1, y + lineH), TControlColors::Text());
  }
}

UINT TEdit::EvGetDlgCode(const MSG*) { return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL; }

void TEdit::ReplaceSelection(const std::string& with) {
  std::string text = GetCaption();
  size_t s = 0, e = 0;
  GetSelection(s, e);
  std::string insert = with;
  size_t room = limit_ - std::min(limit_, text.size() - (e - s));
  if (insert.size() > room) insert.resize(room);
  if (s == e && insert.empty()) return;
  text.replace(s, e - s, insert);
  SetCaption(text.c_str());
  caret_ = anchor_ = s + insert.size();
  MoveCaret(caret_, false);
  Notify(EN_CHANGE);
}

void TEdit::MoveCaret(size_t pos, bool extend) {
  size_t n = GetCaption().size();
  caret_ = std::min(pos, n);
  if (!extend) anchor_ = caret_;
  // Keep the caret inside the visible text area.
  const TFont& font = GetFont();
  int cx = font.GetTextExtent(std::string_view(GetCaption()).substr(0, caret_)).cx;
  int visible = std::max(TextRect().Width() - 1, 1);
  if (cx - scroll_ > visible) scroll_ = cx - visible;
  if (cx < scroll_) scroll_ = std::max(cx - visible / 3, 0);
  if (IsWindow()) Invalidate();
}

void TEdit::EvChar(UINT key, UINT, UINT) {
  if (!IsWindowEnabled()) return;
  if (key == VK_BACK) {
    size_t s = 0, e = 0;
    GetSelection(s, e);
    if (s == e && s > 0) anchor_ = s - 1;
    ReplaceSelection("");
    return;
  }
  if (key < 0x20 || key == 0x7F || key > 0xFF) return;  // control characters are keys, not text
  ReplaceSelection(std::string(1, char(key)));
}

void TEdit::EvKeyDown(UINT key, UINT, UINT) {
  bool shift = GetKeyState(int(VK_SHIFT)) < 0;
  size_t n = GetCaption().size();
  switch (key) {
    case VK_LEFT: MoveCaret(caret_ > 0 ? caret_ - 1 : 0, shift); break;
    case VK_RIGHT: MoveCaret(caret_ + 1, shift); break;
    case VK_HOME: MoveCaret(0, shift); break;
    case VK_END: MoveCaret(n, shift); break;
    case VK_DELETE: {
      size_t s = 0, e = 0;
      GetSelection(s, e);
      if (s == e && e < n) caret_ = e + 1;
      ReplaceSelection("");
      break;
    }
    default: break;
  }
}

size_t TEdit::HitTest(int x) const {
  const std::string& text = GetCaption();
  const TFont& font = GetFont();
  int target = x - TextRect().left + scroll_;
  int prev = 0;
  for (size_t i = 1; i <= text.size(); ++i) {
    int w = font.GetTextExtent(std::string_view(text).substr(0, i)).cx;
    if (target < (prev + w) / 2 + (prev + w) % 2) return i - 1;
    prev = w;
  }
  return text.size();
}

void TEdit::EvLButtonDown(UINT modKeys, const TPoint& point) {
  if (!IsWindowEnabled()) return;
  bool hadFocus = GetFocus() == GetHandle();
  if (!hadFocus) SetFocus();
  MoveCaret(HitTest(point.x), (modKeys & MK_SHIFT) != 0);
}

void TEdit::EvSetFocus(HWND) {
  // Focus that arrives by keyboard selects everything, so typing replaces the old name.
  if (GetKeyState(int(VK_LBUTTON)) >= 0) {
    anchor_ = 0;
    caret_ = GetCaption().size();
    MoveCaret(caret_, true);
  }
  Invalidate();
}

void TEdit::EvKillFocus(HWND) { Invalidate(); }

void TEdit::EvSize(UINT sizeType, const TSize& size) {
  TControl::EvSize(sizeType, size);
  scroll_ = 0;
  MoveCaret(caret_, true);
}

}  // namespace quill
