// Small controls drawn by the framework for dialogs: static text, push buttons and single-line
// edit fields, with focus, keyboard and mouse. They notify their parent with WM_COMMAND.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "quillui/framework/gdi/font.h"
#include "quillui/framework/window/window.h"

namespace quill {

// Dialog results and the standard command ids.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Control styles (low bits are the control's own).
inline constexpr uint32_t SS_LEFT = 0x0000;
inline constexpr uint32_t SS_CENTER = 0x0001;
inline constexpr uint32_t SS_RIGHT = 0x0002;
inline constexpr uint32_t SS_NOPREFIX = 0x0080;
inline constexpr uint32_t BS_PUSHBUTTON = 0x0000;
inline constexpr uint32_t BS_DEFPUSHBUTTON = 0x0001;
inline constexpr uint32_t ES_LEFT = 0x0000;
inline constexpr uint32_t ES_AUTOHSCROLL = 0x0080;

// Notification codes (high word of WM_COMMAND's wParam).
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT EN_CHANGE = 0x0300;

// More WM_GETDLGCODE answers.
inline constexpr UINT DLGC_HASSETSEL = 0x0008;
inline constexpr UINT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr UINT DLGC_UNDEFPUSHBUTTON = 0x0020;

// The face colours controls and dialogs are drawn in.
struct TControlColors {
  static TColor Face() { return TColor(192, 192, 192); }
  static TColor Highlight() { return TColor::White; }
  static TColor Shadow() { return TColor(128, 128, 128); }
  static TColor DarkShadow() { return TColor::Black; }
  static TColor Text() { return TColor::Black; }
  static TColor GrayText() { return TColor(128, 128, 128); }
  static TColor Selection() { return TColor(0, 0, 128); }
  static TColor SelectionText() { return TColor::White; }
  static TColor Window() { return TColor::White; }
};

// Draws a two-colour bevel on the outer pixels of r (top-left light, bottom-right dark).
void DrawBevel(TDC& dc, const TRect& r, TColor topLeft, TColor bottomRight);
// A dotted rectangle, as the focus is shown.
void DrawFocusRect(TDC& dc, const TRect& r);

// The base of the framework's controls: a child window with a font and a tab stop.
class TControl : public TWindow {
 public:
  TControl(TWindow* parent, int id, const char* text, int x, int y, int w, int h);

  void SetFont(const TFont& font, bool redraw = true);
  const TFont& GetFont() const;
  // The control's text (its caption); SetText repaints.
  virtual void SetText(const std::string& text);
  const std::string& GetText() const { return GetCaption(); }

 protected:
  // Sends WM_COMMAND (id, code) to the parent.
  void Notify(UINT code);
  LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::optional<TFont> font_;
};

class TStatic : public TControl {
 public:
  TStatic(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
          uint32_t style = SS_LEFT);

 protected:
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  UINT EvGetDlgCode(const MSG* msg) override;
  UINT EvNCHitTest(const TPoint& screenPoint) override;
};

class TButton : public TControl {
 public:
  TButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
          bool isDefault = false);

  bool IsDefault() const { return (Attr.Style & 0xF) == BS_DEFPUSHBUTTON; }
  void SetDefault(bool isDefault);
  bool IsPressed() const { return pressed_; }
  // As a click: notifies the parent with BN_CLICKED.
  void Click() { Notify(BN_CLICKED); }

 protected:
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  UINT EvGetDlgCode(const MSG* msg) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
  void EvLButtonDblClk(UINT modKeys, const TPoint& point) override;
  void EvMouseMove(UINT modKeys, const TPoint& point) override;
  void EvLButtonUp(UINT modKeys, const TPoint& point) override;
  void EvKeyDown(UINT key, UINT repeatCount, UINT flags) override;
  void EvKeyUp(UINT key, UINT repeatCount, UINT flags) override;
  void EvSetFocus(HWND lostFocus) override;
  void EvKillFocus(HWND getFocus) override;
  void EvCaptureChanged(HWND newCapture) override;

 private:
  void SetPressed(bool pressed);
  bool pressed_ = false;
  bool tracking_ = false;  // the mouse went down here and the button is captured
  bool spaceDown_ = false;
};

// A single-line edit field: typing, backspace and delete, a caret moved by the arrow keys,
// Home and End or a click, and a selection (all of it after focus by keyboard, or by
// Shift with the caret keys) that typing replaces. Scrolls sideways to keep the caret shown.
class TEdit : public TControl {
 public:
  TEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
        size_t textLimit = 4096);

  void SetText(const std::string& text) override;
  size_t GetCaretPos() const { return caret_; }
  // Selects [start, end) (clamped) and puts the caret at end.
  void SetSelection(size_t start, size_t end);
  void GetSelection(size_t& start, size_t& end) const;
  size_t GetTextLimit() const { return limit_; }

 protected:
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  UINT EvGetDlgCode(const MSG* msg) override;
  void EvChar(UINT key, UINT repeatCount, UINT flags) override;
  void EvKeyDown(UINT key, UINT repeatCount, UINT flags) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
  void EvSetFocus(HWND lostFocus) override;
  void EvKillFocus(HWND getFocus) override;
  // A new width shows as much of the text as fits from its start, the caret still in view.
  void EvSize(UINT sizeType, const TSize& size) override;

 private:
  void ReplaceSelection(const std::string& with);
  void MoveCaret(size_t pos, bool extend);
  size_t HitTest(int x) const;
  TRect TextRect() const;
  size_t caret_ = 0;
  size_t anchor_ = 0;  // the other end of the selection; equal to caret_ when none
  size_t limit_;
  int scroll_ = 0;  // pixels of text scrolled out on the left
};

}  // namespace quill
