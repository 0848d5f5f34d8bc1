#include "quillui/framework/gdi/dc.h"

#include <algorithm>

#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/gdi/region_ops.h"
#include "quillui/framework/gdi/screen.h"

namespace quill {

namespace {

TPixelTarget ScreenTarget() {
  TScreen& screen = CurrentScreen();
  TPixelTarget t;
  t.pixels = screen.Surface().Pixels();
  t.stride = ptrdiff_t(screen.Surface().Stride());
  t.width = screen.Width();
  t.height = screen.Height();
  t.screen = &screen;
  return t;
}

TScreen& ScreenOf(const TPixelTarget& target) {
  return target.screen ? *target.screen : CurrentScreen();
}

// The screen is 96 dots per inch; sizes in millimetres follow from that.
constexpr int kDotsPerInch = 96;

// Device coordinates are kept within this, far beyond any target, so that sums of a few of
// them stay inside int.
constexpr int64_t kCoordinateLimit = int64_t(1) << 29;

int ClampCoordinate(int64_t v) { return int(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)); }

}  // namespace

const TFont& SystemFont() {
  static const TFont font("MS Sans Serif", -11);
  return font;
}

TDC::TDC() = default;

// --- Clipping ------------------------------------------------------------------------------------

TPoint TDC::SetViewportOrg(const TPoint& viewport) {
  TPoint previous = viewport_;
  origin_ += viewport - viewport_;
  viewport_ = viewport;
  return previous;
}

TRect TDC::GetClipBox() const { return clip_.Bounds().OffsetBy(-origin_.x, -origin_.y); }

TRect TDC::ToDevice(const TRect& logical) const {
  return TRect(ClampCoordinate(int64_t(logical.left) + origin_.x),
               ClampCoordinate(int64_t(logical.top) + origin_.y),
               ClampCoordinate(int64_t(logical.right) + origin_.x),
               ClampCoordinate(int64_t(logical.bottom) + origin_.y));
}

TPoint TDC::ToDevice(int x, int y) const {
  return TPoint(ClampCoordinate(int64_t(x) + origin_.x), ClampCoordinate(int64_t(y) + origin_.y));
}

void TDC::SetBaseClip(const TRegion& device) {
  // Never beyond the target, whatever the region says: every write loop trusts the clip.
  base_ = device;
  base_.Intersect(TRect(0, 0, target_.width, target_.height));
  UpdateClip();
}

void TDC::UpdateClip() {
  clip_ = base_;
  if (state_.userClip) clip_.Intersect(*state_.userClip);
}

int TDC::IntersectClipRect(const TRect& logical) {
  if (!state_.userClip) state_.userClip = base_;
  state_.userClip->Intersect(ToDevice(logical));
  UpdateClip();
  return RegionKind(clip_);
}

int TDC::ExcludeClipRect(const TRect& logical) {
  if (!state_.userClip) state_.userClip = base_;
  state_.userClip->Subtract(ToDevice(logical));
  UpdateClip();
  return RegionKind(clip_);
}

int TDC::SelectClipRgn(const TRegion* logical) {
  if (logical) {
    TRegion device = *logical;
    device.Offset(origin_.x, origin_.y);
    state_.userClip = std::move(device);
  } else {
    state_.userClip.reset();
  }
  UpdateClip();
  return RegionKind(clip_);
}

bool TDC::PtVisible(const TPoint& logical) const {
  return clip_.Contains(ToDevice(logical.x, logical.y));
}

bool TDC::RectVisible(const TRect& logical) const { return clip_.Touches(ToDevice(logical)); }

void TDC::MarkDirty(const TRect& device) {
  if (target_.screen) target_.screen->MarkDirty(device);
}

// --- Objects and state ---------------------------------------------------------------------------

TPen TDC::SelectObject(const TPen& pen) {
  TPen previous = state_.pen;
  state_.pen = pen;
  return previous;
}

