// The graphics file reader: an image (BMP or PNG) from a file, or from a byte range inside a
// file (a member of a bitmap data set), as a TDib, optionally put into a palette's colours.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "quillui/framework/image/dib.h"

namespace quill {

class TPalette;

class ZGraphicReader {
 public:
  // Bytes read at most for a PNG range; BMP ranges are bounded by the BMP reader itself.
  static constexpr uint64_t kMaxCompressedBytes = uint64_t(256) << 20;

  // Reads the image at offset in the file. A negative length means "as far as the image's
  // own header says" (for a PNG: to the end of the file). The format is told by the first
  // bytes, not by the name. With a palette, the image becomes an 8-bit DIB whose colour
  // table is the palette's entries and whose pixels are the nearest entries.
  ZGraphicReader(const char* fileName, long offset, long length, const TPalette* palette);
  // The same from a file the caller holds open (and closes); name is for the messages. The
  // file's size is asked anew, so a file cut short meanwhile is read no further than it goes.
  ZGraphicReader(int fd, const std::string& name, long offset, long length,
                 const TPalette* palette);

  bool IsOK() const { return dib_ != nullptr; }
  // The image, owned by the reader; null when it could not be read.
  TDib* GetTDib() const { return dib_.get(); }
  // The image, handed over to the caller; the reader is empty afterwards.
  std::unique_ptr<TDib> TakeTDib() { return std::move(dib_); }
  // Why there is no image.
  const std::string& GetError() const { return error_; }

 private:
  bool RangeOk(long offset, long length);
  void Read(int fd, const std::string& path, long offset, long length, const TPalette* palette);

  std::unique_ptr<TDib> dib_;
  std::string error_;
};

// The DIB re-expressed in the palette's colours (8 bits, one table entry per palette entry);
// null for an empty palette or DIB.
std::unique_ptr<TDib> MapDibToPalette(const TDib& dib, const TPalette& palette);

}  // namespace quill
