// libFuzzer target for the persistent-stream reader. The input is read as a stream in which
// each operation byte picks the next read (a word, a string, a block, an object record), until
// the stream fails. Nothing may fault, over-allocate or leave the nesting count off, and every
// object that was read must write and read back to the same bytes.
//
// Built with -DQUILL_PSTREAM_SEEDS (and without -fsanitize=fuzzer) it is also a program that
// writes the seed corpus into the directory given as its argument and runs each seed once.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "quillui/framework/stream/pstream.h"
#include "quillui/framework/stream/streamable.h"
#include "tests/support/stream_node.h"

namespace {

using namespace quill;
using Bytes = std::vector<uint8_t>;
using test::Node;

class FuzzLeaf : public TStreamableBase {
 public:
  const char* streamableName() const override { return "Leaf"; }
  void Write(opstream& os) const override { os << number << text << code << flag; }
  void Read(ipstream& is) override { is >> number >> text >> code >> flag; }

  int32_t number = 0;
  std::string text;
  char code[5] = "xxxx";
  bool flag = false;
};

enum Op : uint8_t {
  kOpWord16,
  kOpWord32,
  kOpWord64,
  kOpString,
  kOpCode,
  kOpBlock,
  kOpPointer,
  kOpLeaf,
  kOpNode,
  kOpVersion,
  kOpCount
};

void RegisterClasses() {
  static const bool registered = [] {
    RegisterStreamableClass("Leaf", &BuildStreamable<FuzzLeaf>);
    RegisterStreamableClass("Node", &BuildStreamable<Node>);
    return true;
  }();
  (void)registered;
}

Bytes Encode(const TStreamableBase& object) {
  omemstream os;
  os.writeObjectPtr(&object);
  if (!os.good()) __builtin_trap();
  return os.bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RegisterClasses();
  imemstream is(std::span<const uint8_t>(data, size));
  is.readVersion();
  std::vector<std::unique_ptr<TStreamableBase>> objects;
  for (int step = 0; step < 4096 && is.good(); ++step) {
    switch (is.readByte() % kOpCount) {
      case kOpWord16: is.readWord16(); break;
      case kOpWord32: is.readWord(); break;
      case kOpWord64: {
        int64_t value = 0;
        is >> value;
        break;
      }
      case kOpString: {
        std::string text;
        is >> text;
        break;
      }
      case kOpCode: {
        char code[5] = "....";
        is >> code;
        if (code[4] != '\0') __builtin_trap();
        break;
      }
      case kOpBlock: {
        uint8_t block[255];
        is.readBytes(block, is.readByte());
        break;
      }
      case kOpPointer: {
        auto object = is.readObjectPtr();
        if (object) objects.push_back(std::move(object));
        break;
      }
      case kOpLeaf: {
        auto leaf = std::make_unique<FuzzLeaf>();
        if (is.readObject(*leaf)) objects.push_back(std::move(leaf));
        break;
      }
      case kOpNode: {
        auto node = std::make_unique<Node>();
        if (is.readObject(*node)) objects.push_back(std::move(node));
        break;
      }
      case kOpVersion: is.readVersion(); break;
    }
    if (is.objectDepth() != 0) __builtin_trap();
    if (is.fail() != (is.error() != PStreamError::None)) __builtin_trap();
  }
  for (const auto& object : objects) {
    const Bytes bytes = Encode(*object);
    imemstream again(bytes);
    auto copy = again.readObjectPtr();
    if (!copy || !again.good() || again.remaining() != 0) __builtin_trap();
    if (Encode(*copy) != bytes) __builtin_trap();
  }
  return 0;
}

#ifdef QUILL_PSTREAM_SEEDS

namespace {

std::unique_ptr<FuzzLeaf> MakeLeaf(int32_t number, const char* text, const char* code) {
  auto leaf = std::make_unique<FuzzLeaf>();
  leaf->number = number;
  leaf->text = text;
  std::strncpy(leaf->code, code, 4);
  leaf->flag = number % 2 != 0;
  return leaf;
}

std::unique_ptr<Node> MakeTree() {
  auto root = std::make_unique<Node>();
  root->label = "root";
  root->children.push_back(MakeLeaf(1, "article", "ARTI"));
  root->children.push_back(nullptr);
  auto inner = std::make_unique<Node>();
  inner->label = "inner";
  inner->children.push_back(MakeLeaf(-2, "", "MEDI"));
  root->children.push_back(std::move(inner));
  return root;
}

bool Save(const std::string& dir, const char* name, const omemstream& os) {
  const std::string path = dir + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(os.bytes().data(), 1, os.bytes().size(), f) == os.bytes().size();
  LLVMFuzzerTestOneInput(os.bytes().data(), os.bytes().size());
  return std::fclose(f) == 0 && ok && os.good();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;
  {
    omemstream os;
    os.writeVersion();
    os.writeByte(kOpWord16);
    os.writeWord16(0xBEEF);
    os.writeByte(kOpWord32);
    os.writeWord32(0xDEADBEEF);
    os.writeByte(kOpWord64);
    os.writeWord64(0x0102030405060708ull);
    os.writeByte(kOpString);
    os << "a string";
    os.writeByte(kOpString);
    os << static_cast<const char*>(nullptr);
    os.writeByte(kOpCode);
    os << "TOOLONG";
    os.writeByte(kOpBlock);
    os.writeByte(3);
    os.writeBytes("abc", 3);
    ok &= Save(dir, "primitives", os);
  }
  {
    omemstream os;
    os.writeByte(kOpLeaf);
    os << *MakeLeaf(7, "one leaf", "ARTI");
    os.writeByte(kOpPointer);
    os.writeObjectPtr(nullptr);
    ok &= Save(dir, "leaf", os);
  }
  {
    omemstream os;
    os.writeVersion();
    os.writeByte(kOpNode);
    os << *MakeTree();
    os.writeByte(kOpPointer);
    os << MakeTree().get();
    ok &= Save(dir, "tree", os);
  }
  {
    // As deep as a reader accepts.
    auto top = std::make_unique<Node>();
    Node* tail = top.get();
    for (int depth = 2; depth < pstream::kMaxObjectDepth; ++depth) {
      auto next = std::make_unique<Node>();
      Node* raw = next.get();
      tail->children.push_back(std::move(next));
      tail = raw;
    }
    tail->children.push_back(MakeLeaf(3, "bottom", "xxxx"));
    omemstream os;
    os.writeByte(kOpPointer);
    os << top.get();
    ok &= Save(dir, "deep", os);
  }
  {
    omemstream os;
    for (int i = 0; i < 4; ++i) {
      os.writeByte(kOpPointer);
      os << MakeLeaf(i, "bookmark text md=ARTI", "ARTI").get();
    }
    os.writeByte(kOpVersion);
    ok &= Save(dir, "records", os);
  }
  return ok ? 0 : 1;
}

#endif  // QUILL_PSTREAM_SEEDS
