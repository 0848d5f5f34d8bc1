#include "quillui/profile/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quill {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// How many problems of one file are kept word for word; the rest are only counted.
constexpr size_t kKeptProblems = 8;

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }
bool IsPadded(std::string_view s) {
  return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

}  // namespace

size_t CaseInsensitiveHash::operator()(std::string_view s) const noexcept {
  // FNV-1a over the lower-cased bytes.
  uint64_t h = 1469598103934665603ull;
  for (char c : s) {
    h ^= uint8_t(Lower(c));
    h *= 1099511628211ull;
  }
  return size_t(h);
}

bool CaseInsensitiveEqual::operator()(std::string_view a, std::string_view b) const noexcept {
  return EqualsNoCase(a, b);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool ParseLeadingInteger(std::string_view text, int64_t min, int64_t max, int64_t& out) {
  size_t i = 0;
  while (i < text.size() && (IsBlank(text[i]) || text[i] == '\r' || text[i] == '\n')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
  // Accumulate in a range that cannot overflow, then clamp.
  constexpr uint64_t kCap = uint64_t(1) << 63;
  uint64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    magnitude = magnitude <= kCap / 10 ? magnitude * 10 + uint64_t(text[i] - '0') : kCap + 1;
  if (magnitude > kCap) magnitude = kCap;
  int64_t v;
  if (negative)
    v = magnitude == kCap ? INT64_MIN : -int64_t(magnitude);
  else
    v = magnitude >= kCap ? INT64_MAX : int64_t(magnitude);
  out = v < min ? min : (v > max ? max : v);
  return true;
}

IniDocument::IniDocument(std::string text) : text_(std::move(text)) { Parse(); }

void IniDocument::AddProblem(size_t line, std::string what) {
  ++problemCount_;
  if (problems_.size() < kKeptProblems) problems_.push_back({line, std::move(what)});
}

void IniDocument::Parse() {
  const size_t size = text_.size();
  if (const size_t nl = text_.find('\n');
      nl != std::string::npos && nl > 0 && text_[nl - 1] == '\r')
    eol_ = "\r\n";

  Section* current = nullptr;
  Section* open = nullptr;  // the section whose last span is still running
  size_t items = 0;
  size_t lineNo = 0;
  // Takes one more section header or entry into the index. Past the cap it is dropped, and
  // no section stays current for the lines after it; the problem is told once.
  auto admit = [&] {
    if (items < kMaxEntries) {
      ++items;
      return true;
    }
    if (items++ == kMaxEntries)
      AddProblem(lineNo, "too many entries; the rest of the file is ignored");
    current = nullptr;
    return false;
  };
  for (size_t pos = 0; pos < size;) {
    ++lineNo;
    const void* found = std::memchr(text_.data() + pos, '\n', size - pos);
    const size_t end = found ? size_t(static_cast<const char*>(found) - text_.data()) : size;
    const size_t next = found ? end + 1 : size;
    const size_t lineStart = pos;
    pos = next;

    std::string_view line(text_.data() + lineStart, end - lineStart);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (lineNo == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    if (line.size() > kMaxLineBytes) {
      AddProblem(lineNo, "line longer than " + std::to_string(kMaxLineBytes) + " bytes ignored");
      continue;
    }
    if (line.find('\0') != std::string_view::npos) {
      AddProblem(lineNo, "line with a zero byte ignored");
      continue;
    }
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';') continue;

    if (t.front() == '[') {
      // A section's extent (for removal) runs from its header to the next header.
      if (open != nullptr) open->spans.back().second = lineStart;
      open = nullptr;
      const size_t close = t.find(']');
      if (close == std::string_view::npos) {
        // Entries after a broken header must not fall into the section before it.
        AddProblem(lineNo, "section header without ']'; its entries are ignored");
        current = nullptr;
        continue;
      }
      if (!admit()) continue;
      const std::string_view name = Trim(t.substr(1, close - 1));
      auto it = sectionIndex_.find(name);
      if (it == sectionIndex_.end()) {
        sections_.push_back(std::make_unique<Section>());
        current = sections_.back().get();
        current->name = name;
        current->insertAt = next;
        sectionIndex_.emplace(name, uint32_t(sections_.size() - 1));
      } else {
        current = sections_[it->second].get();
      }
      current->spans.push_back({lineStart, size});
      open = current;
      continue;
    }

    if (current == nullptr) continue;
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = Trim(t.substr(0, eq));
    if (key.empty()) continue;
    if (!admit()) continue;
    current->entries.push_back({key, Trim(t.substr(eq + 1)), lineStart, next});
    current->index.emplace(key, uint32_t(current->entries.size() - 1));
    current->insertAt = next;
  }
  capped_ = items > kMaxEntries;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  auto it = sectionIndex_.find(name);
  return it == sectionIndex_.end() ? nullptr : sections_[it->second].get();
}

bool IniDocument::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

const std::string_view* IniDocument::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  auto it = s->index.find(key);
  return it == s->index.end() ? nullptr : &s->entries[it->second].value;
}

std::string IniDocument::KeyList(std::string_view section) const {
  std::string list;
  if (const Section* s = FindSection(section)) {
    for (size_t i = 0; i < s->entries.size(); ++i) {
      const std::string_view key = s->entries[i].key;
      if (s->index.find(key)->second != i) continue;  // a later duplicate
      list.append(key);
      list.push_back('\0');
    }
  }
  list.push_back('\0');
  return list;
}

const std::vector<IniDocument::Entry>* IniDocument::Entries(std::string_view section) const {
  const Section* s = FindSection(section);
  return s == nullptr ? nullptr : &s->entries;
}

bool IniDocument::BuildSet(const char* section, const char* key, const char* value,
                           std::string& out) const {
  if (section == nullptr || capped_) return false;
  const std::string_view sec(section);
  if (sec.empty() || HasLineBreak(sec) || IsPadded(sec) || sec.find(']') != std::string_view::npos)
    return false;
  if (key != nullptr) {
    const std::string_view k(key);
    if (k.empty() || HasLineBreak(k) || IsPadded(k) || k.find('=') != std::string_view::npos ||
        k.front() == '[' || k.front() == ';')
      return false;
  }
  if (value != nullptr && HasLineBreak(value)) return false;
  // A line the parser would skip must not be written: the value would be lost on reading.
  const size_t valueLength = value ? std::strlen(value) : 0;
  if (sec.size() + 2 > kMaxLineBytes || (key && std::strlen(key) + 1 + valueLength > kMaxLineBytes))
    return false;

  const Section* s = FindSection(sec);
  // Copies the text leaving out the given ranges, which are sorted and do not overlap.
  auto without = [&](const std::vector<std::pair<size_t, size_t>>& cuts) {
    std::string r;
    r.reserve(text_.size());
    size_t from = 0;
    for (const auto& [a, b] : cuts) {
      r.append(text_, from, a - from);
      from = b;
    }
    r.append(text_, from, std::string::npos);
    return r;
  };

  if (key == nullptr) {
    out = s == nullptr ? text_ : without(s->spans);
    return true;
  }
  if (value == nullptr) {
    std::vector<std::pair<size_t, size_t>> cuts;
    if (s != nullptr)
      for (const Entry& e : s->entries)
        if (EqualsNoCase(e.key, key)) cuts.push_back({e.lineStart, e.lineNext});
    out = without(cuts);
    return true;
  }

  if (s == nullptr) {
    out.reserve(text_.size() + sec.size() + std::strlen(key) + std::strlen(value) + 16);
    out = text_;
    if (!out.empty()) {
      if (out.back() != '\n') out += eol_;
      out += eol_;  // a blank line before the new section
    }
    out.append("[")
        .append(sec)
        .append("]")
        .append(eol_)
        .append(key)
        .append("=")
        .append(value)
        .append(eol_);
    return true;
  }

  auto it = s->index.find(key);
  if (it != s->index.end()) {
    // Rewrite only the value: the indentation, the key as written and the blanks after '='
    // stay; whatever followed the old value on the line goes with it.
    const Entry& e = s->entries[it->second];
    size_t eq = size_t(e.key.data() - text_.data()) + e.key.size();
    while (text_[eq] != '=') ++eq;
    size_t valueFrom = eq + 1;
    while (valueFrom < text_.size() && IsBlank(text_[valueFrom])) ++valueFrom;
    size_t lineEnd = e.lineNext;
    if (lineEnd > e.lineStart && text_[lineEnd - 1] == '\n') --lineEnd;
    if (lineEnd > e.lineStart && text_[lineEnd - 1] == '\r') --lineEnd;
    if (valueFrom > lineEnd) valueFrom = lineEnd;
    if (valueFrom - e.lineStart + valueLength > kMaxLineBytes) return false;
    out.reserve(text_.size() + std::strlen(value));
    out.assign(text_, 0, valueFrom);
    out.append(value);
    out.append(text_, lineEnd, std::string::npos);
    return true;
  }

  const size_t at = s->insertAt;
  out.reserve(text_.size() + std::strlen(key) + std::strlen(value) + 4);
  out.assign(text_, 0, at);
  if (at > 0 && text_[at - 1] != '\n') out += eol_;
  out.append(key).append("=").append(value).append(eol_);
  out.append(text_, at, std::string::npos);
  return true;
}

IniLoadResult LoadIniFile(const std::string& path) {
  IniLoadResult r;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) {
      r.ok = true;
      r.doc = std::make_shared<IniDocument>(std::string());
    } else {
      r.error = "cannot open " + path + ": " + std::strerror(errno);
    }
    return r;
  }
  r.exists = true;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    r.error = path + " is not a regular file";
    ::close(fd);
    return r;
  }
  if (uint64_t(st.st_size) > IniDocument::kMaxFileBytes) {
    r.error = path + " is larger than " + std::to_string(IniDocument::kMaxFileBytes >> 20) + " MiB";
    ::close(fd);
    return r;
  }
  std::string text;
  text.reserve(size_t(st.st_size));
  // The size from fstat is only a hint (the file may grow while read); the bound is enforced
  // on the bytes actually read.
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.error = "cannot read " + path + ": " + std::strerror(errno);
      ::close(fd);
      return r;
    }
    if (n == 0) break;
    if (text.size() + size_t(n) > IniDocument::kMaxFileBytes) {
      r.error =
          path + " is larger than " + std::to_string(IniDocument::kMaxFileBytes >> 20) + " MiB";
      ::close(fd);
      return r;
    }
    text.append(buffer, size_t(n));
  }
  ::close(fd);
  r.ok = true;
  r.doc = std::make_shared<IniDocument>(std::move(text));
  return r;
}

}  // namespace quill
