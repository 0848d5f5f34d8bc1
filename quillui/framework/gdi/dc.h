// Device contexts: where drawing goes (the screen or a bitmap's pixels), with an origin, a
// clip region and the selected pen, brush, font and palette. The DCs of windows are one layer
// up (framework/window/window_dc.h), so drawing knows nothing of windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "quillui/framework/base/color.h"
#include "quillui/framework/base/geometry.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/framework/gdi/gdi_objects.h"
#include "quillui/framework/gdi/raster.h"
#include "quillui/framework/gdi/region.h"

namespace quill {

class TDib;
class TPalette;
class TScreen;
struct TBitmapInfoHeader;

// Background modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Stretch modes; every mode stretches by nearest neighbour, as COLORONCOLOR does.
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

// What a DIB's colour table holds.
inline constexpr unsigned DIB_RGB_COLORS = 0;
inline constexpr unsigned DIB_PAL_COLORS = 1;  // 16-bit indices into the selected palette

// ExtTextOut options.
inline constexpr unsigned ETO_OPAQUE = 0x0002;
inline constexpr unsigned ETO_CLIPPED = 0x0004;

// GetDeviceCaps indices and the raster capability bits.
inline constexpr int TECHNOLOGY = 2;
inline constexpr int HORZSIZE = 4;
inline constexpr int VERTSIZE = 6;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int NUMCOLORS = 24;
inline constexpr int RASTERCAPS = 38;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
inline constexpr int SIZEPALETTE = 104;
inline constexpr int NUMRESERVED = 106;
inline constexpr int COLORRES = 108;
inline constexpr int DT_RASDISPLAY = 1;
inline constexpr int RC_BITBLT = 0x0001;
inline constexpr int RC_BITMAP64 = 0x0008;
inline constexpr int RC_DI_BITMAP = 0x0080;
inline constexpr int RC_PALETTE = 0x0100;
inline constexpr int RC_DIBTODEV = 0x0200;
inline constexpr int RC_STRETCHBLT = 0x0800;
inline constexpr int RC_STRETCHDIB = 0x2000;

// What GetPixel and SetPixel answer for a point outside the clip region.
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

// Pixels a DC draws into: height rows of width bytes, one byte per pixel. pixels is the top
// row and row y begins at pixels + y * stride, so a negative stride walks rows that lie
// bottom-up in memory. At 8 bits a byte is a system palette index; at 1 bit (a mask bitmap) it
// is 0x00 for black or 0xFF for white.
struct TPixelTarget {
  uint8_t* pixels = nullptr;  // the top row
  ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;
  int bitsPerPixel = 8;
  TScreen* screen = nullptr;  // set when the target is the screen (dirty tracking)

  // Row y, for 0 <= y < height: every write into the target goes through here.
  uint8_t* Row(int y) const { return pixels + ptrdiff_t(y) * stride; }
};

// A DIB the classic way, for callers that hold a header, a colour table and rows of their own:
// rows bottom-up for a positive height, top-down for a negative one. Only BI_RGB at 1, 4, 8,
// 24 and 32 bits is drawn. With DIB_PAL_COLORS the table's bytes are read as 16-bit indices.
struct TDibBits {
  const TBitmapInfoHeader* header = nullptr;
  const TRgbQuad* colors = nullptr;
  int numColors = 0;
  std::span<const uint8_t> bits;  // checked against the rows the header asks for
};

// A rectangle in logical coordinates and the colour TDC::FillRects fills it with.
struct TFilledRect {
  TRect rect;
  TColor color;
};

class TDC {
 public:
  virtual ~TDC() = default;
  TDC(const TDC&) = delete;
  TDC& operator=(const TDC&) = delete;

  // --- Target, origin and clipping ----------------------------------------------------------
  // Logical (0, 0) in target pixels.
  TPoint GetOrigin() const { return origin_; }
  // The viewport origin: where logical (0, 0) lies relative to the DC's own origin, in
  // pixels. Clip regions stay where they are (they are device coordinates). SaveDC does not
  // keep it; TDCStateSaver (dc_state_saver.h) keeps both.
  TPoint SetViewportOrg(const TPoint& viewport);
  TPoint OffsetViewportOrg(int dx, int dy) { return SetViewportOrg(viewport_ + TPoint(dx, dy)); }
  TPoint GetViewportOrg() const { return viewport_; }
  // The clip box in logical coordinates.
  TRect GetClipBox() const;
  // The clip region in target pixels.
  const TRegion& GetClipRegion() const { return clip_; }
  // Each answers the kind of the resulting clip region (NULLREGION, SIMPLEREGION, ...).
  int IntersectClipRect(const TRect& logical);
  int ExcludeClipRect(const TRect& logical);
  // Clips to region (logical coordinates) within what the DC may touch at all (the window's
  // visible part, a paint DC's update region); null goes back to just that.
  int SelectClipRgn(const TRegion* logical);
  int SelectClipRgn(const TRegion& logical) { return SelectClipRgn(&logical); }
  bool PtVisible(const TPoint& logical) const;
  bool RectVisible(const TRect& logical) const;
  const TPixelTarget& Target() const { return target_; }

