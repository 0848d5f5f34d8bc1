#include "quillui/framework/gdi/font_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quill {

namespace {

constexpr int kDefaultCellHeight = 16;   // what a height of 0 asks for
constexpr int64_t kMaxPixelSize = 1024;  // larger requests are clamped, so glyphs stay small
constexpr unsigned kMaxGlyphDimension = 4096;
constexpr std::size_t kMaxInstances = 256;  // realised (face, size) pairs kept
constexpr std::size_t kMaxResolutions = 256;
constexpr int kMaxFaceCandidates = 16;     // fontconfig answers tried before giving up
constexpr FT_Fixed kItalicShear = 0x3700;  // about 12 degrees, for faces without an italic

constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Metrics of a face in font units, read once when the face is opened. The cell is the OS/2
// table's win ascent and descent, which the classic metrics (and the metric-compatible faces)
// are built around. The defaults stand in when no face can be found at all.
struct FaceMetrics {
  int64_t upem = 1000, winAscent = 905, winDescent = 212;
  int64_t lineGapExtra = 33;  // hhea line height beyond the cell
  int64_t avgWidth = 441, maxAdvance = 1000;
  int64_t underlinePos = 106, underlineThickness = 73;  // centre of the stroke below the baseline
  int64_t strikePos = 259, strikeSize = 51;             // top of the stroke above the baseline
};

struct FaceRecord {
  FT_Face face = nullptr;
  std::string file, family, style;
  int index = 0;
  bool bold = false, italic = false;
  bool symbol = false;  // only a symbol character map: bytes map to U+F000 + byte
  FaceMetrics metrics;
  FT_UInt sizeX = 0, sizeY = 0;
};

struct Glyph {
  int left = 0, top = 0;  // bitmap origin from the pen and the baseline (up is positive)
  int width = 0, rows = 0, rowBytes = 0;
  int advance = 0;
  std::vector<uint8_t> bits;  // rows of MSB-first bits
};
constexpr std::size_t kGlyphOverhead = sizeof(Glyph) + 64;

struct GlyphKey {
  int face = 0, xppem = 0, yppem = 0;
  uint32_t glyph = 0;
  uint8_t flags = 0;  // 1 = synthetic bold, 2 = synthetic italic
  bool operator==(const GlyphKey&) const = default;
};

struct GlyphKeyHash {
  std::size_t operator()(const GlyphKey& k) const {
    uint64_t h = (uint64_t(uint32_t(k.face)) << 32) ^ (uint64_t(uint32_t(k.xppem)) << 20) ^
                 uint64_t(uint32_t(k.yppem)) ^ (uint64_t(k.glyph) << 40) ^
                 (uint64_t(k.glyph) >> 8) ^ (uint64_t(k.flags) << 60);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return std::size_t(h);
  }
};

struct FontInstance {
  int face = -1;
  int xppem = 0, yppem = 0;
  bool syntheticBold = false, syntheticItalic = false;
  TTextMetric tm;
  int underlineTop = 0, underlineHeight = 1;  // rows from the cell top
  int strikeTop = 0, strikeHeight = 1;
  std::array<uint32_t, 256> glyphIndex{};
  std::array<int32_t, 256> advance{};  // -1 until measured
  // The cached glyph of each byte, valid while the glyph cache has dropped nothing since
  // glyphEpoch: drawing warm text then takes no hash lookup per character.
  std::array<const Glyph*, 256> byteGlyph{};
  uint64_t glyphEpoch = 0;
};

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return out;
}

int NormalisedWeight(int weight) { return weight <= 0 ? FW_NORMAL : std::min(weight, 1000); }

