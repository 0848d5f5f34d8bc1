// ZMenuEntries: the entry table of a fly menu, in display order, with lookups by command id or
// by position, the "@" captions taken from the library's "FLYMENU_TEXT" menu, check-mark and
// icon column spacing, and a changed flag telling menus to rebuild their gadgets.
#pragma once

#include <cstdint>
#include <vector>

#include "quillui/framework/base/color.h"
#include "quillui/menus/menu_entry.h"

namespace quill {

class TMenu;

// Item arguments go with a flags argument: with MF_BYPOSITION the item is a 0-based position,
// else a command id and the first entry from the top with that id is meant. Lookups that fail
// answer 0, kMenuEntryNone or null and leave the table as it was.
inline constexpr uint32_t kMenuEntryNone = 0xFFFFFFFFu;

class ZMenuEntries {
 public:
  using EntryList = std::vector<ZMenuEntry*>;
  using Iterator = EntryList::iterator;

  // Empty and changed, check-mark spacing on, icon spacing off. The first live table loads
  // the master menu.
  explicit ZMenuEntries(int ownedByMenu);
  // Deletes every entry; the last live table deletes the master menu.
  ~ZMenuEntries();
  ZMenuEntries(const ZMenuEntries&) = delete;
  ZMenuEntries& operator=(const ZMenuEntries&) = delete;

  // The "FLYMENU_TEXT" menu of the library's module; null while no table lives.
  static TMenu* GetMenuMaster() { return m_pMenuMaster; }
  // Live tables.
  static unsigned long GetObjCount() { return m_ulObjCount; }

  EntryList& GetEntries() { return entries_; }
  const EntryList& GetEntries() const { return entries_; }
  int GetChanged() const { return changed_; }
  void SetChanged(int changed) { changed_ = changed; }
  // Setting a spacing marks the table changed.
  void SetCheckMarkSpacing(int on);
  int GetCheckMarkSpacing() const { return checkMarkSpacing_; }
  void SetIconSpacing(int on);
  int GetIconSpacing() const { return iconSpacing_; }

  // Colours the entries first through last inclusive (either order); 0 when either end is not
  // in the table. Does not mark the table changed: the colour is read at the next paint.
  int SetColor(uint32_t first, uint32_t last, uint32_t flags, COLORREF color);
  // 1 and the entry's place, or 0.
  int GetEntryIterator(uint32_t item, uint32_t flags, Iterator& found);
  // The entry (still the table's), or null.
  ZMenuEntry* Get(uint32_t item, uint32_t flags);
  // Position of the first entry with the id, or kMenuEntryNone.
  uint32_t GetPosition(uint32_t idCmd) const;
  // The id at the position, or kMenuEntryNone past the end.
  uint32_t GetIdCmd(uint32_t position) const;

  // The table takes the entry when these answer 1; on 0 it stays the caller's. Taking an entry
  // applies the "@" rule and turns icon spacing on for an entry with an icon.
  int Append(ZMenuEntry* entry);
  // Builds the entry (the menu background colour when none is given) and appends it.
  int Append(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon);
  int Append(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon, COLORREF color);
  // In front of the entry found; by position, kMenuEntryNone appends and the count itself is
  // not found.
  int Insert(uint32_t item, uint32_t flags, ZMenuEntry* entry);
  // The built entry's flags are the flags argument (MF_BYPOSITION included); when the target
  // is not found the built entry is deleted.
  int Insert(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon);
  int Insert(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
             COLORREF color);
  // 1 when an entry was found and deleted.
  int Delete(uint32_t item, uint32_t flags);
  // Puts the entry where the one found stood and deletes that one; 1 when both steps worked.
  // Marks the table changed even when nothing was found.
  int Replace(uint32_t item, uint32_t flags, ZMenuEntry* entry);
  // As Insert, the built entry has the flags argument and is deleted when nothing was found.
  int Replace(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon);
  int Replace(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
              COLORREF color);
  // Gives the entry found a new id and a copy of the text (null reads as ""), then applies
  // the "@" rule with the new id. 1 when found.
  int Change(uint32_t item, uint32_t flags, uint32_t newIdCmd, const char* text);
  // An entry whose text begins with "@" takes the master menu's text for its id instead
  // (empty when the master has no such item). Nothing happens without a master.
  static void SubstituteTxtForSpecialChar(ZMenuEntry* entry);
  // Sets MF_CHECKED when flags hold it (turning check-mark spacing on), else clears it;
  // answers the previous MF_CHECKED bit, or kMenuEntryNone for no entry. Does not mark the
  // table changed.
  uint32_t SetCheckMark(uint32_t item, uint32_t flags);
  uint32_t GetCount() const { return uint32_t(entries_.size()); }
  void SetOwnedByMenu(int owned) { ownedByMenu_ = owned; }
  int GetOwnedByMenu() const { return ownedByMenu_; }

 private:
  // Substitution and automatic icon spacing for an entry the table takes.
  void TakeIn(ZMenuEntry* entry);

  EntryList entries_;
  int changed_ = 1;
  int ownedByMenu_;
  int checkMarkSpacing_ = 1;
  int iconSpacing_ = 0;

  static TMenu* m_pMenuMaster;
  static unsigned long m_ulObjCount;
};

}  // namespace quill
