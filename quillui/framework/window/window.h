// TWindow: a window of the framework. It owns a handle while it exists on the screen, keeps
// its child objects, answers messages through its response table and typed virtual handlers,
// and paints through device contexts clipped to what of it is visible.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quillui/framework/base/color.h"
#include "quillui/framework/base/geometry.h"
#include "quillui/framework/base/messages.h"
#include "quillui/framework/gdi/region.h"
#include "quillui/framework/window/response_table.h"

namespace quill {

class TDC;
class TModule;
class TWindowSystem;

struct TWindowAttr {
  uint32_t Style = WS_CHILD | WS_VISIBLE;
  uint32_t ExStyle = 0;
  uint32_t ClassStyle = CS_DBLCLKS;
  int X = 0;
  int Y = 0;
  int W = 0;
  int H = 0;
  int Id = 0;
};

class TWindow {
 public:
  // A child (WS_CHILD) of parent, or a pop-up in screen coordinates owned by parent when
  // parent is null or the style says WS_POPUP. The handle is made by Create().
  explicit TWindow(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  TWindowAttr Attr;

  // --- Life cycle ---------------------------------------------------------------------------
  // Makes the handle (WM_CREATE, then WM_PARENTNOTIFY to the parent), then SetupWindow(),
  // which creates the children that were constructed before. False when WM_CREATE refused.
  virtual bool Create();
  // Destroys the children, then this window: WM_PARENTNOTIFY, WM_DESTROY, WM_NCDESTROY.
  virtual void Destroy(int retVal = 0);
  HWND GetHandle() const { return handle_; }
  operator HWND() const { return handle_; }
  bool IsWindow() const { return handle_ != nullptr; }
  TModule* GetModule() const { return module_; }
  void SetModule(TModule* module) { module_ = module; }
  // Children made by the parent's Create() (the default) or left for the caller to create.
  void EnableAutoCreate(bool enable = true) { autoCreate_ = enable; }
  bool IsAutoCreate() const { return autoCreate_; }
  // Whether this is a pop-up (top-level) window rather than a child window.
  bool IsTopLevel() const { return (Attr.Style & WS_CHILD) == 0; }
  // Asks the loop to delete this object once its window is gone, after the message being
  // handled (see DeleteClosedWindows). Only for objects made with new whose owner does not
  // delete them once their window has closed; whoever deletes such an object before the loop
  // does may still do so.
  void SetDeleteWhenClosed(bool enable = true) { deleteWhenClosed_ = enable; }
  bool IsDeleteWhenClosed() const { return deleteWhenClosed_; }
  // Deletes the objects that asked for it whose windows are gone, except those still handling
  // a message (they wait for a later call). The loop calls it after every message it takes.
  static void DeleteClosedWindows();

  // --- Objects: parent and child list in creation order ---------------------------------------
  TWindow* GetParentO() const { return parent_; }
  // The parent's handle for a child window, the owner's for a pop-up.
  HWND GetParent() const;
  const std::vector<TWindow*>& GetChildren() const { return children_; }
  TWindow* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
  TWindow* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
  unsigned NumChildren() const { return unsigned(children_.size()); }
  // The first child object with that id, whether or not it has a window.
  TWindow* ChildWithId(int id) const;
  // The first child with that id whose window exists: a child that closed itself is not found.
  TWindow* LiveChildWithId(int id) const;
  // Takes a child object out of the list without deleting it.
  virtual void RemoveChild(TWindow* child);

  // --- Geometry ---------------------------------------------------------------------------------
  // The window's rectangle in its parent's client coordinates (screen coordinates for pop-ups).
  TRect GetBounds() const { return bounds_; }
  // The window's rectangle in screen coordinates.
  TRect GetWindowRect() const;
  // The client area in client coordinates: (0, 0, width, height).
  TRect GetClientRect() const;
  TPoint ClientOriginOnScreen() const;
  void ClientToScreen(TPoint& p) const;
  void ScreenToClient(TPoint& p) const;
  void ClientToScreen(TRect& r) const;
  void ScreenToClient(TRect& r) const;
  bool MoveWindow(int x, int y, int w, int h, bool repaint = false);
  bool MoveWindow(const TRect& r, bool repaint = false) {
    return MoveWindow(r.left, r.top, r.Width(), r.Height(), repaint);
  }
  bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
  bool SetWindowPos(HWND insertAfter, const TRect& r, UINT flags) {
    return SetWindowPos(insertAfter, r.left, r.top, r.Width(), r.Height(), flags);
  }

  // --- State ------------------------------------------------------------------------------------
  bool ShowWindow(int cmdShow);
  bool Show(int cmdShow) { return ShowWindow(cmdShow); }
  // Visible when it and every ancestor carry WS_VISIBLE.
  bool IsWindowVisible() const;
  bool EnableWindow(bool enable);
  bool IsWindowEnabled() const;
  uint32_t GetStyle() const { return Attr.Style; }
  void SetStyle(uint32_t style) { Attr.Style = style; }
  uint32_t GetExStyle() const { return Attr.ExStyle; }
  void SetExStyle(uint32_t exStyle) { Attr.ExStyle = exStyle; }
  int GetId() const { return Attr.Id; }

  void SetCaption(const char* caption);
  const std::string& GetCaption() const { return title_; }
  int GetWindowText(char* buffer, int size) const;
  int GetWindowTextLength() const { return int(title_.size()); }

  // Background used by the default erase; TColor::None leaves the background alone.
  void SetBkgndColor(TColor color) { bkgndColor_ = color; }
  TColor GetBkgndColor() const { return bkgndColor_; }

  // --- Z-order ----------------------------------------------------------------------------------
  void BringWindowToTop();
  HWND GetWindow(UINT cmd) const;
  // The child at the top of this window's stacking order.
  HWND GetTopWindow() const;
  bool IsChild(HWND hwnd) const;  // a descendant of this window
  // Created children (and, for the desktop, top-level windows), top of the stack first.
  const std::vector<TWindow*>& GetZOrder() const { return zOrder_; }

  // --- Focus, capture, timers -------------------------------------------------------------------
  HWND SetFocus();
  HWND SetCapture();
  void ReleaseCapture();
  UINT SetTimer(UINT id, UINT elapseMs);
  bool KillTimer(UINT id);

  // --- Painting ---------------------------------------------------------------------------------
  void Invalidate(bool erase = true);
  void InvalidateRect(const TRect& rect, bool erase = true);
  void InvalidateRgn(const TRegion& region, bool erase = true);
  void Validate();
  void ValidateRect(const TRect& rect);
  void UpdateWindow();
  bool RedrawWindow(const TRect* update, const TRegion* region, UINT flags);
  // Defers every paint of this window and its descendants until unlocked; only one window
  // may be locked at a time.
  bool LockWindowUpdate(bool lock = true);
  // While Destroy runs: its children go first, and each tells this window as it goes.
  bool IsBeingDestroyed() const { return destroying_; }
  const TRegion& GetUpdateRegion() const { return update_; }
  bool GetUpdateRect(TRect& rect, bool erase = false);
  bool IsErasePending() const { return erasePending_; }
  // What of the client area (or of the whole window) shows on the screen, in screen
  // coordinates: clipped by every ancestor, by siblings above it where siblings clip, and by
  // its own children under WS_CLIPCHILDREN. Empty while hidden or under a locked window.
  TRegion VisibleRegion(bool clientOnly = true) const;
  // Takes the update region for painting: clears it and the erase flag, answers the region
  // (client coordinates) and whether an erase was pending.
  TRegion TakeUpdateRegion(bool& erasePending);

  // --- Messages ---------------------------------------------------------------------------------
  LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
  bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
  // Straight to this object's handler, with or without a handle.
  LRESULT HandleMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
  // Looks the message up in the response table, then in the typed handlers below.
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  // The built-in behaviour for the message being handled.
  LRESULT DefaultProcessing();
  virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
  virtual const TResponseTable& GetResponseTable() const;
  // Sees every queued message for this window or a descendant first; true consumes it.
  virtual bool PreProcessMsg(MSG& msg);
  // Called while the queue is empty, with a count that rises while it stays empty; answers
  // whether more idle time is wanted. The default passes it to the children that take their
  // idle time from the window tree.
  virtual bool IdleAction(long idleCount);
  // A window that gets its idle time some other way (a list of the application's) leaves the
  // tree's idle walk, so it is not called twice in a round.
  void EnableTreeIdle(bool enable) { treeIdle_ = enable; }
  bool TakesTreeIdle() const { return treeIdle_; }
  virtual bool CanClose();
  // Destroys the window when CanClose() agrees; a main window ends the application's loop.
  virtual void CloseWindow(int retVal = 0);
  // Routes a command-enable query: this window's table first, then the parent's.
  void RouteCommandEnable(TCommandEnabler& ce);
  // A modal message box owned by this window (MB_* type bits; answers IDOK, IDYES, ...).
  // Defined with the dialogs (message_box.cpp).
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = 0);

