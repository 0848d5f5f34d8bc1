// ZButtonGadget: the settings service's button, a framework push button whose attributes
// (hint text, click sound, ...) are looked up in the settings file under a key built from the
// button's token. The library's animated buttons derive from it.
#pragma once

#include <memory>
#include <string>

#include "quillui/framework/gadgets/button_gadget.h"
#include "quillui/profile/attributes.h"

namespace quill {

class ZButtonGadget : public TButtonGadget, public ZAttributeHandler {
 public:
  // As the framework button's constructors.
  ZButtonGadget(TResId glyph, int id, TType type = Command, bool enabled = false, TState state = Up,
                bool sharedGlyph = false);
  ZButtonGadget(std::unique_ptr<TCelArray> cels, int id, TType type = Command, bool enabled = false,
                TState state = Up);
  ~ZButtonGadget() override;

  // The key of the button's attributes: its token, unless a derived button builds more.
  std::string build_key() const override;
  // The button's short name; empty here, so a plain button has no attributes.
  std::string get_token() const override;
};

}  // namespace quill
