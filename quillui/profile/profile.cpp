#include "quillui/profile/profile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <mutex>

#include "quillui/framework/image/dib.h"
#include "quillui/profile/ini_file.h"
#include "quillui/profile/paths.h"
#include "quillui/profile/reporter.h"

namespace quill {

namespace {

// What identifies one state of the file on disk; a change of any field means re-reading.
struct FileStamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  int64_t mtimeNs = 0;
  int64_t ctimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path) {
  FileStamp s;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = st.st_size;
  s.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.ctimeNs = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  return s;
}

std::string ExecutableDir() {
  char buffer[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
  if (n <= 0) return "./";
  std::string path(buffer, size_t(n));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

class IniProfile final : public ZProf {
 public:
  std::string Get(const char* section, const char* key, const char* def) override {
    auto doc = Current();
    const char* fallback = def ? def : "";
    if (section == nullptr) return fallback;
    if (key == nullptr) return doc->KeyList(section);
    const std::string_view* v = doc->Find(section, key);
    return v ? std::string(*v) : std::string(fallback);
  }

  int GetInt(const char* section, const char* key, int def) override {
    if (section == nullptr || key == nullptr) return def;
    auto doc = Current();
    const std::string_view* v = doc->Find(section, key);
    int64_t n;
    if (v == nullptr || !ParseLeadingInteger(*v, INT_MIN, INT_MAX, n)) return def;
    return int(n);
  }

  bool GetBool(const char* section, const char* key, bool def) override {
    if (section == nullptr || key == nullptr) return def;
    auto doc = Current();
    const std::string_view* v = doc->Find(section, key);
    if (v == nullptr) return def;
    for (const char* yes : {"true", "yes", "on"})
      if (EqualsNoCase(*v, yes)) return true;
    for (const char* no : {"false", "no", "off"})
      if (EqualsNoCase(*v, no)) return false;
    int64_t n;
    if (!ParseLeadingInteger(*v, INT64_MIN, INT64_MAX, n)) return def;
    return n != 0;
  }

  std::string GetPath(const char* section, const char* key, const char* def) override {
    std::string path = Get(section, key, def);
    if (!path.empty()) smartPath(path);
    return path;
  }

  bool Set(const char* section, const char* key, const char* value) override {
    std::lock_guard lock(mutex_);
    RefreshLocked();
    if (!writable_) {
      Report("the settings file " + path_ + " could not be read, so it is not rewritten", __LINE__);
      return false;
    }
    std::string text;
    if (!doc_->BuildSet(section, key, value, text)) return false;
    if (text == doc_->Text() && stamp_.exists) return true;
    std::string error;
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()),
                                         text.size());
    if (!WriteFileReplacing(path_, bytes, &error)) {
      Report("cannot store the setting: " + error, __LINE__);
      return false;
    }
    doc_ = std::make_shared<IniDocument>(std::move(text));
    stamp_ = StampOf(path_);
    return true;
  }

  bool GetFirstEntry(const char* section, std::string& key, std::string& value) override {
    auto doc = Current();
    std::lock_guard lock(mutex_);
    iterDoc_ = doc;
    iterEntries_ = section ? doc->Entries(section) : nullptr;
    iterNext_ = 0;
    return NextLocked(key, value);
  }

  bool GetNextEntry(std::string& key, std::string& value) override {
    std::lock_guard lock(mutex_);
    return NextLocked(key, value);
  }

  std::string GetExeDir() override {
    std::lock_guard lock(mutex_);
    if (exeDir_.empty()) exeDir_ = ExecutableDir();
    return exeDir_;
  }

  std::string GetInstallDir() override {
    {
      std::lock_guard lock(mutex_);
      if (!installDir_.empty()) return installDir_;
    }
    return GetExeDir();
  }

  void SetPath(const std::string& path) {
    std::lock_guard lock(mutex_);
    path_ = path;
    loaded_ = false;
  }

  std::string Path() {
    std::lock_guard lock(mutex_);
    EnsurePathLocked();
    return path_;
  }

  void SetInstall(const std::string& dir) {
    std::lock_guard lock(mutex_);
    installDir_ = dir;
    if (!installDir_.empty() && installDir_.back() != '/') installDir_ += '/';
  }

  void Reset() {
    std::lock_guard lock(mutex_);
    path_.clear();
    installDir_.clear();
    loaded_ = false;
    doc_.reset();
    iterDoc_.reset();
    iterEntries_ = nullptr;
    iterNext_ = 0;
  }

 private:
  static void Report(const std::string& message, int line) {
    reporter(message.c_str(), "Error", eREPORT_LOG, "PROFILE", line);
  }

  void EnsurePathLocked() {
    if (path_.empty()) {
      if (exeDir_.empty()) exeDir_ = ExecutableDir();
      path_ = exeDir_ + "quillonary.ini";
    }
  }

  std::shared_ptr<const IniDocument> Current() {
    std::lock_guard lock(mutex_);
    RefreshLocked();
    return doc_;
  }

  // Reads the file when it was never read or has changed on disk since.
  void RefreshLocked() {
    EnsurePathLocked();
    const FileStamp stamp = StampOf(path_);
    if (loaded_ && stamp == stamp_) return;
    IniLoadResult r = LoadIniFile(path_);
    loaded_ = true;
    stamp_ = stamp;
    if (!r.ok) {
      // Settings fall back to their defaults; the file itself is left alone.
      Report("settings file ignored: " + r.error, __LINE__);
      doc_ = std::make_shared<IniDocument>(std::string());
      writable_ = false;
      return;
    }
    doc_ = std::move(r.doc);
    writable_ = true;
    for (const auto& p : doc_->Problems())
      Report(path_ + ":" + std::to_string(p.line) + ": " + p.what, __LINE__);
    if (doc_->ProblemCount() > doc_->Problems().size())
      Report(path_ + ": " + std::to_string(doc_->ProblemCount() - doc_->Problems().size()) +
                 " more problems",
             __LINE__);
  }

  bool NextLocked(std::string& key, std::string& value) {
    if (iterEntries_ == nullptr || iterNext_ >= iterEntries_->size()) return false;
    const IniDocument::Entry& e = (*iterEntries_)[iterNext_++];
    key.assign(e.key);
    value.assign(e.value);
    return true;
  }

  std::mutex mutex_;
  std::string path_;
  std::string exeDir_;
  std::string installDir_;
  bool loaded_ = false;
  bool writable_ = true;
  FileStamp stamp_;
  std::shared_ptr<const IniDocument> doc_;
  // The enumeration of GetFirstEntry/GetNextEntry walks the document it started on, so a
  // change of the file in between cannot pull entries from under it.
  std::shared_ptr<const IniDocument> iterDoc_;
  const std::vector<IniDocument::Entry>* iterEntries_ = nullptr;
  size_t iterNext_ = 0;
};

IniProfile& Instance() {
  static IniProfile profile;
  return profile;
}

}  // namespace

ZProf& ZProfile(int) { return Instance(); }

void SetProfilePath(const std::string& path) { Instance().SetPath(path); }
std::string GetProfilePath() { return Instance().Path(); }
void SetInstallDir(const std::string& dir) { Instance().SetInstall(dir); }
void ResetProfile() { Instance().Reset(); }

}  // namespace quill