// Classic face names mapped to the families fontconfig should try, best first. Names that
// only ever meant "the sans serif of the desktop" go straight to a metric-compatible sans;
// other names fall back on the generic family the pitch-and-family byte asks for.
std::vector<std::string> FamiliesFor(std::string_view face, uint8_t pitchAndFamily) {
  const std::string key = Lowered(face);
  if (key.empty() || key == "ms sans serif" || key == "system" || key == "ms shell dlg" ||
      key == "ms shell dlg 2" || key == "helv" || key == "small fonts")
    return {"Liberation Sans", "Arimo", "sans-serif"};
  if (key == "ms serif" || key == "tms rmn") return {"Liberation Serif", "Tinos", "serif"};
  if (key == "times new roman" || key == "times")
    return {std::string(face), "Liberation Serif", "Tinos", "serif"};
  if (key == "arial" || key == "helvetica")
    return {std::string(face), "Liberation Sans", "Arimo", "sans-serif"};
  if (key == "courier new" || key == "courier" || key == "fixedsys" || key == "terminal")
    return {std::string(face), "Liberation Mono", "Cousine", "monospace"};
  if ((pitchAndFamily & 3) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
    return {std::string(face), "monospace"};
  if ((pitchAndFamily & 0xF0) == FF_ROMAN) return {std::string(face), "serif"};
  if ((pitchAndFamily & 0xF0) == FF_SWISS) return {std::string(face), "sans-serif"};
  return {std::string(face)};
}

int64_t ScaleCeil(int64_t v, int64_t ppem, int64_t upem) {
  return v <= 0 ? 0 : (v * ppem + upem - 1) / upem;
}

int64_t ScaleRound(int64_t v, int64_t ppem, int64_t upem) {
  return v >= 0 ? (v * ppem + upem / 2) / upem : -((-v * ppem + upem / 2) / upem);
}

class Engine {
 public:
  std::mutex mutex;

  void Reset(const FontEngineSettings& settings) {
    Clear();
    settings_ = settings;
  }
  void Release() { Clear(); }

  FontInstance& Instance(const TLogFont& lf);
  // The font's instance, straight from the font when it realised in this generation.
  FontInstance& Instance(const TFont& font);
  const Glyph& GetGlyph(const FontInstance& in, uint32_t glyphIndex);
  // The glyph of a byte of text through the instance's byte table.
  const Glyph& ByteGlyph(FontInstance& in, uint8_t byte);
  int ByteAdvance(FontInstance& in, uint8_t byte);
  int CharAdvance(const FontInstance& in, char32_t cp);
  const FaceRecord* Face(int id) const {
    return id >= 0 && std::size_t(id) < faces_.size() ? faces_[std::size_t(id)].get() : nullptr;
  }
  FontEngineStats Stats() const {
    FontEngineStats s = stats_;
    s.glyphEntries = lru_.size();
    s.glyphBytes = glyphBytes_;
    s.openFaces = faces_.size();
    s.fontInstances = instances_.size();
    return s;
  }

 private:
  void Clear();
  bool EnsureFreeType();
  bool EnsureFontconfig();
  int ResolveFace(std::string_view face, int weight, bool italic, uint8_t pitchAndFamily);
  int OpenFace(const std::string& file, int index);
  bool SetSize(FaceRecord& fr, int x, int y);
  uint32_t CharIndex(const FaceRecord& fr, char32_t cp) const;
  Glyph Render(const FontInstance& in, uint32_t glyphIndex);
  void FillInstance(FontInstance& in, const TLogFont& lf);

  FontEngineSettings settings_;
  FT_Library library_ = nullptr;
  bool freetypeTried_ = false;
  FcConfig* fontconfig_ = nullptr;
  bool fontconfigTried_ = false;
  std::vector<std::unique_ptr<FaceRecord>> faces_;
  std::unordered_map<std::string, int> faceByFile_;
  std::unordered_map<std::string, int> resolutions_;
  std::unordered_map<std::string, std::unique_ptr<FontInstance>> instances_;
  using GlyphList = std::list<std::pair<GlyphKey, Glyph>>;
  GlyphList lru_;
  std::unordered_map<GlyphKey, GlyphList::iterator, GlyphKeyHash> glyphIndex_;
  std::size_t glyphBytes_ = 0;
  FontEngineStats stats_;
  // Bumped whenever instances are dropped (fonts' cached pointers to them go stale) and
  // whenever glyphs are dropped (instances' byte tables go stale). Never 0.
  uint64_t instanceGeneration_ = 1;
  uint64_t glyphEpoch_ = 1;
};

// The object is never destroyed, so text measured from other objects' destructors at exit
// still works; what it holds is released at exit all the same (fontconfig keeps offsets rather
// than pointers, so leak checkers would otherwise report a live configuration as lost).
Engine& TheEngine() {
  static Engine* engine = [] {
    std::atexit([] {
      std::lock_guard lock(TheEngine().mutex);
      TheEngine().Release();
    });
    return new Engine;
  }();
  return *engine;
}

void Engine::Clear() {
  ++instanceGeneration_;
  ++glyphEpoch_;
  glyphIndex_.clear();
  lru_.clear();
  glyphBytes_ = 0;
  instances_.clear();
  resolutions_.clear();
  faceByFile_.clear();
  for (auto& fr : faces_) FT_Done_Face(fr->face);
  faces_.clear();
  if (library_) FT_Done_FreeType(library_);
  if (fontconfig_) FcConfigDestroy(fontconfig_);
  library_ = nullptr;
  fontconfig_ = nullptr;
  freetypeTried_ = fontconfigTried_ = false;
  stats_ = {};
}

bool Engine::EnsureFreeType() {
  if (!freetypeTried_ && (freetypeTried_ = true) && FT_Init_FreeType(&library_) != 0)
    library_ = nullptr;
  return library_ != nullptr;
}

// A private configuration rather than the process default, so that a reset really lets go of
// everything fontconfig loaded for us.
bool Engine::EnsureFontconfig() {
  if (!fontconfigTried_ && (fontconfigTried_ = true)) fontconfig_ = FcInitLoadConfigAndFonts();
  return fontconfig_ != nullptr;
}

int Engine::OpenFace(const std::string& file, int index) {
  const std::string key = file + '\n' + std::to_string(index);
  if (auto it = faceByFile_.find(key); it != faceByFile_.end()) return it->second;
  if (!EnsureFreeType()) return -1;
  FT_Face face = nullptr;
  if (FT_New_Face(library_, file.c_str(), index, &face) != 0) return -1;
  // Bitmap-only faces cannot be scaled to the requested heights.
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    return -1;
  }
  auto fr = std::make_unique<FaceRecord>();
  fr->face = face;
  fr->file = file;
  fr->index = index;
  fr->family = face->family_name ? face->family_name : "";
  fr->style = face->style_name ? face->style_name : "";
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 &&
      FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
    fr->symbol = true;

  FaceMetrics& m = fr->metrics;
  m.upem = face->units_per_EM;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version == 0xFFFF) os2 = nullptr;
  m.winAscent = os2 ? os2->usWinAscent : 0;
  m.winDescent = os2 ? os2->usWinDescent : 0;
  if (m.winAscent + m.winDescent <= 0) {
    m.winAscent = face->ascender;
    m.winDescent = -int64_t(face->descender);
  }
  if (m.winAscent + m.winDescent <= 0) {
    m.winAscent = face->bbox.yMax;
    m.winDescent = -int64_t(face->bbox.yMin);
  }
  // A damaged table must not produce cells of thousands of pixels.
  m.winAscent = std::clamp<int64_t>(m.winAscent, 0, 4 * m.upem);
  m.winDescent = std::clamp<int64_t>(m.winDescent, 0, 4 * m.upem);
  if (m.winAscent + m.winDescent <= 0) {
    m.winAscent = m.upem * 4 / 5;
    m.winDescent = m.upem / 5;
  }
  m.lineGapExtra =
      std::clamp<int64_t>(int64_t(face->height) - (m.winAscent + m.winDescent), 0, m.upem);
  m.avgWidth = os2 ? std::clamp<int64_t>(os2->xAvgCharWidth, 0, 4 * m.upem) : 0;
  m.maxAdvance = std::clamp<int64_t>(face->max_advance_width, 0, 4 * m.upem);
  m.underlinePos = std::clamp<int64_t>(-int64_t(face->underline_position), 0, m.upem);
  m.underlineThickness = std::clamp<int64_t>(face->underline_thickness, 0, m.upem / 4);
  if (m.underlineThickness == 0) m.underlineThickness = m.upem / 14;
  const bool strike = os2 && os2->yStrikeoutPosition > 0 && os2->yStrikeoutSize > 0;
  m.strikePos = strike ? std::min<int64_t>(os2->yStrikeoutPosition, m.upem) : m.winAscent * 2 / 7;
  m.strikeSize = strike ? std::min<int64_t>(os2->yStrikeoutSize, m.upem / 4) : m.underlineThickness;
  fr->bold = (face->style_flags & FT_STYLE_FLAG_BOLD) || (os2 && os2->usWeightClass >= 600);
  fr->italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;

  const int id = int(faces_.size());
  faces_.push_back(std::move(fr));
  faceByFile_.emplace(key, id);
  return id;
}

