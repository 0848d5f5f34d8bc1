#include "quillui/framework/dialogs/dialog.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "quillui/framework/base/diagnostics.h"
#include "quillui/framework/base/module.h"
#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_state_internal.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/clock.h"

namespace quill {

namespace {

// Nobody can click while the clock is virtual, so a modal loop that has only waited on timers
// for this long (virtual time) gives up rather than spin for ever.
constexpr uint64_t kModalGiveUpMs = 5 * 60 * 1000;
// Idle rounds in a row before the loop stops offering idle time and waits.
constexpr long kMaxIdleRounds = 1000;
// A template with more items than this is cut short.
constexpr size_t kMaxDialogItems = 1000;
constexpr int kFrameInset = 2;

int ClampCoord(int64_t v) { return int(std::clamp<int64_t>(v, -32768, 32767)); }

bool IsFramed(uint32_t style) {
  return (style & (WS_CAPTION | WS_DLGFRAME | WS_BORDER | DS_MODALFRAME)) != 0;
}

bool SameClass(const std::string& a, const char* b) {
  size_t n = std::char_traits<char>::length(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return true;
}

TWindow* TopLevelOf(TWindow* w) {
  while (w && !w->IsTopLevel()) w = w->GetParentO();
  return w;
}

// The character after a single '&' in a caption, upper-cased, or 0.
int MnemonicOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return std::toupper(static_cast<unsigned char>(text[i + 1]));
  }
  return 0;
}

}  // namespace

TRect DialogUnitsToPixels(const TRect& units, int aveCharWidth, int charHeight) {
  auto x = [&](int v) { return ClampCoord(int64_t(v) * aveCharWidth / 4); };
  auto y = [&](int v) { return ClampCoord(int64_t(v) * charHeight / 8); };
  return TRect(x(units.left), y(units.top), x(units.right), y(units.bottom));
}

TFont DialogFont(const std::string& face, int pointSize) {
  if (pointSize <= 0 || pointSize > 400) pointSize = 8;
  int pixels = (pointSize * 96 + 36) / 72;  // rounded, as the classic MulDiv
  return TFont(face.empty() ? std::string_view("MS Sans Serif") : std::string_view(face), -pixels);
}

// --- Construction -------------------------------------------------------------------------------

TDialog::TDialog(TWindow* parent, const char* resourceName, TModule* module)
    : TWindow(parent, nullptr, module), resourceName_(resourceName ? resourceName : "") {
  TModule* m = GetModule();
  if (!m) m = TApplication::Current();
  if (m)
    if (const TDialogTemplate* t = m->Resources().FindDialog(resourceName_)) template_ = *t;
  Init(parent);
}

TDialog::TDialog(TWindow* parent, const TDialogTemplate& dialogTemplate, TModule* module)
    : TWindow(parent, nullptr, module),
      resourceName_(dialogTemplate.name),
      template_(dialogTemplate) {
  Init(parent);
}

void TDialog::Init(TWindow* parent) {
  // A dialog comes up when it is created or executed, not with its parent.
  EnableAutoCreate(false);
  Attr.Style = WS_POPUP;
  Attr.ClassStyle = 0;
  SetBkgndColor(TControlColors::Face());
  if (template_) {
    font_ = DialogFont(template_->fontFace, template_->fontPointSize);
    SetCaption(template_->caption.c_str());
  } else {
    font_ = DialogFont("MS Sans Serif", 8);
  }
  metrics_ = font_.GetTextMetrics();
  (void)parent;
}

TDialog::~TDialog() {
  modal_ = false;
  if (IsWindow() && TWindowSystem::IsInstalled()) TWindow::Destroy(IDCANCEL);
}

TRect TDialog::MapDialogRect(const TRect& units) const {
  return DialogUnitsToPixels(units, metrics_.tmAveCharWidth, metrics_.tmHeight);
}

int TDialog::CaptionHeight() const {
  return (Attr.Style & WS_CAPTION) == WS_CAPTION ? metrics_.tmHeight + 6 : 0;
}

TPoint TDialog::ContentOrigin() const {
  int inset = IsFramed(Attr.Style) ? kFrameInset : 0;
  return TPoint(inset, inset + CaptionHeight());
}

