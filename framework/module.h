// A module: the named unit (library or executable) that owns windows and resources.
#pragma once

#include <string>

namespace quill {

class TModule {
 public:
  explicit TModule(std::string name) : name_(std::move(name)) {}
  virtual ~TModule() = default;

  const std::string& GetName() const { return name_; }

 private:
  std::string name_;
};

}  // namespace quill
