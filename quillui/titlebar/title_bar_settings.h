// The settings every pane title bar shares: its colours, its height, the strip under it and how
// long the mouse rests on the icon before the pane's menu opens, read from [View] once.
#pragma once

#include <cstdint>

#include "quillui/framework/base/color.h"

namespace quill {

struct ZTitleBarSettings {
  // Limits of the sizes, so that a mistyped value cannot size windows and bitmaps without end
  // nor leave the icon window a negative height (it is the bar's height less two).
  static constexpr int kMinHeight = 2;
  static constexpr int kMaxHeight = 256;
  static constexpr int kMaxShadowWidth = 64;
  // A delay beyond this is a mistake: the menu would never seem to open.
  static constexpr int kMaxMenuDelay = 10000;

  COLORREF m_clrActiveBkgnd = PALETTERGB(30, 50, 152);      // [View] TBarActiveColor
  COLORREF m_clrInActiveBkgnd = PALETTERGB(128, 128, 128);  // [View] TBarInActiveColor
  COLORREF m_clrActiveTxt = PALETTERGB(255, 255, 255);      // [View] TBarActiveTxtColor
  COLORREF m_clrInActiveTxt = PALETTERGB(242, 242, 242);    // [View] TBarInActiveTxtColor
  COLORREF m_clrShadow = PALETTERGB(167, 167, 167);         // [View] TBarShadowColor
  uint32_t m_uiIniShadowWidth = 2;                     // [View] TBarShadowWidth, 0..kMaxShadowWidth
  uint32_t m_uiHeight = 21;                            // [View] TBarHeight, kMinHeight..kMaxHeight
  uint32_t m_uiMenuDelay = 25;                         // [View] TBarMenuDelay, 0..kMaxMenuDelay
  COLORREF m_clrIconActive = PALETTERGB(30, 50, 152);  // [View] IconActiveColor
  COLORREF m_clrIconInActive = PALETTERGB(128, 128, 128);  // [View] IconInActiveColor
  COLORREF m_clrIconHilight = PALETTERGB(30, 50, 152);     // [View] IconHilightColor
};

// The settings, read on first use and kept for the life of the process.
const ZTitleBarSettings& TitleBarSettings();

// Replaces the three icon colours every icon window paints with.
void SetTitleBarIconColors(COLORREF active, COLORREF inactive, COLORREF hilight);

}  // namespace quill
