// The art tool's drawing surface: an 8-bit picture in the application palette, painted by
// palette index, with the few shapes the button faces, icons and backgrounds are drawn from.
#pragma once

#include <array>
#include <string>

#include "quillui/framework/image/dib.h"
#include "quillui/platform/screen/screen_surface.h"

namespace quill_art {

// The application palette's colours, as quill-art palette writes them.
const std::array<quill::platform::PaletteColor, 256>& AppColors();
// The palette index nearest to a colour.
int Nearest(int r, int g, int b);

// The index whose colour the button strips give the key colour: the strips' lower-left pixel
// and every pixel that shows the bar's background.
inline constexpr int kKeyIndex = 245;

class Canvas {
 public:
  // Filled with index 0; with keyed, index kKeyIndex holds the first key colour instead of
  // the palette's.
  Canvas(int w, int h, bool keyed = false);
  int Width() const { return dib_.Width(); }
  int Height() const { return dib_.Height(); }

  void Set(int x, int y, int index) {
    if (index >= 0 && x >= 0 && y >= 0 && x < Width() && y < Height())
      dib_.SetPixelIndex(x, y, index);
  }
  int Get(int x, int y) const { return dib_.GetPixelIndex(x, y); }
  void Fill(int x, int y, int w, int h, int index);
  void Frame(int x, int y, int w, int h, int index);
  void Line(int x0, int y0, int x1, int y1, int index);
  // A filled disc (r may be fractional) and its rim.
  void Disc(double cx, double cy, double r, int index);
  void Ring(double cx, double cy, double r, int index);
  // A filled triangle.
  void Triangle(double x0, double y0, double x1, double y1, double x2, double y2, int index);
  // Copies another canvas with its top-left corner at (x, y); index -1 in it is left out.
  void Paste(const Canvas& from, int x, int y, int skip = -1);

  const quill::TDib& Dib() const { return dib_; }
  bool Write(const std::string& path) const;

 private:
  quill::TDib dib_;
};

}  // namespace quill_art
