#include "quillui/app/app_info.h"

#include <string>

#include "quillui/profile/profile.h"

namespace quill {

namespace {

std::string g_title;
std::string g_copyright;
int g_pentium = -1;
int g_memoryLevel = -1;

const char* ReadText(std::string& buffer, const char* key, const char* builtIn) {
  if (buffer.empty()) {
    std::string text = ZProfile(eIniFile).Get("View", key, "");
    if (text.empty()) text = builtIn;
    buffer = text.substr(0, kAppTextMax);
  }
  return buffer.c_str();
}

// What the system reports as the processor type: 586 stands for the Pentium and every
// later x86 processor, which is all the setting asks about.
int ProcessorType() {
#if defined(__i386__) || defined(__x86_64__)
  return 586;
#else
  return 0;
#endif
}

}  // namespace

const char* GetAppTitle() { return ReadText(g_title, "Title", kDefaultAppTitle); }

const char* GetAppCopyright() { return ReadText(g_copyright, "Copyright", kDefaultAppCopyright); }

int isPentium() {
  if (g_pentium == -1) {
    g_pentium = 0;
    if (ZProfile(eIniFile).GetBool("Global Config", "UsePentium", false)) {
      g_pentium = ProcessorType() == 586 ? 1 : 0;
    }
  }
  return g_pentium;
}

int GetAppMemoryLevel() {
  if (g_memoryLevel == -1) g_memoryLevel = 3;
  return g_memoryLevel;
}

void SetAppMemoryLevel(int level) { g_memoryLevel = level; }

void ResetAppInfo() {
  g_title.clear();
  g_copyright.clear();
  g_pentium = -1;
  g_memoryLevel = -1;
}

}  // namespace quill
