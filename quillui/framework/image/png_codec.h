// PNG images through libpng: reading into a TDib, writing a TDib, and writing the indexed
// screen surface as a palette PNG (headless screenshots).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "quillui/framework/base/color.h"
#include "quillui/framework/image/dib.h"

namespace quill {

// Palette images (any depth up to 8) become an 8-bit DIB with the PNG's palette as its colour
// table; grey becomes 8 bits with a 256-step grey table; RGB becomes 24 bits; RGBA and grey
// with alpha become 32 bits with alpha in the fourth byte. 16-bit samples are cut to 8 and
// transparency chunks are ignored. Sizes are checked against the DIB limits before anything
// is allocated; libpng's own complaints come back as the reason, prefixed "PNG: ".
DibResult ReadPng(std::span<const uint8_t> bytes);
DibResult ReadPngFile(const std::string& path);

// 1-, 4- and 8-bit DIBs become palette PNGs of that depth, 24-bit RGB, 32-bit RGBA (the
// fourth byte is alpha). Written through a temporary file and a rename.
bool WritePngFile(const TDib& dib, const std::string& path, std::string* error);

// An 8-bit palette PNG of width x height indices, given as top-down rows stride bytes apart,
// with the 256 colours of palette256.
bool WriteIndexedPng(const std::string& path, int width, int height, const uint8_t* pixels,
                     size_t stride, const TRgbQuad* palette256, std::string* error);

}  // namespace quill
