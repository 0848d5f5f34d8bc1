#include "quillui/app/file_names.h"

#include "quillui/profile/entries.h"
#include "quillui/profile/paths.h"
#include "quillui/profile/profile.h"

namespace quill {

namespace {

std::string g_helpFileName;
std::string g_articleSdfName;

}  // namespace

const char* GetHelpFileName() {
  std::string path = ZProfile(eIniFile).Get("Help", "Path", kDefaultHelpPath);
  replaceCDPath(path);
  g_helpFileName = std::move(path);
  return g_helpFileName.c_str();
}

const std::string& GetDefaultArticleSdfName() {
  if (!g_articleSdfName.empty()) return g_articleSdfName;
  const ZDefaultDB* db = GetDefaultDB("ART");
  g_articleSdfName = db ? db->fileName : kDefaultArticleSdfName;
  return g_articleSdfName;
}

void ResetFileNames() {
  g_helpFileName.clear();
  g_articleSdfName.clear();
}

}  // namespace quill
