#include "quillui/framework/image/png_codec.h"

#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quill {

namespace {

// Deflate cannot expand data by more than about 1032 to 1, so a stream of n bytes cannot
// fill more than this many bytes of rows; a header asking for more is lying.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateSlack = 1024;

// Shared by libpng's callbacks; libpng reports errors by longjmp, so every C++ object that
// must survive an error lives here, outside the frame that calls setjmp.
struct PngContext {
  // Reading from memory.
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  // Bytes the source holds, for the inflate bound.
  uint64_t sourceSize = 0;
  // Reading: the DIB and its row pointers (top row first).
  std::unique_ptr<TDib> dib;
  std::vector<png_bytep> rows;
  // Writing.
  std::vector<uint8_t> out;
  bool outOfMemory = false;
  char message[256] = {};
};

PngContext* ContextOf(png_structp png) { return static_cast<PngContext*>(png_get_error_ptr(png)); }

void OnError(png_structp png, png_const_charp text) {
  PngContext* ctx = ContextOf(png);
  std::snprintf(ctx->message, sizeof ctx->message, "%s", text != nullptr ? text : "error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
  PngContext* ctx = ContextOf(png);
  if (length > ctx->size - ctx->pos) png_error(png, "file ends early");
  std::memcpy(out, ctx->data + ctx->pos, length);
  ctx->pos += length;
}

void WriteToVector(png_structp png, png_bytep data, size_t length) {
  PngContext* ctx = ContextOf(png);
  try {
    ctx->out.insert(ctx->out.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    ctx->outOfMemory = true;
  }
  // Outside the handler: longjmp must not leave a live exception behind.
  if (ctx->outOfMemory) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

void SetMessage(PngContext* ctx, const char* text) {
  std::snprintf(ctx->message, sizeof ctx->message, "%s", text);
}

// Makes the DIB and points the rows into it; false (with a message) when it cannot be made.
bool PrepareDib(PngContext* ctx, int width, int height, int bits, png_colorp palette,
                int numPalette) {
  ctx->dib = std::make_unique<TDib>(width, height, bits, numPalette);
  if (!ctx->dib->IsOK()) {
    SetMessage(ctx, "cannot make a DIB of this size");
    return false;
  }
  for (int i = 0; i < numPalette; ++i) {
    if (palette != nullptr) {
      ctx->dib->SetColor(i, TColor(palette[i].red, palette[i].green, palette[i].blue));
    } else {
      ctx->dib->SetColor(i, TColor(uint8_t(i), uint8_t(i), uint8_t(i)));
    }
  }
  ctx->rows.resize(size_t(height));
  for (int y = 0; y < height; ++y) ctx->rows[size_t(y)] = ctx->dib->ScanLine(y);
  return true;
}

// No object with a destructor may live in this frame: libpng leaves it by longjmp.
bool DecodeInto(png_structp png, png_infop info, PngContext* ctx) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int depth = 0;
  int colorType = 0;
  int interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
  if (const char* why = TDib::CheckDimensions(width, height)) {
    SetMessage(ctx, why);
    return false;
  }
  const uint64_t rawRow = (uint64_t(width) * png_get_channels(png, info) * uint64_t(depth) + 7) / 8;
  const uint64_t rawBytes = (rawRow + 1) * height;  // each row carries a filter byte
  if (rawBytes > kInflateSlack && (rawBytes - kInflateSlack) / kMaxInflateRatio > ctx->sourceSize) {
    SetMessage(ctx, "image is larger than its compressed data could hold");
    return false;
  }

  int bits = 8;
  png_colorp palette = nullptr;
  int numPalette = 256;  // the grey table
  switch (colorType) {
    case PNG_COLOR_TYPE_PALETTE:
      if (png_get_PLTE(png, info, &palette, &numPalette) == 0 || numPalette < 1 ||
          numPalette > 256) {
        SetMessage(ctx, "palette image without a usable palette");
        return false;
      }
      png_set_packing(png);
      break;
    case PNG_COLOR_TYPE_GRAY:
      if (depth < 8) png_set_expand_gray_1_2_4_to_8(png);
      break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      png_set_gray_to_rgb(png);
      png_set_bgr(png);
      bits = 32;
      numPalette = 0;
      break;
    case PNG_COLOR_TYPE_RGB:
      png_set_bgr(png);
      bits = 24;
      numPalette = 0;
      break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      png_set_bgr(png);
      bits = 32;
      numPalette = 0;
      break;
    default: SetMessage(ctx, "unknown colour type"); return false;
  }
  if (depth == 16) png_set_strip_16(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != uint64_t(width) * uint64_t(bits / 8)) {
    SetMessage(ctx, "unexpected row layout after conversion");
    return false;
  }
  if (!PrepareDib(ctx, int(width), int(height), bits, palette, numPalette)) return false;
  png_read_image(png, ctx->rows.data());
  // The trailing chunks are not read: the image is complete, and damage after it (a broken
  // IEND, say) should not throw it away.
  return true;
}

DibResult Fail(const char* why) { return DibResult{nullptr, std::string("PNG: ") + why}; }

// Frees libpng's read state however the read ends, allocation failure included.
struct ReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~ReadStructs() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  }
};

// Runs a read with the source already described in ctx (memory) or given as file.
DibResult Decode(PngContext* ctx, FILE* file) {
  ReadStructs s;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, ctx, OnError, OnWarning);
  if (s.png == nullptr) return Fail("cannot start the decoder");
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) return Fail("cannot start the decoder");
  png_structp png = s.png;
  png_set_user_limits(png, kDibMaxSide, kDibMaxSide);
  // Ancillary chunks are not used; keep a hostile file from piling them up.
  png_set_chunk_cache_max(png, 128);
  png_set_chunk_malloc_max(png, 8u << 20);
  // The signature is checked here so that a file of another kind gets a plain answer.
  png_byte signature[8] = {};
  if (file != nullptr) {
    if (std::fread(signature, 1, sizeof signature, file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
      return Fail("not a PNG file (no PNG signature)");
    }
    png_init_io(png, file);
  } else {
    if (ctx->size < sizeof signature || png_sig_cmp(ctx->data, 0, sizeof signature) != 0) {
      return Fail("not a PNG file (no PNG signature)");
    }
    ctx->pos = sizeof signature;
    png_set_read_fn(png, ctx, ReadFromMemory);
  }
  png_set_sig_bytes(png, sizeof signature);
  const bool ok = DecodeInto(png, s.info, ctx);
  ctx->rows.clear();
  if (!ok) {
    ctx->dib.reset();
    return Fail(ctx->message[0] != '\0' ? ctx->message : "cannot decode");
  }
  return DibResult{std::move(ctx->dib), {}};
}

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

