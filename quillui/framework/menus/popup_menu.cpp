#include "quillui/framework/menus/popup_menu.h"

#include <algorithm>
#include <optional>
#include <string>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/input_router.h"
#include "quillui/framework/window/paint_pass.h"
#include "quillui/framework/window/window_state_internal.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {

constexpr int kFrame = 2;         // raised frame lines on each side
constexpr int kCheckColumn = 16;  // left of the text: the check mark
constexpr int kArrowColumn = 16;  // right of the text: the submenu arrow
constexpr int kAccelGap = 12;     // between the text and a right-hand part after a tab
constexpr TColor kMenuColor = TColor::LtGray;
constexpr TColor kHiliteColor{RGB(0, 0, 128)};

// The classic 7 x 7 check mark and 4 x 7 arrow, drawn in the text colour.
constexpr const char* kCheckShape[7] = {"......#", ".....##", "#...###", "##.###.",
                                        "#####..", ".###...", "..#...."};
constexpr const char* kArrowShape[7] = {"#...", "##..", "###.", "####", "###.", "##..", "#..."};

TPopupMenuIdleHook& IdleHook() {
  static TPopupMenuIdleHook hook;
  return hook;
}

const TFont& MenuFont() { return SystemFont(); }

// Text height of the menu font; items are two pixels taller, separators nine pixels shorter,
// which keeps the height callers estimate from "fg" right.
int TextHeight() { return MenuFont().GetTextExtent("fg").cy; }

void DrawShape(TDC& dc, const char* const* rows, int count, int x, int y, TColor color) {
  for (int r = 0; r < count; ++r)
    for (int c = 0; rows[r][c]; ++c)
      if (rows[r][c] == '#') dc.SetPixel(x + c, y + r, color);
}

void Line(TDC& dc, int x0, int y0, int x1, int y1, TColor color) {
  TPen old = dc.SelectObject(TPen(color));
  dc.MoveTo(x0, y0);
  dc.LineTo(x1, y1);
  dc.SelectObject(old);
}

struct ItemInfo {
  UINT state = 0;
  std::string text;   // before a tab
  std::string accel;  // after a tab, right-aligned
  bool popup = false;
  bool separator = false;
  bool grayed = false;
};

ItemInfo Info(HMENU menu, int index) {
  ItemInfo info;
  info.state = GetMenuState(menu, UINT(index), MF_BYPOSITION);
  info.popup = GetSubMenu(menu, index) != nullptr;
  info.separator = !info.popup && (info.state & MF_SEPARATOR);
  info.grayed = (info.state & (MF_GRAYED | MF_DISABLED)) != 0;
  std::string text;
  TMenu(menu).GetMenuString(UINT(index), text, MF_BYPOSITION);
  size_t tab = text.find('\t');
  info.text = text.substr(0, tab);
  if (tab != std::string::npos) info.accel = text.substr(tab + 1);
  return info;
}

}  // namespace

TPopupMenuIdleHook SetPopupMenuIdleHook(TPopupMenuIdleHook hook) {
  TPopupMenuIdleHook previous = std::move(IdleHook());
  IdleHook() = std::move(hook);
  return previous;
}

TPopupMenu::TPopupMenu(TAutoDelete autoDelete) : TMenu(CreatePopupMenu(), autoDelete) {}
TPopupMenu::TPopupMenu(HMENU handle, TAutoDelete autoDelete) : TMenu(handle, autoDelete) {}

// --- TPopupMenuWindow ---------------------------------------------------------------------------

TPopupMenuWindow::TPopupMenuWindow(HMENU menu) : TWindow(nullptr, "menu"), menu_(menu) {
  Attr.Style = WS_POPUP;
}

