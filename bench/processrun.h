// Benchmarks whose iteration is one process of ours, started and waited for
// in a quiet, private environment: boxes answer silently and no user's INI
// files are read or written.
#pragma once

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace kybench {

// The environment: a home of its own under the temporary directory (named
// after the benchmark) and the extra variables given.
inline std::vector<std::string> quietEnvironment(const std::string& home, const std::vector<std::string>& extra) {
  std::vector<std::string> env = {"HOME=" + home, "KY_WIN_INI=" + home + "/WIN.INI", "KY_MESSAGEBOX_QUIET=1",
                                  "PATH=" + std::string(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin")};
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

inline int runProcess(const std::vector<std::string>& arguments, std::vector<std::string> env) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the program once per iteration; a run that fails stops the benchmark.
inline void runEachIteration(benchmark::State& state, const std::string& tag,
                             const std::vector<std::string>& arguments, const std::vector<std::string>& extra = {}) {
  const auto home = std::filesystem::temp_directory_path() / ("ky_" + tag + "_" + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  const std::vector<std::string> env = quietEnvironment(home.string(), extra);
  for (auto _ : state) {
    if (runProcess(arguments, env) != 0) {
      state.SkipWithError("the program failed");
      break;
    }
  }
}

}  // namespace kybench
