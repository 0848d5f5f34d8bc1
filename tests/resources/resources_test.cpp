// The resource script reader (as quill-rc uses it) and the library's compiled resources.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/bmp_codec.h"
#include "framework/menu.h"
#include "framework/resource_script.h"
#include "resources/library_module.h"

namespace quill {
namespace {

bool Parse(const std::string& text, TResourceScript& out, TResourceScriptError& error) {
  TResourceFileReader reader = [](const std::string& name, std::vector<uint8_t>& bytes,
                                  std::string& why) {
    if (name == "tiny.bmp") {
      bytes = {'B', 'M'};
      bytes.resize(60, 0);
      return true;
    }
    if (name == "text.bmp") {
      bytes.assign(60, 'x');
      return true;
    }
    why = "no such file";
    return false;
  };
  return ParseResourceScript(text, "test.rc", reader, out, error);
}

TEST(ResourceScript, ReadsEveryKindOfResource) {
  const char* text = R"(// a comment
#define ID_OPEN 101
#define STYLE_A (WS_POPUP | WS_BORDER)
/* a block
   comment */
MAIN MENU DISCARDABLE
BEGIN
  POPUP "&File"
  {
    MENUITEM "&Open\tCtrl+O", ID_OPEN, CHECKED GRAYED
    MENUITEM SEPARATOR
    MENUITEM "Say ""hi"" \"there\"\\", ID_OPEN + 1, INACTIVE
  }
  MENUITEM "Help", 0x20
END
STRINGTABLE { 7, "tab\there" 8 "line\nbreak" }
BOX DIALOG 1, 2, 30, 40
STYLE STYLE_A | DS_MODALFRAME
CAPTION "Box"
FONT 8, "MS Sans Serif"
BEGIN
  CTEXT "Hello", -1, 3, 4, 10, 8
  DEFPUSHBUTTON "OK", IDOK, 5, 20, 20, 10
  EDITTEXT 200, 1, 1, 5, 5, ES_AUTOHSCROLL
END
PIC BITMAP "tiny.bmp"
)";
  TResourceScript s;
  TResourceScriptError e;
  ASSERT_TRUE(Parse(text, s, e)) << e.ToString();

  ASSERT_EQ(s.menus.size(), 1u);
  const TMenuTemplate& m = s.menus[0];
  EXPECT_EQ(m.name, "MAIN");
  ASSERT_EQ(m.items.size(), 2u);
  EXPECT_EQ(m.items[0].flags, MF_POPUP);
  ASSERT_EQ(m.items[0].items.size(), 3u);
  EXPECT_EQ(m.items[0].items[0].text, "&Open\tCtrl+O");
  EXPECT_EQ(m.items[0].items[0].id, 101u);
  EXPECT_EQ(m.items[0].items[0].flags, MF_CHECKED | MF_GRAYED);
  EXPECT_EQ(m.items[0].items[1].flags, MF_SEPARATOR);
  EXPECT_EQ(m.items[0].items[2].text, "Say \"hi\" \"there\"\\");
  EXPECT_EQ(m.items[0].items[2].id, 102u);
  EXPECT_EQ(m.items[0].items[2].flags, MF_DISABLED);
  EXPECT_EQ(m.items[1].id, 0x20u);

  ASSERT_EQ(s.strings.size(), 2u);
  EXPECT_EQ(s.strings[0], (std::pair<uint32_t, std::string>{7, "tab\there"}));
  EXPECT_EQ(s.strings[1].second, "line\nbreak");