int Engine::ResolveFace(std::string_view faceName, int weight, bool italic,
                        uint8_t pitchAndFamily) {
  const std::string key = Lowered(faceName) + '\n' + std::to_string(weight) + (italic ? "i" : "r") +
                          std::to_string(pitchAndFamily);
  if (auto it = resolutions_.find(key); it != resolutions_.end()) return it->second;
  if (resolutions_.size() >= kMaxResolutions) resolutions_.clear();

  int id = -1;
  if (settings_.useSystemFonts && EnsureFontconfig()) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern) {
      for (const std::string& family : FamiliesFor(faceName, pitchAndFamily))
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
      FcPatternAddDouble(pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
      FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
      FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
      FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
      FcConfigSubstitute(fontconfig_, pattern, FcMatchPattern);
      FcDefaultSubstitute(pattern);
      FcResult result = FcResultNoMatch;
      FcFontSet* set = FcFontSort(fontconfig_, pattern, FcTrue, nullptr, &result);
      if (set) {
        for (int i = 0; i < set->nfont && i < kMaxFaceCandidates && id < 0; ++i) {
          FcBool outline = FcTrue;
          FcChar8* file = nullptr;
          int index = 0;
          if (FcPatternGetBool(set->fonts[i], FC_OUTLINE, 0, &outline) == FcResultMatch && !outline)
            continue;
          if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch || !file)
            continue;
          FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
          id = OpenFace(reinterpret_cast<const char*>(file), index);
        }
        FcFontSetDestroy(set);
      }
      FcPatternDestroy(pattern);
    }
  }
  if (id < 0 && !settings_.fallbackFile.empty()) id = OpenFace(settings_.fallbackFile, 0);
  resolutions_.emplace(key, id);
  return id;
}

