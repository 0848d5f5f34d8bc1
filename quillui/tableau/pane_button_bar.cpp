#include "quillui/tableau/pane_button_bar.h"

#include <array>

#include "quillui/app/display_mode.h"
#include "quillui/app/user_messages.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "quillui/buttons/colored_hfiller_gadget.h"
#include "quillui/framework/gdi/font.h"
#include "quillui/framework/menus/popup_menu.h"
#include "quillui/profile/profile.h"
#include "quillui/resources/library_module.h"
#include "quillui/tableau/pane_base.h"
#include "quillui/tableau/tableau_pane.h"

namespace quill {

namespace {

// Every button's strip has its normal, hover and pressed cels.
constexpr int kButtonCels = 3;

constexpr std::array<ZPaneButtonBar::TButtonEntry, 72> kButtons = {{
    {7432, "pbFullSc.bmp", 0}, {7107, "pbNext.bmp", 0},   {7103, "pbPrint.bmp", 0},
    {7106, "pbPrev.bmp", 0},   {7101, "pbSlctTr.bmp", 0}, {7102, "pbCopy.bmp", 0},
    {7130, "avplayrv.bmp", 0}, {7126, "avstprwd.bmp", 0}, {7127, "avstop.bmp", 0},
    {7125, "avstpfwd.bmp", 0}, {7120, "avplay.bmp", 0},   {7435, "pbArticl.bmp", 0},
    {7108, "pbSize.bmp", 0},   {7436, "pbFreeze.bmp", 0}, {7437, "pbThaw.bmp", 0},
    {7433, "pbBookMk.bmp", 0}, {7207, "pbNext.bmp", 0},   {7211, "pbPrint.bmp", 0},
    {7218, "pbPrev.bmp", 0},   {7201, "pbSearch.bmp", 0}, {7202, "pbStop.bmp", 0},
    {7203, "pbGetItm.bmp", 0}, {7204, "pbQList.bmp", 0},  {7205, "pbcopy.bmp", 0},
    {7206, "pbGoto.bmp", 0},   {7219, "pbNewLst.bmp", 0}, {7220, "pbOpnLst.bmp", 0},
    {7221, "pbSvList.bmp", 0}, {7222, "pbDelItm.bmp", 0}, {7210, "pbHist.bmp", 0},
    {7214, "pbGoToYr.bmp", 0}, {7215, "pbFindEv.bmp", 0}, {7217, "pbXpnArt.bmp", 0},
    {7223, "pbUS.bmp", 0},     {7224, "pbWorld.bmp", 0},  {7209, "pbOptns.bmp", 0},
    {7532, "pbFullSc.bmp", 0}, {7701, "pbTbleau.bmp", 0}, {7533, "pbBookMk.bmp", 0},
    {7560, "pbZoomIn.bmp", 0}, {7561, "pbZoomOt.bmp", 0}, {7632, "pbFullSc.bmp", 0},
    {7307, "pbCopy.bmp", 0},   {7306, "pbNext.bmp", 0},   {7308, "pbPrint.bmp", 0},
    {7305, "pbPrev.bmp", 0},   {7633, "pbBookMk.bmp", 0}, {7301, "pbOutlin.bmp", 0},
    {7302, "pbOptns.bmp", 0},  {7530, "pbideasr.bmp", 0}, {7225, "pbLabels.bmp", 0},
    {7226, "pbGrid.bmp", 0},   {7227, "pbcntrls.bmp", 0}, {7558, "pbZoomIn.bmp", 0},
    {7559, "pbZoomOt.bmp", 0}, {7557, "erclose.bmp", 0},  {7540, "erclosep.bmp", 0},
    {7542, "avfllrwd.bmp", 0}, {7543, "avstprwd.bmp", 0}, {7544, "avplay.bmp", 0},
    {7545, "avstpfwd.bmp", 0}, {7556, "avpause.bmp", 0},  {7541, "erplyful.bmp", 0},
    {7562, "pbpurple.bmp", 0}, {7570, "ertutor.bmp", 0},  {7571, "ersamscr.bmp", 0},
    {7572, "ernewscr.bmp", 0}, {7573, "eropnscr.bmp", 0}, {7574, "ersavscr.bmp", 0},
    {7563, "save.bmp", 0},     {7564, "delete.bmp", 0},   {7565, "pbclose.bmp", 0},
}};

constexpr UINT kFullScreenIds[] = {kCmFullScreenMedia, kCmFullScreenPath, kCmFullScreenArticle};

bool IsFullScreenId(UINT id) {
  for (UINT f : kFullScreenIds)
    if (f == id) return true;
  return false;
}

}  // namespace

ZPaneButtonBar::ZPaneButtonBar(PANE_TYPE type, TWindow* parent)
    : ZControlBar(parent, Horizontal, TColor::Transparent, new TGadgetWindowFont(10, false, false),
                  nullptr),
      m_ePaneType(type) {
  Attr.Style &= ~uint32_t(WS_BORDER);
  SetMargins(TMargins(TMargins::LayoutUnits, 0, 0, 0, 0));
  SetShrinkWrap(true, true);
  if (const char* name = ConstantMenuName(type)) {
    TMenu menu(LibraryModule(), name);
    if (menu.IsOK()) LoadConstantButtons(menu);
  }
}

ZPaneButtonBar::~ZPaneButtonBar() = default;

std::span<const ZPaneButtonBar::TButtonEntry> ZPaneButtonBar::ButtonTable() { return kButtons; }

const ZPaneButtonBar::TButtonEntry* ZPaneButtonBar::FindButton(UINT id) {
  for (const TButtonEntry& e : kButtons)
    if (e.id == id) return &e;
  return nullptr;
}

const char* ZPaneButtonBar::ConstantMenuName(PANE_TYPE type) {
  switch (type) {
    case eMEDIA_PANE:
    case eMAXI_PANE: return "MEDIA_CONSTANTS";
    case ePATH_PANE: return "PATH_CONSTANTS";
    case eARTICLE_PANE: return "ARTICLE_CONSTANTS";
    default: return nullptr;
  }
}

TGadget* ZPaneButtonBar::MakeButton(UINT id) {
  const TButtonEntry* e = FindButton(id);
  if (e && e->kind == 1) return new ZColoredHFillerGadget(int(id), TColor::Black);
  return new ZAnimButtonGadget(e ? e->bitmap : kUnknownBitmap, int(id), nullptr, kButtonCels, true,
                               false);
}

bool ZPaneButtonBar::IsForced() { return ZProfile().GetBool("DevParm", "ForceButtonBar", false); }

bool ZPaneButtonBar::PopupOptions(TWindow& owner) {
  return m_pPopupMenu && PopupMenuAt(kCmPaneOptions, *m_pPopupMenu, owner);
}

void ZPaneButtonBar::LoadConstantButtons(TMenu& menu) {
  const int count = menu.GetMenuItemCount();
  for (int i = 0; i < count; ++i) Insert(*MakeButton(menu.GetMenuItemID(i)));
}

void ZPaneButtonBar::Insert(TGadget& gadget, TPlacement placement, TGadget* sibling) {
  ZControlBar::Insert(gadget, placement, sibling);
}

void ZPaneButtonBar::RemoveAndDelete(TGadget& gadget) {
  Remove(gadget);
  delete &gadget;
}

void ZPaneButtonBar::RemoveVariableButtons() {
  while (TGadget* g = FirstGadget()) RemoveAndDelete(*g);
}

void ZPaneButtonBar::MergeButtons(TMenu& menu) {
  m_pPopupMenu.reset();
  RemoveVariableButtons();
  if (!menu.IsOK()) {
    LayoutSession();
    return;
  }
  TWindow* pane = GetParentO();
  const bool fullScreen =
      pane && pane->IsWindow() && pane->SendMessage(WmuGetDisplayMode, 0, 0) == eFULL_SCREEN_MODE;
  // Backwards, each button to the front: the buttons end up in the menu's order.
  for (int i = menu.GetMenuItemCount() - 1; i >= 0; --i) {
    UINT id = menu.GetMenuItemID(i);
    if (id == kSkippedIds[0] || id == kSkippedIds[1]) continue;
    if (id == kMenuNoItem) {
      // A pop-up item: its submenu leaves the menu (so destroying the menu spares it) and is
      // kept. Walking upwards, a higher pop-up item's submenu replaces a lower one's, which
      // nothing else holds any more.
      HMENU sub = quill::GetSubMenu(menu.GetHandle(), i);
      if (!sub) continue;
      menu.RemoveMenu(UINT(i), MF_BYPOSITION);
      m_pPopupMenu = std::make_unique<TPopupMenu>(sub, TMenu::AutoDelete);
      continue;
    }
    if (fullScreen && IsFullScreenId(id)) id = kCmTableau;
    Insert(*MakeButton(id), Before, FirstGadget());
  }
  LayoutSession();
}

void ZPaneButtonBar::MaximizeButtonBar(bool maximized) {
  TGadget* old = nullptr;
  UINT replacement = 0;
  if (maximized) {
    for (UINT id : kFullScreenIds)
      if ((old = GadgetWithId(int(id))) != nullptr) break;
    replacement = kCmTableau;
  } else {
    old = GadgetWithId(int(kCmTableau));
    replacement = FullScreenCommandOf(m_ePaneType);
  }
  if (old) {
    const unsigned before = NumGadgets();
    Insert(*MakeButton(replacement), Before, old);
    // A replacement that could not show itself was dropped: the old button stays.
    if (NumGadgets() > before) RemoveAndDelete(*old);
  }
  LayoutSession();
}

bool ZPaneButtonBar::EvEraseBkgnd(TDC&) { return true; }

UINT ZPaneButtonBar::EvNCCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS&) {
  return calcValidRects ? 0x300 : 0;
}

void ZPaneButtonBar::EvSize(UINT sizeType, const TSize& size) { TWindow::EvSize(sizeType, size); }

}  // namespace quill
