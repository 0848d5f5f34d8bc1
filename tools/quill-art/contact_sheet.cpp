#include "contact_sheet.h"

#include <cstdio>

#include "button_art.h"
#include "canvas.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/palette.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/png_codec.h"
#include "quillui/imaging/dib_blit.h"

namespace quill_art {

bool MakeContactSheet(const std::string& dir, const std::string& out) {
  const std::string d = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  quill::DibResult background = quill::ReadBmpFile(d + "background800.bmp");
  if (!background.dib) {
    std::fprintf(stderr, "quill-art: %s\n", background.error.c_str());
    return false;
  }
  const std::vector<std::string> names = StripNames();
  constexpr int kColumns = 4, kBoxW = 160, kBoxH = 40;
  const int rows = (int(names.size()) + kColumns - 1) / kColumns;
  Canvas sheet(kColumns * kBoxW, rows * kBoxH);
  const quill::TDib& bg = *background.dib;
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x)
      sheet.Set(x, y, bg.GetPixelIndex(x % bg.Width(), y % bg.Height()));

  for (size_t i = 0; i < names.size(); ++i) {
    quill::DibResult strip = quill::ReadBmpFile(d + names[i]);
    if (!strip.dib) {
      std::fprintf(stderr, "quill-art: %s\n", strip.error.c_str());
      return false;
    }
    const int x0 = int(i % kColumns) * kBoxW + 8, y0 = int(i / kColumns) * kBoxH + 16;
    const int key = quill::StripKeyIndex(*strip.dib);
    for (int y = 0; y < strip.dib->Height(); ++y)
      for (int x = 0; x < strip.dib->Width(); ++x) {
        const int v = strip.dib->GetPixelIndex(x, y);
        if (v != key) sheet.Set(x0 + x, y0 + y, v);
      }
  }

  // The names, in white over the background.
  std::vector<quill::TPaletteEntry> entries(256);
  for (int i = 0; i < 256; ++i) {
    const auto& c = AppColors()[size_t(i)];
    entries[size_t(i)] = quill::TPaletteEntry{c.r, c.g, c.b, 0};
  }
  quill::TPalette palette(entries.data(), 256);
  quill::TBitmap bitmap(sheet.Dib(), &palette);
  {
    quill::TMemoryDC dc(bitmap);
    dc.SelectPalette(&palette, false);
    dc.SetBkMode(quill::TRANSPARENT);
    dc.SetTextColor(quill::TColor(255, 255, 255));
    for (size_t i = 0; i < names.size(); ++i)
      dc.TextOut(int(i % kColumns) * kBoxW + 8, int(i / kColumns) * kBoxH + 1, names[i]);
    dc.RestoreBitmap();
  }
  // Doubled, so each pixel of the faces can be seen.
  const int w = bitmap.Width() * 2, h = bitmap.Height() * 2;
  std::vector<uint8_t> pixels(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      pixels[size_t(y) * size_t(w) + size_t(x)] = bitmap.Row(y / 2)[x / 2];
  std::vector<quill::TRgbQuad> colours(256);
  for (int i = 0; i < 256; ++i) colours[size_t(i)] = sheet.Dib().GetColor(i);
  std::string error;
  if (!quill::WriteIndexedPng(out, w, h, pixels.data(), size_t(w), colours.data(), &error)) {
    std::fprintf(stderr, "quill-art: %s: %s\n", out.c_str(), error.c_str());
    return false;
  }
  return true;
}

}  // namespace quill_art