bool Engine::SetSize(FaceRecord& fr, int x, int y) {
  if (fr.sizeX == FT_UInt(x) && fr.sizeY == FT_UInt(y)) return true;
  if (FT_Set_Pixel_Sizes(fr.face, FT_UInt(x), FT_UInt(y)) != 0) return false;
  fr.sizeX = FT_UInt(x);
  fr.sizeY = FT_UInt(y);
  return true;
}

uint32_t Engine::CharIndex(const FaceRecord& fr, char32_t cp) const {
  if (fr.symbol && cp <= 0xFF) {
    if (FT_UInt gi = FT_Get_Char_Index(fr.face, 0xF000 + cp)) return gi;
  }
  return FT_Get_Char_Index(fr.face, cp);
}

void Engine::FillInstance(FontInstance& in, const TLogFont& lf) {
  const int weight = NormalisedWeight(lf.lfWeight);
  in.face = ResolveFace(lf.lfFaceName, weight, lf.lfItalic != 0, lf.lfPitchAndFamily);
  FaceRecord* fr = in.face >= 0 ? faces_[std::size_t(in.face)].get() : nullptr;
  static const FaceMetrics kNoFace;
  const FaceMetrics& m = fr ? fr->metrics : kNoFace;

  // Negative: the em is the height. Positive: the largest em whose cell fits the height,
  // and the cell is then exactly the height asked for. Ascent and descent round to nearest,
  // as the classic rasteriser did (an 8-point face of 11 pixels has a 13-pixel cell).
  int64_t requested = lf.lfHeight == 0 ? kDefaultCellHeight : int64_t(lf.lfHeight);
  int64_t ppem, ascent, descent;
  if (requested < 0) {
    ppem = std::clamp<int64_t>(-requested, 1, kMaxPixelSize);
    ascent = ScaleRound(m.winAscent, ppem, m.upem);
    descent = ScaleRound(m.winDescent, ppem, m.upem);
  } else {
    const int64_t cell = std::min(requested, kMaxPixelSize);
    auto cellAt = [&](int64_t em) {
      return ScaleRound(m.winAscent, em, m.upem) + ScaleRound(m.winDescent, em, m.upem);
    };
    // The proportional guess is off by at most a pixel or two either way.
    ppem =
        std::clamp<int64_t>(ScaleRound(cell, m.upem, m.winAscent + m.winDescent), 1, kMaxPixelSize);
    while (ppem < kMaxPixelSize && cellAt(ppem + 1) <= cell) ++ppem;
    while (ppem > 1 && cellAt(ppem) > cell) --ppem;
    ascent = std::min(ScaleRound(m.winAscent, ppem, m.upem), cell);
    descent = cell - ascent;
  }
  int64_t xppem = ppem;
  if (lf.lfWidth != 0) {
    const int64_t wanted =
        std::min(lf.lfWidth < 0 ? -int64_t(lf.lfWidth) : int64_t(lf.lfWidth), kMaxPixelSize);
    const int64_t avg = m.avgWidth > 0 ? m.avgWidth : m.upem / 2;
    xppem = std::clamp<int64_t>(ScaleRound(wanted, m.upem, avg), 1, kMaxPixelSize);
  }
  in.xppem = int(xppem);
  in.yppem = int(ppem);
  in.syntheticBold = fr && weight >= FW_SEMIBOLD && !fr->bold;
  in.syntheticItalic = fr && lf.lfItalic && !fr->italic;
  const int extra = in.syntheticBold ? 1 : 0;

  in.tm = TTextMetric{.tmHeight = int(ascent + descent),
                      .tmAscent = int(ascent),
                      .tmDescent = int(descent),
                      .tmInternalLeading = int(std::max<int64_t>(0, ascent + descent - ppem)),
                      .tmExternalLeading = int(ScaleRound(m.lineGapExtra, ppem, m.upem)),
                      .tmAveCharWidth = int(ScaleRound(m.avgWidth, xppem, m.upem)) + extra,
                      .tmMaxCharWidth = int(ScaleCeil(m.maxAdvance, xppem, m.upem)) + extra,
                      .tmWeight = weight,
                      .tmOverhang = 0,
                      .tmItalic = uint8_t(lf.lfItalic ? 1 : 0),
                      .tmUnderlined = uint8_t(lf.lfUnderline ? 1 : 0),
                      .tmStruckOut = uint8_t(lf.lfStrikeOut ? 1 : 0),
                      .tmPitchAndFamily = lf.lfPitchAndFamily,
                      .tmCharSet = lf.lfCharSet};

  const int64_t cell = ascent + descent;
  const int64_t ulHeight = std::clamp<int64_t>(ScaleRound(m.underlineThickness, ppem, m.upem), 1,
                                               std::max<int64_t>(1, cell / 4));
  const int64_t ulTop =
      ascent + std::max<int64_t>(1, ScaleRound(m.underlinePos, ppem, m.upem) - ulHeight / 2);
  in.underlineHeight = int(ulHeight);
  in.underlineTop = int(std::clamp<int64_t>(ulTop, 0, std::max<int64_t>(0, cell - ulHeight)));
  const int64_t stHeight = std::clamp<int64_t>(ScaleRound(m.strikeSize, ppem, m.upem), 1,
                                               std::max<int64_t>(1, cell / 4));
  in.strikeHeight = int(stHeight);
  in.strikeTop = int(std::clamp<int64_t>(ascent - ScaleRound(m.strikePos, ppem, m.upem), 0,
                                         std::max<int64_t>(0, cell - stHeight)));

  in.advance.fill(fr ? -1 : 0);
  if (!fr) return;
  for (int b = 0; b < 256; ++b)
    in.glyphIndex[std::size_t(b)] =
        fr->symbol ? CharIndex(*fr, char32_t(b)) : CharIndex(*fr, Cp1252ToUnicode(uint8_t(b)));
  // Faces without an average width in their tables: measure the lower-case x instead.
  if (m.avgWidth <= 0) in.tm.tmAveCharWidth = ByteAdvance(in, 'x');
}

