#include "quillui/bars/control_bar.h"

#include <algorithm>
#include <string>

#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/notify_lists.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/menus/popup_menu.h"
#include "quillui/imaging/background.h"
#include "quillui/imaging/frames.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"
#include "quillui/testing/bars.h"

namespace quill {

namespace {

constexpr int kDefaultInterval = 200;
constexpr int kLongestInterval = 10000;

int& TimerInterval() {
  static int interval = 0;  // 0: not read yet
  return interval;
}

}  // namespace

ZControlBar::ZControlBar(TWindow* parent, TTileDirection direction, TColor color, TFont* font,
                         TModule* module)
    : TControlBar(parent, direction, font, module), color_(color) {
  SetCaption("ZControlBar");
  RegisterIdle(this, 1);
}

ZControlBar::~ZControlBar() {
  StopAnimating();
  RegisterIdle(this, 0);
}

void ZControlBar::SetBkgndDib(TDib* dib) { dib_.reset(dib); }

int ZControlBar::GetTimerInterval() {
  int& interval = TimerInterval();
  if (interval == 0) {
    const int read = ZProfile().GetInt("view", "buttoninterval", kDefaultInterval);
    interval = read <= 0 ? kDefaultInterval : std::min(read, kLongestInterval);
  }
  return interval;
}

void ResetControlBarStatics() { TimerInterval() = 0; }

bool ZControlBar::RequestAnimating(ZAnimButtonGadget& button, int start) {
  if (animating_ && animating_ != &button) return false;
  if (!start) {
    StopAnimating();
    return true;
  }
  animating_ = &button;
  animatingGadget_ = &button;
  timer_ = SetTimer(kAnimationTimerId, UINT(GetTimerInterval()));
  // Without a timer nothing would ever end the animation: the button is refused and keeps
  // the bar free for the next one.
  if (timer_ == 0) StopAnimating();
  return timer_ != 0;
}

void ZControlBar::StopAnimating() {
  if (timer_ != 0) KillTimer(timer_);
  timer_ = 0;
  animating_ = nullptr;
  animatingGadget_ = nullptr;
}

void ZControlBar::SetHintText(const char* text) { quill::SetHintText(text); }

void ZControlBar::Insert(TGadget& gadget, TPlacement placement, TGadget* sibling) {
  if (auto* button = dynamic_cast<ZAnimButtonGadget*>(&gadget)) {
    button->SetKeyColor(color_);
    if (!button->IsOK()) {
      const std::string message =
          "Invalid button: " + button->GetFileName() + " (" + button->GetExtraName() + ")";
      reporter(message.c_str(), "Error", eREPORT_BARS, "BARS", kInvalidButtonLine);
      delete button;
      return;
    }
  }
  TControlBar::Insert(gadget, placement, sibling);
}

int ZControlBar::GetWidth() {
  TSize size;
  GetDesiredSize(size);
  return size.cx;
}

int ZControlBar::EstimateMenuHeight(int fontHeight, int items, int separators) {
  return (fontHeight + 2) * items + (fontHeight - 9) * separators + 4;
}

TPoint ZControlBar::PopupMenuPoint(UINT id, const TMenu& menu) const {
  TPoint point;
  GetCursorPos(point);
  if (const TGadget* gadget = GadgetWithId(int(id))) {
    const TRect& b = gadget->GetBounds();
    point = TPoint((b.left + b.right) / 2, b.top);
    ClientToScreen(point);
  }
  TScreenDC dc;
  const int fontHeight = dc.GetTextExtent("fg").cy;
  int items = 0, separators = 0;
  const int count = menu.GetMenuItemCount();
  for (int i = 0; i < count; ++i) {
    if (menu.GetMenuState(UINT(i), MF_BYPOSITION) & MF_SEPARATOR)
      ++separators;
    else
      ++items;
  }
  point.y -= EstimateMenuHeight(fontHeight, items, separators);
  return point;
}

bool ZControlBar::PopupMenuAt(UINT id, TPopupMenu& menu, TWindow& owner) {
  const TPoint at = PopupMenuPoint(id, menu);
  return menu.TrackPopupMenu(TPM_CENTERALIGN, at, 0, owner.GetHandle()) != 0;
}

LRESULT ZControlBar::EvCommand(UINT id, HWND control, UINT notifyCode) {
  TWindow* parent = GetParentO();
  if (!parent || !parent->IsWindow()) return 0;
  return parent->SendMessage(WM_COMMAND, MAKEWPARAM(uint16_t(id), uint16_t(notifyCode)),
                             reinterpret_cast<LPARAM>(control));
}

bool ZControlBar::EvEraseBkgnd(TDC& dc) {
  TPalette* previous = dc.SelectPalette(GetAppPalette(), false);
  dc.RealizePalette();
  const TRect client = GetClientRect();
  if (color_ == TColor::Transparent) {
    TDib* background = nullptr;
    const TColor own = GetBkgndColor();
    if (GetWindowBackgroundDib(background))
      PaintWindowBackground(dc, *this, client);
    else if (dib_)
      TileBlt(dc, client, *dib_);
    else if (own != TColor::None && own != TColor::Transparent)
      dc.FillRect(client, own);
  } else {
    dc.FillRect(client, color_);
  }
  dc.SelectPalette(previous, false);
  return true;
}

void ZControlBar::EvLButtonDblClk(UINT, const TPoint&) {}

void ZControlBar::EvSetFocus(HWND lostFocus) {
  TControlBar::EvSetFocus(lostFocus);
  if (TWindow* frame = GetAppFrameTWindow(); frame && frame != this && frame->IsWindow())
    frame->SetFocus();
}

void ZControlBar::EvTimer(UINT timerId) {
  if (animating_ && timerId == timer_)
    animating_->EvTimer(timerId);
  else
    TControlBar::EvTimer(timerId);
}

void ZControlBar::EvWindowPosChanging(WINDOWPOS& pos) {
  TControlBar::EvWindowPosChanging(pos);
  const bool movesOrSizes = (pos.flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE);
  if (!movesOrSizes || color_ != TColor::Transparent) return;
  for (TGadget* g = FirstGadget(); g; g = g->NextGadget()) {
    auto* button = dynamic_cast<ZAnimButtonGadget*>(g);
    if (!button) break;
    button->Moved();
  }
}

void ZControlBar::Removed(TGadget& gadget) {
  if (animatingGadget_ == &gadget) StopAnimating();
  TControlBar::Removed(gadget);
}

}  // namespace quill
