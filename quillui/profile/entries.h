// Lookups the host answers for the library: its entries by name (the routing table keeps only
// routes whose entry is known), its default databases by kind, and the rewrite of bookmark
// texts before they are saved. The host registers what it has; tests register their own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quill {

using ZEntryHandle = uint32_t;  // 0 means no such entry

// The handle of an entry the host registered (names compare exactly), or 0.
ZEntryHandle GetEntry(const char* name);
inline ZEntryHandle GetEntry(const std::string& name) { return GetEntry(name.c_str()); }
// Registers an entry name and answers its handle (the same handle for a name registered
// before); a null or empty name answers 0.
ZEntryHandle RegisterEntry(const char* name);

// The record of a database the host knows by kind ("ART" for the articles).
struct ZDefaultDB {
  std::string kind;
  std::string fileName;
};
// The record for the kind (compared without regard to case), or null. The record stays valid
// until ResetHostLookups; registering the kind again updates it in place.
const ZDefaultDB* GetDefaultDB(const char* kind);
void RegisterDefaultDB(const char* kind, const char* fileName);

// Rewrites a bookmark text in place before it is saved; the identity until the host installs
// its hook.
void changeSeqNumToTitle(std::string& text);
using ZBookmarkTextHook = std::function<void(std::string&)>;
// Installs the hook (an empty one restores the identity) and answers the previous one.
ZBookmarkTextHook SetChangeSeqNumToTitleHook(ZBookmarkTextHook hook);
// Whether a hook is installed, so callers with many texts can skip copying them for nothing.
bool HasChangeSeqNumToTitleHook();

}  // namespace quill
