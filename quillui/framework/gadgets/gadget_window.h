// TGadgetWindow: a window that holds an ordered list of gadgets, tiles them horizontally or
// vertically inside its margins, paints them and routes mouse input, idle time and command
// enabling to them.
#pragma once

#include <cstdint>
#include <memory>

#include "quillui/framework/gadgets/gadget.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/framework/window/window.h"

namespace quill {

class TCelArray;

// An ordered list of gadgets that owns them: gadgets still in it when it dies are deleted.
class TGadgetList {
 public:
  enum TPlacement { Before, After };

  TGadgetList() = default;
  virtual ~TGadgetList();
  TGadgetList(const TGadgetList&) = delete;
  TGadgetList& operator=(const TGadgetList&) = delete;

  // Puts the gadget before or after sibling; with no sibling (or one not in this list) Before
  // means at the start and After at the end. A gadget in another list leaves it first.
  virtual void Insert(TGadget& gadget, TPlacement placement = After, TGadget* sibling = nullptr);
  // Moves every gadget of list, in order, to the given place in this one.
  virtual void InsertFrom(TGadgetList& list, TPlacement placement = After,
                          TGadget* sibling = nullptr);
  // Takes the gadget out without deleting it and answers it; null when it is not here.
  virtual TGadget* Remove(TGadget& gadget);

  TGadget* FirstGadget() const { return first_; }
  TGadget* LastGadget() const { return last_; }
  TGadget* NextGadget(const TGadget& gadget) const { return gadget.next_; }
  unsigned NumGadgets() const { return count_; }
  TGadget* GadgetWithId(int id) const;
  // Whether this exact gadget is in the list (compares addresses only).
  bool Contains(const TGadget* gadget) const;
  // Counts every insertion and removal, so a walk can tell cheaply whether the list changed
  // under it.
  uint64_t ChangeCount() const { return changes_; }

 protected:
  // Called after a gadget joined the list, and after it left it.
  virtual void Inserted(TGadget& gadget);
  virtual void Removed(TGadget& gadget);
  // Deletes every gadget without calling any hook.
  void DeleteAllGadgets();

 private:
  void Link(TGadget& gadget, TPlacement placement, TGadget* sibling);
  void Unlink(TGadget& gadget);

  TGadget* first_ = nullptr;
  TGadget* last_ = nullptr;
  unsigned count_ = 0;
  uint64_t changes_ = 0;
};

class TGadgetWindow : public TWindow, public TGadgetList {
 public:
  enum TTileDirection { Horizontal, Vertical };
  // When gadgets report their command for the hint text: never, while pressed, or on entry
  // (the default, which the library's buttons rely on to show their hints).
  enum THintMode { NoHints, PressHints, EnterHints };

  // Defers the layouts that list and size changes ask for until the outermost session ends,
  // which then lays out once through LayoutSession().
  class TLayoutSession {
   public:
    explicit TLayoutSession(TGadgetWindow& window);
    ~TLayoutSession();
    TLayoutSession(const TLayoutSession&) = delete;
    TLayoutSession& operator=(const TLayoutSession&) = delete;

   private:
    TGadgetWindow& window_;
  };

  // Takes ownership of font; null gives a TGadgetWindowFont of 8 points. Horizontal windows
  // start shrink-wrapping their height, vertical ones their width; margins start at 0.
  explicit TGadgetWindow(TWindow* parent = nullptr, TTileDirection direction = Horizontal,
                         TFont* font = nullptr, TModule* module = nullptr);
  ~TGadgetWindow() override;

  // A shrink-wrapped window takes its desired size before its handle is made.
  bool Create() override;

  TTileDirection GetDirection() const { return direction_; }
  virtual void SetDirection(TTileDirection direction);

  // List changes lay the gadgets out again, at once or at the end of the current session.
  void Insert(TGadget& gadget, TPlacement placement = After, TGadget* sibling = nullptr) override;
  void InsertFrom(TGadgetList& list, TPlacement placement = After,
                  TGadget* sibling = nullptr) override;
  TGadget* Remove(TGadget& gadget) override;

  // Cels that button gadgets made with a shared glyph draw from; the window owns them.
  void SetCelArray(TCelArray* cels);
  TCelArray* GetCelArray() const { return cels_.get(); }

  // Idle time: at count 0 a gadget the pointer left unseen gets its MouseLeave; then every
  // gadget's IdleAction (command enabling at count 0), then the child windows'.
  bool IdleAction(long idleCount) override;

