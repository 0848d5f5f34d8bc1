// Replay scripts come from files the user names: any bytes must parse or be refused cleanly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "quillui/platform/screen/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<quill::platform::ScriptStep> steps;
  std::string error;
  quill::platform::ParseInputScript(std::string_view(reinterpret_cast<const char*>(data), size),
                                    steps, &error);
  return 0;
}