FontInstance& Engine::Instance(const TLogFont& lf) {
  std::string key = Lowered(lf.lfFaceName);
  key += '\n';
  key += std::to_string(lf.lfHeight) + ',' + std::to_string(lf.lfWidth) + ',' +
         std::to_string(NormalisedWeight(lf.lfWeight)) + ',' + (lf.lfItalic ? 'i' : 'r') +
         (lf.lfUnderline ? 'u' : '-') + (lf.lfStrikeOut ? 's' : '-') + ',' +
         std::to_string(lf.lfPitchAndFamily) + ',' + std::to_string(lf.lfCharSet);
  if (auto it = instances_.find(key); it != instances_.end()) return *it->second;
  if (instances_.size() >= kMaxInstances) {
    instances_.clear();
    ++instanceGeneration_;
  }
  auto in = std::make_unique<FontInstance>();
  FillInstance(*in, lf);
  return *instances_.emplace(std::move(key), std::move(in)).first->second;
}

FontInstance& Engine::Instance(const TFont& font) {
  TFont::TRealization& cached = font.Realization();
  if (cached.instance && cached.generation == instanceGeneration_)
    return *static_cast<FontInstance*>(cached.instance);
  FontInstance& in = Instance(font.GetLogFont());
  cached.instance = &in;
  cached.generation = instanceGeneration_;
  return in;
}

