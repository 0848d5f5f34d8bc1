// Fuzz target for the fly menus' setting texts: a colour ("R G B") and the mouse slack round
// a menu ("cx cy"), as a settings file gives them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quillui/menus/fly_menu_settings.h"
#include "quillui/menus/menu_colors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const quill::COLORREF color = quill::ParseMenuColor(text);
  // Always a palette-relative colour.
  if ((color >> 24) != 0x02) std::abort();
  const quill::TSize fudge = quill::ParseFudgeSize(text);
  const int limit = quill::ZFlyMenuSettings::kMaxFudge;
  if (fudge.cx < -limit || fudge.cx > limit || fudge.cy < -limit || fudge.cy > limit) std::abort();
  return 0;
}
