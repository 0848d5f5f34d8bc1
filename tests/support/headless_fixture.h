// Test fixture: a fresh window system on the headless screen with a manual clock, torn down
// after each test, plus helpers that inject input and drive the loop.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillui/framework/window/application.h"
#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/clock.h"
#include "quillui/platform/screen/headless/headless_backend.h"

namespace quill::test {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs loop rounds until nothing is left to do (bounded, so a fault cannot hang a test).
  int Pump(int maxRounds = 100);
  void Advance(uint64_t ms) { clock->Advance(ms); }

  void MouseMove(int x, int y);
  void MouseDown(int x, int y, platform::MouseButton b = platform::MouseButton::Left);
  void MouseUp(int x, int y, platform::MouseButton b = platform::MouseButton::Left);
  void Click(int x, int y);
  void Key(UINT vk, bool down = true);

  uint8_t ScreenPixel(int x, int y) { return TWindowSystem::Get().Screen().GetPixel(x, y); }
  uint8_t IndexOf(TColor c) { return TWindowSystem::Get().Screen().NearestIndex(c); }

  platform::ManualClock* clock = nullptr;
  platform::HeadlessBackend* backend = nullptr;

 private:
  // Every injector: the event through the backend, then the loop until it is handled.
  void InjectAndPump(const platform::InputEvent& event);
};

// A window that records the messages it handles, by name, into a shared log.
class TRecorder : public TWindow {
 public:
  TRecorder(TWindow* parent, std::string name, std::vector<std::string>* log, TRect bounds = {},
            uint32_t style = 0);

  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  std::string name;
  std::vector<std::string>* log;
  bool recordMouseMoves = true;
};

// Readable name of a message number ("WM_PAINT", or the number in hex).
std::string MessageName(UINT msg);

}  // namespace quill::test
