// A streamable tree node for the persistent-stream tests and fuzz target: a label and children
// (any streamable objects, or null) written by pointer, so reading one nests records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "quillui/framework/stream/pstream.h"
#include "quillui/framework/stream/streamable.h"

namespace quill::test {

class Node : public TStreamableBase {
 public:
  const char* streamableName() const override { return "Node"; }
  void Write(opstream& os) const override {
    os << label;
    os.writeWord32(static_cast<uint32_t>(children.size()));
    for (const auto& child : children) os.writeObjectPtr(child.get());
  }
  void Read(ipstream& is) override {
    is >> label;
    // The count never sizes anything: each child costs at least one byte of input.
    const uint32_t count = is.readWord32();
    for (uint32_t i = 0; i < count && is.good(); ++i) {
      auto child = is.readObjectPtr();
      if (is.good()) children.push_back(std::move(child));
    }
  }

  std::string label;
  std::vector<std::unique_ptr<TStreamableBase>> children;
};

}  // namespace quill::test
