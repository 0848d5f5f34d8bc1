// The settings service: one INI settings file with sections and keys (compared without regard
// to case), read with defaults and written back keeping every other line as it was.
#pragma once

#include <string>

namespace quill {

enum ZProfileKind : int { eIniFile = 0 };

class ZProf {
 public:
  virtual ~ZProf() = default;

  // The value, or def when the key is missing. With a null key: the section's key names, each
  // ended by a zero byte, the list ended by an empty name.
  virtual std::string Get(const char* section, const char* key, const char* def) = 0;
  virtual int GetInt(const char* section, const char* key, int def) = 0;
  virtual bool GetBool(const char* section, const char* key, bool def) = 0;
  virtual std::string GetPath(const char* section, const char* key, const char* def) = 0;
  // Stores the value (writing the file through a temporary and a rename); false when the
  // file could not be written, in which case the file on disk is unchanged.
  virtual bool Set(const char* section, const char* key, const char* value) = 0;
  // The entries of a section in file order; true while one was found.
  virtual bool GetFirstEntry(const char* section, std::string& key, std::string& value) = 0;
  virtual bool GetNextEntry(std::string& key, std::string& value) = 0;
  // The host executable's directory, ending in a separator; the installation directory.
  virtual std::string GetExeDir() = 0;
  virtual std::string GetInstallDir() = 0;
};

// The ZProf of the application's settings file (kind is always eIniFile). The file is read on
// first use and read again whenever it changes on disk, so a host that edits it and then
// announces the change is seen at once.
ZProf& ZProfile(int kind = eIniFile);

// The settings file's path, set by the host before first use; the default is
// "quillonary.ini" in the executable's directory. Setting it drops what was read.
void SetProfilePath(const std::string& path);
std::string GetProfilePath();
// The installation directory as the host knows it (a separator is appended when missing);
// an empty text restores the default, the executable's directory.
void SetInstallDir(const std::string& dir);

}  // namespace quill
