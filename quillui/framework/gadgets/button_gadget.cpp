#include "quillui/framework/gadgets/button_gadget.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "quillui/framework/base/module.h"
#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/screen.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/cel_array.h"
#include "quillui/framework/image/dib.h"

namespace quill {

namespace {

// The disabled look of a glyph that has no disabled cel: dark ink in the shadow colour, the
// rest in the face colour.
TColor Greyed(TColor c) {
  int luminance = (c.Red() * 30 + c.Green() * 59 + c.Blue() * 11) / 100;
  return luminance < 128 ? kGadgetShadowColor : kGadgetFaceColor;
}

// Copies src of the DIB to logical (x, y) of the DC, row by row, mapping each colour-table
// entry to the DC's index once per call. This is the one place a glyph reaches the pixels, so
// the DC's BitBlt can replace it.
void BlitCel(TDC& dc, const TDib& dib, TRect src, TPoint dst, bool greyed) {
  TRect image(0, 0, dib.Width(), dib.Height());
  TRect clipped = src & image;
  if (clipped.IsEmpty()) return;
  dst += clipped.TopLeft() - src.TopLeft();
  src = clipped;

  std::array<uint8_t, 256> map{};
  if (dib.IsIndexed()) {
    uint8_t black = dc.MapColor(greyed ? Greyed(TColor::Black) : TColor::Black);
    map.fill(black);
    for (int i = 0; i < std::min(dib.NumColors(), 256); ++i) {
      TColor c(dib.GetColor(i));
      map[size_t(i)] = dc.MapColor(greyed ? Greyed(c) : c);
    }
  }

  const TPixelTarget& t = dc.Target();
  if (!t.pixels) return;
  const TPoint origin = dc.GetOrigin();
  const TRect device = TRect(dst + origin, src.Size()) & TRect(0, 0, t.width, t.height);
  for (const TRect& clip : dc.GetClipRegion().Rects()) {
    TRect part = device & clip;
    if (part.IsEmpty()) continue;
    const int sx0 = src.left + (part.left - (dst.x + origin.x));
    for (int y = part.top; y < part.bottom; ++y) {
      const int sy = src.top + (y - (dst.y + origin.y));
      uint8_t* out = t.Row(y) + part.left;
      const int n = part.Width();
      if (dib.BitsPerPixel() == 8) {
        const uint8_t* in = dib.ScanLine(sy) + sx0;
        for (int i = 0; i < n; ++i) out[i] = map[in[i]];
      } else if (dib.IsIndexed()) {
        for (int i = 0; i < n; ++i)
          out[i] = map[uint8_t(std::max(dib.GetPixelIndex(sx0 + i, sy), 0))];
      } else {
        for (int i = 0; i < n; ++i) {
          TColor c = dib.GetPixelColor(sx0 + i, sy);
          out[i] = dc.MapColor(greyed ? Greyed(c) : c);
        }
      }
    }
    if (t.screen) t.screen->MarkDirty(part);
  }
}

// One cel of an array as a DIB of its own.
std::unique_ptr<TDib> CopyCel(const TCelArray& cels, int cel) {
  const TDib* from = cels.GetDib();
  TRect r = cels.CelRect(cel);
  if (!from || r.IsEmpty()) return nullptr;
  int bpp = from->BitsPerPixel();
  int colors = from->IsIndexed() ? from->NumColors() : 0;
  auto dib = std::make_unique<TDib>(r.Width(), r.Height(), bpp, colors);
  if (!dib->IsOK()) return nullptr;
  for (int i = 0; i < from->NumColors(); ++i) dib->SetColor(i, from->GetColor(i));
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      if (from->IsIndexed())
        dib->SetPixelIndex(x, y, from->GetPixelIndex(r.left + x, r.top + y));
      else
        dib->SetPixelColor(x, y, from->GetPixelColor(r.left + x, r.top + y));
    }
  return dib;
}

// Applies what the command's owner answers straight to the button, its check state too.
class TButtonGadgetEnabler : public TGadgetEnabler {
 public:
  TButtonGadgetEnabler(TButtonGadget& gadget, HWND receiver)
      : TGadgetEnabler(gadget, receiver), gadget_(gadget) {}

  void SetCheck(int state) override {
    TCommandEnabler::SetCheck(state);
    if (state >= TButtonGadget::Up && state <= TButtonGadget::Indeterminate)
      gadget_.SetButtonState(TButtonGadget::TState(state));
  }

 private:
  TButtonGadget& gadget_;
};

}  // namespace

