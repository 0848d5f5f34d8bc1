#include "quillui/framework/gdi/font.h"

#include "quillui/framework/gdi/font_engine.h"

namespace quill {

namespace {

// The classic record holds the name in a fixed array: anything past the array or past an
// embedded terminator never reached the font mapper, so it does not reach ours either.
std::string ClampFaceName(std::string_view name) {
  std::string_view kept = name.substr(0, name.find('\0'));
  if (kept.size() > LF_FACESIZE - 1) kept = kept.substr(0, LF_FACESIZE - 1);
  return std::string(kept);
}

// a * b / c rounded to nearest, halves away from zero; -1 on a zero divisor or overflow, as
// the classic helper answers.
int MulDivRounded(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t num = int64_t(a) * b;
  const int64_t den = c;
  const int64_t half = (den < 0 ? -den : den) / 2;
  const bool negative = (num < 0) != (den < 0);
  const int64_t q = ((num < 0 ? -num : num) + half) / (den < 0 ? -den : den);
  if (q > INT32_MAX) return -1;
  return int(negative ? -q : q);
}

}  // namespace

TFont::TFont(std::string_view faceName, int height, int width, int escapement, int orientation,
             int weight, bool italic, bool underline, bool strikeOut, uint8_t charSet,
             uint8_t outputPrecision, uint8_t clipPrecision, uint8_t quality,
             uint8_t pitchAndFamily) {
  logFont_.lfHeight = height;
  logFont_.lfWidth = width;
  logFont_.lfEscapement = escapement;
  logFont_.lfOrientation = orientation;
  logFont_.lfWeight = weight;
  logFont_.lfItalic = italic ? 1 : 0;
  logFont_.lfUnderline = underline ? 1 : 0;
  logFont_.lfStrikeOut = strikeOut ? 1 : 0;
  logFont_.lfCharSet = charSet;
  logFont_.lfOutPrecision = outputPrecision;
  logFont_.lfClipPrecision = clipPrecision;
  logFont_.lfQuality = quality;
  logFont_.lfPitchAndFamily = pitchAndFamily;
  logFont_.lfFaceName = ClampFaceName(faceName);
}

TFont::TFont(const TLogFont& logFont) : logFont_(logFont) {
  logFont_.lfFaceName = ClampFaceName(logFont.lfFaceName);
}

TTextMetric TFont::GetTextMetrics() const { return GetFontTextMetrics(*this); }

int TFont::GetHeight() const { return GetFontTextMetrics(*this).tmHeight; }

TSize TFont::GetTextExtent(std::string_view text) const {
  return quill::GetTextExtent(*this, text);
}

TGadgetWindowFont::TGadgetWindowFont(int pointSize, bool bold, bool italic)
    : TFont("MS Sans Serif", -MulDivRounded(pointSize, 96, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
            italic),
      pointSize_(pointSize) {}

}  // namespace quill
