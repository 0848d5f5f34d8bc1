#include "quillui/navigation/bookmark.h"

#include <gtest/gtest.h>

#include <cstring>

#include "quillui/framework/stream/pstream.h"
#include "quillui/framework/stream/streamable.h"

namespace quill::test {
namespace {

TEST(BookmarkTest, ConstructorsAndTypeRule) {
  ZBookmark empty;
  EXPECT_EQ(empty.GetName(), "");
  EXPECT_STREQ(empty.GetType(), "xxxx");
  EXPECT_EQ(empty.GetText(), "");

  ZBookmark textOnly("ArticleWin codedref=5");
  EXPECT_EQ(textOnly.GetName(), "No Name");
  EXPECT_STREQ(textOnly.GetType(), "xxxx");

  EXPECT_STREQ(ZBookmark("ARTI", "n", "t").GetType(), "ARTI");
  EXPECT_STREQ(ZBookmark("AB", "n", "t").GetType(), "AB");
  EXPECT_STREQ(ZBookmark("", "n", "t").GetType(), "");
  EXPECT_STREQ(ZBookmark("ARTIC", "n", "t").GetType(), "xxxx");
  EXPECT_STREQ(ZBookmark(static_cast<const char*>(nullptr), "n", "t").GetType(), "xxxx");

  ZBookmark original("MEDI", "name", "text");
  ZBookmark copy(original);
  EXPECT_EQ(copy.GetName(), "name");
  EXPECT_STREQ(copy.GetType(), "MEDI");
  ZBookmark assigned;
  assigned = original;
  EXPECT_EQ(assigned.GetText(), "text");
  EXPECT_STREQ(assigned.GetType(), "MEDI");
}

TEST(BookmarkTest, EqualityIgnoresTheType) {
  EXPECT_TRUE(ZBookmark("ARTI", "n", "t") == ZBookmark("MEDI", "n", "t"));
  EXPECT_FALSE(ZBookmark("ARTI", "n", "t") == ZBookmark("ARTI", "N", "t"));
  EXPECT_FALSE(ZBookmark("ARTI", "n", "t") == ZBookmark("ARTI", "n", "t "));
}

struct MakeCase {
  const char* text;
  bool made;
  const char* type;
  const char* entry;
};

TEST(BookmarkTest, MakeAndEntryName) {
  const MakeCase cases[] = {
      {"ArticleWin codedref=12 md=ARTI", true, "ARTI", "ArticleWin"},
      {"MediaWin md=MEDIA", true, "xxxx", "MediaWin"},  // five characters: not taken
      {"MediaWin", true, "xxxx", "MediaWin"},
      {"", true, "xxxx", ""},
      {"   ", true, "xxxx", ""},
      {"!State=< 0 0 0 0>", false, "", ""},
      {"codedref=12 ArticleWin", false, "", ""},
      {"<c> <b> <a>", true, "xxxx", "c"},
      {"List md=<LI>", true, "LI", "List"},
      {"Win md= x", true, "xxxx", "Win"},
      {"<unclosed md=ARTI", true, "xxxx", "unclosed md=ARTI"},
  };
  for (const MakeCase& c : cases) {
    SCOPED_TRACE(c.text);
    std::unique_ptr<ZBookmark> b = ZBookmark::Make(c.text);
    EXPECT_EQ(ZBookmark::GetEntryName(std::string(c.text)), c.entry);
    ASSERT_EQ(b != nullptr, c.made);
    if (!b) continue;
    EXPECT_STREQ(b->GetType(), c.type);
    EXPECT_EQ(b->GetName(), "No Name");
    EXPECT_EQ(b->GetText(), c.text);
    EXPECT_EQ(b->GetEntryName(), c.entry);
  }
  EXPECT_NE(ZBookmark::Make(static_cast<const char*>(nullptr)), nullptr);
}

TEST(BookmarkTest, StreamsAsRegisteredRecordAndBack) {
  RegisterBookmarkStreamable();
  ZBookmark original("ARTI", "Name", "ArticleWin codedref=7");
  omemstream os;
  os << original;
  // [ "ZBookmark" "Name" "ARTI" text ]
  const std::vector<uint8_t>& bytes = os.bytes();
  ASSERT_GE(bytes.size(), 14u);
  EXPECT_EQ(bytes[0], '[');
  EXPECT_EQ(std::memcmp(bytes.data() + 1, "\x09\0\0\0ZBookmark", 13), 0);
  EXPECT_EQ(bytes.back(), ']');
  EXPECT_EQ(bytes.size(), 1 + 13 + (4 + 4) + (4 + 4) + (4 + 21) + 1u);

  imemstream is(os.span());
  std::unique_ptr<ZBookmark> back;
  is >> back;
  ASSERT_TRUE(back);
  EXPECT_TRUE(is.good());
  EXPECT_EQ(back->GetName(), "Name");
  EXPECT_STREQ(back->GetType(), "ARTI");
  EXPECT_EQ(back->GetText(), "ArticleWin codedref=7");
}

TEST(BookmarkTest, ReadingKeepsFourCharactersOfTheType) {
  omemstream os;
  os.writeByte('[');
  os << "ZBookmark"
     << "n"
     << "TOOLONG"
     << "t";
  os.writeByte(']');
  imemstream is(os.span());
  ZBookmark b;
  ASSERT_TRUE(is.readObject(b));
  EXPECT_STREQ(b.GetType(), "TOOL");
  EXPECT_EQ(b.GetText(), "t");
}

}  // namespace
}  // namespace quill::test
