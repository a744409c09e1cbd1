// Runs one test of this test program again in a separate, freshly executed
// process: nothing of the parent's state is inherited, so what the two
// share is only what the kernel objects share by name.
#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

// Starts the test `test` (Suite.Name; a child that answers before any test
// runs may take any name) in a child process with `argument` in
// the environment and waits for it; 0 when the child's test passed.
inline int runChildTest(const std::string& test, const std::string& argument) {
  std::string filter = "--gtest_filter=" + test;
  std::string variable = "KY_CHILD_ARGUMENT=" + argument;
  std::vector<char*> args = {const_cast<char*>("/proc/self/exe"), filter.data(), nullptr};
  std::vector<char*> env;
  for (char** entry = environ; *entry; ++entry) env.push_back(*entry);
  env.push_back(variable.data());
  env.push_back(nullptr);
  std::string self(4096, '\0');
  ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
  if (length <= 0) return -1;
  self.resize(static_cast<size_t>(length));
  pid_t child = 0;
  if (posix_spawn(&child, self.c_str(), nullptr, nullptr, args.data(), env.data()) != 0) return -1;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The argument of a child run, or null in an ordinary run (the child tests
// then skip).
inline const char* childArgument() { return std::getenv("KY_CHILD_ARGUMENT"); }
