// ZAnimButtonGadget: a bitmap button drawn from a strip of equal cels (normal, under the mouse,
// pressed, then the frames of a click animation), keyed onto its bar's background, with
// click sounds and a command sent when the animation has played.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "quillui/buttons/vex_button_gadget.h"
#include "quillui/framework/base/color.h"

namespace quill {

class TBitmap;
class TDC;
class TDib;
class TMemoryDC;

class ZAnimButtonGadget : public ZVexButtonGadget {
 public:
  // Message posted to the window (wParam the id) while notify press moves is on: the mouse came
  // back inside the pressed button, or left it.
  static constexpr UINT kPressMoveIn = 0x0635;   // 1589
  static constexpr UINT kPressMoveOut = 0x0636;  // 1590

  // A command button with the id as glyph and command, enabled and up, without a border. The
  // strip is loaded at once; a strip that cannot be had leaves the button without cels.
  ZAnimButtonGadget(const char* fileName, int id, const char* extraName, int numCels,
                    bool allowSmall, bool notifyPressMoves);
  ~ZAnimButtonGadget() override;

  // The path of a button bitmap: a name without a folder goes into [Directories] "Buttons".
  static std::string BuildFullPathFileName(const std::string& name);

  // Loads the strip (the bitmap manager's "buttons", then the art directory, then
  // "pbfullsc.bmp" of the buttons' folder), keys it onto the window's background when on
  // one, and cuts it into cels. Reports "Invalid button: <file>" when nothing loads.
  void BuildCelArray() override;
  // Keeps cels 0, 1 and the pressed cel: the button loses its animation.
  void BuildSmallCelArray();

  void GetDesiredSize(TSize& size) override;
  // The cel for the state: the animation frame, else pressed (2), hover (1), normal (0);
  // never past the strip's last cel.
  void Paint(TDC& dc) override;
  // The whole button, without erasing: the cel covers it.
  void Invalidate();
  // The picture is keyed again at its new place when the bar is transparent.
  void Moved() override;
  void SysColorChange() override {}
  void CommandEnable() override {}

  void MouseEnter(UINT modKeys, const TPoint& point) override;
  void MouseLeave(UINT modKeys, const TPoint& point) override;
  void MouseMove(UINT modKeys, const TPoint& point) override;
  void BeginPressed(const TPoint& point) override;
  void CancelPressed(const TPoint& point) override;
  // Released inside: a strip of fewer than 4 cels sends the command at once; a longer one
  // shows cel 3 and asks the bar's timer for the rest, sending the command with the last
  // cel. Refused, or on a window without a timer, it shows the last cel and sends at once.
  void Activate(const TPoint& point) override;
  // One animation step from the bar's timer.
  void EvTimer(UINT timerId);
  // Shows the current frame now and moves to the next; after the last, sends the command.
  void PaintAnimCell();

  bool IsOK() const { return GetCelArray() != nullptr; }
  std::string get_token() const override { return shortName_; }

  const std::string& GetFileName() const { return fileName_; }
  const std::string& GetExtraName() const { return extraName_; }
  int GetNumCels() const { return numCels_; }
  int GetAnimationIndex() const { return animIndex_; }
  int GetPressedCelIndex() const { return nPressedCelIndex; }
  bool GetHover() const { return hover_ != 0; }
  // The cel Paint draws now.
  int CelToPaint() const;
  // The colour the picture's key becomes: TColor::Transparent for the background under it.
  void SetKeyColor(TColor color) { keyColor_ = color; }
  TColor GetKeyColor() const { return keyColor_; }
  bool NeedsBackground() const { return needsBackground_; }

  // [Prefs] "ButtonSounds" switches the click sounds; read by the first button and again
  // after every settings change (NotifyIniChanged).
  static void EnableSounds(bool on);
  static bool SoundsEnabled();
  static void UpdateStateFromIni();
  static void NotifyIniChanged();
  void PlayMouseDownSound();
  void PlayMouseUpSound();

  // Counters kept for hosts that time the loading; the library does not change them.
  static uint32_t dwLoadTime;
  static uint32_t dwConvertTime;

 protected:
  // Copies cel to the DC at the gadget's origin (or at) through the application palette.
  void PaintCel(TDC& dc, int cel);
  void PaintCel(TDC& dc, int cel, TPoint at);
  // The strip's cel that paints: cel, or the last one when the strip has fewer.
  int ClampCel(int cel) const;
  // Loads the picture as BuildCelArray does; null when there is none.
  std::unique_ptr<TDib> LoadStrip();
  void SetStrip(std::unique_ptr<TDib> strip);

  bool needsBackground_ = true;
  std::unique_ptr<TBitmap> bitmap_;  // the cels as screen pixels, drawn by Paint
  // A context holding bitmap_ with the application palette, kept so a paint is one transfer.
  std::unique_ptr<TMemoryDC> memory_;

 private:
  void PlaySound(const char* attributeName);

  std::string fileName_;
  std::string shortName_;
  std::string extraName_;
  int hover_ = 0;
  int numCels_;
  int animIndex_ = 0;
  int fireOnPress_ = 0;
  int allowSmall_;
  TColor keyColor_ = TColor::Transparent;
  int nPressedCelIndex = -1;
  bool notifyPressMoves_;
};

}  // namespace quill
