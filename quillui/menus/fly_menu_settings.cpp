#include "quillui/menus/fly_menu_settings.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "quillui/app/ini_changed.h"
#include "quillui/menus/menu_colors.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/menus.h"

namespace quill {

namespace {

struct State {
  std::optional<ZFlyMenuSettings> settings;
  int hookId = 0;
};

State& S() {
  static State state;
  return state;
}

uint32_t ReadClamped(const char* key, int def, int low, int high) {
  return uint32_t(std::clamp(ZProfile().GetInt("View", key, def), low, high));
}

bool ReadPlaySound() { return ZProfile().GetBool("Prefs", "ButtonSounds", false); }

}  // namespace

const ZFlyMenuSettings& FlyMenuSettings() {
  State& s = S();
  if (s.settings) return *s.settings;
  ZFlyMenuSettings v;
  v.m_dwMinFlyTime = ReadClamped("MenuMinFlyTime", 100, 0, ZFlyMenuSettings::kMaxTimeMs);
  v.m_dwMaxTime = ReadClamped("MenuMaxTime", 300, 0, ZFlyMenuSettings::kMaxTimeMs);
  v.m_uiBlockWidth = ReadClamped("MenuBlockWidth", 2, 1, ZFlyMenuSettings::kMaxBlocks);
  v.m_dwBlockFlyMin = ReadClamped("MenuBlockFlyMin", 10, 0, ZFlyMenuSettings::kMaxBlocks);
  v.m_uiSubMenuDelay = ReadClamped("MenuSubDelay", 250, 0, ZFlyMenuSettings::kMaxTimeMs);
  v.m_clrMenuBkgnd = GetMenuBkgndColor();
  v.m_clrMenuHilight = ReadMenuColor("View", "MenuHilightColor", "242 242 242");
  v.m_bPlaySound = ReadPlaySound();
  v.m_sizeFudgeBuff = ParseFudgeSize(ZProfile().Get("View", "MenuFudgeSize", "0 0"));
  v.m_strSoundDir = ZProfile().GetPath("Directories", "ButtonSounds", "");
  s.settings = std::move(v);
  if (s.hookId == 0) s.hookId = AddIniChangedHook(eINI_STAGE_FLYMENUS, &ReReadFlyMenuSound);
  return *s.settings;
}

void ReReadFlyMenuSound() {
  State& s = S();
  if (!s.settings) {
    FlyMenuSettings();
    return;
  }
  s.settings->m_bPlaySound = ReadPlaySound();
}

TSize ParseFudgeSize(std::string_view text) {
  const std::vector<std::string> tokens = SettingTokens(text, 2);
  if (tokens.size() < 2) return {0, 0};
  auto value = [](const std::string& t) {
    const long v = std::strtol(t.c_str(), nullptr, 10);
    return int(std::clamp<long>(v, -ZFlyMenuSettings::kMaxFudge, ZFlyMenuSettings::kMaxFudge));
  };
  return {value(tokens[0]), value(tokens[1])};
}

std::string JoinSoundPath(const std::string& dir, const std::string& file) {
  std::string path = dir;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  return path + file;
}

void ResetFlyMenuSettings() {
  State& s = S();
  s.settings.reset();
  if (s.hookId != 0) RemoveIniChangedHook(s.hookId);
  s.hookId = 0;
}

}  // namespace quill
