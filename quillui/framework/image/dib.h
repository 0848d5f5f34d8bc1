// The classic in-memory device-independent bitmap (info header, colour table, bottom-up rows
// padded to 4 bytes), plus the result type and the safe file replacement its codecs share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "quillui/framework/base/color.h"

namespace quill {

inline constexpr uint32_t BI_RGB = 0;
inline constexpr uint32_t BI_RLE8 = 1;
inline constexpr uint32_t BI_RLE4 = 2;
inline constexpr uint32_t BI_BITFIELDS = 3;

// Field for field the 40-byte header of a bitmap file; in a TDib biHeight is always positive
// (rows are bottom-up) and biCompression is always BI_RGB.
struct TBitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = BI_RGB;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

// Limits on every DIB, whoever makes it: no side beyond kDibMaxSide and no more than
// kDibMaxPixels pixels (64 Mi; 256 MiB at 32 bits), so a hostile header cannot ask for more.
inline constexpr int kDibMaxSide = 16384;
inline constexpr int64_t kDibMaxPixels = int64_t(1) << 26;

class TDib {
 public:
  // A null DIB (IsOK() is false).
  TDib() = default;
  // A blank DIB, every pixel 0 and every colour black. bitCount is 1, 4, 8, 24 or 32.
  // numColors is the colour table's size for 1, 4 and 8 bits (0 = the full 2^bitCount) and
  // must be 0 for 24 and 32 bits. Bad arguments give a null DIB.
  TDib(int width, int height, int bitCount, int numColors = 0);
  // As above, but the pixel block is left as the allocator gives it, for a reader that writes
  // every byte of it (padding included) before the DIB is used. The colours are black.
  struct ForOverwrite {};
  TDib(int width, int height, int bitCount, int numColors, ForOverwrite);

  // Why a DIB of this size cannot exist, or null when it can.
  static const char* CheckDimensions(int64_t width, int64_t height);
  // The padded length of one row, or 0 when the arguments are out of range.
  static size_t StrideFor(int width, int bitCount);

  bool IsOK() const { return !bits_.empty(); }
  int Width() const { return header_.biWidth; }
  int Height() const { return header_.biHeight; }
  int BitsPerPixel() const { return header_.biBitCount; }
  bool IsIndexed() const { return header_.biBitCount <= 8 && IsOK(); }
  int NumColors() const { return int(colors_.size()); }
  const TBitmapInfoHeader& InfoHeader() const { return header_; }
  // Changes whenever the DIB may have changed: at construction, copy and assignment, and at
  // every call that can write to it (the non-const accessors included, so a writer that keeps
  // a row pointer must ask for it again after the DIB has been drawn from). Numbers are never
  // reused, so a cache that remembers one holds the same picture while it is unchanged.
  uint64_t Version() const { return version_.value; }
  void SetPelsPerMeter(int32_t x, int32_t y);

  TRgbQuad* GetColors() {
    Touch();
    return colors_.data();
  }
  const TRgbQuad* GetColors() const { return colors_.data(); }
  // An index outside the table gives black and changes nothing.
  TRgbQuad GetColor(int index) const;
  bool SetColor(int index, const TRgbQuad& quad);
  bool SetColor(int index, TColor color);

  // The whole pixel block, bottom row first.
  uint8_t* Bits() {
    Touch();
    return bits_.data();
  }
  const uint8_t* Bits() const { return bits_.data(); }
  size_t BytesPerLine() const { return stride_; }
  size_t SizeImage() const { return bits_.size(); }
  // The row that is y-th from the top; null outside the image.
  uint8_t* ScanLine(int y);
  const uint8_t* ScanLine(int y) const;

  // Coordinates count from the top-left corner. Indices exist at 1, 4 and 8 bits only: -1 or
  // false elsewhere, outside the image, or for an index the depth cannot hold.
  int GetPixelIndex(int x, int y) const;
  bool SetPixelIndex(int x, int y, int index);
  // The pixel's RGB colour at any depth; TColor::None outside the image or for an index that
  // has no colour table entry. At 32 bits the fourth byte (alpha) is not part of the colour.
  TColor GetPixelColor(int x, int y) const;
  // 24 and 32 bits only; the fourth byte of a 32-bit pixel is left alone.
  bool SetPixelColor(int x, int y, TColor color);

 private:
  TBitmapInfoHeader header_;
  std::vector<TRgbQuad> colors_;
  // Value-initialises only when asked to (assign with a value), so a block about to be
  // overwritten is not cleared first.
  template <typename T>
  struct DefaultInitAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
      using other = DefaultInitAllocator<U>;
    };
    using std::allocator<T>::allocator;
    template <typename U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };
  TDib(int width, int height, int bitCount, int numColors, bool clear);
  // A fresh number for every new object and every copy; moves copy it too.
  struct VersionNumber {
    static uint64_t Next();
    VersionNumber() = default;
    VersionNumber(const VersionNumber&) {}
    VersionNumber& operator=(const VersionNumber&) {
      value = Next();
      return *this;
    }
    uint64_t value = Next();
  };
  void Touch() { version_.value = VersionNumber::Next(); }

  std::vector<uint8_t, DefaultInitAllocator<uint8_t>> bits_;
  size_t stride_ = 0;
  VersionNumber version_;
};

// What a reader hands back: a DIB, or null and a sentence saying why.
struct DibResult {
  std::unique_ptr<TDib> dib;
  std::string error;
};

// Rows of pixels in a buffer the caller owns, as ReadBmpInto and a memory DC over the caller's
// pixels take them: buffer is the whole block, lowest address first, and stride the distance in
// bytes from a row to the row below it in the picture. A positive stride is a top-down block; a
// negative one a bottom-up block like a DIB's bits, whose first row in memory is the bottom one.
//
// Answers where the top row begins, after checking that height rows of rowBytes bytes fit:
// rowBytes and height positive, |stride| at least rowBytes, and (height - 1) * |stride| +
// rowBytes bytes within buffer (64-bit arithmetic, overflow checked). Null, with the reason in
// why when it is given, for a block that does not fit.
uint8_t* LocateTopRow(std::span<uint8_t> buffer, ptrdiff_t stride, int64_t rowBytes, int64_t height,
                      std::string* why);

// Writes bytes to a temporary file beside path and renames it over path, so a failure at any
// step leaves whatever file was there before untouched.
//
// Given a backupPath, the regular file being replaced is kept there: once the new bytes are
// whole on disk, the old file is hard-linked (or, where the file system has no links, copied)
// to a temporary name beside backupPath and renamed over it, and only then does the new file
// take path's name. At every moment path names the old file or the new one, whole. A backup
// that cannot be made fails the write before path is touched.
bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes, std::string* error,
                        const std::string& backupPath = {});

}  // namespace quill
