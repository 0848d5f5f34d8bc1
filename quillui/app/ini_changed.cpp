#include "quillui/app/ini_changed.h"

#include <algorithm>
#include <vector>

#include "quillui/app/app_registry.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/base/containers.h"
#include "quillui/framework/window/window.h"

namespace quill {

namespace {

struct Hook {
  int id;
  IniChangedStage stage;
  std::function<void()> fn;
};

std::vector<Hook>& Hooks() {
  static std::vector<Hook> hooks;
  return hooks;
}
int g_nextId = 1;

}  // namespace

int AddIniChangedHook(IniChangedStage stage, std::function<void()> hook) {
  auto& hooks = Hooks();
  int id = g_nextId++;
  WithOutOfMemoryError([&] {
    // Keep the list sorted by stage; a new hook goes behind the others of its stage.
    auto at = std::upper_bound(hooks.begin(), hooks.end(), stage,
                               [](IniChangedStage s, const Hook& h) { return s < h.stage; });
    hooks.insert(at, Hook{id, stage, std::move(hook)});
  });
  return id;
}

void RemoveIniChangedHook(int id) {
  auto& hooks = Hooks();
  hooks.erase(
      std::remove_if(hooks.begin(), hooks.end(), [id](const Hook& h) { return h.id == id; }),
      hooks.end());
}

void NotifyIniChanged() {
  // A hook may add or remove hooks; walk a copy, and skip any removed meanwhile.
  std::vector<Hook> snapshot = Hooks();
  for (const Hook& h : snapshot) {
    const auto& now = Hooks();
    bool still = std::any_of(now.begin(), now.end(), [&](const Hook& x) { return x.id == h.id; });
    if (still && h.fn) h.fn();
  }
  if (TWindow* frame = GetAppFrameTWindow()) frame->SendMessage(WmuIniChanged, 0, 0);
}

void ResetIniChangedHooks() { Hooks().clear(); }

}  // namespace quill
