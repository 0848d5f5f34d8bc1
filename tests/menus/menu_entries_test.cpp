// The entry table of the fly menus: lookups, insert / replace / delete by position and by id,
// the "@" captions from the library's menu, spacing, colours and the shared master menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile/profile_fixture.h"
#include "quillui/framework/base/resource.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/menus/menu_colors.h"
#include "quillui/menus/menu_entries.h"
#include "quillui/profile/icons.h"
#include "quillui/testing/menus.h"

namespace quill {
namespace {

class MenuEntriesTest : public test::ProfileTest {
 protected:
  void SetUp() override {
    test::ProfileTest::SetUp();
    ResetMenuColors();
  }
  void TearDown() override {
    ResetMenuColors();
    test::ProfileTest::TearDown();
  }

  // "id:text" for every entry, in display order.
  static std::string Dump(const ZMenuEntries& table) {
    std::string out;
    for (const ZMenuEntry* e : table.GetEntries()) {
      if (!out.empty()) out += ' ';
      out += std::to_string(e->idCmd) + ':' + (e->text ? e->text : "(null)");
    }
    return out;
  }
  // Entries 1 "a", 2 "b", 3 "c", changed flag cleared.
  static void Fill(ZMenuEntries& table) {
    table.Append(0, 1, "a", nullptr);
    table.Append(0, 2, "b", nullptr);
    table.Append(0, 3, "c", nullptr);
    table.SetChanged(0);
  }
};

TEST_F(MenuEntriesTest, AtTextsComeFromTheLibraryMenuByCommandId) {
  ZMenuEntries table(0);
  table.Append(0, 7433, "@", nullptr);
  table.Append(0, 7302, "@", nullptr);
  table.Append(0, 7565, "@ anything after the sign", nullptr);
  table.Append(0, 7433, "Plain", nullptr);          // no leading "@": kept even for a known id
  table.Append(0, 9999, "@", nullptr);              // no such item in the master: empty text
  table.Append(MF_SEPARATOR, 0, nullptr, nullptr);  // null stays null
  EXPECT_EQ(Dump(table), "7433:Bookmark 7302:Options 7565:Close 7433:Plain 9999: 0:(null)");

  ASSERT_NE(ZMenuEntries::GetMenuMaster(), nullptr);
  EXPECT_EQ(ZMenuEntries::GetMenuMaster()->GetMenuItemCount(), 68);
}

TEST_F(MenuEntriesTest, InsertByPositionAppendsOnlyForMinusOne) {
  ZMenuEntries table(0);
  Fill(table);
  EXPECT_EQ(table.Insert(kMenuEntryNone, MF_BYPOSITION, new ZMenuEntry(0, 4, "d", nullptr)), 1);
  EXPECT_EQ(table.GetChanged(), 1);

  auto* refused = new ZMenuEntry(0, 5, "e", nullptr);
  table.SetChanged(0);
  EXPECT_EQ(table.Insert(table.GetCount(), MF_BYPOSITION, refused), 0);
  EXPECT_EQ(table.GetChanged(), 0);
  delete refused;  // not taken: still the caller's

  EXPECT_EQ(table.Insert(0, MF_BYPOSITION, new ZMenuEntry(0, 6, "f", nullptr)), 1);
  EXPECT_EQ(table.Insert(3, MF_BYCOMMAND, new ZMenuEntry(0, 7, "g", nullptr)), 1);
  EXPECT_EQ(table.Insert(42, MF_BYCOMMAND, nullptr), 0);
  EXPECT_EQ(Dump(table), "6:f 1:a 2:b 7:g 3:c 4:d");
}

// The building overloads give the entry the flags argument, and delete what they built when
// the target is missing (the leak checker of the test build sees a lost entry).
TEST_F(MenuEntriesTest, BuildingOverloadsUseTheFlagsAndDropWhatTheyCouldNotPlace) {
  ZMenuEntries table(0);
  Fill(table);
  EXPECT_EQ(table.Insert(1, MF_BYPOSITION, 8, "h", nullptr), 1);
  EXPECT_EQ(table.Get(8, MF_BYCOMMAND)->flags, MF_BYPOSITION);
  EXPECT_EQ(table.Insert(77, MF_BYCOMMAND, 9, "x", nullptr), 0);
  EXPECT_EQ(table.Insert(10, MF_BYPOSITION, 9, "x", nullptr, 0x02000000u), 0);
  EXPECT_EQ(table.Replace(77, MF_BYCOMMAND, 9, "x", nullptr), 0);
  EXPECT_EQ(table.Replace(10, MF_BYPOSITION, 9, "x", nullptr, 0x02000000u), 0);
  EXPECT_EQ(Dump(table), "1:a 8:h 2:b 3:c");
}

TEST_F(MenuEntriesTest, ReplaceKeepsThePlaceAndMarksTheTableChangedEvenOnFailure) {
  ZMenuEntries table(0);
  Fill(table);
  auto* last = new ZMenuEntry(0, 30, "last", nullptr);
  EXPECT_EQ(table.Replace(table.GetCount() - 1, MF_BYPOSITION, last), 1);
  EXPECT_EQ(table.GetEntries().back(), last);

  auto* same = new ZMenuEntry(0, 2, "@", nullptr);
  EXPECT_EQ(table.Replace(2, MF_BYCOMMAND, same), 1);
  EXPECT_EQ(table.Get(1, MF_BYPOSITION), same);
  EXPECT_EQ(table.Replace(0, MF_BYPOSITION, 4, "@", nullptr), 1);
  EXPECT_EQ(Dump(table), "4: 2: 30:last");  // "@" with ids the master lacks: empty

  table.SetChanged(0);
  auto* refused = new ZMenuEntry(0, 5, "e", nullptr);
  EXPECT_EQ(table.Replace(99, MF_BYCOMMAND, refused), 0);
  EXPECT_EQ(table.GetChanged(), 1);
  delete refused;
  EXPECT_EQ(table.Replace(0, MF_BYPOSITION, nullptr), 0);
}

TEST_F(MenuEntriesTest, ChangeTakesTheNewIdBeforeTheAtRuleAndReadsNullAsEmpty) {
  ZMenuEntries table(0);
  Fill(table);
  EXPECT_EQ(table.Change(1, MF_BYCOMMAND, 7302, "@"), 1);
  EXPECT_EQ(table.Change(1, MF_BYPOSITION, 21, nullptr), 1);
  EXPECT_EQ(table.Change(99, MF_BYCOMMAND, 22, "x"), 0);
  EXPECT_EQ(Dump(table), "7302:Options 21: 3:c");
  EXPECT_EQ(table.GetChanged(), 1);
}

TEST_F(MenuEntriesTest, LookupsAndDelete) {
  ZMenuEntries table(0);
  Fill(table);
  table.Append(0, 2, "b again", nullptr);
  EXPECT_EQ(table.GetPosition(2), 1u);
  EXPECT_EQ(table.GetPosition(99), kMenuEntryNone);
  EXPECT_EQ(table.GetIdCmd(table.GetCount()), kMenuEntryNone);
  EXPECT_EQ(table.GetIdCmd(3), 2u);
  EXPECT_EQ(table.Get(4, MF_BYPOSITION), nullptr);
  EXPECT_EQ(table.Append(nullptr), 0);

  table.SetChanged(0);
  EXPECT_EQ(table.Delete(2, MF_BYCOMMAND), 1);
  EXPECT_EQ(table.GetChanged(), 1);
  EXPECT_EQ(table.Delete(4, MF_BYPOSITION), 0);
  EXPECT_EQ(Dump(table), "1:a 3:c 2:b again");
}

TEST_F(MenuEntriesTest, SetColorColoursAnInclusiveRangeInEitherOrder) {
  ZMenuEntries table(0);
  for (uint32_t id = 10; id < 17; ++id) table.Append(0, id, "x", nullptr);
  table.SetChanged(0);
  const COLORREF red = PALETTERGB(255, 0, 0);
  EXPECT_EQ(table.SetColor(5, 2, MF_BYPOSITION, red), 1);
  EXPECT_EQ(table.SetColor(10, 99, MF_BYCOMMAND, 0x02000000u), 0);
  EXPECT_EQ(table.SetColor(7, 7, MF_BYPOSITION, 0x02000000u), 0);
  std::vector<bool> coloured;
  for (const ZMenuEntry* e : table.GetEntries()) coloured.push_back(e->color == red);
  EXPECT_EQ(coloured, (std::vector<bool>{false, false, true, true, true, true, false}));
  EXPECT_EQ(table.GetChanged(), 0);
  EXPECT_EQ(table.Get(0, MF_BYPOSITION)->color, 0x02FFDA99u);  // the default colour
}

TEST_F(MenuEntriesTest, CheckMarksAndSpacing) {
  ZMenuEntries table(1);
  EXPECT_EQ(table.GetCheckMarkSpacing(), 1);
  EXPECT_EQ(table.GetIconSpacing(), 0);
  EXPECT_EQ(table.GetOwnedByMenu(), 1);
  Fill(table);
  EXPECT_EQ(table.SetCheckMark(99, MF_BYCOMMAND | MF_CHECKED), kMenuEntryNone);
  EXPECT_EQ(table.SetCheckMark(2, MF_BYCOMMAND | MF_CHECKED), 0u);
  EXPECT_EQ(table.SetCheckMark(2, MF_BYCOMMAND | MF_CHECKED), MF_CHECKED);
  EXPECT_EQ(table.SetCheckMark(2, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(table.Get(2, MF_BYCOMMAND)->flags & MF_CHECKED, 0u);
  EXPECT_EQ(table.GetChanged(), 0);

  table.SetCheckMarkSpacing(0);
  table.SetCheckMark(0, MF_BYPOSITION | MF_CHECKED);
  EXPECT_EQ(table.GetCheckMarkSpacing(), 1);

  ZIcon icon;
  table.Append(0, 40, "with icon", &icon);
  EXPECT_EQ(table.GetIconSpacing(), 1);
}

TEST_F(MenuEntriesTest, CopiedEntryOwnsItsTextAndSharesTheIcon) {
  ZIcon icon;
  ZMenuEntry original(MF_CHECKED, 5, "text", &icon, 0x02010203u);
  ZMenuEntry copy(original);
  original.SetText("changed");
  EXPECT_STREQ(copy.text, "text");
  EXPECT_EQ(copy.icon, &icon);
  EXPECT_EQ(copy.color, 0x02010203u);
  EXPECT_EQ(copy.flags, MF_CHECKED);
  EXPECT_EQ(ZMenuEntry().text, nullptr);
}

TEST_F(MenuEntriesTest, TheMasterLivesWithTheTablesAndIsLoadedAgain) {
  EXPECT_EQ(ZMenuEntries::GetMenuMaster(), nullptr);
  {
    ZMenuEntries first(0);
    auto* second = new ZMenuEntries(0);
    EXPECT_EQ(ZMenuEntries::GetObjCount(), 2u);
    delete second;
    EXPECT_NE(ZMenuEntries::GetMenuMaster(), nullptr);
  }
  EXPECT_EQ(ZMenuEntries::GetMenuMaster(), nullptr);
  EXPECT_EQ(ZMenuEntries::GetObjCount(), 0u);

  ZMenuEntries again(0);
  again.Append(0, 7433, "@", nullptr);
  EXPECT_STREQ(again.Get(0, MF_BYPOSITION)->text, "Bookmark");
}

// [View] MenuBkgndColor: read once, through the colour-text rule.
TEST_F(MenuEntriesTest, MenuColourTexts) {
  struct Case {
    const char* text;
    COLORREF color;
  };
  const Case cases[] = {
      {"153 218 255", 0x02FFDA99u},
      {"255,0,0", 0x020000FFu},
      {"300 0 0", 0x0200002Cu},
      {" 1 ,, 2 3 4", 0x02030201u},
      {"1 2", 0x02FFFFFFu},
      {"", 0x02FFFFFFu},
      {"red green blue", 0x02000000u},
      {"-1 7x 99999999999999999999", 0x02FF07FFu},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseMenuColor(c.text), c.color) << c.text;

  WriteIni("[View]\nMenuBkgndColor=10 20 30\n");
  EXPECT_EQ(ZMenuEntry().color, PALETTERGB(10, 20, 30));
  WriteIni("[View]\nMenuBkgndColor=1 1 1\n");
  EXPECT_EQ(ZMenuEntry().color, PALETTERGB(10, 20, 30));  // read once
  ResetMenuColors();
  WriteIni("");
  EXPECT_EQ(GetMenuBkgndColor(), 0x02FFDA99u);
}

}  // namespace
}  // namespace quill
