// A container window that paints a background picture with a soft drop shadow under each
// visible child, and the child window that tells its parent before and after it moves so the
// old and the new shadow are repainted.
#pragma once

#include <memory>
#include <vector>

#include "quillui/framework/window/window.h"
#include "quillui/imaging/shadow_paint.h"

namespace quill {

class TDib;
class TPalette;

class ZShadowChildrenWindow : public TWindow {
 public:
  ZShadowChildrenWindow(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);
  ~ZShadowChildrenWindow() override;

  // For count > 0 the shades (percent per level) become a copy of shades and the window is
  // repainted; otherwise nothing changes.
  void SetShades(const unsigned char* shades, int count);
  // The picture behind the children, kept at the client size; palette null makes one from the
  // picture's colours. A file that cannot be read leaves the window as it was.
  void SetBackground(const char* fileName, TPalette* palette = nullptr);
  void SetBackground(const TDib& dib, TPalette* palette = nullptr);
  // Rescales the picture to the client size (only once the window exists).
  void MakeBmp();
  // Paints the picture and the children's shadows that reach rect.
  void ShadowChildren(TDC& dc, TRect& rect);

  const ZShadowSpec& GetShadowSpec() const { return spec_; }
  void SetShadowOffset(TPoint offset) { spec_.offset = offset; }
  void SetDivisor(int divisor) { spec_.divisor = divisor; }
  // The levels a paint draws, in drawing order.
  std::vector<int> ShadowLevels() const;
  const TDib* GetBackground() const { return background_.get(); }
  TPalette* GetPalette() const { return palette_.get(); }
  // The rectangles of the visible children, as shadows are cast from them.
  std::vector<TRect> ChildRects() const;

  void Paint(TDC& dc, bool erase, TRect& rect) override;
  void EvSize(UINT sizeType, const TSize& size) override;
  void EvParentNotify(UINT event, UINT childId, HWND child) override;

 private:
  std::unique_ptr<TDib> background_;
  std::unique_ptr<TPalette> palette_;
  ZShadowSpec spec_;
};

class ZShadowedWindow : public TWindow {
 public:
  ZShadowedWindow(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);

  void EvWindowPosChanging(WINDOWPOS& pos) override;
  void EvWindowPosChanged(const WINDOWPOS& pos) override;

 private:
  void NotifyParent(WPARAM wp);
};

}  // namespace quill
