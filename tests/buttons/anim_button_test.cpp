// The animated button: its short name, pressed cel and low-memory strip, the click animation
// on the bar's timer, hints and tool tips, click sounds and a strip that cannot be loaded.
#include <gtest/gtest.h>

#include <algorithm>

#include "buttons/buttons_fixture.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/ini_changed.h"
#include "quillui/app/user_messages.h"
#include "quillui/bars/control_bar.h"
#include "quillui/buttons/anim_button_gadget.h"
#include "quillui/framework/image/cel_array.h"
#include "quillui/platform/audio/null/null_wave_out.h"
#include "quillui/sound/wave_out_api.h"
#include "sound/wave_bytes.h"

namespace quill::test {
namespace {

// Records the cel each paint draws and when.
class RecordingButton : public ZAnimButtonGadget {
 public:
  RecordingButton(const char* file, int id, int cels, bool allowSmall = false)
      : ZAnimButtonGadget(file, id, nullptr, cels, allowSmall, false) {}
  void Paint(TDC& dc) override {
    painted.push_back({CelToPaint(), TWindowSystem::Get().Clock().NowMs()});
    ZAnimButtonGadget::Paint(dc);
  }
  struct Shown {
    int cel;
    uint64_t at;
    bool operator==(const Shown&) const = default;
  };
  std::vector<Shown> painted;
};

// The application frame: records the hint texts and tool tips it is sent.
class Frame : public TWindow, public ZVexFrame {
 public:
  Frame() : TWindow(nullptr, "frame") {}
  TWindow& GetFrameTWindow() override { return *this; }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuSetHintText) hints.push_back(reinterpret_cast<const char*>(lp));
    if (msg == WmuSetToolTip) tips.push_back(reinterpret_cast<TToolInfo*>(lp)->text);
    return TWindow::WindowProc(msg, wp, lp);
  }
  std::vector<std::string> hints, tips;
};

class AnimButtonTest : public ButtonsTest {
 protected:
  ZControlBar* MakeBar() {
    bar = new ZControlBar(&sink, TGadgetWindow::Horizontal, TColor::LtGray);
    bar->Attr.W = 300;
    bar->Attr.H = 30;
    return bar;
  }
  ZControlBar* bar = nullptr;
};

TEST_F(AnimButtonTest, ShortNameIsTheBaseNameWithoutFolderOrExtension) {
  for (const char* file : {"C:\\art\\pbnext.bmp", "pbnext.bmp", "pbnext", "cd:\\a.b\\pbnext"}) {
    WriteStrip("pbnext.bmp", 3);
    ZAnimButtonGadget button(file, 7107, nullptr, 3, false, false);
    EXPECT_EQ(button.get_token(), "pbnext") << file;
  }
  // No bevel or margin: the button is one cel, as its keying takes it to be.
  ZAnimButtonGadget button("pbnext.bmp", 7107, nullptr, 3, false, false);
  TSize size;
  button.GetDesiredSize(size);
  EXPECT_EQ(size, TSize(24, 20));
}

TEST_F(AnimButtonTest, PressedCelIndexFollowsTheSettingAndStaysInsideTheStrip) {
  WriteStrip("pbsix.bmp", 6);
  struct Case {
    const char* setting;  // null: no key
    int expected;
  };
  // "-3" and "9" would name cels outside a six-cel strip: both give the last one.
  for (const Case& c : {Case{nullptr, 2}, Case{"Default", 2}, Case{"Last", 5}, Case{"9", 5},
                        Case{"4", 4}, Case{"-3", 5}, Case{"0", 0}}) {
    WriteSettings(c.setting ? std::string("[Presentation]\nPressedCellIndex=") + c.setting : "");
    ZAnimButtonGadget button("pbsix.bmp", 1, nullptr, 6, true, false);
    EXPECT_EQ(button.GetPressedCelIndex(), c.expected) << (c.setting ? c.setting : "(none)");
  }
}

