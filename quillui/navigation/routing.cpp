#include "quillui/navigation/routing.h"

#include <cstring>
#include <string_view>

#include "quillui/profile/cmd_line.h"
#include "quillui/profile/holder_ids.h"
#include "quillui/profile/profile.h"

namespace quill {

namespace {

constexpr const char* kRoutingSection = "Routing";

}  // namespace

ZRouteInfo* ZRouting::Get(int index) const {
  return index >= 0 && size_t(index) < routes_.size() ? routes_[size_t(index)].get() : nullptr;
}

bool ZRouting::Add(std::unique_ptr<ZRouteInfo> route) {
  if (!route || route->m_hEntry == 0 || routes_.size() >= size_t(kMaxRoutes)) return false;
  routes_.push_back(std::move(route));
  return true;
}

ZRouteInfo* ZRouting::Find(const std::string& name) const {
  for (const auto& route : routes_)
    if (route->m_strName == name) return route.get();
  return nullptr;
}

ZRouting& GetRouting() {
  static ZRouting routing;
  return routing;
}

ZRouteInfo MakeRouteInfo(const std::string& key, const std::string& value) {
  ZRouteInfo route(key, ZHolderIds::Lookup(key), eMEDIA_PANE, 0, 0);
  ZCmdLine line(value);
  std::string name;
  std::string item;
  for (bool more = line.FindFirst(name, item); more; more = line.FindNext(name, item)) {
    if (name == "Pane") {
      PaneTypeFromName(item, route.m_ePane);
    } else if (name == "holder") {
      int id = ZHolderIds::Lookup(item);
      if (id == ZHolderIds::kUnknown) id = ZHolderIds::Add(item);
      route.m_iHolderId = id;
    } else if (name == "entry") {
      route.m_strName = item;
    } else if (name == "fullscreen") {
      route.m_bFullScreen = 1;
    }
  }
  return route;
}

void LoadupRouting() {
  ZProf& prof = ZProfile();
  // The whole key list is walked: cutting it at a fixed size could split the last key into
  // the name of some other entry.
  const std::string keys = prof.Get(kRoutingSection, nullptr, "");
  size_t pos = 0;
  while (pos < keys.size()) {
    const size_t end = keys.find('\0', pos);
    const std::string key =
        keys.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (key.empty()) break;
    pos = end == std::string::npos ? keys.size() : end + 1;
    auto route = std::make_unique<ZRouteInfo>(
        MakeRouteInfo(key, prof.Get(kRoutingSection, key.c_str(), "")));
    route->m_hEntry = GetEntry(route->m_strName);
    GetRouting().Add(std::move(route));
  }
}

void DeleteRouting() { GetRouting().Clear(); }

ZRouteInfo* GetRouteInfo(const std::string& name) { return GetRouting().Find(name); }

ZRouteInfo* GetRouteInfo(const ZBookmark& bookmark) {
  const std::string entry = bookmark.GetEntryName();
  return entry.empty() ? nullptr : GetRouting().Find(entry);
}

}  // namespace quill