  // With a handle: resizes a shrink-wrapped window to its desired size, then lays out.
  virtual void LayoutSession();
  // Margins, borders (WS_BORDER) and, along each shrink-wrapped dimension, the gadgets' desired
  // sizes: their sum along the tiling direction, the largest across it. A dimension that is not
  // shrink-wrapped keeps the window's current extent.
  virtual void GetDesiredSize(TSize& size);

  const TMargins& GetMargins() const { return margins_; }
  void SetMargins(const TMargins& margins);
  void SetShrinkWrap(bool width, bool height);
  bool GetShrinkWrapWidth() const { return shrinkWrapWidth_; }
  bool GetShrinkWrapHeight() const { return shrinkWrapHeight_; }

  TFont& GetFont() const { return *font_; }
  // Takes ownership; null restores the default font.
  void SetFont(TFont* font);
  // The font's cell height in pixels, which layout units are eighths of.
  int GetFontHeight() const;
  int LayoutUnitsToPixels(int units) const;

  THintMode GetHintMode() const { return hintMode_; }
  void SetHintMode(THintMode mode) { hintMode_ = mode; }
  // Gadgets report the command whose hint should show, or -1 for none. The default only
  // remembers it; windows that show hints override this.
  virtual void SetHintCommand(int id);
  int GetHintCommand() const { return hintCommand_; }

  // The first visible gadget under a client point, or null.
  TGadget* GadgetFromPoint(const TPoint& point) const;
  // The gadget the pointer is over (the one that got MouseEnter), or null.
  TGadget* GetMouseGadget() const { return atMouse_; }
  // The gadget that holds the mouse, or null.
  TGadget* GetCaptureGadget() const { return capture_; }
  // Gives the mouse to a gadget until it releases it: every move and the release go to it.
  // False when another gadget holds it.
  bool GadgetSetCapture(TGadget& gadget);
  void GadgetReleaseCapture(TGadget& gadget);
  // A gadget's desired size changed: lay out again (or at the end of the session).
  void GadgetChangedSize(TGadget& gadget);

  // Paints each visible gadget whose bounds touch rect, in its own coordinates.
  virtual void PaintGadgets(TDC& dc, bool erase, TRect& rect);
  // The client area less the margins.
  virtual void GetInnerRect(TRect& rect);
  // Tiles the gadgets and invalidates the areas of those that moved.
  virtual void LayoutGadgets();
  // Gives every visible gadget its bounds inside the inner rectangle and answers the area
  // they cover. Horizontal: left to right, each at its desired width and centred across;
  // vertical: top to bottom likewise. Wide-as-possible gadgets share the room left over
  // (the first ones get the odd pixels).
  virtual TRect TileGadgets();

  const TResponseTable& GetResponseTable() const override;

 protected:
  void Inserted(TGadget& gadget) override;
  void Removed(TGadget& gadget) override;
  // Called before each gadget is placed, with where it would go; may move that point.
  virtual void PositionGadget(TGadget* previous, TGadget* next, TPoint& point);

  void SetupWindow() override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  void EvSize(UINT sizeType, const TSize& size) override;
  void EvWindowPosChanging(WINDOWPOS& pos) override;
  void EvMouseMove(UINT modKeys, const TPoint& point) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
  void EvLButtonUp(UINT modKeys, const TPoint& point) override;
  // A double click presses the gadget again, like a second click.
  void EvLButtonDblClk(UINT modKeys, const TPoint& point) override;
  void EvCaptureChanged(HWND newCapture) override;
  // Commands this window's table does not handle go on to the parent window (sent, so the
  // parent handles them while this window is still on the stack: it must not delete it).
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;
  void EvSysColorChange(WPARAM, LPARAM);

 private:
  // Lays out now, or marks it for the end of the session.
  void RequestLayout();
  // Sends MouseLeave and MouseEnter as the pointer crosses gadgets.
  void TrackMouseAt(UINT modKeys, const TPoint& point);
  // The gadget lost the mouse to another window: it sees the pointer leave and the button go
  // up outside it.
  void CancelCapture();
  int SystemBorder() const;

  TTileDirection direction_;
  std::unique_ptr<TFont> font_;
  mutable int fontHeight_ = -1;
  TMargins margins_;
  bool shrinkWrapWidth_ = false;
  bool shrinkWrapHeight_ = false;
  THintMode hintMode_ = EnterHints;
  int hintCommand_ = -1;
  std::unique_ptr<TCelArray> cels_;
  TGadget* atMouse_ = nullptr;
  TGadget* capture_ = nullptr;
  bool hadCaptureBefore_ = false;  // the window held the mouse before the gadget took it
  int sessionDepth_ = 0;
  bool layoutPending_ = false;
};

}  // namespace quill
