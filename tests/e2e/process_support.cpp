#include "e2e/process_support.h"

#include <fcntl.h>
#include <spawn.h>

#include <cstdlib>

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

}  // namespace quill::e2e
