// ZBookmark: one place the user can be taken back to (an article, a media item, a list, a
// tableau arrangement or a group of these), named, typed and described by a line of items.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "quillui/framework/stream/pstream.h"

namespace quill {

class ZBookmarkBlock;

// Why a content window is asked for a bookmark of what it shows (WmuCreateBookmark). The
// library asks only for eBOOKMARK_FOR_USER; other values belong to the host.
enum BOOKMARK_USAGE : int {
  eBOOKMARK_FOR_USER = 1,
};

class ZBookmark : public TStreamableBase {
 public:
  static constexpr const char* kClassName = "ZBookmark";
  static constexpr const char* kNoType = "xxxx";
  static constexpr const char* kSpecialType = "SPEC";
  static constexpr const char* kNoName = "No Name";
  static constexpr size_t kTypeLength = 4;

  ZBookmark() noexcept;
  explicit ZBookmark(const std::string& text);
  ZBookmark(const std::string& name, const std::string& text);
  // A type longer than four characters (or none at all) is taken as "xxxx".
  ZBookmark(const char* type, const std::string& name, const std::string& text);
  ZBookmark(const ZBookmark& other);
  ZBookmark& operator=(const ZBookmark& other);
  ~ZBookmark() override = default;

  // An empty bookmark made in block (see bookmark_block.h): reading it from a memory stream
  // over the block's bytes keeps views of them instead of copies. It is deleted like any
  // other bookmark.
  static std::unique_ptr<ZBookmark> NewIn(ZBookmarkBlock& block);

  // Bookmarks made with new carry a word before them naming their block (none for the heap),
  // so delete can tell where the storage goes back to.
  static void* operator new(size_t size);
  static void operator delete(void* object) noexcept;

  // Equal name and text; the type is deliberately left out, so one place bookmarked by two
  // content windows with different type codes is still one place.
  bool operator==(const ZBookmark& other) const;

  // A bookmark of a text, or null when the text's first item carries a value (such a text
  // names no entry and cannot be fired). The type comes from the item "md".
  static std::unique_ptr<ZBookmark> Make(const std::string& text);
  static std::unique_ptr<ZBookmark> Make(const char* text) {
    return Make(std::string(text ? text : ""));
  }

  // The first item of the text when it is bare, else "".
  std::string GetEntryName() const;
  static std::string GetEntryName(std::string_view text);

  // The views stay valid until the bookmark is changed or deleted.
  std::string_view GetName() const { return name_; }
  const char* GetType() const { return type_; }
  std::string_view GetText() const { return text_; }
  void SetName(std::string_view name) { Assign(name, text_); }
  void SetText(std::string_view text) { Assign(name_, text); }
  void SetType(const char* type);

  const char* streamableName() const override { return kClassName; }
  void Write(opstream& os) const override;
  // A record that fails to read leaves the bookmark as it was.
  void Read(ipstream& is) override;

 private:
  struct alignas(16) Header {
    ZBookmarkBlock* block;
  };

  static void* operator new(size_t, void* where) noexcept { return where; }
  static void operator delete(void*, void*) noexcept {}

  // Takes name and text, copying whatever does not lie in the block's bytes into storage of
  // the bookmark's own (either may view the current name or text).
  void Assign(std::string_view name, std::string_view text);

  std::string_view name_;
  std::string_view text_;
  std::unique_ptr<char[]> own_;      // the copied text and name, back to back
  ZBookmarkBlock* block_ = nullptr;  // the block the bookmark was made in, if any
  char type_[kTypeLength + 1];
};

// Puts ZBookmark (back) into the stream class registry; the library does it when it loads,
// tests call it again after resetting the registry.
void RegisterBookmarkStreamable();

}  // namespace quill
