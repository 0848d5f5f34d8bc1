// The process-wide registry of streamable classes: it maps the class name in an object record
// to a function that builds an empty object of that class for the stream to read into.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "quillui/framework/stream/pstream.h"

namespace quill {

using TStreamableBuilder = std::unique_ptr<TStreamableBase> (*)();

template <class T>
std::unique_ptr<TStreamableBase> BuildStreamable() {
  return std::make_unique<T>();
}

// The registry. Registering a name again replaces its builder, so a subsystem's registration
// function may run any number of times (after a test's reset, say). Names must be 1 to
// pstream::kMaxClassNameLength bytes; anything else, or a null builder, is refused.
bool RegisterStreamableClass(std::string_view name, TStreamableBuilder builder);
bool UnregisterStreamableClass(std::string_view name);
TStreamableBuilder FindStreamableClass(std::string_view name);

// Registers a class for as long as the object lives; a namespace-scope instance next to the
// class registers it when the library loads:
//   static TStreamableClass regZBookmark("ZBookmark", &BuildStreamable<ZBookmark>);
// The destructor removes the name only if it still maps to this object's builder.
class TStreamableClass {
 public:
  TStreamableClass(const char* name, TStreamableBuilder builder);
  ~TStreamableClass();
  TStreamableClass(const TStreamableClass&) = delete;
  TStreamableClass& operator=(const TStreamableClass&) = delete;

  const std::string& name() const { return name_; }
  bool registered() const { return registered_; }

 private:
  std::string name_;
  TStreamableBuilder builder_;
  bool registered_;
};

}  // namespace quill
