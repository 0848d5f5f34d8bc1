// The routing table: for each entry name, the pane and holder that show it and whether it
// takes the full screen, loaded from the "Routing" section of the settings file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/pane_type.h"
#include "quillui/profile/entries.h"

namespace quill {

// One route.
class ZRouteInfo {
 public:
  ZRouteInfo() = default;
  ZRouteInfo(const std::string& name, int holderId, PANE_TYPE pane, int fullScreen, int reserved)
      : m_strName(name),
        m_iHolderId(holderId),
        m_ePane(pane),
        m_bFullScreen(fullScreen),
        m_iReserved(reserved) {}

  std::string m_strName;  // the entry name the route answers to
  int m_iHolderId = 0;    // the holder that shows the entry
  PANE_TYPE m_ePane = eMEDIA_PANE;
  int m_bFullScreen = 0;      // the frame shows the entry full screen
  int m_iReserved = 0;        // no meaning in the library
  ZEntryHandle m_hEntry = 0;  // the host's entry; routes without one are not kept
};

// The table: up to kMaxRoutes routes in the order loaded; it owns them.
class ZRouting {
 public:
  static constexpr int kMaxRoutes = 64;

  int GetCount() const { return int(routes_.size()); }
  ZRouteInfo* Get(int index) const;
  // Takes the route when there is room and it has an entry; otherwise deletes it. Answers
  // whether it was kept.
  bool Add(std::unique_ptr<ZRouteInfo> route);
  // The first route of exactly that name, or null.
  ZRouteInfo* Find(const std::string& name) const;
  void Clear() { routes_.clear(); }

 private:
  std::vector<std::unique_ptr<ZRouteInfo>> routes_;
};

ZRouting& GetRouting();

// Appends the routes of the "Routing" section (the table is not emptied first).
void LoadupRouting();
// Deletes every route.
void DeleteRouting();
// Builds the route of one routing line (key and value), without the entry lookup.
ZRouteInfo MakeRouteInfo(const std::string& key, const std::string& value);

// Pointers stay valid until DeleteRouting.
ZRouteInfo* GetRouteInfo(const std::string& name);
// The route of the bookmark's entry name; null when it has none.
ZRouteInfo* GetRouteInfo(const ZBookmark& bookmark);

}  // namespace quill
