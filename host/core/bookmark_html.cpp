#include "host/core/bookmark_html.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "quillui/framework/image/dib.h"
#include "quillui/profile/cmd_line.h"

namespace quillonary {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool IsAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

// How much of an attribute or title is read before decoding: enough for any field of
// kMaxHtmlField bytes however it is escaped ("&quot;" is the longest form of one byte, a
// percent-encoded byte inside an address takes three).
constexpr size_t kMaxRawField = 6 * kMaxHtmlField;

// The longest prefix of text no longer than limit that does not split a UTF-8 sequence.
size_t Utf8Cut(std::string_view text, size_t limit) {
  if (text.size() <= limit) return text.size();
  size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

// Decodes the common named entities and numeric references; anything else stays as written.
std::string DecodeEntities(std::string_view in) {
  static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}};
  std::string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    const size_t amp = in.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(in.substr(i));
      break;
    }
    out.append(in.substr(i, amp - i));
    i = amp + 1;
    if (i < in.size() && in[i] == '#') {
      size_t j = i + 1;
      const bool hex = j < in.size() && (in[j] == 'x' || in[j] == 'X');
      if (hex) ++j;
      uint32_t cp = 0;
      const size_t digits = j;
      for (; j < in.size(); ++j) {
        const int d = hex ? HexValue(in[j]) : (in[j] >= '0' && in[j] <= '9' ? in[j] - '0' : -1);
        if (d < 0) break;
        cp = cp > 0x10FFFF ? cp : cp * (hex ? 16 : 10) + uint32_t(d);
      }
      if (j == digits) {  // "&#" without digits is text
        out += '&';
        continue;
      }
      if (j < in.size() && in[j] == ';') ++j;
      AppendUtf8(out, cp);
      i = j;
      continue;
    }
    bool matched = false;
    for (const auto& [name, value] : kNamed) {
      if (in.substr(i, name.size()) == name && i + name.size() < in.size() &&
          in[i + name.size()] == ';') {
        out.append(value);
        i += name.size() + 1;
        matched = true;
        break;
      }
    }
    if (!matched) out += '&';
  }
  return out;
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

bool Unreserved(char c) { return IsAlnum(c) || c == '-' || c == '.' || c == '_' || c == '~'; }

void AppendPercentEncoded(std::string& out, std::string_view text, bool (*keep)(char)) {
  for (const char c : text) {
    if (keep(c)) {
      out += c;
    } else {
      const auto b = static_cast<unsigned char>(c);
      out += '%';
      out += kHexDigits[b >> 4];
      out += kHexDigits[b & 15];
    }
  }
}

