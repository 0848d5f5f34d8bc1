// TDialog: a pop-up window built from a dialog template (its controls placed in dialog units of
// its font), run modally by Execute() or shown modelessly by Create(), with the classic keys.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "quillui/framework/base/resource.h"
#include "quillui/framework/dialogs/controls.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/framework/window/window.h"

namespace quill {

class TModule;
struct TModalQuestion;
struct TModalAnswer;

// Dialog styles.
inline constexpr uint32_t DS_SETFONT = 0x0040;
inline constexpr uint32_t DS_MODALFRAME = 0x0080;
inline constexpr uint32_t DS_CENTER = 0x0800;
inline constexpr uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;  // a border and a title bar
inline constexpr uint32_t WS_SYSMENU = 0x00080000;

// Which way TransferData moves the controls' data.
enum TTransferDirection { tdGetData, tdSetData };

// Pixels of a rectangle in dialog units: x * avgWidth / 4 and y * height / 8 for each edge,
// rounding toward zero.
TRect DialogUnitsToPixels(const TRect& units, int aveCharWidth, int charHeight);

// The pixel size of a font described by a point size on the framework's 96-dpi screen.
TFont DialogFont(const std::string& face, int pointSize);

class TDialog : public TWindow {
 public:
  // From the module's dialog resource of that name (the parent's module when null).
  TDialog(TWindow* parent, const char* resourceName, TModule* module = nullptr);
  // From a template held by the caller.
  TDialog(TWindow* parent, const TDialogTemplate& dialogTemplate, TModule* module = nullptr);
  ~TDialog() override;

  // Builds the window and its controls from the template. False when there is no template.
  bool Create() override;
  // Asks the answer hook first; otherwise creates the dialog, runs it modally and destroys it.
  // Answers the result given to CloseWindow()/EndDialog(), IDCANCEL when the loop cannot go
  // on (nothing left that could close it), or -1 when the dialog could not be made.
  int Execute();
  bool IsModal() const { return modal_; }

  // Validates (CanClose), takes the data from the controls, then ends with retVal. OK does
  // this; Cancel ends with IDCANCEL; another push button of a modal dialog ends with its id.
  void CloseWindow(int retVal = IDOK) override;
  // A modal dialog ends its loop with retVal (the window goes when Execute returns); a
  // modeless one is destroyed.
  void Destroy(int retVal = IDCANCEL) override;
  void EndDialog(int retVal) { Destroy(retVal); }

  // Data exchange with the controls; SetupWindow sets, CloseWindow gets. Nothing by default.
  virtual void TransferData(TTransferDirection direction) {}

  const std::string& GetResourceName() const { return resourceName_; }
  // The template, or null when the resource was not found.
  const TDialogTemplate* GetTemplate() const { return template_ ? &*template_ : nullptr; }
  const TFont& GetDialogFont() const { return font_; }
  // Dialog units to client pixels with this dialog's font.
  TRect MapDialogRect(const TRect& units) const;
  // Height of the title bar drawn at the top of the client area (0 without WS_CAPTION).
  int CaptionHeight() const;
  // Where the template's client area begins in the window's client area.
  TPoint ContentOrigin() const;

  TWindow* GetDlgItem(int id) const { return ChildWithId(id); }
  std::string GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const std::string& text);
  // The push button that Enter presses: the default one, else the one with id IDOK.
  TButton* DefaultButton() const;
  // Moves the focus to the next (or previous) enabled, visible control with WS_TABSTOP.
  void NextTabStop(bool backwards);

  // Enter, Escape, Tab and mnemonics for messages to this dialog or its controls.
  bool PreProcessMsg(MSG& msg) override;

 protected:
  void SetupWindow() override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;
  void EvClose() override;
  void EvSetFocus(HWND lostFocus) override;
  // The size in pixels of the area the controls live in (the template's, by default).
  virtual TSize ContentSize() const;
  // Makes the controls, placed from origin (ContentOrigin()); by default the template's items.
  virtual void BuildControls(const TPoint& origin);
  // Builds the control of one template item; override to make other kinds.
  virtual TWindow* CreateItem(const TDialogItemTemplate& item, const TRect& pixels);
  // The question the answer hook is asked by Execute().
  virtual void DescribeQuestion(TModalQuestion& question) const;
  // Told the answer when the hook answered in the dialog's place.
  virtual void TakeAnswer(const TModalAnswer& answer) {}
  // Windows to disable while the dialog runs modally: the owner's top-level window.
  virtual std::vector<TWindow*> WindowsToDisable() const;

 private:
  void Init(TWindow* parent);
  TWindow* FocusedChild() const;
  bool PressMnemonic(UINT key);
  int RunModalLoop();
  // Hides the dialog and gives the keys back to the windows it disabled.
  void FinishModal();

  std::string resourceName_;
  std::optional<TDialogTemplate> template_;
  TFont font_;
  TTextMetric metrics_;
  bool built_ = false;
  bool modal_ = false;
  bool ended_ = false;
  int result_ = 0;
  std::vector<HWND> disabled_;
  HWND prevActive_ = nullptr;
  HWND prevFocus_ = nullptr;
};

}  // namespace quill
