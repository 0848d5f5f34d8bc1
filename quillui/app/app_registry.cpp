#include "quillui/app/app_registry.h"

#include "quillui/app/user_messages.h"
#include "quillui/framework/window/window.h"

namespace quill {

namespace {

ZVexFrame* g_frame = nullptr;
ZFlyMenu* g_activeFlyMenu = nullptr;

void SendToFrame(UINT msg, const void* lParam) {
  TWindow* frame = GetAppFrameTWindow();
  if (!frame) return;
  frame->SendMessage(msg, 0, reinterpret_cast<LPARAM>(lParam));
}

}  // namespace

void SetAppFrame(ZVexFrame* frame) { g_frame = frame; }
ZVexFrame* GetAppFrame() { return g_frame; }

TWindow* GetAppFrameTWindow() { return g_frame ? &g_frame->GetFrameTWindow() : nullptr; }

TWindow* GetTableauTWindow() { return g_frame ? g_frame->GetTableauWindow() : nullptr; }

void SetActiveFlyMenu(ZFlyMenu* menu) { g_activeFlyMenu = menu; }
ZFlyMenu* GetActiveFlyMenu() { return g_activeFlyMenu; }

void SetHintText(const char* text) { SendToFrame(WmuSetHintText, text); }
void SetToolTip(TToolInfo* info) { SendToFrame(WmuSetToolTip, info); }
void UpdateToolTipRect(TToolInfo* info) { SendToFrame(WmuUpdateToolTipRect, info); }
void UpdateToolTipText(TToolInfo* info) { SendToFrame(WmuUpdateToolTipText, info); }
void RemoveToolTip(TToolInfo* info) { SendToFrame(WmuRemoveToolTip, info); }

void CenterPopupWindowOverParent(TWindow& window) {
  TWindow* parent = window.GetParentO();
  if (!parent) return;
  TRect pr = parent->GetWindowRect();
  // C++ division truncates towards zero, as the placement rule wants.
  int left = pr.left + (pr.Width() - window.Attr.W) / 2;
  int top = pr.top + (pr.Height() - window.Attr.H) / 2;
  window.Attr.X = left;
  window.Attr.Y = top;
  if (window.IsWindow()) {
    window.SetWindowPos(nullptr, left, top, window.Attr.W, window.Attr.H,
                        SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

void ResetAppRegistry() {
  g_frame = nullptr;
  g_activeFlyMenu = nullptr;
}

}  // namespace quill
