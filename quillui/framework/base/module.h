// A module: the named unit (library or executable) that owns windows and resources.
#pragma once

#include <string>

#include "quillui/framework/base/resource.h"

namespace quill {

class TModule {
 public:
  explicit TModule(std::string name) : name_(std::move(name)) {}
  virtual ~TModule() = default;

  const std::string& GetName() const { return name_; }
  // The module's resources; the library's own are compiled into it at build time.
  TResourceTable& Resources() { return resources_; }
  const TResourceTable& Resources() const { return resources_; }

 private:
  std::string name_;
  TResourceTable resources_;
};

}  // namespace quill
