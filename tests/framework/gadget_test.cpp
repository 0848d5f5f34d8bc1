// Gadget windows: tiling to the pixel, desired sizes, layout sessions, the gadget list, mouse
// enter and leave, painting in gadget coordinates, control bars and cel arrays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillui/framework/gadgets/control_bar.h"
#include "quillui/framework/gadgets/text_gadget.h"
#include "tests/framework/gadget_test_support.h"

namespace quill::test {
namespace {

class GadgetTest : public GadgetFixture {};

// --- Layout ------------------------------------------------------------------------------------

TEST_F(GadgetTest, TilesAlongTheDirectionInsideMarginsAndBorderToThePixel) {
  struct Case {
    TGadgetWindow::TTileDirection dir;
    TSize windowSize;  // after creation: the shrink-wrapped side follows the gadgets
    TRect a, b, c;
  };
  // Client = window less the 1-pixel border; margins left 3, right 4, top 5, bottom 6.
  const Case cases[] = {
      {TGadgetWindow::Horizontal,
       {200, 16 + 5 + 6 + 2},
       {3, 8, 23, 18},
       {23, 5, 53, 21},
       {53, 7, 63, 19}},
      {TGadgetWindow::Vertical,
       {30 + 3 + 4 + 2, 200},
       {8, 5, 28, 15},
       {3, 15, 33, 31},
       {13, 31, 23, 43}},
  };
  for (const Case& c : cases) {
    Sink s;
    gw = new TGadgetWindow(&s, c.dir);
    gw->Attr.W = gw->Attr.H = 200;
    gw->Attr.Style |= WS_BORDER;
    gw->SetMargins(TMargins(TMargins::Pixels, 3, 4, 5, 6));
    auto* a = new Box(1, {20, 10});
    auto* b = new Box(2, {30, 16});
    auto* g3 = new Box(3, {10, 12});
    gw->Insert(*a);
    gw->Insert(*b);
    gw->Insert(*g3);
    ASSERT_TRUE(s.Create());
    SCOPED_TRACE(c.dir == TGadgetWindow::Horizontal ? "horizontal" : "vertical");
    EXPECT_EQ(gw->GetBounds().Size(), c.windowSize);
    EXPECT_EQ(a->GetBounds(), c.a);
    EXPECT_EQ(b->GetBounds(), c.b);
    EXPECT_EQ(g3->GetBounds(), c.c);
    TRect inner;
    gw->GetInnerRect(inner);
    EXPECT_EQ(inner.TopLeft(), TPoint(3, 5));
  }
}

TEST_F(GadgetTest, WideAsPossibleGadgetsShareTheRoomLeft) {
  MakeWindow();  // 200 wide, no border, no margins
  auto* a = new Box(1, {20, 10});
  auto* w1 = new Box(2, {5, 10});
  auto* b = new Box(3, {30, 10});
  auto* w2 = new Box(4, {5, 10});
  w1->SetWideAsPossible();
  w2->SetWideAsPossible();
  for (TGadget* g : std::vector<TGadget*>{a, w1, b, w2}) gw->Insert(*g);
  ASSERT_TRUE(sink.Create());
  // 200 - 60 = 140 left over, 70 each; an odd remainder would go to the first.
  EXPECT_EQ(w1->GetBounds(), TRect(20, 0, 95, 10));
  EXPECT_EQ(b->GetBounds(), TRect(95, 0, 125, 10));
  EXPECT_EQ(w2->GetBounds(), TRect(125, 0, 200, 10));

  gw->MoveWindow(0, 0, 201, 10);
  EXPECT_EQ(w1->GetBounds().Width(), 76);
  EXPECT_EQ(w2->GetBounds().Width(), 75);
}

TEST_F(GadgetTest, DesiredSizesFollowBordersMarginsAndShrinkWrap) {
  // Gadget level: each border style's width on every side, plus pixel margins.
  struct Style {
    TGadget::TBorderStyle style;
    int width;
  };
  for (Style s : {Style{TGadget::None, 0}, Style{TGadget::Plain, 1}, Style{TGadget::Raised, 1},
                  Style{TGadget::Recessed, 1}, Style{TGadget::Embossed, 2}}) {
    Box box(1, {10, 4});
    box.SetBorderStyle(s.style);
    box.SetMargins(TMargins(TMargins::Pixels, 1, 2, 3, 4));
    TSize d;
    box.GetDesiredSize(d);
    EXPECT_EQ(d, TSize(10 + 3 + 2 * s.width, 4 + 7 + 2 * s.width)) << s.style;
  }
  // A plain gadget keeps its bounds' extent in each dimension it does not shrink-wrap.
  TGadget plain(7, TGadget::Raised);
  plain.SetBounds({0, 0, 33, 9});
  TSize d;
  plain.GetDesiredSize(d);
  EXPECT_EQ(d, TSize(33, 9));
  plain.SetShrinkWrap(false, true);
  plain.GetDesiredSize(d);
  EXPECT_EQ(d, TSize(33, 2));

  // Window level: both dimensions shrink-wrapped, border and layout-unit margins.
  MakeWindow(TGadgetWindow::Horizontal, WS_BORDER);
  gw->SetShrinkWrap(true, true);
  gw->SetMargins(TMargins(TMargins::LayoutUnits, 8, 8, 4, 0));
  gw->Insert(*new Box(1, {20, 10}));
  gw->Insert(*new Box(2, {30, 16}));
  int fh = gw->GetFontHeight();
  gw->GetDesiredSize(d);
  EXPECT_EQ(d, TSize(50 + 2 * fh + 2, 16 + LayoutUnitsToPixels(4, fh) + 2));
  ASSERT_TRUE(sink.Create());
  EXPECT_EQ(gw->GetBounds().Size(), d);

  // A shrink-wrapped window keeps its size whatever it is asked, and grows with its gadgets.
  gw->SetWindowPos(nullptr, 5, 6, 0, 0, SWP_NOZORDER);
  EXPECT_EQ(gw->GetBounds(), TRect(TPoint(5, 6), d));
  gw->Insert(*new Box(3, {7, 30}));
  EXPECT_EQ(gw->GetBounds().Size(), TSize(d.cx + 7, 30 + LayoutUnitsToPixels(4, fh) + 2));
}

TEST_F(GadgetTest, ButtonAndTextGadgetsAskForTheirContent) {
  TButtonGadget button(Glyph({6, 5}, {TColor::LtRed}), 1);
  TSize d;
  button.GetDesiredSize(d);
  EXPECT_EQ(d, TSize(6 + 2 + 2, 5 + 2 + 2));  // raised border and a pixel of padding

  // Absurd counts saturate instead of overflowing.
  MakeWindow();
  auto* text = new TTextGadget(0, TGadget::Recessed, TTextGadget::Left, 4);
  gw->Insert(*text);
  TTextMetric tm = gw->GetFont().GetTextMetrics();
  text->GetDesiredSize(d);
  EXPECT_EQ(d, TSize(4 * tm.tmAveCharWidth + 2 + 4, tm.tmHeight + 2 + 2));
  text->SetNumChars(UINT_MAX);
  text->GetDesiredSize(d);
  EXPECT_GT(d.cx, 0);
}

TEST_F(GadgetTest, SessionsLayOutOnceAtTheEnd) {
  struct Counting : TGadgetWindow {
    using TGadgetWindow::TGadgetWindow;
    void LayoutSession() override {
      ++sessions;
      TGadgetWindow::LayoutSession();
    }
    int sessions = 0;
  };
  auto* w = new Counting(&sink);
  gw = w;
  ASSERT_TRUE(sink.Create());
  w->sessions = 0;
  auto* a = new Box(1, {10, 10});
  gw->Insert(*a);
  EXPECT_EQ(w->sessions, 1);
  EXPECT_EQ(a->GetBounds(), TRect(0, 0, 10, 10));
  {
    TGadgetWindow::TLayoutSession session(*gw);
    gw->Insert(*new Box(2, {10, 10}));
    gw->Insert(*new Box(3, {10, 10}), TGadgetList::Before);
    delete gw->Remove(*a);
    EXPECT_EQ(w->sessions, 1);
  }
  EXPECT_EQ(w->sessions, 2);
  EXPECT_EQ(gw->GadgetWithId(3)->GetBounds(), TRect(0, 0, 10, 10));
  EXPECT_EQ(gw->GadgetWithId(2)->GetBounds(), TRect(10, 0, 20, 10));
}

// --- The list ----------------------------------------------------------------------------------

TEST_F(GadgetTest, InsertBeforeAfterAndRemoveKeepTheOrder) {
  Log log;
  MakeWindow();
  auto order = [&] {
    std::string s;
    for (TGadget* g = gw->FirstGadget(); g; g = gw->NextGadget(*g)) s += std::to_string(g->GetId());
    return s;
  };
  Box* g[6];
  for (int i = 1; i <= 5; ++i) g[i] = new Box(i, {1, 1}, &log);
  gw->Insert(*g[1]);                             // 1
  gw->Insert(*g[2]);                             // 12  (after, no sibling: the end)
  gw->Insert(*g[3], TGadgetList::Before);        // 312 (before, no sibling: the start)
  gw->Insert(*g[4], TGadgetList::After, g[1]);   // 3142
  gw->Insert(*g[5], TGadgetList::Before, g[2]);  // 31452
  EXPECT_EQ(order(), "31452");
  EXPECT_EQ(gw->NumGadgets(), 5u);
  EXPECT_EQ(gw->LastGadget(), g[2]);
  EXPECT_EQ(gw->GadgetWithId(4), g[4]);
  EXPECT_EQ(gw->GadgetWithId(9), nullptr);

  log.clear();
  EXPECT_EQ(gw->Remove(*g[4]), g[4]);  // answered, not deleted
  EXPECT_EQ(gw->Remove(*g[4]), nullptr);
  EXPECT_EQ(order(), "3152");
  EXPECT_EQ(g[4]->GetGadgetWindow(), nullptr);
  EXPECT_EQ(log, Log{"removed 4 (0,0)"});
  gw->Insert(*g[4], TGadgetList::After, g[2]);
  EXPECT_EQ(order(), "31524");
  EXPECT_EQ(g[4]->GetGadgetWindow(), gw);

  // Moving a whole list keeps its order; deleting a gadget takes it out of its window.
  TGadgetList spare;
  Box* x = new Box(7, {1, 1});
  Box* y = new Box(8, {1, 1});
  spare.Insert(*x);
  spare.Insert(*y);
  gw->InsertFrom(spare, TGadgetList::Before, g[5]);
  EXPECT_EQ(order(), "3178524");
  EXPECT_EQ(spare.NumGadgets(), 0u);
  delete g[1];
  EXPECT_EQ(order(), "378524");
  EXPECT_EQ(gw->NumGadgets(), 6u);
}

// --- Mouse and painting -----------------------------------------------------------------------

TEST_F(GadgetTest, EnterAndLeaveFollowThePointerAcrossGadgets) {
  Log log;
  MakeWindow(TGadgetWindow::Horizontal, WS_BORDER);
  auto* a = new Box(1, {20, 10}, &log);
  auto* gap = new TSeparatorGadget(5);
  auto* b = new Box(2, {20, 10}, &log);
  gw->Insert(*a);
  gw->Insert(*gap);
  gw->Insert(*b);
  ASSERT_TRUE(sink.Create());
  log.clear();

  MoveTo(*a, 3, 4);
  MoveTo(*a, 5, 4);  // inside the same gadget: nothing new
  MoveTo(*b, 1, 2);
  MoveTo(*gap, 1, 1);  // a separator is no target: the pointer just leaves b
  MoveTo(*b, 19, 9);
  EXPECT_EQ(log, (Log{"enter 1 (3,4)", "leave 1 (26,2)", "enter 2 (1,2)", "leave 2 (-4,6)",
                      "enter 2 (19,9)"}));
  EXPECT_EQ(gw->GetMouseGadget(), b);

  // Out onto the parent: no move reaches the gadget window, so idle time notices.
  log.clear();
  MouseMove(105, 105);
  EXPECT_TRUE(log.empty());
  gw->IdleAction(1);
  EXPECT_TRUE(log.empty());
  gw->IdleAction(0);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("leave 2", 0), 0u);
  EXPECT_EQ(gw->GetMouseGadget(), nullptr);
}

TEST_F(GadgetTest, GadgetsPaintInTheirOwnCoordinatesClippedToTheirBounds) {
  MakeWindow(TGadgetWindow::Horizontal, WS_BORDER);
  auto* a = new Box(1, {20, 10}, nullptr, TColor::LtRed);
  auto* b = new Box(2, {20, 10}, nullptr, TColor::LtGreen);
  auto* hidden = new Box(3, {20, 10}, nullptr, TColor::LtBlue);
  gw->Insert(*a);
  gw->Insert(*b);
  gw->Insert(*hidden);
  hidden->SetVisible(false);
  ASSERT_TRUE(sink.Create());
  Pump();
  EXPECT_EQ(PixelOf(*a, 0, 0), IndexOf(TColor::LtRed));
  EXPECT_EQ(PixelOf(*a, 19, 9), IndexOf(TColor::LtRed));
  EXPECT_EQ(PixelOf(*b, 0, 0), IndexOf(TColor::LtGreen));
  EXPECT_EQ(PixelOf(*b, 19, 9), IndexOf(TColor::LtGreen));
  // Nothing past the last visible gadget, nor on the window's border.
  EXPECT_NE(PixelOf(*b, 20, 5), IndexOf(TColor::LtBlue));
  EXPECT_NE(PixelOf(*b, 20, 5), IndexOf(TColor::LtGreen));
  EXPECT_NE(PixelOf(*a, -1, 0), IndexOf(TColor::LtRed));
}

// --- Control bars and cel arrays -----------------------------------------------------------------

TEST_F(GadgetTest, ControlBarHasABorderAndFixedFrameMargins) {
  auto* bar = new TControlBar(&sink);
  bar->Insert(*new Box(1, {16, 16}));
  TSize d;
  bar->GetDesiredSize(d);
  EXPECT_EQ(d.cy, 16 + 2 * TControlBar::kDefaultMargin + 2);
  EXPECT_TRUE(bar->GetStyle() & WS_BORDER);
  EXPECT_EQ(bar->GetDirection(), TGadgetWindow::Horizontal);
  ASSERT_TRUE(sink.Create());
  EXPECT_EQ(bar->GadgetWithId(1)->GetBounds().TopLeft(),
            TPoint(TControlBar::kDefaultMargin, TControlBar::kDefaultMargin));
}

TEST_F(GadgetTest, CelArrayCutsWholeCelsOnly) {
  struct Case {
    int width, height, numCels;
    TSize celSize;
    int expectCels;
    TSize expectSize;
  };
  const Case cases[] = {
      {40, 10, 4, {}, 4, {10, 10}},       // the usual strip
      {10, 10, 3, {}, 3, {3, 10}},        // a remainder is left over
      {40, 10, 10, {8, 10}, 5, {8, 10}},  // more cels asked than fit
      {40, 10, 0, {}, 0, {}},             // no count
      {40, 10, -2, {}, 0, {}},
      {40, 10, 2, {50, 10}, 0, {}},  // a cel wider than the bitmap
      {40, 10, 2, {10, 11}, 0, {}},  // or taller
      {3, 10, 4, {}, 0, {}},         // narrower than one pixel per cel
  };
  for (const Case& c : cases) {
    TCelArray cels(new TDib(c.width, c.height, 8), c.numCels, c.celSize);
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " / " << c.numCels);
    EXPECT_EQ(cels.NumCels(), c.expectCels);
    EXPECT_EQ(cels.CelSize(), c.expectSize);
    EXPECT_EQ(cels.IsOK(), c.expectCels > 0);
    for (int i = 0; i < cels.NumCels(); ++i)
      EXPECT_TRUE(TRect(0, 0, c.width, c.height).Contains(cels.CelRect(i)));
    EXPECT_TRUE(cels.CelRect(cels.NumCels()).IsEmpty());
    EXPECT_TRUE(cels.CelRect(-1).IsEmpty());
  }
  TCelArray strip(new TDib(40, 10, 8), 4);
  EXPECT_EQ(strip.CelRect(2), TRect(20, 0, 30, 10));
  EXPECT_EQ(strip.CelOffset(3), TPoint(30, 0));

  TDib shared(20, 5, 8);
  TCelArray borrowed(&shared, 2, TSize(), TCelArray::NoAutoDelete);
  EXPECT_FALSE(borrowed.OwnsDib());
  EXPECT_EQ(borrowed.GetDib(), &shared);
  TCelArray none(static_cast<TDib*>(nullptr), 3);
  EXPECT_FALSE(none.IsOK());
}

}  // namespace
}  // namespace quill::test
