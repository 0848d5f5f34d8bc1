#include "quillui/resources/library_module.h"

namespace quill {

TModule& LibraryModule() {
  static TModule module("quillui");
  // Static initialisation runs once even when the first callers race.
  static const bool filled = (RegisterLibraryResources(module.Resources()), true);
  (void)filled;
  return module;
}

}  // namespace quill
