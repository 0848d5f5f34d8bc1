// TTextGadget: a line of text on a gadget window (status fields, labels), sized by a number of
// average characters and aligned left, centred or right inside its border.
#pragma once

#include <memory>
#include <string>

#include "quillui/framework/gadgets/gadget.h"
#include "quillui/framework/gdi/font.h"

namespace quill {

class TTextGadget : public TGadget {
 public:
  enum TAlign { Left, Center, Right };

  // Takes ownership of font; without one the gadget uses its window's font. The width is
  // numChars average characters (not shrink-wrapped); the height is the font's.
  TTextGadget(int id = 0, TBorderStyle borderStyle = Recessed, TAlign align = Left,
              unsigned numChars = 10, const char* text = nullptr, TFont* font = nullptr);
  ~TTextGadget() override;

  // The text, or null when there is none.
  const char* GetText() const { return hasText_ ? text_.c_str() : nullptr; }
  // Sets (null clears) the text and repaints; a shrink-wrapped width lays the window out again.
  void SetText(const char* text);
  TAlign GetAlign() const { return align_; }
  void SetAlign(TAlign align);
  unsigned GetNumChars() const { return numChars_; }
  void SetNumChars(unsigned numChars);
  // The gadget's own font, else the window's; null when it has neither.
  const TFont* GetFont() const;

  // Borders and margins plus the text's extent (shrink-wrapped width) or numChars average
  // characters, by the font's cell height.
  void GetDesiredSize(TSize& size) override;
  // Border, then the inner area in the face colour with the text over it, clipped to it.
  void Paint(TDC& dc) override;

 protected:
  // Where the text starts inside the inner rectangle for the alignment: right and centred
  // text move right only while it is narrower than the rectangle.
  TPoint TextOrigin(const TRect& inner) const;

 private:
  std::string text_;
  bool hasText_ = false;
  TAlign align_;
  unsigned numChars_;
  std::unique_ptr<TFont> font_;
};

}  // namespace quill
