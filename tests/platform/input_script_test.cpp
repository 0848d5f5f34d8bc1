#include "quillui/platform/screen/input_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill::platform {
namespace {

std::vector<ScriptStep> Parse(std::string_view text) {
  std::vector<ScriptStep> steps;
  std::string error;
  EXPECT_TRUE(ParseInputScript(text, steps, &error)) << error;
  return steps;
}

TEST(InputScript, ClicksKeysTypingWaitsAndShots) {
  auto steps = Parse(
      "# a tour; with a semicolon\nclick 10 20; dblclick 1 2 # two; clicks\nkey "
      "Ctrl+Shift+Left\ntype ab c \nwait 250; shot "
      "a-1.png\n"
      "drag 0 0 10 20; wheel 5 5 -2");
  ASSERT_EQ(steps.size(), 3u + 5u + 6u + 4u + 2u + 5u + 2u);
  EXPECT_EQ(steps[1].event.kind, InputKind::ButtonDown);
  EXPECT_EQ(steps[1].event.x, 10);
  EXPECT_EQ(steps[1].event.y, 20);
  // Ctrl and Shift are pressed as keys of their own around the key, and let go after it.
  EXPECT_EQ(steps[8].event.virtualKey, 0x11u);
  EXPECT_EQ(steps[9].event.virtualKey, 0x10u);
  EXPECT_EQ(steps[13].event.virtualKey, 0x11u);
  EXPECT_EQ(steps[13].event.kind, InputKind::KeyUp);
  const InputEvent& key = steps[10].event;
  EXPECT_EQ(key.kind, InputKind::KeyDown);
  EXPECT_EQ(key.virtualKey, 0x25u);
  EXPECT_EQ(key.modifiers, kModCtrl | kModShift);
  std::string typed;
  for (size_t i = 14; i < 18; ++i) typed += char(steps[i].event.character);
  EXPECT_EQ(typed, "ab c");
  EXPECT_EQ(steps[18].kind, ScriptStep::kWait);
  EXPECT_EQ(steps[18].waitMs, 250u);
  EXPECT_EQ(steps[19].kind, ScriptStep::kShot);
  EXPECT_EQ(steps[19].shot, "a-1.png");
  EXPECT_EQ(steps[24].event.kind, InputKind::ButtonUp);
  EXPECT_EQ(steps[24].event.x, 10);
  EXPECT_EQ(steps.back().event.wheelDelta, -240);
}

// Backspace, Tab, Return and Escape type their character between press and release, as the
// display backend delivers them from the keyboard; other keys type nothing.
TEST(InputScript, KeysThatTypeAControlCharacterTypeIt) {
  const struct {
    const char* key;
    uint32_t character;  // 0: none
  } cases[] = {{"Backspace", 0x08}, {"Tab", 0x09}, {"Return", 0x0D},
               {"Escape", 0x1B},    {"Left", 0},   {"Alt+Left", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const auto steps = Parse(std::string("key ") + c.key);
    std::vector<InputKind> kinds;
    uint32_t typed = 0;
    for (const ScriptStep& s : steps) {
      if (s.event.virtualKey == 0x12) continue;  // Alt's own press and release
      kinds.push_back(s.event.kind);
      if (s.event.kind == InputKind::Char) typed = s.event.character;
    }
    if (c.character) {
      EXPECT_EQ(kinds,
                (std::vector<InputKind>{InputKind::KeyDown, InputKind::Char, InputKind::KeyUp}));
    } else {
      EXPECT_EQ(kinds, (std::vector<InputKind>{InputKind::KeyDown, InputKind::KeyUp}));
    }
    EXPECT_EQ(typed, c.character);
  }
}

TEST(InputScript, RefusesWhatItCannotRead) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"click 10", "command 1: 'click' needs two coordinates (0..4096)"},
      {"move 1 1; click 5000 1", "command 2: 'click' needs two coordinates (0..4096)"},
      {"key F13", "command 1: unknown key 'F13'"},
      {"shot ../x.png", "command 1: 'shot' needs a plain file name ending in .png"},
      {"shot x.bmp", "command 1: 'shot' needs a plain file name ending in .png"},
      {"wait -1", "command 1: 'wait' needs milliseconds (0..600000)"},
      {"jump 1 2", "command 1: unknown command 'jump'"},
      {"type caf\xc3\xa9", "command 1: 'type' takes printable characters only"},
  };
  for (const auto& c : cases) {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_FALSE(ParseInputScript(c.text, steps, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

}  // namespace
}  // namespace quill::platform
