// The settings service's button: a framework button whose attributes are read under the key
// its token builds.
#include <gtest/gtest.h>

#include <string>

#include "profile/profile_fixture.h"
#include "quillui/profile/button_gadget.h"

namespace quill::test {
namespace {

class NamedButton : public ZButtonGadget {
 public:
  NamedButton(const char* token, int id) : ZButtonGadget(TResId(), id, Exclusive), token_(token) {}
  std::string get_token() const override { return token_; }

 private:
  std::string token_;
};

class BarButton : public NamedButton {
 public:
  using NamedButton::NamedButton;
  std::string build_key() const override { return "bar." + get_token(); }
};

using ButtonAttributesTest = ProfileTest;

TEST_F(ButtonAttributesTest, AttributesAreReadUnderTheKeyBuiltFromTheToken) {
  WriteIni(
      "[HintText]\npbnext=Next article\nbar.pbnext=Next in the bar\n"
      "[ClickSound]\npbnext=click.wav!\n");
  NamedButton next("pbnext", 7107);
  BarButton inBar("pbnext", 7107);
  ZButtonGadget plain(TResId("pbnext"), 7108);

  EXPECT_EQ(next.attribute("HintText"), "Next article");
  EXPECT_EQ(next.attribute(atom_table::create_atom("ClickSound")), "click.wav!");
  EXPECT_EQ(next.attribute("Sound"), "");
  EXPECT_EQ(inBar.attribute("HintText"), "Next in the bar");
  // Without a token a button has no key, so no attributes (its glyph name is no token).
  EXPECT_EQ(plain.build_key(), "");
  EXPECT_EQ(plain.attribute("HintText"), "");

  // Still the framework's button, with the type and id it was given.
  TButtonGadget& asButton = next;
  EXPECT_EQ(asButton.GetButtonType(), TButtonGadget::Exclusive);
  EXPECT_EQ(asButton.GetId(), 7107);
  ZAttributeHandler& asHandler = inBar;
  EXPECT_EQ(asHandler.build_key(), "bar.pbnext");
}

}  // namespace
}  // namespace quill::test