void GreyPixels(TDC& dc, const TRect& rect) {
  const TPixelTarget& t = dc.Target();
  if (!t.pixels || t.bitsPerPixel != 8) return;
  // Each index's greyed colour, matched once for the call.
  std::array<uint8_t, 256> map{};
  for (int i = 0; i < 256; ++i) map[size_t(i)] = dc.MapColor(Greyed(dc.IndexColor(uint8_t(i))));
  const TPoint origin = dc.GetOrigin();
  const TRect device = TRect(rect.TopLeft() + origin, rect.Size()) & TRect(0, 0, t.width, t.height);
  for (const TRect& clip : dc.GetClipRegion().Rects()) {
    const TRect part = device & clip;
    if (part.IsEmpty()) continue;
    for (int y = part.top; y < part.bottom; ++y) {
      uint8_t* row = t.Row(y) + part.left;
      for (int x = 0; x < part.Width(); ++x) row[x] = map[row[x]];
    }
    if (t.screen) t.screen->MarkDirty(part);
  }
}

TButtonGadget::TButtonGadget(TResId glyph, int id, TType type, bool enabled, TState state,
                             bool sharedGlyph)
    : TGadget(id, Raised),
      glyph_(std::move(glyph)),
      type_(type),
      state_(state),
      sharedGlyph_(sharedGlyph) {
  SetMargins(TMargins(TMargins::Pixels, 1, 1, 1, 1));
  SetShrinkWrap(true, true);
  SetTrackMouse(true);
  SetEnabled(enabled);
}

TButtonGadget::TButtonGadget(std::unique_ptr<TCelArray> cels, int id, TType type, bool enabled,
                             TState state)
    : TButtonGadget(TResId(), id, type, enabled, state) {
  celArray_ = std::move(cels);
}

TButtonGadget::~TButtonGadget() = default;

void TButtonGadget::SetButtonState(TState state) {
  if (state == state_) return;
  state_ = state;
  Invalidate();
}

void TButtonGadget::SetCelArray(std::unique_ptr<TCelArray> cels) {
  celArray_ = std::move(cels);
  if (GetGadgetWindow()) GetGadgetWindow()->GadgetChangedSize(*this);
  Invalidate();
}

void TButtonGadget::GetDesiredSize(TSize& size) {
  TGadget::GetDesiredSize(size);
  if (!celArray_) BuildCelArray();
  if (!celArray_ || !celArray_->IsOK()) return;
  TSize cel = celArray_->CelSize();
  if (GetShrinkWrapWidth()) size.cx += cel.cx;
  if (GetShrinkWrapHeight()) size.cy += cel.cy;
}

TDib* TButtonGadget::GetGlyphDib() {
  TGadgetWindow* w = GetGadgetWindow();
  TModule* module = w ? w->GetModule() : nullptr;
  if (!module) return nullptr;
  std::string name = glyph_.IsString() ? glyph_.GetString() : std::to_string(glyph_.GetInt());
  const TBitmapResource* bitmap = module->Resources().FindBitmap(name);
  if (!bitmap) return nullptr;
  return ReadBmp(bitmap->bmp).dib.release();
}

void TButtonGadget::ReleaseGlyphDib(TDib* glyph) { delete glyph; }

void TButtonGadget::BuildCelArray() {
  if (sharedGlyph_) {
    TGadgetWindow* w = GetGadgetWindow();
    if (!w || !w->GetCelArray()) return;
    if (auto dib = CopyCel(*w->GetCelArray(), glyph_.GetInt()))
      celArray_ = std::make_unique<TCelArray>(std::move(dib), 1);
    return;
  }
  TDib* glyph = GetGlyphDib();
  if (!glyph) return;
  if (glyph->IsOK()) celArray_ = std::make_unique<TCelArray>(*glyph, 1);
  ReleaseGlyphDib(glyph);
}

void TButtonGadget::SysColorChange() {
  celArray_.reset();
  BuildCelArray();
  Invalidate();
}

void TButtonGadget::CommandEnable() {
  TGadgetWindow* w = GetGadgetWindow();
  if (!w || !w->IsWindow()) return;
  TButtonGadgetEnabler ce(*this, w->GetHandle());
  TWindow* parent = w->GetParentO();
  TWindow* start = parent && parent->IsWindow() ? parent : w;
  start->RouteCommandEnable(ce);
}

int TButtonGadget::CurrentCel() const {
  if (!celArray_ || !celArray_->IsOK()) return -1;
  const int n = celArray_->NumCels();
  auto orNormal = [n](int cel) { return cel < n ? cel : int(CelNormal); };
  if (!GetEnabled()) return orNormal(CelDisabled);
  if (state_ == Indeterminate) return orNormal(CelIndeterm);
  if (pressed_) return n > CelPressed ? int(CelPressed) : orNormal(CelDown);
  if (state_ == Down) return orNormal(CelDown);
  return CelNormal;
}

