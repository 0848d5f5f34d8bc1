#include "quillui/titlebar/title_bar_settings.h"

#include <algorithm>
#include <optional>

#include "quillui/menus/menu_colors.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/titlebar.h"

namespace quill {

namespace {

std::optional<ZTitleBarSettings>& Stored() {
  static std::optional<ZTitleBarSettings> settings;
  return settings;
}

uint32_t ReadClamped(const char* key, int def, int low, int high) {
  return uint32_t(std::clamp(ZProfile().GetInt("View", key, def), low, high));
}

ZTitleBarSettings& Mutable() {
  std::optional<ZTitleBarSettings>& s = Stored();
  if (s) return *s;
  ZTitleBarSettings v;
  v.m_clrActiveBkgnd = ReadMenuColor("View", "TBarActiveColor", "30 50 152");
  v.m_clrInActiveBkgnd = ReadMenuColor("View", "TBarInActiveColor", "128 128 128");
  v.m_clrActiveTxt = ReadMenuColor("View", "TBarActiveTxtColor", "255 255 255");
  v.m_clrInActiveTxt = ReadMenuColor("View", "TBarInActiveTxtColor", "242 242 242");
  v.m_clrShadow = ReadMenuColor("View", "TBarShadowColor", "167 167 167");
  v.m_uiIniShadowWidth = ReadClamped("TBarShadowWidth", 2, 0, ZTitleBarSettings::kMaxShadowWidth);
  v.m_uiHeight =
      ReadClamped("TBarHeight", 21, ZTitleBarSettings::kMinHeight, ZTitleBarSettings::kMaxHeight);
  v.m_uiMenuDelay = ReadClamped("TBarMenuDelay", 25, 0, ZTitleBarSettings::kMaxMenuDelay);
  v.m_clrIconActive = ReadMenuColor("View", "IconActiveColor", "30 50 152");
  v.m_clrIconInActive = ReadMenuColor("View", "IconInActiveColor", "128 128 128");
  v.m_clrIconHilight = ReadMenuColor("View", "IconHilightColor", "30 50 152");
  s = v;
  return *s;
}

}  // namespace

const ZTitleBarSettings& TitleBarSettings() { return Mutable(); }

void SetTitleBarIconColors(COLORREF active, COLORREF inactive, COLORREF hilight) {
  ZTitleBarSettings& s = Mutable();
  s.m_clrIconActive = active;
  s.m_clrIconInActive = inactive;
  s.m_clrIconHilight = hilight;
}

void ResetTitleBarSettings() { Stored().reset(); }

}  // namespace quill
