// The application-wide presentation: style, layout metrics, colours, the two shared brushes
// and the nine fonts, each read once from the settings file with built-in defaults.
#pragma once

#include <string_view>

#include "quillui/framework/base/color.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/framework/gdi/gdi_objects.h"

namespace quill {

enum APP_METRICS : int {
  eMETRIC_DEFAULT = 0,
  eMETRIC_TABLEAU_MARGIN_LEFT,
  eMETRIC_TABLEAU_MARGIN_TOP,
  eMETRIC_TABLEAU_MARGIN_RIGHT,
  eMETRIC_TABLEAU_MARGIN_BOTTOM,
  eMETRIC_TABLEAU_MEDIA_PATH_GAP,
  eMETRIC_TABLEAU_ARTICLE_GAP,
  eMETRIC_PANE_BEZEL,
  eMETRIC_PANE_MARGIN_LEFT,
  eMETRIC_PANE_MARGIN_TOP,
  eMETRIC_PANE_MARGIN_RIGHT,
  eMETRIC_PANE_MARGIN_BOTTOM,
  eMETRIC_PANE_MARGIN_BUTTONBAR,
  eMETRIC_PANE_OUTIE_BEZEL,
  eMETRIC_PANE_INNIE_BEZEL,
  eMETRIC_PANE_TO_PANE_WIDTH,
  eMETRIC_PANE_TO_PANE_HEIGHT,
  eMETRIC_PICTURE_BORDER,
  eMETRIC_COUNT
};

enum APP_COLORS : int {
  FALLBACK_COLOR = 0,
  STATUSBAR_FACE,
  STATUSBAR_HIGHLIGHT,
  STATUSBAR_SHADOW,
  HINTTEXT_BACKGROUND,
  TABLEAU_BACKGROUND,
  PANE_GLINT,
  PANE_HIGHLIGHT_LEFT,
  PANE_HIGHLIGHT_TOP,
  PANE_SHADOW_RIGHT,
  PANE_SHADOW_BOTTOM,
  HOLDER_BACKGROUND,
  TITLE_BACKGROUND,
  OUTIE_HIGHLIGHT1,
  OUTIE_HIGHLIGHT2,
  OUTIE_SHADOW1,
  OUTIE_SHADOW2,
  INNIE_LEFT,
  INNIE_TOP,
  INNIE_RIGHT,
  INNIE_BOTTOM,
  TITLE_TEXT,
  APP_COLOR_COUNT
};

enum APP_FONTS : int {
  Default = 0,
  Title,
  BigTitle,
  Label,
  ListBox,
  Edit,
  Vantis,
  VantisBig,
  ScriptDescr,
  APP_FONT_COUNT
};

// Style values of "Presentation"/"Style".
inline constexpr int eSTYLE_NONE = 0;
inline constexpr int eSTYLE_KORU = 1;
inline constexpr int eSTYLE_TAMBOR = 2;

// Font heights beyond this many pixels (either sign) are refused as a configuration mistake:
// a glyph cache at such sizes would cost memory for nothing any screen can show.
inline constexpr int kMaxAppFontHeight = 512;

int GetAppStyle();
// Pixels; an index outside the table answers the DEFAULT entry.
int GetAppMetric(int metric);
// A palette-relative colour; an index outside the table answers FALLBACK_COLOR.
TColor GetAppColor(int color);
// The TITLE_BACKGROUND brush for that index, the HOLDER_BACKGROUND brush for any other.
const TBrush& GetAppBrush(int color);
// Owned by the library until DeleteStatics; an index outside the table answers Default.
TFont* GetAppFont(int font);

// Releases the palette, the colour and metric tables and every font; the next reader of a
// table reads the settings again. The style, brushes, title and the rest stay.
void DeleteStatics();

// The settings keys and defaults, for whoever needs to name them.
const char* AppMetricKey(int metric);
int AppMetricDefault(int metric);
const char* AppColorKey(int color);  // null for FALLBACK_COLOR
TColor AppColorDefault(int color);
const char* AppFontKey(int font);

// The colour a "Colors" text describes: the names of its first three items, read as decimal
// numbers (text that is not a number reads as 0) and cut to their low 8 bits, as red, green
// and blue. Any text is accepted.
TColor ParseAppColor(std::string_view text);
// The font a "Presentation" text describes on top of the defaults of slot font.
TLogFont ParseAppFont(int font, std::string_view text);

}  // namespace quill
