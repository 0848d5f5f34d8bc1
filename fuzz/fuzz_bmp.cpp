// libFuzzer target for the bitmap reader: any bytes give a DIB or a reason, never a fault, and
// every DIB the writer accepts reads back to the same pixels. The reader into a caller's
// buffer gives the same verdict, and for a file it takes the pixels and colours of the DIB.
#include <cstring>
#include <string>
#include <vector>

#include "quillui/framework/image/bmp_codec.h"

namespace {

using namespace quill;

// ReadBmpInfo and ReadBmpInto against the DIB ReadBmp made (null when it refused the bytes),
// into an exactly fitting buffer that runs bottom-up or top-down as the last byte says.
void CheckIntoBuffer(std::span<const uint8_t> bytes, const DibResult& result) {
  BmpInfo info;
  std::string why;
  const bool known = ReadBmpInfo(bytes, &info, &why);
  if (known != bool(result.dib) || (!known && why != result.error)) __builtin_trap();
  if (!known) return;
  const TDib& dib = *result.dib;
  if (info.width != dib.Width() || info.height != dib.Height()) __builtin_trap();

  const size_t rowBytes = info.RowBytes();
  std::vector<uint8_t> pixels(rowBytes * size_t(info.height));
  std::vector<TRgbQuad> colors(size_t(info.numColors));
  const bool bottomUp = bytes.back() & 1;
  const BmpTarget target{pixels, bottomUp ? -ptrdiff_t(rowBytes) : ptrdiff_t(rowBytes), colors};
  if (!ReadBmpInto(bytes, target, nullptr, &why)) __builtin_trap();
  for (int i = 0; i < info.numColors; ++i) {
    if (std::memcmp(&colors[size_t(i)], dib.GetColors() + i, 3) != 0) __builtin_trap();
  }
  for (int y = 0; y < info.height; y += 1 + info.height / 64) {
    const uint8_t* row = pixels.data() + size_t(bottomUp ? info.height - 1 - y : y) * rowBytes;
    for (int x = 0; x < info.width; ++x) {
      if (info.bitsPerPixel == 8) {
        if (row[x] != dib.GetPixelIndex(x, y)) __builtin_trap();
      } else {
        const uint8_t* px = row + 4 * size_t(x);
        if (TColor(px[2], px[1], px[0]) != dib.GetPixelColor(x, y)) __builtin_trap();
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const DibResult result = ReadBmp(bytes);
  if (!result.dib && result.error.empty()) __builtin_trap();
  CheckIntoBuffer(bytes, result);
  if (!result.dib) return 0;
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
