// Button and text gadgets: the press cycle and its command, losing the mouse, hints,
// exclusive groups, command enabling, bevels and glyph cels, glyph sources and text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillui/framework/base/module.h"
#include "quillui/framework/gadgets/text_gadget.h"
#include "quillui/framework/image/bmp_codec.h"
#include "tests/framework/gadget_test_support.h"

namespace quill::test {
namespace {

class ButtonGadgetTest : public GadgetFixture {};

TEST_F(ButtonGadgetTest, PressDragOutAndBackThenReleaseSendsTheCommandOnce) {
  MakeWindow();
  auto* button = Button(42);
  gw->Insert(*button);
  ASSERT_TRUE(sink.Create());

  TPoint in = OnScreen(*button, 4, 4);
  MouseDown(in.x, in.y);
  EXPECT_TRUE(button->IsPressed());
  EXPECT_EQ(GetCapture(), gw->GetHandle());
  EXPECT_EQ(gw->GetCaptureGadget(), button);

  MoveTo(*button, 40, 4);  // outside: the press is cancelled, the mouse stays with the button
  EXPECT_FALSE(button->IsPressed());
  EXPECT_EQ(GetCapture(), gw->GetHandle());
  MoveTo(*button, 2, 2);  // back in: pressed again
  EXPECT_TRUE(button->IsPressed());

  MouseUp(in.x, in.y);
  EXPECT_FALSE(button->IsPressed());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(sink.commands, std::vector<UINT>{42});

  // Released outside: no command.
  MouseDown(in.x, in.y);
  TPoint out = OnScreen(*button, 60, 4);
  MouseMove(out.x, out.y);
  MouseUp(out.x, out.y);
  EXPECT_EQ(sink.commands, std::vector<UINT>{42});
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonGadgetTest, LosingTheMouseCancelsThePressWithoutACommand) {
  MakeWindow();
  auto* button = Button(42);
  gw->Insert(*button);
  auto* other = new TWindow(&sink);
  other->Attr.X = 300;
  other->Attr.W = other->Attr.H = 10;
  ASSERT_TRUE(sink.Create());
  TPoint in = OnScreen(*button, 4, 4);
  MouseDown(in.x, in.y);
  ASSERT_TRUE(button->IsPressed());
  other->SetCapture();
  EXPECT_FALSE(button->IsPressed());
  EXPECT_EQ(gw->GetCaptureGadget(), nullptr);
  MouseUp(in.x, in.y);
  EXPECT_TRUE(sink.commands.empty());
}

TEST_F(ButtonGadgetTest, AWindowHoldingTheMouseKeepsItAndCommandsMayDeleteTheButton) {
  MakeWindow();
  auto* button = Button(5);
  gw->Insert(*button);
  ASSERT_TRUE(sink.Create());
  // A window that tracks the mouse itself (a menu) keeps it across a gadget's press.
  gw->SetCapture();
  TPoint in = OnScreen(*button, 4, 4);
  MouseDown(in.x, in.y);
  EXPECT_EQ(gw->GetCaptureGadget(), button);
  MouseUp(in.x, in.y);
  EXPECT_EQ(GetCapture(), gw->GetHandle());
  EXPECT_EQ(sink.commands, std::vector<UINT>{5});

  // The handler may take out and delete the very button that sent the command; the window
  // forgets it as the gadget under the mouse.
  gw->ReleaseCapture();
  sink.onCommand = [&](UINT) { delete gw->Remove(*button); };
  Click(in.x, in.y);
  EXPECT_EQ(gw->NumGadgets(), 0u);
  EXPECT_EQ(gw->GetMouseGadget(), nullptr);
  MouseMove(in.x + 1, in.y);
  gw->IdleAction(0);
  EXPECT_EQ(sink.commands, (std::vector<UINT>{5, 5}));
}

TEST_F(ButtonGadgetTest, HintsFollowTheWindowsHintMode) {
  MakeWindow();
  auto* button = Button(7);
  gw->Insert(*button);
  ASSERT_TRUE(sink.Create());
  EXPECT_EQ(gw->GetHintMode(), TGadgetWindow::EnterHints);
  MoveTo(*button, 1, 1);
  EXPECT_EQ(gw->GetHintCommand(), 7);
  MouseMove(300, 250);
  gw->IdleAction(0);
  EXPECT_EQ(gw->GetHintCommand(), -1);

  gw->SetHintMode(TGadgetWindow::PressHints);
  MoveTo(*button, 1, 1);
  EXPECT_EQ(gw->GetHintCommand(), -1);
  TPoint in = OnScreen(*button, 1, 1);
  MouseDown(in.x, in.y);
  EXPECT_EQ(gw->GetHintCommand(), 7);
  MouseUp(in.x, in.y);
  EXPECT_EQ(gw->GetHintCommand(), -1);
}

TEST_F(ButtonGadgetTest, ExclusiveButtonsPopUpTheRestOfTheirGroup) {
  using B = TButtonGadget;
  MakeWindow();
  B* a = Button(1, B::Exclusive);
  B* b = Button(2, B::Exclusive);
  B* c = Button(3, B::Exclusive);
  B* cmd = Button(4);
  B* e = Button(5, B::Exclusive);  // its own group: a command button stands between
  B* toggle = Button(6, B::NonExclusive);
  B* semi = Button(7, B::SemiExclusive);
  for (B* g : {a, b, c, cmd, e, toggle, semi}) gw->Insert(*g);
  ASSERT_TRUE(sink.Create());
  auto click = [&](B* g) {
    TPoint p = OnScreen(*g, 3, 3);
    Click(p.x, p.y);
  };
  auto states = [&] {
    std::string s;
    for (B* g : {a, b, c, cmd, e, toggle, semi}) s += "UDI"[g->GetButtonState()];
    return s;
  };

  click(e);
  click(b);
  EXPECT_EQ(states(), "UDUUDUU");
  click(a);
  EXPECT_EQ(states(), "DUUUDUU");
  click(c);
  EXPECT_EQ(states(), "UUDUDUU");
  click(c);  // already down: stays down and says so again
  EXPECT_EQ(states(), "UUDUDUU");
  click(toggle);
  click(toggle);
  click(semi);
  EXPECT_EQ(states(), "UUDUDUD");
  click(semi);  // a semi-exclusive button pops up silently
  EXPECT_EQ(states(), "UUDUDUU");
  EXPECT_EQ(sink.commands, (std::vector<UINT>{5, 2, 1, 3, 3, 6, 6, 7}));
}

// --- Command enabling --------------------------------------------------------------------------

TEST_F(ButtonGadgetTest, CommandEnablingAsksTheParentAtIdleCountZero) {
  MakeWindow();
  auto* off = Button(101);
  auto* checked =
      new TButtonGadget(Glyph({6, 6}, {TColor::LtRed}), 102, TButtonGadget::NonExclusive);
  auto* handled = new TButtonGadget(Glyph({6, 6}, {TColor::LtRed}), 103);  // starts disabled
  auto* unknown = Button(104);
  for (TGadget* g : std::vector<TGadget*>{off, checked, handled, unknown}) gw->Insert(*g);
  ASSERT_TRUE(sink.Create());

  gw->IdleAction(0);
  EXPECT_FALSE(off->GetEnabled());
  EXPECT_EQ(checked->GetButtonState(), TButtonGadget::Down);
  EXPECT_TRUE(handled->GetEnabled());  // the parent handles 103, so it is on
  EXPECT_TRUE(unknown->GetEnabled());  // nobody answers: left as it was

  // A disabled button ignores clicks.
  TPoint p = OnScreen(*off, 3, 3);
  Click(p.x, p.y);
  EXPECT_TRUE(sink.commands.empty());
  EXPECT_FALSE(off->IsPressed());

  sink.enable101 = true;
  gw->IdleAction(1);
  EXPECT_FALSE(off->GetEnabled());  // only idle count 0 asks
  gw->IdleAction(0);
  EXPECT_TRUE(off->GetEnabled());
  Click(p.x, p.y);
  EXPECT_EQ(sink.commands, std::vector<UINT>{101});
}

// --- Painting and glyphs ----------------------------------------------------------------------

TEST_F(ButtonGadgetTest, ButtonBevelIsRaisedAndSinksWhilePressed) {
  MakeWindow();  // no border, no margins: a 10 x 10 button at the client's corner
  auto* button = Button(9);
  gw->Insert(*button);
  ASSERT_TRUE(sink.Create());
  Pump();
  ASSERT_EQ(button->GetBounds(), TRect(0, 0, 10, 10));
  const uint8_t hi = IndexOf(kGadgetHighlightColor), sh = IndexOf(kGadgetShadowColor),
                face = IndexOf(kGadgetFaceColor), ink = IndexOf(TColor::LtRed);
  struct Px {
    int x, y;
    uint8_t up, down;
  };
  // Highlight owns the top row and left column, shadow the bottom row and right column with
  // both far corners; pressed swaps them and moves the glyph one pixel down and right.
  const Px pixels[] = {
      {0, 0, hi, sh}, {8, 0, hi, sh},     {9, 0, sh, hi},    {0, 8, hi, sh},   {0, 9, sh, hi},
      {9, 9, sh, hi}, {1, 1, face, face}, {2, 2, ink, face}, {7, 7, ink, ink}, {8, 8, face, ink},
  };
  for (const Px& p : pixels) EXPECT_EQ(PixelOf(*button, p.x, p.y), p.up) << p.x << "," << p.y;
  TPoint in = OnScreen(*button, 4, 4);
  MouseDown(in.x, in.y);
  Pump();
  for (const Px& p : pixels) EXPECT_EQ(PixelOf(*button, p.x, p.y), p.down) << p.x << "," << p.y;
  MouseUp(in.x, in.y);
  Pump();
  EXPECT_EQ(PixelOf(*button, 0, 0), hi);
}

TEST_F(ButtonGadgetTest, GlyphCelFollowsTheStateAndADisabledOneIsGreyed) {
  MakeWindow();
  // Cels: normal, disabled, indeterminate, down, pressed.
  auto* five = new TButtonGadget(Glyph({6, 6}, {TColor::LtRed, TColor::LtGreen, TColor::LtBlue,
                                                TColor::LtYellow, TColor::LtCyan}),
                                 1, TButtonGadget::NonExclusive, true);
  auto* one = new TButtonGadget(Glyph({6, 6}, {TColor::LtRed}), 2, TButtonGadget::Command, false);
  gw->Insert(*five);
  gw->Insert(*one);
  ASSERT_TRUE(sink.Create());
  auto centre = [&](TGadget& g) {
    Pump();
    return PixelOf(g, 5, 5);
  };
  EXPECT_EQ(centre(*five), IndexOf(TColor::LtRed));
  five->SetButtonState(TButtonGadget::Indeterminate);
  EXPECT_EQ(centre(*five), IndexOf(TColor::LtBlue));
  five->SetButtonState(TButtonGadget::Down);
  EXPECT_EQ(centre(*five), IndexOf(TColor::LtYellow));
  TPoint in = OnScreen(*five, 4, 4);
  MouseDown(in.x, in.y);
  EXPECT_EQ(centre(*five), IndexOf(TColor::LtCyan));
  MouseUp(in.x, in.y);
  five->SetEnabled(false);
  EXPECT_EQ(centre(*five), IndexOf(TColor::LtGreen));
  // One cel only: the normal glyph drawn in the shadow colour.
  EXPECT_EQ(centre(*one), IndexOf(kGadgetShadowColor));
}

TEST_F(ButtonGadgetTest, SharedGlyphsComeFromTheWindowsCelArray) {
  MakeWindow();
  gw->SetCelArray(Glyph({6, 6}, {TColor::LtRed, TColor::LtGreen}).release());
  auto* second = new TButtonGadget(1, 1, TButtonGadget::Command, true, TButtonGadget::Up, true);
  gw->Insert(*second);
  ASSERT_TRUE(sink.Create());
  Pump();
  ASSERT_NE(second->GetCelArray(), nullptr);
  EXPECT_EQ(second->GetCelArray()->CelSize(), TSize(6, 6));
  EXPECT_EQ(PixelOf(*second, 5, 5), IndexOf(TColor::LtGreen));
}

TEST_F(ButtonGadgetTest, GlyphsComeFromTheModulesBitmapResources) {
  TDib art(5, 4, 8, 2);
  art.SetColor(1, TColor::LtMagenta);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) art.SetPixelIndex(x, y, 1);
  std::string error;
  std::vector<uint8_t> bmp = EncodeBmp(art, &error);
  ASSERT_FALSE(bmp.empty()) << error;
  TModule module("buttons");
  module.Resources().AddBitmap({"PLAY", bmp});
  module.Resources().AddBitmap({"7", bmp});
  sink.SetModule(&module);
  MakeWindow();
  auto* named = new TButtonGadget("play", 1, TButtonGadget::Command, true);
  auto* numbered = new TButtonGadget(7, 2, TButtonGadget::Command, true);
  auto* missing = new TButtonGadget("nothing", 3, TButtonGadget::Command, true);
  for (TGadget* g : std::vector<TGadget*>{named, numbered, missing}) gw->Insert(*g);
  ASSERT_TRUE(sink.Create());
  Pump();
  EXPECT_EQ(named->GetBounds().Size(), TSize(5 + 4, 4 + 4));
  EXPECT_EQ(numbered->GetBounds().Size(), TSize(5 + 4, 4 + 4));
  EXPECT_EQ(missing->GetBounds().Size(), TSize(4, 4));  // border and padding only
  EXPECT_EQ(PixelOf(*named, 2, 2), IndexOf(TColor::LtMagenta));
  EXPECT_EQ(PixelOf(*numbered, 6, 5), IndexOf(TColor::LtMagenta));
  sink.Destroy();
  sink.SetModule(nullptr);
}

TEST_F(ButtonGadgetTest, TextGadgetAlignsAndClipsItsText) {
  if (!HaveFont()) GTEST_SKIP() << "no font";
  struct Text : TTextGadget {
    using TTextGadget::TextOrigin;
    using TTextGadget::TTextGadget;
  };
  MakeWindow();
  auto* t = new Text(0, TGadget::Recessed, TTextGadget::Right, 20, "Wig");
  gw->Insert(*t);
  int width = gw->GetFont().GetTextExtent("Wig").cx;
  ASSERT_GT(width, 0);
  const TRect inner(2, 2, 82, 12);
  EXPECT_EQ(t->TextOrigin(inner), TPoint(82 - width, 2));
  t->SetAlign(TTextGadget::Center);
  EXPECT_EQ(t->TextOrigin(inner), TPoint(2 + (80 - width) / 2, 2));
  t->SetText(std::string(60, 'W').c_str());  // wider than the room: starts at the left
  EXPECT_EQ(t->TextOrigin(inner), TPoint(2, 2));

  // Painted: ink only inside the inner rectangle, the border intact.
  t->SetNumChars(3);
  ASSERT_TRUE(sink.Create());
  Pump();
  TRect in;
  t->GetInnerRect(in);
  const uint8_t ink = IndexOf(kGadgetTextColor);
  int inside = 0, outside = 0;
  const TRect& b = t->GetBounds();
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (PixelOf(*t, x, y) == ink) (in.Contains(TPoint(x, y)) ? inside : outside)++;
  EXPECT_GT(inside, 0);
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(PixelOf(*t, 0, 0), IndexOf(kGadgetShadowColor));
  EXPECT_EQ(PixelOf(*t, b.Width() - 1, b.Height() - 1), IndexOf(kGadgetHighlightColor));
  t->SetText(nullptr);
  EXPECT_EQ(t->GetText(), nullptr);
}

}  // namespace
}  // namespace quill::test
