#include "quillui/menus/menu_gadgets.h"

#include <memory>
#include <string>

#include "quillui/app/app_palette.h"
#include "quillui/app/presentation.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/gdi/bitmap.h"
#include "quillui/framework/gdi/memory_dc.h"
#include "quillui/framework/gdi/text_format.h"
#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/image/dib.h"
#include "quillui/menus/fly_menu.h"
#include "quillui/menus/fly_menu_settings.h"
#include "quillui/menus/menu_entry.h"
#include "quillui/profile/icons.h"
#include "quillui/resources/library_module.h"

namespace quill {

namespace {

// A bitmap of the library's module, decoded once.
const TDib* LibraryImage(const char* name) {
  struct Image {
    std::string name;
    std::unique_ptr<TDib> dib;
  };
  static Image images[4];
  for (Image& image : images) {
    if (image.name == name) return image.dib.get();
    if (!image.name.empty()) continue;
    image.name = name;
    if (const TBitmapResource* r = LibraryModule().Resources().FindBitmap(name))
      image.dib = ReadBmp(r->bmp).dib;
    return image.dib.get();
  }
  return nullptr;
}

void DrawLibraryImage(TDC& dc, int x, int y, const char* image, const char* mask,
                      TColor background) {
  if (const TDib* dib = LibraryImage(image); dib && dib->IsOK())
    DrawMenuImage(dc, x, y, *dib, LibraryImage(mask), background);
}

}  // namespace

void DrawMenuImage(TDC& dc, int x, int y, const TDib& image, const TDib* mask, TColor background) {
  TPalette* palette = GetAppPalette();
  TBitmap picture(image, palette);
  if (!picture.IsOK()) return;
  const int w = picture.Width(), h = picture.Height();
  TMemoryDC memory(dc);
  memory.SelectObject(picture);
  if (palette) {
    memory.SelectPalette(palette);
    memory.RealizePalette();
  }
  if (mask && mask->IsOK()) {
    // Mask pixels are black (0) or white (255): where black the brush shows, where white the
    // image stays.
    TBitmap maskBits(*mask, nullptr, 8);
    TMemoryDC maskDC(dc);
    maskDC.SelectObject(maskBits);
    memory.SelectObject(TBrush(background));
    memory.BitBlt(0, 0, w, h, maskDC, 0, 0, 0xB8074A);
  }
  dc.BitBlt(x, y, w, h, memory, 0, 0, SRCCOPY);
}

// --- ZMenuEntryGadget ---------------------------------------------------------------------------

ZMenuEntryGadget::ZMenuEntryGadget(ZMenuEntry* entry, COLORREF hilight, const TSize& size,
                                   int index, std::unique_ptr<ZMenuEntry> owned)
    : TButtonGadget(TResId(), entry ? int(entry->idCmd) : 0, Command, true, Up),
      entry_(entry),
      owned_(std::move(owned)),
      hilight_(hilight),
      index_(index) {
  SetBorderStyle(None);
  SetMargins(TMargins(TMargins::Pixels, 0, 0, 0, 0));
  SetShrinkWrap(false, false);
  SetBounds(TRect(0, 0, size.cx, size.cy));
}

ZMenuEntryGadget::~ZMenuEntryGadget() = default;

ZMenuEntry* ZMenuEntryGadget::GetEntry() const {
  if (owned_) return owned_.get();
  ZFlyMenu* menu = Menu();
  ZMenuEntries* table = menu ? menu->GetEntries() : nullptr;
  if (!table) return nullptr;
  for (ZMenuEntry* e : table->GetEntries())
    if (e == entry_) return entry_;
  return nullptr;
}

ZFlyMenu* ZMenuEntryGadget::Menu() const { return dynamic_cast<ZFlyMenu*>(GetGadgetWindow()); }

void ZMenuEntryGadget::SetHighlighted(bool on, bool repaint) {
  highlighted_ = on;
  if (repaint) Invalidate(false);
}

void ZMenuEntryGadget::GetDesiredSize(TSize& size) { TGadget::GetDesiredSize(size); }

void ZMenuEntryGadget::Paint(TDC& dc) {
  const TRect& b = GetBounds();
  const int w = b.Width(), h = b.Height();
  ZFlyMenu* menu = Menu();
  ZMenuEntries* table = menu ? menu->GetEntries() : nullptr;
  const ZMenuEntry* entry = GetEntry();
  const TColor background = highlighted_
                                ? TColor(hilight_)
                                : TColor(entry ? entry->color : FlyMenuSettings().m_clrMenuBkgnd);
  dc.FillRect(TRect(0, 0, w, h), background);
  dc.SelectObject(TPen(TColor::Black, 1));
  int x = 0;
  if (table && table->GetCheckMarkSpacing()) {
    x += 2;
    if (entry && (entry->flags & MF_CHECKED))
      DrawLibraryImage(dc, x, (h - 14) / 2, "CHECK", "CHECKM", background);
    x += 14;
  }
  if (table && table->GetIconSpacing()) {
    x += 2;
    if (entry && entry->icon) {
      if (const TDib* image = entry->icon->GetIcon(ZIcon::eSMALL))
        DrawMenuImage(dc, x, (h - 15) / 2, *image, entry->icon->GetMask(ZIcon::eSMALL), background);
    }
    x += 17;
  }
  if (entry && (entry->flags & MF_POPUP))
    DrawLibraryImage(dc, w - 16, (h - 16) / 2, "ARROW", "ARROWM", background);
  // The bottom frame line after the arrow, so an entry no taller than the arrow keeps it.
  if (table && table->GetCount() == uint32_t(index_)) {
    dc.MoveTo(0, h - 1);
    dc.LineTo(w, h - 1);
  }
  if (TFont* font = GetAppFont(0)) dc.SelectObject(*font);
  dc.SetBkMode(TRANSPARENT);
  if (entry && entry->text) {
    TRect text(x, 1, w - 16, h - 2);
    dc.DrawText(entry->text, -1, text, DT_VCENTER | DT_SINGLELINE);
  }
  if (index_ == 1) {
    dc.MoveTo(0, 0);
    dc.LineTo(w, 0);
  }
  dc.MoveTo(0, 0);
  dc.LineTo(0, h);
  dc.MoveTo(w - 1, 0);
  dc.LineTo(w - 1, h);
  dc.RestoreObjects();
}

void ZMenuEntryGadget::MouseEnter(UINT modKeys, const TPoint& point) {
  ZFlyMenu* menu = Menu();
  if (menu && menu->IsWindow()) menu->KillTimer(ZFlyMenu::SUBMENU_TIMER_ID);
  TButtonGadget::MouseEnter(modKeys, point);
  SetHighlighted(true);
  if (!menu) return;
  ZMenuEntry* entry = GetEntry();
  if (ZMenuEntryGadget* current = menu->GetCurEntryGadget(); current && current != this)
    current->SetHighlighted(false);
  menu->SetCurEntryGadget(this);
  if (!entry || !(entry->flags & MF_POPUP)) return;
  ZFlyMenu* sub = menu->GetSubMenu();
  if (sub && sub->IsWindow() && sub->IsWindowVisible()) {
    if (sub->GetAssocParentEntryGadget() == this) return;
    menu->RemoveMenuChain(menu);
  }
  menu->SetupSubmenuFiring(entry->idCmd);
}

void ZMenuEntryGadget::MouseLeave(UINT modKeys, const TPoint& point) {
  ZFlyMenu* menu = Menu();
  if (menu && menu->IsWindow()) menu->KillTimer(ZFlyMenu::SUBMENU_TIMER_ID);
  TButtonGadget::MouseLeave(modKeys, point);
  ZMenuEntry* entry = GetEntry();
  if (menu && entry && (entry->flags & MF_POPUP) && menu->GetSubMenu()) {
    TPoint cursor;
    GetCursorPos(cursor);
    if (menu->CheckChainOfSubMenus(WindowFromPoint(cursor), cursor)) return;
    menu->RemoveMenuChain(menu);
  }
  SetHighlighted(false);
}

void ZMenuEntryGadget::Activate(const TPoint& point) {
  ZMenuEntry* entry = GetEntry();
  if (!entry || (entry->flags & MF_POPUP)) return;
  TButtonGadget::Activate(point);
  if (ZFlyMenu* menu = Menu()) menu->RemoveMenuChain(nullptr);
}

// --- ZMenuSeparatorGadget -----------------------------------------------------------------------

ZMenuSeparatorGadget::ZMenuSeparatorGadget(const TSize& size, int index)
    : TGadget(0, None), upper_(TColor::White), lower_(TColor::White), index_(index) {
  SetMargins(TMargins(TMargins::Pixels, 0, 0, 0, 0));
  SetBounds(TRect(0, 0, size.cx, size.cy));
}

void ZMenuSeparatorGadget::GetDesiredSize(TSize& size) {
  size = TSize(GetBounds().Width(), kHeight);
}

void ZMenuSeparatorGadget::Paint(TDC& dc) {
  const int w = GetBounds().Width();
  const int h = kHeight;
  const int m = h / 2;
  dc.FillRect(TRect(0, 0, w, m), TColor(upper_));
  dc.FillRect(TRect(0, m + 1, w, h), TColor(lower_));
  dc.SelectObject(TPen(TColor::Black, 1));
  dc.MoveTo(0, m);
  dc.LineTo(w, m);
  dc.MoveTo(0, 0);
  dc.LineTo(0, h);
  dc.MoveTo(w - 1, 0);
  dc.LineTo(w - 1, h);
  dc.RestoreObjects();
}

}  // namespace quill
