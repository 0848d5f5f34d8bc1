// The reporter: problems of configuration and data (a bad button file, a missing background)
// are reported with a message, a caption, a flag and the source file and line, and execution
// goes on. One line goes to standard error and the host's hook, if any, sees the report.
#pragma once

#include <functional>
#include <string>

namespace quill {

enum ZEReporterFlag : int {
  eREPORT_LOG = 1,   // the usual report
  eREPORT_BARS = 2,  // reports from the control bars
};

struct ZReport {
  std::string message;
  std::string caption;
  ZEReporterFlag flag = eREPORT_LOG;
  std::string source;  // the source file's name, e.g. "BARS"
  int line = 0;
};

using ZReporterHook = std::function<void(const ZReport&)>;

// Reports a problem; never throws and never aborts.
void reporter(const char* message, const char* caption, ZEReporterFlag flag, const char* source,
              int line);
// Installs the host's hook (an empty one removes it) and answers the previous one.
ZReporterHook SetReporterHook(ZReporterHook hook);
// Whether reports are also written to standard error (on by default; tests may turn it off).
void SetReporterEcho(bool echo);
// Sends the window framework's diagnostics (layout, resources) through the reporter; the
// host calls it once at start-up.
void ConnectFrameworkDiagnostics();

}  // namespace quill
