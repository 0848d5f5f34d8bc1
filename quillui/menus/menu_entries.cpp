#include "quillui/menus/menu_entries.h"

#include <iterator>
#include <utility>

#include "quillui/framework/base/resource.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/resources/library_module.h"

namespace quill {

TMenu* ZMenuEntries::m_pMenuMaster = nullptr;
unsigned long ZMenuEntries::m_ulObjCount = 0;

namespace {

bool ByPosition(uint32_t flags) { return (flags & MF_BYPOSITION) != 0; }

// Captions of the master menu are fetched into a buffer of this size, as the menus always did.
constexpr int kMasterTextBuffer = 1024;

}  // namespace

ZMenuEntries::ZMenuEntries(int ownedByMenu) : ownedByMenu_(ownedByMenu) {
  if (!m_pMenuMaster) m_pMenuMaster = new TMenu(LibraryModule(), "FLYMENU_TEXT");
  ++m_ulObjCount;
}

ZMenuEntries::~ZMenuEntries() {
  for (ZMenuEntry* entry : entries_) delete entry;
  entries_.clear();
  if (m_ulObjCount > 0) --m_ulObjCount;
  if (m_ulObjCount == 0 && m_pMenuMaster) {
    delete m_pMenuMaster;
    m_pMenuMaster = nullptr;
  }
}

void ZMenuEntries::SetCheckMarkSpacing(int on) {
  checkMarkSpacing_ = on;
  changed_ = 1;
}

void ZMenuEntries::SetIconSpacing(int on) {
  iconSpacing_ = on;
  changed_ = 1;
}

int ZMenuEntries::SetColor(uint32_t first, uint32_t last, uint32_t flags, COLORREF color) {
  if (!ByPosition(flags)) {
    first = GetPosition(first);
    last = GetPosition(last);
  }
  const uint32_t count = GetCount();
  if (first == kMenuEntryNone || first >= count || last == kMenuEntryNone || last >= count) {
    return 0;
  }
  if (first > last) std::swap(first, last);
  for (uint32_t i = first; i <= last; ++i) entries_[i]->color = color;
  return 1;
}

int ZMenuEntries::GetEntryIterator(uint32_t item, uint32_t flags, Iterator& found) {
  if (ByPosition(flags)) {
    if (item >= GetCount()) return 0;
    found = entries_.begin() + item;
    return 1;
  }
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if ((*it)->idCmd == item) {
      found = it;
      return 1;
    }
  }
  return 0;
}

ZMenuEntry* ZMenuEntries::Get(uint32_t item, uint32_t flags) {
  Iterator it;
  return GetEntryIterator(item, flags, it) ? *it : nullptr;
}

uint32_t ZMenuEntries::GetPosition(uint32_t idCmd) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i]->idCmd == idCmd) return uint32_t(i);
  }
  return kMenuEntryNone;
}

uint32_t ZMenuEntries::GetIdCmd(uint32_t position) const {
  return position < GetCount() ? entries_[position]->idCmd : kMenuEntryNone;
}

void ZMenuEntries::TakeIn(ZMenuEntry* entry) {
  SubstituteTxtForSpecialChar(entry);
  if (entry->icon && !iconSpacing_) SetIconSpacing(1);
}

int ZMenuEntries::Append(ZMenuEntry* entry) {
  if (!entry) return 0;
  TakeIn(entry);
  entries_.push_back(entry);
  changed_ = 1;
  return 1;
}

int ZMenuEntries::Append(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon) {
  return Append(new ZMenuEntry(flags, idCmd, text, icon));
}

int ZMenuEntries::Append(uint32_t flags, uint32_t idCmd, const char* text, ZIcon* icon,
                         COLORREF color) {
  return Append(new ZMenuEntry(flags, idCmd, text, icon, color));
}

int ZMenuEntries::Insert(uint32_t item, uint32_t flags, ZMenuEntry* entry) {
  if (!entry) return 0;
  if (ByPosition(flags) && item == kMenuEntryNone) return Append(entry);
  Iterator target;
  if (!GetEntryIterator(item, flags, target)) return 0;
  const auto at = std::distance(entries_.begin(), target);
  TakeIn(entry);
  entries_.insert(entries_.begin() + at, entry);
  changed_ = 1;
  return 1;
}

int ZMenuEntries::Insert(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text,
                         ZIcon* icon) {
  auto* entry = new ZMenuEntry(flags, idCmd, text, icon);
  if (Insert(item, flags, entry)) return 1;
  delete entry;
  return 0;
}

int ZMenuEntries::Insert(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text,
                         ZIcon* icon, COLORREF color) {
  auto* entry = new ZMenuEntry(flags, idCmd, text, icon, color);
  if (Insert(item, flags, entry)) return 1;
  delete entry;
  return 0;
}

int ZMenuEntries::Delete(uint32_t item, uint32_t flags) {
  Iterator target;
  if (!GetEntryIterator(item, flags, target)) return 0;
  delete *target;
  entries_.erase(target);
  changed_ = 1;
  return 1;
}

int ZMenuEntries::Replace(uint32_t item, uint32_t flags, ZMenuEntry* entry) {
  if (!entry) return 0;
  int result = 0;
  if (ByPosition(flags)) {
    if (Delete(item, MF_BYPOSITION)) {
      result = item == GetCount() ? Append(entry) : Insert(item, MF_BYPOSITION, entry);
    }
  } else {
    Iterator target;
    if (GetEntryIterator(item, flags, target)) {
      TakeIn(entry);
      ZMenuEntry* old = *target;
      *target = entry;
      if (old != entry) delete old;  // an entry replaced by itself stays
      result = 1;
    }
  }
  changed_ = 1;
  return result;
}

int ZMenuEntries::Replace(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text,
                          ZIcon* icon) {
  auto* entry = new ZMenuEntry(flags, idCmd, text, icon);
  if (Replace(item, flags, entry)) return 1;
  delete entry;
  return 0;
}

int ZMenuEntries::Replace(uint32_t item, uint32_t flags, uint32_t idCmd, const char* text,
                          ZIcon* icon, COLORREF color) {
  auto* entry = new ZMenuEntry(flags, idCmd, text, icon, color);
  if (Replace(item, flags, entry)) return 1;
  delete entry;
  return 0;
}

int ZMenuEntries::Change(uint32_t item, uint32_t flags, uint32_t newIdCmd, const char* text) {
  ZMenuEntry* entry = Get(item, flags);
  if (!entry) return 0;
  entry->idCmd = newIdCmd;
  entry->SetText(text ? text : "");
  SubstituteTxtForSpecialChar(entry);
  changed_ = 1;
  return 1;
}

void ZMenuEntries::SubstituteTxtForSpecialChar(ZMenuEntry* entry) {
  if (!entry || !entry->text || entry->text[0] != '@' || !m_pMenuMaster) return;
  char buffer[kMasterTextBuffer] = {};
  m_pMenuMaster->GetMenuString(entry->idCmd, buffer, kMasterTextBuffer, MF_BYCOMMAND);
  entry->SetText(buffer);
}

uint32_t ZMenuEntries::SetCheckMark(uint32_t item, uint32_t flags) {
  ZMenuEntry* entry = Get(item, flags);
  if (!entry) return kMenuEntryNone;
  const uint32_t previous = entry->flags & MF_CHECKED;
  if (flags & MF_CHECKED) {
    entry->flags |= MF_CHECKED;
    if (!checkMarkSpacing_) SetCheckMarkSpacing(1);
  } else {
    entry->flags &= ~MF_CHECKED;
  }
  return previous;
}

}  // namespace quill