Glyph Engine::Render(const FontInstance& in, uint32_t glyphIndex) {
  Glyph g;
  FaceRecord& fr = *faces_[std::size_t(in.face)];
  if (!SetSize(fr, in.xppem, in.yppem)) return g;
  FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
  FT_Set_Transform(fr.face, in.syntheticItalic ? &shear : nullptr, nullptr);
  FT_Error error = FT_Load_Glyph(fr.face, glyphIndex, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO);
  // A face whose hinting program fails still has an outline worth showing.
  if (error) error = FT_Load_Glyph(fr.face, glyphIndex, FT_LOAD_NO_HINTING | FT_LOAD_TARGET_MONO);
  if (error) return g;
  FT_GlyphSlot slot = fr.face->glyph;
  g.advance = int(std::clamp<FT_Pos>((slot->advance.x + 32) >> 6, 0, 4 * kMaxPixelSize));
  if (in.syntheticBold && g.advance > 0) ++g.advance;
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
    return g;
  const FT_Bitmap& bm = slot->bitmap;
  if (!bm.buffer || bm.width == 0 || bm.rows == 0 || bm.width > kMaxGlyphDimension ||
      bm.rows > kMaxGlyphDimension)
    return g;
  const bool mono = bm.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!mono && bm.pixel_mode != FT_PIXEL_MODE_GRAY) return g;
  const int64_t pitch = bm.pitch < 0 ? -int64_t(bm.pitch) : int64_t(bm.pitch);
  const int64_t srcRowBytes = mono ? (int64_t(bm.width) + 7) / 8 : int64_t(bm.width);
  if (pitch < srcRowBytes) return g;

  const int extra = in.syntheticBold ? 1 : 0;
  g.width = int(bm.width) + extra;
  g.rows = int(bm.rows);
  g.rowBytes = (g.width + 7) / 8;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.bits.assign(std::size_t(g.rowBytes) * std::size_t(g.rows), 0);
  for (int r = 0; r < g.rows; ++r) {
    const int64_t srcRow = bm.pitch >= 0 ? r : int64_t(g.rows) - 1 - r;
    const uint8_t* src = bm.buffer + srcRow * pitch;
    uint8_t* dst = g.bits.data() + std::size_t(r) * std::size_t(g.rowBytes);
    if (mono) {
      std::copy(src, src + srcRowBytes, dst);
    } else {
      for (unsigned c = 0; c < bm.width; ++c)
        if (src[c] >= 128) dst[c >> 3] |= uint8_t(0x80u >> (c & 7));
    }
    if (extra) {
      // Bold as the classic rasteriser faked it: every ink pixel smeared one to the right.
      uint8_t carry = 0;
      for (int i = 0; i < g.rowBytes; ++i) {
        const uint8_t v = dst[i];
        dst[i] = uint8_t(v | (v >> 1) | (carry << 7));
        carry = v & 1;
      }
    }
  }
  return g;
}

