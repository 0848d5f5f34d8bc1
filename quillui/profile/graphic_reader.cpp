#include "quillui/profile/graphic_reader.h"
#include "quillui/framework/stream/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/png_codec.h"

namespace quill {

ZGraphicReader::ZGraphicReader(const char* fileName, long offset, long length,
                               const TPalette* palette) {
  if (fileName == nullptr || *fileName == '\0') {
    error_ = "no file name given";
    return;
  }
  if (!RangeOk(offset, length)) return;
  const std::string path = fileName;
  const TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    error_ = "cannot open " + path + ": " + std::strerror(errno);
    return;
  }
  Read(file.get(), path, offset, length, palette);
}

ZGraphicReader::ZGraphicReader(int fd, const std::string& name, long offset, long length,
                               const TPalette* palette) {
  if (!RangeOk(offset, length)) return;
  if (fd < 0) {
    error_ = "cannot open " + name;
    return;
  }
  Read(fd, name, offset, length, palette);
}

bool ZGraphicReader::RangeOk(long offset, long length) {
  if (offset < 0) {
    error_ = "negative offset";
    return false;
  }
  if (length == 0) {
    error_ = "empty byte range";
    return false;
  }
  return true;
}

void ZGraphicReader::Read(int fd, const std::string& path, long offset, long length,
                          const TPalette* palette) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error_ = path + " is not a regular file";
    return;
  }
  const uint64_t fileSize = uint64_t(st.st_size);
  const uint64_t start = uint64_t(offset);
  // The range, checked against the bytes really there before anything is read.
  if (start >= fileSize) {
    error_ = "offset beyond the end of " + path;
    return;
  }
  const uint64_t available = fileSize - start;
  if (length > 0 && uint64_t(length) > available) {
    error_ = "byte range beyond the end of " + path;
    return;
  }
  const uint64_t extent = length > 0 ? uint64_t(length) : available;

  // The first bytes tell the format; for a bitmap they are its headers, not read again.
  uint8_t magic[kBmpHeadBytes];
  const size_t magicBytes = extent < sizeof magic ? size_t(extent) : sizeof magic;
  if (!ReadAt(fd, start, magic, magicBytes)) {
    error_ = "cannot read " + path;
    return;
  }

  DibResult result;
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (magicBytes >= 2 && magic[0] == 'B' && magic[1] == 'M') {
    result = ReadBmpFromFile(fd, fileSize, path, start, length > 0 ? uint64_t(length) : UINT64_MAX,
                             std::span<const uint8_t>(magic, magicBytes));
  } else if (magicBytes >= 8 && std::memcmp(magic, kPng, 8) == 0) {
    if (extent > kMaxCompressedBytes) {
      error_ = "PNG range of " + path + " is too large";
      return;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(extent));
    const bool ok = ReadAt(fd, start, bytes.data(), bytes.size());
    if (!ok) {
      error_ = "cannot read " + path;
      return;
    }
    result = ReadPng(bytes);
  } else {
    error_ = path + ": not a BMP or PNG image";
    return;
  }

  if (!result.dib) {
    error_ = result.error.empty() ? "cannot decode " + path : result.error;
    return;
  }
  if (palette != nullptr && palette->IsOK()) {
    dib_ = MapDibToPalette(*result.dib, *palette);
    if (!dib_) error_ = "cannot map " + path + " to the palette";
  } else {
    dib_ = std::move(result.dib);
  }
}

std::unique_ptr<TDib> MapDibToPalette(const TDib& dib, const TPalette& palette) {
  const int entries = palette.GetNumEntries();
  if (!dib.IsOK() || entries <= 0) return nullptr;
  const int count = entries > 256 ? 256 : entries;
  auto out = std::make_unique<TDib>(dib.Width(), dib.Height(), 8, count);
  if (!out->IsOK()) return nullptr;
  for (int i = 0; i < count; ++i) out->SetColor(i, TColor(palette.GetPaletteEntry(i)));

  // Colours repeat far more than they vary: each distinct colour is matched once.
  std::unordered_map<uint32_t, uint8_t> nearest;
  auto indexOf = [&](TColor c) -> uint8_t {
    const uint32_t key = c.GetValue() & 0x00FFFFFFu;
    auto it = nearest.find(key);
    if (it != nearest.end()) return it->second;
    const int found = palette.GetNearestPaletteIndex(TColor(key));
    const uint8_t index = uint8_t(found < 0 ? 0 : (found >= count ? count - 1 : found));
    nearest.emplace(key, index);
    return index;
  };
  for (int y = 0; y < dib.Height(); ++y) {
    uint8_t* row = out->ScanLine(y);
    for (int x = 0; x < dib.Width(); ++x) {
      const TColor c = dib.GetPixelColor(x, y);
      row[x] = c == TColor::None ? 0 : indexOf(c);
    }
  }
  return out;
}

}  // namespace quill
