#include "quillui/app/presentation.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "quillui/app/app_info.h"
#include "quillui/app/app_palette.h"
#include "quillui/framework/base/containers.h"
#include "quillui/profile/cmd_line.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/app.h"

namespace quill {

namespace {

struct MetricRow {
  const char* key;
  int def;
};
constexpr std::array<MetricRow, eMETRIC_COUNT> kMetrics{{
    {"DEFAULT", 4},
    {"TABLEAU_MARGIN_LEFT", 5},
    {"TABLEAU_MARGIN_TOP", 5},
    {"TABLEAU_MARGIN_RIGHT", 5},
    {"TABLEAU_MARGIN_BOTTOM", 5},
    {"TABLEAU_MEDIA_PATH_GAP", 5},
    {"TABLEAU_ARTICLE_GAP", 5},
    {"PANE_BEZEL", 3},
    {"PANE_MARGIN_LEFT", 3},
    {"PANE_MARGIN_TOP", 3},
    {"PANE_MARGIN_RIGHT", 3},
    {"PANE_MARGIN_BOTTOM", 3},
    {"PANE_MARGIN_BUTTONBAR", 3},
    {"PANE_OUTIE_BEZEL", 2},
    {"PANE_INNIE_BEZEL", 4},
    {"PANE_TO_PANE_WIDTH", 4},
    {"PANE_TO_PANE_HEIGHT", 4},
    {"PICTURE_BORDER", 4},
}};

struct ColorRow {
  const char* key;
  TColor def;
};
constexpr std::array<ColorRow, APP_COLOR_COUNT> kColors{{
    {nullptr, PALETTERGB(255, 128, 128)},
    {"STATUSBAR_FACE", PALETTERGB(205, 206, 227)},
    {"STATUSBAR_HIGHLIGHT", PALETTERGB(255, 255, 255)},
    {"STATUSBAR_SHADOW", PALETTERGB(111, 108, 149)},
    {"HINTTEXT_BACKGROUND", PALETTERGB(205, 206, 227)},
    {"TABLEAU_BACKGROUND", PALETTERGB(72, 68, 97)},
    {"PANE_GLINT", PALETTERGB(205, 206, 227)},
    {"PANE_HIGHLIGHT_LEFT", PALETTERGB(182, 181, 223)},
    {"PANE_HIGHLIGHT_TOP", PALETTERGB(227, 228, 244)},
    {"PANE_SHADOW_RIGHT", PALETTERGB(111, 108, 149)},
    {"PANE_SHADOW_BOTTOM", PALETTERGB(44, 38, 76)},
    {"HOLDER_BACKGROUND", PALETTERGB(205, 206, 227)},
    {"TITLE_BACKGROUND", PALETTERGB(205, 206, 227)},
    {"OUTIE_HIGHLIGHT1", PALETTERGB(200, 202, 247)},
    {"OUTIE_HIGHLIGHT2", PALETTERGB(111, 108, 149)},
    {"OUTIE_SHADOW1", PALETTERGB(111, 108, 149)},
    {"OUTIE_SHADOW2", PALETTERGB(44, 38, 76)},
    {"INNIE_LEFT", PALETTERGB(122, 124, 169)},
    {"INNIE_TOP", PALETTERGB(147, 149, 194)},
    {"INNIE_RIGHT", PALETTERGB(182, 181, 223)},
    {"INNIE_BOTTOM", PALETTERGB(227, 228, 244)},
    {"TITLE_TEXT", PALETTERGB(0, 0, 0)},
}};

struct FontRow {
  const char* key;
  const char* face;
  int height;
  int weight;
  bool italic;
};
constexpr std::array<FontRow, APP_FONT_COUNT> kFonts{{
    {"Default", "MS Sans Serif", -10, FW_NORMAL, false},
    {"Title", "Times New Roman", -18, FW_NORMAL, false},
    {"BigTitle", "Times New Roman", -18, FW_NORMAL, false},
    {"Label", "MS Sans Serif", -10, FW_NORMAL, false},
    {"ListBox", "Arial", 14, FW_NORMAL, false},
    {"Edit", "MS Sans Serif", -10, FW_NORMAL, false},
    {"Vantis", "Arial", 10, FW_NORMAL, false},
    {"VantisBig", "Arial", 18, FW_NORMAL, false},
    {"ScriptDescr", "MS Sans Serif", -10, FW_BOLD, true},
}};

// Library-wide tables, built on first use.
int g_style = -1;
std::unique_ptr<std::array<int, eMETRIC_COUNT>> g_metrics;
std::unique_ptr<std::array<TColor, APP_COLOR_COUNT>> g_colors;
std::optional<TBrush> g_titleBrush;
std::optional<TBrush> g_holderBrush;
std::array<std::unique_ptr<TFont>, APP_FONT_COUNT> g_fonts;

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// atol's reading (leading blanks, a sign, digits, anything after ignored) without its
// undefined overflow: digits accumulate modulo 2^64, which keeps every low bit exact.
uint64_t ReadDecimalBits(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  uint64_t v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10 + uint64_t(s[i] - '0');
  return negative ? uint64_t(0) - v : v;
}

// The same reading for a value that must be a plausible int: saturates instead of wrapping.
long ReadDecimalClamped(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long v = 0;
  constexpr long kCap = 1000000000L;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    if (v < kCap) v = v * 10 + (s[i] - '0');
  }
  if (v > kCap) v = kCap;
  return negative ? -v : v;
}

ZProf& Settings() { return ZProfile(eIniFile); }

// Calls fn(name, value) for each item of a settings text, in order, while fn answers true.
template <class Fn>
void ForEachItem(std::string_view text, Fn&& fn) {
  ZCmdLine items{std::string(text)};
  std::string name, value;
  for (bool more = items.FindFirst(name, value); more; more = items.FindNext(name, value)) {
    if (!fn(std::string_view(name), std::string_view(value))) return;
  }
}

}  // namespace

