#include "host/core/search.h"

#include <gtest/gtest.h>

namespace quillonary {
namespace {

Article Make(const char* id, const char* title, const char* text) {
  Article a;
  a.id = id;
  a.title = title;
  a.blocks.push_back(Block{Block::kParagraph, {TextRun{text, ""}}});
  return a;
}

class SearchTest : public ::testing::Test {
 protected:
  // Out of title order on purpose: the index orders them itself.
  std::vector<Article> articles_ = {
      Make("tides", "Tides", "The pull of the Moon raises the sea twice a day."),
      Make("moon", "The Moon", "Earth's satellite, lit by the Sun."),
      Make("sun", "The Sun", "A star; its light reaches us at the speed of light."),
      Make("comet", "Comets", "Icy bodies whose tails point away from the Sun."),
      Make("cafe", "Caf\xC3\xA9 culture", "Coffee houses."),
  };
  SearchIndex index_{articles_};

  std::vector<std::string> Ids(std::string_view query, size_t limit = 100) {
    std::vector<std::string> ids;
    for (const SearchHit& hit : index_.Find(query, limit))
      ids.push_back(hit.article->id + (hit.inTitle ? "*" : ""));
    return ids;
  }
};

TEST_F(SearchTest, TitleHitsComeFirstThenTextHitsEachByTitle) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Ids("sun"), (V{"sun*", "comet", "moon"}));
  EXPECT_EQ(Ids("moon"), (V{"moon*", "tides"}));
  // Every word must match, as a prefix of a word, in any case.
  EXPECT_EQ(Ids("  SPEED   o LiGh"), (V{"sun"}));
  EXPECT_EQ(Ids("the m"), (V{"moon*", "tides"}));
  EXPECT_EQ(Ids("oon"), V{});  // inside a word is not a prefix
  EXPECT_EQ(Ids("moon zebra"), V{});
  EXPECT_EQ(Ids("caf\xC3\xA9"), (V{"cafe*"}));  // other bytes compare as they are
  EXPECT_EQ(Ids("sun", 2), (V{"sun*", "comet"}));
}

TEST_F(SearchTest, EmptyQueryListsEveryArticleByTitle) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Ids(""), (V{"cafe*", "comet*", "moon*", "sun*", "tides*"}));
  EXPECT_EQ(Ids(" ,. "), Ids(""));
}

TEST_F(SearchTest, ExactTitleIgnoresCaseAndOuterSpaces) {
  EXPECT_EQ(index_.ExactTitle(" the MOON "), &articles_[1]);
  EXPECT_EQ(index_.ExactTitle("the moo"), nullptr);
  EXPECT_EQ(index_.ExactTitle(""), nullptr);
}

}  // namespace
}  // namespace quillonary