TEST_F(AnimButtonTest, LowMemoryKeepsNormalHoverAndPressedCelsOnly) {
  WriteStrip("pbsix.bmp", 6);
  WriteStrip("pbthree.bmp", 3);
  WriteSettings("[Presentation]\nPressedCellIndex=4");
  SetAppMemoryLevel(0);
  ZAnimButtonGadget small("pbsix.bmp", 1, nullptr, 6, true, false);
  ZAnimButtonGadget full("pbsix.bmp", 2, nullptr, 6, false, false);
  ZAnimButtonGadget three("pbthree.bmp", 3, nullptr, 3, true, false);
  ASSERT_TRUE(small.IsOK());
  const TCelArray& cels = *small.GetCelArray();
  EXPECT_EQ(cels.NumCels(), 3);
  EXPECT_EQ(small.GetNumCels(), 3);
  EXPECT_EQ(small.GetPressedCelIndex(), 2);
  for (int slot = 0; slot < 3; ++slot) {
    const int from = slot == 2 ? 4 : slot;
    EXPECT_EQ(cels.GetDib()->GetPixelIndex(slot * 24 + 3, 7), CelIndex(from)) << slot;
  }
  EXPECT_EQ(cels.GetDib()->Width(), 72);
  EXPECT_EQ(full.GetCelArray()->NumCels(), 6);
  EXPECT_EQ(three.GetCelArray()->NumCels(), 3);
}

TEST_F(AnimButtonTest, SixCelClickShowsCelsThreeFourFiveAndSendsWithTheLast) {
  WriteStrip("pbsix.bmp", 6);
  MakeBar();
  auto* button = new RecordingButton("pbsix.bmp", 7107, 6);
  bar->Insert(*button);
  ASSERT_TRUE(sink.Create());
  Pump();
  const uint64_t t0 = clock->NowMs();
  ClickOn(*button);
  EXPECT_TRUE(sink.commands.empty());
  EXPECT_EQ(bar->GetAnimatingGadget(), button);
  button->painted.clear();
  Advance(199);
  Pump();
  EXPECT_TRUE(button->painted.empty());
  Advance(1);
  Pump();
  EXPECT_TRUE(sink.commands.empty());
  Advance(200);
  Pump();
  ASSERT_EQ(sink.commands, std::vector<UINT>{7107});
  ASSERT_GE(button->painted.size(), 2u);
  EXPECT_EQ(button->painted[0], (RecordingButton::Shown{4, t0 + 200}));
  EXPECT_EQ(button->painted[1], (RecordingButton::Shown{5, t0 + 400}));
  EXPECT_EQ(bar->GetAnimatingGadget(), nullptr);
  EXPECT_EQ(bar->GetAnimationTimer(), 0u);
  EXPECT_EQ(button->GetAnimationIndex(), 0);
}

TEST_F(AnimButtonTest, ClickShowsCelThreeAtOnce) {
  WriteStrip("pbsix.bmp", 6);
  MakeBar();
  auto* button = new RecordingButton("pbsix.bmp", 7107, 6);
  bar->Insert(*button);
  ASSERT_TRUE(sink.Create());
  Pump();
  const TPoint p = OnScreen(*button);
  MouseDown(p.x, p.y);
  button->painted.clear();
  MouseUp(p.x, p.y);
  ASSERT_FALSE(button->painted.empty());
  EXPECT_EQ(button->painted.front().cel, 3);
}

