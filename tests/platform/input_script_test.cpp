#include "quillui/platform/screen/input_script.h"

#include <gtest/gtest.h>

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
