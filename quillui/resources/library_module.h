// The library's own module: the TModule whose resources are the ones compiled from
// resources/quillui.rc (menus, hint strings, the bookmark notice, fly-menu images).
#pragma once

#include "quillui/framework/base/module.h"

namespace quill {

// Made and filled on first use; lives until the process ends.
TModule& LibraryModule();

// Defined by the source quill-rc generates from the library's resource script.
void RegisterLibraryResources(TResourceTable& table);

}  // namespace quill
