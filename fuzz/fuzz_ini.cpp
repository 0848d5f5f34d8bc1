// Fuzz target for the settings file parser and its rewriting.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quillui/profile/ini_file.h"

using quill::IniDocument;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > IniDocument::kMaxFileBytes) return 0;
  const IniDocument doc(std::string(reinterpret_cast<const char*>(data), size));
  // Names taken from the input itself reach the lookups with whatever bytes it holds.
  const std::string probe(reinterpret_cast<const char*>(data), size < 12 ? size : 12);
  doc.Find(probe, probe);
  doc.KeyList(probe);
  doc.KeyList("A");
  if (const auto* entries = doc.Entries("A"))
    for (const auto& e : *entries) doc.Find("a", e.key);

  // A stored value must read back, and the rest of the file must survive the rewrite.
  std::string text;
  if (doc.BuildSet("A", "fuzzkey", "value 1", text)) {
    const IniDocument again(std::move(text));
    const std::string_view* v = again.Find("a", "FUZZKEY");
    if (v == nullptr || *v != "value 1") std::abort();
  }
  if (doc.BuildSet("A", "fuzzkey", nullptr, text)) {
    const IniDocument removed(std::move(text));
    if (removed.Find("A", "fuzzkey") != nullptr) std::abort();
  }
  if (doc.BuildSet("A", nullptr, nullptr, text)) {
    const IniDocument removed(std::move(text));
    if (removed.HasSection("A")) std::abort();
  }
  return 0;
}
