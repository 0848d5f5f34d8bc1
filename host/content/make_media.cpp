// quillonary-media: draws the encyclopedia's pictures and synthesises its sounds, the same
// bytes on every run.
//
//   quillonary-media OUTDIR [--sheet SHEET.png]
//
// Writes one 320x240 8-bit picture in the application palette per article ("ID.bmp") into
// OUTDIR/pictures and the sounds into OUTDIR/sounds; with --sheet, also a contact sheet of
// every picture.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "quillui/framework/image/png_codec.h"
#include "tools/quill-art/canvas.h"
#include "tools/quill-art/sound_art.h"

namespace {

using quill_art::Canvas;

constexpr int kW = 320;
constexpr int kH = 240;
const double kPi = std::acos(-1.0);

struct Rgb {
  int r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return Rgb{int(std::lround(a.r + (b.r - a.r) * t)), int(std::lround(a.g + (b.g - a.g) * t)),
             int(std::lround(a.b + (b.b - a.b) * t))};
}

// Paints in true colour onto the 8-bit canvas with a 4x4 ordered dither between the colour
// cube's levels, so gradients and in-between colours read well in 256 colours.
class Painter {
 public:
  explicit Painter(Canvas& canvas) : c_(canvas) {}

  void Dot(int x, int y, Rgb rgb) {
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double t = (kBayer[y & 3][x & 3] + 0.5) / 16.0;
    auto level = [t](int v) {
      const double q = std::clamp(v, 0, 255) / 51.0;
      const double lo = std::floor(q);
      return int(std::min(5.0, q - lo > t ? lo + 1 : lo)) * 51;
    };
    c_.Set(x, y, quill_art::Nearest(level(rgb.r), level(rgb.g), level(rgb.b)));
  }

  // Every pixel of the box whose centre passes the test takes the colour it gives.
  void Area(int x0, int y0, int x1, int y1, const std::function<bool(double, double)>& inside,
            const std::function<Rgb(double, double)>& colour) {
    for (int y = std::max(0, y0); y < std::min(kH, y1); ++y)
      for (int x = std::max(0, x0); x < std::min(kW, x1); ++x) {
        const double px = x + 0.5, py = y + 0.5;
        if (inside(px, py)) Dot(x, y, colour(px, py));
      }
  }
  void Area(int x0, int y0, int x1, int y1, const std::function<bool(double, double)>& inside,
            Rgb rgb) {
    Area(x0, y0, x1, y1, inside, [rgb](double, double) { return rgb; });
  }

  void VGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
    Area(
        x, y, x + w, y + h, [](double, double) { return true; },
        [&](double, double py) { return Mix(top, bottom, (py - y) / std::max(1, h - 1)); });
  }
  void Rect(double x, double y, double w, double h, Rgb rgb) {
    Area(
        int(x), int(y), int(std::ceil(x + w)), int(std::ceil(y + h)),
        [&](double px, double py) { return px >= x && px < x + w && py >= y && py < y + h; }, rgb);
  }
  void Ellipse(double cx, double cy, double rx, double ry, Rgb rgb) {
    Area(
        int(cx - rx), int(cy - ry), int(cx + rx) + 1, int(cy + ry) + 1,
        [&](double px, double py) {
          const double dx = (px - cx) / rx, dy = (py - cy) / ry;
          return dx * dx + dy * dy <= 1;
        },
        rgb);
  }
  void Disc(double cx, double cy, double r, Rgb rgb) { Ellipse(cx, cy, r, r, rgb); }
  // A ring between two radii, optionally only above cy (an arch).
  void Annulus(double cx, double cy, double r0, double r1, Rgb rgb, bool upperHalf = false) {
    Area(
        int(cx - r1), int(cy - r1), int(cx + r1) + 1, int(cy + r1) + 1,
        [&](double px, double py) {
          const double d = std::hypot(px - cx, py - cy);
          return d >= r0 && d < r1 && (!upperHalf || py <= cy);
        },
        rgb);
  }
  // A filled polygon (even-odd rule).
  void Polygon(const std::vector<std::pair<double, double>>& pts, Rgb rgb) {
    double x0 = kW, y0 = kH, x1 = 0, y1 = 0;
    for (auto [x, y] : pts) {
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    Area(
        int(x0), int(y0), int(x1) + 1, int(y1) + 1,
        [&](double px, double py) {
          bool in = false;
          for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
          }
          return in;
        },
        rgb);
  }
  // A line of the given width with round ends.
  void Stroke(double ax, double ay, double bx, double by, double width, Rgb rgb) {
    const double r = width / 2;
    Area(
        int(std::min(ax, bx) - r), int(std::min(ay, by) - r), int(std::max(ax, bx) + r) + 1,
        int(std::max(ay, by) + r) + 1,
        [&](double px, double py) {
          const double vx = bx - ax, vy = by - ay;
          const double len2 = vx * vx + vy * vy;
          double t = len2 > 0 ? ((px - ax) * vx + (py - ay) * vy) / len2 : 0;
          t = std::clamp(t, 0.0, 1.0);
          return std::hypot(px - (ax + t * vx), py - (ay + t * vy)) <= r;
        },
        rgb);
  }
  // A polyline through the points of f(t) for t in [0, 1].
  void Curve(const std::function<std::pair<double, double>(double)>& f, int steps, double width,
             Rgb rgb) {
    auto [px, py] = f(0);
    for (int i = 1; i <= steps; ++i) {
      auto [x, y] = f(double(i) / steps);
      Stroke(px, py, x, y, width, rgb);
      px = x, py = y;
    }
  }