TEST_F(AnimButtonTest, ButtonsThatCannotAnimateSendAtOnceShowingTheirLastCel) {
  WriteStrip("pbsix.bmp", 6);
  WriteStrip("pbthree.bmp", 3);
  MakeBar();
  auto* first = new RecordingButton("pbsix.bmp", 1, 6);
  auto* second = new RecordingButton("pbsix.bmp", 2, 6);
  auto* three = new RecordingButton("pbthree.bmp", 3, 3);
  bar->Insert(*first);
  bar->Insert(*second);
  bar->Insert(*three);
  // A six-cel button on a gadget window that has no animation timer.
  auto* plain = new TGadgetWindow(&sink);
  plain->Attr.Y = 50;
  plain->Attr.W = 300;
  auto* loose = new RecordingButton("pbsix.bmp", 4, 6);
  plain->Insert(*loose);
  ASSERT_TRUE(sink.Create());
  Pump();

  ClickOn(*first);  // animating from now on
  second->painted.clear();
  ClickOn(*second);  // refused: the bar's timer is taken
  EXPECT_EQ(sink.commands, std::vector<UINT>{2});
  std::vector<int> shown;
  for (const auto& p : second->painted) shown.push_back(p.cel);
  EXPECT_NE(std::find(shown.begin(), shown.end(), 5), shown.end());
  EXPECT_EQ(std::find(shown.begin(), shown.end(), 3), shown.end());
  EXPECT_EQ(bar->GetAnimatingGadget(), first);

  ClickOn(*three);
  ClickOn(*loose);
  EXPECT_EQ(sink.commands, (std::vector<UINT>{2, 3, 4}));
  for (int tick = 0; tick < 2; ++tick) {
    Advance(200);
    Pump();
  }
  EXPECT_EQ(sink.commands, (std::vector<UINT>{2, 3, 4, 1}));
}

TEST_F(AnimButtonTest, PaintNeverPicksACelPastTheStrip) {
  WriteStrip("pbsix.bmp", 6);
  MakeBar();
  auto* button = new RecordingButton("pbsix.bmp", 1, 6, true);
  bar->Insert(*button);
  ASSERT_TRUE(sink.Create());
  Pump();
  ClickOn(*button);
  ASSERT_EQ(button->GetAnimationIndex(), 4);
  // Memory runs low mid-animation: the strip is cut to three cels when it is built again.
  SetAppMemoryLevel(0);
  button->BuildCelArray();
  ASSERT_EQ(button->GetCelArray()->NumCels(), 3);
  EXPECT_EQ(button->CelToPaint(), 2);
  Advance(200);
  Pump();
  EXPECT_EQ(sink.commands, std::vector<UINT>{1});
}

TEST_F(AnimButtonTest, AnimatingButtonLeavingTheBarStopsTheTimer) {
  WriteStrip("pbsix.bmp", 6);
  MakeBar();
  auto* button = new ZAnimButtonGadget("pbsix.bmp", 1, nullptr, 6, false, false);
  bar->Insert(*button);
  ASSERT_TRUE(sink.Create());
  Pump();
  ClickOn(*button);
  ASSERT_EQ(bar->GetAnimatingGadget(), button);
  delete button;  // takes itself out of the bar
  EXPECT_EQ(bar->GetAnimatingGadget(), nullptr);
  EXPECT_EQ(bar->GetAnimationTimer(), 0u);
  Advance(1000);
  Pump();
  EXPECT_TRUE(sink.commands.empty());
}

TEST_F(AnimButtonTest, HintsAndToolTipsByLevel) {
  WriteStrip("pbnext.bmp", 3);
  WriteStrip("pbprev.bmp", 3);
  Frame frame;
  SetAppFrame(&frame);
  ASSERT_TRUE(frame.Create());
  struct Case {
    int level;
    bool shift;
    const char* file;
    int id;
    const char* hint;  // null: none shown
    bool tip;
  };
  const Case cases[] = {
      {1, false, "pbnext.bmp", 7107, "Next article", true},
      {1, false, "pbprev.bmp", 7106, nullptr, false},      // no text: nothing shown
      {1, false, "pbnext.bmp", 0, "Next article", false},  // id 0: hint but no tool tip
      {2, true, "pbnext.bmp", 7107, "pbnext", true},
      {2, false, "pbprev.bmp", 7106, "CAN'T FIND: pbprev", true},
  };
  for (const Case& c : cases) {
    WriteSettings("[DevParm]\nHintTextLevel=" + std::to_string(c.level) +
                  "\n[HintText]\npbnext=Next article\n");
    SetAppFrame(&frame);
    frame.hints.clear();
    frame.tips.clear();
    TGadgetWindow window(&sink);
    auto* button = new ZAnimButtonGadget(c.file, c.id, nullptr, 3, false, false);
    window.Insert(*button);
    if (c.shift) Key(VK_SHIFT, true);
    button->MouseEnter(0, TPoint(1, 1));
    if (c.shift) Key(VK_SHIFT, false);
    const std::string label = std::string(c.file) + " level " + std::to_string(c.level);
    if (c.hint) {
      EXPECT_EQ(frame.hints, std::vector<std::string>{c.hint}) << label;
    } else {
      EXPECT_TRUE(frame.hints.empty()) << label;
    }
    EXPECT_EQ(button->GetToolTip() != nullptr, c.tip) << label;
    EXPECT_EQ(frame.tips.size(), c.tip ? 1u : 0u) << label;
  }
}

