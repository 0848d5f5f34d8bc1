#include "quillui/framework/stream/streamable.h"
#include "quillui/testing/framework.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/stream_node.h"

namespace quill {
namespace {

using test::Node;

using Bytes = std::vector<uint8_t>;

// A leaf with one field of each common kind; Node's children (leaves, nodes or null) make
// nesting.
class Leaf : public TStreamableBase {
 public:
  Leaf() = default;
  Leaf(int32_t n, std::string t, uint16_t s) : number(n), text(std::move(t)), small(s) {}
  const char* streamableName() const override { return "Leaf"; }
  void Write(opstream& os) const override { os << number << text << small; }
  void Read(ipstream& is) override { is >> number >> text >> small; }

  int32_t number = 0;
  std::string text;
  uint16_t small = 0;
};

// Writes itself as its own child: a cycle in the object graph.
class SelfLoop : public TStreamableBase {
 public:
  const char* streamableName() const override { return "SelfLoop"; }
  void Write(opstream& os) const override { os.writeObjectPtr(this); }
  void Read(ipstream&) override {}
};

std::string Describe(const TStreamableBase* object) {
  if (object == nullptr) return "null";
  if (auto* leaf = dynamic_cast<const Leaf*>(object)) {
    return "Leaf(" + std::to_string(leaf->number) + ",'" + leaf->text + "'," +
           std::to_string(leaf->small) + ")";
  }
  if (auto* node = dynamic_cast<const Node*>(object)) {
    std::string s = "Node(" + node->label + ":";
    for (const auto& child : node->children) s += Describe(child.get()) + ";";
    return s + ")";
  }
  return "?";
}

std::unique_ptr<Node> SampleTree() {
  auto root = std::make_unique<Node>();
  root->label = "root";
  root->children.push_back(std::make_unique<Leaf>(-7, "first", 65535));
  root->children.push_back(nullptr);
  auto inner = std::make_unique<Node>();
  inner->label = "inner";
  inner->children.push_back(std::make_unique<Leaf>(INT32_MIN, "", 0));
  inner->children.push_back(std::make_unique<Node>());
  root->children.push_back(std::move(inner));
  return root;
}

// A chain of `depth` nodes, each the only child of the one before.
std::unique_ptr<Node> Chain(int depth) {
  auto top = std::make_unique<Node>();
  Node* tail = top.get();
  for (int i = 1; i < depth; ++i) {
    auto next = std::make_unique<Node>();
    Node* raw = next.get();
    tail->children.push_back(std::move(next));
    tail = raw;
  }
  return top;
}

class StreamableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RegisterStreamableClass("Leaf", &BuildStreamable<Leaf>));
    ASSERT_TRUE(RegisterStreamableClass("Node", &BuildStreamable<Node>));
    std::string pattern = ::testing::TempDir() + "streamableXXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/";
  }
  void TearDown() override {
    UnregisterStreamableClass("Leaf");
    UnregisterStreamableClass("Node");
    std::filesystem::remove_all(dir_);
  }

  void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  std::string dir_;
};

// ---- byte layout and round trips ----------------------------------------------------------

TEST_F(StreamableTest, VersionHeaderAndObjectRecordsHaveTheDocumentedBytes) {
  omemstream os;
  os.writeVersion();
  os << Leaf(1, "a", 2);
  os.writeObjectPtr(nullptr);
  const Bytes expected = {'Q', 'P', 'S', 'V', 1,   0,   0,   0,         // version header
                          '[', 4,   0,   0,   0,   'L', 'e', 'a', 'f',  // begin, class name
                          1,   0,   0,   0,                             // number
                          1,   0,   0,   0,   'a',                      // text
                          2,   0,   ']',                                // small, end mark
                          0x00};                                        // null pointer
  EXPECT_EQ(os.bytes(), expected);
  EXPECT_EQ(os.getVersion(), pstream::kVersion);

  // A pointer record of an object is the object record itself.
  omemstream byRef, byPtr;
  Leaf leaf(5, "x", 6);
  byRef << leaf;
  byPtr << &leaf;
  EXPECT_EQ(byRef.bytes(), byPtr.bytes());
}

