// TLayoutWindow on real windows: storing records, laying out, re-laying out on resize,
// reporting problems and forgetting children that leave.
#include "quillui/framework/layout/layout_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillui/framework/base/diagnostics.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

class LayoutWindowTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    previousHook_ = SetDiagnosticsHook([this](const TDiagnostic& d) { diagnostics.push_back(d); });
  }
  void TearDown() override {
    SetDiagnosticsHook(std::move(previousHook_));
    HeadlessTest::TearDown();
  }

  // A top-level layout window with a client area of w x h.
  static void Size(TLayoutWindow& w, int width, int height) {
    w.Attr.X = w.Attr.Y = 0;
    w.Attr.W = width;
    w.Attr.H = height;
  }

  std::vector<TDiagnostic> diagnostics;

 private:
  TDiagnosticsHook previousHook_;
};

TLayoutMetrics Pixels() {
  TLayoutMetrics m;
  m.SetMeasurementUnits(lmPixels);
  return m;
}

// The tableau's spacers and its "MP_A" panes, margins and gaps 5, set spacers first.
struct Tableau {
  explicit Tableau(TLayoutWindow& parent) {
    vs = new TWindow(&parent, "VSpacer");
    hs = new TWindow(&parent, "HSpacer");
    vs->Attr.Style = hs->Attr.Style = WS_CHILD | WS_CLIPSIBLINGS;  // hidden
    media = new TWindow(&parent, "Media");
    path = new TWindow(&parent, "Path");
    article = new TWindow(&parent, "Article");

    TLayoutMetrics v = Pixels();
    v.X.Set(lmCenter, lmPercentOf, lmParent, lmRight, 50);
    v.Y.SameAs(lmParent, lmTop);
    v.Width.Absolute(5);
    v.Height.SameAs(lmParent, lmBottom);
    parent.SetChildLayoutMetrics(*vs, v);
    TLayoutMetrics h = Pixels();
    h.X.SameAs(lmParent, lmLeft);
    h.Y.Set(lmCenter, lmPercentOf, lmParent, lmBottom, 50);
    h.Width.Set(lmRight, lmLeftOf, vs, lmRight, 0);
    h.Height.Absolute(5);
    parent.SetChildLayoutMetrics(*hs, h);

    TLayoutMetrics m = Pixels();
    m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, 5);
    m.Y.Set(lmTop, lmBelow, lmParent, lmTop, 5);
    m.Width.LeftOf(vs, 0);
    m.Height.Above(hs, 0);
    parent.SetChildLayoutMetrics(*media, m);
    m.Y.Below(hs, 0);
    m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, 5);
    parent.SetChildLayoutMetrics(*path, m);
    m.X.RightOf(vs, 0);
    m.Y.Set(lmTop, lmBelow, lmParent, lmTop, 5);
    m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, 5);
    parent.SetChildLayoutMetrics(*article, m);
  }
  TWindow* vs = nullptr;
  TWindow* hs = nullptr;
  TWindow* media = nullptr;
  TWindow* path = nullptr;
  TWindow* article = nullptr;
};