 protected:
  virtual void SetupWindow();
  virtual void CleanupWindow();
  // Paints the invalid area; the DC is clipped to it.
  virtual void Paint(TDC& dc, bool erase, TRect& rect);

  // Typed handlers: each default calls DefaultProcessing().
  virtual int EvCreate();
  virtual void EvDestroy();
  virtual void EvClose();
  virtual void EvSize(UINT sizeType, const TSize& size);
  virtual void EvMove(const TPoint& clientOrigin);
  virtual void EvTimer(UINT timerId);
  virtual void EvPaint();
  virtual bool EvEraseBkgnd(TDC& dc);
  virtual void EvShowWindow(bool show, UINT status);
  virtual void EvWindowPosChanging(WINDOWPOS& pos);
  virtual void EvWindowPosChanged(const WINDOWPOS& pos);
  virtual void EvSetFocus(HWND lostFocus);
  virtual void EvKillFocus(HWND getFocus);
  virtual void EvCaptureChanged(HWND newCapture);
  virtual void EvCancelMode();
  virtual void EvParentNotify(UINT event, UINT childId, HWND child);
  virtual int EvMouseActivate(HWND topLevel, UINT hitTest, UINT msg);
  virtual UINT EvNCHitTest(const TPoint& screenPoint);
  virtual UINT EvGetDlgCode(const MSG* msg);
  // WM_NCCALCSIZE, sent when the size changes: answers WVR_* bits; every resize repaints the
  // whole window here, so the answer changes nothing. The default answers 0.
  virtual UINT EvNCCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS& params);
  // Button presses in the non-client area (hit-test code, screen point). Nothing by default.
  virtual void EvNCLButtonDown(UINT hitTest, const TPoint& screenPoint);
  virtual void EvNCRButtonDown(UINT hitTest, const TPoint& screenPoint);
  virtual void EvMouseMove(UINT modKeys, const TPoint& point);
  virtual void EvLButtonDown(UINT modKeys, const TPoint& point);
  virtual void EvLButtonUp(UINT modKeys, const TPoint& point);
  virtual void EvLButtonDblClk(UINT modKeys, const TPoint& point);
  virtual void EvRButtonDown(UINT modKeys, const TPoint& point);
  virtual void EvRButtonUp(UINT modKeys, const TPoint& point);
  virtual void EvRButtonDblClk(UINT modKeys, const TPoint& point);
  virtual void EvKeyDown(UINT key, UINT repeatCount, UINT flags);
  virtual void EvKeyUp(UINT key, UINT repeatCount, UINT flags);
  virtual void EvChar(UINT key, UINT repeatCount, UINT flags);
  virtual void EvActivate(UINT active, bool minimized, HWND other);
  // WM_COMMAND: the command table, then DefaultProcessing().
  virtual LRESULT EvCommand(UINT id, HWND control, UINT notifyCode);
  virtual void EvCommandEnable(TCommandEnabler& ce);

