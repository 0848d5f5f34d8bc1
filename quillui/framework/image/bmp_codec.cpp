#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/stream/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace quill {

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// The largest header we know (V5); enough bytes to parse every header field and mask.
constexpr uint64_t kLargestHeaders = kFileHeaderSize + 124 + 16;

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

DibResult Fail(std::string why) { return DibResult{nullptr, "BMP: " + std::move(why)}; }

// What the file and info headers say, before the colour table and pixels are looked at.
struct BmpHeaders {
  uint32_t bfSize = 0;
  uint32_t offBits = 0;
  uint32_t headerSize = 0;
  bool core = false;
  int64_t width = 0;
  int64_t height = 0;  // always positive; topDown says which way the rows run
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = BI_RGB;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t masks[4] = {};  // red, green, blue, alpha
  uint64_t tableOffset = 0;
};

bool IsKnownHeaderSize(uint32_t size) {
  return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 ||
         size == 108 || size == 124;
}

// Parses and checks the headers; the bytes may be only a prefix of the file, as long as it
// holds the headers. Returns the reason for refusing them, or an empty text.
std::string ParseHeaders(std::span<const uint8_t> b, BmpHeaders* h) {
  if (b.size() < kFileHeaderSize) return "file is shorter than its 14-byte file header";
  if (b[0] != 'B' || b[1] != 'M') return "not a bitmap file (no 'BM' signature)";
  h->bfSize = Le32(&b[2]);
  h->offBits = Le32(&b[10]);
  if (b.size() < kFileHeaderSize + 4) return "info header is truncated";
  h->headerSize = Le32(&b[14]);
  if (!IsKnownHeaderSize(h->headerSize)) {
    return "unsupported info header size " + std::to_string(h->headerSize);
  }
  if (b.size() < kFileHeaderSize + h->headerSize) return "info header is truncated";
  const uint8_t* p = &b[kFileHeaderSize];
  int planes = 0;
  if (h->headerSize == kCoreHeaderSize) {
    h->core = true;
    h->width = Le16(p + 4);
    h->height = Le16(p + 6);
    planes = Le16(p + 8);
    h->bitCount = Le16(p + 10);
  } else {
    h->width = int32_t(Le32(p + 4));
    const int32_t rawHeight = int32_t(Le32(p + 8));
    h->topDown = rawHeight < 0;
    h->height = h->topDown ? -int64_t(rawHeight) : int64_t(rawHeight);
    planes = Le16(p + 12);
    h->bitCount = Le16(p + 14);
    h->compression = Le32(p + 16);
    h->sizeImage = Le32(p + 20);
    h->xPelsPerMeter = int32_t(Le32(p + 24));
    h->yPelsPerMeter = int32_t(Le32(p + 28));
    h->clrUsed = Le32(p + 32);
  }
  if (planes != 1) return "plane count is " + std::to_string(planes) + ", not 1";

  const int bits = h->bitCount;
  const bool coreDepth = bits == 1 || bits == 4 || bits == 8 || bits == 24;
  if (!coreDepth && !(!h->core && (bits == 16 || bits == 32))) {
    return "unsupported bit count " + std::to_string(bits);
  }
  const uint32_t c = h->compression;
  const bool compressionFits = c == BI_RGB || (c == BI_RLE8 && bits == 8) ||
                               (c == BI_RLE4 && bits == 4) ||
                               (c == BI_BITFIELDS && (bits == 16 || bits == 32));
  if (!compressionFits) {
    return "compression " + std::to_string(c) + " is not supported for " + std::to_string(bits) +
           "-bit pixels";
  }
  if (const char* why = TDib::CheckDimensions(h->width, h->height)) return why;
  if (h->topDown && (c == BI_RLE4 || c == BI_RLE8)) {
    return "top-down bitmaps cannot be RLE-compressed";
  }

  h->tableOffset = kFileHeaderSize + h->headerSize;
  if (c == BI_BITFIELDS) {
    const uint8_t* m = p + kInfoHeaderSize;
    if (h->headerSize == kInfoHeaderSize) {
      // The masks follow a 40-byte header, ahead of the colour table.
      if (b.size() < h->tableOffset + 12) return "colour masks are truncated";
      h->tableOffset += 12;
    }
    for (int i = 0; i < 3; ++i) h->masks[i] = Le32(m + 4 * i);
    if (h->headerSize >= 56) h->masks[3] = Le32(m + 12);
  } else if (bits == 16) {
    h->masks[0] = 0x7C00;
    h->masks[1] = 0x03E0;
    h->masks[2] = 0x001F;
  }
  return {};
}

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (mask != 0) {
      shift = __builtin_ctz(mask);
      max = mask >> shift;
    }
  }
  uint8_t Extract(uint32_t pixel) const {
    if (mask == 0) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return uint8_t((v * 255 + max / 2) / max);
  }
};

