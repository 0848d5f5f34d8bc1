#include "glyphs.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <vector>

namespace quill_art {

namespace {

// The colours the glyphs are drawn in.
struct Ink {
  int ink = Nearest(0, 0, 102);  // navy outlines and marks
  int black = Nearest(0, 0, 0);
  int white = Nearest(255, 255, 255);
  int grey = Nearest(153, 153, 153);
  int dark = Nearest(102, 102, 102);
  int silver = Nearest(204, 204, 204);
  int red = Nearest(204, 0, 0);
  int darkRed = Nearest(153, 0, 0);
  int green = Nearest(0, 153, 0);
  int lightGreen = Nearest(51, 204, 51);
  int blue = Nearest(0, 102, 204);
  int sky = Nearest(102, 204, 255);
  int gold = Nearest(255, 204, 0);
  int yellow = Nearest(255, 255, 102);
  int orange = Nearest(255, 153, 0);
  int brown = Nearest(153, 102, 51);
  int purple = Nearest(153, 51, 204);
  int paleGold = Nearest(255, 255, 204);
};

const Ink& K() {
  static const Ink ink;
  return ink;
}

// Paints rows of characters: '.' leaves the pixel, other characters take their legend colour.
void Art(Canvas& c, const std::vector<const char*>& rows, int x = 0, int y = 0) {
  const Ink& k = K();
  const std::map<char, int> legend = {
      {'#', k.ink},    {'k', k.black},  {'w', k.white},   {'s', k.grey},   {'d', k.dark},
      {'l', k.silver}, {'r', k.red},    {'R', k.darkRed}, {'g', k.green},  {'G', k.lightGreen},
      {'b', k.blue},   {'c', k.sky},    {'y', k.gold},    {'Y', k.yellow}, {'o', k.orange},
      {'n', k.brown},  {'p', k.purple}, {'e', k.paleGold}};
  for (size_t j = 0; j < rows.size(); ++j)
    for (int i = 0; rows[j][i]; ++i) {
      const auto at = legend.find(rows[j][i]);
      if (at != legend.end()) c.Set(x + i, y + int(j), at->second);
    }
}

// Mirrors a glyph left to right.
void Mirror(Canvas& c) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width() / 2; ++x) {
      const int a = c.Get(x, y), b = c.Get(c.Width() - 1 - x, y);
      c.Set(x, y, b);
      c.Set(c.Width() - 1 - x, y, a);
    }
}

// A sheet of paper with ruled lines.
void Page(Canvas& c, int x, int y, int w, int h, bool lines = true) {
  const Ink& k = K();
  c.Fill(x, y, w, h, k.white);
  c.Frame(x, y, w, h, k.ink);
  if (lines)
    for (int ly = y + 2; ly < y + h - 2; ly += 2) c.Fill(x + 2, ly, w - 4, 1, k.grey);
}

// A magnifying glass with its lens centred at (cx, cy).
void Magnifier(Canvas& c, double cx, double cy, double r) {
  const Ink& k = K();
  c.Disc(cx, cy, r, k.sky);
  c.Ring(cx, cy, r, k.ink);
  c.Ring(cx, cy, r - 0.8, k.ink);
  const int hx = int(cx + r * 0.7), hy = int(cy + r * 0.7);
  for (int i = 0; i < 5; ++i) {
    c.Set(hx + i, hy + i, k.brown);
    c.Set(hx + i + 1, hy + i, k.brown);
    c.Set(hx + i, hy + i + 1, k.brown);
  }
  c.Set(int(cx - r / 2), int(cy - r / 2), k.white);
}

// A floppy disk: shutter on top, label below.
void Floppy(Canvas& c, int labelColour) {
  const Ink& k = K();
  c.Fill(2, 0, 12, 14, k.blue);
  c.Frame(2, 0, 12, 14, k.ink);
  c.Fill(5, 0, 6, 5, k.silver);
  c.Fill(8, 1, 2, 3, k.ink);
  c.Fill(4, 7, 8, 6, labelColour);
  c.Fill(5, 9, 6, 1, k.grey);
  c.Fill(5, 11, 6, 1, k.grey);
  c.Set(2, 0, kNoInk);
  c.Set(13, 0, kNoInk);
}

