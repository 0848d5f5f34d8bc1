// The bevelled look: outie frames, innie bezels, the grooved picture border, tiled DIB
// painting and state-dependent icons, in the application's colours and metrics.
#pragma once

#include "quillui/framework/base/geometry.h"
#include "quillui/profile/icons.h"

namespace quill {

class TDC;
class TDib;
class TWindow;

// A raised two-pixel rim just outside the rectangle (right and bottom exclusive): top and left
// highlights, bottom and right shadows. With [Presentation] AllIn set it is an innie bezel
// instead; PANE_OUTIE_BEZEL 0 draws nothing and any value but 0 or 2 is reported.
void DrawOutieFrame(TDC& dc, int left, int top, int right, int bottom);
void DrawOutieFrame(TDC& dc, const TRect& rect);
// The window's position and size as created (Attr X, Y, W, H).
void DrawOutieFrame(TDC& dc, TWindow* window);

// A black line next to the rectangle and PANE_INNIE_BEZEL - 1 sunken rings beyond it. A bezel
// of 0 draws nothing; one beyond 16 rings (or negative) is reported and draws nothing.
void DrawInnieBezel(TDC& dc, int left, int top, int right, int bottom);
void DrawInnieBezel(TDC& dc, const TRect& rect);
void DrawInnieBezel(TDC& dc, TWindow* window);

// A grooved four-pixel border outside rect. On return rect's left, top and right have moved
// out by one pixel. A PICTURE_BORDER other than 4 is reported, nothing is drawn and rect is
// left as it was.
void DrawPictureBorder(TDC& dc, TRect& rect);

// The outie rings drawn inside the window's client area, on its two outermost pixels.
void DrawOutieFrameInRim(TDC& dc, TWindow* window);

// Copies of dib over dst from its top-left corner, the last ones cut at dst's edges; src is
// the part of the DIB copied (null: all of it). False when a copy failed, and false with
// nothing drawn for a DIB without pixels.
bool TileBlt(TDC& dc, const TRect& dst, const TDib& dib, const TRect* src = nullptr);

// The icon's bitmap for the state, copied as it is (any transparency is in the bitmap).
// The rectangle forms centre the icon in rect; the string form finds the icon by group and
// name (GetIcon); a missing icon draws nothing.
void DrawMaskedIcon(TDC& dc, TRect& rect, int state, ZIcon::eSIZE size, const char* group,
                    const char* name);
void DrawMaskedIcon(TDC& dc, TRect& rect, int state, ZIcon::eSIZE size, const ZIcon& icon);
void DrawMaskedIcon(TDC& dc, TPoint& point, int state, ZIcon::eSIZE size, const ZIcon& icon);
bool DirectlyDrawMaskedIcon(TDC& dc, TPoint& point, int state, ZIcon::eSIZE size,
                            const ZIcon& icon);

}  // namespace quill
