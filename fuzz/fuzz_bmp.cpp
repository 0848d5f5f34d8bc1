// libFuzzer target for the bitmap reader: any bytes give a DIB or a reason, never a fault, and
// every DIB the writer accepts reads back to the same pixels.
#include <cstring>

#include "quillui/framework/image/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  const DibResult result = ReadBmp(std::span<const uint8_t>(data, size));
  if (!result.dib) {
    if (result.error.empty()) __builtin_trap();
    return 0;
  }
  const TDib& dib = *result.dib;
  // Reading every pixel's colour walks the whole block and the colour table.
  uint32_t sum = 0;
  for (int y = 0; y < dib.Height(); y += 1 + dib.Height() / 64) {
    for (int x = 0; x < dib.Width(); ++x) sum += dib.GetPixelColor(x, y).GetValue();
  }
  std::string error;
  const std::vector<uint8_t> encoded = EncodeBmp(dib, &error);
  if (!encoded.empty()) {
    const DibResult again = ReadBmp(encoded);
    if (!again.dib || again.dib->SizeImage() != dib.SizeImage() ||
        std::memcmp(again.dib->Bits(), dib.Bits(), dib.SizeImage()) != 0) {
      __builtin_trap();
    }
  }
  // Keeps the walk from being optimised away.
  __asm__ volatile("" : : "r"(sum) : "memory");
  return 0;
}
