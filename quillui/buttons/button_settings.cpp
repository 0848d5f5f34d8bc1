#include "quillui/buttons/button_settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

#include "quillui/app/app_registry.h"
#include "quillui/profile/profile.h"

namespace quill {

namespace {

struct Settings {
  std::optional<int> hintLevel;
  std::optional<std::string> buttonsDir;
  std::optional<std::string> soundsDir;
  std::optional<int> pressedCel;
  std::optional<bool> tracking;
  std::optional<int> hintText;
};

Settings& State() {
  static Settings settings;
  return settings;
}

}  // namespace

std::string DirectoryWithSeparator(std::string dir) {
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
  return dir;
}

int PressedCellIndexFromText(const std::string& text) {
  if (text == "Default") return 2;
  if (text == "Last") return -1;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || errno == ERANGE) return 0;
  if (value < 0) return -1;
  return value > INT_MAX ? INT_MAX : int(value);
}

int ButtonHintTextLevel() {
  auto& s = State();
  if (!s.hintLevel) s.hintLevel = ZProfile().GetInt("DevParm", "HintTextLevel", 1);
  return *s.hintLevel;
}

const std::string& ButtonsDirectory() {
  auto& s = State();
  if (!s.buttonsDir)
    s.buttonsDir = DirectoryWithSeparator(ZProfile().Get("Directories", "Buttons", ""));
  return *s.buttonsDir;
}

const std::string& ButtonSoundsDirectory() {
  auto& s = State();
  if (!s.soundsDir) {
    s.soundsDir = DirectoryWithSeparator(ZProfile().Get("Directories", "ButtonSounds", ""));
  }
  return *s.soundsDir;
}

int DesiredPressedCelIndex() {
  auto& s = State();
  if (!s.pressedCel) {
    s.pressedCel =
        PressedCellIndexFromText(ZProfile().Get("Presentation", "PressedCellIndex", "Default"));
  }
  return *s.pressedCel;
}

int PresentationHintText() {
  auto& s = State();
  if (!s.hintText) s.hintText = ZProfile().GetInt("Presentation", "HintText", 1);
  return *s.hintText;
}

bool ButtonTracking() {
  auto& s = State();
  if (!s.tracking) {
    const ZVexFrame* frame = GetAppFrame();
    s.tracking = frame && frame->m_bTracking;
  }
  return *s.tracking;
}

void ForgetButtonSettings() { State() = Settings(); }

}  // namespace quill
