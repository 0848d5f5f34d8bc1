// The application background: one screen-sized picture chosen by screen width in the settings,
// shown through transparent windows and gadgets as if they were holes in the main frame.
#pragma once

#include <memory>
#include <string>

#include "quillui/framework/base/color.h"
#include "quillui/framework/base/geometry.h"

namespace quill {

class TDC;
class TDib;
class TGadget;
class TGadgetWindow;
class TWindow;

// The three colours that mark a cel strip as keyed, as red, green, blue.
inline constexpr TColor kBackgroundKeyColors[3] = {TColor(225, 116, 116), TColor(179, 236, 108),
                                                   TColor(230, 185, 237)};
bool IsBackgroundKeyColor(TColor color);

// The "View" key naming the background for a screen this wide: "Background1024" from 901
// pixels, "Background800" from 721 to 900, "Background" below.
const char* BackgroundKeyForWidth(int screenWidth);

// Installs dib as the background (the library owns it from now on; null removes it). The
// remembered screen size stays, so it is handed out until the screen size changes. Always true.
bool SetAppBackground(TDib* dib);
bool SetAppBackground(std::unique_ptr<TDib> dib);
// The current background, without loading anything; false when there is none.
bool GetAppBackground(TDib*& dib);
// The background for the current screen size, loaded (and tiled to the screen) when the size
// differs from the one it was made for. The DIB stays the library's; it must not be kept
// past a change of screen size or a SetAppBackground.
bool GetWindowBackgroundDib(TDib*& dib);
// The background and where the window's client area (or rect, in its client coordinates)
// lies over it: the background covers the main frame's client area from its top-left corner
// (the screen when no frame is registered).
bool GetWindowBackground(const TWindow& window, TDib*& dib, TRect& under);
bool GetWindowBackground(const TWindow& window, const TRect& rect, TDib*& dib, TRect& under);
// The same for a gadget's bounds in its window.
bool GetGadgetBackground(const TGadgetWindow& window, const TGadget& gadget, TDib*& dib,
                         TRect& under);
// Paints the background under rect (the window's client coordinates) into dc through the
// application palette; false when there is no background.
bool PaintWindowBackground(TDC& dc, const TWindow& window, const TRect& rect);

// Keys a gadget's cel strip of cels cels, each as wide as the gadget: when the strip's
// lower-left pixel has one of the key colours, every pixel of that index in the cels becomes
// the background under the gadget (color TColor::Transparent) or the application palette's
// nearest index to color. A strip that is not 8-bit is reported with name (name + " has wrong
// bits/pixel", "BluescreenBackground") and left alone. True when the strip was keyed.
bool BluescreenBackground(const TGadgetWindow& window, const TGadget& gadget, TDib& strip, int cels,
                          const std::string& name, TColor color);

// Fills dst with copies of tile from its top-left corner, the last ones cut at dst's edges
// (CopyBlt256, so both must be 8-bit with 256 colours). False, with nothing drawn, for a tile
// without pixels; false at the first copy that fails.
bool TileDib(TDib& dst, const TDib& tile);

}  // namespace quill