  // --- Objects and state --------------------------------------------------------------------
  // Each answers the object it replaces; the DC keeps a copy of pens, brushes and fonts.
  TPen SelectObject(const TPen& pen);
  TBrush SelectObject(const TBrush& brush);
  TFont SelectObject(const TFont& font);
  // Back to the DC's first objects: a black pen, a white brush, the system font.
  void RestorePen();
  void RestoreBrush();
  void RestoreFont();
  void RestoreObjects();
  const TPen& GetPen() const { return state_.pen; }
  const TBrush& GetBrush() const { return state_.brush; }
  // The selected font, or the system font ("MS Sans Serif", 8 points) when none is.
  const TFont& GetFont() const;

  // The palette must outlive its selection. Answers the palette it replaces (null for the
  // default one: the 20 static colours).
  TPalette* SelectPalette(TPalette* palette, bool forceBackground = false);
  void RestorePalette();
  TPalette* GetPalette() const { return state_.palette; }
  // Realises the selected palette into the system palette (see TPalette::Realize).
  int RealizePalette();

  // Saves objects, colours, modes, the current position and the clip region, answering the
  // new level. RestoreDC takes such a level, or a negative count back from the newest, and
  // drops it with every later one; false for a level that is not saved.
  int SaveDC();
  bool RestoreDC(int saved = -1);

  TColor SetTextColor(TColor color);
  TColor GetTextColor() const { return state_.textColor; }
  TColor SetBkColor(TColor color);
  TColor GetBkColor() const { return state_.bkColor; }
  int SetBkMode(int mode);
  int GetBkMode() const { return state_.bkMode; }
  int SetStretchBltMode(int mode);
  int GetStretchBltMode() const { return state_.stretchMode; }

  // The index that shows colour c on this DC's target, through the selected palette.
  uint8_t MapColor(TColor c) const;
  // The colour that index shows on this DC's target.
  TColor IndexColor(uint8_t index) const;
  TColor GetNearestColor(TColor c) const { return IndexColor(MapColor(c)); }

  int GetDeviceCaps(int index) const;
  int GetSystemPaletteEntries(int start, int count, TPaletteEntry* entries) const;

  // --- Pixels, lines and shapes ------------------------------------------------------------
  void FillRect(const TRect& logical, TColor color);
  void FillRect(const TRect& logical, const TBrush& brush);
  void FillRectIndex(const TRect& logical, uint8_t index);
  // Each rectangle filled with its colour in turn, later ones over earlier ones, every colour
  // mapped as a pen's or SetPixel's is. The target is walked row by row once, so the columns
  // of frames and bevels cost no more than the rows they cross.
  void FillRects(std::span<const TFilledRect> rects);
  // Answer the colour the pixel shows, or CLR_INVALID outside the clip region.
  TColor SetPixel(int x, int y, TColor color);
  TColor GetPixel(int x, int y) const;
  // The index at a logical point, or -1 outside the target.
  int GetPixelIndex(int x, int y) const;

  bool MoveToEx(int x, int y, TPoint* previous = nullptr);
  bool MoveTo(int x, int y) { return MoveToEx(x, y); }
  bool MoveTo(const TPoint& p) { return MoveToEx(p.x, p.y); }
  TPoint GetCurrentPosition() const { return state_.position; }
  // A one-pixel line in the pen's colour from the current position to (x, y), the end point
  // left unpainted; the end point becomes the current position.
  bool LineTo(int x, int y);
  bool LineTo(const TPoint& p) { return LineTo(p.x, p.y); }
  // The pen's outline on the edge pixels, the brush inside; with a null pen the brush covers
  // one pixel less to the right and bottom.
  bool Rectangle(int left, int top, int right, int bottom);
  bool Rectangle(const TRect& r) { return Rectangle(r.left, r.top, r.right, r.bottom); }
  // Raster operations with the brush and the destination (PATCOPY, PATINVERT, DSTINVERT,
  // BLACKNESS, WHITENESS, ...); a negative width or height extends left or up.
  bool PatBlt(int x, int y, int w, int h, uint32_t rop = PATCOPY);
  bool PatBlt(const TRect& r, uint32_t rop = PATCOPY) {
    return PatBlt(r.left, r.top, r.Width(), r.Height(), rop);
  }

