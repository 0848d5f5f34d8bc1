#include "quillui/framework/window/window.h"

#include <algorithm>
#include <cstring>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window_state_internal.h"
#include "quillui/framework/window/window_system.h"

namespace quill {

namespace {

void EraseFrom(std::vector<TWindow*>& list, TWindow* w) {
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

}  // namespace

TWindow::TWindow(TWindow* parent, const char* title, TModule* module)
    : parent_(parent), module_(module), title_(title ? title : "") {
  if (!parent) Attr.Style = WS_POPUP | WS_VISIBLE;
  if (parent) {
    parent->children_.push_back(this);
    if (!module_) module_ = parent->module_;
  }
}

TWindow::~TWindow() {
  if (deletedFlag_) *deletedFlag_ = true;
  if (handle_ && TWindowSystem::IsInstalled()) Destroy();
  // Deleted by its owner before the loop came to it.
  if (deleteWhenClosed_ && TWindowSystem::IsInstalled())
    EraseFrom(WindowState(TWindowSystem::Get()).closedWindows, this);
  // Children still in the list are owned by this window.
  while (!children_.empty()) {
    TWindow* child = children_.back();
    children_.pop_back();
    child->parent_ = nullptr;
    delete child;
  }
  // Through the virtual, so a parent can drop what it keeps about this child (a layout
  // window its constraints) at once.
  if (parent_) parent_->RemoveChild(this);
}

HWND TWindow::GetParent() const {
  if (!handle_) return parent_ ? parent_->handle_ : nullptr;
  if (!IsTopLevel()) return treeParent_ ? treeParent_->handle_ : nullptr;
  return parent_ ? parent_->handle_ : nullptr;  // a pop-up's owner
}

TWindow* TWindow::ChildWithId(int id) const {
  for (TWindow* c : children_)
    if (c->Attr.Id == id) return c;
  return nullptr;
}

TWindow* TWindow::LiveChildWithId(int id) const {
  for (TWindow* c : children_)
    if (c->handle_ && c->Attr.Id == id) return c;
  return nullptr;
}

void TWindow::DeleteClosedWindows() {
  if (!TWindowSystem::IsInstalled()) return;
  std::vector<TWindow*>& closed = WindowState(TWindowSystem::Get()).closedWindows;
  // A deletion may close more windows (the object's children), so look again from the start
  // after each one.
  for (size_t i = 0; i < closed.size();) {
    TWindow* w = closed[i];
    if (w->handle_) {  // created again since: it stays
      closed.erase(closed.begin() + ptrdiff_t(i));
      continue;
    }
    if (w->deletedFlag_) {  // still inside one of its handlers
      ++i;
      continue;
    }
    closed.erase(closed.begin() + ptrdiff_t(i));
    delete w;
    i = 0;
  }
}

void TWindow::RemoveChild(TWindow* child) {
  if (!child) return;
  EraseFrom(children_, child);
  if (child->parent_ == this) child->parent_ = nullptr;
}

// --- Life cycle -------------------------------------------------------------------------------

bool TWindow::Create() {
  if (handle_) return true;
  if (!CreateHandle()) return false;
  SetupWindow();
  if (!handle_) return false;  // SetupWindow may destroy the window
  if (Attr.Style & WS_VISIBLE) {
    SendMessage(WM_SHOWWINDOW, 1, 0);
    if (treeParent_) treeParent_->InvalidateTree(TRegion(bounds_), true, true);
  }
  return true;
}

bool TWindow::CreateHandle() {
  TWindowSystem& ws = TWindowSystem::Get();
  bool isDesktop = !ws.IsInstalled() || (&ws.Desktop() == this);
  if (IsTopLevel()) {
    treeParent_ = isDesktop ? nullptr : &ws.Desktop();
  } else {
    if (!parent_ || !parent_->handle_) return false;  // a child needs a created parent
    treeParent_ = parent_;
  }
  bounds_ = TRect(Attr.X, Attr.Y, Attr.X + std::max(Attr.W, 0), Attr.Y + std::max(Attr.H, 0));
  handle_ = ws.Register(this);
  if (treeParent_) treeParent_->zOrder_.insert(treeParent_->zOrder_.begin(), this);

  HandleMessage(WM_NCCREATE);
  if (HandleMessage(WM_CREATE) == -1) {
    DestroyHandle();
    return false;
  }
  SendParentNotify(WM_CREATE);
  SendMessage(WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(uint16_t(bounds_.Width()), uint16_t(bounds_.Height())));
  SendMessage(WM_MOVE, 0,
              MAKEPOINTLPARAM(bounds_.left + BorderWidth(), bounds_.top + BorderWidth()));
  return true;
}

void TWindow::SetupWindow() {
  // Children constructed before this window was created come up with it.
  std::vector<TWindow*> pending = children_;
  for (TWindow* c : pending)
    if (c->autoCreate_ && !c->handle_ &&
        std::find(children_.begin(), children_.end(), c) != children_.end())
      c->Create();
}

void TWindow::CleanupWindow() {}

void TWindow::Destroy(int retVal) {
  (void)retVal;
  if (!handle_ || destroying_) return;
  destroying_ = true;
  CleanupWindow();
  // Owned pop-ups and children go first, each with its own notifications.
  std::vector<TWindow*> owned;
  for (TWindow* c : children_)
    if (c->handle_ && c->IsTopLevel()) owned.push_back(c);
  for (TWindow* c : owned)
    if (c->handle_) c->Destroy();
  std::vector<TWindow*> kids = zOrder_;
  for (TWindow* c : kids)
    if (c->handle_) c->Destroy();
  SendParentNotify(WM_DESTROY);
  DestroyHandle();
  destroying_ = false;
}

void TWindow::DestroyHandle() {
  TWindowSystem& ws = TWindowSystem::Get();
  if (treeParent_ && (Attr.Style & WS_VISIBLE) && IsWindowVisible())
    treeParent_->InvalidateTree(TRegion(bounds_), true, true);
  if (WindowState(ws).capture == handle_) ReleaseCapture();
  if (WindowState(ws).focus == handle_) WindowState(ws).focus = nullptr;
  if (WindowState(ws).active == handle_) WindowState(ws).active = nullptr;
  if (WindowState(ws).locked == handle_) WindowState(ws).locked = nullptr;
  HandleMessage(WM_DESTROY);
  ws.KillTimers(handle_);
  HandleMessage(WM_NCDESTROY);
  if (treeParent_) EraseFrom(treeParent_->zOrder_, this);
  ws.Unregister(handle_);
  handle_ = nullptr;
  treeParent_ = nullptr;
  update_.Clear();
  erasePending_ = false;
  zOrder_.clear();
  if (deleteWhenClosed_) {
    auto& closed = WindowState(ws).closedWindows;
    if (std::find(closed.begin(), closed.end(), this) == closed.end()) closed.push_back(this);
  }
}

void TWindow::SendParentNotify(UINT event) {
  // Up the chain of ancestors until a window opts out or a pop-up is reached.
  TWindow* w = this;
  while (w && !w->IsTopLevel() && !(w->Attr.ExStyle & WS_EX_NOPARENTNOTIFY) && w->treeParent_) {
    TWindow* p = w->treeParent_;
    p->SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(uint16_t(event), uint16_t(Attr.Id)),
                   reinterpret_cast<LPARAM>(handle_));
    w = p;
  }
}

// --- Geometry ---------------------------------------------------------------------------------

TRect TWindow::GetWindowRect() const {
  TRect r = bounds_;
  if (treeParent_) {
    TPoint o = treeParent_->ClientOriginOnScreen();
    r.Offset(o.x, o.y);
  }
  return r;
}

TRect TWindow::GetClientRect() const {
  int b = BorderWidth();
  return TRect(0, 0, std::max(bounds_.Width() - 2 * b, 0), std::max(bounds_.Height() - 2 * b, 0));
}

TPoint TWindow::ClientOriginOnScreen() const {
  TPoint p(bounds_.left + BorderWidth(), bounds_.top + BorderWidth());
  for (const TWindow* w = treeParent_; w; w = w->treeParent_)
    p += TPoint(w->bounds_.left + w->BorderWidth(), w->bounds_.top + w->BorderWidth());
  return p;
}

void TWindow::ClientToScreen(TPoint& p) const { p += ClientOriginOnScreen(); }
void TWindow::ScreenToClient(TPoint& p) const { p -= ClientOriginOnScreen(); }
void TWindow::ClientToScreen(TRect& r) const {
  TPoint o = ClientOriginOnScreen();
  r.Offset(o.x, o.y);
}
void TWindow::ScreenToClient(TRect& r) const {
  TPoint o = ClientOriginOnScreen();
  r.Offset(-o.x, -o.y);
}

bool TWindow::MoveWindow(int x, int y, int w, int h, bool repaint) {
  return SetWindowPos(nullptr, x, y, w, h,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool TWindow::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!handle_) {
    // Before creation only the attributes change.
    if (!(flags & SWP_NOMOVE)) {
      Attr.X = x;
      Attr.Y = y;
    }
    if (!(flags & SWP_NOSIZE)) {
      Attr.W = cx;
      Attr.H = cy;
    }
    return true;
  }
  WINDOWPOS pos{handle_, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    pos.x = bounds_.left;
    pos.y = bounds_.top;
  }
  if (flags & SWP_NOSIZE) {
    pos.cx = bounds_.Width();
    pos.cy = bounds_.Height();
  }
  if (!(flags & SWP_NOSENDCHANGING))
    SendMessage(WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  if (!handle_) return false;
  pos.cx = std::max(pos.cx, 0);
  pos.cy = std::max(pos.cy, 0);

  bool wasVisible = IsWindowVisible();
  TRect oldBounds = bounds_;
  TRect newBounds(pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy);
  bool moved = newBounds.TopLeft() != oldBounds.TopLeft();
  bool sized = newBounds.Size() != oldBounds.Size();
  bool zChanged = false;
  bounds_ = newBounds;
  Attr.X = newBounds.left;
  Attr.Y = newBounds.top;
  Attr.W = pos.cx;
  Attr.H = pos.cy;

  if (!(pos.flags & SWP_NOZORDER) && treeParent_) {
    auto& z = treeParent_->zOrder_;
    auto before = z;
    EraseFrom(z, this);
    if (pos.hwndInsertAfter == HWND_BOTTOM) {
      z.push_back(this);
    } else if (pos.hwndInsertAfter == HWND_TOP || pos.hwndInsertAfter == HWND_TOPMOST ||
               pos.hwndInsertAfter == HWND_NOTOPMOST) {
      z.insert(z.begin(), this);
    } else {
      TWindow* after = GetWindowPtr(pos.hwndInsertAfter);
      auto it = std::find(z.begin(), z.end(), after);
      z.insert(it == z.end() ? z.begin() : it + 1, this);
    }
    zChanged = before != z;
  }
  if (sized || (pos.flags & SWP_FRAMECHANGED)) {
    // The new, the old and the old client rectangle, in the parent's coordinates.
    NCCALCSIZE_PARAMS nc;
    TRect oldClient = oldBounds;
    oldClient.Inflate(-BorderWidth(), -BorderWidth());
    for (int i = 0; i < 3; ++i) {
      const TRect& r = i == 0 ? newBounds : i == 1 ? oldBounds : oldClient;
      nc.rgrc[i][0] = r.left;
      nc.rgrc[i][1] = r.top;
      nc.rgrc[i][2] = r.right;
      nc.rgrc[i][3] = r.bottom;
    }
    nc.lppos = &pos;
    SendMessage(WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&nc));
    if (!handle_) return false;
  }
  if (pos.flags & SWP_SHOWWINDOW) Attr.Style |= WS_VISIBLE;
  if (pos.flags & SWP_HIDEWINDOW) Attr.Style &= ~WS_VISIBLE;
  bool nowVisible = IsWindowVisible();

  if (!(pos.flags & SWP_NOREDRAW) && treeParent_ && (wasVisible || nowVisible) &&
      (moved || sized || zChanged || wasVisible != nowVisible)) {
    TRegion exposed;
    if (wasVisible) exposed.Union(oldBounds);
    if (nowVisible) exposed.Union(newBounds);
    treeParent_->InvalidateTree(exposed, true, true);
  }
  if ((pos.flags & SWP_HIDEWINDOW) && !nowVisible) {
    TWindowSystem& ws = TWindowSystem::Get();
    if (WindowState(ws).focus &&
        (WindowState(ws).focus == handle_ || IsChild(WindowState(ws).focus)))
      quill::SetFocus(GetParent());
    if (WindowState(ws).capture &&
        (WindowState(ws).capture == handle_ || IsChild(WindowState(ws).capture)))
      quill::ReleaseCapture();
  }
  if (!(pos.flags & SWP_NOACTIVATE) && IsTopLevel() && nowVisible && treeParent_) {
    WindowState(TWindowSystem::Get()).active = handle_;
  }
  if (moved)
    pos.flags &= ~SWP_NOMOVE;
  else
    pos.flags |= SWP_NOMOVE;
  if (sized)
    pos.flags &= ~SWP_NOSIZE;
  else
    pos.flags |= SWP_NOSIZE;
  SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  return true;
}

// --- State ------------------------------------------------------------------------------------

bool TWindow::ShowWindow(int cmdShow) {
  bool wasVisible = (Attr.Style & WS_VISIBLE) != 0;
  if (!handle_) {
    if (cmdShow == SW_HIDE)
      Attr.Style &= ~WS_VISIBLE;
    else
      Attr.Style |= WS_VISIBLE;
    return wasVisible;
  }
  bool show = cmdShow != SW_HIDE;
  if (show == wasVisible) return wasVisible;
  SendMessage(WM_SHOWWINDOW, show ? 1 : 0, 0);
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (cmdShow == SW_SHOWNA || cmdShow == SW_SHOWNOACTIVATE || cmdShow == SW_HIDE)
    flags |= SWP_NOACTIVATE;
  SetWindowPos(nullptr, 0, 0, 0, 0, flags);
  return wasVisible;
}

bool TWindow::IsWindowVisible() const {
  if (!handle_) return false;
  for (const TWindow* w = this; w; w = w->treeParent_)
    if (!(w->Attr.Style & WS_VISIBLE)) return false;
  return true;
}

bool TWindow::EnableWindow(bool enable) {
  bool wasDisabled = (Attr.Style & WS_DISABLED) != 0;
  if (enable == !wasDisabled) return wasDisabled;
  if (enable)
    Attr.Style &= ~WS_DISABLED;
  else
    Attr.Style |= WS_DISABLED;
  if (handle_) {
    TWindowSystem& ws = TWindowSystem::Get();
    if (!enable) {
      if (WindowState(ws).focus &&
          (WindowState(ws).focus == handle_ || IsChild(WindowState(ws).focus)))
        quill::SetFocus(nullptr);
      if (WindowState(ws).capture &&
          (WindowState(ws).capture == handle_ || IsChild(WindowState(ws).capture)))
        quill::ReleaseCapture();
    }
    SendMessage(WM_ENABLE, enable ? 1 : 0, 0);
  }
  return wasDisabled;
}

bool TWindow::IsWindowEnabled() const { return handle_ && !(Attr.Style & WS_DISABLED); }

void TWindow::SetCaption(const char* caption) { title_ = caption ? caption : ""; }

int TWindow::GetWindowText(char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  int n = std::min(int(title_.size()), size - 1);
  std::memcpy(buffer, title_.data(), size_t(n));
  buffer[n] = '\0';
  return n;
}

// --- Z-order ----------------------------------------------------------------------------------

void TWindow::BringWindowToTop() { SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

HWND TWindow::GetWindow(UINT cmd) const {
  if (!handle_) return nullptr;
  if (cmd == GW_CHILD) return zOrder_.empty() ? nullptr : zOrder_.front()->handle_;
  if (cmd == GW_OWNER) return IsTopLevel() && parent_ ? parent_->handle_ : nullptr;
  if (!treeParent_) return nullptr;
  const auto& z = treeParent_->zOrder_;
  auto it = std::find(z.begin(), z.end(), this);
  if (it == z.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST: return z.front()->handle_;
    case GW_HWNDLAST: return z.back()->handle_;
    case GW_HWNDNEXT: return it + 1 == z.end() ? nullptr : (*(it + 1))->handle_;
    case GW_HWNDPREV: return it == z.begin() ? nullptr : (*(it - 1))->handle_;
    default: return nullptr;
  }
}

HWND TWindow::GetTopWindow() const { return GetWindow(GW_CHILD); }

bool TWindow::IsChild(HWND hwnd) const {
  TWindow* w = GetWindowPtr(hwnd);
  for (; w; w = w->IsTopLevel() ? nullptr : w->treeParent_)
    if (w->treeParent_ == this && !w->IsTopLevel()) return true;
  return false;
}

// --- Focus, capture, timers -------------------------------------------------------------------

HWND TWindow::SetFocus() { return quill::SetFocus(handle_); }
HWND TWindow::SetCapture() { return quill::SetCapture(handle_); }
void TWindow::ReleaseCapture() {
  if (WindowState(TWindowSystem::Get()).capture == handle_) quill::ReleaseCapture();
}

UINT TWindow::SetTimer(UINT id, UINT elapseMs) {
  if (!handle_) return 0;
  TWindowSystem::Get().SetTimer(handle_, id, elapseMs);
  return id ? id : 1;
}

bool TWindow::KillTimer(UINT id) { return handle_ && TWindowSystem::Get().KillTimer(handle_, id); }

// --- Messages ---------------------------------------------------------------------------------

LRESULT TWindow::SendMessage(UINT msg, WPARAM wp, LPARAM lp) { return HandleMessage(msg, wp, lp); }

bool TWindow::PostMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return handle_ && quill::PostMessage(handle_, msg, wp, lp);
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  UINT savedMsg = curMsg_;
  WPARAM savedWp = curWp_;
  LPARAM savedLp = curLp_;
  bool* outerFlag = deletedFlag_;
  bool deleted = false;
  deletedFlag_ = &deleted;
  curMsg_ = msg;
  curWp_ = wp;
  curLp_ = lp;
  LRESULT result = WindowProc(msg, wp, lp);
  if (deleted) {
    if (outerFlag) *outerFlag = true;  // tell the dispatches further out, too
    return result;
  }
  deletedFlag_ = outerFlag;
  curMsg_ = savedMsg;
  curWp_ = savedWp;
  curLp_ = savedLp;
  return result;
}

LRESULT TWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (const TResponseEntry* e = GetResponseTable().Find(TResponseEntry::Kind::Message, msg))
    return e->message(*this, wp, lp);
  return DispatchTyped(msg, wp, lp);
}

const TResponseTable& TWindow::GetResponseTable() const {
  static const TResponseTable table{nullptr, {}};
  return table;
}

LRESULT TWindow::DefaultProcessing() { return DefWindowProc(curMsg_, curWp_, curLp_); }

bool TWindow::PreProcessMsg(MSG& msg) { return false; }

bool TWindow::IdleAction(long idleCount) {
  bool more = false;
  std::vector<TWindow*> kids = children_;
  for (TWindow* c : kids)
    if (std::find(children_.begin(), children_.end(), c) != children_.end() && c->handle_ &&
        c->treeIdle_)
      more = c->IdleAction(idleCount) || more;
  return more;
}

bool TWindow::CanClose() {
  for (TWindow* c : children_)
    if (c->handle_ && !c->CanClose()) return false;
  return true;
}

void TWindow::CloseWindow(int retVal) {
  if (!CanClose()) return;
  TApplication* app = TApplication::Current();
  if (app && app->GetMainWindow() == this) PostQuitMessage(retVal);
  Destroy(retVal);
}

void TWindow::RouteCommandEnable(TCommandEnabler& ce) {
  for (TWindow* w = this; w && !ce.GetHandled(); w = w->parent_) w->EvCommandEnable(ce);
}

}  // namespace quill