bool TDialog::Create() {
  if (IsWindow()) return true;
  if (!template_) {
    ReportDiagnostic("There is no dialog resource \"" + resourceName_ + "\".", "TDialog", __FILE__,
                     __LINE__);
    return false;
  }
  const TDialogTemplate& t = *template_;
  Attr.Style = (t.style | WS_POPUP) & ~(WS_CHILD | WS_VISIBLE | WS_BORDER);
  if (IsFramed(t.style)) Attr.Style |= WS_BORDER;
  if (t.style & WS_VISIBLE) Attr.Style |= WS_VISIBLE;

  // The window: the content in pixels, plus title bar, frame and border.
  TSize content = ContentSize();
  TPoint origin = ContentOrigin();
  int border = (Attr.Style & WS_BORDER) ? 1 : 0;
  int w = std::max(content.cx, 0) + 2 * origin.x + 2 * border;
  int h = std::max(content.cy, 0) + origin.y + origin.x + 2 * border;
  TRect at = MapDialogRect(TRect(t.units.left, t.units.top, t.units.left, t.units.top));
  TPoint pos = at.TopLeft();
  TWindow* owner = GetParentO();
  TRect screen = TWindowSystem::Get().Screen().Bounds();
  if (owner && owner->IsWindow()) pos += owner->ClientOriginOnScreen();
  if (t.style & DS_CENTER) {
    TRect over = owner && owner->IsWindow() ? owner->GetWindowRect() : screen;
    pos = TPoint(over.left + (over.Width() - w) / 2, over.top + (over.Height() - h) / 2);
  }
  // Keep it on the screen where it fits.
  pos.x = std::max(std::min(pos.x, screen.right - w), screen.left);
  pos.y = std::max(std::min(pos.y, screen.bottom - h), screen.top);
  Attr.X = pos.x;
  Attr.Y = pos.y;
  Attr.W = w;
  Attr.H = h;

  if (!built_) {
    built_ = true;
    BuildControls(origin);
  }
  return TWindow::Create();
}

TSize TDialog::ContentSize() const {
  if (!template_) return TSize();
  return MapDialogRect(TRect(0, 0, template_->units.Width(), template_->units.Height())).Size();
}

void TDialog::BuildControls(const TPoint& origin) {
  if (!template_) return;
  size_t count = 0;
  for (const TDialogItemTemplate& item : template_->items) {
    if (++count > kMaxDialogItems) {
      ReportDiagnostic("Dialog \"" + resourceName_ + "\" has too many controls.", "TDialog",
                       __FILE__, __LINE__);
      break;
    }
    TRect px = MapDialogRect(item.units);
    px.Offset(origin.x, origin.y);
    CreateItem(item, px);
  }
}

TWindow* TDialog::CreateItem(const TDialogItemTemplate& item, const TRect& px) {
  TControl* c = nullptr;
  const char* text = item.text.c_str();
  int x = px.left, y = px.top, w = std::max(px.Width(), 0), h = std::max(px.Height(), 0);
  if (SameClass(item.className, "STATIC")) {
    c = new TStatic(this, item.id, text, x, y, w, h, item.style & 0xFF);
  } else if (SameClass(item.className, "BUTTON")) {
    c = new TButton(this, item.id, text, x, y, w, h, (item.style & 0xF) == BS_DEFPUSHBUTTON);
  } else if (SameClass(item.className, "EDIT")) {
    c = new TEdit(this, item.id, text, x, y, w, h);
  } else {
    ReportDiagnostic(
        "Dialog \"" + resourceName_ + "\": unknown control class \"" + item.className + "\".",
        "TDialog", __FILE__, __LINE__);
    return nullptr;
  }
  c->Attr.Style |= item.style & (WS_TABSTOP | WS_GROUP | WS_DISABLED);
  c->SetFont(font_, false);
  return c;
}

void TDialog::SetupWindow() {
  TWindow::SetupWindow();
  TransferData(tdSetData);
  NextTabStop(false);
  if (!FocusedChild()) SetFocus();
}

// --- Running ------------------------------------------------------------------------------------

void TDialog::DescribeQuestion(TModalQuestion& q) const {
  q.kind = TModalKind::Dialog;
  q.resourceName = resourceName_;
  q.caption = GetCaption();
  q.owner = GetParentO() ? GetParentO()->GetHandle() : nullptr;
}

std::vector<TWindow*> TDialog::WindowsToDisable() const {
  TWindow* owner = TopLevelOf(GetParentO());
  if (owner && owner != this && owner->IsWindow()) return {owner};
  return {};
}

int TDialog::Execute() {
  if (modal_) return -1;
  TModalQuestion question;
  DescribeQuestion(question);
  if (std::optional<TModalAnswer> answer = AskAnswerHook(question)) {
    TakeAnswer(*answer);
    return answer->result;
  }

  // Where the keys went before, to give them back when the dialog ends (not to the dialog
  // itself when it was created beforehand).
  TWindowSystem& ws = TWindowSystem::Get();
  auto mine = [this](HWND h) {
    TWindow* w = GetWindowPtr(h);
    return w && TopLevelOf(w) == this;
  };
  prevActive_ = mine(WindowState(ws).active) ? nullptr : WindowState(ws).active;
  prevFocus_ = mine(WindowState(ws).focus) ? nullptr : WindowState(ws).focus;
  if (!Create()) return -1;
  disabled_.clear();
  for (TWindow* w : WindowsToDisable())
    if (w->IsWindow() && w->IsWindowEnabled() && w != this) {
      w->EnableWindow(false);
      disabled_.push_back(w->GetHandle());
    }
  modal_ = true;
  ended_ = false;
  result_ = IDCANCEL;
  ShowWindow(SW_SHOW);
  BringWindowToTop();
  if (!FocusedChild()) NextTabStop(false);
  int result = RunModalLoop();
  FinishModal();
  modal_ = false;
  ended_ = false;
  TWindow::Destroy(result);
  return result;
}