// The inverse of AppendPercentEncoded; a "%" not followed by two hex digits stays as it is.
std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += char(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Whether ZCmdLine::Bracket(text) reads back as text: its angle brackets pair up in order.
bool BracketsPair(std::string_view text) {
  long depth = 0;
  for (const char c : text) {
    if (c == '<') ++depth;
    if (c == '>' && --depth < 0) return false;
  }
  return depth == 0;
}

bool KeepInHref(char c) { return c != '%' && c != '<' && c != '>'; }

std::string CountOf(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The state of one import: the folder path, the link being read and the counts.
class HtmlReader {
 public:
  HtmlReader(std::string_view html,
             const std::function<void(std::unique_ptr<quill::ZBookmark>)>& add)
      : html_(html), add_(add) {}

  HtmlImportResult Run();

 private:
  enum class Capture { None, Link, Folder };

  void Text(std::string_view text);
  void Tag(size_t& pos);
  void Declaration(size_t& pos);
  void OpenLink(std::string_view href, bool hasHref, std::string_view type, bool hasType);
  void EndLink();
  void EndFolderTitle();
  void OpenFolder();
  void CloseFolder();
  void Emit();

  std::string_view html_;
  const std::function<void(std::unique_ptr<quill::ZBookmark>)>& add_;
  HtmlImportResult result_;
  bool sawDoctype_ = false;

  Capture capture_ = Capture::None;
  std::string title_;  // raw text of the link or folder title being read, at most kMaxRawField
  bool titleCut_ = false;
  std::string_view href_, type_;
  bool hasHref_ = false, hasType_ = false, hrefTooLong_ = false;

  std::string pendingFolder_;          // the last folder title, for the next <DL>
  long depth_ = 0;                     // open <DL>s, however deep
  std::vector<size_t> prefixLengths_;  // the prefix length before each of the first levels
  std::string prefix_;                 // "Folder / Sub / "
};

void HtmlReader::Text(std::string_view text) {
  if (capture_ == Capture::None || titleCut_) return;
  const size_t room = kMaxRawField - title_.size();
  if (text.size() > room) {
    titleCut_ = true;
    text = text.substr(0, Utf8Cut(text, room));
  }
  title_.append(text);
}

void HtmlReader::Declaration(size_t& pos) {
  // "<!--" comments run to "-->"; other "<!" and "<?" declarations to ">".
  if (html_.substr(pos, 4) == "<!--") {
    const size_t end = html_.find("-->", pos + 4);
    pos = end == std::string_view::npos ? html_.size() : end + 3;
    return;
  }
  const size_t end = html_.find('>', pos);
  const std::string_view body =
      html_.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
  if (StartsNoCase(body, "<!DOCTYPE")) {
    for (size_t i = 0; i + 22 <= body.size() && !sawDoctype_; ++i)
      sawDoctype_ = StartsNoCase(body.substr(i), "NETSCAPE-Bookmark-file");
  }
  pos = end == std::string_view::npos ? html_.size() : end + 1;
}

void HtmlReader::Tag(size_t& pos) {
  const size_t n = html_.size();
  size_t i = pos + 1;
  const bool closing = i < n && html_[i] == '/';
  if (closing) ++i;
  const size_t nameStart = i;
  while (i < n && IsAlnum(html_[i])) ++i;
  const std::string_view name = html_.substr(nameStart, i - nameStart);
  const bool isLink = !closing && EqualNoCase(name, "a");

  std::string_view href, type;
  bool hasHref = false, hasType = false;
  while (i < n) {
    while (i < n && (IsSpace(html_[i]) || html_[i] == '/')) ++i;
    if (i >= n) break;
    if (html_[i] == '>') {
      ++i;
      break;
    }
    const size_t attrStart = i;
    while (i < n && !IsSpace(html_[i]) && html_[i] != '>' && html_[i] != '=' && html_[i] != '/')
      ++i;
    const std::string_view attr = html_.substr(attrStart, i - attrStart);
    while (i < n && IsSpace(html_[i])) ++i;
    if (i >= n || html_[i] != '=') continue;
    ++i;
    while (i < n && IsSpace(html_[i])) ++i;
    std::string_view value;
    if (i < n && (html_[i] == '"' || html_[i] == '\'')) {
      // A quote never closed ends at the tag's ">" instead of swallowing the file.
      const char quote = html_[i++];
      size_t end = html_.find(quote, i);
      if (end == std::string_view::npos) end = html_.find('>', i);
      if (end == std::string_view::npos) end = n;
      value = html_.substr(i, end - i);
      i = end < n && html_[end] == quote ? end + 1 : end;
    } else {
      const size_t start = i;
      while (i < n && !IsSpace(html_[i]) && html_[i] != '>') ++i;
      value = html_.substr(start, i - start);
    }
    if (!isLink) continue;
    if (EqualNoCase(attr, "href")) {
      href = value;
      hasHref = true;
    } else if (EqualNoCase(attr, kHtmlTypeAttribute)) {
      type = value;
      hasType = true;
    }
  }
  pos = i;

  if (isLink) {
    OpenLink(href, hasHref, type, hasType);
  } else if (EqualNoCase(name, "a")) {
    EndLink();
  } else if (EqualNoCase(name, "h3")) {
    EndLink();
    EndFolderTitle();
    if (!closing) {
      capture_ = Capture::Folder;
      title_.clear();
      titleCut_ = false;
    }
  } else if (EqualNoCase(name, "dl")) {
    EndLink();
    EndFolderTitle();
    closing ? CloseFolder() : OpenFolder();
  } else if (EqualNoCase(name, "dt") || EqualNoCase(name, "dd") || EqualNoCase(name, "hr")) {
    EndLink();
    EndFolderTitle();
  }
}

void HtmlReader::OpenLink(std::string_view href, bool hasHref, std::string_view type,
                          bool hasType) {
  EndLink();
  EndFolderTitle();
  pendingFolder_.clear();
  capture_ = Capture::Link;
  title_.clear();
  titleCut_ = false;
  hrefTooLong_ = href.size() > kMaxRawField;
  href_ = href;
  hasHref_ = hasHref && !href.empty();
  hasType_ = hasType && type.size() <= kMaxRawField;
  type_ = type;
}

void HtmlReader::EndLink() {
  if (capture_ != Capture::Link) return;
  capture_ = Capture::None;
  Emit();
}

void HtmlReader::EndFolderTitle() {
  if (capture_ != Capture::Folder) return;
  capture_ = Capture::None;
  pendingFolder_ = DecodeEntities(title_);
  if (titleCut_ || pendingFolder_.size() > kMaxHtmlField) ++result_.shortened;
}

void HtmlReader::OpenFolder() {
  ++depth_;
  if (depth_ > kMaxHtmlFolderDepth) {
    ++result_.flattened;
  } else {
    prefixLengths_.push_back(prefix_.size());
    constexpr std::string_view kSeparator = " / ";
    if (!pendingFolder_.empty() && prefix_.size() + kSeparator.size() < kMaxHtmlFolderPath) {
      const size_t room = kMaxHtmlFolderPath - prefix_.size() - kSeparator.size();
      prefix_.append(pendingFolder_, 0, Utf8Cut(pendingFolder_, room));
      prefix_.append(kSeparator);
    }
  }
  pendingFolder_.clear();
}

void HtmlReader::CloseFolder() {
  pendingFolder_.clear();
  if (depth_ == 0) return;
  if (depth_ <= kMaxHtmlFolderDepth) {
    prefix_.resize(prefixLengths_.back());
    prefixLengths_.pop_back();
  }
  --depth_;
}

void HtmlReader::Emit() {
  if (result_.imported >= kMaxHtmlBookmarks) {
    ++result_.overLimit;
    return;
  }
  const std::string address = hasHref_ && !hrefTooLong_ ? DecodeEntities(href_) : std::string();
  std::string title = DecodeEntities(title_);
  if (title.size() > kMaxHtmlField) {
    title.resize(Utf8Cut(title, kMaxHtmlField));
    titleCut_ = true;
  }
  const std::string type = hasType_ ? DecodeEntities(type_) : std::string();
  std::unique_ptr<quill::ZBookmark> bookmark;
  bool tooLong = hrefTooLong_;
  if (StartsNoCase(address, kHtmlScheme)) {
    const std::string text = PercentDecode(std::string_view(address).substr(kHtmlScheme.size()));
    tooLong = text.size() > kMaxHtmlField;
    if (!text.empty() && !tooLong) {
      bookmark = std::make_unique<quill::ZBookmark>(
          hasType_ ? type.c_str() : quill::ZBookmark::kNoType, title, text);
    }
  } else if (!address.empty()) {
    tooLong = address.size() > kMaxHtmlField;
    if (!tooLong && hasType_) {
      // A link of ours whose text is a foreign address keeps its name as it was.
      bookmark = std::make_unique<quill::ZBookmark>(type.c_str(), title, WebText(address));
    } else if (!tooLong) {
      std::string name = prefix_ + (title.empty() ? address : title);
      name.resize(Utf8Cut(name, kMaxHtmlField));
      bookmark = std::make_unique<quill::ZBookmark>(kWebType, name, WebText(address));
    }
  }
  if (!bookmark) {
    ++(tooLong ? result_.tooLong : result_.noAddress);
    return;
  }
  if (titleCut_) ++result_.shortened;
  ++result_.imported;
  add_(std::move(bookmark));
}

HtmlImportResult HtmlReader::Run() {
  if (html_.size() > kMaxHtmlBytes) {
    result_.refused = true;
    result_.message = "The file is larger than 64 MiB; nothing was imported.";
    return result_;
  }
  const size_t n = html_.size();
  size_t pos = 0;
  while (pos < n) {
    if (html_[pos] != '<') {
      size_t end = html_.find('<', pos);
      if (end == std::string_view::npos) end = n;
      Text(html_.substr(pos, end - pos));
      pos = end;
      continue;
    }
    const char next = pos + 1 < n ? html_[pos + 1] : '\0';
    if (next == '!' || next == '?') {
      Declaration(pos);
    } else if (next == '/' || IsAlnum(next)) {
      Tag(pos);
    } else {
      Text(html_.substr(pos, 1));  // a "<" that starts no tag is text
      ++pos;
    }
  }
  EndLink();

  HtmlImportResult& r = result_;
  r.skipped = r.overLimit + r.tooLong + r.noAddress;
  if (r.imported == 0 && r.skipped == 0 && !sawDoctype_) {
    r.refused = true;
    r.message = "This is not a bookmark file: it holds no links.";
    return r;
  }
  std::string& m = r.message;
  m = "Imported " + CountOf(r.imported, "bookmark", "bookmarks");
  if (r.skipped > 0) {
    m += "; " + std::to_string(r.skipped) + (r.skipped == 1 ? " was" : " were") + " skipped:";
    const char* sep = " ";
    if (r.overLimit > 0) {
      m += sep + std::to_string(r.overLimit) + " past the limit of " +
           std::to_string(kMaxHtmlBookmarks) + " bookmarks";
      sep = ", ";
    }
    if (r.tooLong > 0) {
      m += sep + std::to_string(r.tooLong) + " with an address longer than 64 KiB";
      sep = ", ";
    }
    if (r.noAddress > 0) m += sep + std::to_string(r.noAddress) + " without an address";
  }
  if (r.flattened > 0) {
    m += "; " + CountOf(r.flattened, "folder", "folders") + " nested deeper than " +
         std::to_string(kMaxHtmlFolderDepth) + " folders " + (r.flattened == 1 ? "was" : "were") +
         " merged into the folder above";
  }
  if (r.shortened > 0) {
    m += "; " + CountOf(r.shortened, "title", "titles") + " longer than 64 KiB " +
         (r.shortened == 1 ? "was" : "were") + " shortened";
  }
  m += ".";
  return r;
}

}  // namespace

std::string WebText(std::string_view address) {
  std::string text(kWebEntry);
  if (BracketsPair(address)) {
    text += " url=";
    text += quill::ZCmdLine::Bracket(address);
  } else {
    std::string encoded;
    AppendPercentEncoded(encoded, address, KeepInHref);
    text += " href=";
    text += quill::ZCmdLine::Bracket(encoded);
  }
  return text;
}

std::string WebAddress(std::string_view text) {
  quill::ZCmdLine line{std::string(text)};
  std::string name, value;
  if (!line.FindFirst(name, value) || name != kWebEntry || !value.empty()) return {};
  if (!line.FindNext(name, value)) return {};
  std::string address;
  if (name == "url") {
    address = value;
  } else if (name == "href") {
    address = PercentDecode(value);
  } else {
    return {};
  }
  // Only a text exactly of the form WebText writes is a foreign address.
  return !address.empty() && WebText(address) == text ? address : std::string();
}

std::string BookmarksToHtml(const quill::ZBookmarkList& list) {
  std::string out =
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
      "<TITLE>Bookmarks</TITLE>\n"
      "<H1>Bookmarks</H1>\n"
      "<DL><p>\n";
  for (int i = 0; i < list.GetCount(); ++i) {
    const quill::ZBookmark& b = *list.Get(i);
    out += "    <DT><A HREF=\"";
    // An address in our own scheme would come back as a bookmark of ours: it goes encoded.
    const std::string address = WebAddress(b.GetText());
    if (!address.empty() && !StartsNoCase(address, kHtmlScheme)) {
      AppendEscaped(out, address);
    } else {
      out += kHtmlScheme;
      AppendPercentEncoded(out, b.GetText(), Unreserved);
    }
    out += "\" ";
    out += kHtmlTypeAttribute;
    out += "=\"";
    AppendEscaped(out, b.GetType());
    out += "\">";
    AppendEscaped(out, b.GetName());
    out += "</A>\n";
  }
  out += "</DL><p>\n";
  return out;
}

bool ExportBookmarksHtml(const quill::ZBookmarkList& list, const std::string& path,
                         std::string* error) {
  const std::string html = BookmarksToHtml(list);
  return quill::WriteFileReplacing(
      path, std::span(reinterpret_cast<const uint8_t*>(html.data()), html.size()), error);
}

HtmlImportResult ParseBookmarksHtml(
    std::string_view html, const std::function<void(std::unique_ptr<quill::ZBookmark>)>& add) {
  return HtmlReader(html, add).Run();
}

HtmlImportResult ImportBookmarksHtml(const std::string& path, quill::ZBookmarkList& into) {
  HtmlImportResult refused;
  refused.refused = true;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    refused.message = "Unable to open '" + path + "': " + std::strerror(errno) + ".";
    return refused;
  }
  // Read in pieces up to one byte past the limit: the file's size is never trusted.
  std::string html;
  char chunk[1 << 16];
  bool failed = false;
  while (html.size() <= kMaxHtmlBytes) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, file);
    html.append(chunk, got);
    if (got < sizeof chunk) {
      failed = std::ferror(file) != 0;
      break;
    }
  }
  std::fclose(file);
  if (failed) {
    refused.message = "Unable to read '" + path + "'.";
    return refused;
  }
  std::vector<std::unique_ptr<quill::ZBookmark>> taken;
  HtmlImportResult result = ParseBookmarksHtml(
      html, [&](std::unique_ptr<quill::ZBookmark> b) { taken.push_back(std::move(b)); });
  if (result.refused) return result;
  for (auto& b : taken) into.Add(std::move(b));
  if (!taken.empty()) into.SetModified(true);
  return result;
}

}  // namespace quillonary