 private:
  Canvas& c_;
};

// A small deterministic generator for scattered stars, bubbles and grains.
struct Lcg {
  uint32_t s;
  double Next() {
    s = s * 1664525u + 1013904223u;
    return (s >> 8) / double(1 << 24);
  }
};

const Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};
const Rgb kNight{8, 16, 48}, kDusk{40, 60, 120}, kDay{90, 160, 240}, kPale{200, 230, 255};
const Rgb kGrass{60, 150, 60}, kSand{230, 205, 140};

void Stars(Painter& p, int count, int yMax, uint32_t seed) {
  Lcg rng{seed};
  for (int i = 0; i < count; ++i) {
    const int x = int(rng.Next() * kW), y = int(rng.Next() * yMax);
    p.Rect(x, y, 1 + (i % 7 == 0), 1 + (i % 7 == 0), Rgb{240, 240, 220});
  }
}

void Waves(Painter& p, double y0, Rgb top, Rgb bottom, double amplitude, double period) {
  p.Area(
      0, int(y0 - amplitude) - 1, kW, kH,
      [&](double x, double y) { return y >= y0 + amplitude * std::sin(x * 2 * kPi / period); },
      [&](double, double y) { return Mix(top, bottom, (y - y0) / (kH - y0)); });
}

void Aurora(Painter& p) {
  p.VGradient(0, 0, kW, kH, kNight, Rgb{20, 40, 80});
  Stars(p, 70, 150, 7);
  for (int band = 0; band < 3; ++band) {
    const double base = 60 + band * 28;
    p.Area(
        0, 0, kW, 200,
        [&](double x, double y) {
          const double top = base + 22 * std::sin(x / 40.0 + band) - 40;
          const double bottom = base + 22 * std::sin(x / 40.0 + band) + 12;
          return y >= top && y < bottom;
        },
        [&](double x, double y) {
          const double top = base + 22 * std::sin(x / 40.0 + band) - 40;
          return Mix(Rgb{30, 60, 90}, band == 1 ? Rgb{140, 255, 170} : Rgb{80, 230, 140},
                     (y - top) / 52.0);
        });
  }
  p.Polygon(
      {{0, 240}, {0, 185}, {60, 160}, {110, 190}, {170, 150}, {240, 185}, {320, 165}, {320, 240}},
      Rgb{230, 240, 250});
  for (int i = 0; i < 6; ++i) {
    const double x = 20 + i * 55;
    p.Polygon({{x, 228}, {x + 10, 196}, {x + 20, 228}}, Rgb{20, 60, 40});
  }
}

void Moon(Painter& p) {
  p.VGradient(0, 0, kW, kH, kNight, kDusk);
  Stars(p, 90, kH, 11);
  p.Disc(160, 110, 70, Rgb{235, 235, 215});
  // The unlit part takes the sky's colour, leaving a crescent.
  p.Area(
      120, 25, 260, 165, [](double x, double y) { return std::hypot(x - 190, y - 95) <= 64; },
      [](double, double y) { return Mix(kNight, kDusk, y / (kH - 1)); });
  for (auto [x, y, r] : {std::tuple{110.0, 90.0, 6.0}, {118.0, 140.0, 8.0}, {132.0, 62.0, 4.0}})
    p.Disc(x, y, r, Rgb{190, 190, 175});
}

void Sun(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{255, 200, 100}, Rgb{255, 120, 60});
  for (int i = 0; i < 16; ++i) {
    const double a = i * kPi / 8;
    p.Stroke(160 + 78 * std::cos(a), 120 + 78 * std::sin(a), 160 + 110 * std::cos(a),
             120 + 110 * std::sin(a), 8, Rgb{255, 240, 120});
  }
  p.Disc(160, 120, 68, Rgb{255, 220, 40});
  p.Disc(160, 120, 52, Rgb{255, 245, 150});
}

void Volcano(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{90, 70, 90}, Rgb{240, 140, 80});
  p.Disc(190, 40, 26, Rgb{110, 100, 100});
  p.Disc(160, 30, 30, Rgb{130, 120, 120});
  p.Disc(130, 45, 22, Rgb{100, 95, 95});
  p.Polygon({{20, 240}, {135, 80}, {185, 80}, {300, 240}}, Rgb{90, 60, 45});
  p.Polygon({{150, 80},
             {170, 80},
             {185, 140},
             {175, 180},
             {190, 240},
             {160, 240},
             {165, 170},
             {150, 130}},
            Rgb{255, 90, 20});
  p.Polygon({{155, 84}, {165, 84}, {172, 130}, {160, 135}}, Rgb{255, 220, 60});
  p.Rect(0, 225, kW, 15, Rgb{50, 40, 35});
}

