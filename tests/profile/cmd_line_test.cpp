#include "quillui/profile/cmd_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

std::vector<std::string> Items(const char* text) {
  ZCmdLine line(text);
  std::vector<std::string> out;
  std::string name, value;
  for (bool ok = line.FindFirst(name, value); ok; ok = line.FindNext(name, value))
    out.push_back(value.empty() ? name : name + "=" + value);
  return out;
}

TEST(CmdLineTest, ScansItemsIncludingNestingAndDamage) {
  const struct {
    const char* text;
    std::vector<std::string> items;
  } cases[] = {
      {"", {}},
      {"   \t\r\n ", {}},
      {"Article md=ARTI codedref=1234", {"Article", "md=ARTI", "codedref=1234"}},
      {"255 0   0", {"255", "0", "0"}},
      {"font=<Times New Roman> size=-12 bold", {"font=Times New Roman", "size=-12", "bold"}},
      {"!State=<M:1 P:<a b>> !quiet", {"!State=M:1 P:<a b>", "!quiet"}},
      // A grouped text: each item is a whole bookmark text in brackets.
      {"<Article codedref=5 title=<A b>> <Gallery md=PICT>",
       {"Article codedref=5 title=<A b>", "Gallery md=PICT"}},
      {"a= b", {"a", "b"}},
      {"=v x", {"=v", "x"}},
      {"a==b", {"a==b"}},
      {"x=<>", {"x"}},
      {"<>", {""}},
      {"a=<unclosed b c", {"a=unclosed b c"}},
      {"<open <deeper", {"open <deeper"}},
      {"stray> a>b=c>", {"stray>", "a>b=c>"}},
      {"a=<x>>b", {"a=x", ">b"}},
      {"a=x<y z", {"a=x<y", "z"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Items(c.text), c.items) << "text: " << c.text;

  // Empty-named items are still items: FindFirst of "=" reports one.
  ZCmdLine eq("=");
  std::string name = "x", value = "y";
  EXPECT_TRUE(eq.FindFirst(name, value));
  EXPECT_EQ(name, "");
  EXPECT_EQ(value, "");
}

TEST(CmdLineTest, ValueLookups) {
  ZCmdLine line("Entry md=TOOLONG codedref=-42 n=12abc bad=x <md=HIDDEN> md=second e=");
  EXPECT_EQ(line.GetValue("md"), "TOOLONG");  // the first one
  EXPECT_EQ(line.GetValue("MD"), "");         // names compare exactly
  std::string v = "old";
  EXPECT_FALSE(line.GetValue("missing", v));
  EXPECT_EQ(v, "");
  EXPECT_TRUE(line.GetValue("e", v));
  EXPECT_EQ(v, "");

  long n = 7;
  EXPECT_TRUE(line.GetLongValue("codedref", n));
  EXPECT_EQ(n, -42);
  EXPECT_TRUE(line.GetLongValue("n", n));
  EXPECT_EQ(n, 12);
  n = 7;
  EXPECT_FALSE(line.GetLongValue("bad", n));
  EXPECT_FALSE(line.GetLongValue("Entry", n));
  EXPECT_FALSE(line.GetLongValue("missing", n));
  EXPECT_EQ(n, 7);
  EXPECT_FALSE(line.GetLongValue(nullptr, n));

  // Lookups do not disturb an enumeration in progress.
  std::string name;
  ASSERT_TRUE(line.FindFirst(name, v));
  line.GetValue("e");
  ASSERT_TRUE(line.FindNext(name, v));
  EXPECT_EQ(name, "md");
}

TEST(CmdLineTest, BracketRoundTripsNestedTexts) {
  const std::string inner = "Article codedref=5 title=<A b>";
  ZCmdLine line("x=" + ZCmdLine::Bracket(inner) + " " + ZCmdLine::Bracket(""));
  EXPECT_EQ(line.GetValue("x"), inner);
  ZCmdLine null(static_cast<const char*>(nullptr));
  std::string name, value;
  EXPECT_FALSE(null.FindFirst(name, value));
}

// Long texts of many items, unclosed brackets and deep nesting scan in one pass (the
// benchmark BM_CmdLineScan shows the figures); a scanner that restarted per item or
// recursed per bracket would stall or overflow here.
TEST(CmdLineTest, LongTextsScanInLinearTime) {
  std::string many;
  for (int i = 0; i < 100000; ++i)
    many += "item" + std::to_string(i) + "=<v " + std::to_string(i) + "> ";
  std::string unclosed = "a=<" + std::string(1 << 20, 'x');
  std::string deep(1 << 20, '<');

  ZCmdLine line(many);
  std::string name, value;
  int count = 0;
  for (bool ok = line.FindFirst(name, value); ok; ok = line.FindNext(name, value)) ++count;
  EXPECT_EQ(count, 100000);
  EXPECT_EQ(line.GetValue("item99999"), "v 99999");
  EXPECT_EQ(Items(unclosed.c_str()).size(), 1u);
  EXPECT_EQ(Items(deep.c_str()).size(), 1u);
}

}  // namespace
}  // namespace quill