// Where decoded rows go: bitsPerPixel deep, the top row first and stride bytes from a row to
// the row below it (negative when the rows lie bottom-up, as in a TDib).
struct RowsOut {
  uint8_t* top = nullptr;
  ptrdiff_t stride = 0;
  int bitsPerPixel = 0;

  uint8_t* Row(int64_t y) const { return top + ptrdiff_t(y) * stride; }
};

// 16-bit and bit-field pixels, converted to 24- or 32-bit rows (blue, green, red, alpha).
void ConvertMaskedRows(const uint8_t* src, size_t srcStride, const BmpHeaders& h,
                       const RowsOut& rows) {
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
  const int inBytes = h.bitCount / 8;
  const int outBytes = rows.bitsPerPixel / 8;
  for (int64_t r = 0; r < h.height; ++r) {
    const uint8_t* in = src + size_t(r) * srcStride;
    // File rows run bottom-up unless the header says otherwise.
    uint8_t* out = rows.Row(h.topDown ? r : h.height - 1 - r);
    for (int64_t x = 0; x < h.width; ++x, in += inBytes, out += outBytes) {
      const uint32_t px = inBytes == 2 ? Le16(in) : Le32(in);
      out[0] = blue.Extract(px);
      out[1] = green.Extract(px);
      out[2] = red.Extract(px);
      if (outBytes == 4) out[3] = alpha.Extract(px);
    }
  }
}

struct RleOutcome {
  std::string error;
  uint64_t pixels = 0;  // pixels written by runs
};

// Decodes an RLE4 or RLE8 stream into rows of 4 bits (RLE4 only) or 8 bits per pixel, or
// with null rows only walks it to find out whether it is sound. The stream counts rows from
// the bottom, as they are stored.
RleOutcome DecodeRle(std::span<const uint8_t> s, int64_t width, int64_t height, bool rle4,
                     const RowsOut* rows) {
  RleOutcome out;
  const size_t n = s.size();
  size_t p = 0;
  int64_t x = 0;
  int64_t row = 0;
  auto put = [&](int64_t at, uint8_t value) {
    if (rows == nullptr) return;
    uint8_t* line = rows->Row(height - 1 - row);
    if (rows->bitsPerPixel == 8) {
      line[at] = value;
    } else {
      uint8_t& b = line[at >> 1];
      b = (at & 1) ? uint8_t((b & 0xF0) | value) : uint8_t((b & 0x0F) | (value << 4));
    }
  };
  // Writers pad a row of an odd width with a last run that passes the row's end: the pixels
  // inside the row are kept and the overhang dropped, and later runs of the row, which have no
  // room left, write nothing. Runs above the top row mean the stream and header disagree.
  auto room = [&](int64_t count) -> int64_t {
    return row >= height ? -1 : std::min<int64_t>(count, width - x);
  };
  constexpr const char* kPastTop = "RLE data runs past the top of the image";
  // Every pass of the loop consumes at least two bytes, so it ends.
  while (p + 2 <= n) {
    const uint8_t count = s[p];
    const uint8_t value = s[p + 1];
    p += 2;
    if (count > 0) {
      const int64_t fit = room(count);
      if (fit < 0) return RleOutcome{kPastTop, out.pixels};
      for (int i = 0; i < fit; ++i) {
        put(x + i, rle4 ? uint8_t((i & 1) ? value & 0x0F : value >> 4) : value);
      }
      x += fit;
      out.pixels += uint64_t(fit);
    } else if (value == 0) {  // end of line
      x = 0;
      row = std::min(row + 1, height);
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta: right and up
      if (p + 2 > n) break;
      x += s[p];
      row += s[p + 1];
      p += 2;
      if (x > width || row >= height) {
        return RleOutcome{"RLE delta moves outside the image", out.pixels};
      }
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const size_t bytes = rle4 ? (size_t(value) + 1) / 2 : value;
      if (p + bytes > n) break;
      const int64_t fit = room(value);
      if (fit < 0) return RleOutcome{kPastTop, out.pixels};
      for (int i = 0; i < fit; ++i) {
        const uint8_t b = s[p + size_t(rle4 ? i / 2 : i)];
        put(x + i, rle4 ? uint8_t((i & 1) ? b & 0x0F : b >> 4) : b);
      }
      x += fit;
      out.pixels += uint64_t(fit);
      p += (bytes + 1) & ~size_t(1);
    }
  }
  if (out.pixels == 0) out.error = "RLE data decodes to no pixels";
  return out;
}

