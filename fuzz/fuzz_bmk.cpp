// libFuzzer target for the bookmark list reader. Whatever the bytes, reading never faults or
// over-allocates; every bookmark it gives was read whole; bookmarks made in a block of the bytes
// equal those made on the heap and outlive the reader's hold on the block; and writing the
// bookmarks out and reading them back gives the same bookmarks and the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "quillui/framework/stream/pstream.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/bookmark_block.h"
#include "quillui/navigation/bookmark_list.h"

namespace {

using namespace quill;

std::vector<uint8_t> Encode(const ZBookmarkList& list) {
  omemstream os;
  WriteBmk(os, list);
  if (!os.good()) std::abort();
  return os.bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  imemstream is(std::span<const uint8_t>(data, size));
  ZBookmarkList list;
  const ZBmkReadResult result =
      ReadBmk(is, [&](std::unique_ptr<ZBookmark> b) { list.Add(std::move(b)); });
  if (result == ZBmkReadResult::NotBmk && list.GetCount() != 0) std::abort();
  // The smallest record: begin mark, "ZBookmark", three empty strings, end mark.
  constexpr size_t kSmallestRecord = 1 + 4 + 9 + 3 * 4 + 1;
  if (size_t(list.GetCount()) * kSmallestRecord + 8 > size && list.GetCount() > 0) std::abort();
  for (int i = 0; i < list.GetCount(); ++i)
    if (std::strlen(list.Get(i)->GetType()) > ZBookmark::kTypeLength) std::abort();

  // The same bytes read into a block: the same bookmarks, still whole once only the bookmarks
  // hold the block, and a bookmark changed from its own views keeps its value.
  ZBookmarkList inBlock;
  {
    ZBookmarkBlock::Ref block = ZBookmarkBlock::FromBytes(std::span<const uint8_t>(data, size));
    imemstream blockStream(block->Bytes());
    if (ReadBmk(
            blockStream, [&](std::unique_ptr<ZBookmark> b) { inBlock.Add(std::move(b)); },
            block.get()) != result)
      std::abort();
  }
  if (inBlock.GetCount() != list.GetCount()) std::abort();
  for (int i = 0; i < list.GetCount(); ++i) {
    ZBookmark& b = *inBlock.Get(i);
    if (!(b == *list.Get(i)) || std::strcmp(b.GetType(), list.Get(i)->GetType()) != 0) std::abort();
    b.SetText(b.GetText().substr(b.GetText().size() / 2));
    b.SetName(b.GetName());
    if (b.GetText() != list.Get(i)->GetText().substr(list.Get(i)->GetText().size() / 2) ||
        b.GetName() != list.Get(i)->GetName())
      std::abort();
  }

  const std::vector<uint8_t> bytes = Encode(list);
  imemstream again(bytes);
  ZBookmarkList copy;
  if (ReadBmk(again, [&](std::unique_ptr<ZBookmark> b) { copy.Add(std::move(b)); }) !=
          ZBmkReadResult::Complete ||
      copy.GetCount() != list.GetCount() || again.remaining() != 0)
    std::abort();
  for (int i = 0; i < list.GetCount(); ++i) {
    if (!(*copy.Get(i) == *list.Get(i)) ||
        std::strcmp(copy.Get(i)->GetType(), list.Get(i)->GetType()) != 0)
      std::abort();
  }
  if (Encode(copy) != bytes) std::abort();
  return 0;
}