  ASSERT_EQ(s.dialogs.size(), 1u);
  const TDialogTemplate& d = s.dialogs[0];
  EXPECT_EQ(d.caption, "Box");
  EXPECT_EQ(d.units, TRect(1, 2, 31, 42));
  EXPECT_EQ(d.style, 0x80800000u | 0x80u | 0x40u);  // DS_SETFONT comes with FONT
  ASSERT_EQ(d.items.size(), 3u);
  EXPECT_EQ(d.items[0].className, "STATIC");
  EXPECT_EQ(d.items[0].id, -1);
  EXPECT_EQ(d.items[0].style & 0xF, 1u);  // SS_CENTER
  EXPECT_EQ(d.items[1].className, "BUTTON");
  EXPECT_EQ(d.items[1].id, 1);
  EXPECT_EQ(d.items[1].style & 0xF, 1u);  // BS_DEFPUSHBUTTON
  EXPECT_EQ(d.items[2].className, "EDIT");
  EXPECT_EQ(d.items[2].style & 0x80u, 0x80u);
  EXPECT_EQ(d.items[2].units, TRect(1, 1, 6, 6));

  ASSERT_EQ(s.bitmaps.size(), 1u);
  EXPECT_EQ(s.bitmaps[0].name, "PIC");
  EXPECT_EQ(s.bitmaps[0].bmp.size(), 60u);

