#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <set>
#include <sstream>

#include "host/core/article.h"
#include "host/core/content_store.h"
#include "host/core/search.h"
#include "quillui/framework/image/dib.h"
#include "quillui/imaging/data_set.h"

namespace quillonary {
namespace {

constexpr const char* kGood =
    "title: The Moon\n"
    "id: moon\n"
    "picture: moon.bmp | A crescent\n"
    "sound: whale.wav\n"
    "\n"
    "The Moon raises the [[tides]]\r\n"
    "of the sea, lit by [[sun|the Sun]]. A ]] alone is text.\n"
    "\n"
    "# Phases\n"
    "About [[moon-phase|29.5 days]].\n";

TEST(ParseArticle, ReadsHeaderBlocksLinksAndMedia) {
  Article a;
  std::string error;
  ASSERT_TRUE(ParseArticle(kGood, a, &error)) << error;
  EXPECT_EQ(a.title, "The Moon");
  EXPECT_EQ(a.id, "moon");
  ASSERT_EQ(a.media.size(), 2u);
  EXPECT_EQ(a.media[0].kind, MediaItem::kPicture);
  EXPECT_EQ(a.media[0].file, "moon.bmp");
  EXPECT_EQ(a.media[0].caption, "A crescent");
  EXPECT_EQ(a.media[1].kind, MediaItem::kSound);
  EXPECT_EQ(a.media[1].caption, "");
  ASSERT_EQ(a.blocks.size(), 3u);
  EXPECT_EQ(a.blocks[1].kind, Block::kHeading);
  const auto& runs = a.blocks[0].runs;
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(runs[0].text, "The Moon raises the ");
  EXPECT_EQ(runs[1].text, "tides");
  EXPECT_EQ(runs[1].link, "tides");
  EXPECT_EQ(runs[2].text, " of the sea, lit by ");  // lines of a paragraph join with a space
  EXPECT_EQ(runs[3].link, "sun");
  EXPECT_EQ(runs[3].text, "the Sun");
  EXPECT_EQ(runs[4].text, ". A ]] alone is text.");
  EXPECT_EQ(a.blocks[2].runs[1].text, "29.5 days");
  EXPECT_EQ(a.PlainText(),
            "The Moon raises the tides of the sea, lit by the Sun. A ]] alone is text.\n"
            "Phases\nAbout 29.5 days.");
}

TEST(ParseArticle, RefusesBadTextsNamingTheLine) {
  const std::string head = "title: T\nid: t\n\n";
  struct Case {
    std::string text;
    const char* message;  // a part of the error
  } cases[] = {
      {"id: t\n\nText.\n", "no title"},
      {"title: T\n\nText.\n", "no id"},
      {head, "no text"},
      {"title: T\nid: Bad_Id\n\nText.\n", "line 2: the id"},
      {"title: T\nid: " + std::string(65, 'a') + "\n\nText.\n", "line 2: the id"},
      {"title: T\nid: t\ncolour: red\n\nText.\n", "line 3: unknown header key"},
      {"title: T\ntitle: U\nid: t\n\nText.\n", "line 2: a second title"},
      {"title: T\nid: t\nplain text\n\nText.\n", "line 3: a header line"},
      {"title: T\nid: t\npicture: ../etc/passwd | x\n\nText.\n", "line 3: the media file"},
      {"title: T\nid: t\nsound: a/b.wav\n\nText.\n", "line 3: the media file"},
      {"title: T\nid: t\npicture: .hidden\n\nText.\n", "line 3: the media file"},
      {"title: T\nid: t\npicture: averyveryverylongname.bmp\n\nText.\n", "line 3: the media file"},
      {head + "Fine.\nAn [[open link\n", "line 5: a link \"[[\" is not closed"},
      {head + "A [[Not An Id|x]].\n", "line 4: a link names"},
      {head + "A [[t|]].\n", "line 4: a link shows no text"},
      {head + "A [[t|x [[u]]\n", "line 4: a link holds another link"},
      {head + std::string(5000, 'x') + "\n", "line 4: the line is too long"},
      {head + "bad \xC3\x28 byte\n", "line 4: the line is not clean UTF-8"},
      {head + "a bell \x07\n", "line 4: the line is not clean UTF-8"},
      {head + "overlong \xC0\xAF\n", "line 4: the line is not clean UTF-8"},
      {head + std::string((1 << 20) + 1, 'x'), "larger than 1 MiB"},
  };
  for (const Case& c : cases) {
    Article a;
    a.title = "unchanged";
    std::string error;
    EXPECT_FALSE(ParseArticle(c.text, a, &error)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(a.title, "unchanged");
  }
}

TEST(ParseArticle, CapsBlocksAndMediaWithoutPreSizing) {
  std::string many = "title: T\nid: t\n\n";
  for (int i = 0; i < 3000; ++i) many += "p\n\n";
  Article a;
  std::string error;
  EXPECT_FALSE(ParseArticle(many, a, &error));
  EXPECT_NE(error.find("too many blocks"), std::string::npos) << error;

  std::string media = "title: T\nid: t\n";
  for (int i = 0; i < 17; ++i) media += "picture: p.bmp\n";
  EXPECT_FALSE(ParseArticle(media + "\nText.\n", a, &error));
  EXPECT_NE(error.find("line 19: too many media"), std::string::npos) << error;
}

#ifdef QUILLONARY_CONTENT_DIR

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The shipped content: every article parses, every link leads to an article, every media
// item is in the media set or the sounds folder, and every article links to two others.
TEST(Content, ShippedArticlesAreWholeAndCrossLinked) {
  ContentStore store;
  std::string error;
  ASSERT_TRUE(store.Load(QUILLONARY_CONTENT_DIR, &error)) << error;
  EXPECT_EQ(store.Skipped(), 0);
  EXPECT_GE(store.Articles().size(), 20u);
  const quill::ZDataSet media =
      quill::ZDataSet::AtPath(std::string(QUILLONARY_CONTENT_DIR) + "/media.set");
  for (const Article& a : store.Articles()) {
    // The source file of each article bears its id and parses to the same article.
    Article source;
    const std::string text =
        ReadFile(std::string(QUILLONARY_SOURCE_DIR) + "/articles/" + a.id + ".txt");
    EXPECT_TRUE(ParseArticle(text, source, &error)) << a.id << ": " << error;
    EXPECT_EQ(source.title, a.title);

    std::set<std::string> targets;
    for (const Block& b : a.blocks)
      for (const TextRun& r : b.runs)
        if (!r.link.empty()) {
          EXPECT_NE(store.Find(r.link), nullptr) << a.id << " links to " << r.link;
          if (r.link != a.id) targets.insert(r.link);
        }
    EXPECT_GE(targets.size(), 2u) << a.id;

    bool picture = false;
    for (const MediaItem& m : a.media) {
      if (m.kind == MediaItem::kPicture) {
        picture = true;
        EXPECT_GE(media.find_offset(m.file), 0) << a.id << ": " << m.file;
      } else {
        struct stat st {};
        EXPECT_EQ(::stat(store.SoundPath(m.file).c_str(), &st), 0) << a.id << ": " << m.file;
      }
    }
    EXPECT_TRUE(picture) << a.id;
  }
}

// Typing any shipped title finds that article among the title hits, and Enter on it opens it.
TEST(Content, EveryTitleIsFoundBySearch) {
  ContentStore store;
  std::string error;
  ASSERT_TRUE(store.Load(QUILLONARY_CONTENT_DIR, &error)) << error;
  const SearchIndex index(store.Articles());
  for (const Article& a : store.Articles()) {
    EXPECT_EQ(index.ExactTitle(a.title), &a);
    bool found = false;
    for (const SearchHit& hit : index.Find(a.title)) found |= hit.article == &a && hit.inTitle;
    EXPECT_TRUE(found) << a.title;
  }
}

TEST(Content, StoreFindsAndLoadsAndRefusesUnsafeNames) {
  ContentStore store;
  std::string error;
  ASSERT_TRUE(store.Load(QUILLONARY_CONTENT_DIR, &error)) << error;
  const auto& all = store.Articles();
  for (size_t i = 1; i < all.size(); ++i) {
    std::string a = all[i - 1].title, b = all[i].title;
    for (char& c : a) c = char(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : b) c = char(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_LE(a, b);
  }
  const Article* moon = store.Find("moon");
  ASSERT_NE(moon, nullptr);
  EXPECT_EQ(store.FindByTitle("the MOON"), moon);
  EXPECT_EQ(store.Find("no-such"), nullptr);

  auto dib = store.LoadPicture("moon.bmp", &error);
  ASSERT_NE(dib, nullptr) << error;
  EXPECT_EQ(dib->Width(), 320);
  EXPECT_EQ(dib->Height(), 240);
  EXPECT_EQ(store.LoadPicture("missing.bmp", &error), nullptr);
  EXPECT_EQ(store.LoadPicture("../articles.set", &error), nullptr);

  EXPECT_EQ(store.SoundPath("thunder.wav"),
            std::string(QUILLONARY_CONTENT_DIR) + "/sounds/thunder.wav");
  EXPECT_EQ(store.SoundPath("../../etc/passwd"), "");
  EXPECT_EQ(store.SoundPath(".."), "");
}

#endif

// A damaged set: a member that does not parse is skipped and counted, the rest are read; a
// folder without articles is an error.
TEST(Content, LoadSkipsBadMembersAndFailsOnNone) {
  char tmpl[] = "/tmp/quillonary-content-XXXXXX";
  ASSERT_NE(::mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir + "/" + name, std::ios::binary) << text;
    return dir + "/" + name;
  };
  quill::ZDataSet set = quill::ZDataSet::AtPath(dir + "/articles.set", true);
  set.add_file(write("b.txt", "title: beta\nid: b\n\nText of [[a]].\n"));
  set.add_file(write("bad.txt", "no header here\n"));
  set.add_file(write("a.txt", "title: Alpha\nid: a\n\nText of [[b]].\n"));
  set.add_file(write("a2.txt", "title: Again\nid: a\n\nA second article a.\n"));
  ASSERT_TRUE(set.write());

  ContentStore store;
  std::string error;
  ASSERT_TRUE(store.Load(dir, &error)) << error;
  ASSERT_EQ(store.Articles().size(), 2u);
  EXPECT_EQ(store.Articles()[0].title, "Alpha");  // by title without regard to case
  EXPECT_EQ(store.Articles()[1].title, "beta");
  EXPECT_EQ(store.Skipped(), 2);
  EXPECT_EQ(store.LoadPicture("a.bmp", &error), nullptr);  // no media set

  ContentStore empty;
  EXPECT_FALSE(empty.Load(dir + "/nowhere", &error));
  EXPECT_FALSE(error.empty());
  for (const char* name : {"a.txt", "b.txt", "bad.txt", "a2.txt", "articles.set"})
    std::remove((dir + "/" + name).c_str());
  ::rmdir(dir.c_str());
}

}  // namespace
}  // namespace quillonary