void TDialog::FinishModal() {
  if (disabled_.empty() && !prevActive_ && !prevFocus_ && !IsWindowVisible()) return;
  // At once, not when Execute returns: input already queued behind the closing key or click
  // must reach the windows underneath, not this dialog.
  if (IsWindow()) ShowWindow(SW_HIDE);
  std::vector<HWND> disabled = std::move(disabled_);
  disabled_.clear();
  for (HWND h : disabled)
    if (TWindow* w = GetWindowPtr(h)) w->EnableWindow(true);
  TWindowSystem& ws = TWindowSystem::Get();
  TWindow* self = this;
  auto mine = [&](HWND h) {
    TWindow* w = GetWindowPtr(h);
    return w && TopLevelOf(w) == self;
  };
  if (GetWindowPtr(prevActive_) &&
      (!GetWindowPtr(WindowState(ws).active) || mine(WindowState(ws).active)))
    WindowState(ws).active = prevActive_;
  if (TWindow* f = GetWindowPtr(prevFocus_);
      f && f->IsWindowEnabled() &&
      (!GetWindowPtr(WindowState(ws).focus) || mine(WindowState(ws).focus)))
    f->SetFocus();
  else if (mine(WindowState(ws).focus))
    quill::SetFocus(nullptr);
  prevActive_ = prevFocus_ = nullptr;
}

int TDialog::RunModalLoop() {
  TWindowSystem& ws = TWindowSystem::Get();
  auto* manual = dynamic_cast<platform::ManualClock*>(&ws.Clock());
  TApplication* app = TApplication::Current();
  HWND self = GetHandle();
  uint64_t waited = 0;  // virtual time jumped since input last arrived
  long idleCount = 0;
  while (!ended_) {
    if (!GetWindowPtr(self) || WindowState(ws).quitPosted)
      return IDCANCEL;  // the quit stays for the outer loop
    if (PumpWaitingMessages()) {
      idleCount = 0;
      continue;
    }
    if (ended_) break;
    if (app && idleCount < kMaxIdleRounds && app->IdleAction(idleCount++)) continue;
    if (ws.HasQueued()) continue;
    std::vector<platform::InputEvent> input;
    uint64_t due = ws.NextTimerDue();
    if (manual) {
      ws.Backend().PollInput(0, input);
      if (!input.empty()) {
        waited = 0;
      } else {
        uint64_t now = ws.NowMs();
        uint64_t step = due == UINT64_MAX ? UINT64_MAX : (due > now ? due - now : 0);
        if (step == UINT64_MAX || waited + step > kModalGiveUpMs) {
          ReportDiagnostic("Nothing can answer the dialog \"" +
                               (resourceName_.empty() ? GetCaption() : resourceName_) +
                               "\"; it was cancelled.",
                           "Modal dialog", __FILE__, __LINE__);
          return IDCANCEL;
        }
        waited += step;
        manual->Set(due);
      }
    } else {
      uint64_t now = ws.NowMs();
      int timeout = -1;
      if (due != UINT64_MAX)
        timeout = due <= now ? 0 : int(std::min<uint64_t>(due - now, 1u << 30));
      ws.Backend().PollInput(timeout, input);
    }
    for (const platform::InputEvent& e : input) ws.PostInput(e);
  }
  return result_;
}

void TDialog::CloseWindow(int retVal) {
  if (!CanClose()) return;
  TransferData(tdGetData);
  Destroy(retVal);
}

void TDialog::Destroy(int retVal) {
  if (modal_) {
    // The first end wins; the window goes when Execute returns.
    if (ended_) return;
    ended_ = true;
    result_ = retVal;
    FinishModal();
    return;
  }
  TWindow::Destroy(retVal);
}

LRESULT TDialog::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (GetResponseTable().Find(TResponseEntry::Kind::Command, id))
    return TWindow::EvCommand(id, control, notifyCode);
  if (notifyCode == BN_CLICKED) {
    if (id == UINT(IDOK)) {
      CloseWindow(IDOK);
      return 0;
    }
    if (id == UINT(IDCANCEL)) {
      Destroy(IDCANCEL);
      return 0;
    }
    // Any other push button of a modal dialog ends it with its id, unless a handler took it.
    if (modal_ && control && dynamic_cast<TButton*>(GetWindowPtr(control))) {
      EndDialog(int(id));
      return 0;
    }
  }
  return TWindow::EvCommand(id, control, notifyCode);
}

