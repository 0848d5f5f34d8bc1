// The registry of streamable classes and the object records of opstream and ipstream.
#include "quillui/framework/stream/streamable.h"

#include <cstring>
#include <map>
#include <mutex>

namespace quill {

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, TStreamableBuilder, std::less<>> builders;
};

// Built on first use, so namespace-scope TStreamableClass objects in any translation unit
// find it ready whatever the order of static initialisation.
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

bool ValidClassName(std::string_view name) {
  return !name.empty() && name.size() <= pstream::kMaxClassNameLength;
}

// Keeps objectDepth() right however a Read or Write leaves, including by bad_alloc.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

bool RegisterStreamableClass(std::string_view name, TStreamableBuilder builder) {
  if (!ValidClassName(name) || builder == nullptr) return false;
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.builders.find(name);
  if (it != registry.builders.end()) {
    it->second = builder;
  } else {
    registry.builders.emplace(std::string(name), builder);
  }
  return true;
}

bool UnregisterStreamableClass(std::string_view name) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.builders.find(name);
  if (it == registry.builders.end()) return false;
  registry.builders.erase(it);
  return true;
}

TStreamableBuilder FindStreamableClass(std::string_view name) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.builders.find(name);
  return it == registry.builders.end() ? nullptr : it->second;
}

void ResetStreamableClasses() {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.builders.clear();
}

TStreamableClass::TStreamableClass(const char* name, TStreamableBuilder builder)
    : name_(name ? name : ""), builder_(builder) {
  registered_ = RegisterStreamableClass(name_, builder_);
}

TStreamableClass::~TStreamableClass() {
  if (!registered_) return;
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.builders.find(name_);
  if (it != registry.builders.end() && it->second == builder_) registry.builders.erase(it);
}

// ---- writing records -----------------------------------------------------------------------

void opstream::writeObject(const TStreamableBase& object) {
  if (!good()) return;
  const char* name = object.streamableName();
  if (name == nullptr || !ValidClassName(name)) {
    setError(PStreamError::BadClassName);
    return;
  }
  // A reader would refuse the record anyway, and a cycle would otherwise recurse until the
  // stack ran out.
  if (depth_ >= kMaxObjectDepth) {
    setError(PStreamError::TooDeep);
    return;
  }
  writeByte(kObjectBegin);
  writeString(std::string_view(name));
  {
    DepthGuard guard(depth_);
    object.Write(*this);
  }
  writeByte(kObjectEnd);
}

void opstream::writeObjectPtr(const TStreamableBase* object) {
  if (object == nullptr) {
    writeByte(kNullPointer);
  } else {
    writeObject(*object);
  }
}

// ---- reading records -----------------------------------------------------------------------

bool ipstream::readClassName(char (&buffer)[kMaxClassNameLength], std::string_view& name) {
  const uint64_t at = tellg();
  const uint32_t length = readWord32();
  if (!good()) return false;
  // Refused before the length is compared with what is left: no class name is this long.
  if (length == 0 || length > kMaxClassNameLength) {
    setErrorAt(PStreamError::BadClassName, at);
    return false;
  }
  if (length > remaining()) {
    setErrorAt(PStreamError::LengthPastEnd, at);
    return false;
  }
  if (memory_ != nullptr) {  // no need for a copy
    name = std::string_view(reinterpret_cast<const char*>(memory_ + pos_), length);
    pos_ += length;
    return true;
  }
  if (!readBytes(buffer, length)) return false;
  name = std::string_view(buffer, length);
  return true;
}

bool ipstream::readFields(TStreamableBase& object) {
  {
    DepthGuard guard(depth_);
    object.Read(*this);
  }
  return readRecordTail();
}

bool ipstream::readRecordTailSlow() {
  if (!good()) return false;
  const uint64_t at = tellg();
  const uint8_t end = readByte();
  if (!good()) return false;
  if (end != kObjectEnd) {
    setErrorAt(PStreamError::MissingEndMark, at);
    return false;
  }
  return true;
}

bool ipstream::readObject(TStreamableBase& object) {
  const char* expected = object.streamableName();
  return readRecordHead(expected ? std::string_view(expected) : std::string_view()) &&
         readFields(object);
}

bool ipstream::readRecordHeadSlow(std::string_view className) {
  const uint64_t at = tellg();
  const uint8_t prefix = readByte();
  if (!good()) return false;
  if (prefix != kObjectBegin) {
    setErrorAt(PStreamError::BadRecordPrefix, at);
    return false;
  }
  if (depth_ >= kMaxObjectDepth) {
    setErrorAt(PStreamError::TooDeep, at);
    return false;
  }
  char buffer[kMaxClassNameLength];
  std::string_view name;
  if (!readClassName(buffer, name)) return false;
  if (name != className) {
    setErrorAt(FindStreamableClass(name) ? PStreamError::WrongClass : PStreamError::UnknownClass,
               at);
    return false;
  }
  return true;
}

std::unique_ptr<TStreamableBase> ipstream::readObjectPtr() {
  const uint64_t at = tellg();
  const uint8_t prefix = readByte();
  if (!good() || prefix == kNullPointer) return nullptr;
  if (prefix != kObjectBegin) {
    setErrorAt(PStreamError::BadRecordPrefix, at);
    return nullptr;
  }
  if (depth_ >= kMaxObjectDepth) {
    setErrorAt(PStreamError::TooDeep, at);
    return nullptr;
  }
  char buffer[kMaxClassNameLength];
  std::string_view name;
  if (!readClassName(buffer, name)) return nullptr;
  const TStreamableBuilder builder = FindStreamableClass(name);
  std::unique_ptr<TStreamableBase> object = builder ? builder() : nullptr;
  if (!object) {
    setErrorAt(PStreamError::UnknownClass, at);
    return nullptr;
  }
  if (!readFields(*object)) return nullptr;
  return object;
}

}  // namespace quill
