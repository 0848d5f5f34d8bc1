#include "quillui/menus/fly_menu.h"

#include <algorithm>
#include <memory>
#include <string>

#include "quillui/app/app_palette.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/notify_lists.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/framework/window/window_dc.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/menus/alternate_focus_wnd.h"
#include "quillui/menus/fly_menu_links.h"
#include "quillui/menus/fly_menu_settings.h"
#include "quillui/menus/menu_gadgets.h"
#include "quillui/profile/icons.h"
#include "quillui/sound/play_sound.h"

namespace quill {

ZFlyMenu::ZFlyMenu(TWindow* parent, TWindow* msgWnd, eMENU_TYPE type, eDELETE_METHOD method,
                   int ownedByMenu)
    : TGadgetWindow(parent, Vertical, new TGadgetWindowFont(10, false, false)),
      hilight_(FlyMenuSettings().m_clrMenuHilight),
      ownedFlag_(ownedByMenu),
      lastEntryColor_(FlyMenuSettings().m_clrMenuBkgnd),
      type_(type),
      deleteMethod_(method) {
  Attr.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  SetShrinkWrap(true, true);
  if (msgWnd) {
    msgWnd_ = msgWnd->GetHandle();
    if (!msgWnd_) msgWndPending_ = msgWnd;
  }
  ownEntries_ = new ZMenuEntries(ownedFlag_);
  entries_ = &ownEntries_;
  TWindow* focusParent = GetAppFrameTWindow();
  focusWnd_ = new ZAlternateFocusWnd(focusParent ? focusParent : parent, this);
  RegisterIdle(this, 1);
}

ZFlyMenu::~ZFlyMenu() {
  RegisterIdle(this, 0);
  if (IsWindow()) KillTimer(SUBMENU_TIMER_ID);
  DeleteGadgets();  // they point into the table
  DeleteOwnedTables();
  DeleteSubMenu();
  // Menus, submenus and focus windows all live under the menu's parent, which deletes what is
  // left of them with itself, newest first: whichever goes first, the others forget it.
  if (ZAlternateFocusWnd* focus = focusWnd_) {
    focusWnd_ = nullptr;
    focus->DetachMenu();
    delete focus;
  }
  if (parentMenu_ && parentMenu_->subMenu_ == this) parentMenu_->subMenu_ = nullptr;
  if (titleBar_) titleBar_->FlyMenuGone(this);
  if (GetActiveFlyMenu() == this) SetActiveFlyMenu(nullptr);
}

TWindow* ZFlyMenu::GetMsgWnd() const {
  if (!msgWnd_ && msgWndPending_ && msgWndPending_->IsWindow()) {
    msgWnd_ = msgWndPending_->GetHandle();
    msgWndPending_ = nullptr;
  }
  return msgWnd_ ? GetWindowPtr(msgWnd_) : nullptr;
}

// --- Entries ---------------------------------------------------------------------------------

#define QUILL_FORWARD(fail, call)        \
  do {                                   \
    ZMenuEntries* table = GetEntries();  \
    return table ? table->call : (fail); \
  } while (0)

int ZFlyMenu::InsertEntry(uint32_t item, uint32_t flags, ZMenuEntry* entry) {
  QUILL_FORWARD(0, Insert(item, flags, entry));
}
int ZFlyMenu::InsertEntry(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text,
                          ZIcon* icon) {
  QUILL_FORWARD(0, Insert(item, flags, idCmd, text, icon));
}
int ZFlyMenu::InsertEntry(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text,
                          ZIcon* icon, COLORREF color) {
  QUILL_FORWARD(0, Insert(item, flags, idCmd, text, icon, color));
}
int ZFlyMenu::Append(ZMenuEntry* entry) { QUILL_FORWARD(0, Append(entry)); }
int ZFlyMenu::Append(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon) {
  QUILL_FORWARD(0, Append(flags, idCmd, text, icon));
}
int ZFlyMenu::Append(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
                     COLORREF color) {
  QUILL_FORWARD(0, Append(flags, idCmd, text, icon, color));
}
int ZFlyMenu::Delete(uint32_t item, uint32_t flags) { QUILL_FORWARD(0, Delete(item, flags)); }
int ZFlyMenu::Replace(uint32_t item, uint32_t flags, ZMenuEntry* entry) {
  QUILL_FORWARD(0, Replace(item, flags, entry));
}
int ZFlyMenu::Replace(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text,
                      ZIcon* icon) {
  QUILL_FORWARD(0, Replace(item, flags, idCmd, text, icon));
}
int ZFlyMenu::Replace(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
                      COLORREF color) {
  QUILL_FORWARD(0, Replace(item, flags, idCmd, text, icon, color));
}
int ZFlyMenu::Change(uint32_t item, uint32_t flags, uint32_t newIdCmd, const char* text) {
  QUILL_FORWARD(0, Change(item, flags, newIdCmd, text));
}
int ZFlyMenu::SetColor(uint32_t first, uint32_t last, uint32_t flags, COLORREF color) {
  QUILL_FORWARD(0, SetColor(first, last, flags, color));
}
uint32_t ZFlyMenu::GetPosition(uint32_t idCmd) {
  QUILL_FORWARD(kMenuEntryNone, GetPosition(idCmd));
}
uint32_t ZFlyMenu::GetIdCmd(uint32_t position) {
  QUILL_FORWARD(kMenuEntryNone, GetIdCmd(position));
}
uint32_t ZFlyMenu::SetCheckMark(uint32_t item, uint32_t flags) {
  QUILL_FORWARD(kMenuEntryNone, SetCheckMark(item, flags));
}
uint32_t ZFlyMenu::GetCount() { QUILL_FORWARD(0u, GetCount()); }
int ZFlyMenu::GetCheckMarkSpacing() { QUILL_FORWARD(0, GetCheckMarkSpacing()); }
int ZFlyMenu::GetIconSpacing() { QUILL_FORWARD(0, GetIconSpacing()); }
ZMenuEntry* ZFlyMenu::GetEntry(uint32_t item, uint32_t flags) {
  QUILL_FORWARD(nullptr, Get(item, flags));
}

#undef QUILL_FORWARD

void ZFlyMenu::SetCheckMarkSpacing(int on) {
  if (ZMenuEntries* t = GetEntries()) t->SetCheckMarkSpacing(on);
}
void ZFlyMenu::SetIconSpacing(int on) {
  if (ZMenuEntries* t = GetEntries()) t->SetIconSpacing(on);
}
void ZFlyMenu::SetOwnEntries(bool owned) {
  if (ZMenuEntries* t = GetEntries()) t->SetOwnedByMenu(owned ? 1 : 0);
}

ZMenuEntries& ZFlyMenu::OwnTable() {
  entries_ = &ownEntries_;
  if (!ownEntries_) ownEntries_ = new ZMenuEntries(ownedFlag_);
  return *ownEntries_;
}

void ZFlyMenu::DeleteOwnedTables() {
  ZMenuEntries* inUse = entries_ ? *entries_ : nullptr;
  if (inUse && inUse->GetOwnedByMenu()) {
    *entries_ = nullptr;
    if (ownEntries_ == inUse) ownEntries_ = nullptr;
    delete inUse;
  }
  // The own table, when the menu owns it and uses another.
  if (ownEntries_ && ownEntries_ != inUse && ownEntries_->GetOwnedByMenu()) delete ownEntries_;
  ownEntries_ = nullptr;
}

ZMenuEntries* ZFlyMenu::InitEntries(TMenu& menu, int addGadgets, int purgeFirst) {
  if (purgeFirst) Purge(1);
  ZMenuEntries& table = OwnTable();
  const int count = menu.GetMenuItemCount();
  for (int pos = 0; pos < count; ++pos) {
    const uint32_t id = menu.GetMenuItemID(pos);
    uint32_t flags = 0;
    if (menu.GetMenuState(UINT(pos), MF_BYPOSITION) & MF_CHECKED) {
      flags = MF_POPUP;
    } else if (id == 0) {
      flags = MF_SEPARATOR;
    }
    std::string text = menu.GetMenuString(UINT(pos), MF_BYPOSITION);
    if (text.size() > 1023) text.resize(1023);
    auto* entry = new ZMenuEntry(flags, id, text.c_str(), nullptr);
    table.Append(entry);
    if (addGadgets) AddMenuGadget(entry);
  }
  return &table;
}

void ZFlyMenu::SetEntries(ZMenuEntries** slot) {
  if (!slot) return;
  // The slot in use, or the very table in use: nothing to let go of.
  if (slot == entries_ || (entries_ && *entries_ && *slot == *entries_)) {
    entries_ = slot;
    return;
  }
  if (entries_ && *entries_ && (*entries_)->GetOwnedByMenu()) {
    DeleteGadgets();  // they point into the table
    delete *entries_;
    *entries_ = nullptr;
  }
  entries_ = slot;
  if (*entries_) (*entries_)->SetChanged(1);
}

void ZFlyMenu::Build() {
  ZMenuEntries* table = GetEntries();
  entryWidth_ = CalcWidth();
  addIndex_ = 1;
  separatorPending_ = false;
  pendingSeparator_ = nullptr;
  lastEntryColor_ = FlyMenuSettings().m_clrMenuBkgnd;
  {
    TLayoutSession session(*this);
    if (table) {
      for (ZMenuEntry* e : table->GetEntries()) {
        AddMenuGadget(e);
        ++addIndex_;
      }
    }
  }
  LayoutSession();
  if (table) table->SetChanged(0);
}

void ZFlyMenu::DeleteGadgets() {
  curEntryGadget_ = nullptr;
  separatorPending_ = false;
  pendingSeparator_ = nullptr;
  // A submenu opened from one of them keeps its place but forgets the entry.
  if (subMenu_) subMenu_->SetAssocParentEntryGadget(nullptr);
  TLayoutSession session(*this);
  while (TGadget* g = FirstGadget()) delete Remove(*g);
}

void ZFlyMenu::Purge(int deleteEntries) {
  DeleteGadgets();
  if (deleteEntries && GetEntries()) {
    DeleteOwnedTables();
    OwnTable();
  }
}

int ZFlyMenu::AddMenuGadget(ZMenuEntry* entry) { return AddGadgetFor(entry, nullptr); }

int ZFlyMenu::AddMenuGadget(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon) {
  auto entry = std::make_unique<ZMenuEntry>(flags, idCmd, text, icon);
  ZMenuEntry* raw = entry.get();
  return AddGadgetFor(raw, std::move(entry));
}

int ZFlyMenu::AddMenuGadget(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
                            COLORREF color) {
  auto entry = std::make_unique<ZMenuEntry>(flags, idCmd, text, icon, color);
  ZMenuEntry* raw = entry.get();
  return AddGadgetFor(raw, std::move(entry));
}

int ZFlyMenu::AddGadgetFor(ZMenuEntry* entry, std::unique_ptr<ZMenuEntry> owned) {
  if (!entry) return 0;
  const TSize size(entryWidth_, CalcHeight(entry));
  if (entry->flags & MF_SEPARATOR) {
    auto* separator = new ZMenuSeparatorGadget(size, addIndex_);
    Insert(*separator, After, nullptr);
    separatorPending_ = true;
    pendingSeparator_ = separator;
    return 1;
  }
  const COLORREF color = entry->color;
  auto* gadget = new ZMenuEntryGadget(entry, hilight_, size, addIndex_, std::move(owned));
  Insert(*gadget, After, nullptr);
  if (separatorPending_ && pendingSeparator_) {
    pendingSeparator_->SetUpperColor(lastEntryColor_);
    pendingSeparator_->SetLowerColor(color);
    separatorPending_ = false;
    pendingSeparator_ = nullptr;
  }
  lastEntryColor_ = color;
  return 1;
}

int ZFlyMenu::CalcWidth() {
  TScreenDC dc;
  if (TFont* font = GetAppFont(0)) dc.SelectObject(*font);
  int widest = 0;
  ZMenuEntries* table = GetEntries();
  if (table) {
    for (const ZMenuEntry* e : table->GetEntries()) {
      if (e->flags & (MF_SEPARATOR | MF_BITMAP)) continue;
      widest = std::max(widest, int(dc.GetTextExtent(e->text ? e->text : "").cx));
    }
  }
  int width = widest + 16 + 2;
  if (table && table->GetIconSpacing()) width += 19;
  if (table && table->GetCheckMarkSpacing()) width += 16;
  return width;
}

int ZFlyMenu::CalcHeight(ZMenuEntry* entry) {
  int height = ZMenuSeparatorGadget::kHeight;
  if (!entry || !(entry->flags & MF_SEPARATOR)) {
    TScreenDC dc;
    if (TFont* font = GetAppFont(0)) dc.SelectObject(*font);
    height = dc.GetTextExtent("fg").cy + 3;
  }
  if (addIndex_ == 1) ++height;
  if (uint32_t(addIndex_) == GetCount()) ++height;
  return height;
}

// --- Display -----------------------------------------------------------------------------------

HWND ZFlyMenu::TitleIcon() const { return titleBar_ ? titleBar_->GetIconWindowHandle() : nullptr; }

bool ZFlyMenu::Display(TPoint point) {
  if (!parentMenu_) {
    if (auto* pane = dynamic_cast<ZFlyMenuPane*>(GetMsgWnd())) {
      if (HWND child = pane->GetFlyMenuHolderChild(); child && quill::IsWindow(child))
        quill::SendMessage(child, WmuFlyMenuOpening, 0, 0);
    }
    const TCursorShape normal = GetAppCursor(eAPP_CURSOR_NORMAL);
    if (GetCursor() != normal) {
      const TCursorShape previous = SetCursor(normal);
      // Shown twice without leaving the screen: the first saved cursor is the one to restore.
      if (!savedCursor_) savedCursor_ = previous;
    }
    ZFlyMenu* active = GetActiveFlyMenu();
    if (active && active != this && active->IsWindow() && active->IsWindowVisible())
      active->RemoveMenuChain(nullptr);
    SetActiveFlyMenu(this);
    if (focusWnd_ && focusWnd_->IsWindow()) focusWnd_->SetFocus();
  }
  if (ZMenuEntries* table = GetEntries(); table && table->GetChanged()) {
    Purge(0);
    Build();
  }
  if (!IsWindow()) return false;
  if (parentMenu_ && assocParentEntry_ && parentMenu_->IsWindow()) {
    const TRect& b = assocParentEntry_->GetBounds();
    TPoint at(b.right, b.top);
    if (point.x != kAtParentEntry || point.y != kAtParentEntry) at = at.OffsetBy(point.x, point.y);
    parentMenu_->ClientToScreen(at);
    point = at;
  }
  CheckPlacement(point);
  if (type_ == eMT_CAPTURE) CaptureMouse(true);
  const bool placed =
      SetWindowPos(HWND_TOP, point.x, point.y, 0, 0, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow();
  return placed;
}

void ZFlyMenu::CheckPlacement(TPoint& p) {
  TWindow* parent = GetParentO();
  if (!parent) return;
  TSize desired;
  GetDesiredSize(desired);
  const TRect current = GetWindowRect();
  const int w = IsWindow() && current.Width() > 0 ? current.Width() : desired.cx;
  const int h = IsWindow() && current.Height() > 0 ? current.Height() : desired.cy;
  const TRect r(p.x, p.y, p.x + w, p.y + h);
  if (type_ == eMT_CAPTURE) {
    if (!parent->IsWindow()) return;
    const TRect pr = parent->GetWindowRect();
    if (r.left >= pr.left && r.right <= pr.right && r.top >= pr.top && r.bottom <= pr.bottom)
      return;
    if (r.right > pr.right) p.x -= w;
    if (r.bottom > pr.bottom) p.y -= r.bottom - pr.bottom;
    return;
  }
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (r.bottom > screenHeight) {
    p.y -= r.bottom - screenHeight;
    if (HWND icon = TitleIcon(); icon && !parentMenu_) {
      if (TWindow* iw = GetWindowPtr(icon)) p.x = iw->GetWindowRect().right;
    }
  }
}

// --- Painting and the fly ----------------------------------------------------------------------

bool ZFlyMenu::EvEraseBkgnd(TDC&) { return true; }

void ZFlyMenu::Paint(TDC& dc, bool erase, TRect& rect) {
  const TSize fudge = FlyMenuSettings().m_sizeFudgeBuff;
  const TRect w = GetWindowRect();
  hitRect_ = TRect(w.left - fudge.cx, w.top - fudge.cy, w.right + fudge.cx, w.bottom + fudge.cy);
  if (flown_) {
    TGadgetWindow::Paint(dc, erase, rect);
    return;
  }
  TRect client = GetClientRect();
  TBitmap picture(client.Width(), client.Height());
  if (!picture.IsOK()) {
    flown_ = 1;
    return;
  }
  TMemoryDC memory(dc);
  memory.SelectObject(picture);
  if (TPalette* palette = GetAppPalette()) {
    memory.SelectPalette(palette);
    memory.RealizePalette();
  }
  PaintGadgets(memory, erase, client);
  FlyAction(memory, dc);
}

void ZFlyMenu::FlyAction(TDC& source, TDC& target) {
  const ZFlyMenuSettings& s = FlyMenuSettings();
  const TRect client = GetClientRect();
  const int width = client.Width();
  const int height = client.Height();
  const bool horizontal = parentMenu_ != nullptr;
  const uint32_t total = uint32_t(std::max(0, horizontal ? width : height));
  const uint32_t block = std::max<uint32_t>(s.m_uiBlockWidth, 1);
  const uint32_t blocks = total / block;
  const uint32_t firstPhase = std::min(s.m_dwBlockFlyMin, blocks);
  uint32_t interval = firstPhase ? s.m_dwMinFlyTime / firstPhase : 0;

  platform::Clock& clock = TWindowSystem::Get().Clock();
  const uint64_t start = clock.NowMs();
  uint64_t deadline = start + interval;
  bool waiting = true;
  uint32_t step = 1;
  if (s.m_bPlaySound)
    pyxPlaySound(JoinSoundPath(s.m_strSoundDir, s.m_strSoundFile).c_str(), SND_ASYNC);

  // The far end of the picture, pos pixels of it, at the window's near edge.
  auto copyStrip = [&](uint32_t pos) {
    if (horizontal) {
      target.BitBlt(0, 0, int(pos), height, source, int(total - pos), 0, SRCCOPY);
    } else {
      target.BitBlt(0, 0, width, int(pos), source, 0, int(total - pos), SRCCOPY);
    }
    GdiFlush();
  };

  uint32_t lastDrawn = 0;
  for (uint32_t pos = block; pos <= total;) {
    copyStrip(pos);
    lastDrawn = pos;
    if (waiting) {
      uint64_t now = clock.NowMs();
      if (step != blocks && step > firstPhase) {
        const uint64_t elapsed = now - start;
        const uint32_t remaining =
            elapsed >= s.m_dwMaxTime ? 0u : uint32_t(s.m_dwMaxTime - elapsed);
        const uint32_t j = remaining / (blocks - step);
        if (j == 0) waiting = false;
        if (j < interval) {
          deadline -= interval - j;
          interval = j;
        }
      }
      // Sleep to the deadline: the thread costs nothing while it waits.
      for (now = clock.NowMs(); now < deadline; now = clock.NowMs())
        clock.SleepMs(uint32_t(std::min<uint64_t>(deadline - now, UINT32_MAX)));
      deadline += interval;
      ++step;
    }
    if (pos == total) break;
    pos = std::min(pos + block, total);
  }
  // A menu narrower than one block drew no strip: show the whole picture once.
  if (total > 0 && lastDrawn != total) copyStrip(total);
  flown_ = 1;
}

void ZFlyMenu::RemoveFromScreen() {
  // Hiding the window releases the mouse; whether this menu held it decides the hand-back.
  const bool heldMouse = IsWindow() && GetCapture() == GetHandle();
  if (!parentMenu_) {
    RestorePrevFocus();
    if (savedCursor_) {
      SetCursor(*savedCursor_);
      savedCursor_.reset();
    }
  }
  if (IsWindow()) ShowWindow(SW_HIDE);
  if (curEntryGadget_) curEntryGadget_->SetHighlighted(false, false);
  // Only a menu that still holds the mouse gives it back: a flag left from an earlier hand-over
  // would otherwise take the mouse for a parent that is itself leaving.
  if (parentMenu_ && capturing_ && heldMouse) parentMenu_->CaptureMouse(true);
  if (titleBar_ && titleBar_->GetIconState() == ZFlyMenuTitleBar::eICON_PRESSED) {
    if (HWND bar = titleBar_->GetTitleBarHandle(); bar && quill::IsWindow(bar))
      quill::SendMessage(bar, WmuHandleActivation, 0, 0);
  }
  if (deleteMethod_ == eDM_CLOSE) {
    RegisterIdle(this, 0);
    if (IsWindow()) PostMessage(WM_CLOSE);
  }
  flown_ = 0;
}

void ZFlyMenu::RestorePrevFocus() {
  if (!focusWnd_) return;
  if (HWND previous = focusWnd_->GetLastFocus(); previous && quill::IsWindow(previous))
    quill::SetFocus(previous);
}

void ZFlyMenu::NotifyIniChanged() { ReReadFlyMenuSound(); }

}  // namespace quill