const Glyph& Engine::GetGlyph(const FontInstance& in, uint32_t glyphIndex) {
  const GlyphKey key{in.face, in.xppem, in.yppem, glyphIndex,
                     uint8_t((in.syntheticBold ? 1 : 0) | (in.syntheticItalic ? 2 : 0))};
  if (auto it = glyphIndex_.find(key); it != glyphIndex_.end()) {
    ++stats_.glyphHits;
    lru_.splice(lru_.begin(), lru_, it->second);
    return it->second->second;
  }
  ++stats_.glyphMisses;
  lru_.emplace_front(key, Render(in, glyphIndex));
  glyphIndex_.emplace(key, lru_.begin());
  glyphBytes_ += kGlyphOverhead + lru_.front().second.bits.size();
  // The glyph just added always stays, so the reference handed back is valid.
  while (lru_.size() > 1 && (lru_.size() > settings_.glyphCacheMaxEntries ||
                             glyphBytes_ > settings_.glyphCacheMaxBytes)) {
    ++glyphEpoch_;
    glyphBytes_ -= kGlyphOverhead + lru_.back().second.bits.size();
    glyphIndex_.erase(lru_.back().first);
    lru_.pop_back();
  }
  return lru_.front().second;
}

const Glyph& Engine::ByteGlyph(FontInstance& in, uint8_t byte) {
  if (in.glyphEpoch != glyphEpoch_) {
    in.byteGlyph.fill(nullptr);
    in.glyphEpoch = glyphEpoch_;
  }
  if (const Glyph* g = in.byteGlyph[byte]) {
    ++stats_.glyphHits;
    return *g;
  }
  const Glyph& g = GetGlyph(in, in.glyphIndex[byte]);
  // Fetching may have dropped other glyphs; the one fetched always stays.
  if (in.glyphEpoch != glyphEpoch_) {
    in.byteGlyph.fill(nullptr);
    in.glyphEpoch = glyphEpoch_;
  }
  in.byteGlyph[byte] = &g;
  return g;
}

int Engine::ByteAdvance(FontInstance& in, uint8_t byte) {
  int32_t& cached = in.advance[byte];
  if (cached < 0) cached = GetGlyph(in, in.glyphIndex[byte]).advance;
  return cached;
}

int Engine::CharAdvance(const FontInstance& in, char32_t cp) {
  const FaceRecord* fr = Face(in.face);
  return fr ? GetGlyph(in, CharIndex(*fr, cp)).advance : 0;
}

// Sets columns [x0, x1) of rows [y0, y1) inside area to color.
void FillSpan(uint8_t* pixels, int64_t stride, const TRect& area, int64_t x0, int64_t x1,
              int64_t y0, int64_t y1, uint8_t color) {
  x0 = std::max<int64_t>(x0, area.left);
  x1 = std::min<int64_t>(x1, area.right);
  y0 = std::max<int64_t>(y0, area.top);
  y1 = std::min<int64_t>(y1, area.bottom);
  if (x0 >= x1) return;
  for (int64_t row = y0; row < y1; ++row)
    std::fill(pixels + row * stride + x0, pixels + row * stride + x1, color);
}

void BlitGlyph(const Glyph& g, int64_t gx, int64_t gy, uint8_t* pixels, int64_t stride,
               const TRect& area, uint8_t color) {
  const int64_t r0 = std::max<int64_t>(0, area.top - gy);
  const int64_t r1 = std::min<int64_t>(g.rows, area.bottom - gy);
  const int64_t c0 = std::max<int64_t>(0, area.left - gx);
  const int64_t c1 = std::min<int64_t>(g.width, area.right - gx);
  if (r0 >= r1 || c0 >= c1) return;
  for (int64_t r = r0; r < r1; ++r) {
    const uint8_t* src = g.bits.data() + r * g.rowBytes;
    uint8_t* row = pixels + (gy + r) * stride;
    for (int64_t c = c0; c < c1;) {
      const uint8_t bits = src[c >> 3];
      if (bits == 0) {
        c = (c | 7) + 1;
        continue;
      }
      if (bits & (0x80u >> (c & 7))) row[gx + c] = color;
      ++c;
    }
  }
}

}  // namespace