const char* AppMetricKey(int metric) {
  return metric >= 0 && metric < eMETRIC_COUNT ? kMetrics[size_t(metric)].key : kMetrics[0].key;
}
int AppMetricDefault(int metric) {
  return metric >= 0 && metric < eMETRIC_COUNT ? kMetrics[size_t(metric)].def : kMetrics[0].def;
}
const char* AppColorKey(int color) {
  return color > 0 && color < APP_COLOR_COUNT ? kColors[size_t(color)].key : nullptr;
}
TColor AppColorDefault(int color) {
  return color >= 0 && color < APP_COLOR_COUNT ? kColors[size_t(color)].def : kColors[0].def;
}
const char* AppFontKey(int font) {
  return font >= 0 && font < APP_FONT_COUNT ? kFonts[size_t(font)].key : kFonts[0].key;
}

int GetAppStyle() {
  if (g_style != -1) return g_style;
  g_style = eSTYLE_NONE;
  std::string text = Settings().Get("Presentation", "Style", "");
  if (text == "KORU") {
    g_style = eSTYLE_KORU;
  } else if (text == "TAMBOR") {
    g_style = eSTYLE_TAMBOR;
  }
  return g_style;
}

int GetAppMetric(int metric) {
  if (!g_metrics) {
    auto table =
        WithOutOfMemoryError([] { return std::make_unique<std::array<int, eMETRIC_COUNT>>(); });
    for (size_t m = 0; m < kMetrics.size(); ++m) (*table)[m] = kMetrics[m].def;
    ZProf& prof = Settings();
    for (size_t m = 0; m < kMetrics.size(); ++m) {
      (*table)[m] = prof.GetInt("Metrics", kMetrics[m].key, (*table)[m]);
    }
    if (prof.GetBool("Presentation", "AllIn", false)) {
      (*table)[eMETRIC_PANE_OUTIE_BEZEL] = (*table)[eMETRIC_PANE_INNIE_BEZEL];
    }
    g_metrics = std::move(table);
  }
  if (metric < 0 || metric >= eMETRIC_COUNT) metric = eMETRIC_DEFAULT;
  return (*g_metrics)[size_t(metric)];
}