void HoneyBee(Painter& p) {
  p.VGradient(0, 0, kW, kH, kDay, kPale);
  for (int i = 0; i < 4; ++i) {
    const double x = 40 + i * 80;
    p.Stroke(x, 240, x + 5, 185, 4, kGrass);
    for (int k = 0; k < 6; ++k) {
      const double a = k * kPi / 3;
      p.Disc(x + 5 + 12 * std::cos(a), 180 + 12 * std::sin(a), 8, Rgb{250, 250, 250});
    }
    p.Disc(x + 5, 180, 7, Rgb{250, 200, 0});
  }
  // The bee: wings, striped body, head.
  p.Ellipse(145, 80, 30, 20, Rgb{220, 240, 255});
  p.Ellipse(180, 78, 26, 18, Rgb{200, 225, 250});
  p.Ellipse(160, 115, 50, 30, Rgb{245, 190, 20});
  p.Area(
      100, 80, 215, 150,
      [](double x, double y) {
        const double dx = (x - 160) / 50, dy = (y - 115) / 30;
        return dx * dx + dy * dy > 1 && dx * dx + dy * dy <= 1.0;
      },
      kBlack);
  p.Ellipse(160, 115, 50, 30, Rgb{245, 190, 20});
  for (int s = 0; s < 3; ++s)
    p.Area(
        110, 85, 210, 146,
        [s](double x, double y) {
          const double dx = (x - 160) / 50, dy = (y - 115) / 30;
          return dx * dx + dy * dy <= 1 && x >= 135 + s * 22 && x < 147 + s * 22;
        },
        kBlack);
  p.Disc(215, 112, 18, Rgb{40, 30, 20});
  p.Disc(222, 106, 4, kWhite);
  p.Polygon({{108, 112}, {92, 115}, {108, 118}}, kBlack);
}

void Lighthouse(Painter& p) {
  p.VGradient(0, 0, kW, kH, kNight, Rgb{40, 50, 100});
  Stars(p, 50, 120, 3);
  p.Polygon({{170, 60}, {320, 20}, {320, 90}}, Rgb{120, 120, 80});
  p.Polygon({{150, 60}, {0, 25}, {0, 85}}, Rgb{100, 100, 75});
  Waves(p, 200, Rgb{30, 60, 120}, Rgb{10, 30, 70}, 3, 40);
  p.Polygon({{100, 210}, {120, 175}, {200, 170}, {230, 210}}, Rgb{70, 60, 55});
  p.Polygon({{140, 175}, {148, 72}, {172, 72}, {180, 175}}, kWhite);
  for (int s = 0; s < 3; ++s) {
    const double y = 88 + s * 30;
    const double inset = (y - 72) * 8 / 103.0;
    p.Rect(148 - inset + 0.5, y, 24 + 2 * inset, 12, Rgb{220, 30, 30});
  }
  p.Rect(144, 66, 32, 6, Rgb{40, 40, 40});
  p.Rect(150, 48, 20, 18, Rgb{255, 240, 120});
  p.Polygon({{146, 48}, {160, 34}, {174, 48}}, Rgb{200, 30, 30});
}

void Press(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{140, 100, 60}, Rgb{90, 60, 35});
  p.Rect(0, 200, kW, 40, Rgb{70, 45, 25});
  // The frame of the press, its screw and platen, and the bed with a printed sheet.
  p.Rect(70, 30, 18, 175, Rgb{60, 35, 20});
  p.Rect(232, 30, 18, 175, Rgb{60, 35, 20});
  p.Rect(60, 22, 200, 20, Rgb{60, 35, 20});
  p.Rect(150, 42, 20, 50, Rgb{160, 160, 170});
  for (int k = 0; k < 6; ++k) p.Rect(148, 46 + k * 8, 24, 3, Rgb{100, 100, 110});
  p.Stroke(110, 70, 210, 60, 6, Rgb{120, 80, 40});
  p.Rect(105, 92, 110, 16, Rgb{110, 70, 40});
  p.Rect(60, 140, 200, 14, Rgb{110, 70, 40});
  p.Rect(110, 122, 100, 18, kWhite);
  for (int l = 0; l < 4; ++l) p.Rect(118, 125 + l * 4, 60 + (l % 2) * 20, 2, Rgb{30, 30, 30});
}

void Photosynthesis(Painter& p) {
  p.VGradient(0, 0, kW, kH, kDay, kPale);
  p.Disc(270, 40, 26, Rgb{255, 230, 60});
  for (int i = 0; i < 3; ++i)
    p.Stroke(245 - i * 12, 65 + i * 6, 175 - i * 18, 115 + i * 12, 3, Rgb{255, 220, 80});
  p.Stroke(250, 222, 218, 185, 5, Rgb{50, 110, 40});
  // A large leaf with its veins.
  p.Area(
      60, 60, 260, 200,
      [](double x, double y) {
        const double u = (x - 160) / 95, v = (y - 130) / 55;
        const double rot = (u + v) / 1.4142, rot2 = (v - u) / 1.4142;
        return rot * rot + 4 * rot2 * rot2 <= 1;
      },
      [](double x, double y) {
        return Mix(Rgb{60, 170, 60}, Rgb{30, 120, 40}, (y - 60) / 140.0);
      });
  p.Stroke(100, 75, 220, 190, 3, Rgb{170, 220, 120});
  for (int k = 1; k < 5; ++k) {
    const double x = 100 + k * 24, y = 75 + k * 23;
    p.Stroke(x, y, x + 30, y - 22, 2, Rgb{150, 210, 110});
    p.Stroke(x, y, x - 22, y + 24, 2, Rgb{150, 210, 110});
  }
  p.Rect(0, 220, kW, 20, Rgb{110, 80, 50});
}

void Rainbow(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{110, 150, 200}, Rgb{190, 215, 240});
  const Rgb bands[] = {{230, 30, 30}, {250, 140, 20}, {250, 230, 30}, {50, 180, 60},
                       {40, 90, 220}, {80, 40, 160},  {150, 60, 200}};
  for (int i = 0; i < 7; ++i) p.Annulus(160, 230, 150 - (i + 1) * 9, 150 - i * 9, bands[i], true);
  for (auto [x, y] : {std::pair{60.0, 40.0}, {250.0, 55.0}}) {
    p.Disc(x, y, 18, kWhite);
    p.Disc(x + 20, y - 5, 22, kWhite);
    p.Disc(x + 42, y, 16, kWhite);
    p.Rect(x, y, 44, 16, kWhite);
  }
  p.Area(
      0, 190, kW, kH, [](double x, double y) { return y > 200 + 8 * std::sin(x / 50); }, kGrass);
}

