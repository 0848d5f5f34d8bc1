// Test hooks for the imaging statics: the bitmap manager, the background and the frame switches.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "quillui/framework/image/dib.h"

namespace quill {

class TPalette;

// No registered data sets, [BMPSets] not read yet, the real graphics reader.
void ResetBitmapManager();

// What the bitmap manager hands a file to: path, byte offset and length (-1: to the image's own
// end). Tests install one to record the order of the search; an empty hook restores the graphics
// reader.
using ZBitmapReaderHook = std::function<std::unique_ptr<TDib>(
    const std::string& path, int64_t offset, int64_t length, const TPalette* palette)>;
void SetBitmapReaderHook(ZBitmapReaderHook hook);

// No background and no remembered screen size.
void ResetBackground();

// The "AllIn" switch unread again.
void ResetFrameSettings();

}  // namespace quill
