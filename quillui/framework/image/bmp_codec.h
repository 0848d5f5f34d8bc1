// Reading bitmap (.bmp) files into TDib, from memory, a file, or a byte range inside a file
// (data sets pack many bitmaps into one file), and writing 8- and 24-bit DIBs back out.
#pragma once

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
// and leaves the rest 0; a stream that decodes no pixel at all is an error. A run or delta
// that would cross the end of a row or leave the image means the stream disagrees with the
// header about the geometry, and is an error. Because end-of-bitmap legitimately leaves the
// rest of the image blank, an RLE image is bounded by the DIB limits, not by its byte count.
DibResult ReadBmp(std::span<const uint8_t> bytes);

// Reads length bytes at offset in the file. With the default length the image's extent is
// taken from its own headers (bounded by the end of the file), so a member of a data set can
// be read without knowing its size.
DibResult ReadBmpFile(const std::string& path, uint64_t offset = 0, uint64_t length = UINT64_MAX);

// The bytes of the file WriteBmpFile would write, or nothing (and the reason) for a DIB it
// refuses.
std::vector<uint8_t> EncodeBmp(const TDib& dib, std::string* error);

// Writes an 8-bit (with its colour table) or 24-bit DIB as an uncompressed bottom-up file,
// through a temporary file and a rename. Other depths are refused.
bool WriteBmpFile(const TDib& dib, const std::string& path, std::string* error);

}  // namespace quill
