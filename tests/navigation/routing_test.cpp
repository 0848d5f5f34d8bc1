#include "quillui/navigation/routing.h"

#include "nav_test_support.h"
#include "quillui/profile/holder_ids.h"

namespace quill::test {
namespace {

class RoutingTest : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    for (const char* e : {"ArticleWin", "MediaWin", "ListWin", "Real", "MaxiWin", "PopWin"})
      RegisterEntry(e);
  }
};

TEST_F(RoutingTest, RoutingLinesGivePaneHolderNameAndFullScreen) {
  ZHolderIds::Register("ArticleWin", 3000);
  ZHolderIds::Register("Lists", 3001);
  WriteSettings(
      "[Routing]\n"
      "ArticleWin=Pane=Article\n"
      "MediaWin=Pane=Maxi fullscreen holder=NewHolder\n"
      "ListWin=holder=Lists Pane=Path Pane=popup\n"
      "Alias=entry=Real Pane=Env bogus=1\n"
      "MaxiWin=Pane=Popup Pane=Maxi\n"
      "Unknown=Pane=Path\n"
      "PopWin=Pane=<Popup>\n");
  LoadupRouting();
  ASSERT_EQ(GetRouting().GetCount(), 6);  // "Unknown" has no entry

  const ZRouteInfo* article = GetRouteInfo("ArticleWin");
  ASSERT_NE(article, nullptr);
  EXPECT_EQ(article->m_ePane, eARTICLE_PANE);
  EXPECT_EQ(article->m_iHolderId, 3000);  // the key's own id
  EXPECT_EQ(article->m_bFullScreen, 0);
  EXPECT_EQ(article->m_iReserved, 0);
  EXPECT_EQ(article->m_hEntry, GetEntry("ArticleWin"));

  const ZRouteInfo* media = GetRouteInfo("MediaWin");
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(media->m_ePane, eMAXI_PANE);
  EXPECT_EQ(media->m_bFullScreen, 1);
  const int added = ZHolderIds::Lookup("NewHolder");
  EXPECT_NE(added, ZHolderIds::kUnknown);
  EXPECT_EQ(media->m_iHolderId, added);

  const ZRouteInfo* list = GetRouteInfo("ListWin");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->m_ePane, ePATH_PANE);  // "popup" is not a pane name
  EXPECT_EQ(list->m_iHolderId, 3001);

  EXPECT_EQ(GetRouteInfo("Alias"), nullptr);
  const ZRouteInfo* alias = GetRouteInfo("Real");
  ASSERT_NE(alias, nullptr);
  EXPECT_EQ(alias->m_ePane, eENV_PANE);
  EXPECT_EQ(alias->m_iHolderId, ZHolderIds::kUnknown);  // "Alias" is no holder name

  EXPECT_EQ(GetRouteInfo("MaxiWin")->m_ePane, eMAXI_PANE);
  EXPECT_EQ(GetRouteInfo("PopWin")->m_ePane, ePOPUP_PANE);
  EXPECT_EQ(GetRouteInfo("Unknown"), nullptr);
  EXPECT_EQ(GetRouteInfo(""), nullptr);
  EXPECT_EQ(GetRouteInfo("articlewin"), nullptr);
}

TEST_F(RoutingTest, RouteOfABookmark) {
  WriteSettings("[Routing]\nArticleWin=Pane=Article\n");
  LoadupRouting();
  EXPECT_NE(GetRouteInfo(ZBookmark("ArticleWin codedref=1")), nullptr);
  EXPECT_EQ(GetRouteInfo(ZBookmark("codedref=1 ArticleWin")), nullptr);
  EXPECT_EQ(GetRouteInfo(ZBookmark("")), nullptr);
}

TEST_F(RoutingTest, KeepsSixtyFourRoutesAndTheFirstOfARepeatedName) {
  std::string settings = "[Routing]\n";
  for (int i = 0; i < 70; ++i) {
    const std::string name = "Entry" + std::to_string(i);
    RegisterEntry(name.c_str());
    settings += name + "=Pane=Path holder=H" + std::to_string(i) + "\n";
  }
  WriteSettings(settings);
  LoadupRouting();
  EXPECT_EQ(GetRouting().GetCount(), 64);
  EXPECT_NE(GetRouteInfo("Entry63"), nullptr);
  EXPECT_EQ(GetRouteInfo("Entry64"), nullptr);
  // Loading again appends nothing once the table is full; deleting first reloads.
  LoadupRouting();
  EXPECT_EQ(GetRouting().GetCount(), 64);
  DeleteRouting();
  EXPECT_EQ(GetRouting().GetCount(), 0);

  WriteSettings(
      "[Routing]\nFirst=entry=ArticleWin Pane=Article\nSecond=entry=ArticleWin Pane=Maxi\n");
  LoadupRouting();
  EXPECT_EQ(GetRouting().GetCount(), 2);
  EXPECT_EQ(GetRouteInfo("ArticleWin")->m_ePane, eARTICLE_PANE);
}

TEST_F(RoutingTest, LongKeyListsAreNotCut) {
  // Keys that fill well over 1024 bytes: a cut there would end in a partial key, which could
  // name another entry ("Entry1" out of "Entry17...").
  std::string settings = "[Routing]\n";
  std::vector<std::string> names;
  for (int i = 0; i < 60; ++i) {
    names.push_back("Entry" + std::to_string(i) + std::string(20, 'x'));
    RegisterEntry(names.back().c_str());
    settings += names.back() + "=Pane=Path\n";
  }
  RegisterEntry("Entry1");
  WriteSettings(settings);
  LoadupRouting();
  EXPECT_EQ(GetRouting().GetCount(), 60);
  EXPECT_NE(GetRouteInfo(names.back()), nullptr);
  EXPECT_EQ(GetRouteInfo("Entry1"), nullptr);
}

}  // namespace
}  // namespace quill::test
