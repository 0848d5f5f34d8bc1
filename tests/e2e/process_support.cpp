#include "e2e/process_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>

extern char** environ;

namespace quill::e2e {

bool OnPath(const char* tool) {
  std::string cmd = std::string("command -v ") + tool + " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
            const SpawnIo& io) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  constexpr int kFlags = O_WRONLY | O_CREAT | O_TRUNC;
  if (!io.outPath.empty())
    posix_spawn_file_actions_addopen(&actions, 1, io.outPath.c_str(), kFlags, 0600);
  if (!io.errPath.empty())
    posix_spawn_file_actions_addopen(&actions, 2, io.errPath.c_str(), kFlags, 0600);
  if (io.passFd >= 0) posix_spawn_file_actions_adddup2(&actions, io.passFd, 3);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

std::string ReadLine(int fd, int limitMs) {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (line.empty() || line.back() != '\n') {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0) return "";
    char buf[64];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return "";
    line.append(buf, size_t(n));
  }
  line.pop_back();
  return line;
}

bool StartPrivateXServer(const std::string& screen, pid_t& pid, int& number) {
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < 10; ++attempt) {
    const int n = 300 + int(random() % 600);
    struct stat st {};
    if (stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) == 0) continue;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    // Clear of 3, which the child gets it as.
    const int writeEnd = fcntl(fds[1], F_DUPFD_CLOEXEC, 10);
    close(fds[1]);
    // The server writes its number there once it is ready, or dies if the number is taken.
    // Without -noreset it starts over each time its last client leaves, and refuses the
    // demo's connection meanwhile when the test's own probes come and go first.
    pid = Spawn({"Xvfb", ":" + std::to_string(n), "-displayfd", "3", "-noreset", "-screen", "0",
                 screen, "-nolisten", "tcp"},
                {}, {"/dev/null", "/dev/null", writeEnd});
    close(writeEnd);
    const std::string said = ReadLine(fds[0], 10000);
    close(fds[0]);
    if (pid > 0 && said == std::to_string(n)) {
      number = n;
      return true;
    }
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    pid = -1;
  }
  return false;
}

}  // namespace quill::e2e