TEST_F(StreamableTest, NestedObjectsRoundTripThroughMemoryAndAFile) {
  const auto tree = SampleTree();
  const Leaf loose(42, "loose", 7);
  const std::string expectedTree = Describe(tree.get());

  auto write = [&](opstream& os) {
    os << *tree << &loose;
    os.writeObjectPtr(nullptr);
    os << tree.get();
  };
  auto read = [&](ipstream& is) {
    Node node;
    EXPECT_TRUE(is.readObject(node));
    EXPECT_EQ(Describe(&node), expectedTree);
    std::unique_ptr<Leaf> leaf;
    is >> leaf;
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(Describe(leaf.get()), Describe(&loose));
    std::unique_ptr<Leaf> none = std::make_unique<Leaf>();
    is >> none;
    EXPECT_EQ(none, nullptr);
    EXPECT_TRUE(is.good());
    auto any = is.readObjectPtr();
    EXPECT_EQ(Describe(any.get()), expectedTree);
    EXPECT_EQ(is.remaining(), 0u);
    EXPECT_TRUE(is.good());
    EXPECT_EQ(is.objectDepth(), 0);
  };

  omemstream mem;
  write(mem);
  ASSERT_TRUE(mem.good());
  EXPECT_EQ(mem.objectDepth(), 0);
  imemstream fromMemory(mem.span());
  read(fromMemory);

  const std::string path = dir_ + "tree.bin";
  ofpstream file(path);
  write(file);
  ASSERT_TRUE(file.close());
  ifpstream fromFile(path);
  read(fromFile);
}

TEST_F(StreamableTest, NestingIsBoundedOnBothSides) {
  // The deepest chain allowed goes through; one more level is refused by the writer...
  omemstream ok;
  ok << *Chain(pstream::kMaxObjectDepth);
  ASSERT_TRUE(ok.good());
  imemstream okIn(ok.span());
  Node node;
  EXPECT_TRUE(okIn.readObject(node));

  omemstream tooDeep;
  tooDeep << *Chain(pstream::kMaxObjectDepth + 1);
  EXPECT_TRUE(tooDeep.bad());
  EXPECT_EQ(tooDeep.error(), PStreamError::TooDeep);

  // ...and a cycle stops there instead of running the stack out.
  omemstream loop;
  loop << SelfLoop();
  EXPECT_EQ(loop.error(), PStreamError::TooDeep);
  EXPECT_EQ(loop.objectDepth(), 0);
}

// ---- damaged input -------------------------------------------------------------------------

// Reads pointer records until the stream fails or runs out, the way a list file is read.
std::vector<std::unique_ptr<TStreamableBase>> ReadAll(ipstream& is, size_t max = 1000) {
  std::vector<std::unique_ptr<TStreamableBase>> out;
  is.readVersion();
  while (is.good() && is.remaining() > 0 && out.size() < max) {
    auto object = is.readObjectPtr();
    if (is.good()) out.push_back(std::move(object));
  }
  return out;
}

TEST_F(StreamableTest, TruncationAtEveryOffsetKeepsTheRecordsBeforeIt) {
  const auto tree = SampleTree();
  const Leaf first(1, "one", 1), last(3, "three", 3);
  omemstream os;
  os.writeVersion();
  std::vector<uint64_t> ends;  // where each record ends
  os << &first;
  ends.push_back(os.tellp());
  os << tree.get();
  ends.push_back(os.tellp());
  os << &last;
  ends.push_back(os.tellp());
  const std::string expected[] = {Describe(&first), Describe(tree.get()), Describe(&last)};
  const Bytes& full = os.bytes();

  for (size_t cut = 0; cut < full.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const Bytes part(full.begin(), full.begin() + cut);
    imemstream is(part);
    const auto objects = ReadAll(is, 3);
    size_t whole = 0;
    while (whole < 3 && ends[whole] <= cut) ++whole;
    // A cut between records cannot be told from a shorter stream; anywhere else the reader
    // runs out of bytes, except before the version header's first four bytes, which are
    // then neither a header nor a record.
    const bool boundary =
        cut == 0 || cut == 8 || std::find(ends.begin(), ends.end(), cut) != ends.end();
    if (boundary) {
      EXPECT_TRUE(is.good());
    } else if (cut < 4) {
      EXPECT_EQ(is.error(), PStreamError::BadRecordPrefix);
    } else {
      EXPECT_TRUE(is.eof());
      EXPECT_TRUE(is.error() == PStreamError::EndOfData ||
                  is.error() == PStreamError::LengthPastEnd)
          << PStreamErrorName(is.error());
    }
    ASSERT_EQ(objects.size(), whole);
    for (size_t k = 0; k < whole; ++k) EXPECT_EQ(Describe(objects[k].get()), expected[k]);
    EXPECT_EQ(is.objectDepth(), 0);
  }
}