TColor ParseAppColor(std::string_view text) {
  uint8_t rgb[3] = {0, 0, 0};
  int n = 0;
  ForEachItem(text, [&](std::string_view name, std::string_view) {
    rgb[n] = uint8_t(ReadDecimalBits(name));
    return ++n < 3;
  });
  return PALETTERGB(rgb[0], rgb[1], rgb[2]);
}

TColor GetAppColor(int color) {
  if (!g_colors) {
    auto table = WithOutOfMemoryError(
        [] { return std::make_unique<std::array<TColor, APP_COLOR_COUNT>>(); });
    for (size_t c = 0; c < kColors.size(); ++c) (*table)[c] = kColors[c].def;
    ZProf& prof = Settings();
    for (size_t c = 1; c < kColors.size(); ++c) {
      std::string text = prof.Get("Colors", kColors[c].key, "");
      if (!text.empty()) (*table)[c] = ParseAppColor(text);
    }
    g_colors = std::move(table);
  }
  if (color < 0 || color >= APP_COLOR_COUNT) color = FALLBACK_COLOR;
  return (*g_colors)[size_t(color)];
}

const TBrush& GetAppBrush(int color) {
  if (!g_titleBrush) {
    g_titleBrush.emplace(GetAppColor(TITLE_BACKGROUND));
    g_holderBrush.emplace(GetAppColor(HOLDER_BACKGROUND));
  }
  return color == TITLE_BACKGROUND ? *g_titleBrush : *g_holderBrush;
}

TLogFont ParseAppFont(int font, std::string_view text) {
  if (font < 0 || font >= APP_FONT_COUNT) font = Default;
  const FontRow& row = kFonts[size_t(font)];
  TLogFont lf;
  lf.lfFaceName = row.face;
  lf.lfHeight = row.height;
  lf.lfWeight = row.weight;
  lf.lfItalic = row.italic ? 1 : 0;
  ForEachItem(text, [&](std::string_view name, std::string_view value) {
    if (EqualsNoCase(name, "font")) {
      // The face is the item's value, even an empty one: GetAppFont then makes the font
      // with the framework's default face.
      lf.lfFaceName = std::string(value.substr(0, LF_FACESIZE - 1));
    } else if (EqualsNoCase(name, "size")) {
      long h = ReadDecimalClamped(value);
      if (h > kMaxAppFontHeight || h < -kMaxAppFontHeight) {
        std::string msg = "Font size " + std::string(value.substr(0, 32)) + " of \"" + row.key +
                          "\" is out of range; the default size is used";
        reporter(msg.c_str(), "GetAppFont", eREPORT_LOG, "APPSET", __LINE__);
      } else if (h != 0) {
        lf.lfHeight = int(h);
      }
    } else if (EqualsNoCase(name, "bold")) {
      lf.lfWeight = FW_BOLD;
    } else if (EqualsNoCase(name, "italic")) {
      lf.lfItalic = 1;
    }
    return true;
  });
  return lf;
}

TFont* GetAppFont(int font) {
  if (font < 0 || font >= APP_FONT_COUNT) font = Default;
  std::unique_ptr<TFont>& slot = g_fonts[size_t(font)];
  if (slot) return slot.get();
  std::string text = Settings().Get("Presentation", kFonts[size_t(font)].key, "");
  TLogFont lf = ParseAppFont(font, text);
  if (lf.lfFaceName.empty()) lf.lfFaceName = kDefaultFaceName;
  slot = WithOutOfMemoryError([&] {
    return std::make_unique<TFont>(lf.lfFaceName, lf.lfHeight, 0, 0, 0, lf.lfWeight,
                                   lf.lfItalic != 0, false, false, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   uint8_t(DEFAULT_PITCH | FF_DONTCARE));
  });
  return slot.get();
}

void DeleteStatics() {
  ReleaseAppPalette();
  g_colors.reset();
  g_metrics.reset();
  for (auto& f : g_fonts) f.reset();
}

void ResetPresentation() {
  DeleteStatics();
  g_style = -1;
  g_titleBrush.reset();
  g_holderBrush.reset();
  ResetAppPalette();
  ResetAppInfo();
}

}  // namespace quill
