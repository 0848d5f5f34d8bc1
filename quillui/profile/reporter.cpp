#include "quillui/profile/reporter.h"

#include <cstdio>
#include <mutex>

#include "quillui/framework/base/diagnostics.h"

namespace quill {

namespace {

struct ReporterState {
  std::mutex mutex;
  ZReporterHook hook;
  bool echo = true;
};

ReporterState& State() {
  static ReporterState state;
  return state;
}

}  // namespace

void reporter(const char* message, const char* caption, ZEReporterFlag flag, const char* source,
              int line) {
  ZReport r{message ? message : "", caption ? caption : "", flag, source ? source : "", line};
  ZReporterHook hook;
  bool echo;
  {
    std::lock_guard lock(State().mutex);
    hook = State().hook;
    echo = State().echo;
  }
  if (echo)
    std::fprintf(stderr, "%s: %s [%s:%d, %d]\n", r.caption.c_str(), r.message.c_str(),
                 r.source.c_str(), r.line, int(r.flag));
  if (hook) hook(r);
}

ZReporterHook SetReporterHook(ZReporterHook hook) {
  std::lock_guard lock(State().mutex);
  ZReporterHook previous = std::move(State().hook);
  State().hook = std::move(hook);
  return previous;
}

void SetReporterEcho(bool echo) {
  std::lock_guard lock(State().mutex);
  State().echo = echo;
}

void ConnectFrameworkDiagnostics() {
  SetDiagnosticsHook([](const TDiagnostic& d) {
    reporter(d.message.c_str(), d.caption.c_str(), eREPORT_LOG, d.source.c_str(), d.line);
  });
}

}  // namespace quill