// Each case writes one good leaf and then a damaged record, and notes where the damage is.
struct DamageCase {
  const char* name;
  std::function<void(opstream&, uint64_t& damageAt)> write;
  PStreamError error;
};

void BeginRecord(opstream& os, const char* className) {
  os.writeByte('[');
  os << className;
}

const DamageCase kDamageCases[] = {
    {"string length 2^31 in a short stream",
     [](opstream& os, uint64_t& at) {
       BeginRecord(os, "Leaf");
       os << int32_t(5);
       at = os.tellp();
       os.writeWord32(0x80000000u);
       os.writeBytes("sixteen bytes...", 16);
     },
     PStreamError::LengthPastEnd},
    {"string length one past the end",
     [](opstream& os, uint64_t& at) {
       BeginRecord(os, "Leaf");
       os << int32_t(5);
       at = os.tellp();
       os.writeWord32(4);
       os.writeBytes("abc", 3);
     },
     PStreamError::LengthPastEnd},
    {"class name longer than any class name",
     [](opstream& os, uint64_t& at) {
       at = os.tellp() + 1;
       os.writeByte('[');
       os.writeWord32(0x80000000u);
       os.writeBytes("Leaf", 4);
     },
     PStreamError::BadClassName},
    {"class name length past the end",
     [](opstream& os, uint64_t& at) {
       at = os.tellp() + 1;
       os.writeByte('[');
       os.writeWord32(200);
       os.writeBytes("Leaf", 4);
     },
     PStreamError::LengthPastEnd},
    {"empty class name",
     [](opstream& os, uint64_t& at) {
       at = os.tellp() + 1;
       BeginRecord(os, "");
       os.writeByte(']');
     },
     PStreamError::BadClassName},
    {"null class name",
     [](opstream& os, uint64_t& at) {
       at = os.tellp() + 1;
       BeginRecord(os, nullptr);
       os.writeByte(']');
     },
     PStreamError::BadClassName},
    {"unknown class",
     [](opstream& os, uint64_t& at) {
       at = os.tellp();
       BeginRecord(os, "Leaves");
       os << int32_t(1) << "x" << uint16_t(1);
       os.writeByte(']');
     },
     PStreamError::UnknownClass},
    {"end mark missing",
     [](opstream& os, uint64_t& at) {
       BeginRecord(os, "Leaf");
       os << int32_t(1) << "x" << uint16_t(1);
       at = os.tellp();
       os.writeByte('}');
     },
     PStreamError::MissingEndMark},
    {"a field too many before the end mark",
     [](opstream& os, uint64_t& at) {
       BeginRecord(os, "Leaf");
       os << int32_t(1) << "x" << uint16_t(1);
       at = os.tellp();
       os.writeByte(0);
       os.writeByte(']');
     },
     PStreamError::MissingEndMark},
    {"neither a record nor a null pointer",
     [](opstream& os, uint64_t& at) {
       at = os.tellp();
       os.writeByte('{');
     },
     PStreamError::BadRecordPrefix},
    {"nesting one level deeper than allowed",
     [](opstream& os, uint64_t& at) {
       for (int level = 0; level <= pstream::kMaxObjectDepth; ++level) {
         at = os.tellp();
         BeginRecord(os, "Node");
         os << "" << uint32_t(1);
       }
       os.writeByte(0);
       for (int level = 0; level <= pstream::kMaxObjectDepth; ++level) os.writeByte(']');
     },
     PStreamError::TooDeep},
    {"child count far beyond the children there",
     [](opstream& os, uint64_t& at) {
       BeginRecord(os, "Node");
       os << "n" << uint32_t(0xFFFFFFFFu);
       os.writeByte(0);
       os.writeByte(0);
       os.writeByte('[');  // the only byte of a third child
       at = os.tellp();
     },
     PStreamError::EndOfData},
};

TEST_F(StreamableTest, DamagedRecordsFailAtTheDamageAndKeepWhatCameBefore) {
  const Leaf good(9, "intact", 9);
  for (const DamageCase& c : kDamageCases) {
    SCOPED_TRACE(c.name);
    omemstream os;
    os << &good;
    uint64_t damageAt = 0;
    c.write(os, damageAt);
    ASSERT_TRUE(os.good());
    imemstream is(os.span());
    const auto objects = ReadAll(is);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(Describe(objects[0].get()), Describe(&good));
    EXPECT_TRUE(is.fail());
    EXPECT_EQ(is.error(), c.error) << PStreamErrorName(is.error());
    EXPECT_EQ(is.errorOffset(), damageAt);
    EXPECT_EQ(is.objectDepth(), 0);
  }
}

