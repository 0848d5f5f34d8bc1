// The holder-id table: the numeric id of each named holder of content windows. Names the host
// registers keep their ids; names met first in the routing section get new ones.
#pragma once

#include <string>

namespace quill {

class ZHolderIds {
 public:
  static constexpr int kUnknown = 2560;  // 0x0A00, the answer for a name not in the table
  static constexpr int kFirstAdded = kUnknown + 1;

  // The name's id (names compare exactly), or kUnknown.
  static int Lookup(const char* name);
  static int Lookup(const std::string& name) { return Lookup(name.c_str()); }
  // Enters the name with a new id, never kUnknown and never one in use, and answers it; a
  // name already in the table keeps and answers its id. A null or empty name is not entered
  // and answers kUnknown.
  static int Add(const char* name);
  static int Add(const std::string& name) { return Add(name.c_str()); }
  // The host's own holders with fixed ids; false when the name or the id is taken already,
  // or the id is kUnknown.
  static bool Register(const char* name, int id);
};

}  // namespace quill
