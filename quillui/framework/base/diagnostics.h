// The framework's one diagnostics hook: problems of data or configuration (an unsolvable
// layout, a bad resource) are reported here and execution goes on. The services layer
// connects it to the reporter; by default a line goes to standard error.
#pragma once

#include <functional>
#include <string>

namespace quill {

struct TDiagnostic {
  std::string message;
  std::string caption;
  std::string source;  // source file name, without directories
  int line = 0;
};

using TDiagnosticsHook = std::function<void(const TDiagnostic&)>;

// Installs hook (an empty one restores the default) and returns the previous one.
TDiagnosticsHook SetDiagnosticsHook(TDiagnosticsHook hook);
void ReportDiagnostic(const std::string& message, const std::string& caption, const char* source,
                      int line);

}  // namespace quill
