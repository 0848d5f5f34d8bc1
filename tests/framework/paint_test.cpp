// The paint pipeline: update regions, erase before paint, clipping by children and siblings,
// LockWindowUpdate, repaint after moves, and what reaches the presenter.
#include <gtest/gtest.h>

#include <cstdio>

#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/paint_pass.h"
#include "quillui/framework/window/window.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

// Fills its client area with one colour and counts its paints.
class Swatch : public TWindow {
 public:
  Swatch(TWindow* parent, TColor color, TRect bounds, uint32_t extraStyle = 0)
      : TWindow(parent), color(color) {
    Attr.X = bounds.left;
    Attr.Y = bounds.top;
    Attr.W = bounds.Width();
    Attr.H = bounds.Height();
    Attr.Style |= extraStyle;
  }
  void Paint(TDC& dc, bool, TRect&) override {
    ++paints;
    dc.FillRect(GetClientRect(), color);
  }
  TColor color;
  int paints = 0;
};

class PaintTest : public HeadlessTest {};

TEST_F(PaintTest, ChildrenPaintOverParentsAndClipChildrenKeepsThemApart) {
  for (uint32_t clip : {0u, WS_CLIPCHILDREN}) {
    Swatch top(nullptr, TColor::LtBlue, {0, 0, 200, 200}, clip);
    auto* child = new Swatch(&top, TColor::LtRed, {50, 50, 100, 100});
    ASSERT_TRUE(top.Create());
    Pump();
    EXPECT_EQ(ScreenPixel(10, 10), IndexOf(TColor::LtBlue));
    EXPECT_EQ(ScreenPixel(60, 60), IndexOf(TColor::LtRed));
    EXPECT_EQ(ScreenPixel(99, 99), IndexOf(TColor::LtRed));
    EXPECT_EQ(ScreenPixel(100, 100), IndexOf(TColor::LtBlue));  // right and bottom exclusive

    // Repainting the parent: without WS_CLIPCHILDREN the child is repainted too, since the
    // parent paints over it; with it, the child is left alone.
    int childPaints = child->paints;
    top.Invalidate();
    Pump();
    EXPECT_EQ(child->paints, childPaints + (clip ? 0 : 1)) << "clip " << clip;
    EXPECT_EQ(ScreenPixel(60, 60), IndexOf(TColor::LtRed));
  }
}

TEST_F(PaintTest, SiblingsClipWhereAskedAndTopLevelWindowsAlways) {
  Swatch top(nullptr, TColor::White, {0, 0, 300, 300}, WS_CLIPCHILDREN);
  auto* low = new Swatch(&top, TColor::LtRed, {0, 0, 100, 100}, WS_CLIPSIBLINGS);
  auto* high = new Swatch(&top, TColor::LtGreen, {50, 50, 150, 150}, WS_CLIPSIBLINGS);
  ASSERT_TRUE(top.Create());
  Pump();
  EXPECT_EQ(ScreenPixel(75, 75), IndexOf(TColor::LtGreen));
  low->Invalidate();
  Pump();
  EXPECT_EQ(ScreenPixel(75, 75), IndexOf(TColor::LtGreen));  // low may not paint over high
  EXPECT_EQ(ScreenPixel(25, 25), IndexOf(TColor::LtRed));
  (void)high;

  Swatch popup(nullptr, TColor::LtYellow, {250, 250, 350, 350});
  ASSERT_TRUE(popup.Create());
  Pump();
  top.Invalidate();
  Pump();
  EXPECT_EQ(ScreenPixel(280, 280), IndexOf(TColor::LtYellow));
}

TEST_F(PaintTest, EraseUsesTheBackgroundColourBeforePaint) {
  struct Half : TWindow {
    using TWindow::TWindow;
    bool sawErase = false;
    void Paint(TDC& dc, bool erase, TRect&) override {
      sawErase = erase;
      dc.FillRect({0, 0, 10, 10}, TColor::LtRed);
    }
  };
  Half w(nullptr);
  w.Attr.W = w.Attr.H = 40;
  w.SetBkgndColor(TColor::LtGreen);
  ASSERT_TRUE(w.Create());
  Pump();
  EXPECT_FALSE(w.sawErase);  // the background was erased already
  EXPECT_EQ(ScreenPixel(5, 5), IndexOf(TColor::LtRed));
  EXPECT_EQ(ScreenPixel(30, 30), IndexOf(TColor::LtGreen));
  // A paint without erase leaves the old background pixels.
  w.SetBkgndColor(TColor::LtBlue);
  w.InvalidateRect({20, 20, 40, 40}, false);
  Pump();
  EXPECT_EQ(ScreenPixel(30, 30), IndexOf(TColor::LtGreen));
}