// A file whose every part has been checked against the bytes present: what is left cannot
// fail, only be decoded.
struct CheckedBmp {
  BmpHeaders h;
  uint64_t numColors = 0;
  std::span<const uint8_t> pixels;  // the rows, or the RLE stream
  size_t srcStride = 0;             // of an uncompressed file's rows
  bool rle = false;
};

// Checks headers, colour table and where the pixel data lies, from the first bytes of the file
// (which must hold the headers; the colour table is checked against them only when head holds
// it) and the file's size. Leaves c->pixels empty. Returns the reason for refusing the file, or
// an empty text.
std::string CheckLayout(std::span<const uint8_t> head, uint64_t size, CheckedBmp* c) {
  BmpHeaders& h = c->h;
  if (std::string why = ParseHeaders(head, &h); !why.empty()) return why;

  // The colour table: indexed depths only; a table after a direct-colour header is a hint
  // for palette devices and is skipped.
  uint64_t tableEnd = h.tableOffset;
  if (h.bitCount <= 8) {
    const uint64_t maxColors = uint64_t(1) << h.bitCount;
    c->numColors = h.clrUsed != 0 ? h.clrUsed : maxColors;
    if (c->numColors > maxColors) {
      return "colour table claims " + std::to_string(c->numColors) + " entries; " +
             std::to_string(h.bitCount) + "-bit pixels can address only " +
             std::to_string(maxColors);
    }
    tableEnd += c->numColors * (h.core ? 3 : 4);
    if (tableEnd > size) return "colour table runs past the end of the file";
  }
  if (h.offBits < tableEnd) return "pixel data offset points into the headers";
  if (h.offBits >= size) return "pixel data offset lies past the end of the file";
  const uint64_t available = size - uint64_t(h.offBits);
  if (h.sizeImage > available) {
    return "biSizeImage claims " + std::to_string(h.sizeImage) + " bytes; only " +
           std::to_string(available) + " follow the pixel data offset";
  }

  c->rle = h.compression == BI_RLE4 || h.compression == BI_RLE8;
  // The width is at most kDibMaxSide, so a file row's length cannot overflow.
  const uint64_t srcStride = (uint64_t(h.width) * uint64_t(h.bitCount) + 31) / 32 * 4;
  c->srcStride = size_t(srcStride);
  if (!c->rle) {
    uint64_t needed = 0;
    if (__builtin_mul_overflow(srcStride, uint64_t(h.height), &needed) || needed > available) {
      return "pixel data runs past the end of the file";
    }
  }
  return {};
}

// Checks headers, colour table and pixel data, walking an RLE stream without writing.
// Returns the reason for refusing the file, or an empty text.
std::string CheckBmp(std::span<const uint8_t> b, CheckedBmp* c) {
  if (std::string why = CheckLayout(b, b.size(), c); !why.empty()) return why;
  const BmpHeaders& h = c->h;
  const uint64_t available = b.size() - uint64_t(h.offBits);
  c->pixels = b.subspan(h.offBits, c->rle && h.sizeImage != 0 ? h.sizeImage : available);
  if (c->rle) {
    const RleOutcome walk =
        DecodeRle(c->pixels, h.width, h.height, h.compression == BI_RLE4, nullptr);
    if (!walk.error.empty()) return walk.error;
  }
  return {};
}

void ReadColorTable(std::span<const uint8_t> b, const CheckedBmp& c, TRgbQuad* colors) {
  for (uint64_t i = 0; i < c.numColors; ++i) {
    const uint8_t* q = &b[c.h.tableOffset + i * (c.h.core ? 3 : 4)];
    colors[i] = TRgbQuad{q[0], q[1], q[2], 0};
  }
}

