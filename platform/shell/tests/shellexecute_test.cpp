// ShellExecuteA: the configured program of each verb gets the file; missing
// files and verbs without a program fail with their codes.
#include <gtest/gtest.h>
#include <shellapi.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "../../kernel/tests/scratchdir.h"

namespace {

// Waits until `path` has content (the started program writes it).
std::string waitForFile(const ScratchDir& dir, const std::string& name) {
  for (int i = 0; i < 200; ++i) {
    std::string text = dir.read(name);
    if (!text.empty() && text.back() == '\n') return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return dir.read(name);
}

TEST(ShellExecute, VerbsRunTheirConfiguredPrograms) {
  ScratchDir dir;
  dir.write("report file.rtf", "{\\rtf1 x}");
  dir.write("record.sh", "#!/bin/sh\necho \"$0 $*\" > \"$(dirname \"$1\")/$KY_VERB.txt\"\n");
  const std::string script = dir / "record.sh";
  chmod(script.c_str(), 0755);
  setenv("KY_SHELL_OPEN", script.c_str(), 1);
  setenv("KY_SHELL_PRINT", script.c_str(), 1);
  const std::string file = dir / "report file.rtf";
  struct Case {
    const char* verb;
    const char* record;
  } cases[] = {{"open", "open"}, {nullptr, "none"}, {"print", "print"}};
  for (const auto& c : cases) {
    setenv("KY_VERB", c.record, 1);
    HINSTANCE started = ShellExecuteA(nullptr, c.verb, file.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
    EXPECT_GT(reinterpret_cast<uintptr_t>(started), 32u) << c.record;
    EXPECT_EQ(waitForFile(dir, std::string(c.record) + ".txt"), script + " " + file + "\n") << c.record;
  }
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, "edit", file.c_str(), nullptr, nullptr, 0)),
            (uintptr_t)SE_ERR_NOASSOC);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, "open", (dir / "missing.rtf").c_str(), nullptr, nullptr, 0)),
            (uintptr_t)SE_ERR_FNF);
  setenv("KY_SHELL_OPEN", (dir / "no-such-program").c_str(), 1);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, 0)),
            (uintptr_t)SE_ERR_NOASSOC);
  unsetenv("KY_SHELL_OPEN");
  unsetenv("KY_SHELL_PRINT");
}

}  // namespace
