#include "navigation/bookmark.h"

#include <cstring>

#include "framework/streamable.h"
#include "profile/cmd_line.h"

namespace quill {

namespace {

TStreamableClass regZBookmark(ZBookmark::kClassName, &BuildStreamable<ZBookmark>);

}  // namespace

void RegisterBookmarkStreamable() {
  RegisterStreamableClass(ZBookmark::kClassName, &BuildStreamable<ZBookmark>);
}

ZBookmark::ZBookmark() { SetType(kNoType); }

ZBookmark::ZBookmark(const std::string& text) : name_(kNoName), text_(text) { SetType(kNoType); }

ZBookmark::ZBookmark(const std::string& name, const std::string& text) : name_(name), text_(text) {
  SetType(kNoType);
}

ZBookmark::ZBookmark(const char* type, const std::string& name, const std::string& text)
    : name_(name), text_(text) {
  SetType(type);
}

ZBookmark::ZBookmark(const ZBookmark& other)
    : TStreamableBase(), name_(other.name_), text_(other.text_) {
  std::memcpy(type_, other.type_, sizeof type_);
}

ZBookmark& ZBookmark::operator=(const ZBookmark& other) {
  if (this != &other) {
    name_ = other.name_;
    text_ = other.text_;
    std::memcpy(type_, other.type_, sizeof type_);
  }
  return *this;
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

std::string ZBookmark::GetEntryName(const std::string& text) {
  ZCmdLine line(text);
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
  is >> name_ >> type_ >> text_;
}

}  // namespace quill
