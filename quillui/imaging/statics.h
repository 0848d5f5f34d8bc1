// The library's static text controls: a label painted in an application font over an
// application colour or a tiled bitmap, a page title line with a drop shadow and an optional
// title bitmap, and a small label.
#pragma once

#include <memory>
#include <string>

#include "quillui/app/display_mode.h"
#include "quillui/app/presentation.h"
#include "quillui/framework/dialogs/controls.h"

namespace quill {

class TBitmap;
class TDib;

class ZStatic : public TControl {
 public:
  ZStatic(TWindow* parent, int id, const char* caption, unsigned long style, int x, int y, int w,
          int h, TModule* module = nullptr);
  ~ZStatic() override;

  // The colour slot painted behind the text; the window's background colour follows it.
  void SetAppBackground(APP_COLORS color);
  // The font slot; used from the next paint (and at set-up).
  void SetAppFont(APP_FONTS font);
  APP_COLORS GetAppBackgroundSlot() const { return m_eColor; }
  APP_FONTS GetAppFontSlot() const { return m_eFont; }
  // Sizes the control (its creation width and height) to its caption in its font.
  void ShrinkToText();
  // A picture tiled behind the text, owned from now on (null removes it).
  void SetBkgndDib(TDib* dib);
  // The picture of that name from the "buttons" folder; a name not found changes nothing.
  void SetBkgndDib(const char* name);
  const TDib* GetBkgndDib() const { return m_pDib.get(); }
  void SetRaised(bool raised) { m_bRaised = raised ? 1 : 0; }

  // The background colour and brush a control colour query answers: with a picture,
  // transparent mode and the null brush; otherwise the slot's colour and shared brush.
  TBrush EvCtlColor(TDC& dc);
  // The shadow colour under a raised picture for background c: each component / 4 * 3.
  static TColor ShadowColor(TColor c);

  void SetupWindow() override;
  bool EvEraseBkgnd(TDC& dc) override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  APP_COLORS m_eColor = HOLDER_BACKGROUND;
  APP_FONTS m_eFont = Default;
  std::unique_ptr<TDib> m_pDib;
  int m_bRaised = 0;
};

class ZTitleStatic : public ZStatic {
 public:
  ZTitleStatic(TWindow* parent, int id, const char* caption, unsigned long style, int x, int y,
               int w, int h, TModule* module = nullptr);
  ~ZTitleStatic() override;

  // A non-empty "titletext" of section becomes the caption.
  void setSection(const char* section);
  // Title font and normal bitmap for the tableau; big title font and the full-screen bitmap
  // (or the normal one) for full screen. With a layout parent the height follows the bitmap.
  void setDisplayMode(DISPLAY_MODE mode);
  // Forgets the override bitmap, deletes the normal and full-screen bitmaps.
  void killBitmap();

  // Filled by the code that uses the class. The override bitmap stays the caller's; the
  // others become the control's. Setting the normal bitmap makes it current when none is.
  void SetOverrideBitmap(TBitmap* bitmap) { m_pOverride = bitmap; }
  void SetNormalBitmap(std::unique_ptr<TBitmap> bitmap);
  void SetFullScreenBitmap(std::unique_ptr<TBitmap> bitmap);
  const TBitmap* GetCurrentBitmap() const { return m_pCurrent; }

  bool EvEraseBkgnd(TDC& dc) override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;

 private:
  TBitmap* m_pOverride = nullptr;
  std::unique_ptr<TBitmap> m_pNormal;
  std::unique_ptr<TBitmap> m_pFullScreen;
  TBitmap* m_pCurrent = nullptr;
};

class ZLabelStatic : public ZStatic {
 public:
  ZLabelStatic(TWindow* parent, int id, const char* caption, unsigned long style, int x, int y,
               int w, int h, TModule* module = nullptr);
};

// Where a static finds a picture by name: the bitmap manager's search in folder dir.
std::unique_ptr<TDib> LoadStaticBitmap(const char* name, const char* dir);

}  // namespace quill