void TButtonGadget::Paint(TDC& dc) {
  const TRect& b = GetBounds();
  const TBorders& borders = GetBorders();
  dc.FillRect({borders.Left, borders.Top, b.Width() - borders.Right, b.Height() - borders.Bottom},
              kGadgetFaceColor);
  const bool sunk = pressed_ || state_ == Down;
  TBorderStyle style = GetBorderStyle();
  if (sunk && style == Raised) style = Recessed;
  PaintBorderStyle(dc, style);

  if (!celArray_) BuildCelArray();
  int cel = CurrentCel();
  if (cel < 0) return;
  TRect inner;
  GetInnerRect(inner);
  TSize size = celArray_->CelSize();
  TPoint at(inner.left + (inner.Width() - size.cx) / 2, inner.top + (inner.Height() - size.cy) / 2);
  if (sunk) at += TPoint(1, 1);
  bool greyed = !GetEnabled() && celArray_->NumCels() <= CelDisabled;
  BlitCel(dc, *celArray_->GetDib(), celArray_->CelRect(cel), at, greyed);
}

void TButtonGadget::MouseEnter(UINT modKeys, const TPoint& point) {
  TGadget::MouseEnter(modKeys, point);
  TGadgetWindow* w = GetGadgetWindow();
  if (w && w->GetHintMode() == TGadgetWindow::EnterHints) w->SetHintCommand(GetId());
}

void TButtonGadget::MouseLeave(UINT modKeys, const TPoint& point) {
  TGadget::MouseLeave(modKeys, point);
  TGadgetWindow* w = GetGadgetWindow();
  if (w && w->GetHintMode() == TGadgetWindow::EnterHints) w->SetHintCommand(-1);
}

void TButtonGadget::MouseMove(UINT modKeys, const TPoint& point) {
  TGadget::MouseMove(modKeys, point);
  bool hit = PtIn(point);
  if (pressed_) {
    if (!hit) CancelPressed(point);
  } else if (hit) {
    BeginPressed(point);
  }
}

void TButtonGadget::LButtonDown(UINT modKeys, const TPoint& point) {
  TGadget::LButtonDown(modKeys, point);
  BeginPressed(point);
}

void TButtonGadget::LButtonUp(UINT modKeys, const TPoint& point) {
  TGadget::LButtonUp(modKeys, point);
  if (pressed_) Activate(point);
}

void TButtonGadget::BeginPressed(const TPoint&) {
  pressed_ = true;
  TGadgetWindow* w = GetGadgetWindow();
  if (w && w->GetHintMode() == TGadgetWindow::PressHints) w->SetHintCommand(GetId());
  Invalidate();
  Update();
}

void TButtonGadget::CancelPressed(const TPoint&) {
  pressed_ = false;
  TGadgetWindow* w = GetGadgetWindow();
  if (w && w->GetHintMode() == TGadgetWindow::PressHints) w->SetHintCommand(-1);
  Invalidate();
  Update();
}

void TButtonGadget::Activate(const TPoint& point) {
  switch (type_) {
    case Exclusive:
      if (state_ != Down) CheckExclusively();
      break;
    case NonExclusive: SetButtonState(state_ == Up ? Down : Up); break;
    case SemiExclusive:
      if (state_ == Down)
        SetButtonState(Up);
      else
        CheckExclusively();
      break;
    case Command: break;
  }
  CancelPressed(point);
  // Exclusive buttons say nothing when they pop up. The command is posted, not sent, so that
  // whoever handles it may delete the button, the bar or the window around it.
  bool poppedUp = (type_ == Exclusive || type_ == SemiExclusive) && state_ != Down;
  TGadgetWindow* w = GetGadgetWindow();
  if (!poppedUp && GetEnabled() && w && w->IsWindow())
    w->PostMessage(WM_COMMAND, MAKEWPARAM(uint16_t(GetId()), 0), 0);
}

void TButtonGadget::CheckExclusively() {
  if (TGadgetWindow* w = GetGadgetWindow()) {
    auto exclusive = [](TGadget* g) -> TButtonGadget* {
      auto* b = dynamic_cast<TButtonGadget*>(g);
      return b && (b->type_ == Exclusive || b->type_ == SemiExclusive) ? b : nullptr;
    };
    // The group is the run of adjacent exclusive buttons that holds this one.
    TGadget* runStart = nullptr;
    for (TGadget* g = w->FirstGadget(); g && g != this; g = g->NextGadget())
      runStart = exclusive(g) ? (runStart ? runStart : g) : nullptr;
    for (TGadget* g = runStart ? runStart : this; g; g = g->NextGadget()) {
      TButtonGadget* b = exclusive(g);
      if (!b && g != this) break;
      if (b && b != this && b->state_ != Up) b->SetButtonState(Up);
    }
  }
  SetButtonState(Down);
}

}  // namespace quill