 private:
  friend class TWindowSystem;
  friend class TPaintPass;
  friend class TInputRouter;

  LRESULT DispatchTyped(UINT msg, WPARAM wp, LPARAM lp);
  bool CreateHandle();
  void DestroyHandle();
  void SendParentNotify(UINT event);
  TWindow* TreeParent() const { return treeParent_; }
  bool ClipsSiblings() const { return IsTopLevel() || (Attr.Style & WS_CLIPSIBLINGS); }
  int BorderWidth() const { return (Attr.Style & WS_BORDER) ? 1 : 0; }
  void InvalidateTree(const TRegion& clientRegion, bool erase, bool allChildren);
  void ValidateTree(const TRegion& clientRegion, bool allChildren);

  HWND handle_ = nullptr;
  TWindow* parent_ = nullptr;      // the object that owns this one
  TWindow* treeParent_ = nullptr;  // the window whose client area holds this one
  TModule* module_ = nullptr;
  std::string title_;
  std::vector<TWindow*> children_;  // objects, in creation order
  std::vector<TWindow*> zOrder_;    // created children, top of the stack first
  TRect bounds_;
  TRegion update_;  // client coordinates
  bool erasePending_ = false;
  bool autoCreate_ = true;
  bool destroying_ = false;
  bool deleteWhenClosed_ = false;
  bool treeIdle_ = true;
  TColor bkgndColor_ = TColor::None;
  // Set by the destructor when a handler deletes the window it is running in, so the
  // dispatch that called it touches nothing of the dead object on the way out.
  bool* deletedFlag_ = nullptr;
  // The message being handled, for DefaultProcessing().
  UINT curMsg_ = 0;
  WPARAM curWp_ = 0;
  LPARAM curLp_ = 0;
};

