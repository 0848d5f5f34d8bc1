// Message boxes: a caption, an icon, wrapped text and a row of buttons chosen by the classic
// type bits, drawn by the framework and run modally; the answer hook is asked first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quillui/framework/dialogs/dialog.h"

namespace quill {

// Buttons.
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_OKCANCEL = 0x0001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr UINT MB_YESNOCANCEL = 0x0003;
inline constexpr UINT MB_YESNO = 0x0004;
inline constexpr UINT MB_RETRYCANCEL = 0x0005;
inline constexpr UINT MB_TYPEMASK = 0x000F;
// Icons.
inline constexpr UINT MB_ICONHAND = 0x0010;
inline constexpr UINT MB_ICONSTOP = 0x0010;
inline constexpr UINT MB_ICONERROR = 0x0010;
inline constexpr UINT MB_ICONQUESTION = 0x0020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONWARNING = 0x0030;
inline constexpr UINT MB_ICONASTERISK = 0x0040;
inline constexpr UINT MB_ICONINFORMATION = 0x0040;
inline constexpr UINT MB_ICONMASK = 0x00F0;
// Default button.
inline constexpr UINT MB_DEFBUTTON1 = 0x0000;
inline constexpr UINT MB_DEFBUTTON2 = 0x0100;
inline constexpr UINT MB_DEFBUTTON3 = 0x0200;
inline constexpr UINT MB_DEFMASK = 0x0F00;
// Modality: application-modal disables the owner; task-modal every top-level window.
inline constexpr UINT MB_APPLMODAL = 0x0000;
inline constexpr UINT MB_SYSTEMMODAL = 0x1000;
inline constexpr UINT MB_TASKMODAL = 0x2000;
inline constexpr UINT MB_MODEMASK = 0x3000;
inline constexpr UINT MB_SETFOREGROUND = 0x00010000;
inline constexpr UINT MB_TOPMOST = 0x00040000;

// Shows text under caption (null: "Error") with the buttons and icon of type, owned by owner
// (null allowed); answers the id of the button chosen (IDOK, IDCANCEL, IDYES, IDNO, ...).
// When nothing can ever answer (a virtual clock and no input), answers IDCANCEL.
int MessageBox(HWND owner, const char* text, const char* caption, UINT type = MB_OK);
// The same; the language is accepted and not used (texts are the framework's own).
int MessageBoxExA(HWND owner, const char* text, const char* caption, UINT type,
                  uint16_t languageId);

// The box itself, for callers that want to place or inspect it.
class TMessageBox : public TDialog {
 public:
  TMessageBox(TWindow* owner, const char* text, const char* caption, UINT type);

  UINT GetType() const { return type_; }
  const std::string& GetText() const { return text_; }
  // The button ids of a type, left to right.
  static std::vector<int> ButtonIds(UINT type);
  // Where the icon and the text are drawn, in client coordinates.
  const TRect& IconRect() const { return iconRect_; }
  const TRect& TextRect() const { return textRect_; }

 protected:
  TSize ContentSize() const override;
  void BuildControls(const TPoint& origin) override;
  void SetupWindow() override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;
  void DescribeQuestion(TModalQuestion& question) const override;
  std::vector<TWindow*> WindowsToDisable() const override;

 private:
  struct Layout {
    TSize content;
    TRect icon;  // relative to the content origin; empty without an icon
    TRect text;
    int buttonW = 0;
    int buttonH = 0;
    int buttonGap = 0;
    int buttonsTop = 0;
  };
  Layout ComputeLayout() const;
  void DrawIcon(TDC& dc, const TRect& r) const;

  std::string text_;
  UINT type_;
  TRect iconRect_;
  TRect textRect_;
};

}  // namespace quill
