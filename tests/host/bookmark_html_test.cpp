#include "host/core/bookmark_html.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/core/bookmark_texts.h"

namespace quillonary {
namespace {

struct Parsed {
  HtmlImportResult result;
  std::vector<std::unique_ptr<quill::ZBookmark>> bookmarks;
};

Parsed Parse(std::string_view html) {
  Parsed p;
  p.result = ParseBookmarksHtml(
      html, [&](std::unique_ptr<quill::ZBookmark> b) { p.bookmarks.push_back(std::move(b)); });
  return p;
}

class BookmarkHtmlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "bmkhtmlXXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

TEST_F(BookmarkHtmlTest, ExportThenImportGivesTheSameList) {
  // Names with markup characters, UTF-8 and line breaks; texts of every kind the host writes,
  // foreign addresses among them (one whose brackets do not pair up).
  const char* names[] = {"Aurora",
                         "Fish & <Chips>",
                         "\"Quoted\" 'name'",
                         "Zürich — 日本",
                         "two\nlines",
                         "&amp; stays literal",
                         ""};
  const char* types[] = {"ARTC", "MEDI", "xxxx", "LINK", "ab"};
  quill::ZBookmarkList list;
  for (int i = 0; i < 10000; ++i) {
    const std::string n = std::to_string(i);
    std::string text;
    switch (i % 6) {
      case 0: text = ArticleText("article-" + n); break;
      case 1: text = MediaText("aurora", i); break;
      case 2: text = SearchText("100% <fast> & \"sure\" " + n); break;
      case 3: text = WebText("https://example.org/a?b=" + n + "&c=<d>%20e"); break;
      case 4: text = WebText("https://example.org/>odd<" + n); break;
      default: text = "Web url=<https://x/" + n + "> extra=1"; break;  // not a bare address
    }
    list.Add(std::make_unique<quill::ZBookmark>(types[i % 5], names[i % 7] + n, text));
  }
  // A name and a text of the longest length taken, made of the characters escaped longest.
  list.Add(std::make_unique<quill::ZBookmark>("ARTC", std::string(kMaxHtmlField, '"'),
                                              SearchText(std::string(kMaxHtmlField - 11, '%'))));
  std::string error;
  ASSERT_TRUE(ExportBookmarksHtml(list, Path("out.html"), &error)) << error;

  quill::ZBookmarkList back;
  const HtmlImportResult r = ImportBookmarksHtml(Path("out.html"), back);
  EXPECT_FALSE(r.refused);
  EXPECT_EQ(r.imported, 10001);
  EXPECT_EQ(r.skipped, 0);
  EXPECT_EQ(r.message, "Imported 10001 bookmarks.");
  EXPECT_TRUE(back.IsModified());
  ASSERT_EQ(back.GetCount(), list.GetCount());
  for (int i = 0; i < list.GetCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(back.Get(i)->GetName(), list.Get(i)->GetName());
    EXPECT_STREQ(back.Get(i)->GetType(), list.Get(i)->GetType());
    EXPECT_EQ(back.Get(i)->GetText(), list.Get(i)->GetText());
  }
  // A foreign address goes out exactly as it came in.
  EXPECT_NE(BookmarksToHtml(back).find("HREF=\"https://example.org/a?b=3&amp;c=&lt;d&gt;%20e\""),
            std::string::npos);
}

TEST_F(BookmarkHtmlTest, ImportsABrowsersFile) {
  quill::ZBookmarkList list;
  list.Add(std::make_unique<quill::ZBookmark>("ARTC", "Already there", ArticleText("x")));
  const HtmlImportResult r =
      ImportBookmarksHtml(std::string(QUILL_TEST_DATA_DIR) + "/host/browser_bookmarks.html", list);
  EXPECT_EQ(r.message, "Imported 6 bookmarks; 1 was skipped: 1 without an address.");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Already there", ArticleText("x")},
      {"Toolbar / Example & Co", WebText("https://example.org/")},
      {"Toolbar / Café & Reading / Zürich <Altstadt>",
       WebText("https://example.org/search?q=a&lang=de")},
      {"Toolbar / Café & Reading / Notes — \"draft\" '1'", WebText("file:///home/user/notes.txt")},
      {"Toolbar / 日本語のページ", WebText("https://example.org/ja")},
      {"Aurora", ArticleText("aurora")},
      {"lower\u00A0case", WebText("https://example.org/lower")},
  };
  ASSERT_EQ(list.GetCount(), int(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(list.Get(int(i))->GetName(), expected[i].first);
    EXPECT_EQ(list.Get(int(i))->GetText(), expected[i].second);
  }
  EXPECT_STREQ(list.Get(1)->GetType(), kWebType);
  EXPECT_STREQ(list.Get(5)->GetType(), "ARTC");
  EXPECT_EQ(WebAddress(list.Get(2)->GetText()), "https://example.org/search?q=a&lang=de");
}

TEST(BookmarkHtml, DecodesEntitiesInTitles) {
  const struct {
    const char* title;
    const char* name;
  } cases[] = {
      {"a &amp; b &lt;c&gt;", "a & b <c>"},
      {"&quot;&#39;&apos;", "\"''"},
      {"no&nbsp;break", "no\u00A0break"},
      {"&#233;&#xE9;&#XE9;&#x1F600;", "ééé\xF0\x9F\x98\x80"},
      {"&#0;&#xD800;&#x110000;&#99999999999999999999;", "\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"&#65 no semicolon", "A no semicolon"},
      {"&eacute; &amp &#; &#x; & alone", "&eacute; &amp &#; &#x; & alone"},
      {"a < b <> c", "a < b <> c"},
      {"<b>bold</b> <!-- note --> kept", "bold  kept"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const Parsed p = Parse(std::string("<A HREF=\"https://x/\">") + c.title + "</A>");
    ASSERT_EQ(p.bookmarks.size(), 1u);
    EXPECT_EQ(p.bookmarks[0]->GetName(), c.name);
  }
}

TEST(BookmarkHtml, UnclosedTagsAndQuotesEndAtTheNextTag) {
  const Parsed p = Parse(
      "<DL><p><DT><H3>Open folder<DL><p><DT><A HREF=\"https://a/\">One"
      "<DT><A HREF=https://d>Three</DL><DT><A HREF=\"https://b/>Two<DT><A HREF=https://e");
  ASSERT_EQ(p.bookmarks.size(), 4u);
  EXPECT_EQ(p.bookmarks[0]->GetName(), "Open folder / One");
  EXPECT_EQ(p.bookmarks[1]->GetName(), "Open folder / Three");
  EXPECT_EQ(p.bookmarks[2]->GetName(), "Two");
  EXPECT_EQ(WebAddress(p.bookmarks[2]->GetText()), "https://b/");
  EXPECT_EQ(p.bookmarks[3]->GetName(), "https://e");  // no title: the address names it
  EXPECT_EQ(p.result.message, "Imported 4 bookmarks.");
}

TEST(BookmarkHtml, DeepNestingIsFlattenedWithAMessage) {
  std::string html;
  for (int i = 0; i < 100000; ++i) html += "<DT><H3>Folder</H3><DL><p>";
  html += "<DT><A HREF=\"https://deep/\">Deep</A>";
  for (int i = 0; i < 100000; ++i) html += "</DL><p>";
  html += "<DT><A HREF=\"https://top/\">Top</A>";
  const Parsed p = Parse(html);
  ASSERT_EQ(p.bookmarks.size(), 2u);
  const std::string_view deep = p.bookmarks[0]->GetName();
  EXPECT_LE(deep.size(), kMaxHtmlFolderPath + 4);
  EXPECT_EQ(deep.substr(0, 18), "Folder / Folder / ");
  EXPECT_EQ(deep.substr(deep.size() - 4), "Deep");
  EXPECT_EQ(p.bookmarks[1]->GetName(), "Top");  // every folder was closed again
  EXPECT_EQ(p.result.flattened, 100000 - kMaxHtmlFolderDepth);
  EXPECT_EQ(p.result.message,
            "Imported 2 bookmarks; 99744 folders nested deeper than 256 folders were merged "
            "into the folder above.");
}

TEST(BookmarkHtml, HugeAttributesAndTitlesAndTooManyLinks) {
  const std::string huge(10 << 20, 'x');
  Parsed p = Parse("<A HREF=\"https://" + huge + "\">Big</A><A ICON=\"" + huge +
                   "\" HREF=\"https://ok/\">" + huge + "</A><A>none</A>");
  ASSERT_EQ(p.bookmarks.size(), 1u);
  EXPECT_EQ(WebAddress(p.bookmarks[0]->GetText()), "https://ok/");
  EXPECT_EQ(p.bookmarks[0]->GetName().size(), kMaxHtmlField);
  EXPECT_EQ(p.result.message,
            "Imported 1 bookmark; 2 were skipped: 1 with an address longer than 64 KiB, 1 "
            "without an address; 1 title longer than 64 KiB was shortened.");

  std::string many;
  for (int i = 0; i <= kMaxHtmlBookmarks; ++i) many += "<A HREF=q>t</A>";
  p = Parse(many);
  EXPECT_EQ(p.result.imported, kMaxHtmlBookmarks);
  EXPECT_EQ(p.result.message,
            "Imported 100000 bookmarks; 1 was skipped: 1 past the limit of 100000 bookmarks.");
}

TEST_F(BookmarkHtmlTest, RefusedFilesLeaveTheListUntouched) {
  { std::ofstream(Path("plain.html")) << "<html><body><p>Hello &amp; welcome</p></body></html>"; }
  { std::ofstream(Path("big.html")) << "<!DOCTYPE NETSCAPE-Bookmark-file-1><A HREF=q>t</A>"; }
  std::filesystem::resize_file(Path("big.html"), kMaxHtmlBytes + 1);  // sparse

  quill::ZBookmarkList list;
  list.Add(std::make_unique<quill::ZBookmark>("ARTC", "Kept", ArticleText("kept")));
  const struct {
    std::string path;
    const char* message;
  } cases[] = {
      {Path("plain.html"), "This is not a bookmark file: it holds no links."},
      {Path("big.html"), "The file is larger than 64 MiB; nothing was imported."},
      {Path("missing.html"), "Unable to open '"},
      {dir_.string(), "Unable to read '"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const HtmlImportResult r = ImportBookmarksHtml(c.path, list);
    EXPECT_TRUE(r.refused);
    EXPECT_EQ(r.message.rfind(c.message, 0), 0u) << r.message;
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_FALSE(list.IsModified());
  }
  // An empty bookmark file is no refusal.
  EXPECT_EQ(Parse("<!DOCTYPE NETSCAPE-Bookmark-file-1><DL><p></DL>").result.message,
            "Imported 0 bookmarks.");
}

}  // namespace
}  // namespace quillonary