  // --- Block transfers ---------------------------------------------------------------------
  // Any ternary raster operation between a source DC, the brush and this DC, on the indices.
  // A mask source drawn on colour gives its black pixels this DC's text colour and its white
  // ones its background colour; colour drawn on a mask gives white where it equals the
  // source's background colour and black elsewhere. Source pixels outside the source target
  // are not drawn.
  bool BitBlt(int x, int y, int w, int h, const TDC& src, int sx, int sy, uint32_t rop = SRCCOPY);
  bool BitBlt(const TRect& dst, const TDC& src, const TPoint& srcOrigin, uint32_t rop = SRCCOPY) {
    return BitBlt(dst.left, dst.top, dst.Width(), dst.Height(), src, srcOrigin.x, srcOrigin.y, rop);
  }
  // Nearest-neighbour stretching of a DIB's source rectangle, whose y counts up from the
  // DIB's bottom row for a bottom-up DIB. A negative destination width or height mirrors:
  // the rectangle then reaches from x + w + 1 to x inclusive. Answers the rows of the source
  // rectangle, 0 on bad arguments.
  int StretchDIBits(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                    const TDib& dib, unsigned usage = DIB_RGB_COLORS, uint32_t rop = SRCCOPY);
  int StretchDIBits(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                    const TDibBits& dib, unsigned usage = DIB_RGB_COLORS, uint32_t rop = SRCCOPY);
  // Copies w x h pixels unscaled. ySrc counts up from the DIB's bottom row; only the scan
  // lines startScan to startScan + numScans - 1 (counted from the bottom) are drawn. With a
  // TDibBits the bits hold just those numScans rows; a TDib holds all its rows. Answers the
  // number of scan lines given, 0 on bad arguments.
  int SetDIBitsToDevice(int xDst, int yDst, int w, int h, int xSrc, int ySrc, int startScan,
                        int numScans, const TDib& dib, unsigned usage = DIB_RGB_COLORS);
  int SetDIBitsToDevice(int xDst, int yDst, int w, int h, int xSrc, int ySrc, int startScan,
                        int numScans, const TDibBits& dib, unsigned usage = DIB_RGB_COLORS);

  // --- Text ----------------------------------------------------------------------------------
  TSize GetTextExtent(std::string_view text) const;
  bool GetTextMetrics(TTextMetric& metrics) const;
  // Text with its cell's top-left corner at (x, y), in the text colour; in OPAQUE mode the
  // cell is filled with the background colour first.
  bool TextOut(int x, int y, std::string_view text);
  // ETO_OPAQUE fills rect with the background colour, ETO_CLIPPED keeps the text inside it.
  bool ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text);
  // Formatted text in a rectangle (DT_ flags of text_format.h), clipped to it unless
  // DT_NOCLIP. Answers the height of the text, or for a single line with DT_VCENTER or
  // DT_BOTTOM the offset from the rectangle's top to the text's bottom. DT_CALCRECT draws
  // nothing, sets the rectangle's right and bottom to fit the text and answers its height.
  int DrawText(std::string_view text, TRect& rect, unsigned format);
  int DrawText(const char* text, int count, TRect& rect, unsigned format);

 protected:
  TDC();
  void MarkDirty(const TRect& device);
  // Sets what the DC may touch at all; the clip region starts as exactly that.
  void SetBaseClip(const TRegion& device);

  TPixelTarget target_;
  TPoint origin_;    // target pixels of logical (0, 0), the viewport included
  TPoint viewport_;  // the part of origin_ that SetViewportOrg added
  TRegion clip_;     // target pixels: base_ within any selected clip

 private:
  struct State {
    TPen pen{TColor::Black};
    TBrush brush{TColor::White};
    std::optional<TFont> font;
    TPalette* palette = nullptr;
    bool paletteBackground = false;
    TColor textColor = TColor::Black;
    TColor bkColor = TColor::White;
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    TPoint position;
    std::optional<TRegion> userClip;  // device pixels
  };
  void UpdateClip();
  // Logical to target pixels, clamped far outside any target so later sums cannot overflow.
  TRect ToDevice(const TRect& logical) const;
  TPoint ToDevice(int x, int y) const;
  // Fills a rectangle of target pixels within the clip.
  void FillDevice(const TRect& device, uint8_t index);
  // Fill [x0, x1) of row y, or rows [y0, y1) of column x, in device pixels, within the clip.
  void DrawSpan(int x0, int x1, int y, uint8_t index);
  void DrawColumn(int x, int y0, int y1, uint8_t index);
  // Applies a raster operation over device rectangle dst (within the clip) with the pattern
  // index and the source whose pixel for dst's top-left is src, its rows srcStride bytes apart
  // (null for operations without a source), mapped through srcMap when it is set.
  void RopRect(const TRect& dst, uint8_t rop3, uint8_t pattern, const uint8_t* src,
               ptrdiff_t srcStride, const uint8_t* srcMap);
  // Glyphs of text in font at device (x, y), within the clip and within extra when set.
  void TextRun(int x, int y, std::string_view text, const TFont& font, const TRect* extra,
               uint8_t index);
  uint8_t PatternIndex() const;

  TRegion base_;
  State state_;
  std::vector<State> saved_;
};

// The whole screen, unclipped.
class TScreenDC : public TDC {
 public:
  TScreenDC();
};

// The font a DC uses while none is selected.
const TFont& SystemFont();

}  // namespace quill