// What a PNG writer needs, prepared before libpng is called.
struct PngImage {
  int width = 0;
  int height = 0;
  int bitDepth = 8;
  int colorType = PNG_COLOR_TYPE_PALETTE;
  std::vector<png_color> palette;
  std::vector<png_bytep> rows;
  bool bgr = false;
};

// No object with a destructor may live in this frame: libpng leaves it by longjmp.
bool EncodeInto(png_structp png, png_infop info, const PngImage* image) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, png_uint_32(image->width), png_uint_32(image->height), image->bitDepth,
               image->colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (image->colorType == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(png, info, image->palette.data(), int(image->palette.size()));
    // Row filters rarely help indexed pictures and cost time on every screenshot.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  }
  png_write_info(png, info);
  if (image->bgr) png_set_bgr(png);
  png_write_image(png, const_cast<png_bytepp>(image->rows.data()));
  png_write_end(png, nullptr);
  return true;
}

struct WriteStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~WriteStructs() {
    if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  }
};

bool Encode(const PngImage& image, const std::string& path, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = "PNG: " + why;
    return false;
  };
  PngContext ctx;
  WriteStructs s;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, OnError, OnWarning);
  if (s.png == nullptr) return fail("cannot start the encoder");
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) return fail("cannot start the encoder");
  png_set_write_fn(s.png, &ctx, WriteToVector, FlushNothing);
  const bool ok = EncodeInto(s.png, s.info, &image);
  if (!ok) return fail(ctx.message[0] != '\0' ? ctx.message : "cannot encode");
  std::string why;
  if (!WriteFileReplacing(path, ctx.out, &why)) return fail(why);
  return true;
}

}  // namespace

DibResult ReadPng(std::span<const uint8_t> bytes) {
  PngContext ctx;
  ctx.data = bytes.data();
  ctx.size = bytes.size();
  ctx.sourceSize = bytes.size();
  return Decode(&ctx, nullptr);
}

DibResult ReadPngFile(const std::string& path) {
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return DibResult{nullptr, "PNG: cannot open " + path + ": " + std::strerror(errno)};
  }
  struct stat st {};
  if (::fstat(::fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) {
    return DibResult{nullptr, "PNG: " + path + " is not a regular file"};
  }
  PngContext ctx;
  ctx.sourceSize = uint64_t(st.st_size);
  return Decode(&ctx, file.get());
}

bool WritePngFile(const TDib& dib, const std::string& path, std::string* error) {
  if (!dib.IsOK()) {
    if (error != nullptr) *error = "PNG: cannot write a null DIB";
    return false;
  }
  PngImage image;
  image.width = dib.Width();
  image.height = dib.Height();
  if (dib.IsIndexed()) {
    image.bitDepth = dib.BitsPerPixel();
    image.colorType = PNG_COLOR_TYPE_PALETTE;
    // Every pixel must name a palette entry, so the palette reaches the largest index used.
    int entries = dib.NumColors();
    for (int y = 0; y < dib.Height(); ++y) {
      for (int x = 0; x < dib.Width(); ++x) {
        entries = std::max(entries, dib.GetPixelIndex(x, y) + 1);
      }
    }
    for (int i = 0; i < entries; ++i) {
      const TRgbQuad q = dib.GetColor(i);
      image.palette.push_back(png_color{q.rgbRed, q.rgbGreen, q.rgbBlue});
    }
  } else {
    image.colorType = dib.BitsPerPixel() == 32 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    image.bgr = true;
  }
  image.rows.resize(size_t(dib.Height()));
  for (int y = 0; y < dib.Height(); ++y) {
    image.rows[size_t(y)] = const_cast<png_bytep>(dib.ScanLine(y));
  }
  return Encode(image, path, error);
}

bool WriteIndexedPng(const std::string& path, int width, int height, const uint8_t* pixels,
                     size_t stride, const TRgbQuad* palette256, std::string* error) {
  auto refuse = [&](const char* why) {
    if (error != nullptr) *error = std::string("PNG: ") + why;
    return false;
  };
  if (const char* why = TDib::CheckDimensions(width, height)) return refuse(why);
  if (pixels == nullptr || palette256 == nullptr) return refuse("no pixels or no palette");
  if (stride < size_t(width)) return refuse("row stride is shorter than the width");
  PngImage image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < 256; ++i) {
    image.palette.push_back(
        png_color{palette256[i].rgbRed, palette256[i].rgbGreen, palette256[i].rgbBlue});
  }
  image.rows.resize(size_t(height));
  for (int y = 0; y < height; ++y) {
    image.rows[size_t(y)] = const_cast<png_bytep>(pixels + size_t(y) * stride);
  }
  return Encode(image, path, error);
}

}  // namespace quill
