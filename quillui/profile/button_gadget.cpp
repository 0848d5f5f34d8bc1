#include "quillui/profile/button_gadget.h"

#include <utility>

#include "quillui/framework/image/cel_array.h"

namespace quill {

ZButtonGadget::ZButtonGadget(TResId glyph, int id, TType type, bool enabled, TState state,
                             bool sharedGlyph)
    : TButtonGadget(std::move(glyph), id, type, enabled, state, sharedGlyph) {}

ZButtonGadget::ZButtonGadget(std::unique_ptr<TCelArray> cels, int id, TType type, bool enabled,
                             TState state)
    : TButtonGadget(std::move(cels), id, type, enabled, state) {}

ZButtonGadget::~ZButtonGadget() = default;

std::string ZButtonGadget::build_key() const { return ZAttributeHandler::build_key(); }

std::string ZButtonGadget::get_token() const { return ZAttributeHandler::get_token(); }

}  // namespace quill
