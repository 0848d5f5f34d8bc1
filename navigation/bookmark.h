// ZBookmark: one place the user can be taken back to (an article, a media item, a list, a
// tableau arrangement or a group of these), named, typed and described by a line of items.
#pragma once

#include <memory>
#include <string>

#include "framework/pstream.h"

namespace quill {

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

  ZBookmark();
  explicit ZBookmark(const std::string& text);
  ZBookmark(const std::string& name, const std::string& text);
  // A type longer than four characters (or none at all) is taken as "xxxx".
  ZBookmark(const char* type, const std::string& name, const std::string& text);
  ZBookmark(const ZBookmark& other);
  ZBookmark& operator=(const ZBookmark& other);
  ~ZBookmark() override = default;

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
  static std::string GetEntryName(const std::string& text);

  const std::string& GetName() const { return name_; }
  const char* GetType() const { return type_; }
  const std::string& GetText() const { return text_; }
  std::string& GetText() { return text_; }
  void SetName(const std::string& name) { name_ = name; }
  void SetText(const std::string& text) { text_ = text; }
  void SetType(const char* type);

  const char* streamableName() const override { return kClassName; }
  void Write(opstream& os) const override;
  void Read(ipstream& is) override;

 private:
  std::string name_;
  char type_[kTypeLength + 1];
  std::string text_;
};

// Puts ZBookmark (back) into the stream class registry; the library does it when it loads,
// tests call it again after resetting the registry.
void RegisterBookmarkStreamable();

}  // namespace quill