TEST_F(StreamableTest, ARecordOfAnotherClassIsRefused) {
  const auto tree = SampleTree();
  omemstream os;
  os << *tree;
  {
    imemstream is(os.span());
    Leaf leaf(1, "untouched", 1);
    EXPECT_FALSE(is.readObject(leaf));
    EXPECT_EQ(is.error(), PStreamError::WrongClass);
    EXPECT_EQ(leaf.text, "untouched");
  }
  {
    imemstream is(os.span());
    std::unique_ptr<Leaf> leaf;
    is >> leaf;
    EXPECT_EQ(leaf, nullptr);
    EXPECT_EQ(is.error(), PStreamError::WrongClass);
  }
  {
    UnregisterStreamableClass("Node");
    imemstream is(os.span());
    Leaf leaf;
    EXPECT_FALSE(is.readObject(leaf));
    EXPECT_EQ(is.error(), PStreamError::UnknownClass);
  }
}

TEST_F(StreamableTest, AnObjectCanRefuseFieldsThatMakeNoSense) {
  // A node that insists on a label: BadObjectData fails the read as damage does.
  struct Picky : Node {
    void Read(ipstream& is) override {
      Node::Read(is);
      if (label.empty()) is.setError(PStreamError::BadObjectData);
    }
  };
  omemstream os;
  os << Node();
  imemstream is(os.span());
  Picky picky;
  EXPECT_FALSE(is.readObject(picky));
  EXPECT_TRUE(is.bad());
  EXPECT_EQ(is.error(), PStreamError::BadObjectData);
}

TEST_F(StreamableTest, ADamagedFileStopsAtTheDamage) {
  const std::string path = dir_ + "cut.bin";
  omemstream os;
  os << Leaf(1, "a", 1) << Leaf(2, std::string(6000, 'b'), 2);
  Bytes bytes = os.bytes();
  bytes.resize(bytes.size() - 10);
  WriteFile(path, bytes);
  ifpstream is(path);
  const auto objects = ReadAll(is);
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(Describe(objects[0].get()), "Leaf(1,'a',1)");
  EXPECT_EQ(is.error(), PStreamError::LengthPastEnd);
}

// ---- registry ------------------------------------------------------------------------------

TEST_F(StreamableTest, RegistrationCanBeRepeatedReplacedAndReset) {
  EXPECT_FALSE(RegisterStreamableClass("", &BuildStreamable<Leaf>));
  EXPECT_FALSE(RegisterStreamableClass(std::string(256, 'n'), &BuildStreamable<Leaf>));
  EXPECT_FALSE(RegisterStreamableClass("Leaf", nullptr));

  omemstream os;
  os << Leaf(1, "x", 1);

  // A second registration of a name replaces the first.
  EXPECT_TRUE(RegisterStreamableClass("Leaf", &BuildStreamable<Node>));
  {
    imemstream is(os.span());
    EXPECT_EQ(is.readObjectPtr(), nullptr);  // a Node reads the leaf's fields and fails
    EXPECT_TRUE(is.fail());
  }
  EXPECT_TRUE(RegisterStreamableClass("Leaf", &BuildStreamable<Leaf>));

  ResetStreamableClasses();
  EXPECT_EQ(FindStreamableClass("Leaf"), nullptr);
  {
    imemstream is(os.span());
    EXPECT_EQ(is.readObjectPtr(), nullptr);
    EXPECT_EQ(is.error(), PStreamError::UnknownClass);
  }

  {
    TStreamableClass scoped("Leaf", &BuildStreamable<Leaf>);
    EXPECT_TRUE(scoped.registered());
    imemstream is(os.span());
    EXPECT_NE(is.readObjectPtr(), nullptr);
    // Replaced by someone else: leaving scope must not remove their registration.
    RegisterStreamableClass("Leaf", &BuildStreamable<Node>);
  }
  EXPECT_EQ(FindStreamableClass("Leaf"), &BuildStreamable<Node>);
  { TStreamableClass scoped("Scoped", &BuildStreamable<Leaf>); }
  EXPECT_EQ(FindStreamableClass("Scoped"), nullptr);
  TStreamableClass invalid(nullptr, &BuildStreamable<Leaf>);
  EXPECT_FALSE(invalid.registered());
}

}  // namespace
}  // namespace quill