void CoralReef(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{60, 180, 220}, Rgb{10, 60, 130});
  p.Area(
      0, 180, kW, kH, [](double x, double y) { return y > 205 + 6 * std::sin(x / 30); }, kSand);
  // Branching coral, a brain coral and fish.
  auto branch = [&](double x, double y, Rgb c) {
    p.Stroke(x, y, x, y - 50, 7, c);
    p.Stroke(x, y - 25, x - 20, y - 60, 6, c);
    p.Stroke(x, y - 30, x + 22, y - 65, 6, c);
    p.Stroke(x - 20, y - 60, x - 28, y - 75, 5, c);
  };
  branch(60, 215, Rgb{250, 110, 120});
  branch(250, 212, Rgb{250, 160, 60});
  p.Ellipse(160, 205, 40, 24, Rgb{200, 120, 200});
  for (int k = 0; k < 5; ++k)
    p.Stroke(128 + k * 2, 195 + k * 4, 192 - k * 2, 195 + k * 4, 2, Rgb{150, 70, 150});
  auto fish = [&](double x, double y, Rgb c) {
    p.Ellipse(x, y, 18, 10, c);
    p.Polygon({{x + 14, y}, {x + 28, y - 9}, {x + 28, y + 9}}, c);
    p.Disc(x - 9, y - 2, 2.5, kBlack);
  };
  fish(110, 80, Rgb{255, 200, 0});
  fish(200, 120, Rgb{255, 120, 30});
  fish(230, 60, Rgb{80, 220, 240});
  Lcg rng{5};
  for (int i = 0; i < 10; ++i)
    p.Disc(280 + rng.Next() * 20, 200 - i * 18, 2 + rng.Next() * 2, kPale);
}

void Glacier(Painter& p) {
  p.VGradient(0, 0, kW, kH, kDay, kPale);
  p.Polygon({{0, 200},
             {0, 90},
             {60, 40},
             {110, 100},
             {150, 30},
             {220, 110},
             {270, 50},
             {320, 100},
             {320, 200}},
            Rgb{120, 120, 130});
  p.Polygon({{40, 58}, {60, 40}, {80, 64}}, kWhite);
  p.Polygon({{130, 60}, {150, 30}, {172, 57}}, kWhite);
  p.Polygon({{250, 72}, {270, 50}, {290, 70}}, kWhite);
  // The ice tongue flowing down to the sea, with its crevasses.
  p.Polygon({{90, 110}, {150, 80}, {220, 120}, {280, 205}, {30, 205}}, Rgb{215, 235, 250});
  for (int k = 0; k < 6; ++k)
    p.Stroke(70 + k * 35, 170 + (k % 2) * 8, 85 + k * 35, 150 + (k % 2) * 8, 2, Rgb{120, 170, 210});
  Waves(p, 210, Rgb{40, 100, 160}, Rgb{20, 60, 120}, 2, 30);
  p.Polygon({{200, 222}, {215, 208}, {235, 222}}, Rgb{230, 245, 255});
}

void Violin(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{120, 30, 40}, Rgb{50, 10, 20});
  const Rgb wood{190, 90, 30};
  p.Ellipse(160, 170, 50, 42, wood);
  p.Ellipse(160, 100, 42, 36, wood);
  p.Rect(125, 125, 70, 25, wood);
  p.Ellipse(118, 136, 10, 12, Rgb{90, 20, 30});
  p.Ellipse(202, 136, 10, 12, Rgb{90, 20, 30});
  p.Rect(152, 15, 16, 80, Rgb{30, 20, 15});  // the neck and fingerboard
  p.Ellipse(160, 14, 10, 12, Rgb{150, 70, 25});
  p.Stroke(140, 150, 145, 170, 3, kBlack);  // sound holes
  p.Stroke(180, 150, 175, 170, 3, kBlack);
  p.Rect(145, 185, 30, 5, Rgb{230, 200, 150});  // the bridge
  for (int s = 0; s < 4; ++s) p.Rect(155 + s * 3, 15, 1, 200, Rgb{230, 230, 210});
  p.Stroke(40, 60, 290, 205, 3, Rgb{120, 70, 30});  // the bow
  p.Stroke(43, 66, 290, 211, 1, Rgb{240, 240, 230});
}

void Tides(Painter& p) {
  p.VGradient(0, 0, kW, kH, kDay, kPale);
  p.Disc(260, 45, 22, Rgb{245, 245, 230});
  p.Polygon({{0, 240}, {0, 150}, {320, 215}, {320, 240}}, kSand);
  // The sea reaching up the beach, with the high-water line left on the sand.
  p.Area(
      0, 90, kW, kH,
      [](double x, double y) {
        return y > 120 + 10 * std::sin(x / 25) && y < 150 + x * 0.2 + 4 * std::sin(x / 12);
      },
      [](double, double y) {
        return Mix(Rgb{40, 130, 200}, Rgb{20, 80, 160}, (y - 110) / 100.0);
      });
  p.Curve(
      [](double t) {
        return std::pair{t * 320, 152 + t * 64 + 3 * std::sin(t * 20)};
      },
      60, 3, kWhite);
  p.Curve([](double t) { return std::pair{t * 320, 168 + t * 64}; }, 30, 2, Rgb{150, 120, 80});
  p.Stroke(60, 200, 72, 186, 3, Rgb{120, 90, 60});
  p.Disc(232, 225, 5, Rgb{240, 150, 130});
}