TSize TPopupMenuWindow::Layout() {
  TScreenDC dc;
  dc.SelectObject(MenuFont());
  int h = TextHeight();
  int textW = 0, accelW = 0, y = kFrame;
  items_.clear();
  int count = std::max(GetMenuItemCount(menu_), 0);
  for (int i = 0; i < count; ++i) {
    ItemInfo info = Info(menu_, i);
    int itemH = info.separator ? std::max(h - 9, 3) : h + 2;
    if (!info.separator) {
      TRect r;
      dc.DrawText(info.text, r, DT_SINGLELINE | DT_CALCRECT);
      textW = std::max(textW, r.Width());
      if (!info.accel.empty()) {
        TRect a;
        dc.DrawText(info.accel, a, DT_SINGLELINE | DT_CALCRECT);
        accelW = std::max(accelW, a.Width());
      }
    }
    items_.push_back(TRect(kFrame, y, 0, y + itemH));
    y += itemH;
  }
  textColumn_ = kFrame + kCheckColumn;
  int width = textColumn_ + textW + (accelW ? kAccelGap + accelW : 0) + kArrowColumn + kFrame;
  width = std::max(width, 48);
  for (TRect& r : items_) r.right = width - kFrame;
  return TSize(width, y + kFrame);
}

TRect TPopupMenuWindow::ItemRect(int index) const {
  return index >= 0 && index < ItemCount() ? items_[size_t(index)] : TRect();
}

int TPopupMenuWindow::ItemAt(const TPoint& client) const {
  for (int i = 0; i < ItemCount(); ++i)
    if (items_[size_t(i)].Contains(client)) return i;
  return -1;
}

void TPopupMenuWindow::SetHilite(int index) {
  if (index == hilite_) return;
  if (hilite_ >= 0) InvalidateRect(ItemRect(hilite_), false);
  hilite_ = index;
  if (hilite_ >= 0) InvalidateRect(ItemRect(hilite_), false);
}

