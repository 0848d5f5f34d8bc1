#include "quillui/profile/attributes.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include "quillui/profile/ini_file.h"
#include "quillui/profile/profile.h"

namespace quill {

namespace {

constexpr size_t kMaxAtoms = 0x10000 - atom_table::kFirstAtom;

struct AtomState {
  std::mutex mutex;
  std::vector<std::string> names;  // atom kFirstAtom + i is names[i]
  std::unordered_map<std::string, ZAtom, CaseInsensitiveHash, CaseInsensitiveEqual> atoms;
};

AtomState& Atoms() {
  static AtomState state;
  return state;
}

}  // namespace

ZAtom atom_table::create_atom(const char* name) {
  if (name == nullptr || *name == '\0') return 0;
  AtomState& s = Atoms();
  std::lock_guard lock(s.mutex);
  if (auto it = s.atoms.find(name); it != s.atoms.end()) return it->second;
  if (s.names.size() >= kMaxAtoms) return 0;
  const ZAtom atom = ZAtom(kFirstAtom + s.names.size());
  s.names.emplace_back(name);
  s.atoms.emplace(s.names.back(), atom);
  return atom;
}

ZAtom atom_table::find_atom(const char* name) {
  if (name == nullptr) return 0;
  AtomState& s = Atoms();
  std::lock_guard lock(s.mutex);
  auto it = s.atoms.find(name);
  return it == s.atoms.end() ? 0 : it->second;
}

std::string atom_table::get_name(ZAtom atom) {
  AtomState& s = Atoms();
  std::lock_guard lock(s.mutex);
  if (atom < kFirstAtom || size_t(atom - kFirstAtom) >= s.names.size()) return std::string();
  return s.names[atom - kFirstAtom];
}

void atom_table::reset() {
  AtomState& s = Atoms();
  std::lock_guard lock(s.mutex);
  s.atoms.clear();
  s.names.clear();
}

std::string ZAttributeHandler::attribute(ZAtom atom) const {
  const std::string section = atom_table::get_name(atom);
  if (section.empty()) return std::string();
  const std::string key = build_key();
  if (key.empty()) return std::string();
  return ZProfile().Get(section.c_str(), key.c_str(), "");
}

std::string ZAttributeHandler::attribute(const char* name) const {
  if (name == nullptr || *name == '\0') return std::string();
  const std::string key = build_key();
  if (key.empty()) return std::string();
  return ZProfile().Get(name, key.c_str(), "");
}

}  // namespace quill
