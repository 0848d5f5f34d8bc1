#include "quillui/imaging/statics.h"

#include "quillui/app/app_palette.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/layout/layout_window.h"
#include "quillui/imaging/bitmap_manager.h"
#include "quillui/imaging/frames.h"
#include "quillui/profile/profile.h"

namespace quill {

std::unique_ptr<TDib> LoadStaticBitmap(const char* name, const char* dir) {
  if (!name || !*name) return nullptr;
  return ZBitmapManager().load_bitmap(name, dir, nullptr);
}

ZStatic::ZStatic(TWindow* parent, int id, const char* caption, unsigned long style, int x, int y,
                 int w, int h, TModule* module)
    : TControl(parent, id, caption, x, y, w, h) {
  if (module) SetModule(module);
  Attr.Style |= uint32_t(style);
  SetAppBackground(HOLDER_BACKGROUND);
}

ZStatic::~ZStatic() = default;

void ZStatic::SetAppBackground(APP_COLORS color) {
  m_eColor = color;
  SetBkgndColor(GetAppColor(color));
}

void ZStatic::SetAppFont(APP_FONTS font) { m_eFont = font; }

void ZStatic::ShrinkToText() {
  TScreenDC dc;
  dc.SelectObject(*GetAppFont(m_eFont));
  const TSize extent = dc.GetTextExtent(GetCaption());
  Attr.W = extent.cx;
  Attr.H = extent.cy;
}

void ZStatic::SetBkgndDib(TDib* dib) { m_pDib.reset(dib); }

void ZStatic::SetBkgndDib(const char* name) {
  if (std::unique_ptr<TDib> dib = LoadStaticBitmap(name, "buttons")) m_pDib = std::move(dib);
}

TColor ZStatic::ShadowColor(TColor c) {
  return TColor(uint8_t(c.Red() / 4 * 3), uint8_t(c.Green() / 4 * 3), uint8_t(c.Blue() / 4 * 3))
      .PaletteRelative();
}

TBrush ZStatic::EvCtlColor(TDC& dc) {
  if (m_pDib) {
    dc.SetBkMode(TRANSPARENT);
    return TBrush::NullBrush();
  }
  dc.SetBkColor(GetBkgndColor());
  return GetAppBrush(m_eColor);
}

void ZStatic::SetupWindow() {
  TControl::SetupWindow();
  SetFont(*GetAppFont(m_eFont), true);
  EnableWindow(false);
}

bool ZStatic::EvEraseBkgnd(TDC&) { return true; }

LRESULT ZStatic::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_SETTEXT) return TControl::WindowProc(msg, wp, lp);
  TControl::WindowProc(msg, wp, lp);
  return RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW)
             ? 1
             : 0;
}

void ZStatic::Paint(TDC& dc, bool, TRect&) {
  TRect r = GetClientRect();
  TPalette* previous = dc.SelectPalette(GetAppPalette(), false);
  dc.RealizePalette();
  const TColor c = GetAppColor(m_eColor);
  if (m_bRaised || !m_pDib) {
    dc.SetBkColor(c);
    dc.ExtTextOut(0, 0, ETO_OPAQUE, &r, "");
  }
  if (m_bRaised && m_pDib) {
    dc.SetBkColor(ShadowColor(c));
    const TRect shadow(r.left + 2, r.top + 2, r.right, r.bottom);
    dc.ExtTextOut(0, 0, ETO_OPAQUE, &shadow, "");
    r.right -= 2;
    r.bottom -= 2;
  }
  if (m_pDib) TileBlt(dc, r, *m_pDib);
  unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (Attr.Style & SS_CENTER) {
    format |= DT_CENTER;
  } else if (Attr.Style & SS_RIGHT) {
    format |= DT_RIGHT;
  } else if (m_pDib) {
    r.left += 4;
  }
  dc.SelectObject(*GetAppFont(m_eFont));
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(GetCaption(), r, format);
  dc.SelectPalette(previous, false);
}