// Decodes a checked file's pixels into rows of the file's own depth (24 bits for 16-bit
// pixels), as a TDib holds them, or of 8 bits for indexed and 32 for direct-colour files. RLE
// leaves the pixels its stream skips as they were.
void DecodeRows(const CheckedBmp& c, const RowsOut& rows) {
  const BmpHeaders& h = c.h;
  if (c.rle) {
    DecodeRle(c.pixels, h.width, h.height, h.compression == BI_RLE4, &rows);
    return;
  }
  if (h.bitCount == 16 || h.compression == BI_BITFIELDS) {
    ConvertMaskedRows(c.pixels.data(), c.srcStride, h, rows);
    return;
  }
  const size_t width = size_t(h.width);
  const size_t rowBytes = (width * size_t(h.bitCount) + 7) / 8;
  for (int64_t r = 0; r < h.height; ++r) {
    const uint8_t* in = c.pixels.data() + size_t(r) * c.srcStride;
    uint8_t* out = rows.Row(h.topDown ? r : h.height - 1 - r);
    if (rows.bitsPerPixel == h.bitCount) {
      std::memcpy(out, in, rowBytes);  // same depth, same row layout
    } else if (h.bitCount < 8) {
      // One index a byte from 1- or 4-bit pixels, most significant first.
      const int bits = h.bitCount, perByte = 8 / bits, mask = (1 << bits) - 1;
      for (size_t x = 0; x < width; ++x) {
        const int shift = 8 - bits * (int(x % size_t(perByte)) + 1);
        out[x] = uint8_t((in[x / size_t(perByte)] >> shift) & mask);
      }
    } else {
      // 24 to 32 bits: the fourth byte, which a 24-bit file does not have, is 0.
      for (size_t x = 0; x < width; ++x, in += 3, out += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = 0;
      }
    }
  }
}

// What ReadBmpInto writes for a checked file.
BmpInfo InfoOf(const CheckedBmp& c) {
  BmpInfo info;
  info.width = int(c.h.width);
  info.height = int(c.h.height);
  info.bitsPerPixel = c.h.bitCount <= 8 ? 8 : 32;
  info.numColors = int(c.numColors);
  return info;
}

bool Refuse(std::string* error, std::string why) {
  if (error != nullptr) *error = "BMP: " + std::move(why);
  return false;
}

}  // namespace

DibResult ReadBmp(std::span<const uint8_t> b) {
  CheckedBmp c;
  if (std::string why = CheckBmp(b, &c); !why.empty()) return Fail(std::move(why));

  // Everything the header promised is there; only now is the DIB allocated.
  const BmpHeaders& h = c.h;
  const int outBits = h.bitCount == 16 ? 24 : h.bitCount;
  auto dib = std::make_unique<TDib>(int(h.width), int(h.height), outBits, int(c.numColors));
  if (!dib->IsOK()) return Fail("cannot make a DIB of this size");
  dib->SetPelsPerMeter(h.xPelsPerMeter, h.yPelsPerMeter);
  ReadColorTable(b, c, dib->GetColors());
  DecodeRows(c, RowsOut{dib->ScanLine(0), -ptrdiff_t(dib->BytesPerLine()), outBits});
  return DibResult{std::move(dib), {}};
}

bool ReadBmpInfo(std::span<const uint8_t> bytes, BmpInfo* info, std::string* error) {
  CheckedBmp c;
  if (std::string why = CheckBmp(bytes, &c); !why.empty()) return Refuse(error, std::move(why));
  if (info != nullptr) *info = InfoOf(c);
  return true;
}

bool ReadBmpInto(std::span<const uint8_t> bytes, const BmpTarget& target, BmpInfo* info,
                 std::string* error) {
  CheckedBmp c;
  if (std::string why = CheckBmp(bytes, &c); !why.empty()) return Refuse(error, std::move(why));
  const BmpInfo out = InfoOf(c);
  if (target.colors.size() < size_t(out.numColors)) {
    return Refuse(error, "colour table of " + std::to_string(out.numColors) +
                             " entries does not fit in room for " +
                             std::to_string(target.colors.size()));
  }
  std::string why;
  uint8_t* top =
      LocateTopRow(target.pixels, target.stride, int64_t(out.RowBytes()), out.height, &why);
  if (top == nullptr) return Refuse(error, std::move(why));

  const RowsOut rows{top, target.stride, out.bitsPerPixel};
  if (c.rle) {
    // The stream may skip pixels; those are 0, as in a new DIB.
    for (int y = 0; y < out.height; ++y) std::memset(rows.Row(y), 0, out.RowBytes());
  }
  ReadColorTable(bytes, c, target.colors.data());
  DecodeRows(c, rows);
  if (info != nullptr) *info = out;
  return true;
}

