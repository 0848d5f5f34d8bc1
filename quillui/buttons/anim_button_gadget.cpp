#include "quillui/buttons/anim_button_gadget.h"

#include <algorithm>
#include <utility>

#include "quillui/app/app_info.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/art_dir.h"
#include "quillui/app/ini_changed.h"
#include "quillui/buttons/button_animator.h"
#include "quillui/buttons/button_settings.h"
#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/cel_array.h"
#include "quillui/framework/image/dib.h"
#include "quillui/imaging/background.h"
#include "quillui/imaging/bitmap_manager.h"
#include "quillui/navigation/dispatch.h"
#include "quillui/profile/paths.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/sound/play_sound.h"
#include "quillui/testing/buttons.h"

namespace quill {

uint32_t ZAnimButtonGadget::dwLoadTime = 0;
uint32_t ZAnimButtonGadget::dwConvertTime = 0;

namespace {

struct SoundSwitch {
  bool dirty = true;
  bool on = false;
  int iniHook = 0;  // the settings-change hook, registered by the first button
};

SoundSwitch& Sounds() {
  static SoundSwitch state;
  return state;
}

void RegisterIniHook() {
  if (Sounds().iniHook == 0) {
    Sounds().iniHook =
        AddIniChangedHook(eINI_STAGE_BUTTONS, [] { ZAnimButtonGadget::NotifyIniChanged(); });
  }
}

bool HasFolder(const std::string& name) {
  return name.find('/') != std::string::npos || name.find('\\') != std::string::npos;
}

// The base name of a path without folder and extension: "C:\art\pbnext.bmp" gives "pbnext".
std::string ShortName(const std::string& file) {
  const size_t slash = file.find_last_of("\\/");
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = file.find_last_of('.');
  if (dot == std::string::npos || dot < start) return file.substr(start);
  return file.substr(start, dot - start);
}

std::unique_ptr<TDib> ReadFile(const std::string& path) {
  if (path.empty()) return nullptr;
  return ReadBmpFile(path).dib;
}

}  // namespace

ZAnimButtonGadget::ZAnimButtonGadget(const char* fileName, int id, const char* extraName,
                                     int numCels, bool allowSmall, bool notifyPressMoves)
    : ZVexButtonGadget(TResId(id), id, Command, true, Up),
      fileName_(fileName ? fileName : ""),
      extraName_(extraName ? extraName : ""),
      numCels_(numCels),
      allowSmall_(allowSmall ? 1 : 0),
      notifyPressMoves_(notifyPressMoves) {
  // The cels are the whole button: no bevel or margin around them, so the gadget is exactly a
  // cel wide, as the keying of its strip takes it to be.
  SetBorderStyle(None);
  SetMargins(TMargins(TMargins::Pixels, 0, 0, 0, 0));
  RegisterIniHook();
  UpdateStateFromIni();
  shortName_ = ShortName(fileName_);
  BuildCelArray();
}

ZAnimButtonGadget::~ZAnimButtonGadget() = default;

std::string ZAnimButtonGadget::BuildFullPathFileName(const std::string& name) {
  const std::string& dir = ButtonsDirectory();
  std::string path = name.find('\\') == std::string::npos && !dir.empty() ? dir + name : name;
  replaceCDPath(path);
  return path;
}

std::unique_ptr<TDib> ZAnimButtonGadget::LoadStrip() {
  ZBitmapManager manager;
  auto dib = manager.load_bitmap(fileName_.c_str(), "buttons", nullptr);
  // The library's own strips lie in the art directory.
  if (!dib && !fileName_.empty() && !HasFolder(fileName_)) dib = ReadFile(FindArtFile(fileName_));
  if (dib) return dib;
  fileName_ = BuildFullPathFileName("pbfullsc.bmp");
  dib = manager.load_bitmap(fileName_.c_str(), "buttons", nullptr);
  if (!dib) dib = ReadFile(fileName_);
  if (!dib) dib = ReadFile(FindArtFile("pbfullsc.bmp"));
  return dib;
}

void ZAnimButtonGadget::BuildCelArray() {
  const std::string kept = fileName_;
  std::unique_ptr<TDib> strip = LoadStrip();
  if (!strip) {
    const std::string message = "Invalid button: " + kept;
    reporter(message.c_str(), "Error", eREPORT_LOG, "BUTTONS", __LINE__);
    fileName_ = kept;
    celArray_.reset();
    memory_.reset();
    bitmap_.reset();
    // Without a picture there is nothing to key: later paints do not load again.
    needsBackground_ = false;
    return;
  }
  celArray_.reset();
  memory_.reset();
  bitmap_.reset();
  if (TGadgetWindow* window = GetGadgetWindow()) {
    BluescreenBackground(*window, *this, *strip, numCels_, fileName_, keyColor_);
    needsBackground_ = false;
  }
  SetStrip(std::move(strip));

  const int count = GetCelArray() ? GetCelArray()->NumCels() : 0;
  const int last = count > 0 ? count - 1 : 0;
  const int desired = DesiredPressedCelIndex();
  nPressedCelIndex = desired != -1 && desired <= last ? desired : last;
  if (GetAppMemoryLevel() <= 1 && allowSmall_) BuildSmallCelArray();
}

void ZAnimButtonGadget::SetStrip(std::unique_ptr<TDib> strip) {
  memory_.reset();  // it holds the old bitmap
  if (!strip) {
    celArray_.reset();
    bitmap_.reset();
    return;
  }
  bitmap_ = std::make_unique<TBitmap>(*strip, GetAppPalette());
  celArray_ = std::make_unique<TCelArray>(std::move(strip), numCels_);
}

void ZAnimButtonGadget::BuildSmallCelArray() {
  TCelArray* cels = GetCelArray();
  if (!cels) {
    reporter("CelArray", "Assertion failed", eREPORT_LOG, "BUTTONS", __LINE__);
    return;
  }
  if (cels->NumCels() <= 3) return;
  const TDib& from = *cels->GetDib();
  const TSize cel = cels->CelSize();
  auto small = std::make_unique<TDib>(cel.cx * 3, cel.cy, from.BitsPerPixel(), from.NumColors());
  if (!small->IsOK()) return;
  for (int i = 0; i < from.NumColors(); ++i) small->SetColor(i, from.GetColor(i));
  const int sources[3] = {0, 1, ClampCel(nPressedCelIndex)};
  for (int slot = 0; slot < 3; ++slot) {
    const TPoint at = cels->CelOffset(sources[slot]);
    for (int y = 0; y < cel.cy; ++y)
      for (int x = 0; x < cel.cx; ++x)
        small->SetPixelIndex(slot * cel.cx + x, y, from.GetPixelIndex(at.x + x, at.y + y));
  }
  numCels_ = 3;
  nPressedCelIndex = 2;
  SetStrip(std::move(small));
}

int ZAnimButtonGadget::ClampCel(int cel) const {
  const TCelArray* cels = GetCelArray();
  const int count = cels ? cels->NumCels() : 0;
  if (count <= 0) return 0;
  return std::clamp(cel, 0, count - 1);
}

int ZAnimButtonGadget::CelToPaint() const {
  int cel = 0;
  if (animIndex_ != 0)
    cel = animIndex_;
  else if (IsPressed())
    cel = 2;
  else if (hover_)
    cel = 1;
  return ClampCel(cel);
}

void ZAnimButtonGadget::GetDesiredSize(TSize& size) {
  if (!GetCelArray()) BuildCelArray();
  int left = 0, right = 0, top = 0, bottom = 0;
  GetOuterSizes(left, right, top, bottom);
  const TSize cel = GetCelArray() ? GetCelArray()->CelSize() : TSize();
  size = TSize(left + right + cel.cx, top + bottom + cel.cy);
}

void ZAnimButtonGadget::Paint(TDC& dc) {
  if (needsBackground_) BuildCelArray();
  if (!GetCelArray() || !bitmap_) return;
  if (GetEnabled()) {
    PaintCel(dc, CelToPaint());
    return;
  }
  // A button its host disabled shows its normal cel greyed.
  PaintCel(dc, 0);
  TRect inner;
  GetInnerRect(inner);
  GreyPixels(dc, TRect(inner.TopLeft(), GetCelArray()->CelSize()));
}

void ZAnimButtonGadget::PaintCel(TDC& dc, int cel) {
  TRect inner;
  GetInnerRect(inner);
  PaintCel(dc, cel, inner.TopLeft());
}

void ZAnimButtonGadget::PaintCel(TDC& dc, int cel, TPoint at) {
  const TCelArray* cels = GetCelArray();
  if (!cels || !bitmap_ || !bitmap_->IsOK()) return;
  const TRect from = cels->CelRect(ClampCel(cel));
  if (from.IsEmpty()) return;
  TPalette* palette = GetAppPalette();
  TPalette* previous = dc.SelectPalette(palette, false);
  dc.RealizePalette();
  if (!memory_) memory_ = std::make_unique<TMemoryDC>(*bitmap_);
  // Selected on each paint: the palette may have been released and made again since.
  memory_->SelectPalette(palette, false);
  dc.BitBlt(at.x, at.y, from.Width(), from.Height(), *memory_, from.left, from.top, SRCCOPY);
  dc.SelectPalette(previous, false);
}

void ZAnimButtonGadget::Invalidate() { TGadget::Invalidate(false); }

void ZAnimButtonGadget::Moved() {
  ZVexButtonGadget::Moved();
  if (keyColor_ == TColor::Transparent) needsBackground_ = true;
  TGadgetWindow* window = GetGadgetWindow();
  if (window && window->IsWindow()) window->Invalidate(true);
}

void ZAnimButtonGadget::MouseEnter(UINT modKeys, const TPoint& point) {
  ZVexButtonGadget::MouseEnter(modKeys, point);
  hover_ = 1;
  Invalidate();
}

void ZAnimButtonGadget::MouseLeave(UINT modKeys, const TPoint& point) {
  ZVexButtonGadget::MouseLeave(modKeys, point);
  hover_ = 0;
  Invalidate();
}

void ZAnimButtonGadget::MouseMove(UINT modKeys, const TPoint& point) {
  TGadgetWindow* window = GetGadgetWindow();
  if (notifyPressMoves_ && window && window->IsWindow()) {
    const bool inside = PtIn(point);
    if (inside && !IsPressed())
      window->PostMessage(kPressMoveIn, WPARAM(GetId()), 0);
    else if (!inside && IsPressed())
      window->PostMessage(kPressMoveOut, WPARAM(GetId()), 0);
  }
  ZVexButtonGadget::MouseMove(modKeys, point);
}

void ZAnimButtonGadget::BeginPressed(const TPoint& point) {
  Invalidate();
  PlayMouseDownSound();
  ZVexButtonGadget::BeginPressed(point);
  if (fireOnPress_) LButtonUp(0, point);
}

void ZAnimButtonGadget::CancelPressed(const TPoint& point) {
  Invalidate();
  ZVexButtonGadget::CancelPressed(point);
}

void ZAnimButtonGadget::Activate(const TPoint& point) {
  if (numCels_ < 4) {
    ZVexButtonGadget::Activate(point);
  } else {
    animIndex_ = 3;
    // Without a bar's timer nothing would show the later cels or send the command: such a
    // button behaves as one whose animation was refused.
    auto* animator = dynamic_cast<ZButtonAnimator*>(GetGadgetWindow());
    if (!animator || !animator->RequestAnimating(*this, 1)) animIndex_ = numCels_ - 1;
    PaintAnimCell();
  }
  PlayMouseUpSound();
  if (ButtonTracking()) LogTrackingInformation("Button pressed: " + build_key());
}

void ZAnimButtonGadget::EvTimer(UINT) { PaintAnimCell(); }

void ZAnimButtonGadget::PaintAnimCell() {
  Invalidate();
  Update();
  if (animIndex_ == 0) return;
  if (++animIndex_ < numCels_) return;
  animIndex_ = 0;
  if (auto* animator = dynamic_cast<ZButtonAnimator*>(GetGadgetWindow()))
    animator->RequestAnimating(*this, 0);
  ZVexButtonGadget::Activate(TPoint(5, 5));
}

void ZAnimButtonGadget::EnableSounds(bool on) { Sounds().on = on; }

bool ZAnimButtonGadget::SoundsEnabled() { return Sounds().on; }

void ZAnimButtonGadget::UpdateStateFromIni() {
  if (!Sounds().dirty) return;
  Sounds().on = ZProfile().GetBool("Prefs", "ButtonSounds", false);
  Sounds().dirty = false;
}

void ZAnimButtonGadget::NotifyIniChanged() {
  Sounds().dirty = true;
  UpdateStateFromIni();
}

void ZAnimButtonGadget::PlayMouseDownSound() { PlaySound("ClickSound"); }

void ZAnimButtonGadget::PlayMouseUpSound() { PlaySound("Sound"); }

void ZAnimButtonGadget::PlaySound(const char* attributeName) {
  const std::string& dir = ButtonSoundsDirectory();
  if (!Sounds().on) return;
  std::string value = attribute(attributeName);
  if (value.empty()) return;
  unsigned flags = SND_ASYNC;
  if (value.back() == '!') {
    value.pop_back();
    flags = SND_SYNC;
  }
  std::string path = dir + value;
  replaceCDPath(path);
  pyxPlaySound(path.c_str(), flags);
}

void ResetButtonStatics() {
  ForgetButtonSettings();
  if (Sounds().iniHook != 0) RemoveIniChangedHook(Sounds().iniHook);
  Sounds() = SoundSwitch();
}

}  // namespace quill