void ResetFontEngine(const FontEngineSettings& settings) {
  Engine& e = TheEngine();
  std::lock_guard lock(e.mutex);
  e.Reset(settings);
}

FontEngineStats GetFontEngineStats() {
  Engine& e = TheEngine();
  std::lock_guard lock(e.mutex);
  return e.Stats();
}

TResolvedFace DescribeResolvedFace(const TFont& font) {
  Engine& e = TheEngine();
  std::lock_guard lock(e.mutex);
  const FontInstance& in = e.Instance(font);
  const FaceRecord* fr = e.Face(in.face);
  TResolvedFace out;
  out.pixelSize = in.yppem;
  if (!fr) return out;
  return TResolvedFace{true,      fr->family, fr->style,        fr->file,
                       fr->index, in.yppem,   in.syntheticBold, in.syntheticItalic};
}

TTextMetric GetFontTextMetrics(const TFont& font) {
  Engine& e = TheEngine();
  std::lock_guard lock(e.mutex);
  return e.Instance(font).tm;
}

char32_t Cp1252ToUnicode(uint8_t byte) {
  return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : char32_t(byte);
}

TSize GetTextExtent(const TFont& font, std::string_view text) {
  Engine& e = TheEngine();
  std::lock_guard lock(e.mutex);
  FontInstance& in = e.Instance(font);
  int64_t width = 0;
  for (char c : text) width += e.ByteAdvance(in, uint8_t(c));
  return {int(std::min<int64_t>(width, INT_MAX)), in.tm.tmHeight};
}

TSize GetTextExtent(const TFont& font, std::u32string_view text) {
  Engine& e = TheEngine();
  std::lock_guard lock(e.mutex);
  const FontInstance& in = e.Instance(font);
  int64_t width = 0;
  for (char32_t c : text) width += e.CharAdvance(in, c);
  return {int(std::min<int64_t>(width, INT_MAX)), in.tm.tmHeight};
}

void DrawTextRun(const TFont& font, std::string_view text, int x, int y, uint8_t* pixels,
                 ptrdiff_t stride, int width, int height, const TRect& clip, uint8_t colorIndex) {
  if (!pixels || width <= 0 || height <= 0) return;
  if ((stride < 0 ? -int64_t(stride) : int64_t(stride)) < width) return;
  const TRect area = clip & TRect(0, 0, width, height);
  if (area.IsEmpty()) return;

  Engine& e = TheEngine();
  std::lock_guard lock(e.mutex);
  FontInstance& in = e.Instance(font);
  const TTextMetric& tm = in.tm;
  const int64_t baseline = int64_t(y) + tm.tmAscent;
  // How far ink can stray from its pen position and cell: bearings, accents above the cell
  // and the synthetic slant. Anything farther from the area than this cannot touch it.
  const int64_t reach = 2 * int64_t(tm.tmHeight) + tm.tmMaxCharWidth + 2;
  const bool rowsVisible =
      int64_t(y) - reach < area.bottom && int64_t(y) + tm.tmHeight + reach > area.top;

  int64_t pen = x;
  if (rowsVisible && in.face >= 0) {
    for (char c : text) {
      if (pen - reach >= area.right) break;  // advances never go backwards
      const uint8_t byte = uint8_t(c);
      if (pen + reach > area.left) {
        const Glyph& g = e.ByteGlyph(in, byte);
        if (!g.bits.empty())
          BlitGlyph(g, pen + g.left, baseline - g.top, pixels, stride, area, colorIndex);
        in.advance[byte] = g.advance;
        pen += g.advance;
      } else {
        pen += e.ByteAdvance(in, byte);
      }
    }
  }
  if (font.IsUnderlined())
    FillSpan(pixels, stride, area, x, pen, int64_t(y) + in.underlineTop,
             int64_t(y) + in.underlineTop + in.underlineHeight, colorIndex);
  if (font.IsStruckOut())
    FillSpan(pixels, stride, area, x, pen, int64_t(y) + in.strikeTop,
             int64_t(y) + in.strikeTop + in.strikeHeight, colorIndex);
}

}  // namespace quill
