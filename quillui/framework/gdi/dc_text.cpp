// Text output of TDC: extents and metrics of the selected font, TextOut, ExtTextOut and
// DrawText, with glyphs drawn through the font engine into the target's rows.
#include <cstring>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/font_engine.h"
#include "quillui/framework/gdi/text_format.h"

namespace quill {

TSize TDC::GetTextExtent(std::string_view text) const { return GetFont().GetTextExtent(text); }

bool TDC::GetTextMetrics(TTextMetric& metrics) const {
  metrics = GetFont().GetTextMetrics();
  return true;
}

void TDC::TextRun(int x, int y, std::string_view text, const TFont& font, const TRect* extra,
                  uint8_t index) {
  if (text.empty() || !target_.pixels) return;
  const TSize extent = font.GetTextExtent(text);
  const TTextMetric tm = font.GetTextMetrics();
  // Glyphs may reach a little past their advances (italics, overhang): look a character
  // further on both sides when deciding which clip rectangles the run can touch.
  const int slack = tm.tmMaxCharWidth + tm.tmOverhang;
  const TRect reach(x - slack, y, x + extent.cx + slack, y + extent.cy);
  for (const TRect& c : clip_.Rects()) {
    TRect area = extra ? (c & *extra) : c;
    area &= reach;
    if (area.IsEmpty()) continue;
    DrawTextRun(font, text, x, y, target_.pixels, target_.stride, target_.width, target_.height,
                area, index);
    MarkDirty(area);
  }
}

bool TDC::TextOut(int x, int y, std::string_view text) {
  return ExtTextOut(x, y, 0, nullptr, text);
}

bool TDC::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text) {
  const TPoint at = ToDevice(x, y);
  std::optional<TRect> box;
  if (rect) box = ToDevice(*rect);
  if ((options & ETO_OPAQUE) && box) FillDevice(*box, MapColor(state_.bkColor));
  if (text.empty()) return true;
  const TFont& font = GetFont();
  const TRect* extra = (options & ETO_CLIPPED) && box ? &*box : nullptr;
  if (state_.bkMode == OPAQUE) {
    const TSize extent = font.GetTextExtent(text);
    TRect cell(at.x, at.y, at.x + extent.cx, at.y + extent.cy);
    if (extra) cell &= *extra;
    FillDevice(cell, MapColor(state_.bkColor));
  }
  TextRun(at.x, at.y, text, font, extra, MapColor(state_.textColor));
  return true;
}

int TDC::DrawText(const char* text, int count, TRect& rect, unsigned format) {
  if (!text) return 0;
  size_t n = count < 0 ? std::strlen(text) : size_t(count);
  return DrawText(std::string_view(text, n), rect, format);
}

int TDC::DrawText(std::string_view text, TRect& rect, unsigned format) {
  const TFont& font = GetFont();
  const TTextMetric tm = font.GetTextMetrics();
  const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  const TRect box = ToDevice(rect);
  const TRect area = box.OffsetBy(-origin_.x, -origin_.y);  // rect, within sane bounds
  const TTextLayout layout = LayoutText(
      text, area, format, [&font](std::string_view s) { return font.GetTextExtent(s).cx; },
      lineHeight, tm.tmAveCharWidth);
  if (layout.lines.empty()) {
    if (format & DT_CALCRECT) rect = TRect(rect.left, rect.top, rect.left, rect.top);
    return 0;
  }
  const int answer = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))
                         ? layout.lines.front().y + lineHeight - area.top
                         : layout.height;
  if (format & DT_CALCRECT) {
    rect.right = area.left + layout.width;
    rect.bottom = area.top + layout.height;
    return layout.height;
  }

  const TRect* extra = (format & DT_NOCLIP) ? nullptr : &box;
  const uint8_t ink = MapColor(state_.textColor);
  std::optional<TFont> underlined;
  for (const TTextLine& line : layout.lines) {
    const int x = line.x + origin_.x, y = line.y + origin_.y;
    if (state_.bkMode == OPAQUE && !line.text.empty()) {
      TRect cell(x, y, x + line.width, y + lineHeight);
      if (extra) cell &= *extra;
      FillDevice(cell, MapColor(state_.bkColor));
    }
    TextRun(x, y, line.text, font, extra, ink);
    // A mnemonic is its character drawn again in the underlined face, so the underline sits
    // where the font puts underlines.
    for (size_t p : line.mnemonics) {
      if (p >= line.text.size() || font.IsUnderlined()) continue;
      if (!underlined) {
        TLogFont lf = font.GetLogFont();
        lf.lfUnderline = 1;
        underlined.emplace(lf);
      }
      const int dx = font.GetTextExtent(std::string_view(line.text).substr(0, p)).cx;
      TextRun(x + dx, y, std::string_view(line.text).substr(p, 1), *underlined, extra, ink);
    }
  }
  return answer;
}

}  // namespace quill