// A folder, open when open is set.
void Folder(Canvas& c, bool open) {
  const Ink& k = K();
  c.Fill(1, 3, 6, 2, k.gold);
  c.Frame(1, 3, 6, 2, k.brown);
  c.Fill(1, 4, 14, 9, k.gold);
  c.Frame(1, 4, 14, 9, k.brown);
  if (open) {
    c.Triangle(3, 7, 16, 7, 14, 13, k.yellow);
    c.Triangle(3, 7, 14, 13, 1, 13, k.yellow);
    c.Line(3, 7, 15, 7, k.brown);
    c.Line(3, 7, 1, 12, k.brown);
    c.Line(15, 7, 14, 12, k.brown);
  }
}

// A calendar page with a red head.
void Calendar(Canvas& c, int x, int y) {
  const Ink& k = K();
  c.Fill(x, y, 12, 11, k.white);
  c.Fill(x, y, 12, 3, k.red);
  c.Frame(x, y, 12, 11, k.ink);
  c.Set(x + 3, y - 1, k.ink);
  c.Set(x + 8, y - 1, k.ink);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 4; ++i)
      c.Fill(x + 2 + i * 2 + (i > 1 ? 1 : 0), y + 4 + j * 2, 1, 1, k.dark);
}

// A bookmark ribbon with a notched tail.
void Ribbon(Canvas& c, int x, int y, int w, int h, int colour) {
  const Ink& k = K();
  c.Fill(x, y, w, h, colour);
  c.Frame(x, y, w, h, k.darkRed);
  const int mid = x + w / 2;
  for (int i = 0; i < w / 2; ++i) {
    c.Set(mid - i, y + h - 1 - i, kNoInk);
    c.Set(mid + i - (w % 2 == 0 ? 1 : 0), y + h - 1 - i, kNoInk);
  }
  c.Line(x, y + h - 1, mid, y + h - 1 - w / 2, k.darkRed);
  c.Line(x + w - 1, y + h - 1, mid - (w % 2 == 0 ? 1 : 0), y + h - 1 - w / 2, k.darkRed);
}

// A red cross over the lower right.
void RedCross(Canvas& c, int x, int y, int size) {
  const Ink& k = K();
  for (int i = 0; i < size; ++i) {
    c.Set(x + i, y + i, k.red);
    c.Set(x + i + 1, y + i, k.red);
    c.Set(x + size - 1 - i, y + i, k.red);
    c.Set(x + size - i, y + i, k.red);
  }
}

// A yellow star of "new".
void Sparkle(Canvas& c, int cx, int cy) {
  const Ink& k = K();
  Art(c, {"..o..", "..y..", "oyYyo", "..y..", "..o.."}, cx - 2, cy - 2);
  c.Set(cx - 1, cy - 1, k.gold);
  c.Set(cx + 1, cy + 1, k.gold);
  c.Set(cx + 1, cy - 1, k.gold);
  c.Set(cx - 1, cy + 1, k.gold);
}

// A scroll of script: a page with rolled ends.
void Scroll(Canvas& c, int x, int y) {
  const Ink& k = K();
  c.Fill(x + 1, y + 1, 9, 10, k.paleGold);
  c.Frame(x + 1, y + 1, 9, 10, k.brown);
  c.Fill(x, y, 11, 2, k.yellow);
  c.Frame(x, y, 11, 2, k.brown);
  c.Fill(x, y + 10, 11, 2, k.yellow);
  c.Frame(x, y + 10, 11, 2, k.brown);
  for (int ly = y + 3; ly < y + 10; ly += 2) c.Fill(x + 3, ly, 5, 1, k.dark);
}

// Media transport marks.
void PlayTriangle(Canvas& c, double x, double w, int colour) {
  c.Triangle(x, 1, x + w, 7, x, 13, colour);
  const Ink& k = K();
  c.Line(int(x), 1, int(x), 12, k.ink);
}

using Painter = std::function<void(Canvas&)>;

