#include <string>

#include "quillui/framework/base/diagnostics.h"
#include "quillui/profile/attributes.h"
#include "quillui/profile/entries.h"
#include "quillui/profile/holder_ids.h"
#include "quillui/testing/profile.h"
#include "tests/profile/profile_fixture.h"

namespace quill::test {
namespace {

class LookupsTest : public ProfileTest {
 protected:
  void SetUp() override {
    ProfileTest::SetUp();
    ResetHolderIds();
    ResetHostLookups();
    atom_table::reset();
  }
  void TearDown() override {
    ResetHolderIds();
    ResetHostLookups();
    atom_table::reset();
    ProfileTest::TearDown();
  }
};

TEST_F(LookupsTest, HolderIdsGiveUnknownAndNewIds) {
  EXPECT_EQ(ZHolderIds::Lookup("ArticleHolder"), 2560);
  EXPECT_EQ(ZHolderIds::Lookup(nullptr), 2560);
  ASSERT_TRUE(ZHolderIds::Register("ArticleHolder", 100));
  ASSERT_TRUE(ZHolderIds::Register("Skip", ZHolderIds::kFirstAdded));
  EXPECT_FALSE(ZHolderIds::Register("ArticleHolder", 101));  // name taken
  EXPECT_FALSE(ZHolderIds::Register("Other", 100));          // id taken
  EXPECT_FALSE(ZHolderIds::Register("Other", 2560));

  const int a = ZHolderIds::Add("Gallery");
  const int b = ZHolderIds::Add("Timeline");
  EXPECT_NE(a, 2560);
  EXPECT_NE(a, ZHolderIds::kFirstAdded);  // registered by the host: skipped
  EXPECT_NE(a, b);
  EXPECT_EQ(ZHolderIds::Add("Gallery"), a);
  EXPECT_EQ(ZHolderIds::Lookup("Gallery"), a);
  EXPECT_EQ(ZHolderIds::Lookup("gallery"), 2560);  // names compare exactly
  EXPECT_EQ(ZHolderIds::Lookup("ArticleHolder"), 100);
  EXPECT_EQ(ZHolderIds::Add(""), 2560);
}

TEST_F(LookupsTest, HostRegistersEntriesDatabasesAndTheTextRewrite) {
  EXPECT_EQ(GetEntry("Article"), 0u);
  const ZEntryHandle article = RegisterEntry("Article");
  EXPECT_NE(article, 0u);
  EXPECT_EQ(RegisterEntry("Article"), article);
  EXPECT_NE(RegisterEntry("Gallery"), article);
  EXPECT_EQ(GetEntry("Article"), article);
  EXPECT_EQ(GetEntry("article"), 0u);
  EXPECT_EQ(RegisterEntry(""), 0u);

  EXPECT_EQ(GetDefaultDB("ART"), nullptr);
  RegisterDefaultDB("ART", "/data/art.sdf");
  const ZDefaultDB* db = GetDefaultDB("art");
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(db->fileName, "/data/art.sdf");
  RegisterDefaultDB("Art", "/data/art2.sdf");
  EXPECT_EQ(db->fileName, "/data/art2.sdf");  // updated in place: the pointer stays good

  std::string text = "Article seq=12";
  changeSeqNumToTitle(text);
  EXPECT_EQ(text, "Article seq=12");
  SetChangeSeqNumToTitleHook([](std::string& t) { t += " title=<Twelve>"; });
  changeSeqNumToTitle(text);
  EXPECT_EQ(text, "Article seq=12 title=<Twelve>");
}

class Button : public ZAttributeHandler {
 public:
  explicit Button(std::string token) : token_(std::move(token)) {}
  std::string get_token() const override { return token_; }

 private:
  std::string token_;
};

TEST_F(LookupsTest, AttributesComeFromTheSectionOfTheirName) {
  WriteIni(
      "[HintText]\npbnext=Next article\nPBBACK=Back\n"
      "[ClickSound]\npbnext=click.wav!\n"
      "[Sound]\npbnext=\n");
  const ZAtom hint = atom_table::create_atom("HintText");
  const ZAtom click = atom_table::create_atom("ClickSound");
  const ZAtom sound = atom_table::create_atom("Sound");
  EXPECT_NE(hint, 0);
  EXPECT_NE(hint, click);
  EXPECT_EQ(atom_table::create_atom("hinttext"), hint);
  EXPECT_EQ(atom_table::find_atom("HINTTEXT"), hint);
  EXPECT_EQ(atom_table::get_name(hint), "HintText");
  EXPECT_EQ(atom_table::find_atom("Nope"), 0);
  EXPECT_EQ(atom_table::create_atom(""), 0);

  const Button next("pbnext"), back("pbback"), none("pbnone"), unnamed("");
  EXPECT_EQ(next.attribute(hint), "Next article");
  EXPECT_EQ(next.attribute(click), "click.wav!");
  EXPECT_EQ(next.attribute(sound), "");
  EXPECT_EQ(back.attribute(hint), "Back");
  EXPECT_EQ(none.attribute(hint), "");
  EXPECT_EQ(unnamed.attribute(hint), "");
  EXPECT_EQ(next.attribute(ZAtom(0)), "");
  EXPECT_EQ(next.attribute("HintText"), "Next article");
  EXPECT_EQ(next.build_key(), "pbnext");
}

TEST_F(LookupsTest, FrameworkDiagnosticsReachTheReporter) {
  ConnectFrameworkDiagnostics();
  ReportDiagnostic("layout has no solution", "Layout", "layout_solver.cpp", 12);
  SetDiagnosticsHook({});
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "layout has no solution");
}

}  // namespace
}  // namespace quill::test
