// TButtonGadget: a bevelled push button on a gadget window, with a glyph from a cel array,
// the press / cancel / activate cycle of the mouse, exclusive groups and command enabling.
#pragma once

#include <memory>
#include <string>

#include "quillui/framework/gadgets/gadget.h"
#include "quillui/framework/window/response_table.h"

namespace quill {

class TCelArray;
class TDib;

// A resource identifier: a number or a name.
class TResId {
 public:
  TResId() = default;
  TResId(int id) : id_(id) {}  // NOLINT: ids convert freely, as in resource calls
  TResId(const char* name) : isName_(name != nullptr), name_(name ? name : "") {}  // NOLINT

  bool IsString() const { return isName_; }
  int GetInt() const { return isName_ ? 0 : id_; }
  // The name, or null for a numeric id.
  const char* GetString() const { return isName_ ? name_.c_str() : nullptr; }

 private:
  bool isName_ = false;
  int id_ = 0;
  std::string name_;
};

// Gives what is drawn in rect (logical) the disabled look of a glyph without a disabled cel:
// dark ink in the shadow colour, the rest in the face colour. 8-bit targets only.
void GreyPixels(TDC& dc, const TRect& rect);

// Applies what a command's owner answers to a gadget with that command's id: enabled or
// greyed. A host asks with it for gadgets that take no part in command enabling themselves.
class TGadgetEnabler : public TCommandEnabler {
 public:
  TGadgetEnabler(TGadget& gadget, HWND receiver)
      : TCommandEnabler(UINT(gadget.GetId()), receiver), gadget_(gadget) {}
  void Enable(bool enable) override {
    TCommandEnabler::Enable(enable);
    gadget_.SetEnabled(enable);
  }

 private:
  TGadget& gadget_;
};

class TButtonGadget : public TGadget {
 public:
  enum TType { Command, Exclusive, NonExclusive, SemiExclusive };
  enum TState { Up, Down, Indeterminate };
  // Cels of a glyph array, in the classic order; a glyph with fewer cels falls back to the
  // normal one (drawn greyed when disabled).
  enum TGlyphCel { CelNormal, CelDisabled, CelIndeterm, CelDown, CelPressed };

  // The glyph is loaded when first needed (GetGlyphDib); with sharedGlyph it is cel
  // glyph.GetInt() of the window's cel array. As in the classic framework a button starts
  // disabled unless told otherwise: command enabling turns it on.
  TButtonGadget(TResId glyph, int id, TType type = Command, bool enabled = false, TState state = Up,
                bool sharedGlyph = false);
  // A button whose glyph cels are given (owned).
  TButtonGadget(std::unique_ptr<TCelArray> cels, int id, TType type = Command, bool enabled = false,
                TState state = Up);
  ~TButtonGadget() override;

  const TResId& GetResId() const { return glyph_; }
  TType GetButtonType() const { return type_; }
  void SetButtonType(TType type) { type_ = type; }
  TState GetButtonState() const { return state_; }
  void SetButtonState(TState state);
  // Shown pressed: the left button went down on it and the pointer is still over it.
  bool IsPressed() const { return pressed_; }

  TCelArray* GetCelArray() const { return celArray_.get(); }
  // Replaces the glyph cels (owned; null drops them).
  void SetCelArray(std::unique_ptr<TCelArray> cels);

  // Border and margins plus the cel size (the glyph is built first if there is none).
  void GetDesiredSize(TSize& size) override;
  // Asks the gadget window's parent (or the window itself without one) whether the command is
  // enabled and checked, and takes the answer.
  void CommandEnable() override;
  // Builds the glyph again, for the new system colours.
  void SysColorChange() override;
  // Face, bevel (sunk while pressed or down) and the glyph cel for the state.
  void Paint(TDC& dc) override;

  void MouseEnter(UINT modKeys, const TPoint& point) override;
  void MouseLeave(UINT modKeys, const TPoint& point) override;
  // While the button holds the mouse: leaving cancels the press, coming back presses again.
  void MouseMove(UINT modKeys, const TPoint& point) override;
  // Takes the mouse and presses the button.
  void LButtonDown(UINT modKeys, const TPoint& point) override;
  // Gives the mouse back; activates when the button is still shown pressed.
  void LButtonUp(UINT modKeys, const TPoint& point) override;

  // The glyph's bitmap for BuildCelArray, released through ReleaseGlyphDib: the bitmap
  // resource of the window's module named by the glyph id (a number by its decimal digits);
  // null when there is none or it does not decode.
  virtual TDib* GetGlyphDib();
  virtual void ReleaseGlyphDib(TDib* glyph);
  // Makes the cel array from the glyph (or the window's shared cels).
  virtual void BuildCelArray();
  virtual void BeginPressed(const TPoint& point);
  virtual void CancelPressed(const TPoint& point);
  // Changes the state for the type, pops the button up and, for an enabled button that is not
  // an exclusive one being released up, posts WM_COMMAND with its id to the gadget window.
  virtual void Activate(const TPoint& point);

 protected:
  // Sets this button down and pops up the other buttons of its exclusive group: the run of
  // adjacent exclusive (or semi-exclusive) buttons around it.
  void CheckExclusively();
  // The cel to draw for the current state; -1 when there is no glyph.
  int CurrentCel() const;

  std::unique_ptr<TCelArray> celArray_;

 private:
  TResId glyph_;
  TType type_;
  TState state_;
  bool sharedGlyph_ = false;
  bool pressed_ = false;
};

}  // namespace quill