  TResourceTable table;
  AddResourceScript(s, table);
  EXPECT_NE(table.FindMenu("main"), nullptr);
  EXPECT_NE(table.FindDialog("BOX"), nullptr);
  ASSERT_NE(table.FindString(8), nullptr);
  EXPECT_NE(table.FindBitmap("pic"), nullptr);
}

TEST(ResourceScript, ErrorsNameTheLineAndStopCleanly) {
  struct Case {
    const char* script;
    int line;
    const char* message;
  };
  const Case cases[] = {
      {"M MENU {\n MENUITEN \"a\", 1\n}", 2, "unknown keyword 'MENUITEN'"},
      {"M MENUS { }", 1, "unknown keyword 'MENUS'"},
      {"M MENU {\n MENUITEM \"a\", 1\n", 1, "unclosed block"},
      {"M MENU {\n POPUP \"p\" {\n MENUITEM \"a\", 1\n}", 1, "unclosed block"},
      {"M MENU {\n MENUITEM \"a\", 12x\n}", 2, "bad number '12x'"},
      {"M MENU {\n MENUITEM \"a\", 0x\n}", 2, "bad number '0x'"},
      {"M MENU {\n MENUITEM \"a\", 99999999999\n}", 2, "bad number"},
      {"M MENU {\n MENUITEM \"a\", 70000\n}", 2, "out of range"},
      {"M MENU {\n MENUITEM \"a\", NOPE\n}", 2, "unknown name 'NOPE'"},
      {"M MENU {\n MENUITEM \"a, 1\n}", 2, "unterminated string"},
      {"M MENU {\n MENUITEM \"a\\q\", 1\n}", 2, "unknown escape"},
      {"M MENU {\n MENUITEM \"a\", 1, SHINY\n}", 2, "unknown menu option 'SHINY'"},
      {"STRINGTABLE {\n 1, \"a\"\n 1, \"b\"\n}", 3, "defined twice"},
      {"#include \"x.h\"\n", 1, "unsupported directive"},
      {"#define A (1 | \nM MENU { }", 1, "expected a number"},
      {"D DIALOG 1, 2, 3\n{ }", 2, "expected ','"},
      {"D DIALOG 1, 2, 3, 4\n{\n LISTBOX 1, 2, 3, 4, 5\n}", 3, "unknown keyword 'LISTBOX'"},
      {"B BITMAP \"missing.bmp\"", 1, "cannot read 'missing.bmp': no such file"},
      {"B BITMAP \"text.bmp\"", 1, "not a bitmap file"},
      {"\"just a string\"", 1, "expected a resource type"},
  };
  for (const Case& c : cases) {
    TResourceScript s;
    TResourceScriptError e;
    EXPECT_FALSE(Parse(c.script, s, e)) << c.script;
    EXPECT_EQ(e.line, c.line) << c.script << " -> " << e.ToString();
    EXPECT_NE(e.message.find(c.message), std::string::npos) << c.script << " -> " << e.ToString();
    EXPECT_EQ(e.ToString().rfind("test.rc:" + std::to_string(c.line) + ": error: ", 0), 0u);
  }
}

TEST(ResourceScript, NestingAndSizeAreBounded) {
  std::string deep = "M MENU {\n";
  for (int i = 0; i < 100; ++i) deep += "POPUP \"p\" {\n";
  TResourceScript s;
  TResourceScriptError e;
  EXPECT_FALSE(Parse(deep, s, e));
  EXPECT_EQ(e.line, 1 + kMaxMenuNesting);
  EXPECT_NE(e.message.find("nest deeper"), std::string::npos);

  std::string parens = "#define X " + std::string(10000, '(') + "1";
  EXPECT_FALSE(Parse(parens, s, e));
  EXPECT_NE(e.message.find("nests too deeply"), std::string::npos);

  EXPECT_FALSE(Parse(std::string(kMaxScriptBytes + 1, ' '), s, e));
}

// --- The library's resources ------------------------------------------------------------------

TEST(LibraryResources, FlyMenuTextHoldsTheMasterTexts) {
  TMenu master(LibraryModule(), "FLYMENU_TEXT");
  ASSERT_TRUE(master.IsOK());
  ASSERT_EQ(master.GetMenuItemCount(), 68);
  std::set<UINT> ids;
  for (int i = 0; i < 68; ++i) {
    EXPECT_EQ(master.GetMenuState(UINT(i), MF_BYPOSITION), 0u) << i;
    ids.insert(master.GetMenuItemID(i));
  }
  EXPECT_EQ(ids.size(), 68u);

  struct Entry {
    int pos;
    UINT id;
    const char* text;
  };
  const Entry table[] = {
      {0, 7432, "Go to Full Screen"},  {4, 7433, "Bookmark"},       {6, 7436, "Freeze Headings"},
      {7, 7437, "Freeze Headings"},    {19, 7207, "Next"},          {33, 7214, "Go To Year"},
      {38, 7209, "Options"},           {40, 7701, "Go to Small Screen"}, {41, 7533, "Book Mark"},
      {45, 7307, "Copy Text"},         {51, 7302, "Options"},       {52, 7530, "Idea Search"},
      {61, 7541, "Play Current Script"}, {62, 7570, "View Pageant Tutorial"}, {67, 7565, "Close"},
  };
  for (const Entry& e : table) {
    EXPECT_EQ(master.GetMenuItemID(e.pos), e.id) << e.pos;
    EXPECT_EQ(master.GetMenuString(UINT(e.pos), MF_BYPOSITION), e.text) << e.pos;
    char buffer[1024];
    EXPECT_EQ(master.GetMenuString(e.id, buffer, sizeof buffer, MF_BYCOMMAND),
              int(std::string(e.text).size()));
    EXPECT_STREQ(buffer, e.text);
  }
}

TEST(LibraryResources, ConstantButtonMenus) {
  struct Case {
    const char* name;
    std::vector<UINT> ids;
  };
  const Case cases[] = {
      {"ARTICLE_CONSTANTS", {7301, 7302, 7307, 7308, 7633, 7632, 7305, 7306}},
      {"MEDIA_CONSTANTS", {7432}},
      {"PATH_CONSTANTS", {7532}},
  };
  for (const Case& c : cases) {
    TMenu menu(LibraryModule(), c.name);
    ASSERT_TRUE(menu.IsOK()) << c.name;
    ASSERT_EQ(menu.GetMenuItemCount(), int(c.ids.size())) << c.name;
    for (size_t i = 0; i < c.ids.size(); ++i) {
      EXPECT_EQ(menu.GetMenuItemID(int(i)), c.ids[i]) << c.name << " " << i;
      EXPECT_EQ(menu.GetMenuString(UINT(i), MF_BYPOSITION), "@");
      // Only Options carries the check flag, which marks it as opening a submenu.
      EXPECT_EQ(menu.GetMenuState(UINT(i), MF_BYPOSITION), c.ids[i] == 7302 ? MF_CHECKED : 0u);
    }
  }
  EXPECT_FALSE(TMenu(LibraryModule(), "NO_SUCH_MENU").IsOK());
}

TEST(LibraryResources, HintStrings) {
  const TResourceTable& r = LibraryModule().Resources();
  const std::pair<uint32_t, const char*> hints[] = {
      {7432, "Expands this item to full screen"},
      {7107, "Retrieves the next media item from the article"},
      {7209, "Displays additional options"},
      {7701, "Changes to small screen view"},
      {7307, "Copies the highlighted text to the clipboard"},
      {7302, "Shows article options"},
  };
  for (const auto& [id, text] : hints) {
    ASSERT_NE(r.FindString(id), nullptr) << id;
    EXPECT_EQ(*r.FindString(id), text);
  }
  int count = 0;
  for (uint32_t id = 7000; id < 8000; ++id) count += r.FindString(id) != nullptr;
  EXPECT_EQ(count, 28);
  for (uint32_t none : {7101u, 7130u, 7211u, 7530u, 7565u}) EXPECT_EQ(r.FindString(none), nullptr);
}

TEST(LibraryResources, BookmarkCreatedDialog) {
  const TDialogTemplate* d = LibraryModule().Resources().FindDialog("BOOKMARK_CREATED");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->units, TRect(11, 30, 92, 57));
  EXPECT_EQ(d->caption, "");
  EXPECT_EQ(d->fontFace, "MS Sans Serif");
  EXPECT_EQ(d->fontPointSize, 8);
  EXPECT_TRUE(d->style & 0x80000000u);   // WS_POPUP
  EXPECT_TRUE(d->style & 0x00400000u);   // WS_DLGFRAME: a dialog frame ...
  EXPECT_FALSE(d->style & 0x00800000u);  // ... without a caption bar
  ASSERT_EQ(d->items.size(), 1u);
  EXPECT_EQ(d->items[0].className, "STATIC");
  EXPECT_EQ(d->items[0].text, "Bookmark created");
  EXPECT_EQ(d->items[0].id, 100);
  EXPECT_EQ(d->items[0].units, TRect(10, 9, 70, 17));
  EXPECT_EQ(d->items[0].style & 0xF, 1u);  // centred
}

