#include "quillui/profile/entries.h"

#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include <algorithm>
#include <cctype>

namespace quill {

namespace {

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
      const int x = std::tolower(static_cast<unsigned char>(a[i]));
      const int y = std::tolower(static_cast<unsigned char>(b[i]));
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

struct HostLookups {
  std::mutex mutex;
  std::unordered_map<std::string, ZEntryHandle> entries;
  std::map<std::string, std::unique_ptr<ZDefaultDB>, NoCaseLess> databases;
  ZBookmarkTextHook rewrite;
};

HostLookups& State() {
  static HostLookups state;
  return state;
}

}  // namespace

ZEntryHandle GetEntry(const char* name) {
  if (name == nullptr) return 0;
  HostLookups& s = State();
  std::lock_guard lock(s.mutex);
  auto it = s.entries.find(name);
  return it == s.entries.end() ? 0 : it->second;
}

ZEntryHandle RegisterEntry(const char* name) {
  if (name == nullptr || *name == '\0') return 0;
  HostLookups& s = State();
  std::lock_guard lock(s.mutex);
  auto [it, added] = s.entries.emplace(name, ZEntryHandle(s.entries.size() + 1));
  return it->second;
}

const ZDefaultDB* GetDefaultDB(const char* kind) {
  if (kind == nullptr) return nullptr;
  HostLookups& s = State();
  std::lock_guard lock(s.mutex);
  auto it = s.databases.find(kind);
  return it == s.databases.end() ? nullptr : it->second.get();
}

void RegisterDefaultDB(const char* kind, const char* fileName) {
  if (kind == nullptr || *kind == '\0') return;
  HostLookups& s = State();
  std::lock_guard lock(s.mutex);
  auto& record = s.databases[kind];
  if (!record) record = std::make_unique<ZDefaultDB>(ZDefaultDB{kind, ""});
  record->fileName = fileName ? fileName : "";
}

void changeSeqNumToTitle(std::string& text) {
  ZBookmarkTextHook hook;
  {
    HostLookups& s = State();
    std::lock_guard lock(s.mutex);
    hook = s.rewrite;
  }
  if (hook) hook(text);
}

ZBookmarkTextHook SetChangeSeqNumToTitleHook(ZBookmarkTextHook hook) {
  HostLookups& s = State();
  std::lock_guard lock(s.mutex);
  ZBookmarkTextHook previous = std::move(s.rewrite);
  s.rewrite = std::move(hook);
  return previous;
}

bool HasChangeSeqNumToTitleHook() {
  HostLookups& s = State();
  std::lock_guard lock(s.mutex);
  return bool(s.rewrite);
}

void ResetHostLookups() {
  HostLookups& s = State();
  std::lock_guard lock(s.mutex);
  s.entries.clear();
  s.databases.clear();
  s.rewrite = nullptr;
}

}  // namespace quill
