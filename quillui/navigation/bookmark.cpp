#include "quillui/navigation/bookmark.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

#include "quillui/framework/stream/streamable.h"
#include "quillui/navigation/bookmark_block.h"
#include "quillui/profile/cmd_line.h"

namespace quill {

namespace {

TStreamableClass regZBookmark(ZBookmark::kClassName, &BuildStreamable<ZBookmark>);

}  // namespace

void RegisterBookmarkStreamable() {
  RegisterStreamableClass(ZBookmark::kClassName, &BuildStreamable<ZBookmark>);
}

ZBookmark::ZBookmark() noexcept { std::memcpy(type_, kNoType, sizeof type_); }

ZBookmark::ZBookmark(const std::string& text) {
  Assign(kNoName, text);
  SetType(kNoType);
}

ZBookmark::ZBookmark(const std::string& name, const std::string& text) {
  Assign(name, text);
  SetType(kNoType);
}

ZBookmark::ZBookmark(const char* type, const std::string& name, const std::string& text) {
  Assign(name, text);
  SetType(type);
}

ZBookmark::ZBookmark(const ZBookmark& other) : TStreamableBase() {
  Assign(other.name_, other.text_);
  std::memcpy(type_, other.type_, sizeof type_);
}

ZBookmark& ZBookmark::operator=(const ZBookmark& other) {
  if (this != &other) {
    Assign(other.name_, other.text_);
    std::memcpy(type_, other.type_, sizeof type_);
  }
  return *this;
}

std::unique_ptr<ZBookmark> ZBookmark::NewIn(ZBookmarkBlock& block) {
  void* slot = block.NewSlot(sizeof(Header) + sizeof(ZBookmark));
  auto* header = new (slot) Header{&block};
  // The slot's reference passes to the bookmark; nothing can fail in between.
  static_assert(std::is_nothrow_default_constructible_v<ZBookmark>);
  auto* bookmark = new (header + 1) ZBookmark();
  bookmark->block_ = &block;
  return std::unique_ptr<ZBookmark>(bookmark);
}

// Out of line, so the compiler does not pair the inner allocation with the class's delete.
[[gnu::noinline]] void* ZBookmark::operator new(size_t size) {
  auto* header = static_cast<Header*>(::operator new(sizeof(Header) + size));
  header->block = nullptr;
  return header + 1;
}

void ZBookmark::operator delete(void* object) noexcept {
  if (object == nullptr) return;
  Header* header = static_cast<Header*>(object) - 1;
  if (header->block != nullptr) {
    header->block->Release();
  } else {
    ::operator delete(header);
  }
}

void ZBookmark::Assign(std::string_view name, std::string_view text) {
  const auto shared = [this](std::string_view s) {
    return s.empty() || (block_ != nullptr && block_->Holds(s));
  };
  const bool nameShared = shared(name);
  const bool textShared = shared(text);
  const size_t need = (nameShared ? 0 : name.size()) + (textShared ? 0 : text.size());
  // Made before anything is dropped: name or text may view the storage being replaced.
  std::unique_ptr<char[]> fresh;
  if (need > 0) fresh = std::make_unique_for_overwrite<char[]>(need);
  // The text first: it is what lists compare, and it then starts on the allocation's alignment.
  char* at = fresh.get();
  if (!textShared) {
    std::memcpy(at, text.data(), text.size());
    text = std::string_view(at, text.size());
    at += text.size();
  }
  if (!nameShared) {
    std::memcpy(at, name.data(), name.size());
    name = std::string_view(at, name.size());
  }
  own_ = std::move(fresh);
  name_ = name.empty() ? std::string_view() : name;
  text_ = text.empty() ? std::string_view() : text;
}

void ZBookmark::SetType(const char* type) {
  if (type == nullptr || std::strlen(type) > kTypeLength) type = kNoType;
  std::memset(type_, 0, sizeof type_);
  std::memcpy(type_, type, std::strlen(type));
}

bool ZBookmark::operator==(const ZBookmark& other) const {
  return name_ == other.name_ && text_ == other.text_;
}

std::unique_ptr<ZBookmark> ZBookmark::Make(const std::string& text) {
  ZCmdLine line(text);
  std::string first;
  std::string value;
  // A text without any item counts as one whose first item is bare.
  if (line.FindFirst(first, value) && !value.empty()) return nullptr;
  std::string type = line.GetValue("md");
  if (type.empty()) type = kNoType;
  return std::make_unique<ZBookmark>(type.c_str(), kNoName, text);
}

std::string ZBookmark::GetEntryName(std::string_view text) {
  ZCmdLine line{std::string(text)};
  std::string first;
  std::string value;
  if (!line.FindFirst(first, value) || !value.empty()) return std::string();
  return first;
}

std::string ZBookmark::GetEntryName() const { return GetEntryName(text_); }

void ZBookmark::Write(opstream& os) const {
  os << name_ << std::string_view(type_, std::strlen(type_)) << text_;
}

void ZBookmark::Read(ipstream& is) {
  // Of the type only four characters are kept, whatever length the record gives it.
  if (is.inMemory()) {
    std::string_view name, type, text;
    if (!is.readStringView(name) || !is.readStringView(type) || !is.readStringView(text)) return;
    std::memset(type_, 0, sizeof type_);
    if (!type.empty()) std::memcpy(type_, type.data(), std::min(type.size(), kTypeLength));
    Assign(name, text);
  } else {
    std::string name, text;
    char type[kTypeLength + 1];
    if (!is.readString(name) || !is.readString(type, sizeof type) || !is.readString(text)) return;
    std::memcpy(type_, type, sizeof type_);
    Assign(name, text);
  }
}

}  // namespace quill
