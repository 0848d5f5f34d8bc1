// The gadgets a fly menu stacks: one entry gadget per text entry (caption, check mark, icon,
// submenu arrow, frame lines) and a separator gadget between groups of entries.
#pragma once

#include <memory>

#include "quillui/framework/base/color.h"
#include "quillui/framework/gadgets/button_gadget.h"
#include "quillui/framework/gadgets/gadget.h"

namespace quill {

class TDC;
class ZFlyMenu;
class ZMenuEntry;

// A command button for one entry: no glyph, no border, no margins, enabled and up, its id the
// entry's command. Its size is what the menu gives it; it paints itself whole.
class ZMenuEntryGadget : public TButtonGadget {
 public:
  // The entry stays the table's, unless it is handed over as owned (an entry no table holds);
  // index is the entry's 1-based place in the menu.
  ZMenuEntryGadget(ZMenuEntry* entry, COLORREF hilight, const TSize& size, int index,
                   std::unique_ptr<ZMenuEntry> owned = nullptr);
  ~ZMenuEntryGadget() override;

  // The entry, or null once the menu's table no longer holds it (deleted while the menu is
  // shown: the gadget waits for the next display to go).
  ZMenuEntry* GetEntry() const;
  int GetIndex() const { return index_; }
  bool IsHighlighted() const { return highlighted_; }
  // Sets the highlight; with repaint the whole gadget is painted again.
  void SetHighlighted(bool on, bool repaint = true);

  void GetDesiredSize(TSize& size) override;
  void BuildCelArray() override {}
  void Paint(TDC& dc) override;

  // Mouse behaviour inside a menu chain: highlight, submenu timer, closing submenus.
  void MouseEnter(UINT modKeys, const TPoint& point) override;
  void MouseLeave(UINT modKeys, const TPoint& point) override;
  void Activate(const TPoint& point) override;

 private:
  ZFlyMenu* Menu() const;

  ZMenuEntry* entry_;
  std::unique_ptr<ZMenuEntry> owned_;
  bool highlighted_ = false;
  COLORREF hilight_;
  int index_;
};

// A 9-pixel band with a black line through its middle, the upper part in the colour of the
// entry above and the lower part in that of the entry below.
class ZMenuSeparatorGadget : public TGadget {
 public:
  static constexpr int kHeight = 9;

  ZMenuSeparatorGadget(const TSize& size, int index);

  void SetUpperColor(COLORREF c) { upper_ = c; }
  void SetLowerColor(COLORREF c) { lower_ = c; }
  COLORREF GetUpperColor() const { return upper_; }
  COLORREF GetLowerColor() const { return lower_; }
  int GetIndex() const { return index_; }

  void GetDesiredSize(TSize& size) override;
  void Paint(TDC& dc) override;

 private:
  COLORREF upper_;
  COLORREF lower_;
  int index_;
};

// Draws image over the colour through mask (white: image, black: colour) at (x, y), with the
// application palette. Used for the check mark, the arrow and entry icons.
class TDib;
void DrawMenuImage(TDC& dc, int x, int y, const TDib& image, const TDib* mask, TColor background);

}  // namespace quill
