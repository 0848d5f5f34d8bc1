// ZTitleBar: the strip across the top of a decorated pane. It shows the pane's title in the
// active or inactive colours, an icon window that opens the pane's fly menu, and a small bar
// with the full-screen/small-screen and close buttons. One title bar of the application is
// the active one; a double click toggles full screen; a pop-up pane's title bar drags its
// pane instead and never takes the activation record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "quillui/app/display_mode.h"
#include "quillui/app/presentation.h"
#include "quillui/framework/base/color.h"
#include "quillui/framework/layout/layout_window.h"
#include "quillui/menus/fly_menu_links.h"
#include "quillui/navigation/pane_type.h"

namespace quill {

class ZControlBar;
class ZFlyMenu;
class ZIcon;
class ZTitleBarIconWnd;

// Title bar flags.
inline constexpr uint16_t TBF_MINMAX = 1;  // show the full-screen/small-screen button
inline constexpr uint16_t TBF_CLOSE = 2;   // show the close button
inline constexpr uint16_t TBF_MENU = 4;    // the icon opens the fly menu
inline constexpr uint16_t TBF_SHADOW = 8;  // draw the strip under the bar

class ZTitleBar : public TLayoutWindow, public ZFlyMenuTitleBar {
 public:
  // Commands of the bar's buttons and of a double click.
  static constexpr UINT kCmdMediaFullScreen = 7432;
  static constexpr UINT kCmdPathFullScreen = 7532;
  static constexpr UINT kCmdArticleFullScreen = 7632;
  static constexpr UINT kCmdTableau = 7701;
  static constexpr UINT kCmdClose = 7565;
  // The bitmaps of the buttons.
  static constexpr const char* kFullBitmap = "full.bmp";
  static constexpr const char* kSmallBitmap = "small.bmp";
  static constexpr const char* kCloseBitmap = "close.bmp";
  // The text format always added to the one given to Initialize: single line, centred
  // vertically, no prefix characters.
  static constexpr unsigned kTextFormat = 0x824;

  // Drag states.
  enum eDRAG : int { eDRAG_NONE = 0, eDRAG_IDLE = 1, eDRAG_PRESSED = 2, eDRAG_DRAGGING = 3 };

  // The bar is as wide as the parent and as high as the settings' height plus the strip.
  ZTitleBar(TWindow* parent, PANE_TYPE paneType, TModule* module = nullptr);
  ~ZTitleBar() override;

  // Sets the title (a null one keeps the title), the icon (null: no icon window, and the icon
  // no longer opens the menu), the flags and the extra text format; makes the icon window and
  // the button bar as the flags ask and sizes the bar for its strip.
  void Initialize(const ZIcon* icon, const char* title, uint16_t flags, uint16_t textFormat);
  // Borrows the pane's menu; a menu is told its title bar and lets the icon open it. Null
  // detaches the menu and leaves the flags alone.
  void AssociateMenu(ZFlyMenu* menu);
  // Shows the small-screen button in full screen and the full-screen button otherwise.
  void ManageMinMaxBtn();
  // The icon window's idle action; false without an icon window.
  bool IdleAction(long idleCount) override;
  // The window rectangle between the icon window and the button bar (screen coordinates).
  void CalcDragRect();
  // Posts the full-screen or the back-to-the-tableau command to the bar itself.
  void ProcessDblClk();
  // Makes this bar the active one (state: how the menu opens from the icon; 0 keeps it
  // closed). Answers 1.
  LRESULT WmuHandleActivation(WPARAM state, LPARAM unused);
  void SetActive(bool active, eICONSTATE state, bool redraw);
  // Activates the title bar that was active before the current one, if there is one.
  static void RestorePrevActiveTitleBar();
  static ZTitleBar* GetActiveTitleBar();
  static ZTitleBar* GetPrevActiveTitleBar();

  // None of the setters repaints.
  void setDisplayMode(DISPLAY_MODE) {}
  void setAppFont(APP_FONTS font) { font_ = font; }
  // A non-empty "titletext" of the section becomes the title.
  void setSection(const char* section);
  void setTitle(const char* title) { title_ = title ? title : ""; }
  void setBMenuWasCapturing(int was) override { menuWasCapturing_ = was != 0; }

  // The whole paint: background, strip, outline and title, through a bitmap of the bar's size.
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  // Where the title is drawn: the client area without the strip, less the icon window at the
  // left and the button bar at the right.
  TRect CalcTextRect() const;
  // The height the pane lays the bar out at: the settings' height plus the strip.
  int GetBarHeight() const;

  const std::string& GetTitle() const { return title_; }
  uint16_t GetFlags() const { return flags_; }
  uint16_t GetTextFormat() const { return textFormat_; }
  int GetStripHeight() const { return stripHeight_; }
  COLORREF GetBkgndColor() const { return bkgnd_; }
  COLORREF GetTextColor() const { return text_; }
  APP_FONTS GetAppFontSlot() const { return font_; }
  DISPLAY_MODE GetDisplayMode() const { return displayMode_; }
  PANE_TYPE GetPaneType() const { return paneType_; }
  ZTitleBarIconWnd* GetIconWnd() const { return iconWnd_; }
  ZControlBar* GetButtonBar() const { return buttonBar_; }
  ZFlyMenu* GetFlyMenu() const { return menu_; }
  eDRAG GetDragState() const { return drag_; }
  const TRect& GetDragRect() const { return dragRect_; }
  bool GetMenuWasCapturing() const { return menuWasCapturing_; }
  // The full-screen command of the pane type.
  UINT FullScreenCommand() const;

  // What the fly menu asks of its title bar.
  HWND GetTitleBarHandle() const override { return GetHandle(); }
  HWND GetIconWindowHandle() const override;
  eICONSTATE GetIconState() const override;
  void FlyMenuGone(ZFlyMenu* menu) override;

  const TResponseTable& GetResponseTable() const override;

 protected:
  void SetupWindow() override;
  bool EvEraseBkgnd(TDC& dc) override;
  void EvSize(UINT sizeType, const TSize& size) override;
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
  void EvLButtonUp(UINT modKeys, const TPoint& point) override;
  void EvLButtonDblClk(UINT modKeys, const TPoint& point) override;
  void EvMouseMove(UINT modKeys, const TPoint& point) override;

 private:
  // Ties the button bar's right edge near the bar's and centres it on the colour, at the
  // size its buttons want.
  void PlaceButtonBar();
  // Replaces the button of oldId (or, without one, the bar's first place) by a new button.
  void SwapButton(const UINT* oldIds, int count, const char* bitmap, UINT newId);
  // Sends the activation message's work to the parent: the window with the focus.
  void FocusParent();
  TWindow* Parent() const { return GetParentO(); }

  ZTitleBarIconWnd* iconWnd_ = nullptr;
  DISPLAY_MODE displayMode_ = eTABLEAU_MODE;
  APP_FONTS font_ = Title;
  std::string title_;
  uint16_t textFormat_ = 0;
  COLORREF bkgnd_;
  int stripHeight_;
  COLORREF text_;
  ZControlBar* buttonBar_ = nullptr;
  const ZIcon* icon_ = nullptr;
  PANE_TYPE paneType_;
  uint16_t flags_ = TBF_SHADOW;
  ZFlyMenu* menu_ = nullptr;
  eDRAG drag_;
  TRect dragRect_;
  TPoint lastPoint_{-1, -1};
  bool menuWasCapturing_ = false;
  std::optional<uint64_t> lastPressMs_;
  bool dblClk_ = false;
};

}  // namespace quill
