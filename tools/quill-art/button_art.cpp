#include "button_art.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>

#include "canvas.h"
#include "glyphs.h"
#include "quillui/imaging/data_set.h"

namespace quill_art {

namespace {

constexpr int kCelWidth = 24, kCelHeight = 20;

// The looks of a button cel.
enum class Look { Normal, Hover, Pressed };

struct Plate {
  int outline = Nearest(0, 0, 51);
  int light = Nearest(255, 255, 255);
  int shade = Nearest(102, 102, 153);
  int face = Nearest(204, 204, 204);
  int hoverFace = Nearest(255, 255, 204);
  int pressedFace = Nearest(153, 153, 204);
};

const Plate& P() {
  static const Plate plate;
  return plate;
}

// A rounded plate of w x h at (x, y) of the strip: the corners stay key, a dark rim, a bevel
// lit from the top left (sunk when pressed).
void DrawPlate(Canvas& c, int x, int y, int w, int h, Look look) {
  const Plate& p = P();
  const int face = look == Look::Hover     ? p.hoverFace
                   : look == Look::Pressed ? p.pressedFace
                                           : p.face;
  c.Fill(x + 1, y + 1, w - 2, h - 2, face);
  c.Fill(x + 2, y, w - 4, 1, p.outline);
  c.Fill(x + 2, y + h - 1, w - 4, 1, p.outline);
  c.Fill(x, y + 2, 1, h - 4, p.outline);
  c.Fill(x + w - 1, y + 2, 1, h - 4, p.outline);
  c.Set(x + 1, y + 1, p.outline);
  c.Set(x + w - 2, y + 1, p.outline);
  c.Set(x + 1, y + h - 2, p.outline);
  c.Set(x + w - 2, y + h - 2, p.outline);
  const int top = look == Look::Pressed ? p.shade : p.light;
  const int bottom = look == Look::Pressed ? p.light : p.shade;
  c.Fill(x + 2, y + 1, w - 4, 1, top);
  c.Fill(x + 1, y + 2, 1, h - 4, top);
  c.Fill(x + 2, y + h - 2, w - 4, 1, bottom);
  c.Fill(x + w - 2, y + 2, 1, h - 4, bottom);
}

// The glyph over the plate, one pixel down and right when pressed; a hovered glyph is drawn
// as it is, the lighter face telling the hover.
void DrawFace(Canvas& strip, int cel, const Canvas& glyph, Look look, int shift = 0) {
  const int x = cel * kCelWidth;
  DrawPlate(strip, x, 0, kCelWidth, kCelHeight, look);
  const int push = look == Look::Pressed ? 1 : 0;
  strip.Paste(glyph, x + 4 + push + shift, 3 + push, kNoInk);
}

Canvas Glyph(const std::string& name) {
  Canvas glyph(kGlyphWidth, kGlyphHeight);
  if (!DrawGlyph(name, glyph)) std::fprintf(stderr, "quill-art: no glyph for %s\n", name.c_str());
  return glyph;
}

Canvas Strip(int cels, int celWidth = kCelWidth, int celHeight = kCelHeight) {
  Canvas strip(celWidth * cels, celHeight, true);
  strip.Fill(0, 0, strip.Width(), strip.Height(), kKeyIndex);
  return strip;
}

bool WriteButton(const std::string& dir, const std::string& name, const std::string& glyphName) {
  const Canvas glyph = Glyph(glyphName);
  Canvas strip = Strip(3);
  DrawFace(strip, 0, glyph, Look::Normal);
  DrawFace(strip, 1, glyph, Look::Hover);
  DrawFace(strip, 2, glyph, Look::Pressed);
  return strip.Write(dir + name);
}

// Six cels: normal, hover, pressed, then the click: the glyph pushed on 1, 2 and 3 pixels
// along its direction on the pressed plate.
bool WriteAnimated(const std::string& dir, const std::string& name, const std::string& glyphName,
                   int direction) {
  const Canvas glyph = Glyph(glyphName);
  Canvas strip = Strip(6);
  DrawFace(strip, 0, glyph, Look::Normal);
  DrawFace(strip, 1, glyph, Look::Hover);
  DrawFace(strip, 2, glyph, Look::Pressed);
  for (int step = 1; step <= 3; ++step)
    DrawFace(strip, 2 + step, glyph, step == 3 ? Look::Hover : Look::Pressed, direction * step);
  return strip.Write(dir + name);
}

// The selection strip: a tick box, empty for cels 0 to 2 and ticked for 3 to 5.
bool WriteSelection(const std::string& dir) {
  const int ink = Nearest(0, 0, 102), white = Nearest(255, 255, 255), tick = Nearest(0, 153, 0);
  Canvas box(kGlyphWidth, kGlyphHeight);
  box.Fill(0, 0, kGlyphWidth, kGlyphHeight, kNoInk);
  box.Fill(3, 2, 10, 10, white);
  box.Frame(3, 2, 10, 10, ink);
  Canvas ticked = box;
  for (int i = 0; i < 3; ++i) ticked.Fill(4 + i, 6 + i, 2, 2, tick);
  for (int i = 0; i < 6; ++i) ticked.Fill(6 + i, 8 - i, 2, 2, tick);
  Canvas strip = Strip(6);
  const Look looks[3] = {Look::Normal, Look::Hover, Look::Pressed};
  for (int i = 0; i < 3; ++i) {
    DrawFace(strip, i, box, looks[i]);
    DrawFace(strip, 3 + i, ticked, looks[i]);
  }
  return strip.Write(dir + "select.bmp");
}

// The filler: a groove down the bar, light beside dark, on the key; seamless when tiled.
bool WriteFiller(const std::string& dir) {
  Canvas strip = Strip(1, 6, kCelHeight);
  for (int y = 0; y < kCelHeight; ++y) {
    strip.Set(2, y, P().shade);
    strip.Set(3, y, P().light);
  }
  return strip.Write(dir + "filler.bmp");
}

// The title bar's 17 x 15 buttons: full screen, small screen and close, 3 cels each.
bool WriteTitleStrip(const std::string& dir, const std::string& name) {
  const int ink = Nearest(0, 0, 102), white = Nearest(255, 255, 255), red = Nearest(204, 0, 0);
  Canvas glyph(11, 9);
  glyph.Fill(0, 0, 11, 9, kNoInk);
  if (name == "full.bmp") {
    glyph.Fill(1, 0, 9, 9, white);
    glyph.Frame(1, 0, 9, 9, ink);
    glyph.Fill(1, 0, 9, 2, ink);
  } else if (name == "small.bmp") {
    glyph.Fill(4, 0, 7, 6, white);
    glyph.Frame(4, 0, 7, 6, ink);
    glyph.Fill(4, 0, 7, 2, ink);
    glyph.Fill(0, 3, 7, 6, white);
    glyph.Frame(0, 3, 7, 6, ink);
    glyph.Fill(0, 3, 7, 2, ink);
  } else {
    for (int i = 0; i < 8; ++i) {
      glyph.Fill(1 + i, i, 2, 1, red);
      glyph.Fill(8 - i, i, 2, 1, red);
    }
  }
  Canvas strip = Strip(3, 17, 15);
  const Look looks[3] = {Look::Normal, Look::Hover, Look::Pressed};
  for (int i = 0; i < 3; ++i) {
    DrawPlate(strip, i * 17, 0, 17, 15, looks[i]);
    const int push = i == 2 ? 1 : 0;
    strip.Paste(glyph, i * 17 + 3 + push, 3 + push, kNoInk);
  }
  return strip.Write(dir + name);
}

// A 16 x 16 icon: its normal, highlighted and disabled images side by side, and a mask
// white where the icon is.
bool WriteIcon(const std::string& dir, const std::string& base, const std::string& glyphName) {
  const Canvas glyph = Glyph(glyphName);
  Canvas image(48, 16), mask(16, 16);
  const int black = Nearest(0, 0, 0), white = Nearest(255, 255, 255);
  const int grey = Nearest(128, 128, 128), blue = Nearest(0, 102, 204);
  const int ink = Nearest(0, 0, 102);
  image.Fill(0, 0, 48, 16, black);
  mask.Fill(0, 0, 16, 16, black);
  for (int y = 0; y < kGlyphHeight; ++y)
    for (int x = 0; x < kGlyphWidth; ++x) {
      const int v = glyph.Get(x, y);
      if (v == kNoInk) continue;
      image.Set(x, y + 1, v);
      image.Set(16 + x, y + 1, v == ink ? blue : v);
      image.Set(32 + x, y + 1, grey);
      mask.Set(x, y + 1, white);
    }
  return image.Write(dir + base + "_16.bmp") && mask.Write(dir + base + "_16m.bmp");
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

}  // namespace

const std::vector<std::string>& PaneButtonNames() {
  static const std::vector<std::string> names = {
      "pbFullSc.bmp", "pbNext.bmp",   "pbPrint.bmp",  "pbPrev.bmp",   "pbSlctTr.bmp",
      "pbCopy.bmp",   "avplayrv.bmp", "avstprwd.bmp", "avstop.bmp",   "avstpfwd.bmp",
      "avplay.bmp",   "pbArticl.bmp", "pbSize.bmp",   "pbFreeze.bmp", "pbThaw.bmp",
      "pbBookMk.bmp", "pbSearch.bmp", "pbStop.bmp",   "pbGetItm.bmp", "pbQList.bmp",
      "pbcopy.bmp",   "pbGoto.bmp",   "pbNewLst.bmp", "pbOpnLst.bmp", "pbSvList.bmp",
      "pbDelItm.bmp", "pbHist.bmp",   "pbGoToYr.bmp", "pbFindEv.bmp", "pbXpnArt.bmp",
      "pbUS.bmp",     "pbWorld.bmp",  "pbOptns.bmp",  "pbTbleau.bmp", "pbZoomIn.bmp",
      "pbZoomOt.bmp", "pbOutlin.bmp", "pbideasr.bmp", "pbLabels.bmp", "pbGrid.bmp",
      "pbcntrls.bmp", "erclose.bmp",  "erclosep.bmp", "avfllrwd.bmp", "avpause.bmp",
      "erplyful.bmp", "pbpurple.bmp", "ertutor.bmp",  "ersamscr.bmp", "ernewscr.bmp",
      "eropnscr.bmp", "ersavscr.bmp", "save.bmp",     "delete.bmp",   "pbclose.bmp",
      "pbfullsc.bmp"};
  return names;
}

std::vector<std::string> StripNames() {
  std::vector<std::string> names = PaneButtonNames();
  for (const char* extra : {"full.bmp", "small.bmp", "close.bmp", "select.bmp", "animnext.bmp",
                            "animprev.bmp", "animplay.bmp", "filler.bmp"})
    names.push_back(extra);
  return names;
}

bool MakeButtonArt(const std::string& dir) {
  const std::string d = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  bool ok = true;
  for (const std::string& name : PaneButtonNames()) ok = ok && WriteButton(d, name, name);
  ok = ok && WriteTitleStrip(d, "full.bmp") && WriteTitleStrip(d, "small.bmp") &&
       WriteTitleStrip(d, "close.bmp") && WriteSelection(d) &&
       WriteAnimated(d, "animnext.bmp", "pbNext.bmp", 1) &&
       WriteAnimated(d, "animprev.bmp", "pbPrev.bmp", -1) &&
       WriteAnimated(d, "animplay.bmp", "avplay.bmp", 1) && WriteFiller(d);
  if (!ok) return false;

  const struct {
    const char* group;
    const char* name;
    const char* glyph;
  } icons[] = {
      {"panes", "media", "ersamscr.bmp"},   {"panes", "path", "pbSlctTr.bmp"},
      {"panes", "article", "pbArticl.bmp"}, {"panes", "maxi", "pbFullSc.bmp"},
      {"panes", "env", "pbWorld.bmp"},      {"menus", "bookmark", "pbBookMk.bmp"},
      {"menus", "print", "pbPrint.bmp"},    {"menus", "copy", "pbCopy.bmp"},
      {"menus", "search", "pbSearch.bmp"},  {"menus", "fullscreen", "pbFullSc.bmp"},
      {"menus", "tableau", "pbTbleau.bmp"}, {"menus", "next", "pbNext.bmp"},
      {"menus", "prev", "pbPrev.bmp"},      {"menus", "close", "pbclose.bmp"},
  };
  for (const auto& icon : icons) {
    const std::string folder = d + "icons/" + icon.group + "/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!WriteIcon(folder, icon.name, icon.glyph)) return false;
  }

  // The data set holds each strip once: its member names compare without regard to case.
  std::error_code gone;
  std::filesystem::remove(d + "buttons.set", gone);
  quill::ZDataSet set = quill::ZDataSet::AtPath(d + "buttons.set", true);
  std::set<std::string> seen;
  for (const std::string& name : StripNames()) {
    if (!seen.insert(Lower(name)).second) continue;
    if (!set.add_file(d + name)) return false;
  }
  std::string error;
  if (!set.write(&error)) {
    std::fprintf(stderr, "quill-art: %sbuttons.set: %s\n", d.c_str(), error.c_str());
    return false;
  }
  return true;
}

}  // namespace quill_art