// --- Handle-level functions ----------------------------------------------------------------------
TWindow* GetWindowPtr(HWND hwnd);
bool IsWindow(HWND hwnd);
bool IsWindowVisible(HWND hwnd);
bool IsWindowEnabled(HWND hwnd);
HWND GetParent(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT cmd);
// The top child of hwnd; with null, the top-level window at the top of the screen.
HWND GetTopWindow(HWND hwnd);
bool IsChild(HWND parent, HWND hwnd);
HWND GetDesktopWindow();
// Calls fn for each top-level window, top of the stack first, until it answers false.
void EnumWindows(bool (*fn)(HWND, LPARAM), LPARAM param);
bool BringWindowToTop(HWND hwnd);
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
// Queues a message. The one call that is safe from any thread.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
void PostQuitMessage(int exitCode);
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();
HWND GetActiveWindow();
bool GetCursorPos(TPoint& p);
// The deepest visible, enabled window under a screen point that does not answer HTTRANSPARENT.
HWND WindowFromPoint(const TPoint& screenPoint);
bool ClientToScreen(HWND hwnd, TPoint& p);
bool ScreenToClient(HWND hwnd, TPoint& p);
// Maps points from one window's client coordinates to another's (null = the screen).
int MapWindowPoints(HWND from, HWND to, TPoint* points, int count);
bool LockWindowUpdate(HWND hwnd);
// The window whose updates are locked, null when none is.
HWND GetWindowUpdateLock();
int GetSystemMetrics(int index);
UINT GetDoubleClickTime();
// The longest time between two presses that still makes a double click; 0 puts the default
// back, and longer than 5 s is held at 5 s.
void SetDoubleClickTime(UINT ms);
// Whether a key (virtual-key code) or mouse button is down, in the high bit, as input routed so
// far.
int16_t GetKeyState(int virtualKey);
// The framework's millisecond clock.
uint64_t GetTickCount();
// The cursor's screen position (x in the low word, y in the high word, as GET_X_LPARAM and
// GET_Y_LPARAM read them) and the clock's time when the message being handled was taken from
// the queue; for posted messages, routed input and timers alike.
uint32_t GetMessagePos();
long GetMessageTime();

}  // namespace quill
