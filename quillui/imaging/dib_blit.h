// Pixel operations on 8-bit palettised DIBs: copying one 256-colour DIB into another and
// replacing the transparency key of a button's cel strip, working directly on byte rows.
#pragma once

#include <cstdint>

#include "quillui/framework/base/geometry.h"

namespace quill {

class TDib;

// Copies width x height pixels of src (0 = the source's full extent; more is cut to it) with
// its top-left corner at (x, y) of dst, both counted from the top. The copy is clipped to dst
// on all four sides; a copy that falls wholly outside copies nothing and still succeeds. Both
// DIBs must be 8-bit with 256 colours: otherwise "CopyBlt256(): Destination DIB not 256
// colors." and/or "CopyBlt256(): Source DIB not 256 colors." are reported and the answer is
// false.
bool CopyBlt256(TDib& dst, int x, int y, const TDib& src, int width = 0, int height = 0);

// The key index of a cel strip (its lower-left pixel) when its colour is one of the three
// transparency key colours, otherwise -1 (also for an index beyond the colour table and for
// strips that are not 8-bit).
int StripKeyIndex(const TDib& strip);

// Replaces the key index in cels of celWidth columns each (cel c at columns c * celWidth on):
// every key pixel becomes replacement. Columns beyond the strip are not touched.
void KeyStripWithIndex(TDib& strip, uint8_t key, int cels, int celWidth, uint8_t replacement);

// Replaces the key index by what lies under the gadget: the strip pixel at (c * celWidth + x,
// r) takes the index of background pixel (under.left + x, under.top + r), for x below
// min(celWidth, under's width). under's left and top are first clamped to 0. Strip pixels
// with no background pixel under them keep the key.
void KeyStripWithBackground(TDib& strip, uint8_t key, int cels, int celWidth,
                            const TDib& background, TRect under);

}  // namespace quill
