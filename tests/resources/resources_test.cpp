// The library's compiled resources: menus, strings, dialogs and bitmaps.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "quillui/framework/image/bmp_codec.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/resources/library_module.h"

namespace quill {
namespace {

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
      {0, 7432, "Go to Full Screen"},
      {4, 7433, "Bookmark"},
      {6, 7436, "Freeze Headings"},
      {7, 7437, "Freeze Headings"},
      {19, 7207, "Next"},
      {33, 7214, "Go To Year"},
      {38, 7209, "Options"},
      {40, 7701, "Go to Small Screen"},
      {41, 7533, "Book Mark"},
      {45, 7307, "Copy Text"},
      {51, 7302, "Options"},
      {52, 7530, "Idea Search"},
      {61, 7541, "Play Current Script"},
      {62, 7570, "View Pageant Tutorial"},
      {67, 7565, "Close"},
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
