#include "quillui/framework/dialogs/message_box.h"

#include <algorithm>
#include <cmath>

#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {

constexpr int kIconSize = 32;
// Texts longer than this are cut: a box is for a sentence or two, and the layout measures
// every byte.
constexpr size_t kMaxTextBytes = 8192;
constexpr unsigned kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

TDialogTemplate BoxTemplate(const char* caption) {
  TDialogTemplate t;
  t.caption = caption ? caption : "Error";
  t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER;
  return t;
}

const char* ButtonText(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    default: return "";
  }
}

// A filled disc of radius r centred in box, row by row.
void FillDisc(TDC& dc, const TRect& box, int r, TColor c) {
  int cx2 = box.left * 2 + box.Width();  // twice the centre, so odd sizes centre exactly
  int cy2 = box.top * 2 + box.Height();
  for (int y = -r; y < r; ++y) {
    double dy = y + 0.5;
    int half = int(std::lround(std::sqrt(std::max(0.0, double(r) * r - dy * dy))));
    int top = (cy2 / 2) + y;
    dc.FillRect(TRect(cx2 / 2 - half, top, cx2 / 2 + half + (cx2 & 1), top + 1), c);
  }
}

void CentredGlyph(TDC& dc, const TRect& box, const char* glyph, TColor c, const TFont& base) {
  TLogFont lf = base.GetLogFont();
  lf.lfHeight = -(box.Height() * 3 / 4);
  lf.lfWeight = FW_BOLD;
  dc.SelectObject(TFont(lf));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(c);
  TRect r = box;
  dc.DrawText(glyph, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  TMessageBox box(GetWindowPtr(owner), text, caption, type);
  return box.Execute();
}

int MessageBoxExA(HWND owner, const char* text, const char* caption, UINT type,
                  uint16_t languageId) {
  (void)languageId;
  return MessageBox(owner, text, caption, type);
}

TMessageBox::TMessageBox(TWindow* owner, const char* text, const char* caption, UINT type)
    : TDialog(owner, BoxTemplate(caption)), text_(text ? text : ""), type_(type) {
  if (text_.size() > kMaxTextBytes) text_.resize(kMaxTextBytes);
}

std::vector<int> TMessageBox::ButtonIds(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

TMessageBox::Layout TMessageBox::ComputeLayout() const {
  const TFont& font = GetDialogFont();
  TTextMetric tm = font.GetTextMetrics();
  int aw = std::max(tm.tmAveCharWidth, 1);
  int fh = std::max(tm.tmHeight, 1);
  int margin = 2 * aw + 2;
  bool icon = (type_ & MB_ICONMASK) != 0;

  Layout l;
  int screenW = TWindowSystem::Get().Screen().Width();
  int maxText = std::max(screenW / 2, 40 * aw);
  TTextLayout text = LayoutText(
      text_, TRect(0, 0, maxText, 1 << 20), kTextFormat,
      [&](std::string_view s) { return font.GetTextExtent(s).cx; }, fh, aw);
  int textW = std::max(text.width, 1);
  int textH = std::max(text.height, fh);

  std::vector<int> ids = ButtonIds(type_);
  l.buttonW = std::max(50 * aw / 4, 0);
  for (int id : ids) {
    TTextLayout b = LayoutText(
        ButtonText(id), TRect(0, 0, 1 << 20, fh), DT_SINGLELINE,
        [&](std::string_view s) { return font.GetTextExtent(s).cx; }, fh, aw);
    l.buttonW = std::max(l.buttonW, b.width + 2 * aw);
  }
  l.buttonH = 14 * fh / 8;
  l.buttonGap = aw + 2;
  int rowW = int(ids.size()) * l.buttonW + int(ids.size() - 1) * l.buttonGap;

  int x = margin;
  int bodyH = textH;
  if (icon) {
    l.icon = TRect(margin, margin, margin + kIconSize, margin + kIconSize);
    x = l.icon.right + margin;
    bodyH = std::max(bodyH, kIconSize);
  }
  int textTop = margin + (icon && textH < kIconSize ? (kIconSize - textH) / 2 : 0);
  l.text = TRect(x, textTop, x + textW, textTop + textH);
  TLogFont bold = font.GetLogFont();
  bold.lfWeight = FW_BOLD;
  int captionW = TFont(bold).GetTextExtent(GetCaption()).cx + 2 * margin;
  l.content.cx = std::max({l.text.right + margin, rowW + 2 * margin, captionW});
  l.buttonsTop = margin + bodyH + margin;
  l.content.cy = l.buttonsTop + l.buttonH + margin;
  return l;
}

TSize TMessageBox::ContentSize() const { return ComputeLayout().content; }

void TMessageBox::BuildControls(const TPoint& origin) {
  Layout l = ComputeLayout();
  iconRect_ = l.icon.IsEmpty() ? TRect() : l.icon.OffsetBy(origin.x, origin.y);
  textRect_ = l.text.OffsetBy(origin.x, origin.y);
  std::vector<int> ids = ButtonIds(type_);
  int rowW = int(ids.size()) * l.buttonW + int(ids.size() - 1) * l.buttonGap;
  int x = origin.x + (l.content.cx - rowW) / 2;
  size_t def = std::min<size_t>((type_ & MB_DEFMASK) >> 8, ids.size() - 1);
  for (size_t i = 0; i < ids.size(); ++i) {
    auto* b = new TButton(this, ids[i], ButtonText(ids[i]), x, origin.y + l.buttonsTop, l.buttonW,
                          l.buttonH, i == def);
    b->SetFont(GetDialogFont(), false);
    x += l.buttonW + l.buttonGap;
  }
}

void TMessageBox::SetupWindow() {
  TDialog::SetupWindow();
  // The default button starts with the focus, so Enter and Space both choose it.
  if (TButton* b = DefaultButton()) b->SetFocus();
}

void TMessageBox::DescribeQuestion(TModalQuestion& q) const {
  TDialog::DescribeQuestion(q);
  q.kind = TModalKind::MessageBox;
  q.resourceName.clear();
  q.text = text_;
  q.type = type_;
}

std::vector<TWindow*> TMessageBox::WindowsToDisable() const {
  if (!(type_ & (MB_TASKMODAL | MB_SYSTEMMODAL))) return TDialog::WindowsToDisable();
  std::vector<TWindow*> all;
  for (TWindow* w : TWindowSystem::Get().Desktop().GetZOrder())
    if (w != this && w->IsWindow()) all.push_back(w);
  return all;
}

LRESULT TMessageBox::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (notifyCode != BN_CLICKED) return TDialog::EvCommand(id, control, notifyCode);
  std::vector<int> ids = ButtonIds(type_);
  if (std::find(ids.begin(), ids.end(), int(id)) != ids.end()) {
    EndDialog(int(id));
  } else if (id == UINT(IDCANCEL) && ids.size() == 1) {
    // Escape on a box with a lone OK button answers OK; on Yes/No boxes it does nothing.
    EndDialog(ids.front());
  }
  return 0;
}

void TMessageBox::Paint(TDC& dc, bool erase, TRect& rect) {
  TDialog::Paint(dc, erase, rect);
  if (!iconRect_.IsEmpty()) DrawIcon(dc, iconRect_);
  dc.SelectObject(GetDialogFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(TControlColors::Text());
  TRect r = textRect_;
  dc.DrawText(text_, r, kTextFormat);
}

void TMessageBox::DrawIcon(TDC& dc, const TRect& r) const {
  const TFont& font = GetDialogFont();
  switch (type_ & MB_ICONMASK) {
    case MB_ICONSTOP: {
      FillDisc(dc, r, kIconSize / 2, TColor::Black);
      FillDisc(dc, r, kIconSize / 2 - 1, TColor(255, 0, 0));
      // A white cross, three pixels thick.
      for (int i = 9; i < kIconSize - 9; ++i)
        for (int t = -1; t <= 1; ++t) {
          dc.FillRect(TRect(r.left + i + t, r.top + i, r.left + i + t + 1, r.top + i + 1),
                      TColor::White);
          int x = r.right - 1 - i + t;
          dc.FillRect(TRect(x, r.top + i, x + 1, r.top + i + 1), TColor::White);
        }
      break;
    }
    case MB_ICONEXCLAMATION: {
      // A yellow triangle with a black edge, point up.
      for (int y = 0; y < kIconSize; ++y) {
        int half = (y + 2) / 2;
        int mid = r.left + kIconSize / 2;
        dc.FillRect(TRect(mid - half, r.top + y, mid + half, r.top + y + 1), TColor::Black);
        if (y > 1 && y < kIconSize - 1 && half > 1)
          dc.FillRect(TRect(mid - half + 1, r.top + y, mid + half - 1, r.top + y + 1),
                      TColor(255, 255, 0));
      }
      CentredGlyph(dc, r.OffsetBy(0, 3), "!", TColor::Black, font);
      break;
    }
    case MB_ICONQUESTION:
      FillDisc(dc, r, kIconSize / 2, TColor::Black);
      FillDisc(dc, r, kIconSize / 2 - 1, TColor::White);
      CentredGlyph(dc, r, "?", TColor(0, 0, 255), font);
      break;
    default:  // information and any other icon bits
      FillDisc(dc, r, kIconSize / 2, TColor::Black);
      FillDisc(dc, r, kIconSize / 2 - 1, TColor::White);
      CentredGlyph(dc, r, "i", TColor(0, 0, 255), font);
      break;
  }
}

// The message boxes of windows and of the application are the dialogs' own: they live here
// so that windows need nothing of dialogs.
int TWindow::MessageBox(const char* text, const char* caption, UINT type) {
  return quill::MessageBox(GetHandle(), text, caption, type);
}

int TApplication::MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  if (!owner && mainWindow_) owner = mainWindow_->GetHandle();
  return quill::MessageBox(owner, text, caption, type);
}

}  // namespace quill
