// Reading bitmap (.bmp) files into TDib, from memory, a file, or a byte range inside a file
// (data sets pack many bitmaps into one file), or into a buffer the caller owns, and writing
// 8- and 24-bit DIBs back out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "quillui/framework/image/dib.h"

namespace quill {

// Accepted: info headers of 12 (the old core header), 40, 52, 56, 108 and 124 bytes; 1, 4,
// 8, 16, 24 and 32 bits per pixel; BI_RGB, BI_RLE4, BI_RLE8, and BI_BITFIELDS at 16 and 32
// bits; bottom-up rows, or top-down (negative height) when not RLE-compressed. 16-bit pixels
// become a 24-bit DIB; 32-bit bit-field pixels become a standard 32-bit DIB with alpha in the
// fourth byte when the header has an alpha mask.
//
// Trust: every offset and size in the headers is checked against the bytes present before
// anything is allocated; bfSize is not trusted at all. A colour table larger than the depth
// can address, a biSizeImage larger than the bytes after bfOffBits, or pixel data that would
// run past the end gives a null DIB and a reason starting "BMP: ".
//
// RLE: the stream is walked once without writing before the DIB is allocated. A stream that
// stops early (no end-of-bitmap escape, or cut off mid-instruction) keeps what was decoded
// and leaves the rest 0; a stream that decodes no pixel at all is an error. A run that
// crosses the end of a row is clipped there (writers encode a row's padding as a last run
// past its end): its pixels inside the row are kept, the rest dropped. A run above the top
// row, or a delta that leaves the image, means the stream disagrees with the header about
// the geometry, and is an error. Because end-of-bitmap legitimately leaves the
// rest of the image blank, an RLE image is bounded by the DIB limits, not by its byte count.
DibResult ReadBmp(std::span<const uint8_t> bytes);

// What a bitmap file holds, in the form ReadBmpInto writes it: width x height pixels, rows
// top to bottom, of one byte each (bitsPerPixel 8: an index into the numColors entries of the
// colour table, from files of 1, 4 and 8 bits) or four (bitsPerPixel 32: blue, green, red and a
// fourth byte, from files of 16, 24 and 32 bits). The fourth byte is alpha when the file has an
// alpha mask, the file's own fourth byte in a plain 32-bit file, and 0 otherwise, as in the
// DIB ReadBmp makes.
struct BmpInfo {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int numColors = 0;  // 0 at 32 bits

  // The bytes of one row: the shortest stride a buffer for the pixels can have.
  size_t RowBytes() const { return size_t(width) * size_t(bitsPerPixel / 8); }
};

// Checks bytes exactly as ReadBmp does (headers, colour table, that the pixel data is all
// there, an RLE stream walked through) without decoding or allocating pixels, and describes
// what ReadBmpInto would write, so the caller can size a buffer. False, with the reason
// (starting "BMP: ") in error when it is given, for a file ReadBmp refuses.
bool ReadBmpInfo(std::span<const uint8_t> bytes, BmpInfo* info, std::string* error);

// Where ReadBmpInto puts a file's pixels and colour table; all of it belongs to the caller.
struct BmpTarget {
  // The whole buffer, lowest address first, and the distance from a row to the row below it:
  // negative for bottom-up rows, whose first row in memory is the bottom one (LocateTopRow in
  // dib.h). It must hold height rows of at least RowBytes() bytes each.
  std::span<uint8_t> pixels;
  ptrdiff_t stride = 0;
  // Room for the colour table: at least numColors entries; unused at 32 bits.
  std::span<TRgbQuad> colors;
};

// Decodes a bitmap file into the caller's buffer, through the same row decoding as ReadBmp and
// without allocating pixels; the buffer and table must not overlap the file's bytes. Writes only
// the pixels of the rows (never the padding after them) and the first numColors colour table
// entries; pixels an RLE stream skips become 0. False, with the reason (starting "BMP: ") in error
// when it is given, for a file ReadBmp refuses or a buffer or colour table too small for the image,
// and then nothing is written. info, when given, gets what ReadBmpInfo would say on success.
bool ReadBmpInto(std::span<const uint8_t> bytes, const BmpTarget& target, BmpInfo* info,
                 std::string* error);

// Reads length bytes at offset in the file. With the default length the image's extent is
// taken from its own headers (bounded by the end of the file), so a member of a data set can
// be read without knowing its size. The result is the DIB ReadBmp makes of the same bytes; an
// uncompressed file whose rows a DIB holds as they are (all but 16-bit and bit-field files)
// has its headers read first and then its rows read once, straight into the DIB's pixels.
DibResult ReadBmpFile(const std::string& path, uint64_t offset = 0, uint64_t length = UINT64_MAX);
// As ReadBmpFile, from a file the caller has open: fd is a regular file of fileSize bytes, read
// with positioned reads only (its offset is left alone); path names it in messages. first may
// hold the image's first bytes when the caller has read them already: when it holds at least
// kBmpHeadBytes (or the whole range) they are not read again.
inline constexpr uint64_t kBmpHeadBytes = 2048;  // the headers and any colour table fit in these
DibResult ReadBmpFromFile(int fd, uint64_t fileSize, const std::string& path, uint64_t offset = 0,
                          uint64_t length = UINT64_MAX, std::span<const uint8_t> first = {});

// The bytes of the file WriteBmpFile would write, or nothing (and the reason) for a DIB it
// refuses.
std::vector<uint8_t> EncodeBmp(const TDib& dib, std::string* error);

// Writes an 8-bit (with its colour table) or 24-bit DIB as an uncompressed bottom-up file,
// through a temporary file and a rename. Other depths are refused.
bool WriteBmpFile(const TDib& dib, const std::string& path, std::string* error);

}  // namespace quill