TBrush TDC::SelectObject(const TBrush& brush) {
  TBrush previous = state_.brush;
  state_.brush = brush;
  return previous;
}

TFont TDC::SelectObject(const TFont& font) {
  TFont previous = GetFont();
  state_.font = font;
  return previous;
}

void TDC::RestorePen() { state_.pen = TPen(TColor::Black); }
void TDC::RestoreBrush() { state_.brush = TBrush(TColor::White); }
void TDC::RestoreFont() { state_.font.reset(); }

void TDC::RestoreObjects() {
  RestorePen();
  RestoreBrush();
  RestoreFont();
  RestorePalette();
}

const TFont& TDC::GetFont() const { return state_.font ? *state_.font : SystemFont(); }

TPalette* TDC::SelectPalette(TPalette* palette, bool forceBackground) {
  TPalette* previous = state_.palette;
  state_.palette = palette;
  state_.paletteBackground = forceBackground;
  return previous;
}

void TDC::RestorePalette() {
  state_.palette = nullptr;
  state_.paletteBackground = false;
}

int TDC::RealizePalette() {
  if (!state_.palette) return 0;
  return state_.palette->Realize(ScreenOf(target_), state_.paletteBackground);
}

int TDC::SaveDC() {
  saved_.push_back(state_);
  return int(saved_.size());
}

bool TDC::RestoreDC(int saved) {
  int count = int(saved_.size());
  int level = saved < 0 ? count + 1 + saved : saved;
  if (level < 1 || level > count) return false;
  state_ = saved_[size_t(level - 1)];
  saved_.resize(size_t(level - 1));
  UpdateClip();
  return true;
}

TColor TDC::SetTextColor(TColor color) {
  TColor previous = state_.textColor;
  state_.textColor = color;
  return previous;
}

TColor TDC::SetBkColor(TColor color) {
  TColor previous = state_.bkColor;
  state_.bkColor = color;
  return previous;
}

int TDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  int previous = state_.bkMode;
  state_.bkMode = mode;
  return previous;
}

int TDC::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  int previous = state_.stretchMode;
  state_.stretchMode = mode;
  return previous;
}

// --- Colours and device facts --------------------------------------------------------------------

uint8_t TDC::MapColor(TColor c) const {
  return TColorMatcher(ScreenOf(target_), state_.palette, target_.bitsPerPixel == 1).Match(c);
}

TColor TDC::IndexColor(uint8_t index) const {
  if (target_.bitsPerPixel == 1) return index ? TColor::White : TColor::Black;
  return TColor(ScreenOf(target_).GetSystemPaletteEntry(index));
}

uint8_t TDC::PatternIndex() const {
  return state_.brush.IsNull() ? uint8_t(0) : MapColor(state_.brush.GetColor());
}

int TDC::GetDeviceCaps(int index) const {
  const TScreen& screen = ScreenOf(target_);
  switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return screen.Width() * 254 / (kDotsPerInch * 10);
    case VERTSIZE: return screen.Height() * 254 / (kDotsPerInch * 10);
    case HORZRES: return screen.Width();
    case VERTRES: return screen.Height();
    case BITSPIXEL: return 8;
    case PLANES: return 1;
    case NUMCOLORS: return TScreen::kNumReserved;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_PALETTE | RC_DIBTODEV | RC_STRETCHBLT |
             RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY: return kDotsPerInch;
    case SIZEPALETTE: return 256;
    case NUMRESERVED: return TScreen::kNumReserved;
    case COLORRES: return 24;
    default: return 0;
  }
}

int TDC::GetSystemPaletteEntries(int start, int count, TPaletteEntry* entries) const {
  return ScreenOf(target_).GetSystemPaletteEntries(start, count, entries);
}

// --- The kinds of DC -----------------------------------------------------------------------------

TScreenDC::TScreenDC() {
  target_ = ScreenTarget();
  SetBaseClip(TRegion(TRect(0, 0, target_.width, target_.height)));
}

}  // namespace quill