TEST_F(LayoutWindowTest, TableauIsPlacedOnCreateAndAgainOnResize) {
  TLayoutWindow top(nullptr, "Tableau");
  Size(top, 800, 600);
  Tableau t(top);
  // Records set before creation place the children as they come up.
  ASSERT_TRUE(top.Create());
  EXPECT_EQ(t.vs->GetBounds(), TRect(398, 0, 403, 600));
  EXPECT_EQ(t.hs->GetBounds(), TRect(0, 298, 403, 303));
  EXPECT_EQ(t.media->GetBounds(), TRect(5, 5, 398, 298));
  EXPECT_EQ(t.path->GetBounds(), TRect(5, 303, 398, 595));
  EXPECT_EQ(t.article->GetBounds(), TRect(403, 5, 795, 595));
  EXPECT_FALSE(t.vs->IsWindowVisible());
  EXPECT_TRUE(diagnostics.empty());

  const HWND topChild = top.GetTopWindow();
  top.SetWindowPos(nullptr, 0, 0, 1024, 768, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(t.vs->GetBounds(), TRect(510, 0, 515, 768));
  EXPECT_EQ(t.hs->GetBounds(), TRect(0, 382, 515, 387));
  EXPECT_EQ(t.media->GetBounds(), TRect(5, 5, 510, 382));
  EXPECT_EQ(t.path->GetBounds(), TRect(5, 387, 510, 763));
  EXPECT_EQ(t.article->GetBounds(), TRect(515, 5, 1019, 763));
  EXPECT_EQ(top.GetTopWindow(), topChild);  // stacking order untouched

  top.SetWindowPos(nullptr, 0, 0, 799, 599, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(t.article->GetBounds(), TRect(402, 5, 794, 594));
}

TEST_F(LayoutWindowTest, RecordsAreStoredWithoutMovingAnything) {
  TLayoutWindow top(nullptr);
  Size(top, 400, 300);
  auto* child = new TWindow(&top, "child");
  child->Attr.W = child->Attr.H = 10;
  auto* loose = new TWindow(&top, "loose");  // no record: never touched
  loose->Attr.X = 7;
  loose->Attr.W = loose->Attr.H = 3;
  ASSERT_TRUE(top.Create());

  TLayoutMetrics m;
  EXPECT_FALSE(top.GetChildLayoutMetrics(*child, m));
  m = Pixels();
  m.X.Absolute(lmLeft, 100);
  m.Y.Absolute(lmTop, 50);
  top.SetChildLayoutMetrics(*child, m);
  EXPECT_EQ(child->GetBounds(), TRect(0, 0, 10, 10));
  TLayoutMetrics back;
  ASSERT_TRUE(top.GetChildLayoutMetrics(*child, back));
  EXPECT_EQ(back, m);

  // A second record replaces the first.
  m.X.Absolute(lmLeft, 120);
  top.SetChildLayoutMetrics(*child, m);
  EXPECT_TRUE(top.Layout());
  EXPECT_EQ(child->GetBounds(), TRect(120, 50, 130, 60));
  EXPECT_EQ(loose->GetBounds(), TRect(7, 0, 10, 3));

  // Layout units follow the default font height without one of the window's own.
  m.SetMeasurementUnits(lmLayoutUnits);
  m.X.Absolute(lmLeft, 10);
  top.SetChildLayoutMetrics(*child, m);
  EXPECT_TRUE(top.Layout());
  EXPECT_EQ(child->GetBounds().TopLeft(), TPoint(20, 100));

  EXPECT_TRUE(top.RemoveChildLayoutMetrics(*child));
  EXPECT_FALSE(top.RemoveChildLayoutMetrics(*child));
  EXPECT_FALSE(top.GetChildLayoutMetrics(*child, m));

  // A window that is not a child gets no record.
  TWindow stranger(nullptr);
  top.SetChildLayoutMetrics(stranger, m);
  EXPECT_FALSE(top.GetChildLayoutMetrics(stranger, m));
  ASSERT_EQ(diagnostics.size(), 1u);
}

TEST_F(LayoutWindowTest, ProblemsAreReportedAndTheRestIsPlaced) {
  TLayoutWindow top(nullptr);
  Size(top, 400, 300);
  auto* a = new TWindow(&top, "A");
  auto* b = new TWindow(&top, "B");
  auto* c = new TWindow(&top, "C");
  for (TWindow* w : {a, b, c}) w->Attr.W = w->Attr.H = 10;
  ASSERT_TRUE(top.Create());
  TLayoutMetrics m = Pixels();
  m.Width.Absolute(20);
  m.X.RightOf(b, 0);
  top.SetChildLayoutMetrics(*a, m);
  m.X.RightOf(a, 0);
  top.SetChildLayoutMetrics(*b, m);
  m.X.Absolute(lmLeft, 50);
  top.SetChildLayoutMetrics(*c, m);

  diagnostics.clear();
  EXPECT_FALSE(top.Layout());
  EXPECT_EQ(a->GetBounds(), TRect(0, 0, 10, 10));
  EXPECT_EQ(b->GetBounds(), TRect(0, 0, 10, 10));
  EXPECT_EQ(c->GetBounds(), TRect(50, 0, 70, 10));
  ASSERT_EQ(diagnostics.size(), 2u);
  for (const TDiagnostic& d : diagnostics) {
    EXPECT_EQ(d.caption, "Layout");
    EXPECT_NE(d.message.find("cycle"), std::string::npos) << d.message;
  }
  EXPECT_NE(diagnostics[0].message.find("\"A\""), std::string::npos) << diagnostics[0].message;
}

TEST_F(LayoutWindowTest, ChildrenThatLeaveAreForgottenAndSiblingsReattached) {
  TLayoutWindow top(nullptr);
  Size(top, 400, 300);
  auto* a = new TWindow(&top, "A");
  auto* b = new TWindow(&top, "B");
  auto* c = new TWindow(&top, "C");
  ASSERT_TRUE(top.Create());
  TLayoutMetrics m = Pixels();
  m.Y.Set(lmTop, lmBelow, lmParent, lmTop, 10);
  m.Height.Absolute(20);
  top.SetChildLayoutMetrics(*a, m);
  m.Y.Below(a, 4);
  top.SetChildLayoutMetrics(*b, m);
  m.Y.Below(b, 6);
  top.SetChildLayoutMetrics(*c, m);
  EXPECT_TRUE(top.Layout());
  EXPECT_EQ(c->GetBounds().top, 60);

  // Removed through the layout window: B now hangs from the parent's top.
  top.RemoveChild(a);
  delete a;
  TLayoutMetrics back;
  ASSERT_TRUE(top.GetChildLayoutMetrics(*b, back));
  EXPECT_EQ(back.Y.RelWin, lmParent);
  EXPECT_TRUE(top.Layout());
  EXPECT_EQ(b->GetBounds().top, 4);
  EXPECT_EQ(c->GetBounds().top, 30);

  // Deleted outright: its record goes at the next layout, and C follows B's attachment.
  delete b;
  EXPECT_TRUE(top.Layout());
  EXPECT_EQ(c->GetBounds().top, 6);
  EXPECT_TRUE(diagnostics.empty());
}

TEST_F(LayoutWindowTest, ANestedLayoutWindowLaysOutWhenItsSizeChanges) {
  TLayoutWindow top(nullptr);
  Size(top, 400, 300);
  auto* pane = new TLayoutWindow(&top, "pane");
  auto* button = new TWindow(pane, "button");
  ASSERT_TRUE(top.Create());

  TLayoutMetrics m = Pixels();
  m.X.Set(lmLeft, lmRightOf, lmParent, lmLeft, 10);
  m.Y.Set(lmTop, lmBelow, lmParent, lmTop, 10);
  m.Width.Set(lmRight, lmLeftOf, lmParent, lmRight, 10);
  m.Height.Set(lmBottom, lmAbove, lmParent, lmBottom, 10);
  top.SetChildLayoutMetrics(*pane, m);
  TLayoutMetrics b = Pixels();
  b.X.Set(lmRight, lmLeftOf, lmParent, lmRight, 2);
  b.Width.Absolute(30);
  b.Y.Absolute(lmTop, 2);
  b.Height.Absolute(15);
  pane->SetChildLayoutMetrics(*button, b);

  EXPECT_TRUE(top.Layout());
  EXPECT_EQ(pane->GetBounds(), TRect(10, 10, 390, 290));
  EXPECT_EQ(button->GetBounds(), TRect(348, 2, 378, 17));

  top.SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(pane->GetBounds(), TRect(10, 10, 490, 290));
  EXPECT_EQ(button->GetBounds(), TRect(448, 2, 478, 17));
}

}  // namespace
}  // namespace quill::test
