// libFuzzer target for the PNG reader: any bytes give a DIB or a reason, never a fault.
#include <array>
#include <vector>

#include "quillui/framework/image/png_codec.h"

namespace {

uint32_t Crc32(const uint8_t* data, size_t size) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

// Mutations nearly always break a chunk checksum, which would stop almost every input at its
// first chunk; a copy with the checksums made right lets the fuzzer reach the decoder itself.
std::vector<uint8_t> WithChecksumsFixed(const uint8_t* data, size_t size) {
  std::vector<uint8_t> b(data, data + size);
  size_t p = 8;  // after the signature
  while (b.size() >= 12 && p <= b.size() - 12) {
    const uint32_t length =
        uint32_t(b[p]) << 24 | uint32_t(b[p + 1]) << 16 | uint32_t(b[p + 2]) << 8 | b[p + 3];
    if (length > b.size() - p - 12) break;
    const uint32_t crc = Crc32(&b[p + 4], size_t(length) + 4);
    for (int i = 0; i < 4; ++i) b[p + 8 + length + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
    p += size_t(length) + 12;
  }
  return b;
}

void Check(std::span<const uint8_t> bytes) {
  const quill::DibResult result = quill::ReadPng(bytes);
  if (!result.dib) {
    if (result.error.empty()) __builtin_trap();
    return;
  }
  const quill::TDib& dib = *result.dib;
  uint32_t sum = 0;
  for (int y = 0; y < dib.Height(); y += 1 + dib.Height() / 64) {
    for (int x = 0; x < dib.Width(); ++x) sum += dib.GetPixelColor(x, y).GetValue();
  }
  // Keeps the walk from being optimised away.
  __asm__ volatile("" : : "r"(sum) : "memory");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(std::span<const uint8_t>(data, size));
  const std::vector<uint8_t> fixed = WithChecksumsFixed(data, size);
  Check(fixed);
  return 0;
}
