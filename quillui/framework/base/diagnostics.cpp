#include "quillui/framework/base/diagnostics.h"

#include <cstdio>
#include <cstring>

namespace quill {

namespace {

TDiagnosticsHook& Hook() {
  static TDiagnosticsHook hook;
  return hook;
}

const char* BaseName(const char* path) {
  if (!path) return "";
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

}  // namespace

TDiagnosticsHook SetDiagnosticsHook(TDiagnosticsHook hook) {
  TDiagnosticsHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

void ReportDiagnostic(const std::string& message, const std::string& caption, const char* source,
                      int line) {
  TDiagnostic d{message, caption, BaseName(source), line};
  if (Hook()) {
    Hook()(d);
    return;
  }
  std::fprintf(stderr, "%s: %s (%s:%d)\n", d.caption.c_str(), d.message.c_str(), d.source.c_str(),
               d.line);
}

}  // namespace quill
