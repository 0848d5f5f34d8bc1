// The registry of application-wide windows: the host's main frame (and the tableau inside
// it), the open fly menu, and the hint line and tool tips that the frame owns.
#pragma once

#include <string>

#include "quillui/framework/base/geometry.h"
#include "quillui/framework/base/messages.h"

namespace quill {

class TWindow;
class ZFlyMenu;
class ZTableau;

// What the library reads of the host's main frame. The host's frame class derives from its
// window class and from this, and answers itself as the window.
class ZVexFrame {
 public:
  virtual ~ZVexFrame() = default;

  virtual TWindow& GetFrameTWindow() = 0;

  // The tableau in the frame's client area, null while there is none, kept both as itself
  // and as a window (the library reads either). The one-argument form takes the tableau
  // object itself where its class is known.
  void SetTableau(ZTableau* tableau, TWindow* asWindow) {
    m_pTableau = tableau;
    m_pTableauWindow = asWindow;
  }
  template <class Tableau>
  void SetTableau(Tableau* tableau) {
    SetTableau(tableau, tableau);
  }
  ZTableau* GetTableau() const { return m_pTableau; }
  TWindow* GetTableauWindow() const { return m_pTableauWindow; }

  bool m_bSuppressBacktrack = false;  // read by the tableau before it records a backtrack
  bool m_bTracking = false;           // read by the animated buttons

 private:
  ZTableau* m_pTableau = nullptr;
  TWindow* m_pTableauWindow = nullptr;
};

// A tool tip as the frame's tool-tip control registers it: the window and id it belongs to,
// the area in that window's client coordinates, and the text.
struct TToolInfo {
  HWND window = nullptr;
  UINT id = 0;
  TRect rect;
  std::string text;
};

void SetAppFrame(ZVexFrame* frame);
ZVexFrame* GetAppFrame();
// Null when no frame is set.
TWindow* GetAppFrameTWindow();
// Null when no frame is set or the frame has no tableau.
TWindow* GetTableauTWindow();

void SetActiveFlyMenu(ZFlyMenu* menu);
ZFlyMenu* GetActiveFlyMenu();

// Sent to the frame window (WmuSetHintText and the four tool-tip messages, wParam 0, lParam
// the text or record); nothing happens while no frame is set.
void SetHintText(const char* text);
void SetToolTip(TToolInfo* info);
void UpdateToolTipRect(TToolInfo* info);
void UpdateToolTipText(TToolInfo* info);
void RemoveToolTip(TToolInfo* info);

// Centres a window's creation position over its parent's window rectangle (rounding towards
// zero) and moves it there if it already exists. No parent: nothing happens.
void CenterPopupWindowOverParent(TWindow& window);

}  // namespace quill
