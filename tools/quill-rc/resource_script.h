// Reads resource scripts, a subset of the classic .rc syntax (MENU, STRINGTABLE, DIALOG,
// BITMAP, #define), into resource templates. The resource compiler and tests both use it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quillui/framework/base/resource.h"

namespace quill {

// Everything one script defines, in script order.
struct TResourceScript {
  std::vector<TMenuTemplate> menus;
  std::vector<TDialogTemplate> dialogs;
  std::vector<std::pair<uint32_t, std::string>> strings;
  std::vector<TBitmapResource> bitmaps;
  std::vector<std::string> bitmapFiles;  // the file each bitmap came from, as the script names it
};

struct TResourceScriptError {
  std::string file;
  int line = 0;
  std::string message;

  // "file:line: error: message", the form compilers use so editors can jump to it.
  std::string ToString() const;
};

// Answers the bytes of a file the script names (bitmaps), or false and a reason.
using TResourceFileReader =
    std::function<bool(const std::string& name, std::vector<uint8_t>& bytes, std::string& error)>;

// Limits that keep a bad script from exhausting the reader.
inline constexpr int kMaxMenuNesting = 8;
inline constexpr int kMaxExpressionNesting = 32;
inline constexpr size_t kMaxScriptBytes = size_t(4) << 20;
inline constexpr size_t kMaxBitmapFileBytes = size_t(16) << 20;

// Parses text (named fileName in messages). Stops at the first error: answers false and fills
// error. A null reader makes every BITMAP statement an error.
bool ParseResourceScript(std::string_view text, const std::string& fileName,
                         const TResourceFileReader& reader, TResourceScript& out,
                         TResourceScriptError& error);

// Adds every resource of a parsed script to a module's table.
void AddResourceScript(const TResourceScript& script, TResourceTable& table);

}  // namespace quill
