// quill-art: makes the library's art from code, so no picture in the tree is a binary nobody
// can regenerate. Every picture is 8-bit in the application palette and the same bytes on
// every run (no randomness, no clock).
//   quill-art palette OUT.bmp   the 256-colour palette bitmap: the 20 static colours at both
//                               ends, a 6x6x6 colour cube and a grey ramp between; each index
//                               shown as an 8 x 8 swatch, 16 to a row
//   quill-art backgrounds DIR   the application backgrounds: background640.bmp,
//                               background800.bmp, background1024.bmp (an atlas globe on a plain
//                               slate field), backtile.bmp (a 100 x 100 seamless lattice), and
//                               the statics' pictures title.bmp and label.bmp
//   quill-art all DIR           all of the above (palette.bmp in DIR), every button strip,
//                               the icons in DIR/icons, DIR/buttons.set and the click sounds
//   quill-art sheet DIR OUT.png the strips of DIR on the keyed bar background, for looking at
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "button_art.h"
#include "canvas.h"
#include "contact_sheet.h"
#include "sound_art.h"

namespace {

using quill_art::Canvas;

int MakePalette(const std::string& out) {
  Canvas c(128, 128);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) c.Set(x, y, (y / 8) * 16 + x / 8);
  return c.Write(out) ? 0 : 1;
}

// The application background: a plain deep slate field with the graticule of a globe drawn faintly
// on the right, as on the end papers of an atlas.
bool MakeBackground(int w, int h, const std::string& out) {
  Canvas c(w, h);
  const int field = quill_art::Nearest(0, 51, 102);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) c.Set(x, y, field);
  const int line = quill_art::Nearest(51, 102, 153);
  const double pi = std::acos(-1.0);
  const double cx = w * 0.68, cy = h * 0.50, radius = h * 0.40;
  const double tilt = 23.5 * pi / 180;  // the axis leans as the earth's does
  auto plot = [&](double lat, double lon) {
    // A point of the sphere, turned by the tilt about the view axis; only the near side shows.
    const double x = std::cos(lat) * std::sin(lon), y = std::sin(lat),
                 z = std::cos(lat) * std::cos(lon);
    if (z < 0) return;
    const double rx = x * std::cos(tilt) - y * std::sin(tilt);
    const double ry = x * std::sin(tilt) + y * std::cos(tilt);
    c.Set(int(std::lround(cx + radius * rx)), int(std::lround(cy - radius * ry)), line);
  };
  const int steps = int(radius * 8);
  for (int m = -180; m < 180; m += 20)
    for (int i = 0; i <= steps; ++i) plot(-pi / 2 + pi * i / steps, (m + 10) * pi / 180);
  for (int p = -60; p <= 60; p += 20)
    for (int i = 0; i <= 2 * steps; ++i) plot(p * pi / 180, -pi + 2 * pi * i / (2 * steps));
  // The rim of the globe.
  for (int i = 0; i <= 4 * steps; ++i) {
    const double a = 2 * pi * i / (4 * steps);
    c.Set(int(std::lround(cx + radius * std::cos(a))), int(std::lround(cy + radius * std::sin(a))),
          line);
  }
  return c.Write(out);
}

// A seamless 100 x 100 tile: the slate field with a thin lattice of diagonals and a small
// diamond at each crossing.
bool MakeTile(const std::string& out) {
  Canvas c(100, 100);
  const int field = quill_art::Nearest(0, 51, 102), line = quill_art::Nearest(51, 102, 153);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const int d1 = (x + y) % 50, d2 = (x - y + 100) % 50;
      const bool onLine = d1 == 0 || d2 == 0;
      // Diamonds where the diagonals cross: at (0, 0), (50, 0), (25, 25) ... of the tile.
      const int dx = std::min(x % 50, 50 - x % 50), dy = std::min(y % 50, 50 - y % 50);
      const int ex = std::abs(x % 50 - 25), ey = std::abs(y % 50 - 25);
      const bool diamond = dx + dy <= 3 || ex + ey <= 3;
      c.Set(x, y, onLine || diamond ? line : field);
    }
  return c.Write(out);
}

// The title line's picture: warm parchment with a fine rule near its foot, tiled along the
// line. The label's: pale grey paper, lit along its top edge.
bool MakeTitle(const std::string& out) {
  Canvas c(64, 24);
  const int paper = quill_art::Nearest(255, 255, 204), rule = quill_art::Nearest(204, 204, 153);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 64; ++x) c.Set(x, y, y == 21 ? rule : paper);
  return c.Write(out);
}

bool MakeLabel(const std::string& out) {
  Canvas c(32, 16);
  const int paper = quill_art::Nearest(204, 204, 204), light = quill_art::Nearest(255, 255, 255);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) c.Set(x, y, y == 0 ? light : paper);
  return c.Write(out);
}

int MakeBackgrounds(const std::string& dir) {
  const std::string d = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  const bool ok = MakeBackground(640, 480, d + "background640.bmp") &&
                  MakeBackground(800, 600, d + "background800.bmp") &&
                  MakeBackground(1024, 768, d + "background1024.bmp") &&
                  MakeTile(d + "backtile.bmp") && MakeTitle(d + "title.bmp") &&
                  MakeLabel(d + "label.bmp");
  return ok ? 0 : 1;
}

}  // namespace

int MakeAll(const std::string& dir) {
  const std::string d = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  if (MakePalette(d + "palette.bmp") != 0 || MakeBackgrounds(d) != 0) return 1;
  return quill_art::MakeButtonArt(d) && quill_art::MakeSounds(d) ? 0 : 1;
}

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (argc == 3 && command == "palette") return MakePalette(argv[2]);
  if (argc == 3 && command == "backgrounds") return MakeBackgrounds(argv[2]);
  if (argc == 3 && command == "all") return MakeAll(argv[2]);
  if (argc == 4 && command == "sheet") return quill_art::MakeContactSheet(argv[2], argv[3]) ? 0 : 1;
  std::fprintf(stderr,
               "usage: quill-art palette OUT.bmp | quill-art backgrounds DIR | quill-art all DIR"
               " | quill-art sheet DIR OUT.png\n");
  return 2;
}
