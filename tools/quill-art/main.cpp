// quill-art: makes the library's art from code, so no picture in the tree is a binary nobody
// can regenerate.
//   quill-art palette OUT.bmp   the 256-colour palette bitmap: the 20 static colours at both
//                               ends, a 6x6x6 colour cube and a grey ramp between; each index
//                               shown as an 8 x 8 swatch, 16 to a row
#include <cstdio>
#include <string>

#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/platform/screen/screen_surface.h"

namespace {

int MakePalette(const std::string& out) {
  using namespace quill;
  const auto colours = platform::ScreenSurface::DefaultPalette();
  TDib dib(128, 128, 8, 256);
  for (int i = 0; i < 256; ++i) {
    const auto& c = colours[size_t(i)];
    dib.SetColor(i, TColor(c.r, c.g, c.b));
  }
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) dib.SetPixelIndex(x, y, (y / 8) * 16 + x / 8);
  std::string error;
  if (!WriteBmpFile(dib, out, &error)) {
    std::fprintf(stderr, "quill-art: %s: %s\n", out.c_str(), error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "palette") return MakePalette(argv[2]);
  std::fprintf(stderr, "usage: quill-art palette OUT.bmp\n");
  return 2;
}