std::map<std::string, Painter> MakePainters() {
  std::map<std::string, Painter> p;

  p["pbfullsc.bmp"] = [](Canvas& c) {
    Art(c, {"###..........###", "##............##", "#.#..........#.#", "...#........#...",
            "....bbbbbbbb....", "....bccccccb....", "....bccccccb....", "....bccccccb....",
            "....bccccccb....", "....bbbbbbbb....", "...#........#...", "#.#..........#.#",
            "##............##", "###..........###"});
  };
  p["pbtbleau.bmp"] = [](Canvas& c) {
    Art(c, {"................", "########.#######", "#bbbbbb#.#bbbbb#", "#wwwwww#.#wwwww#",
            "#wwwwww#.#wwwww#", "#wwwwww#.#wwwww#", "########.#######", "................",
            "########.#######", "#bbbbbb#.#bbbbb#", "#wwwwww#.#wwwww#", "#wwwwww#.#wwwww#",
            "#wwwwww#.#wwwww#", "########.#######"});
  };
  p["pbnext.bmp"] = [](Canvas& c) {
    Art(c, {"................", "........#.......", "........##......", "........#b#.....",
            "........#bb#....", "#########bbb#...", "#bbbbbbbbbbbb#..", "#bbbbbbbbbbbb#..",
            "#########bbb#...", "........#bb#....", "........#b#.....", "........##......",
            "........#.......", "................"});
  };
  p["pbprev.bmp"] = [p](Canvas& c) {
    p.at("pbnext.bmp")(c);
    Mirror(c);
  };
  p["pbprint.bmp"] = [](Canvas& c) {
    Art(c, {"....########....", "....#wwwwww#....", "....#w####w#....", "....#wwwwww#....",
            ".##############.", "#llllllllllllll#", "#llllllllllGll#.", "#llllllllllllll#",
            "#dddddddddddddd#", "#d############d#", "##.#wwwwwwww#.##", "...#w######w#...",
            "...#wwwwwwww#...", "...##########..."});
    c.Set(15, 6, K().ink);
  };
  p["pbcopy.bmp"] = [](Canvas& c) {
    Page(c, 0, 0, 9, 10);
    Page(c, 6, 4, 10, 10);
  };
  p["pbslcttr.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Fill(0, 0, 5, 4, k.gold);
    c.Frame(0, 0, 5, 4, k.brown);
    c.Fill(2, 4, 1, 8, k.ink);
    for (int y : {6, 11}) {
      c.Fill(3, y, 3, 1, k.ink);
      c.Fill(6, y - 1, 3, 3, k.blue);
      c.Fill(10, y, 6, 1, k.dark);
    }
    c.Fill(6, 8, 10, 1, kNoInk);
    c.Fill(6, 0, 10, 1, kNoInk);
    c.Fill(7, 1, 8, 2, k.dark);
    c.Fill(7, 2, 8, 1, kNoInk);
  };
  p["avplay.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    PlayTriangle(c, 3, 11, k.green);
  };
  p["avplayrv.bmp"] = [p](Canvas& c) {
    p.at("avplay.bmp")(c);
    Mirror(c);
  };
  p["avstop.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Fill(3, 2, 10, 10, k.red);
    c.Frame(3, 2, 10, 10, k.ink);
  };
  p["avpause.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    for (int x : {3, 9}) {
      c.Fill(x, 2, 4, 10, k.blue);
      c.Frame(x, 2, 4, 10, k.ink);
    }
  };
  p["avstpfwd.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    PlayTriangle(c, 2, 9, k.green);
    c.Fill(11, 1, 3, 12, k.ink);
  };
  p["avstprwd.bmp"] = [p](Canvas& c) {
    p.at("avstpfwd.bmp")(c);
    Mirror(c);
  };
  p["avfllrwd.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Fill(1, 1, 2, 12, k.ink);
    c.Triangle(9, 1, 3, 7, 9, 13, k.green);
    c.Triangle(15, 1, 9, 7, 15, 13, k.green);
    c.Line(9, 1, 9, 12, k.ink);
    c.Line(15, 1, 15, 12, k.ink);
  };
  p["erplyful.bmp"] = [](Canvas& c) {
    Scroll(c, 0, 1);
    const Ink& k = K();
    c.Triangle(8, 3, 16, 8, 8, 13, k.green);
    c.Line(8, 3, 8, 12, k.ink);
  };
  p["pbarticl.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Page(c, 2, 0, 12, 14, false);
    c.Fill(4, 2, 8, 2, k.blue);
    for (int y = 5; y < 12; y += 2) c.Fill(4, y, y == 11 ? 5 : 8, 1, k.dark);
  };
  p["pbsize.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    // A diagonal arrow with a head at each end: make larger or smaller.
    c.Triangle(16, 0, 8, 0, 16, 8, k.ink);
    c.Triangle(0, 14, 0, 6, 8, 14, k.ink);
    for (int i = 0; i < 2; ++i) c.Line(3 + i, 11, 12, 2 + i, k.ink);
  };
  p["pbfreeze.bmp"] = [](Canvas& c) {
    Art(c, {".......b........", "....b..b..b.....", ".....b.b.b......", "..b...bbb...b...",
            "...b...b...b....", "....b..b..b.....", ".bbbbbbcbbbbbbb.", "....b..b..b.....",
            "...b...b...b....", "..b...bbb...b...", ".....b.b.b......", "....b..b..b.....",
            ".......b........", "................"});
  };
  p["pbthaw.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Disc(8, 7, 4, k.gold);
    c.Ring(8, 7, 4, k.orange);
    for (int i = 0; i < 2; ++i) {
      c.Set(8, i, k.orange);
      c.Set(8, 13 - i, k.orange);
      c.Set(1 + i, 7, k.orange);
      c.Set(15 - i, 7, k.orange);
      c.Set(3 + i, 2 + i, k.orange);
      c.Set(13 - i, 2 + i, k.orange);
      c.Set(3 + i, 12 - i, k.orange);
      c.Set(13 - i, 12 - i, k.orange);
    }
  };
  p["pbbookmk.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    // An open book with a red ribbon hanging from its spine.
    c.Fill(0, 2, 8, 10, k.white);
    c.Fill(8, 2, 8, 10, k.white);
    c.Frame(0, 2, 16, 10, k.ink);
    c.Fill(8, 2, 1, 10, k.ink);
    for (int y = 4; y < 11; y += 2) {
      c.Fill(2, y, 4, 1, k.grey);
      c.Fill(11, y, 4, 1, k.grey);
    }
    Ribbon(c, 9, 0, 4, 14, k.red);
  };
  p["pbsearch.bmp"] = [](Canvas& c) { Magnifier(c, 6, 6, 5.5); };
  p["pbzoomin.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Magnifier(c, 6, 6, 5.5);
    c.Fill(3, 5, 6, 2, k.ink);
    c.Fill(5, 3, 2, 6, k.ink);
  };
  p["pbzoomot.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Magnifier(c, 6, 6, 5.5);
    c.Fill(3, 5, 6, 2, k.ink);
  };
  p["pbstop.bmp"] = [](Canvas& c) {
    Art(c,
        {"....dddddd......", "...drrrrrrd.....", "..drrrrrrrrd....", ".drrrrrrrrrrd...",
         "drrrrrrrrrrrrd..", "drrrrrrrrrrrrd..", "drwwwwwwwwwwrd..", "drwwwwwwwwwwrd..",
         "drrrrrrrrrrrrd..", "drrrrrrrrrrrrd..", ".drrrrrrrrrrd...", "..drrrrrrrrd....",
         "...drrrrrrd.....", "....dddddd......"},
        1, 0);
  };
  p["pbgetitm.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Page(c, 7, 0, 9, 14);
    c.Fill(0, 6, 7, 2, k.green);
    c.Triangle(6, 3, 11, 7, 6, 11, k.green);
    c.Line(6, 3, 6, 10, k.ink);
  };
  p["pbqlist.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    for (int y = 1; y < 14; y += 4) {
      c.Fill(0, y, 2, 2, k.ink);
      c.Fill(3, y, 6, 1, k.dark);
    }
    Art(c,
        {".rrrr.", "rr..rr", "....rr", "...rr.", "..rr..", "..rr..", "......", "..rr..", "..rr.."},
        10, 2);
  };
  p["pbgoto.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Disc(10, 7, 6, k.white);
    c.Ring(10, 7, 6, k.red);
    c.Ring(10, 7, 4, k.red);
    c.Disc(10, 7, 1.6, k.red);
    c.Fill(0, 6, 9, 2, k.ink);
    c.Triangle(5, 3, 10, 7, 5, 11, k.ink);
  };
  p["pbnewlst.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Page(c, 0, 2, 11, 12, false);
    for (int y = 5; y < 13; y += 3) {
      c.Fill(2, y, 2, 2, k.blue);
      c.Fill(5, y, 4, 1, k.dark);
    }
    Sparkle(c, 12, 3);
  };
  p["pbopnlst.bmp"] = [](Canvas& c) { Folder(c, true); };
  p["pbsvlist.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Floppy(c, k.white);
  };
  p["save.bmp"] = p["pbsvlist.bmp"];
  p["ersavscr.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Floppy(c, k.paleGold);
    c.Fill(5, 8, 6, 1, k.brown);
    c.Fill(5, 12, 6, 1, k.brown);
  };
  p["pbdelitm.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Ribbon(c, 2, 0, 6, 13, k.red);
    RedCross(c, 8, 6, 7);
    (void)k;
  };
  p["delete.bmp"] = [](Canvas& c) {
    Art(c, {"......####......", "..############..", "..############..", "...#ssssssss#...",
            "...#wswswsws#...", "...#wswswsws#...", "...#wswswsws#...", "...#wswswsws#...",
            "...#wswswsws#...", "...#wswswsws#...", "...#wswswsws#...", "...#ssssssss#...",
            "....########....", "................"});
  };
  p["pbhist.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Disc(8, 7, 6.5, k.white);
    c.Ring(8, 7, 6.5, k.ink);
    c.Ring(8, 7, 5.8, k.ink);
    for (int i : {2, 12}) c.Set(8, i, k.ink), c.Set(i + 1, 7, k.ink);
    c.Fill(8, 3, 1, 5, k.ink);
    c.Line(8, 7, 11, 9, k.red);
  };
  p["pbgotoyr.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Calendar(c, 0, 2);
    c.Fill(10, 7, 3, 2, k.green);
    c.Triangle(12, 4, 16, 8, 12, 12, k.green);
  };
  p["pbfindev.bmp"] = [](Canvas& c) {
    Calendar(c, 0, 1);
    Magnifier(c, 11.5, 8, 3.5);
  };
  p["pbxpnart.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    Page(c, 4, 3, 8, 8);
    c.Triangle(8, 0, 11, 3, 5, 3, k.green);
    c.Triangle(8, 14, 5, 11, 11, 11, k.green);
    c.Triangle(0, 7, 3, 4, 3, 10, k.green);
    c.Triangle(16, 7, 13, 10, 13, 4, k.green);
  };
  p["pbus.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    for (int y = 1; y < 13; ++y) c.Fill(0, y, 16, 1, (y - 1) / 2 % 2 == 0 ? k.red : k.white);
    c.Fill(0, 1, 7, 6, k.blue);
    for (int y = 2; y < 7; y += 2)
      for (int x = 1; x < 7; x += 2) c.Set(x + (y / 2) % 2, y, k.white);
    c.Frame(0, 1, 16, 12, k.ink);
  };
  p["pbworld.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Disc(8, 7, 6.8, k.blue);
    Art(c,
        {"......GG........", ".....GGGG..GG...", "....GGGGG.GGGG..", "....GGG...GGGGG.",
         ".....G....GGG...", "......GG...G....", ".......GGG......", "........GG......",
         "................"},
        0, 2);
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 16; ++x) {
        const double dx = x + 0.5 - 8, dy = y + 0.5 - 7;
        if (dx * dx + dy * dy > 6.8 * 6.8) c.Set(x, y, kNoInk);
      }
    c.Ring(8, 7, 6.8, k.ink);
  };
  p["pboptns.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Fill(0, 0, 16, 10, k.white);
    c.Frame(0, 0, 16, 10, k.ink);
    for (int y = 2; y < 9; y += 3) {
      c.Fill(2, y, 2, 2, k.blue);
      c.Fill(5, y, 9, 1, k.dark);
    }
    c.Triangle(4, 10, 12, 10, 8, 14, k.ink);
  };
  p["pboutlin.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    const int rows[][2] = {{0, 0}, {3, 3}, {3, 6}, {6, 9}, {0, 12}};
    for (const auto& r : rows) {
      c.Fill(r[0], r[1], 2, 2, r[0] == 0 ? k.red : k.blue);
      c.Fill(r[0] + 3, r[1], 13 - r[0] - 3, 1, k.ink);
    }
  };
  p["pbideasr.bmp"] = [](Canvas& c) {
    Art(c,
        {".....oooo.......", "...ooYYYYoo.....", "..oYYwYYYYYo....", "..oYwYYYYYYo....",
         ".oYYYYYYYYYYo...", ".oYYYYyYyYYYo...", "..oYYYyYyYYo....", "...oYYyYyYo.....",
         "....ooYyoo......", ".....lsls.......", ".....slsl.......", ".....lsls.......",
         "......dd........", "................"},
        2, 0);
  };
  p["pblabels.bmp"] = [](Canvas& c) {
    Art(c, {"......nnnnnnnnn.", ".....nyyyyyyyyn.", "....nyyyyyyyyyn.", "...nyyyyyyyyyyn.",
            "..nyy##yyyyyyyn.", ".nyyy##yyyyyyyn.", "nyyyyyyyyyyyyyn.", ".nyyyyyyyyyyyyn.",
            "..nyyyyyyyyyyyn.", "...nyyyyyyyyyyn.", "....nyyyyyyyyyn.", ".....nyyyyyyyyn.",
            "......nnnnnnnnn.", "................"});
  };
  p["pbgrid.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Fill(0, 0, 16, 14, k.white);
    for (int x = 0; x < 16; x += 5) c.Fill(x, 0, 1, 14, k.ink);
    c.Fill(15, 0, 1, 14, k.ink);
    for (int y = 0; y < 14; y += 4) c.Fill(0, y, 16, 1, k.ink);
    c.Fill(0, 13, 16, 1, k.ink);
  };
  p["pbcntrls.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    for (int i = 0; i < 3; ++i) {
      const int y = 1 + i * 5;
      c.Fill(0, y + 1, 16, 1, k.dark);
      const int knob = (i == 0) ? 3 : (i == 1 ? 10 : 6);
      c.Fill(knob, y - 1, 3, 5, k.blue);
      c.Frame(knob, y - 1, 3, 5, k.ink);
    }
  };
  p["pbclose.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    for (int i = 0; i < 11; ++i) {
      c.Fill(2 + i, 1 + i, 2, 2, k.red);
      c.Fill(12 - i, 1 + i, 2, 2, k.red);
    }
    (void)k;
  };
  p["erclose.bmp"] = [](Canvas& c) {
    Art(c, {"#########.......", "#nnnnnnn#.......", "#nnnnnnn#.......", "#nnnnnnn#...g...",
            "#nnnnnnn#...gg..", "#nnnnynn#gggggg.", "#nnnnnnn#gggggg.", "#nnnnnnn#...gg..",
            "#nnnnnnn#...g...", "#nnnnnnn#.......", "#nnnnnnn#.......", "#nnnnnnn#.......",
            "#########.......", "................"});
  };
  p["erclosep.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Fill(0, 0, 16, 14, k.white);
    c.Frame(0, 0, 16, 14, k.ink);
    c.Fill(0, 0, 16, 3, k.blue);
    c.Fill(12, 0, 4, 3, k.red);
    c.Set(13, 1, k.white), c.Set(14, 1, k.white);
    RedCross(c, 4, 5, 7);
  };
  p["pbpurple.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Disc(8, 7, 6, k.purple);
    c.Ring(8, 7, 6, k.ink);
    c.Disc(6, 5, 1.6, k.white);
  };
  p["ertutor.bmp"] = [](Canvas& c) {
    Art(c, {"................", ".......##.......", ".....######.....", "...##########...",
            ".##############.", "...##########.y.", ".....######...y.", "....#.####.#..y.",
            "....#......#..y.", "....#......#.yyy", ".....######..yyy", "................",
            "................", "................"});
  };
  p["ersamscr.bmp"] = [](Canvas& c) {
    const Ink& k = K();
    c.Fill(0, 0, 16, 11, k.white);
    c.Frame(0, 0, 16, 11, k.ink);
    c.Fill(2, 2, 12, 7, k.sky);
    c.Triangle(2, 9, 7, 4, 11, 9, k.green);
    c.Disc(11, 4, 1.5, k.gold);
    c.Fill(7, 11, 2, 2, k.ink);
    c.Fill(4, 13, 8, 1, k.ink);
  };
  p["ernewscr.bmp"] = [](Canvas& c) {
    Scroll(c, 0, 2);
    Sparkle(c, 13, 3);
  };
  p["eropnscr.bmp"] = [](Canvas& c) {
    Folder(c, false);
    Scroll(c, 5, 0);
  };
  return p;
}

}  // namespace

bool DrawGlyph(const std::string& fileName, Canvas& glyph) {
  static const std::map<std::string, Painter> painters = MakePainters();
  std::string key = fileName;
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char ch) { return char(std::tolower(ch)); });
  const auto at = painters.find(key);
  if (at == painters.end()) return false;
  glyph.Fill(0, 0, glyph.Width(), glyph.Height(), kNoInk);
  at->second(glyph);
  return true;
}

}  // namespace quill_art