void Compass(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{230, 210, 170}, Rgb{200, 170, 120});
  for (int k = 0; k < 4; ++k) p.Stroke(0, 40 + k * 50, 320, 30 + k * 55, 1, Rgb{170, 140, 100});
  p.Disc(160, 120, 100, Rgb{150, 110, 40});
  p.Disc(160, 120, 90, Rgb{250, 245, 230});
  for (int i = 0; i < 32; ++i) {
    const double a = i * kPi / 16;
    const double r = i % 8 == 0 ? 70 : 80;
    p.Stroke(160 + r * std::cos(a), 120 + r * std::sin(a), 160 + 88 * std::cos(a),
             120 + 88 * std::sin(a), i % 4 == 0 ? 3 : 1, kBlack);
  }
  p.Polygon({{160, 45}, {172, 120}, {148, 120}}, Rgb{220, 30, 30});
  p.Polygon({{160, 195}, {172, 120}, {148, 120}}, Rgb{40, 40, 60});
  p.Disc(160, 120, 6, Rgb{200, 170, 60});
  // An N for north.
  p.Stroke(153, 8, 153, 24, 2, kBlack);
  p.Stroke(167, 8, 167, 24, 2, kBlack);
  p.Stroke(153, 8, 167, 24, 2, kBlack);
}

void Bread(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{240, 220, 190}, Rgb{210, 180, 140});
  p.Rect(0, 170, kW, 70, Rgb{140, 90, 50});
  for (int k = 0; k < 5; ++k) p.Stroke(0, 180 + k * 14, 320, 180 + k * 14, 1, Rgb{120, 75, 40});
  p.Ellipse(150, 150, 110, 50, Rgb{200, 130, 50});
  p.Ellipse(150, 140, 100, 42, Rgb{220, 160, 70});
  for (int k = 0; k < 4; ++k) p.Stroke(80 + k * 40, 118, 100 + k * 40, 160, 5, Rgb{245, 215, 150});
  p.Ellipse(270, 190, 30, 12, Rgb{250, 240, 210});  // a slice beside it
  p.Area(
      240, 178, 300, 203,
      [](double x, double y) {
        const double dx = (x - 270) / 30, dy = (y - 190) / 12;
        const double d = dx * dx + dy * dy;
        return d <= 1 && d > 0.7;
      },
      Rgb{180, 110, 40});
}

void Nile(Painter& p) {
  p.VGradient(0, 0, kW, 90, Rgb{80, 150, 230}, Rgb{230, 210, 170});
  p.Rect(0, 90, kW, 150, Rgb{225, 195, 130});
  p.Disc(60, 40, 18, Rgb{255, 240, 150});
  p.Polygon({{190, 92}, {230, 40}, {270, 92}}, Rgb{210, 170, 100});
  p.Polygon({{230, 40}, {270, 92}, {250, 92}}, Rgb{170, 130, 70});
  // The river winding toward the viewer, green banks beside it.
  auto river = [](double y) { return 150 + 60 * std::sin((y - 90) / 45); };
  p.Area(
      0, 90, kW, kH,
      [&](double x, double y) {
        const double w = 8 + (y - 90) * 0.35;
        return std::abs(x - river(y)) < w + 14;
      },
      Rgb{70, 160, 60});
  p.Area(
      0, 90, kW, kH,
      [&](double x, double y) {
        const double w = 8 + (y - 90) * 0.35;
        return std::abs(x - river(y)) < w;
      },
      [](double, double y) {
        return Mix(Rgb{60, 120, 180}, Rgb{30, 80, 150}, (y - 90) / 150);
      });
  p.Polygon({{112, 190}, {148, 190}, {140, 200}, {120, 200}}, Rgb{120, 70, 30});  // a boat
  p.Stroke(130, 190, 130, 150, 2, Rgb{90, 60, 30});
  p.Polygon({{131, 152}, {150, 185}, {131, 185}}, kWhite);
}

void Penguin(Painter& p) {
  p.VGradient(0, 0, kW, 150, Rgb{140, 190, 240}, Rgb{220, 235, 250});
  p.Polygon({{0, 150}, {80, 120}, {200, 140}, {320, 115}, {320, 240}, {0, 240}},
            Rgb{240, 248, 255});
  p.Polygon(
      {{0, 150}, {80, 120}, {200, 140}, {320, 115}, {320, 125}, {200, 150}, {80, 130}, {0, 160}},
      Rgb{190, 215, 240});
  auto penguin = [&](double x, double y, double s) {
    p.Ellipse(x, y, 26 * s, 50 * s, Rgb{20, 20, 30});
    p.Ellipse(x, y + 8 * s, 17 * s, 38 * s, kWhite);
    p.Disc(x, y - 46 * s, 18 * s, Rgb{20, 20, 30});
    p.Disc(x + 7 * s, y - 50 * s, 3 * s, kWhite);
    p.Polygon({{x + 14 * s, y - 46 * s}, {x + 28 * s, y - 42 * s}, {x + 14 * s, y - 39 * s}},
              Rgb{250, 160, 20});
    p.Ellipse(x - 26 * s, y, 7 * s, 26 * s, Rgb{20, 20, 30});
    p.Ellipse(x - 8 * s, y + 50 * s, 10 * s, 4 * s, Rgb{250, 160, 20});
    p.Ellipse(x + 8 * s, y + 50 * s, 10 * s, 4 * s, Rgb{250, 160, 20});
  };
  penguin(110, 150, 1.0);
  penguin(210, 165, 0.75);
}

