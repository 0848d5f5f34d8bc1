// Fuzz target for the item scanner.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quillui/profile/cmd_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  quill::ZCmdLine line(text);
  std::string name, value, first;
  size_t items = 0, bytes = 0;
  for (bool ok = line.FindFirst(name, value); ok; ok = line.FindNext(name, value)) {
    if (items == 0) first = name;
    ++items;
    bytes += name.size() + value.size();
    // Every item consumes at least one byte, and no item invents text.
    if (items > size || bytes > size) std::abort();
  }
  line.GetValue(first.c_str());
  long n = 0;
  line.GetLongValue(first.c_str(), n);
  line.GetLongValue("codedref", n);

  // A value written in brackets reads back when its own brackets balance.
  int depth = 0;
  bool balanced = true;
  for (char c : text) {
    if (c == '<') ++depth;
    if (c == '>' && --depth < 0) balanced = false;
  }
  if (balanced && depth == 0) {
    const quill::ZCmdLine wrapped("x=" + quill::ZCmdLine::Bracket(text));
    if (wrapped.GetValue("x") != text) std::abort();
  }
  return 0;
}