TEST_F(PaintTest, PaintIsClippedToTheUpdateRegion) {
  Swatch w(nullptr, TColor::LtRed, {0, 0, 100, 100});
  ASSERT_TRUE(w.Create());
  Pump();
  w.color = TColor::LtBlue;
  w.InvalidateRect({10, 10, 20, 20}, false);
  Pump();
  EXPECT_EQ(ScreenPixel(15, 15), IndexOf(TColor::LtBlue));
  EXPECT_EQ(ScreenPixel(25, 25), IndexOf(TColor::LtRed));
}

TEST_F(PaintTest, LockWindowUpdateDefersPaintsUntilUnlocked) {
  Swatch top(nullptr, TColor::LtRed, {0, 0, 100, 100});
  auto* child = new Swatch(&top, TColor::LtGreen, {0, 0, 50, 50});
  Swatch other(nullptr, TColor::LtBlue, {200, 0, 300, 100});
  ASSERT_TRUE(top.Create());
  ASSERT_TRUE(other.Create());
  Pump();
  EXPECT_TRUE(top.LockWindowUpdate());
  EXPECT_FALSE(other.LockWindowUpdate());  // one window at a time
  int topPaints = top.paints, childPaints = child->paints, otherPaints = other.paints;
  top.Invalidate();
  other.Invalidate();
  Pump();
  EXPECT_EQ(top.paints, topPaints);
  EXPECT_EQ(child->paints, childPaints);
  EXPECT_EQ(other.paints, otherPaints + 1);
  EXPECT_TRUE(TPaintPass::HasPendingPaint() == false);
  EXPECT_TRUE(LockWindowUpdate(nullptr));
  Pump();
  EXPECT_EQ(top.paints, topPaints + 1);
  EXPECT_EQ(child->paints, childPaints + 1);
}

TEST_F(PaintTest, MovingAWindowRepaintsWhatItUncovered) {
  Swatch top(nullptr, TColor::White, {0, 0, 200, 200}, WS_CLIPCHILDREN);
  auto* child = new Swatch(&top, TColor::LtRed, {0, 0, 50, 50});
  ASSERT_TRUE(top.Create());
  Pump();
  child->MoveWindow(100, 100, 50, 50, true);
  Pump();
  EXPECT_EQ(ScreenPixel(10, 10), IndexOf(TColor::White));
  EXPECT_EQ(ScreenPixel(110, 110), IndexOf(TColor::LtRed));
  child->ShowWindow(SW_HIDE);
  Pump();
  EXPECT_EQ(ScreenPixel(110, 110), IndexOf(TColor::White));
  // Destroying a window repaints what it covered.
  child->ShowWindow(SW_SHOW);
  Pump();
  child->Destroy();
  Pump();
  EXPECT_EQ(ScreenPixel(110, 110), IndexOf(TColor::White));
}

TEST_F(PaintTest, OnlyChangedAreasArePresented) {
  Swatch w(nullptr, TColor::LtRed, {0, 0, 800, 600});
  ASSERT_TRUE(w.Create());
  Pump();
  int presents = backend->PresentCount();
  w.InvalidateRect({5, 5, 6, 6}, false);
  Pump();
  EXPECT_EQ(backend->PresentCount(), presents + 1);
  EXPECT_EQ(backend->LastPresentedPixels(), 1);
  Pump();
  EXPECT_EQ(backend->PresentCount(), presents + 1);  // nothing changed, nothing presented
}

TEST_F(PaintTest, ScreenshotIsWrittenAsPng) {
  Swatch w(nullptr, TColor::LtRed, {0, 0, 800, 600});
  ASSERT_TRUE(w.Create());
  Pump();
  std::string path = ::testing::TempDir() + "quill_paint_shot.png";
  std::string error;
  ASSERT_TRUE(TWindowSystem::Get().Screen().SaveScreenshot(path, &error)) << error;
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  unsigned char sig[8] = {};
  EXPECT_EQ(std::fread(sig, 1, 8, f), 8u);
  std::fclose(f);
  EXPECT_EQ(sig[1], 'P');
  std::remove(path.c_str());
  EXPECT_FALSE(TWindowSystem::Get().Screen().SaveScreenshot("/nonexistent-dir/x.png", &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace quill::test