void Windmill(Painter& p) {
  p.VGradient(0, 0, kW, kH, kDay, kPale);
  p.Area(
      0, 170, kW, kH, [](double x, double y) { return y > 190 - 10 * std::sin(x / 70); }, kGrass);
  for (int k = 0; k < 6; ++k) p.Stroke(0, 205 + k * 7, 320, 200 + k * 8, 2, Rgb{230, 200, 40});
  p.Polygon({{135, 200}, {145, 90}, {175, 90}, {185, 200}}, Rgb{150, 90, 60});
  p.Polygon({{140, 92}, {160, 65}, {180, 92}}, Rgb{80, 60, 50});
  p.Rect(152, 170, 16, 30, Rgb{80, 50, 30});
  for (int i = 0; i < 4; ++i) {
    const double a = kPi / 8 + i * kPi / 2;
    const double ex = 160 + 95 * std::cos(a), ey = 90 + 95 * std::sin(a);
    const double nx = -std::sin(a) * 12, ny = std::cos(a) * 12;
    p.Stroke(160, 90, ex, ey, 3, Rgb{90, 60, 40});
    p.Polygon({{160 + 20 * std::cos(a), 90 + 20 * std::sin(a)},
               {ex, ey},
               {ex + nx, ey + ny},
               {160 + 20 * std::cos(a) + nx, 90 + 20 * std::sin(a) + ny}},
              Rgb{240, 240, 230});
  }
  p.Disc(160, 90, 5, Rgb{60, 40, 30});
}

void Clock(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{90, 70, 60}, Rgb{50, 35, 30});
  p.Disc(160, 120, 100, Rgb{180, 140, 60});
  p.Disc(160, 120, 90, Rgb{250, 245, 230});
  for (int i = 0; i < 60; ++i) {
    const double a = i * kPi / 30;
    const double r0 = i % 5 == 0 ? 72 : 82;
    p.Stroke(160 + r0 * std::sin(a), 120 - r0 * std::cos(a), 160 + 86 * std::sin(a),
             120 - 86 * std::cos(a), i % 5 == 0 ? 4 : 1, kBlack);
  }
  // Ten past ten.
  const double hour = (10 + 10 / 60.0) * kPi / 6, minute = 10 * kPi / 30;
  p.Stroke(160, 120, 160 + 45 * std::sin(hour), 120 - 45 * std::cos(hour), 7, kBlack);
  p.Stroke(160, 120, 160 + 68 * std::sin(minute), 120 - 68 * std::cos(minute), 4, kBlack);
  p.Stroke(160, 120, 160 + 75 * std::sin(4.2), 120 - 75 * std::cos(4.2), 1, Rgb{200, 20, 20});
  p.Disc(160, 120, 6, Rgb{120, 90, 30});
}

void Map(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{120, 180, 220}, Rgb{90, 150, 210});
  p.Polygon({{40, 60},
             {120, 30},
             {190, 50},
             {210, 110},
             {170, 170},
             {190, 215},
             {110, 220},
             {70, 170},
             {30, 120}},
            Rgb{200, 210, 140});
  p.Polygon({{230, 150}, {280, 130}, {300, 180}, {260, 205}}, Rgb{200, 210, 140});
  p.Polygon({{90, 90}, {120, 70}, {150, 100}, {120, 130}}, Rgb{130, 170, 90});
  p.Curve(
      [](double t) {
        return std::pair{60 + t * 120, 80 + 100 * t + 15 * std::sin(t * 9)};
      },
      40, 2, Rgb{60, 110, 200});
  for (int k = 1; k < 4; ++k) {
    p.Stroke(k * 80, 0, k * 80, kH, 1, Rgb{80, 110, 150});
    p.Stroke(0, k * 60, kW, k * 60, 1, Rgb{80, 110, 150});
  }
  p.Disc(140, 150, 4, Rgb{200, 30, 30});
  p.Polygon({{280, 30}, {288, 60}, {272, 60}}, Rgb{200, 30, 30});  // a north arrow
  p.Polygon({{280, 90}, {288, 60}, {272, 60}}, Rgb{250, 250, 250});
}

void Piano(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{60, 50, 70}, Rgb{30, 25, 35});
  p.Rect(10, 40, 300, 70, Rgb{25, 20, 20});
  p.Rect(20, 55, 280, 8, Rgb{160, 120, 50});
  // Two octaves of keys: white keys with black keys in twos and threes.
  const int whites = 14;
  const double kw = 300.0 / whites;
  p.Rect(10, 110, 300, 110, Rgb{20, 20, 20});
  for (int i = 0; i < whites; ++i) p.Rect(10 + i * kw + 1, 111, kw - 2, 107, Rgb{250, 250, 245});
  for (int i = 0; i < whites; ++i) {
    const int note = i % 7;
    if (note == 2 || note == 6) continue;
    p.Rect(10 + (i + 1) * kw - kw * 0.3, 111, kw * 0.6, 65, Rgb{15, 15, 15});
  }
}

