// Starting the programs of an end-to-end test (the demo, Xvfb, the X tools) and asking whether
// a tool is installed.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quill::e2e {

// Whether tool can be found on PATH.
bool OnPath(const char* tool);

// Where a started program's output goes: empty paths leave standard output and error as they
// are; passFd (when not -1) becomes the child's descriptor 3.
struct SpawnIo {
  std::string outPath;
  std::string errPath;
  int passFd = -1;
};

// Starts args[0] from PATH with this process's environment plus extraEnv ("NAME=value"); the
// child's pid, or -1 when it could not be started.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
            const SpawnIo& io = {});

// A private X server (Xvfb, -noreset, no TCP) with one screen of that geometry ("800x600x24") on
// a display number of its own: numbers are tried at random and a server counts only once it
// said it took its number, so tests that start servers side by side never share one. The
// server's pid and number, or false after ten refusals.
bool StartPrivateXServer(const std::string& screen, pid_t& pid, int& number);

// Reads up to a newline within limitMs; empty when the writer closes or goes quiet first.
std::string ReadLine(int fd, int limitMs);

}  // namespace quill::e2e