TEST(LibraryResources, BitmapsDecodeWithMatchingMasks) {
  struct Case {
    const char* image;
    const char* mask;
    int size;
  };
  for (const Case& c : {Case{"CHECK", "CHECKM", 14}, Case{"ARROW", "ARROWM", 16}}) {
    const TBitmapResource* image = LibraryModule().Resources().FindBitmap(c.image);
    const TBitmapResource* mask = LibraryModule().Resources().FindBitmap(c.mask);
    ASSERT_TRUE(image && mask) << c.image;
    DibResult i = ReadBmp(image->bmp);
    DibResult m = ReadBmp(mask->bmp);
    ASSERT_TRUE(i.dib && m.dib) << i.error << m.error;
    EXPECT_EQ(i.dib->Width(), c.size);
    EXPECT_EQ(i.dib->Height(), c.size);
    EXPECT_EQ(m.dib->Width(), c.size);
    EXPECT_EQ(m.dib->BitsPerPixel(), 1);
    int shown = 0;
    for (int y = 0; y < c.size; ++y)
      for (int x = 0; x < c.size; ++x) {
        // White in the mask exactly where the image draws black ink.
        bool inMask = m.dib->GetPixelColor(x, y) == TColor::White;
        bool ink = i.dib->GetPixelColor(x, y) == TColor::Black;
        EXPECT_EQ(inMask, ink) << c.image << " " << x << "," << y;
        shown += inMask;
      }
    EXPECT_GT(shown, 10) << c.image;
    EXPECT_EQ(m.dib->GetPixelColor(0, 0), TColor::Black) << c.mask;
  }
}

}  // namespace
}  // namespace quill
