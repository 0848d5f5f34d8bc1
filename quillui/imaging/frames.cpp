#include "quillui/imaging/frames.h"

#include <algorithm>
#include <cstring>

#include "quillui/app/app_palette.h"
#include "quillui/app/presentation.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/window.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/imaging.h"

namespace quill {

namespace {

constexpr const char* kSource = "DRAWFRMS";
constexpr int kMaxInnieBezel = 16;

// [Presentation] AllIn, read once per process: -1 until then.
int16_t g_allIn = -1;

bool AllIn() {
  if (g_allIn < 0) g_allIn = ZProfile(eIniFile).GetBool("Presentation", "AllIn", false) ? 1 : 0;
  return g_allIn != 0;
}

TPen RimPen(int color) { return TPen(GetAppColor(color).PaletteRelative()); }

TRect AttrRect(const TWindow* window) {
  return TRect(window->Attr.X, window->Attr.Y, window->Attr.X + window->Attr.W,
               window->Attr.Y + window->Attr.H);
}

void Corner(TDC& dc, const TPen& pen, int x0, int y0, int x1, int y1, int x2, int y2) {
  dc.SelectObject(pen);
  dc.MoveToEx(x0, y0);
  dc.LineTo(x1, y1);
  dc.LineTo(x2, y2);
}

// The outie rings of rect: inner at one pixel, outer at two.
void OutieRings(TDC& dc, int l, int t, int r, int b) {
  Corner(dc, RimPen(OUTIE_HIGHLIGHT1), r, t - 1, l - 1, t - 1, l - 1, b);
  Corner(dc, RimPen(OUTIE_SHADOW1), l - 1, b, r, b, r, t - 1);
  Corner(dc, RimPen(OUTIE_HIGHLIGHT2), r + 1, t - 2, l - 2, t - 2, l - 2, b + 1);
  Corner(dc, RimPen(OUTIE_SHADOW2), l - 2, b + 1, r + 1, b + 1, r + 1, t - 2);
}

void Line(TDC& dc, const TPen& pen, int x0, int y0, int x1, int y1) {
  dc.SelectObject(pen);
  dc.MoveToEx(x0, y0);
  dc.LineTo(x1, y1);
}

}  // namespace

void DrawOutieFrame(TDC& dc, int left, int top, int right, int bottom) {
  if (AllIn()) {
    DrawInnieBezel(dc, left, top, right, bottom);
    return;
  }
  const int bezel = GetAppMetric(eMETRIC_PANE_OUTIE_BEZEL);
  if (bezel == 0) return;
  if (bezel != 2) {
    reporter("Assert Failed", "GetAppMetric( eMETRIC_PANE_OUTIE_BEZEL ) == 2", eREPORT_LOG, kSource,
             72);
    return;
  }
  const TPen previous = dc.GetPen();
  OutieRings(dc, left, top, right, bottom);
  dc.SelectObject(previous);
}

void DrawOutieFrame(TDC& dc, const TRect& rect) {
  DrawOutieFrame(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void DrawOutieFrame(TDC& dc, TWindow* window) { DrawOutieFrame(dc, AttrRect(window)); }

void DrawInnieBezel(TDC& dc, int left, int top, int right, int bottom) {
  const int bezel = GetAppMetric(eMETRIC_PANE_INNIE_BEZEL);
  if (bezel == 0) return;
  // The settings file can hold any number; more rings than this is a mistake, not a look.
  if (bezel < 0 || bezel > kMaxInnieBezel) {
    reporter("Assert Failed", "GetAppMetric( eMETRIC_PANE_INNIE_BEZEL ) == 4", eREPORT_LOG, kSource,
             __LINE__);
    return;
  }
  const TPen previous = dc.GetPen();
  int l = left - 1, t = top - 1, r = right, b = bottom;
  dc.SelectObject(TPen(TColor::Black));
  dc.MoveToEx(l, b);
  dc.LineTo(l, t);
  dc.LineTo(r, t);
  dc.LineTo(r, b);
  dc.LineTo(l, b);
  const TPen leftPen = RimPen(INNIE_LEFT), topPen = RimPen(INNIE_TOP);
  const TPen rightPen = RimPen(INNIE_RIGHT), bottomPen = RimPen(INNIE_BOTTOM);
  for (int ring = 1; ring < bezel; ++ring) {
    --l, --t, ++r, ++b;
    dc.MoveToEx(l, b);
    dc.SelectObject(leftPen);
    dc.LineTo(l, t);
    dc.SelectObject(topPen);
    dc.LineTo(r, t);
    dc.SelectObject(rightPen);
    dc.LineTo(r, b);
    dc.SelectObject(bottomPen);
    dc.LineTo(l, b);
  }
  dc.SelectObject(previous);
}

void DrawInnieBezel(TDC& dc, const TRect& rect) {
  DrawInnieBezel(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void DrawInnieBezel(TDC& dc, TWindow* window) { DrawInnieBezel(dc, AttrRect(window)); }

void DrawPictureBorder(TDC& dc, TRect& rect) {
  if (GetAppMetric(eMETRIC_PICTURE_BORDER) != 4) {
    reporter("Assert Failed", "GetAppMetric( eMETRIC_PICTURE_BORDER ) == 4", eREPORT_LOG, kSource,
             __LINE__);
    return;
  }
  const TPen dark(GetAppColor(INNIE_LEFT)), light(GetAppColor(INNIE_BOTTOM));
  TRect& r = rect;
  auto inflate = [&r] { r = TRect(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1); };
  auto deflate = [&r] { r = TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1); };
  auto leftTop = [&](const TPen& pen) {
    Line(dc, pen, r.left, r.top, r.left, r.bottom);
    Line(dc, pen, r.left, r.top, r.right, r.top);
  };
  auto right = [&](const TPen& pen) { Line(dc, pen, r.right, r.top, r.right, r.bottom); };
  auto bottom = [&](const TPen& pen) { Line(dc, pen, r.left, r.bottom, r.right, r.bottom); };
  right(light);
  inflate();
  leftTop(dark);
  right(light);
  inflate();
  leftTop(dark);
  right(dark);
  inflate();
  leftTop(light);
  right(dark);
  inflate();
  leftTop(light);
  r.bottom -= 1;
  bottom(dark);
  deflate();
  bottom(dark);
  deflate();
  bottom(light);
  deflate();
  bottom(light);
}

void DrawOutieFrameInRim(TDC& dc, TWindow* window) {
  const TRect client = window->GetClientRect();
  const int w = client.Width(), h = client.Height();
  const TPen previous = dc.GetPen();
  int l = 1, t = 1, r = w - 2, b = h - 2;
  Corner(dc, RimPen(OUTIE_HIGHLIGHT1), r, t, l, t, l, b);
  Corner(dc, RimPen(OUTIE_SHADOW1), l, b, r, b, r, t);
  l = 0, t = 0, r = w - 1, b = h - 1;
  Corner(dc, RimPen(OUTIE_HIGHLIGHT2), r, t, l, t, l, b);
  Corner(dc, RimPen(OUTIE_SHADOW2), l, b, r, b, r, t);
  dc.SelectObject(previous);
}

bool TileBlt(TDC& dc, const TRect& dst, const TDib& dib, const TRect* src) {
  // Stepping by a tile without pixels would never reach the edge.
  if (!dib.IsOK() || dib.Width() <= 0 || dib.Height() <= 0) return false;
  const TPalette* palette = GetAppPalette();
  TBitmap bitmap(dib, palette);
  if (!bitmap.IsOK()) return false;
  TMemoryDC memory(bitmap);
  if (palette) memory.SelectPalette(const_cast<TPalette*>(palette), false);
  const int tw = dib.Width(), th = dib.Height();
  const TRect source = src ? *src : TRect(0, 0, tw, th);
  if (dst.IsEmpty()) return true;
  if (source.left == 0 && source.top == 0 && dst.Width() > tw) {
    // Copies from the tile's corner: lay one band of tiles across the width in memory first,
    // so the screen gets a few long rows instead of many tile-wide ones. The pixels are the
    // same as block by block.
    TBitmap band(dst.Width(), std::min(th, dst.Height()));
    if (band.IsOK()) {
      for (int y = 0; y < band.Height(); ++y) {
        const uint8_t* from = bitmap.Row(y);
        uint8_t* to = band.Row(y);
        // One tile row, then the filled part copied after itself until the row is full.
        const size_t width = size_t(band.Width());
        size_t filled = std::min(size_t(tw), width);
        std::memcpy(to, from, filled);
        while (filled < width) {
          const size_t n = std::min(filled, width - filled);
          std::memcpy(to + filled, to, n);
          filled += n;
        }
      }
      TMemoryDC bandDC(band);
      bool ok = true;
      for (int y = dst.top; y < dst.bottom; y += th) {
        const int h = std::min(y + th, dst.bottom) - y;
        if (!dc.BitBlt(dst.left, y, dst.Width(), h, bandDC, 0, 0, SRCCOPY)) ok = false;
      }
      bandDC.RestoreBitmap();
      return ok;
    }
  }
  bool ok = true;
  for (int x = dst.left; x < dst.right; x += tw) {
    for (int y = dst.top; y < dst.bottom; y += th) {
      const int w = std::min(x + tw, dst.right) - x, h = std::min(y + th, dst.bottom) - y;
      if (!dc.BitBlt(x, y, w, h, memory, source.left, source.top, SRCCOPY)) ok = false;
    }
  }
  return ok;
}

void DrawMaskedIcon(TDC& dc, TRect& rect, int state, ZIcon::eSIZE size, const char* group,
                    const char* name) {
  const ZIcon* icon = GetIcon(group, name);
  if (icon) DrawMaskedIcon(dc, rect, state, size, *icon);
}

void DrawMaskedIcon(TDC& dc, TRect& rect, int state, ZIcon::eSIZE size, const ZIcon& icon) {
  const TSize s = icon.GetSize(size);
  TPoint at(rect.left + (rect.Width() - s.cx) / 2, rect.top + (rect.Height() - s.cy) / 2);
  DrawMaskedIcon(dc, at, state, size, icon);
}

void DrawMaskedIcon(TDC& dc, TPoint& point, int state, ZIcon::eSIZE size, const ZIcon& icon) {
  DirectlyDrawMaskedIcon(dc, point, state, size, icon);
}

bool DirectlyDrawMaskedIcon(TDC& dc, TPoint& point, int state, ZIcon::eSIZE size,
                            const ZIcon& icon) {
  const TDib* image = icon.GetIconBitmap(size, state);
  if (!image) return true;
  TBitmap bitmap(*image, GetAppPalette());
  if (!bitmap.IsOK()) return true;
  TMemoryDC memory(bitmap);
  const TSize s = icon.GetSize(size);
  dc.BitBlt(point.x, point.y, s.cx, s.cy, memory, 0, 0, SRCCOPY);
  return true;
}

void ResetFrameSettings() { g_allIn = -1; }

}  // namespace quill