void TDialog::EvClose() { SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(IDCANCEL), BN_CLICKED), 0); }

void TDialog::EvSetFocus(HWND) {
  // The dialog passes the focus on to its first control, as classic dialogs do.
  NextTabStop(false);
}

// --- Controls and keys --------------------------------------------------------------------------

std::string TDialog::GetDlgItemText(int id) const {
  TWindow* w = GetDlgItem(id);
  return w ? w->GetCaption() : std::string();
}

void TDialog::SetDlgItemText(int id, const std::string& text) {
  if (TWindow* w = GetDlgItem(id))
    w->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

TButton* TDialog::DefaultButton() const {
  TButton* ok = nullptr;
  for (TWindow* c : GetChildren())
    if (auto* b = dynamic_cast<TButton*>(c)) {
      if (b->IsDefault()) return b;
      if (b->GetId() == IDOK && !ok) ok = b;
    }
  return ok;
}

TWindow* TDialog::FocusedChild() const {
  TWindow* f = GetWindowPtr(GetFocus());
  for (TWindow* c : GetChildren())
    if (c == f) return c;
  return nullptr;
}

void TDialog::NextTabStop(bool backwards) {
  std::vector<TWindow*> stops;
  for (TWindow* c : GetChildren())
    if (c->IsWindow() && !c->IsTopLevel() && (c->GetStyle() & WS_TABSTOP) && c->IsWindowEnabled() &&
        (c->GetStyle() & WS_VISIBLE))
      stops.push_back(c);
  if (stops.empty()) return;
  TWindow* current = FocusedChild();
  auto it = std::find(stops.begin(), stops.end(), current);
  size_t next = 0;
  if (it == stops.end()) {
    next = backwards ? stops.size() - 1 : 0;
  } else {
    size_t i = size_t(it - stops.begin());
    next = backwards ? (i + stops.size() - 1) % stops.size() : (i + 1) % stops.size();
  }
  stops[next]->SetFocus();
}

bool TDialog::PressMnemonic(UINT key) {
  for (TWindow* c : GetChildren())
    if (auto* b = dynamic_cast<TButton*>(c))
      if (b->IsWindow() && b->IsWindowEnabled() && MnemonicOf(b->GetCaption()) == int(key)) {
        b->SetFocus();
        b->Click();
        return true;
      }
  return false;
}

bool TDialog::PreProcessMsg(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR) return false;
  TWindow* target = GetWindowPtr(msg.hwnd);
  // Only keys for this dialog or its own controls, not for a box it owns.
  if (!target || TopLevelOf(target) != this || !IsWindowEnabled()) return false;
  UINT code = UINT(target->SendMessage(WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
  if (code & DLGC_WANTMESSAGE) return false;
  UINT key = UINT(msg.wParam);
  if (msg.message == WM_CHAR) {
    // The characters of Tab, Enter and Escape were handled as keys.
    return key == '\t' || key == '\r' || key == 0x1B;
  }
  switch (key) {
    case VK_TAB:
      if (code & DLGC_WANTTAB) return false;
      NextTabStop(GetKeyState(int(VK_SHIFT)) < 0);
      return true;
    case VK_RETURN: {
      auto* focused = dynamic_cast<TButton*>(FocusedChild());
      TButton* b = focused ? focused : DefaultButton();
      if (b) {
        if (b->IsWindowEnabled()) b->Click();
      } else {
        SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(IDOK), BN_CLICKED), 0);
      }
      return true;
    }
    case VK_ESCAPE:
      SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(IDCANCEL), BN_CLICKED), 0);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (code & DLGC_WANTARROWS) return false;
      NextTabStop(key == VK_LEFT || key == VK_UP);
      return true;
    default:
      if (code & DLGC_WANTCHARS) return false;
      if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return PressMnemonic(key);
      return false;
  }
}

void TDialog::Paint(TDC& dc, bool, TRect&) {
  TRect r = GetClientRect();
  if (IsFramed(Attr.Style)) {
    DrawBevel(dc, r, TControlColors::Highlight(), TControlColors::Shadow());
    DrawBevel(dc, r.InflatedBy(-1, -1), TControlColors::Face(), TControlColors::Face());
  }
  int ch = CaptionHeight();
  if (ch > 0) {
    TPoint o = ContentOrigin();
    TRect bar(o.x, o.x, r.right - o.x, o.x + ch);
    dc.FillRect(bar, TControlColors::Selection());
    TLogFont lf = font_.GetLogFont();
    lf.lfWeight = FW_BOLD;
    dc.SelectObject(TFont(lf));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(TControlColors::SelectionText());
    TRect text = bar.InflatedBy(-3, 0);
    dc.DrawText(GetCaption(), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

}  // namespace quill