TEST_F(AnimButtonTest, SoundWithBangPlaysSynchronouslyFromTheSoundsFolder) {
  auto log = std::make_shared<platform::NullPlayLog>();
  SetWaveOutBackend("null");
  platform::SetNullWaveOutPlayLog(log);
  std::filesystem::create_directories(dir / "sounds");
  const Bytes wave =
      Riff("WAVE", {Chunk("fmt ", FmtBody(1, 11025, 8)), Chunk("data", Bytes(1103, 128))});
  WriteBytes((dir / "sounds" / "clk.wav").string(), wave);
  WriteBytes((dir / "sounds" / "up.wav").string(), wave);
  // The folder is written without its closing separator.
  WriteSettings("[Prefs]\nButtonSounds=1\n[Directories]\nMedia=" + dir.string() +
                "\nButtonSounds=" + (dir / "sounds").string() +
                "\n[ClickSound]\npbnext=clk.wav!\n[Sound]\npbnext=up.wav\n");
  WriteStrip("pbnext.bmp", 3);
  MakeBar();
  auto* button = new ZAnimButtonGadget("pbnext.bmp", 7107, nullptr, 3, false, false);
  bar->Insert(*button);
  ASSERT_TRUE(sink.Create());
  Pump();
  const TPoint p = OnScreen(*button);
  const uint64_t before = clock->NowMs();
  MouseDown(p.x, p.y);
  // Synchronous: the press waited the click's 100 ms on the clock.
  EXPECT_GE(clock->NowMs() - before, 100u);
  EXPECT_EQ(log->Snapshot().size(), 1u);
  const uint64_t afterPress = clock->NowMs();
  MouseUp(p.x, p.y);
  EXPECT_EQ(clock->NowMs(), afterPress);  // the release sound does not wait
  EXPECT_EQ(log->Snapshot().size(), 2u);
  platform::SetNullWaveOutPlayLog(nullptr);
  SetWaveOutBackend("");
}

TEST_F(AnimButtonTest, SettingsChangeRereadsOnlyTheSoundSwitch) {
  WriteStrip("pbnext.bmp", 3);
  WriteSettings("[Prefs]\nButtonSounds=0\n[DevParm]\nHintTextLevel=1\n");
  ZAnimButtonGadget button("pbnext.bmp", 1, nullptr, 3, false, false);
  EXPECT_FALSE(ZAnimButtonGadget::SoundsEnabled());
  std::ofstream(dir / "quillonary.ini", std::ios::trunc)
      << "[Prefs]\nButtonSounds=1\n[Directories]\nMedia=" << dir.string() << "\n";
  NotifyIniChanged();
  EXPECT_TRUE(ZAnimButtonGadget::SoundsEnabled());
}

TEST_F(AnimButtonTest, UnloadableButtonIsReportedAndHasNoCels) {
  ZAnimButtonGadget button("pbnone.bmp", 1, "extra", 3, false, false);
  EXPECT_FALSE(button.IsOK());
  EXPECT_TRUE(Reported("Invalid button: pbnone.bmp", "Error"));
  EXPECT_EQ(button.GetFileName(), "pbnone.bmp");
  // Without "pbfullsc.bmp" in the buttons' folder either; with it the button shows that.
  WriteStrip("pbfullsc.bmp", 3);
  WriteSettings("[Directories]\nButtons=" + (dir / "buttons").string());
  ZAnimButtonGadget fallback("pbnone.bmp", 2, nullptr, 3, false, false);
  EXPECT_TRUE(fallback.IsOK());
  EXPECT_EQ(fallback.GetFileName(), (dir / "buttons" / "pbfullsc.bmp").string());
}

}  // namespace
}  // namespace quill::test