namespace {

// How many bytes, from the start of a bitmap file, its headers say it occupies; at least
// the prefix and never more than available.
uint64_t ClaimedExtent(std::span<const uint8_t> prefix, uint64_t available) {
  BmpHeaders h;
  if (!ParseHeaders(prefix, &h).empty()) return prefix.size();
  uint64_t extent = uint64_t(h.offBits) + h.sizeImage;
  if (h.compression == BI_RLE4 || h.compression == BI_RLE8) {
    // An RLE stream's length is biSizeImage; older writers leave it 0 and only bfSize says.
    if (h.sizeImage == 0) extent = h.bfSize > h.offBits ? h.bfSize : available;
  } else {
    const uint64_t stride = (uint64_t(h.width) * uint64_t(h.bitCount) + 31) / 32 * 4;
    extent = std::max(extent, uint64_t(h.offBits) + stride * uint64_t(h.height));
  }
  return std::clamp<uint64_t>(extent, prefix.size(), available);
}

// Reads the rows of an uncompressed file whose rows the DIB holds byte for byte (every depth
// but 16 bits and bit fields) straight into the DIB's pixel block: bottom-up rows in one read,
// top-down rows through a vector of row addresses in reverse order.
bool ReadRowsInto(int fd, uint64_t at, const CheckedBmp& c, TDib& dib) {
  const size_t stride = dib.BytesPerLine();
  const size_t height = size_t(c.h.height);
  if (!c.h.topDown) return ReadAt(fd, at, dib.Bits(), stride * height);
  std::vector<iovec> rows(std::min<size_t>(height, IOV_MAX));
  for (size_t first = 0; first < height; first += rows.size()) {
    const size_t count = std::min(rows.size(), height - first);
    for (size_t i = 0; i < count; ++i) {
      // The file's row first + i is the DIB's row first + i from the top.
      rows[i] = iovec{dib.ScanLine(int(first + i)), stride};
    }
    size_t want = count * stride;
    uint64_t pos = at + first * stride;
    iovec* v = rows.data();
    size_t left = count;
    while (want > 0) {
      const ssize_t r = ::preadv(fd, v, int(left), off_t(pos));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) return false;
      size_t got = size_t(r);
      want -= got;
      pos += got;
      while (left > 0 && got >= v->iov_len) {
        got -= v->iov_len;
        ++v;
        --left;
      }
      if (left > 0) {
        v->iov_base = static_cast<uint8_t*>(v->iov_base) + got;
        v->iov_len -= got;
      }
    }
  }
  return true;
}

}  // namespace

DibResult ReadBmpFile(const std::string& path, uint64_t offset, uint64_t length) {
  TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return Fail("cannot open " + path + ": " + std::strerror(errno));
  struct stat st {};
  if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    return Fail(path + " is not a regular file");
  }
  return ReadBmpFromFile(file.get(), uint64_t(st.st_size), path, offset, length);
}