void TPopupMenuWindow::Paint(TDC& dc, bool, TRect&) {
  TRect client = GetClientRect();
  int w = client.Width(), h = client.Height();
  dc.FillRect(client, kMenuColor);
  // Raised frame: light outer top-left, black outer bottom-right, white and gray inside.
  Line(dc, 0, h - 1, w - 1, h - 1, TColor::Black);
  Line(dc, w - 1, 0, w - 1, h, TColor::Black);
  Line(dc, 1, 1, w - 2, 1, TColor::White);
  Line(dc, 1, 1, 1, h - 2, TColor::White);
  Line(dc, 1, h - 2, w - 2, h - 2, TColor::Gray);
  Line(dc, w - 2, 1, w - 2, h - 1, TColor::Gray);

  dc.SelectObject(MenuFont());
  dc.SetBkMode(TRANSPARENT);
  for (int i = 0; i < ItemCount(); ++i) {
    const TRect& r = items_[size_t(i)];
    ItemInfo info = Info(menu_, i);
    if (info.separator) {
      int y = r.top + r.Height() / 2 - 1;
      Line(dc, r.left + 1, y, r.right - 1, y, TColor::Gray);
      Line(dc, r.left + 1, y + 1, r.right - 1, y + 1, TColor::White);
      continue;
    }
    bool lit = i == hilite_;
    if (lit) dc.FillRect(r, kHiliteColor);
    TColor ink = info.grayed ? TColor::Gray : lit ? TColor::White : TColor::Black;
    if (info.state & MF_CHECKED)
      DrawShape(dc, kCheckShape, 7, r.left + (kCheckColumn - 7) / 2, r.top + (r.Height() - 7) / 2,
                ink);
    if (info.popup)
      DrawShape(dc, kArrowShape, 7, r.right - kArrowColumn + 6, r.top + (r.Height() - 7) / 2, ink);
    dc.SetTextColor(ink);
    TRect textRect(textColumn_, r.top, r.right - kArrowColumn, r.bottom);
    dc.DrawText(info.text, textRect, DT_SINGLELINE | DT_VCENTER);
    if (!info.accel.empty())
      dc.DrawText(info.accel, textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

// --- TPopupMenuTracker --------------------------------------------------------------------------

TPopupMenuTracker::TPopupMenuTracker(UINT flags, HWND owner) : flags_(flags), owner_(owner) {}

TPopupMenuTracker::~TPopupMenuTracker() { CloseBelow(-1); }

TPopupMenuWindow* TPopupMenuTracker::Level(int depth) const {
  return depth >= 0 && depth < Depth() ? levels_[size_t(depth)].get() : nullptr;
}

TRect TPopupMenuTracker::ItemScreenRect(int depth, int index) const {
  TPopupMenuWindow* w = Level(depth);
  if (!w) return TRect();
  TRect r = w->ItemRect(index);
  if (r.IsEmpty()) return TRect();
  w->ClientToScreen(r);
  return r;
}

TPoint TPopupMenuTracker::Place(const TSize& size, TPoint at, const TRect* beside) const {
  TScreen& screen = TWindowSystem::Get().Screen();
  if (beside) {
    // Right of the parent menu, slightly overlapping it; to its left when there is no room.
    at = TPoint(beside->right - 3, beside->top);
    if (at.x + size.cx > screen.Width()) at.x = beside->left - size.cx + 3;
  } else {
    if (flags_ & TPM_CENTERALIGN)
      at.x -= size.cx / 2;
    else if (flags_ & TPM_RIGHTALIGN)
      at.x -= size.cx;
    if (flags_ & TPM_VCENTERALIGN)
      at.y -= size.cy / 2;
    else if (flags_ & TPM_BOTTOMALIGN)
      at.y -= size.cy;
  }
  at.x = std::max(0, std::min(at.x, screen.Width() - size.cx));
  at.y = std::max(0, std::min(at.y, screen.Height() - size.cy));
  return at;
}

bool TPopupMenuTracker::Open(HMENU menu, int x, int y) {
  if (GetMenuItemCount(menu) <= 0) return false;
  auto window = std::make_unique<TPopupMenuWindow>(menu);
  TSize size = window->Layout();
  TRect beside;
  if (Depth() > 0) {
    TPopupMenuWindow* parent = Deepest();
    TRect item = ItemScreenRect(Depth() - 1, parent->Hilite());
    beside = parent->GetWindowRect();
    beside.top = item.top - kFrame;
  }
  TPoint at = Place(size, TPoint(x, y), Depth() > 0 ? &beside : nullptr);
  window->Attr.X = at.x;
  window->Attr.Y = at.y;
  window->Attr.W = size.cx;
  window->Attr.H = size.cy;
  if (!window->Create()) return false;
  window->SetWindowPos(HWND_TOP, at.x, at.y, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  levels_.push_back(std::move(window));
  return true;
}

void TPopupMenuTracker::CloseBelow(int depth) {
  while (Depth() > depth + 1) {
    std::unique_ptr<TPopupMenuWindow> w = std::move(levels_.back());
    levels_.pop_back();
    if (w->IsWindow()) w->Destroy();
  }
}

void TPopupMenuTracker::OpenSubmenu(int depth, bool hiliteFirst) {
  TPopupMenuWindow* w = Level(depth);
  if (!w || w->Hilite() < 0) return;
  HMENU sub = GetSubMenu(w->Menu(), w->Hilite());
  if (!sub ||
      (GetMenuState(w->Menu(), UINT(w->Hilite()), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)))
    return;
  if (Level(depth + 1) && Level(depth + 1)->Menu() == sub) {
    CloseBelow(depth + 1);
  } else {
    CloseBelow(depth);
    if (!Open(sub, 0, 0)) return;
  }
  if (hiliteFirst && Deepest()->Hilite() < 0) Step(+1);
}

void TPopupMenuTracker::Choose(int depth, int index) {
  chosen_ = GetMenuItemID(Level(depth)->Menu(), index);
  done_ = true;
}

void TPopupMenuTracker::HitTest(const TPoint& screen, int& depth, int& index) const {
  depth = -1;
  index = -1;
  for (int d = Depth() - 1; d >= 0; --d) {
    TPopupMenuWindow* w = Level(d);
    if (!w->GetWindowRect().Contains(screen)) continue;
    TPoint client = screen;
    w->ScreenToClient(client);
    depth = d;
    index = w->ItemAt(client);
    return;
  }
}

void TPopupMenuTracker::MouseAt(const TPoint& screen, bool pressed) {
  int d = -1, i = -1;
  HitTest(screen, d, i);
  if (d < 0) {
    // Off the menus: the deepest menu loses its highlight; a parent keeps the item whose
    // submenu is open.
    Deepest()->SetHilite(-1);
    return;
  }
  armed_ = true;
  TPopupMenuWindow* w = Level(d);
  if (i >= 0 && (GetMenuState(w->Menu(), UINT(i), MF_BYPOSITION) & MF_SEPARATOR) &&
      !GetSubMenu(w->Menu(), i))
    i = -1;
  bool keepsChild = Level(d + 1) && i >= 0 && GetSubMenu(w->Menu(), i) == Level(d + 1)->Menu();
  if (!keepsChild) CloseBelow(d);
  w->SetHilite(i);
  if (i >= 0 && GetSubMenu(w->Menu(), i)) OpenSubmenu(d, false);
  (void)pressed;
}

bool TPopupMenuTracker::MouseRelease(const TPoint& screen) {
  int d = -1, i = -1;
  HitTest(screen, d, i);
  if (d < 0 || i < 0) return false;
  HMENU menu = Level(d)->Menu();
  UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
  if (GetSubMenu(menu, i)) return false;
  if (state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) return false;
  Choose(d, i);
  return true;
}

// Moves the deepest menu's highlight to the next item that is not a separator, wrapping.
void TPopupMenuTracker::Step(int direction) {
  TPopupMenuWindow* w = Deepest();
  int n = w->ItemCount();
  int i = w->Hilite();
  for (int tries = 0; tries < n; ++tries) {
    i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
    bool separator = !GetSubMenu(w->Menu(), i) &&
                     (GetMenuState(w->Menu(), UINT(i), MF_BYPOSITION) & MF_SEPARATOR);
    if (!separator) {
      w->SetHilite(i);
      return;
    }
  }
}

void TPopupMenuTracker::HandleInput(const platform::InputEvent& e) {
  TWindowSystem& ws = TWindowSystem::Get();
  TPoint p(e.x, e.y);
  switch (e.kind) {
    case platform::InputKind::MouseMove:
      WindowState(ws).cursorX = e.x;
      WindowState(ws).cursorY = e.y;
      MouseAt(p, false);
      break;
    case platform::InputKind::ButtonDown: {
      WindowState(ws).cursorX = e.x;
      WindowState(ws).cursorY = e.y;
      int d = -1, i = -1;
      HitTest(p, d, i);
      if (d < 0) {
        Cancel();  // a click outside every menu window; it is eaten
        break;
      }
      armed_ = true;
      MouseAt(p, true);
      break;
    }
    case platform::InputKind::ButtonUp:
      WindowState(ws).cursorX = e.x;
      WindowState(ws).cursorY = e.y;
      // A release that ends the click which opened the menu chooses nothing.
      if (armed_) MouseRelease(p);
      break;
    case platform::InputKind::KeyDown: {
      TPopupMenuWindow* w = Deepest();
      int lit = w->Hilite();
      switch (e.virtualKey) {
        case VK_DOWN: Step(+1); break;
        case VK_UP: Step(-1); break;
        case VK_RIGHT: OpenSubmenu(Depth() - 1, true); break;
        case VK_LEFT:
          if (Depth() > 1) CloseBelow(Depth() - 2);
          break;
        case VK_ESCAPE:
          if (Depth() > 1)
            CloseBelow(Depth() - 2);
          else
            Cancel();
          break;
        case VK_RETURN:
          if (lit < 0) break;
          if (GetSubMenu(w->Menu(), lit)) {
            OpenSubmenu(Depth() - 1, true);
          } else if (!(GetMenuState(w->Menu(), UINT(lit), MF_BYPOSITION) &
                       (MF_SEPARATOR | MF_GRAYED | MF_DISABLED))) {
            Choose(Depth() - 1, lit);
          }
          break;
        default: break;
      }
      break;
    }
    case platform::InputKind::FocusLost: Cancel(); break;
    case platform::InputKind::Expose: TInputRouter::Route(e); break;
    default: break;
  }
}

// --- TrackPopupMenu ------------------------------------------------------------------------------

namespace {

void Present(TWindowSystem& ws) {
  platform::ScreenSurface& surface = ws.Screen().Surface();
  if (surface.Dirty().empty() && !surface.PaletteDirty()) return;
  ws.Backend().Present(surface);
  surface.ClearDirty();
}

bool PollBackend(TWindowSystem& ws, int timeoutMs) {
  std::vector<platform::InputEvent> input;
  ws.Backend().PollInput(timeoutMs, input);
  for (const platform::InputEvent& e : input) ws.PostInput(e);
  return !input.empty();
}

}  // namespace

int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const TRect*) {
  static bool tracking = false;
  if (tracking || !IsMenu(menu) || GetMenuItemCount(menu) <= 0 || !IsWindow(owner)) return 0;
  tracking = true;
  struct Reset {
    ~Reset() { tracking = false; }
  } reset;

  TWindowSystem& ws = TWindowSystem::Get();
  // The menu takes the mouse: whoever held it (a pressed button) is told it lost it.
  if (WindowState(ws).capture) ReleaseCapture();
  std::optional<platform::InputEvent> closeRequest;
  UINT chosen = 0;
  {
    TPopupMenuTracker tracker(flags, owner);
    if (!tracker.Open(menu, x, y)) return 0;
    // The menu's own loop: raw input goes to the menu, never to the windows under it; posted
    // messages, timers and paints go on as in the application's loop.
    while (!tracker.Done()) {
      PollBackend(ws, 0);
      bool did = false;
      TWindowSystem::QueueItem item;
      for (size_t budget = ws.QueuedCount();
           budget > 0 && !tracker.Done() && !WindowState(ws).quitPosted && ws.TakeQueued(item);
           --budget) {
        did = true;
        if (MSG* msg = std::get_if<MSG>(&item)) {
          ProcessQueuedMessage(*msg);
        } else {
          const platform::InputEvent& e = std::get<platform::InputEvent>(item);
          if (e.kind == platform::InputKind::Close) {
            closeRequest = e;
            tracker.Cancel();
          } else {
            tracker.HandleInput(e);
          }
        }
      }
      if (WindowState(ws).quitPosted) tracker.Cancel();
      if (tracker.Done()) break;
      if (ws.FireDueTimers()) did = true;
      if (TPaintPass::PaintPending()) did = true;
      Present(ws);
      if (did) continue;
      if (IdleHook()) {
        IdleHook()(tracker);
        if (tracker.Done()) break;
      }
      if (ws.HasQueued() || PollBackend(ws, 0)) continue;
      if (ws.Clock().IsManual()) {
        // Nothing can ever happen: nobody is there to choose.
        tracker.Cancel();
        break;
      }
      uint64_t due = ws.NextTimerDue(), now = ws.NowMs();
      int timeout = due == UINT64_MAX ? -1
                    : due <= now      ? 0
                                      : int(std::min<uint64_t>(due - now, 1u << 30));
      PollBackend(ws, timeout);
    }
    chosen = tracker.Chosen();
  }
  if (closeRequest) ws.PostInput(*closeRequest);
  if (flags & TPM_RETURNCMD) return int(chosen);
  if (chosen && IsWindow(owner)) PostMessage(owner, WM_COMMAND, MAKEWPARAM(uint16_t(chosen), 0), 0);
  return 1;
}

}  // namespace quill
