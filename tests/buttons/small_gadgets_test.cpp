// The selection gadget's cels, the filler's tiling, the coloured text field's text and origin.
#include <gtest/gtest.h>

#include "buttons/buttons_fixture.h"
#include "quillui/buttons/colored_hfiller_gadget.h"
#include "quillui/buttons/colored_text_gadget.h"
#include "quillui/buttons/pane_button_bar_filler.h"
#include "quillui/buttons/selection_gadget.h"
#include "quillui/framework/image/cel_array.h"

namespace quill::test {
namespace {

using SmallGadgetsTest = ButtonsTest;

TEST_F(SmallGadgetsTest, SelectionCelFollowsStateHoverAndPress) {
  struct Case {
    bool selected, pressed, hover;
    int cel;
  };
  for (const Case& c :
       {Case{true, false, true, 4}, Case{true, true, true, 5}, Case{true, false, false, 3},
        Case{false, false, false, 0}, Case{false, false, true, 1}, Case{false, true, false, 2}}) {
    EXPECT_EQ(ZSelectionGadget::SelectionCel(c.selected, c.pressed, c.hover), c.cel)
        << c.selected << c.pressed << c.hover;
  }
  WriteStrip("select.bmp", 6);
  ZSelectionGadget selection("select.bmp", 1);
  EXPECT_EQ(selection.GetButtonType(), TButtonGadget::NonExclusive);
  EXPECT_EQ(selection.GetButtonState(), TButtonGadget::Down);
  EXPECT_EQ(selection.GetCelArray()->NumCels(), 6);
}

TEST_F(SmallGadgetsTest, SelectionTogglesWithoutAnimating) {
  WriteStrip("select.bmp", 6);
  auto* bar = new TGadgetWindow(&sink);
  bar->Attr.W = 300;
  auto* selection = new ZSelectionGadget("select.bmp", 7);
  bar->Insert(*selection);
  ASSERT_TRUE(sink.Create());
  Pump();
  ClickOn(*selection);
  EXPECT_EQ(selection->GetButtonState(), TButtonGadget::Up);
  EXPECT_EQ(selection->GetAnimationIndex(), 0);
  EXPECT_EQ(sink.commands, std::vector<UINT>{7});
}

TEST_F(SmallGadgetsTest, FillerTilesByTheCelHeightAndSkipsEmptyCels) {
  EXPECT_EQ(ZPaneButtonBarFiller::TileRows(16, 16, 50), (std::vector<int>{0, 16, 32, 48}));
  EXPECT_EQ(ZPaneButtonBarFiller::TileRows(16, 16, 48), (std::vector<int>{0, 16, 32}));
  // A cel without height would never move down; one without width draws nothing.
  EXPECT_TRUE(ZPaneButtonBarFiller::TileRows(16, 0, 50).empty());
  EXPECT_TRUE(ZPaneButtonBarFiller::TileRows(0, 16, 50).empty());
  EXPECT_TRUE(ZPaneButtonBarFiller::TileRows(16, -4, 50).empty());
}

class OriginText : public ZColoredTextGadget {
 public:
  using ZColoredTextGadget::TextOrigin;
  using ZColoredTextGadget::ZColoredTextGadget;
};

TEST_F(SmallGadgetsTest, SetTextChangesOnlyWhatDiffers) {
  auto* bar = new TGadgetWindow(&sink);
  bar->Attr.W = 300;
  auto* text = new ZColoredTextGadget(0, TGadget::Recessed, TTextGadget::Left, 10);
  bar->Insert(*text);
  ASSERT_TRUE(sink.Create());
  Pump();
  text->setText("Ready");
  EXPECT_STREQ(text->GetText(), "Ready");
  Pump();
  TRect dirty;
  text->setText("Ready");
  EXPECT_FALSE(bar->GetUpdateRect(dirty));
  text->setText("Done");
  EXPECT_TRUE(bar->GetUpdateRect(dirty));
  EXPECT_STREQ(text->GetText(), "Done");
  text->setText(nullptr);
  EXPECT_EQ(text->GetText(), nullptr);
}

TEST_F(SmallGadgetsTest, TextOriginMovesRightOrToTheCentreOnlyWhileTheTextFits) {
  TGadgetWindow bar(&sink);
  auto* text = new OriginText(0, TGadget::None, TTextGadget::Right, 10, "IIII");
  bar.Insert(*text);
  const int width = text->GetFont()->GetTextExtent("IIII").cx;
  ASSERT_GT(width, 0);
  const TRect inner(0, 0, width + 50, 20);
  EXPECT_EQ(text->TextOrigin(inner).x, 50);
  text->SetAlign(TTextGadget::Center);
  EXPECT_EQ(text->TextOrigin(inner).x, 25);
  text->SetAlign(TTextGadget::Right);
  EXPECT_EQ(text->TextOrigin(TRect(0, 0, width - 5, 20)).x, 0);
}

TEST_F(SmallGadgetsTest, ColouredFillerIsWideAndKeepsItsColour) {
  ZColoredHFillerGadget filler(5, TColor::Black);
  EXPECT_TRUE(filler.GetWideAsPossible());
  EXPECT_EQ(filler.GetBounds(), TRect(0, 0, 10, 10));
  EXPECT_EQ(filler.GetColor(), TColor::Black);
}

}  // namespace
}  // namespace quill::test