DibResult ReadBmpFromFile(int fd, uint64_t fileSize, const std::string& path, uint64_t offset,
                          uint64_t length, std::span<const uint8_t> first) {
  if (offset > fileSize || offset > uint64_t(INT64_MAX)) {
    return Fail("offset " + std::to_string(offset) + " lies past the end of " + path);
  }
  uint64_t available = fileSize - offset;
  if (length != UINT64_MAX) {
    if (length > available) return Fail("byte range runs past the end of " + path);
    available = length;
  }

  // The headers and colour table, in one small read.
  uint8_t headBuffer[kBmpHeadBytes];
  const std::span<const uint8_t> head(headBuffer, size_t(std::min(available, kBmpHeadBytes)));
  if (first.size() >= head.size()) {
    std::memcpy(headBuffer, first.data(), head.size());
  } else if (!ReadAt(fd, offset, headBuffer, head.size())) {
    return Fail("cannot read " + path);
  }

  // An uncompressed file whose rows are the DIB's rows: checked from its headers and size, then
  // its pixels read once, into the DIB.
  CheckedBmp c;
  const uint64_t extent = length == UINT64_MAX ? ClaimedExtent(head, available) : available;
  if (CheckLayout(head, available, &c).empty() && !c.rle && c.h.bitCount != 16 &&
      c.h.compression == BI_RGB &&
      c.h.tableOffset + c.numColors * (c.h.core ? 3 : 4) <= head.size()) {
    // Every byte of the block is written below: the rows by the read, the padding after it.
    auto dib = std::make_unique<TDib>(int(c.h.width), int(c.h.height), c.h.bitCount,
                                      int(c.numColors), TDib::ForOverwrite{});
    if (!dib->IsOK()) return Fail("cannot make a DIB of this size");
    dib->SetPelsPerMeter(c.h.xPelsPerMeter, c.h.yPelsPerMeter);
    ReadColorTable(head, c, dib->GetColors());
    if (!ReadRowsInto(fd, offset + c.h.offBits, c, *dib)) {
      return Fail("cannot read " + path);
    }
    // The bytes after each row's pixels are the file's padding: 0 in a DIB.
    const size_t rowBytes = (size_t(c.h.width) * size_t(c.h.bitCount) + 7) / 8;
    const size_t stride = dib->BytesPerLine();
    if (rowBytes < stride) {
      for (int y = 0; y < dib->Height(); ++y) {
        std::memset(dib->ScanLine(y) + rowBytes, 0, stride - rowBytes);
      }
    }
    return DibResult{std::move(dib), {}};
  }

  // Everything else (run-length streams, bit fields, refusals) from its bytes, read once.
  const size_t size = size_t(std::max<uint64_t>(extent, head.size()));
  auto bytes = std::make_unique_for_overwrite<uint8_t[]>(size);
  std::memcpy(bytes.get(), head.data(), head.size());
  if (size > head.size() &&
      !ReadAt(fd, offset + head.size(), bytes.get() + head.size(), size - head.size())) {
    return Fail("cannot read " + path);
  }
  return ReadBmp(std::span<const uint8_t>(bytes.get(), size));
}

std::vector<uint8_t> EncodeBmp(const TDib& dib, std::string* error) {
  auto refuse = [&](const char* why) {
    if (error != nullptr) *error = std::string("BMP: ") + why;
    return std::vector<uint8_t>{};
  };
  if (!dib.IsOK()) return refuse("cannot write a null DIB");
  if (dib.BitsPerPixel() != 8 && dib.BitsPerPixel() != 24) {
    return refuse("only 8- and 24-bit DIBs can be written");
  }
  const uint64_t tableBytes = uint64_t(dib.NumColors()) * 4;
  const uint64_t offBits = kFileHeaderSize + kInfoHeaderSize + tableBytes;
  const uint64_t fileSize = offBits + dib.SizeImage();
  if (fileSize > UINT32_MAX) return refuse("image is too large for a bitmap file");

  const TBitmapInfoHeader& ih = dib.InfoHeader();
  std::vector<uint8_t> out;
  out.reserve(size_t(fileSize));
  out.push_back('B');
  out.push_back('M');
  Put32(out, uint32_t(fileSize));
  Put32(out, 0);
  Put32(out, uint32_t(offBits));
  Put32(out, kInfoHeaderSize);
  Put32(out, uint32_t(dib.Width()));
  Put32(out, uint32_t(dib.Height()));  // positive: bottom-up
  Put16(out, 1);
  Put16(out, uint32_t(dib.BitsPerPixel()));
  Put32(out, BI_RGB);
  Put32(out, uint32_t(dib.SizeImage()));
  Put32(out, uint32_t(ih.biXPelsPerMeter));
  Put32(out, uint32_t(ih.biYPelsPerMeter));
  Put32(out, uint32_t(dib.NumColors()));
  Put32(out, 0);
  for (int i = 0; i < dib.NumColors(); ++i) {
    const TRgbQuad q = dib.GetColor(i);
    out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
  }
  out.insert(out.end(), dib.Bits(), dib.Bits() + dib.SizeImage());
  return out;
}

bool WriteBmpFile(const TDib& dib, const std::string& path, std::string* error) {
  const std::vector<uint8_t> bytes = EncodeBmp(dib, error);
  if (bytes.empty()) return false;
  std::string why;
  if (!WriteFileReplacing(path, bytes, &why)) {
    if (error != nullptr) *error = "BMP: " + why;
    return false;
  }
  return true;
}

}  // namespace quill