ZTitleStatic::ZTitleStatic(TWindow* parent, int id, const char* caption, unsigned long style, int x,
                           int y, int w, int h, TModule* module)
    : ZStatic(parent, id, caption, style, x, y, w, h, module) {
  Attr.H = 20;
  SetAppBackground(TITLE_BACKGROUND);
  SetAppFont(Title);
  m_bRaised = 1;
}

ZTitleStatic::~ZTitleStatic() { killBitmap(); }

void ZTitleStatic::setSection(const char* section) {
  const std::string text = ZProfile(eIniFile).Get(section, "titletext", "");
  if (!text.empty()) SetCaption(text.c_str());
}

void ZTitleStatic::SetNormalBitmap(std::unique_ptr<TBitmap> bitmap) {
  if (m_pCurrent == m_pNormal.get()) m_pCurrent = nullptr;
  m_pNormal = std::move(bitmap);
  if (!m_pCurrent) m_pCurrent = m_pNormal.get();
}

void ZTitleStatic::SetFullScreenBitmap(std::unique_ptr<TBitmap> bitmap) {
  if (m_pCurrent == m_pFullScreen.get()) m_pCurrent = m_pNormal.get();
  m_pFullScreen = std::move(bitmap);
}

void ZTitleStatic::setDisplayMode(DISPLAY_MODE mode) {
  if (mode == eTABLEAU_MODE) SetAppFont(Title);
  if (mode == eFULL_SCREEN_MODE) SetAppFont(BigTitle);
  if (!m_pOverride && !m_pCurrent) return;
  if (mode == eTABLEAU_MODE) m_pCurrent = m_pNormal.get();
  if (mode == eFULL_SCREEN_MODE) m_pCurrent = m_pFullScreen ? m_pFullScreen.get() : m_pNormal.get();
  auto* layout = dynamic_cast<TLayoutWindow*>(GetParentO());
  const TBitmap* sized = m_pOverride ? m_pOverride : m_pCurrent;
  if (!layout || !sized) return;
  TLayoutMetrics metrics;
  if (!layout->GetChildLayoutMetrics(*this, metrics)) return;
  metrics.SetMeasurementUnits(lmPixels);
  metrics.Height.Absolute(sized->Height());
  layout->SetChildLayoutMetrics(*this, metrics);
}

void ZTitleStatic::killBitmap() {
  m_pOverride = nullptr;
  m_pNormal.reset();
  m_pFullScreen.reset();
  m_pCurrent = nullptr;
}

bool ZTitleStatic::EvEraseBkgnd(TDC& dc) {
  if (m_pOverride || m_pCurrent) {
    TPalette* previous = dc.SelectPalette(GetAppPalette(), false);
    dc.RealizePalette();
    dc.FillRect(GetClientRect(), GetAppColor(m_eColor));
    dc.SelectPalette(previous, false);
  }
  return true;
}

void ZTitleStatic::Paint(TDC& dc, bool erase, TRect& rect) {
  if (!m_pCurrent) {
    ZStatic::Paint(dc, erase, rect);
    return;
  }
  const TRect r = GetClientRect();
  TPalette* previous = dc.SelectPalette(GetAppPalette(), false);
  dc.RealizePalette();
  TMemoryDC memory(*m_pCurrent);
  const int left = r.left + r.right - m_pCurrent->Width();
  dc.BitBlt(left, r.top, r.right - left, r.Height(), memory, 0, 0, SRCCOPY);
  memory.RestoreBitmap();
  dc.SelectPalette(previous, false);
}

ZLabelStatic::ZLabelStatic(TWindow* parent, int id, const char* caption, unsigned long style, int x,
                           int y, int w, int h, TModule* module)
    : ZStatic(parent, id, caption, style, x, y, w, h, module) {
  Attr.H = 16;
  SetAppBackground(HOLDER_BACKGROUND);
  SetAppFont(Label);
}

}  // namespace quill
