// The resource script reader that quill-rc compiles the library's script with.
#include <gtest/gtest.h>

#include <string>

#include "tools/quill-rc/resource_script.h"

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

}  // namespace
}  // namespace quill
