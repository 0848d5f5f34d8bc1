// Building data-set files byte by byte in tests, damaged ones included, and small bitmaps to
// pack into them.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"

namespace quill::test {

struct RawEntry {
  std::string name;  // up to 16 bytes are stored; shorter names are NUL-padded
  uint32_t offset = 0;
  uint32_t length = 0;
};

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// "DSET", 8, the reserved word, the count as given (which may lie), the entries, then data.
inline std::vector<uint8_t> SetBytes(uint32_t count, const std::vector<RawEntry>& entries,
                                     const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out = {'D', 'S', 'E', 'T'};
  Put32(out, 8);
  Put32(out, 0xFFFFFFFFu);
  Put32(out, count);
  for (const RawEntry& e : entries) {
    char name[16] = {};
    std::memcpy(name, e.name.data(), e.name.size() < 16 ? e.name.size() : 16);
    out.insert(out.end(), name, name + 16);
    Put32(out, e.offset);
    Put32(out, e.length);
  }
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// An 8-bit bitmap file of width x height whose pixel (x, y) is (x + 3y + seed) mod 256 and
// whose colour table is a grey ramp.
inline std::vector<uint8_t> SmallBmp(int width, int height, int seed) {
  TDib dib(width, height, 8);
  for (int i = 0; i < 256; ++i) dib.SetColor(i, TRgbQuad{uint8_t(i), uint8_t(i), uint8_t(i), 0});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) dib.SetPixelIndex(x, y, (x + 3 * y + seed) & 0xFF);
  return EncodeBmp(dib, nullptr);
}

}  // namespace quill::test