void Lightning(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{40, 40, 60}, Rgb{90, 90, 110});
  for (auto [x, y, r] : {std::tuple{60.0, 30.0, 45.0},
                         {130.0, 20.0, 50.0},
                         {200.0, 30.0, 45.0},
                         {270.0, 25.0, 50.0},
                         {100.0, 50.0, 40.0},
                         {230.0, 55.0, 40.0}})
    p.Disc(x, y, r, Rgb{70, 70, 85});
  p.Polygon({{150, 60}, {185, 60}, {165, 110}, {195, 110}, {140, 200}, {155, 130}, {130, 130}},
            Rgb{255, 250, 170});
  p.Stroke(168, 110, 225, 150, 2, Rgb{240, 240, 200});
  p.Rect(0, 215, kW, 25, Rgb{30, 40, 30});
  Lcg rng{9};
  for (int i = 0; i < 40; ++i) {
    const double x = rng.Next() * kW, y = 60 + rng.Next() * 150;
    p.Stroke(x, y, x - 4, y + 10, 1, Rgb{150, 160, 190});
  }
}

void Comet(Painter& p) {
  p.VGradient(0, 0, kW, kH, Rgb{5, 5, 25}, Rgb{20, 20, 60});
  Stars(p, 110, kH, 21);
  p.Area(
      0, 0, kW, kH,
      [](double x, double y) {
        // A tail widening away from the head at (230, 70), pointing away from the Sun.
        const double u = (230 - x) * 0.85 + (y - 70) * -0.5;
        const double v = (230 - x) * 0.5 + (y - 70) * 0.85;
        return u > 0 && u < 220 && std::abs(v) < 4 + u * 0.18;
      },
      [](double x, double y) {
        const double u = (230 - x) * 0.85 + (y - 70) * -0.5;
        return Mix(Rgb{220, 240, 255}, Rgb{20, 30, 80}, u / 220);
      });
  p.Disc(230, 70, 10, Rgb{255, 255, 240});
  p.Disc(230, 70, 5, kWhite);
}

void Whale(Painter& p) {
  p.VGradient(0, 0, kW, 80, kDay, kPale);
  p.VGradient(0, 80, kW, 160, Rgb{30, 110, 180}, Rgb{5, 30, 80});
  Waves(p, 80, Rgb{40, 120, 190}, Rgb{5, 30, 80}, 3, 25);
  // A whale's body, tail flukes, eye, pleats and flipper.
  p.Ellipse(150, 150, 110, 38, Rgb{60, 80, 110});
  p.Ellipse(150, 165, 95, 22, Rgb{170, 185, 200});
  p.Ellipse(150, 150, 110, 30, Rgb{60, 80, 110});
  p.Polygon({{250, 145}, {300, 115}, {290, 145}, {305, 175}}, Rgb{60, 80, 110});
  p.Disc(75, 150, 4, kWhite);
  p.Disc(75, 150, 2, kBlack);
  p.Polygon({{120, 168}, {150, 205}, {160, 170}}, Rgb{50, 70, 100});
  for (int k = 0; k < 4; ++k)
    p.Stroke(60 + k * 14, 172 + k, 100 + k * 14, 178 + k, 1, Rgb{120, 140, 160});
  // The blow above the surface.
  p.Stroke(110, 80, 100, 40, 3, kWhite);
  p.Stroke(110, 80, 120, 40, 3, kWhite);
  p.Stroke(110, 80, 110, 35, 3, kWhite);
}

void Salt(Painter& p) {
  p.VGradient(0, 0, kW, 100, Rgb{120, 180, 240}, Rgb{220, 230, 240});
  p.Rect(0, 100, kW, 140, Rgb{200, 190, 200});
  // Salt pans in a grid, white heaps drying in the sun.
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 4; ++i)
      p.Rect(8 + i * 78, 112 + j * 42, 70, 34,
             Mix(Rgb{150, 200, 220}, Rgb{230, 200, 220}, (i + j) / 5.0));
  for (auto [x, y] : {std::pair{60.0, 108.0}, {150.0, 102.0}, {240.0, 106.0}}) {
    p.Polygon({{x - 40, y}, {x, y - 50}, {x + 40, y}}, Rgb{250, 250, 250});
    p.Polygon({{x, y - 50}, {x + 40, y}, {x + 15, y}}, Rgb{215, 215, 225});
  }
}

struct Picture {
  const char* id;
  void (*draw)(Painter&);
};

const std::vector<Picture>& Pictures() {
  static const std::vector<Picture> pictures = {
      {"aurora", Aurora},
      {"moon", Moon},
      {"sun", Sun},
      {"volcano", Volcano},
      {"honey-bee", HoneyBee},
      {"lighthouse", Lighthouse},
      {"press", Press},
      {"photosynth", Photosynthesis},
      {"rainbow", Rainbow},
      {"coral-reef", CoralReef},
      {"glacier", Glacier},
      {"violin", Violin},
      {"tides", Tides},
      {"compass", Compass},
      {"bread", Bread},
      {"nile", Nile},
      {"penguin", Penguin},
      {"windmill", Windmill},
      {"clock", Clock},
      {"map", Map},
      {"piano", Piano},
      {"lightning", Lightning},
      {"comet", Comet},
      {"whale", Whale},
      {"salt", Salt},
  };
  return pictures;
}

// ---- Sounds ----

using Samples = std::vector<int16_t>;

