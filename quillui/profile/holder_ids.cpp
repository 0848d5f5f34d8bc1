#include "quillui/profile/holder_ids.h"
#include "quillui/testing/profile.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace quill {

namespace {

struct HolderTable {
  std::mutex mutex;
  std::unordered_map<std::string, int> ids;
  std::unordered_set<int> used;
  int next = ZHolderIds::kFirstAdded;
};

HolderTable& Table() {
  static HolderTable table;
  return table;
}

}  // namespace

int ZHolderIds::Lookup(const char* name) {
  if (name == nullptr) return kUnknown;
  HolderTable& t = Table();
  std::lock_guard lock(t.mutex);
  auto it = t.ids.find(name);
  return it == t.ids.end() ? kUnknown : it->second;
}

int ZHolderIds::Add(const char* name) {
  if (name == nullptr || *name == '\0') return kUnknown;
  HolderTable& t = Table();
  std::lock_guard lock(t.mutex);
  if (auto it = t.ids.find(name); it != t.ids.end()) return it->second;
  // Skip ids the host registered; wrap before the int range ends (not reachable in practice,
  // but the counter must never overflow).
  while (t.used.count(t.next) != 0 || t.next == kUnknown)
    t.next = t.next == INT32_MAX ? kFirstAdded : t.next + 1;
  const int id = t.next;
  t.next = id == INT32_MAX ? kFirstAdded : id + 1;
  t.ids.emplace(name, id);
  t.used.insert(id);
  return id;
}

bool ZHolderIds::Register(const char* name, int id) {
  if (name == nullptr || *name == '\0' || id == kUnknown) return false;
  HolderTable& t = Table();
  std::lock_guard lock(t.mutex);
  if (t.ids.count(name) != 0 || t.used.count(id) != 0) return false;
  t.ids.emplace(name, id);
  t.used.insert(id);
  return true;
}

void ResetHolderIds() {
  HolderTable& t = Table();
  std::lock_guard lock(t.mutex);
  t.ids.clear();
  t.used.clear();
  t.next = ZHolderIds::kFirstAdded;
}

}  // namespace quill
