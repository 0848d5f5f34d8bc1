#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "quillui/framework/image/bmp_codec.h"
#include "quillui/imaging/background.h"

namespace quill_art {

const std::array<quill::platform::PaletteColor, 256>& AppColors() {
  static const auto colours = quill::platform::ScreenSurface::DefaultPalette();
  return colours;
}

int Nearest(int r, int g, int b) {
  int best = 0;
  long bestD = -1;
  for (int i = 0; i < 256; ++i) {
    const auto& c = AppColors()[size_t(i)];
    const long d =
        long(c.r - r) * (c.r - r) + long(c.g - g) * (c.g - g) + long(c.b - b) * (c.b - b);
    if (bestD < 0 || d < bestD) bestD = d, best = i;
  }
  return best;
}

Canvas::Canvas(int w, int h, bool keyed) : dib_(w, h, 8, 256) {
  for (int i = 0; i < 256; ++i) {
    const auto& c = AppColors()[size_t(i)];
    dib_.SetColor(i, quill::TColor(c.r, c.g, c.b));
  }
  if (keyed) dib_.SetColor(kKeyIndex, quill::kBackgroundKeyColors[0]);
}

void Canvas::Fill(int x, int y, int w, int h, int index) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, index);
}

void Canvas::Frame(int x, int y, int w, int h, int index) {
  Fill(x, y, w, 1, index);
  Fill(x, y + h - 1, w, 1, index);
  Fill(x, y, 1, h, index);
  Fill(x + w - 1, y, 1, h, index);
}

void Canvas::Line(int x0, int y0, int x1, int y1, int index) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Set(x0, y0, index);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

void Canvas::Disc(double cx, double cy, double r, int index) {
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= r * r) Set(x, y, index);
    }
}

void Canvas::Ring(double cx, double cy, double r, int index) {
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d <= r && d > r - 1.2) Set(x, y, index);
    }
}

void Canvas::Triangle(double x0, double y0, double x1, double y1, double x2, double y2, int index) {
  auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  const double area = edge(x0, y0, x1, y1, x2, y2);
  if (area == 0) return;
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double a = edge(x0, y0, x1, y1, px, py) / area;
      const double b = edge(x1, y1, x2, y2, px, py) / area;
      const double c = edge(x2, y2, x0, y0, px, py) / area;
      if (a >= 0 && b >= 0 && c >= 0) Set(x, y, index);
    }
}

void Canvas::Paste(const Canvas& from, int x, int y, int skip) {
  for (int j = 0; j < from.Height(); ++j)
    for (int i = 0; i < from.Width(); ++i) {
      const int v = from.Get(i, j);
      if (v != skip) Set(x + i, y + j, v);
    }
}

bool Canvas::Write(const std::string& path) const {
  std::string error;
  if (quill::WriteBmpFile(dib_, path, &error)) return true;
  std::fprintf(stderr, "quill-art: %s: %s\n", path.c_str(), error.c_str());
  return false;
}

}  // namespace quill_art