// The samples of f over the time given, scaled down when their peak would pass 0.9 of full
// scale, so no sound clips.
Samples Render(double seconds, const std::function<double(double, int)>& f) {
  const int n = int(seconds * quill_art::kSoundRate);
  std::vector<double> values(static_cast<size_t>(n));
  double peak = 0;
  for (int i = 0; i < n; ++i) {
    values[size_t(i)] = f(double(i) / quill_art::kSoundRate, i);
    peak = std::max(peak, std::abs(values[size_t(i)]));
  }
  const double scale = peak > 0.9 ? 0.9 / peak : 1.0;
  Samples out(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    out[size_t(i)] = int16_t(std::lround(values[size_t(i)] * scale * 32767));
  return out;
}

// Thunder: a sharp crack, then low filtered noise rumbling away.
Samples Thunder() {
  Lcg rng{77};
  double lp = 0, lp2 = 0;
  return Render(2.5, [&](double t, int) {
    const double noise = rng.Next() * 2 - 1;
    lp += (noise - lp) * 0.04;
    lp2 += (lp - lp2) * 0.05;
    const double crack = t < 0.15 ? noise * (1 - t / 0.15) * 0.45 : 0;
    const double rumble =
        lp2 * 9 * std::min(1.0, t / 0.05) * std::exp(-t * 1.3) * (1 + 0.4 * std::sin(t * 9));
    return crack + rumble;
  });
}

// A whale's call: a slow, rising then falling moan with a few harmonics.
Samples WhaleCall() {
  double phase = 0;
  return Render(2.5, [&](double t, int) {
    const double f = 180 + 140 * std::sin(kPi * t / 2.5) + 20 * std::sin(t * 6);
    phase += 2 * kPi * f / quill_art::kSoundRate;
    const double env = std::sin(kPi * t / 2.5);
    return env * 0.6 * (std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase));
  });
}

// A bowed violin note (A4) with vibrato: a sawtooth-like sum of harmonics.
Samples ViolinNote() {
  double phase = 0;
  return Render(2.0, [&](double t, int) {
    const double f = 440 * (1 + 0.006 * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t / 0.4));
    phase += 2 * kPi * f / quill_art::kSoundRate;
    double v = 0;
    for (int h = 1; h <= 8; ++h) v += std::sin(h * phase) / h;
    const double env = std::min(1.0, t / 0.15) * std::min(1.0, (2.0 - t) / 0.3);
    return v * 0.35 * env;
  });
}

// Bees: many slightly different buzzing tones around 230 Hz.
Samples Bees() {
  double phases[5] = {};
  const double freqs[5] = {218, 226, 233, 241, 250};
  return Render(2.0, [&](double t, int) {
    double v = 0;
    for (int k = 0; k < 5; ++k) {
      phases[k] += 2 * kPi * freqs[k] * (1 + 0.01 * std::sin(t * (3 + k))) / quill_art::kSoundRate;
      const double saw = std::fmod(phases[k] / (2 * kPi), 1.0) * 2 - 1;
      v += saw * (0.5 + 0.5 * std::sin(t * (1.7 + k * 0.6) + k));
    }
    const double env = std::min(1.0, t / 0.2) * std::min(1.0, (2.0 - t) / 0.3);
    return v * 0.2 * env;
  });
}

// Waves breaking on a shore: noise swelling and falling twice.
Samples Surf() {
  Lcg rng{31};
  double lp = 0;
  return Render(3.0, [&](double t, int) {
    const double noise = rng.Next() * 2 - 1;
    lp += (noise - lp) * 0.15;
    const double swell = std::pow(std::sin(kPi * t / 1.5), 2);
    return lp * 1.4 * swell;
  });
}

struct Sound {
  const char* file;
  Samples (*make)();
};

const std::vector<Sound>& Sounds() {
  static const std::vector<Sound> sounds = {{"thunder.wav", Thunder},
                                            {"whale.wav", WhaleCall},
                                            {"violin.wav", ViolinNote},
                                            {"bees.wav", Bees},
                                            {"tides.wav", Surf}};
  return sounds;
}

bool WriteSheet(const std::vector<Canvas>& pictures, const std::string& path) {
  const int cols = 5, gap = 6;
  const int rows = int((pictures.size() + cols - 1) / cols);
  Canvas sheet(cols * (kW + gap) + gap, rows * (kH + gap) + gap);
  sheet.Fill(0, 0, sheet.Width(), sheet.Height(), quill_art::Nearest(128, 128, 128));
  for (size_t i = 0; i < pictures.size(); ++i)
    sheet.Paste(pictures[i], gap + int(i % cols) * (kW + gap), gap + int(i / cols) * (kH + gap));
  std::string error;
  if (quill::WritePngFile(sheet.Dib(), path, &error)) return true;
  std::fprintf(stderr, "quillonary-media: %s: %s\n", path.c_str(), error.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--sheet")) {
    std::fputs("usage: quillonary-media OUTDIR [--sheet SHEET.png]\n", stderr);
    return 2;
  }
  const std::string dir = argv[1];
  ::mkdir(dir.c_str(), 0777);
  ::mkdir((dir + "/pictures").c_str(), 0777);
  ::mkdir((dir + "/sounds").c_str(), 0777);
  std::vector<Canvas> drawn;
  for (const Picture& picture : Pictures()) {
    Canvas canvas(kW, kH);
    Painter painter(canvas);
    picture.draw(painter);
    if (!canvas.Write(dir + "/pictures/" + picture.id + ".bmp")) return 1;
    drawn.push_back(std::move(canvas));
  }
  for (const Sound& sound : Sounds())
    if (!quill_art::WriteWave(dir + "/sounds/" + sound.file, sound.make())) return 1;
  if (argc == 4 && !WriteSheet(drawn, argv[3])) return 1;
  return 0;
}
